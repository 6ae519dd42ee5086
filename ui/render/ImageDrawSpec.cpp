// The image description language: a loop over key='value' items that stops
// at the first malformed one, and the readers of its number and colour
// values. Every scan tests for the terminator before it steps, so no text,
// however truncated, is read past its end.
#include "ui/render/ImageDrawSpec.h"

#include <cwchar>

#include "ui/render/ImageSource.h"

namespace DuiLib {

namespace {

enum class ItemKey
{
    File,
    Res,
    ResType,
    Color,
    Dest,
    Source,
    Corner,
    Mask,
    Fade,
    Hole,
    XTiled,
    YTiled,
    Hsl,
};

struct KeyName
{
    const wchar_t* text;
    ItemKey key;
};

// Compared case-sensitively; "corner" and "scale9" are synonyms.
constexpr KeyName kKeys[] = {
    {L"file", ItemKey::File},     {L"res", ItemKey::Res},       {L"restype", ItemKey::ResType},
    {L"color", ItemKey::Color},   {L"dest", ItemKey::Dest},     {L"source", ItemKey::Source},
    {L"corner", ItemKey::Corner}, {L"scale9", ItemKey::Corner}, {L"mask", ItemKey::Mask},
    {L"fade", ItemKey::Fade},     {L"hole", ItemKey::Hole},     {L"xtiled", ItemKey::XTiled},
    {L"ytiled", ItemKey::YTiled}, {L"hsl", ItemKey::Hsl},
};

// The language's whitespace: every code from 1 to 32.
bool IsBlank(wchar_t ch)
{
    return ch >= 1 && ch <= 32;
}

const wchar_t* SkipBlanks(const wchar_t* at)
{
    while (IsBlank(*at))
        ++at;
    return at;
}

// Leading blanks, an optional sign and decimal digits, the magnitude held at
// limit. Like strtol, at is left on the first unread character, or where it
// was when no digit follows.
long ReadDecimal(const wchar_t*& at, long limit)
{
    const wchar_t* p = SkipBlanks(at);
    bool negative = false;
    if (*p == L'+' || *p == L'-')
    {
        negative = *p == L'-';
        ++p;
    }
    if (*p < L'0' || *p > L'9')
        return 0;
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
    {
        if (value <= limit)
            value = value * 10 + (*p - L'0');
    }
    if (value > limit)
        value = limit;
    at = p;
    return static_cast<long>(negative ? -value : value);
}

bool IsTrue(const CUIString& value)
{
    return value == L"true";
}

void ApplyItem(ItemKey key, const CUIString& value, ImageRequest& request, ImageDrawSpec& spec)
{
    switch (key)
    {
    case ItemKey::File:
        request.name = value;
        break;
    case ItemKey::Res:
        request.name = value;
        request.useResType = true;
        break;
    case ItemKey::ResType:
        request.resType = value;
        break;
    case ItemKey::Color:
        request.name = value;
        request.resType = kColorImageType;
        request.useResType = true;
        break;
    case ItemKey::Dest:
        spec.destOffset = ReadFourNumbers(value.GetData());
        break;
    case ItemKey::Source:
        spec.sourcePart = ReadFourNumbers(value.GetData());
        break;
    case ItemKey::Corner:
        spec.corners = ReadFourNumbers(value.GetData());
        break;
    case ItemKey::Mask:
        request.mask = ReadHexColor(value.GetData());
        break;
    case ItemKey::Fade:
    {
        const wchar_t* at = value.GetData();
        spec.fade = static_cast<BYTE>(ReadDecimal(at, 0x7FFFFFFF) & 0xFF);
        break;
    }
    case ItemKey::Hole:
        spec.hole = IsTrue(value);
        break;
    case ItemKey::XTiled:
        spec.xTiled = IsTrue(value);
        break;
    case ItemKey::YTiled:
        spec.yTiled = IsTrue(value);
        break;
    case ItemKey::Hsl:
        request.hsl = IsTrue(value);
        break;
    }
}

void ApplyItem(const CUIString& key, const CUIString& value, ImageRequest& request, ImageDrawSpec& spec)
{
    for (const KeyName& name : kKeys)
    {
        if (key == name.text)
        {
            ApplyItem(name.key, value, request, spec);
            return;
        }
    }
}

}  // namespace

void ImageDrawSpec::Clear()
{
    drawString.Empty();
    imageName.Empty();
    loaded = false;
    image = nullptr;
    destOffset = CUIRect();
    sourcePart = CUIRect();
    corners = CUIRect();
    fade = 255;
    hole = false;
    xTiled = false;
    yTiled = false;
}

void ParseImageDescription(const wchar_t* text, ImageRequest& request, ImageDrawSpec& spec)
{
    request = ImageRequest();
    request.name = text;
    if (text == nullptr)
        return;

    const wchar_t* at = text;
    for (;;)
    {
        at = SkipBlanks(at);
        if (*at == L'\0')
            return;
        const wchar_t* keyStart = at;
        while (*at != L'\0' && *at != L'=' && !IsBlank(*at))
            ++at;
        const CUIString key(keyStart, static_cast<int>(at - keyStart));

        at = SkipBlanks(at);
        if (*at != L'=')
            return;
        at = SkipBlanks(at + 1);
        if (*at != L'\'')
            return;
        const wchar_t* valueStart = ++at;
        while (*at != L'\0' && *at != L'\'')
            ++at;
        // An unclosed value is not applied.
        if (*at == L'\0')
            return;
        const CUIString value(valueStart, static_cast<int>(at - valueStart));
        ++at;

        if (!value.IsEmpty())
            ApplyItem(key, value, request, spec);
        // Exactly a space, not any blank, must follow a closing quote.
        if (*at != L' ')
            return;
    }
}

CUIRect ReadFourNumbers(const wchar_t* text)
{
    CUIRect numbers;
    if (text == nullptr)
        return numbers;
    LONG* fields[] = {&numbers.left, &numbers.top, &numbers.right, &numbers.bottom};
    const wchar_t* at = text;
    for (int i = 0; i < 4; ++i)
    {
        *fields[i] = ReadDecimal(at, kMaxDescriptionNumber);
        if (*at == L'\0')
            break;
        ++at;  // the one separator
    }
    return numbers;
}

DWORD ReadHexColor(const wchar_t* text)
{
    if (text == nullptr)
        return 0;
    const wchar_t* at = text;
    if (*at == L'#')
        ++at;
    unsigned long long value = 0;
    for (;; ++at)
    {
        unsigned digit;
        if (*at >= L'0' && *at <= L'9')
            digit = *at - L'0';
        else if (*at >= L'a' && *at <= L'f')
            digit = *at - L'a' + 10;
        else if (*at >= L'A' && *at <= L'F')
            digit = *at - L'A' + 10;
        else
            break;
        if (value <= 0xFFFFFFFFull)
            value = value * 16 + digit;
    }
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(value);
}

}  // namespace DuiLib
