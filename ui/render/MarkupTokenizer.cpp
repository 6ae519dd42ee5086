// The markup tokenizer and the readers of tag arguments. Every scan stops at
// the terminator, so a tag left open at the end of the text simply takes the
// rest of it.
#include "ui/render/MarkupTokenizer.h"

#include "ui/render/ImageDrawSpec.h"

namespace DuiLib {

namespace {

bool IsBracket(wchar_t ch)
{
    return ch == L'<' || ch == L'{';
}

bool IsTagEnd(wchar_t ch)
{
    return ch == L'>' || ch == L'}';
}

bool IsLowerLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z';
}

bool IsLetter(wchar_t ch)
{
    return IsLowerLetter(ch) || (ch >= L'A' && ch <= L'Z');
}

// Characters up to and including the next ">" or "}", or to the end.
int TagLength(const wchar_t* text, int from)
{
    int at = from;
    while (text[at] != L'\0' && !IsTagEnd(text[at]))
        ++at;
    return text[at] != L'\0' ? at + 1 : at;
}

bool IsRawEnd(const wchar_t* text)
{
    // Each test stops at the first mismatch, so the terminator is never passed.
    return IsBracket(text[0]) && text[1] == L'/' && text[2] == L'r' && IsTagEnd(text[3]);
}

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t';
}

// The argument as a terminated copy, for the readers that search it.
CUIString ArgumentText(const wchar_t* argument, int length)
{
    return CUIString(argument, length > 0 ? length : 0);
}

}  // namespace

MarkupToken ReadMarkupToken(const wchar_t* text, bool inRaw)
{
    MarkupToken token;
    if (text == nullptr || text[0] == L'\0')
        return token;
    if (text[0] == L'\n' || (text[0] == L'\r' && text[1] == L'\n'))
    {
        token.kind = MarkupTokenKind::Newline;
        token.length = text[0] == L'\n' ? 1 : 2;
        return token;
    }
    if (text[0] == L' ')
    {
        token.kind = MarkupTokenKind::Space;
        token.length = 1;
        return token;
    }
    if (inRaw)
    {
        if (IsRawEnd(text))
        {
            token.kind = MarkupTokenKind::CloseTag;
            token.letter = L'r';
            token.length = 4;
            return token;
        }
        int at = 1;
        while (text[at] != L'\0' && text[at] != L'\n' && !IsRawEnd(text + at) &&
               !(text[at] == L'\r' && text[at + 1] == L'\n'))
            ++at;
        token.kind = MarkupTokenKind::Run;
        token.length = at;
        return token;
    }
    if (IsBracket(text[0]))
    {
        const bool angle = text[0] == L'<';
        if ((angle && (text[1] == L'{' || text[1] == L'}') && text[2] == L'>') ||
            (!angle && (text[1] == L'<' || text[1] == L'>') && text[2] == L'}'))
        {
            token.kind = MarkupTokenKind::Escape;
            token.escaped = text[1];
            token.length = 3;
            return token;
        }
        if (IsLowerLetter(text[1]) && (text[2] == L' ' || IsTagEnd(text[2])))
        {
            token.kind = MarkupTokenKind::OpenTag;
            token.letter = text[1];
            token.length = TagLength(text, 2);
            if (text[2] == L' ')
            {
                token.argument = text + 3;
                token.argumentLength = token.length - 3;
                // The closing bracket is not part of the argument.
                if (token.argumentLength > 0 && IsTagEnd(text[token.length - 1]))
                    --token.argumentLength;
            }
            return token;
        }
        if (text[1] == L'/' && IsLetter(text[2]))
        {
            token.kind = MarkupTokenKind::CloseTag;
            token.letter = text[2];
            token.length = TagLength(text, 3);
            return token;
        }
    }
    // A bracket that starts nothing belongs to the run it begins.
    int at = 1;
    while (text[at] != L'\0' && text[at] != L'\n' && !IsBracket(text[at]) &&
           !(text[at] == L'\r' && text[at + 1] == L'\n'))
        ++at;
    token.kind = MarkupTokenKind::Run;
    token.length = at;
    return token;
}

CUIString MarkupPlainText(const wchar_t* text, CUIString* links, int linkCapacity, int* linkCount)
{
    CUIString plain;
    int found = 0;
    bool inRaw = false;
    bool inLink = false;
    for (const wchar_t* at = text != nullptr ? text : L""; *at != L'\0';)
    {
        const MarkupToken token = ReadMarkupToken(at, inRaw);
        CUIString shown;
        switch (token.kind)
        {
        case MarkupTokenKind::Run:
            shown = CUIString(at, token.length);
            break;
        case MarkupTokenKind::Space:
        case MarkupTokenKind::Newline:
            shown = L" ";
            break;
        case MarkupTokenKind::Escape:
            shown = CUIString(&token.escaped, 1);
            break;
        case MarkupTokenKind::OpenTag:
            inRaw = inRaw || token.letter == L'r';
            if (token.letter == L'n')
                shown = L" ";
            if (token.letter == L'a' && !inLink && links != nullptr && found < linkCapacity)
            {
                inLink = true;
                links[found] = CUIString();
            }
            break;
        case MarkupTokenKind::CloseTag:
            inRaw = inRaw && token.letter != L'r';
            if (token.letter == L'a' && inLink)
            {
                inLink = false;
                ++found;
            }
            break;
        case MarkupTokenKind::End:
            break;
        }
        plain += shown;
        if (inLink)
            links[found] += shown;
        // A token always takes at least one character, but a zero length
        // must never stall the walk.
        at += token.length > 0 ? token.length : 1;
    }
    // A link left open at the end of the text still counts.
    if (inLink)
        ++found;
    if (linkCount != nullptr)
        *linkCount = found;
    return plain;
}

int LastMarkupBreak(const wchar_t* run, int count)
{
    if (run == nullptr)
        return 0;
    for (int c = count; c > 0; --c)
    {
        if (IsMarkupBreakAfter(run[c - 1]))
            return c;
    }
    return 0;
}

int ReadMarkupNumber(const wchar_t* argument, int length)
{
    if (argument == nullptr)
        return 0;
    int at = 0;
    while (at < length && IsBlank(argument[at]))
        ++at;
    bool negative = false;
    if (at < length && (argument[at] == L'-' || argument[at] == L'+'))
    {
        negative = argument[at] == L'-';
        ++at;
    }
    long long value = 0;
    for (; at < length && argument[at] >= L'0' && argument[at] <= L'9'; ++at)
    {
        if (value <= kMaxMarkupNumber)
            value = value * 10 + (argument[at] - L'0');
    }
    if (value > kMaxMarkupNumber)
        value = kMaxMarkupNumber;
    return static_cast<int>(negative ? -value : value);
}

DWORD ReadMarkupColor(const wchar_t* argument, int length)
{
    if (argument == nullptr)
        return 0;
    int at = 0;
    while (at < length && IsBlank(argument[at]))
        ++at;
    if (at < length && argument[at] == L'#')
        ++at;
    unsigned long long value = 0;
    for (; at < length; ++at)
    {
        const wchar_t ch = argument[at];
        int digit = -1;
        if (ch >= L'0' && ch <= L'9')
            digit = ch - L'0';
        else if (ch >= L'a' && ch <= L'f')
            digit = ch - L'a' + 10;
        else if (ch >= L'A' && ch <= L'F')
            digit = ch - L'A' + 10;
        if (digit < 0)
            break;
        if (value <= 0x7FFFFFFFull)
            value = value * 16 + static_cast<unsigned>(digit);
    }
    // Read as a signed number: anything larger saturates.
    return static_cast<DWORD>(value > 0x7FFFFFFFull ? 0x7FFFFFFFull : value);
}

int ReadMarkupVAlign(const wchar_t* argument, int length)
{
    CUIString word = ArgumentText(argument, length);
    if (word.CompareNoCase(L"center") == 0)
        return MARKUP_VALIGN_CENTER;
    if (word.CompareNoCase(L"top") == 0)
        return MARKUP_VALIGN_TOP;
    return MARKUP_VALIGN_BOTTOM;
}

MarkupFontRequest ReadMarkupFont(const wchar_t* argument, int length)
{
    MarkupFontRequest request;
    if (argument == nullptr || length <= 0)
    {
        request.byIndex = true;
        return request;
    }
    int at = 0;
    while (at < length && IsBlank(argument[at]))
        ++at;
    bool allDigits = at < length;
    for (int i = at; i < length; ++i)
        allDigits = allDigits && ((argument[i] >= L'0' && argument[i] <= L'9') || IsBlank(argument[i]));
    if (allDigits)
    {
        request.byIndex = true;
        request.index = ReadMarkupNumber(argument + at, length - at);
        return request;
    }

    const int faceStart = at;
    while (at < length && argument[at] != L' ')
        ++at;
    request.faceName.Assign(argument + faceStart, at - faceStart);
    while (at < length && IsBlank(argument[at]))
        ++at;
    if (at < length && argument[at] >= L'0' && argument[at] <= L'9')
    {
        const int sizeStart = at;
        while (at < length && argument[at] >= L'0' && argument[at] <= L'9')
            ++at;
        request.size = ReadMarkupNumber(argument + sizeStart, at - sizeStart);
    }
    CUIString words = ArgumentText(argument + at, length - at);
    words.MakeLower();
    struct StyleWord
    {
        const wchar_t* word;
        UINT style;
    };
    static const StyleWord kWords[] = {
        {L"bold", 0x01}, {L"underline", 0x02}, {L"italic", 0x04}, {L"strikeout", 0x08}};
    for (const StyleWord& style : kWords)
    {
        if (words.Find(style.word) >= 0)
            request.styles |= style.style;
    }
    return request;
}

MarkupImageRequest ReadMarkupImage(const wchar_t* argument, int length)
{
    MarkupImageRequest request;
    CUIString text = ArgumentText(argument, length);
    if (text.Find(L"file='") >= 0 || text.Find(L"res='") >= 0)
    {
        ImageRequest parsed;
        ImageDrawSpec ignored;
        ParseImageDescription(text.GetData(), parsed, ignored);
        request.name = parsed.name;
        request.useResType = parsed.useResType;
        if (parsed.useResType)
            request.resType = parsed.resType;
        return request;
    }
    int at = 0;
    while (at < length && argument[at] != L' ' && !IsTagEnd(argument[at]))
        ++at;
    request.name.Assign(argument, at);
    // The frame count and the frame shown follow, each after blanks.
    const auto readNext = [&](int fallback) {
        while (at < length && IsBlank(argument[at]))
            ++at;
        if (at >= length || !((argument[at] >= L'0' && argument[at] <= L'9') || argument[at] == L'-'))
            return fallback;
        const int start = at;
        ++at;
        while (at < length && argument[at] >= L'0' && argument[at] <= L'9')
            ++at;
        return ReadMarkupNumber(argument + start, at - start);
    };
    request.frames = readNext(1);
    if (request.frames < 1)
        request.frames = 1;
    request.frame = readNext(0);
    if (request.frame < 0 || request.frame >= request.frames)
        request.frame = 0;
    return request;
}

}  // namespace DuiLib
