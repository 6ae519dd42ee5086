// CUIString: the toolkit's UTF-16 string value. Owns its text; knows nothing of
// windows or fonts. Invariant: a text of up to 62 units lives in the inline
// buffer, a longer one in a heap block sized exactly (length + 1) units.
#pragma once

namespace DuiLib {

class CUIString
{
public:
    // Units of the inline buffer, and the longest text an assignment keeps there.
    static constexpr int kInlineUnits = 64;
    static constexpr int kMaxInlineLength = 62;
    // Longest text that Format produces; longer output is cut off.
    static constexpr int kMaxFormatLength = 63;

    CUIString();
    // A negative length means up to the terminator; a null text gives "".
    CUIString(const wchar_t* text, int length = -1);
    CUIString(const CUIString& other);
    ~CUIString();

    CUIString& operator=(const CUIString& other);
    CUIString& operator=(const wchar_t* text);

    // Replaces the text; a null text empties the string, a negative length
    // means up to the terminator. Returns the number of units assigned.
    int Assign(const wchar_t* text, int length = -1);
    int Assign(const CUIString& other);

    // Appends; a null text changes nothing.
    void Append(const wchar_t* text);
    void Append(const CUIString& other);
    void Append(wchar_t ch);
    CUIString& operator+=(const wchar_t* text);
    CUIString& operator+=(const CUIString& other);
    CUIString& operator+=(wchar_t ch);

    // Units up to the terminator.
    int GetLength() const;
    bool IsEmpty() const { return m_text[0] == L'\0'; }
    // No bounds test: the caller keeps index within 0..length.
    wchar_t GetAt(int index) const;
    wchar_t operator[](int index) const { return GetAt(index); }
    // Zero-terminated; valid until the next change of the string.
    const wchar_t* GetData() const { return m_text; }

    // Releases any heap block and returns to the empty inline text.
    void Empty();

    // The first n units; n is clamped to 0..length.
    CUIString Left(int n) const;
    // n units from start (negative n: to the end), clamped at the end of the
    // text; a start outside 0..length gives "".
    CUIString Mid(int start, int n = -1) const;

    // Index of the first ch at or after start, or -1; start must be 0 or lie
    // within 0..length-1, otherwise -1.
    int Find(wchar_t ch, int start = 0) const;
    // Index of the first occurrence of text at or after start, or -1; start
    // must lie within 0..length, otherwise -1. A null text is never found.
    int Find(const wchar_t* text, int start = 0) const;

    // Replaces every occurrence of from by to, never searching inside text
    // already inserted; returns the count. An empty or null from replaces
    // nothing; a null to counts as "".
    int Replace(const wchar_t* from, const wchar_t* to);

    // Case-sensitive comparison, unit by unit; null counts as "".
    int Compare(const wchar_t* text) const;
    // Compares with both sides lower-cased by the runtime (A-Z in the default
    // locale); negative, zero or positive. Null counts as "".
    int CompareNoCase(const wchar_t* text) const;
    // Lower-cases in place with the runtime's wide lower-casing.
    void MakeLower();

    // Formats with the platform's wvsprintfW rules and assigns the result, cut
    // off at 63 units. Returns the units assigned; a null format empties.
    int Format(const wchar_t* format, ...);

private:
    bool IsInline() const { return m_text == m_inline; }
    bool PointsIntoHeapBlock(const wchar_t* text) const;

    wchar_t* m_text;
    wchar_t m_inline[kInlineUnits];
};

CUIString operator+(const CUIString& left, const CUIString& right);
CUIString operator+(const CUIString& left, const wchar_t* right);
bool operator==(const CUIString& left, const CUIString& right);
bool operator==(const CUIString& left, const wchar_t* right);
bool operator!=(const CUIString& left, const CUIString& right);
bool operator!=(const CUIString& left, const wchar_t* right);

}  // namespace DuiLib
