// The image description language: the key rows, the reader of key='value'
// items that stops at the first malformed one, and the readers of its number
// and colour values. Every scan tests for the terminator before it steps, so no text,
// however truncated, is read past its end.
#include "ui/render/ImageDrawSpec.h"

#include <cwchar>

#include "ui/render/ImageSource.h"

namespace DuiLib {

namespace {

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

bool IsTrue(const wchar_t* value)
{
    return std::wcscmp(value, L"true") == 0;
}

using namespace AttributeGrammar;

// "corner" and "scale9" are synonyms.
const AttributeRow<ImageDescription> kKeyRows[] = {
    {L"file", L"file name", L"the whole description", L"Image file of the skin (folder or archive entry)",
     [](ImageDescription& d, const wchar_t* v) { d.request.name = v; }},
    {L"res", L"resource name or id", L"none", L"Image from a resource of the program, of the type restype",
     [](ImageDescription& d, const wchar_t* v) {
         d.request.name = v;
         d.request.useResType = true;
     }},
    {L"restype", L"resource type", L"none", L"Resource type for res",
     [](ImageDescription& d, const wchar_t* v) { d.request.resType = v; }},
    {L"color", kColour, L"none", L"A plain colour drawn as the image; no file is read",
     [](ImageDescription& d, const wchar_t* v) {
         d.request.name = v;
         d.request.resType = kColorImageType;
         d.request.useResType = true;
     }},
    {L"dest", kRect, L"0,0,0,0 (the whole control)", L"Where to draw, from the control's left and top edges",
     [](ImageDescription& d, const wchar_t* v) { d.spec.destOffset = ReadFourNumbers(v); }},
    {L"source", kRect, L"0,0,0,0 (the whole image)", L"The part of the image to draw, in image pixels",
     [](ImageDescription& d, const wchar_t* v) { d.spec.sourcePart = ReadFourNumbers(v); }},
    {L"corner", kRect, L"0,0,0,0", L"Widths of the image's edges drawn unstretched (nine-grid)",
     [](ImageDescription& d, const wchar_t* v) { d.spec.corners = ReadFourNumbers(v); }},
    {L"scale9", kRect, L"0,0,0,0", L"Same as corner",
     [](ImageDescription& d, const wchar_t* v) { d.spec.corners = ReadFourNumbers(v); }},
    {L"mask", kColour, L"none", L"Pixels of this colour become transparent",
     [](ImageDescription& d, const wchar_t* v) { d.request.mask = ReadHexColor(v); }},
    {L"fade", kInteger, L"255", L"Opacity from 0 to 255 (the number's low 8 bits)",
     [](ImageDescription& d, const wchar_t* v) {
         const wchar_t* at = v;
         d.spec.fade = static_cast<BYTE>(ReadDecimal(at, 0x7FFFFFFF) & 0xFF);
     }},
    {L"hole", kBool, L"false", L"Leave the middle of the nine-grid out",
     [](ImageDescription& d, const wchar_t* v) { d.spec.hole = IsTrue(v); }},
    {L"xtiled", kBool, L"false", L"Repeat the middle across instead of stretching it",
     [](ImageDescription& d, const wchar_t* v) { d.spec.xTiled = IsTrue(v); }},
    {L"ytiled", kBool, L"false", L"Repeat the middle downwards instead of stretching it",
     [](ImageDescription& d, const wchar_t* v) { d.spec.yTiled = IsTrue(v); }},
    {L"hsl", kBool, L"false", L"The image takes part in the window's hue/saturation/lightness shift",
     [](ImageDescription& d, const wchar_t* v) { d.request.hsl = IsTrue(v); }},
};

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

const CAttributeTable<ImageDescription>& GetImageDescriptionKeys()
{
    static const CAttributeTable<ImageDescription> kTable(L"Image description", nullptr, kKeyRows);
    return kTable;
}

CImageDescriptionReader::CImageDescriptionReader(const wchar_t* text) : m_at(text != nullptr ? text : L"")
{
}

bool CImageDescriptionReader::Next(CUIString& key, CUIString& value)
{
    if (m_ended)
        return false;
    m_ended = true;
    const wchar_t* at = SkipBlanks(m_at);
    if (*at == L'\0')
        return false;
    const wchar_t* keyStart = at;
    while (*at != L'\0' && *at != L'=' && !IsBlank(*at))
        ++at;
    key.Assign(keyStart, static_cast<int>(at - keyStart));

    m_malformed = true;
    at = SkipBlanks(at);
    if (*at != L'=')
        return false;
    at = SkipBlanks(at + 1);
    if (*at != L'\'')
        return false;
    const wchar_t* valueStart = ++at;
    while (*at != L'\0' && *at != L'\'')
        ++at;
    // An unclosed value is not applied.
    if (*at == L'\0')
        return false;
    value.Assign(valueStart, static_cast<int>(at - valueStart));
    ++at;
    m_malformed = false;

    // Exactly a space, not any blank, must follow a closing quote; what
    // follows anything else is never read, which only matters when it is
    // more than blanks.
    if (*at == L' ')
        m_ended = false;
    else
        m_malformed = *SkipBlanks(at) != L'\0';
    m_at = at;
    return true;
}

void ParseImageDescription(const wchar_t* text, ImageRequest& request, ImageDrawSpec& spec)
{
    request = ImageRequest();
    request.name = text;
    if (text == nullptr)
        return;
    ImageDescription target = {request, spec};
    CImageDescriptionReader reader(text);
    CUIString key;
    CUIString value;
    while (reader.Next(key, value))
    {
        if (!value.IsEmpty())
            GetImageDescriptionKeys().Apply(target, key.GetData(), value.GetData());
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
