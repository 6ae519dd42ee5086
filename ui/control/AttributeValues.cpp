// Attribute value parsers. The runtime's wcstoll, wcstoull and wcstod do the
// number reading; this file adds the list stepping, the colour prefixes and
// the bounds, and never steps past a terminator.
#include "ui/control/AttributeValues.h"

#include <climits>
#include <cmath>
#include <cwchar>

namespace DuiLib {

namespace {

bool IsHexDigit(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

int Hold(long long value, long long bound)
{
    if (value > bound)
        return static_cast<int>(bound);
    if (value < -bound)
        return static_cast<int>(-bound);
    return static_cast<int>(value);
}

// Moves text to the start of the next list item: one separator character is
// stepped over, unless the text has ended, which the answer reports.
bool StepToNextItem(const wchar_t*& text)
{
    if (*text == L'\0')
        return false;
    ++text;
    return true;
}

// Reads up to count coordinates of a list into values (left at 0 when the
// text ends early).
void ReadCoordinates(const wchar_t* text, int* values, int count)
{
    if (text == nullptr)
        return;
    for (int i = 0; i < count; ++i)
    {
        if (i > 0 && !StepToNextItem(text))
            return;
        wchar_t* end = nullptr;
        values[i] = Hold(std::wcstoll(text, &end, 10), kMaxAttributeCoordinate);
        text = end;
    }
}

}  // namespace

bool ParseBool(const wchar_t* text)
{
    return text != nullptr && std::wcscmp(text, L"true") == 0;
}

int ParseInt(const wchar_t* text)
{
    if (text == nullptr)
        return 0;
    const long long value = std::wcstoll(text, nullptr, 10);
    if (value < INT_MIN)
        return INT_MIN;
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

int ParseCoordinate(const wchar_t* text)
{
    if (text == nullptr)
        return 0;
    return Hold(std::wcstoll(text, nullptr, 10), kMaxAttributeCoordinate);
}

DWORD ParseColor(const wchar_t* text, ColorBlanks blanks)
{
    if (text == nullptr)
        return 0;
    if (blanks == ColorBlanks::Skip)
    {
        while (IsBlank(*text))
            ++text;
    }
    if (*text == L'#')
        ++text;
    // wcstoull would also skip blanks and take a sign here; a colour allows
    // neither, so the digits must start at once.
    if (!IsHexDigit(*text))
        return 0;
    const unsigned long long value = std::wcstoull(text, nullptr, 16);
    return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(value);
}

CUIRect ParseRect(const wchar_t* text)
{
    int values[4] = {0, 0, 0, 0};
    ReadCoordinates(text, values, 4);
    return CUIRect(values[0], values[1], values[2], values[3]);
}

CUISize ParseSize(const wchar_t* text)
{
    int values[2] = {0, 0};
    ReadCoordinates(text, values, 2);
    return CUISize(values[0], values[1]);
}

FloatPercent ParseFractionRect(const wchar_t* text)
{
    double values[4] = {0.0, 0.0, 0.0, 0.0};
    if (text != nullptr)
    {
        for (int i = 0; i < 4; ++i)
        {
            if (i > 0 && !StepToNextItem(text))
                break;
            wchar_t* end = nullptr;
            const double value = std::wcstod(text, &end);
            values[i] = std::isfinite(value) ? value : 0.0;
            text = end;
        }
    }
    return FloatPercent{values[0], values[1], values[2], values[3]};
}

bool HasComma(const wchar_t* text)
{
    return text != nullptr && std::wcschr(text, L',') != nullptr;
}

CAttributeListReader::CAttributeListReader(const wchar_t* list) : m_at(list != nullptr ? list : L"")
{
}

bool CAttributeListReader::Next(CUIString& name, CUIString& value)
{
    if (m_malformed || *m_at == L'\0')
        return false;
    // m_at stays on the item's start until the item proves whole.
    const wchar_t* cursor = m_at;
    while (*cursor != L'\0' && *cursor != L'=')
        ++cursor;
    if (*cursor != L'=' || cursor[1] != L'"')
    {
        m_malformed = true;
        return false;
    }
    name.Assign(m_at, static_cast<int>(cursor - m_at));
    cursor += 2;
    const wchar_t* start = cursor;
    while (*cursor != L'\0' && *cursor != L'"')
        ++cursor;
    if (*cursor != L'"')
    {
        m_malformed = true;
        return false;
    }
    value.Assign(start, static_cast<int>(cursor - start));
    ++cursor;
    // Items are separated by exactly one space; anything else ends the list.
    if (*cursor == L' ')
        ++cursor;
    else if (*cursor != L'\0')
        m_malformed = true;
    m_at = cursor;
    return true;
}

}  // namespace DuiLib
