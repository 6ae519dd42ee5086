// CUIString: inline/heap storage, assignment and append rules, searching and
// formatting. Heap blocks are always exactly (length + 1) units when
// (re)allocated; an assignment only keeps a larger block for a shorter text.
#include "ui/core/UIString.h"

#include <cassert>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <windows.h>

namespace DuiLib {

namespace {

// String allocations are not reported to callers (none of them could
// recover); running out of memory ends the process.
wchar_t* ReallocUnits(wchar_t* block, int units)
{
    void* grown = std::realloc(block, static_cast<size_t>(units) * sizeof(wchar_t));
    if (grown == nullptr) {
        std::fputs("CUIString: out of memory\n", stderr);
        std::abort();
    }
    return static_cast<wchar_t*>(grown);
}

int UnitCount(const wchar_t* text)
{
    const size_t length = std::wcslen(text);
    assert(length < static_cast<size_t>(INT_MAX) && "CUIString: text longer than INT_MAX units");
    return static_cast<int>(length);
}

}  // namespace

CUIString::CUIString() : m_text(m_inline)
{
    m_inline[0] = L'\0';
}

CUIString::CUIString(const wchar_t* text, int length) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    Assign(text, length);
}

CUIString::CUIString(const CUIString& other) : m_text(m_inline)
{
    m_inline[0] = L'\0';
    Assign(other.m_text);
}

CUIString::~CUIString()
{
    if (!IsInline())
        std::free(m_text);
}

CUIString& CUIString::operator=(const CUIString& other)
{
    Assign(other.m_text);
    return *this;
}

CUIString& CUIString::operator=(const wchar_t* text)
{
    Assign(text);
    return *this;
}

bool CUIString::PointsIntoHeapBlock(const wchar_t* text) const
{
    if (IsInline())
        return false;
    const auto address = reinterpret_cast<std::uintptr_t>(text);
    const auto first = reinterpret_cast<std::uintptr_t>(m_text);
    const auto last = reinterpret_cast<std::uintptr_t>(m_text + GetLength());
    return address >= first && address <= last;
}

int CUIString::Assign(const wchar_t* text, int length)
{
    if (text == nullptr) {
        text = L"";
        length = 0;
    }
    if (length < 0)
        length = UnitCount(text);
    // A source inside our own heap block would be freed or moved by the
    // reallocation below before it is copied, so copy it out first.
    if (PointsIntoHeapBlock(text)) {
        const CUIString copy(text, length);
        return Assign(copy.m_text, length);
    }

    if (length <= kMaxInlineLength) {
        if (!IsInline()) {
            std::free(m_text);
            m_text = m_inline;
        }
    } else if (IsInline() || length > GetLength()) {
        m_text = ReallocUnits(IsInline() ? nullptr : m_text, length + 1);
    }
    // memmove: the source may be a later part of our own inline text.
    std::memmove(m_text, text, static_cast<size_t>(length) * sizeof(wchar_t));
    m_text[length] = L'\0';
    return length;
}

int CUIString::Assign(const CUIString& other)
{
    return Assign(other.m_text);
}

void CUIString::Append(const wchar_t* text)
{
    if (text == nullptr)
        return;
    if (PointsIntoHeapBlock(text)) {
        const CUIString copy(text);
        Append(copy.m_text);
        return;
    }

    const int current = GetLength();
    const int added = UnitCount(text);
    if (added > INT_MAX - 1 - current) {
        std::fputs("CUIString: text too long\n", stderr);
        std::abort();
    }
    const int total = current + added;
    if (total > kMaxInlineLength) {
        if (IsInline()) {
            wchar_t* block = ReallocUnits(nullptr, total + 1);
            std::memcpy(block, m_inline, static_cast<size_t>(current) * sizeof(wchar_t));
            m_text = block;
        } else {
            m_text = ReallocUnits(m_text, total + 1);
        }
    }
    // The appended text may be our own inline text (s += s), which this copy
    // overlaps.
    std::memmove(m_text + current, text, static_cast<size_t>(added) * sizeof(wchar_t));
    m_text[total] = L'\0';
}

void CUIString::Append(const CUIString& other)
{
    Append(other.m_text);
}

void CUIString::Append(wchar_t ch)
{
    const wchar_t text[2] = {ch, L'\0'};
    Append(text);
}

CUIString& CUIString::operator+=(const wchar_t* text)
{
    Append(text);
    return *this;
}

CUIString& CUIString::operator+=(const CUIString& other)
{
    Append(other.m_text);
    return *this;
}

CUIString& CUIString::operator+=(wchar_t ch)
{
    Append(ch);
    return *this;
}

int CUIString::GetLength() const
{
    return UnitCount(m_text);
}

wchar_t CUIString::GetAt(int index) const
{
    assert(index >= 0 && index <= GetLength() && "CUIString::GetAt: index outside the text");
    return m_text[index];
}

void CUIString::Empty()
{
    if (!IsInline())
        std::free(m_text);
    m_text = m_inline;
    m_inline[0] = L'\0';
}

CUIString CUIString::Left(int n) const
{
    const int length = GetLength();
    if (n < 0)
        n = 0;
    if (n > length)
        n = length;
    return CUIString(m_text, n);
}

CUIString CUIString::Mid(int start, int n) const
{
    const int length = GetLength();
    if (start < 0 || start > length)
        return CUIString();
    if (n < 0 || n > length - start)
        n = length - start;
    return CUIString(m_text + start, n);
}

int CUIString::Find(wchar_t ch, int start) const
{
    const int length = GetLength();
    if (start != 0 && (start < 0 || start > length - 1))
        return -1;
    for (int i = start; i < length; ++i) {
        if (m_text[i] == ch)
            return i;
    }
    return -1;
}

int CUIString::Find(const wchar_t* text, int start) const
{
    const int length = GetLength();
    if (text == nullptr || start < 0 || start > length)
        return -1;
    // Searched by hand: some runtimes' wcsstr never finds the empty text at
    // the end of the haystack.
    const int textLength = UnitCount(text);
    for (int at = start; at <= length - textLength; ++at) {
        if (std::wmemcmp(m_text + at, text, static_cast<size_t>(textLength)) == 0)
            return at;
    }
    return -1;
}

int CUIString::Replace(const wchar_t* from, const wchar_t* to)
{
    // An empty pattern is found again right behind every insertion, so it
    // would never stop growing the text.
    if (from == nullptr || from[0] == L'\0')
        return 0;
    // Own copies: either text may point into this string, which each
    // assignment below rewrites.
    const CUIString pattern(from);
    const CUIString replacement(to);
    const int patternLength = pattern.GetLength();
    const int replacementLength = replacement.GetLength();

    int count = 0;
    for (int at = Find(pattern.m_text); at >= 0; at = Find(pattern.m_text, at + replacementLength)) {
        const CUIString rebuilt = Left(at) + replacement + Mid(at + patternLength);
        Assign(rebuilt);
        ++count;
    }
    return count;
}

int CUIString::Compare(const wchar_t* text) const
{
    return std::wcscmp(m_text, text == nullptr ? L"" : text);
}

int CUIString::CompareNoCase(const wchar_t* text) const
{
    return _wcsicmp(m_text, text == nullptr ? L"" : text);
}

void CUIString::MakeLower()
{
    _wcslwr(m_text);
}

int CUIString::Format(const wchar_t* format, ...)
{
    if (format == nullptr) {
        Empty();
        return 0;
    }
    // wvsprintfW takes no buffer size: it writes up to 1024 units and a
    // terminator. Format into room for all of that, then keep the first 63
    // units, which is the longest result a formatted string may have.
    wchar_t buffer[1025] = {};
    va_list args;
    va_start(args, format);
    int produced = wvsprintfW(buffer, format, args);
    va_end(args);
    if (produced < 0)
        produced = 0;
    if (produced > kMaxFormatLength)
        produced = kMaxFormatLength;
    return Assign(buffer, produced);
}

CUIString operator+(const CUIString& left, const CUIString& right)
{
    CUIString result(left);
    result.Append(right);
    return result;
}

CUIString operator+(const CUIString& left, const wchar_t* right)
{
    CUIString result(left);
    result.Append(right);
    return result;
}

bool operator==(const CUIString& left, const CUIString& right)
{
    return left.Compare(right.GetData()) == 0;
}

bool operator==(const CUIString& left, const wchar_t* right)
{
    return left.Compare(right) == 0;
}

bool operator!=(const CUIString& left, const CUIString& right)
{
    return !(left == right);
}

bool operator!=(const CUIString& left, const wchar_t* right)
{
    return !(left == right);
}

}  // namespace DuiLib
