// CXmlDocument: turning input (text, bytes, skin files, module resources)
// into the owned wide buffer, the element table, and the single-pass in-place
// parser. Reading the files is SkinLocation's, widening UTF-8 XmlWiden.h's.
// Invariant: the parser writes only at or behind its read position and never
// steps over the terminating NUL, so every position it records lies inside
// the buffer.
//
// Sections: [Text helpers] [Lifetime and loading] [Element table] [Parser]
#include "ui/markup/XmlDocument.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <windows.h>

#include "ui/markup/SkinLocation.h"
#include "ui/markup/XmlWiden.h"

namespace DuiLib {

enum class CXmlDocument::ParseStep : int
{
    Failed,
    // The item is complete; the element list goes on.
    Next,
    // A start tag with content was read and a child element follows.
    Descend,
    // The text ended inside an element's content at the top two levels.
    TextEnded
};

namespace {

// [Text helpers]

const wchar_t kExpectedStartTag[] = L"Expected start tag";
const wchar_t kErrorParsingElementName[] = L"Error parsing element name";
const wchar_t kExpectedStartTagClosing[] = L"Expected start-tag closing";
const wchar_t kExpectedEndTagStart[] = L"Expected end-tag start";
const wchar_t kUnmatchedClosingTag[] = L"Unmatched closing tag";
const wchar_t kErrorParsingAttributes[] = L"Error while parsing attributes";
const wchar_t kExpectedAttributeValue[] = L"Expected attribute value";
const wchar_t kErrorParsingAttributeString[] = L"Error while parsing attribute string";
const wchar_t kCouldNotReadFile[] = L"Could not read file";
const wchar_t kFileTooLarge[] = L"File too large";
const wchar_t kOutOfMemory[] = L"Out of memory";
const wchar_t kErrorOpeningFile[] = L"Error opening file";
const wchar_t kFileIsEmpty[] = L"File is empty";
const wchar_t kErrorOpeningZipFile[] = L"Error opening zip file";
// The misspelling is part of the fixed message text.
const wchar_t kCouldNotFindZipedFile[] = L"Could not find ziped file";
const wchar_t kCouldNotUnzipFile[] = L"Could not unzip file";

// Positions are stored as signed 32-bit offsets, and the buffer with its
// terminator must not exceed what one allocation can hold.
constexpr unsigned long long kMaxLengthByBytes = PTRDIFF_MAX / sizeof(wchar_t) - 1;
constexpr unsigned long long kMaxTextLength = kMaxLengthByBytes < INT_MAX ? kMaxLengthByBytes : INT_MAX;

// The platform's next-character step. It may join non-ASCII units
// (combining marks) to the character before them, but never an ASCII unit:
// when the next unit is ASCII the step is exactly one unit, and the call
// into user32, made for nearly every character of a skin, is saved.
wchar_t* NextCharacter(wchar_t* at)
{
    return at[0] != L'\0' && at[1] < 0x80 ? at + 1 : CharNextW(at);
}

// What the scanners need to know of an ASCII unit, one bit per question.
// The wide classification of ASCII does not depend on the locale, so the
// name bit answers as iswalnum (plus '_' and ':') would.
enum AsciiClass : unsigned char
{
    kNameCharacter = 0x01,
    kEndsText = 0x02,   // NUL, '&' or '<': element text stops here
    kEndsValue = 0x04,  // NUL, '&' or '"': an attribute value stops here
};

struct AsciiClassTable
{
    unsigned char of[0x80] = {};
    constexpr AsciiClassTable()
    {
        for (int ch = 0; ch < 0x80; ++ch) {
            if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_' ||
                ch == ':')
                of[ch] |= kNameCharacter;
            if (ch == '\0' || ch == '&' || ch == '<')
                of[ch] |= kEndsText;
            if (ch == '\0' || ch == '&' || ch == '"')
                of[ch] |= kEndsValue;
        }
    }
};
constexpr AsciiClassTable kAscii;

bool IsNameCharacter(wchar_t ch)
{
    return ch < 0x80 ? (kAscii.of[ch] & kNameCharacter) != 0 : std::iswalnum(ch) != 0;
}

bool HasClass(wchar_t ch, unsigned char classes)
{
    return ch < 0x80 && (kAscii.of[ch] & classes) != 0;
}

// The first unit at or behind at of one of the classes, which include the
// NUL, so the scan never passes the end of the text. Four units a turn: this
// is where the parser spends most of its time.
wchar_t* ScanTo(wchar_t* at, unsigned char stops)
{
    for (;; at += 4) {
        if (HasClass(at[0], stops))
            return at;
        if (HasClass(at[1], stops))
            return at + 1;
        if (HasClass(at[2], stops))
            return at + 2;
        if (HasClass(at[3], stops))
            return at + 3;
    }
}

wchar_t* SkipName(wchar_t* at)
{
    // ASCII names step unit by unit, each unit read once; anything else goes
    // through the general test and step.
    for (wchar_t ch = *at;; ch = *at) {
        while (ch < 0x80 && (kAscii.of[ch] & kNameCharacter) != 0 && at[1] < 0x80)
            ch = *++at;
        if (!IsNameCharacter(ch))
            return at;
        at = NextCharacter(at);
    }
}

// Steps over a comment or processing instruction, starting at its '!' or
// '?'. The terminator is "->" or "?>"; an unterminated one runs to the end of
// the text.
wchar_t* SkipDeclaration(wchar_t* at)
{
    const wchar_t first = (*at == L'!') ? L'-' : L'?';
    for (; *at != L'\0'; ++at) {
        if (at[0] == first && at[1] == L'>')
            return at + 2;
    }
    return at;
}

// Decodes the entity behind an '&' (read points behind it). An unknown one
// writes the '&' alone and leaves the rest to be copied as plain text.
void DecodeEntity(wchar_t*& read, wchar_t*& write)
{
    static const struct
    {
        const wchar_t* name;
        size_t length;
        wchar_t value;
    } kEntities[] = {
        {L"amp;", 4, L'&'}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'}, {L"quot;", 5, L'"'}, {L"apos;", 5, L'\''},
    };
    for (const auto& entity : kEntities) {
        // The comparison stops at the text's NUL, which no entity name
        // contains.
        size_t matched = 0;
        while (matched < entity.length && read[matched] == entity.name[matched])
            ++matched;
        if (matched == entity.length) {
            *write++ = entity.value;
            read += entity.length;
            return;
        }
    }
    *write++ = L'&';
}

// Copies the text at read onto itself up to End ('<' for element text, '"'
// for attribute values) or the end of the text, decoding entities, and
// returns where the written text ends; read is left at End or the NUL.
// Decoding only shrinks the text, so the units between the written end and
// read become spaces: the attribute mapper walks this rewritten buffer and
// must find nothing there.
//
// The delimiters are ASCII, so the platform's character steps (which only
// join non-ASCII combining marks to a character) could never step over one:
// walking unit by unit stops at the same places. Until the first entity the
// text stays where it is, so that stretch is only scanned.
template <wchar_t End>
wchar_t* ParseData(wchar_t*& read)
{
    static_assert(End == L'<' || End == L'"', "element text or attribute value");
    constexpr unsigned char stops = End == L'"' ? kEndsValue : kEndsText;
    read = ScanTo(read, stops);
    wchar_t* write = read;
    while (*read != L'\0' && *read != End) {
        if (*read == L'&') {
            while (*read == L'&') {
                ++read;
                DecodeEntity(read, write);
            }
        } else {
            do
                *write++ = *read++;
            while (!HasClass(*read, stops));
        }
    }
    for (wchar_t* fill = write + 1; fill < read; ++fill)
        *fill = L' ';
    return write;
}

void CopyBounded(wchar_t* target, size_t units, const wchar_t* source)
{
    size_t i = 0;
    for (; i + 1 < units && source[i] != L'\0'; ++i)
        target[i] = source[i];
    target[i] = L'\0';
}

}  // namespace

const wchar_t* CXmlDocument::ReadFailureMessage(SkinReadStatus status)
{
    switch (status)
    {
    case SkinReadStatus::OpenFailed: return kErrorOpeningFile;
    case SkinReadStatus::Empty: return kFileIsEmpty;
    case SkinReadStatus::TooLarge: return kFileTooLarge;
    case SkinReadStatus::ReadShort: return kCouldNotReadFile;
    case SkinReadStatus::ZipOpenFailed: return kErrorOpeningZipFile;
    case SkinReadStatus::EntryNotFound: return kCouldNotFindZipedFile;
    case SkinReadStatus::UnzipFailed: return kCouldNotUnzipFile;
    case SkinReadStatus::OutOfMemory: return kOutOfMemory;
    case SkinReadStatus::Ok: break;
    }
    return kCouldNotReadFile;
}

wchar_t* CXmlDocument::SkipWhitespace(wchar_t* at)
{
    while (*at >= 1 && *at <= 32)
        at = NextCharacter(at);
    return at;
}

// [Lifetime and loading]

CXmlDocument::CXmlDocument(const wchar_t* text)
    : m_text(nullptr), m_elements(nullptr), m_elementCount(0), m_elementCapacity(0), m_errorMessage(),
      m_errorLocation()
{
    if (text != nullptr)
        Load(text);
}

CXmlDocument::~CXmlDocument()
{
    Release();
}

void CXmlDocument::Release()
{
    Clear();
    std::free(m_text);
    std::free(m_elements);
    m_text = nullptr;
    m_textCapacity = 0;
    m_elements = nullptr;
    m_elementCapacity = 0;
}

void CXmlDocument::Clear()
{
    std::free(m_lineBreaks);
    m_loaded = false;
    m_elementCount = 0;
    m_lineBreaks = nullptr;
    m_lineBreakCount = 0;
    m_linesIndexed = false;
}

bool CXmlDocument::Load(const wchar_t* text)
{
    if (text == nullptr)
        text = L"";
    const size_t length = std::wcslen(text);
    unsigned capacity = 0;
    wchar_t* const copy = PrepareText(length, text, length * sizeof(wchar_t), capacity);
    if (copy == nullptr)
        return false;
    std::memcpy(copy, text, length * sizeof(wchar_t));
    return ParseNewText(copy, capacity);
}

bool CXmlDocument::LoadFromBytes(const void* bytes, unsigned byteCount, XmlEncoding encoding)
{
    const auto* input = static_cast<const unsigned char*>(bytes);
    if (input == nullptr)
        byteCount = 0;

    wchar_t* text = nullptr;
    unsigned capacity = 0;
    switch (encoding) {
    case EncodingUtf8:
        if (byteCount > 2 && input[0] == 0xEF && input[1] == 0xBB && input[2] == 0xBF) {
            input += 3;
            byteCount -= 3;
        }
        text = ConvertMultiByte(CP_UTF8, input, byteCount, capacity);
        break;
    case EncodingUtf16:
        text = CopyUtf16(input, byteCount, capacity);
        break;
    case EncodingAnsi:
        text = ConvertMultiByte(CP_ACP, input, byteCount, capacity);
        break;
    default:
        RefuseInput(kCouldNotReadFile);
        break;
    }
    return text != nullptr && ParseNewText(text, capacity);
}

bool CXmlDocument::LoadFromSkinFile(const wchar_t* name, XmlEncoding encoding)
{
    return LoadFromSkinFile(name, encoding, SkinLocation::Current());
}

bool CXmlDocument::LoadFromSkinFile(const wchar_t* name, XmlEncoding encoding, const SkinLocation& location)
{
    // Only the content goes now: the name may lie in this document's text.
    Clear();
    BYTE* bytes = nullptr;
    unsigned size = 0;
    const SkinReadStatus status = location.ReadSkinFile(name, kMaxSkinFileBytes, bytes, size);
    bool loaded = false;
    if (status == SkinReadStatus::Ok)
        loaded = LoadFromBytes(bytes, size, encoding);
    else
        RefuseInput(ReadFailureMessage(status));
    delete[] bytes;
    return loaded;
}

bool CXmlDocument::LoadFromResource(const wchar_t* name, const wchar_t* type)
{
    return LoadFromResource(name, type, SkinLocation::Current());
}

bool CXmlDocument::LoadFromResource(const wchar_t* name, const wchar_t* type, const SkinLocation& location)
{
    // Only the content goes now: the name may lie in this document's text.
    Clear();
    BYTE* bytes = nullptr;
    unsigned size = 0;
    const SkinReadStatus status = location.ReadResource(name, type, bytes, size);
    // An empty resource is an empty text, as its zero bytes would be.
    bool loaded = false;
    if (status == SkinReadStatus::Ok || status == SkinReadStatus::Empty)
        loaded = LoadFromBytes(bytes, size, EncodingUtf8);
    else
        RefuseInput(ReadFailureMessage(status));
    delete[] bytes;
    return loaded;
}

wchar_t* CXmlDocument::PrepareText(unsigned long long length, const void* source, size_t sourceBytes,
                                   unsigned& capacity)
{
    if (length > kMaxTextLength)
        return RefuseInput(kFileTooLarge);
    const unsigned long long units = length + 1;
    // Writing into the buffer the last load left is what makes a reload
    // cheap: a large block is mapped afresh by the heap, and the first write
    // to each of its pages costs a page fault, as much as the parse itself
    // for a text of some megabytes. A buffer more than twice the size needed
    // is given back instead of being kept.
    const auto start = reinterpret_cast<std::uintptr_t>(m_text);
    const auto from = reinterpret_cast<std::uintptr_t>(source);
    const bool overlaps = from < start + m_textCapacity * sizeof(wchar_t) && start < from + sourceBytes;
    if (m_text != nullptr && units <= m_textCapacity && units * 2 > m_textCapacity && !overlaps) {
        Clear();
        capacity = m_textCapacity;
        m_text[length] = L'\0';
        return m_text;
    }
    auto* text = static_cast<wchar_t*>(std::malloc(static_cast<size_t>(units) * sizeof(wchar_t)));
    if (text == nullptr)
        return RefuseInput(kOutOfMemory);
    capacity = static_cast<unsigned>(units);
    text[length] = L'\0';
    return text;
}

void CXmlDocument::DropText(wchar_t* text)
{
    if (text != m_text)
        std::free(text);
}

wchar_t* CXmlDocument::ConvertMultiByte(unsigned codePage, const unsigned char* bytes, unsigned byteCount,
                                        unsigned& capacity)
{
    // The platform conversion counts bytes and characters in an int.
    if (byteCount > INT_MAX)
        return RefuseInput(kFileTooLarge);
    const int sourceLength = static_cast<int>(byteCount);
    // No code page turns a byte into more than one UTF-16 unit, so a buffer
    // of byteCount units holds the text and one conversion fills it; asking
    // for the exact length first would walk the whole input twice.
    wchar_t* const text = PrepareText(byteCount, bytes, byteCount, capacity);
    if (text == nullptr)
        return nullptr;
    const int converted = sourceLength > 0 ? widen::Widen(codePage, bytes, sourceLength, text) : 0;
    // Without MB_ERR_INVALID_CHARS bad sequences become U+FFFD, so a zero
    // here is the platform refusing the code page itself.
    if (sourceLength > 0 && converted <= 0) {
        DropText(text);
        return RefuseInput(kCouldNotReadFile);
    }
    text[converted] = L'\0';
    return text;
}

wchar_t* CXmlDocument::CopyUtf16(const unsigned char* bytes, unsigned byteCount, unsigned& capacity)
{
    // Without a byte-order mark the byte order is unknown; guessing would
    // turn a wrongly labelled file into plausible nonsense.
    const bool littleEndian = byteCount >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = byteCount >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!littleEndian && !bigEndian)
        return RefuseInput(kCouldNotReadFile);
    const unsigned units = (byteCount - 2) / 2;
    wchar_t* const text = PrepareText(units, bytes, byteCount, capacity);
    if (text == nullptr)
        return nullptr;
    std::memcpy(text, bytes + 2, static_cast<size_t>(units) * sizeof(wchar_t));
    if (bigEndian) {
        for (unsigned i = 0; i < units; ++i)
            text[i] = static_cast<wchar_t>(((text[i] & 0xFF) << 8) | ((text[i] >> 8) & 0xFF));
    }
    return text;
}

wchar_t* CXmlDocument::RefuseInput(const wchar_t* message)
{
    Release();
    Fail(message, nullptr);
    return nullptr;
}

// Takes ownership of text. A new block replaces the old buffer only now,
// when the text is complete, so a text taken from this document's own
// buffer loads safely.
bool CXmlDocument::ParseNewText(wchar_t* text, unsigned capacity)
{
    Clear();
    if (text != m_text) {
        std::free(m_text);
        m_text = text;
        m_textCapacity = capacity;
    }
    m_errorLine = 0;
    if (m_numberLines && !IndexLines())
    {
        Release();
        return Fail(kOutOfMemory, nullptr);
    }
    m_loaded = Parse();
    if (!m_loaded)
        Release();
    return m_loaded;
}

bool CXmlDocument::IndexLines()
{
    unsigned count = 0;
    for (const wchar_t* at = m_text; *at != L'\0'; ++at)
        count += *at == L'\n' ? 1 : 0;
    m_linesIndexed = true;
    if (count == 0)
        return true;
    m_lineBreaks = static_cast<int*>(std::malloc(static_cast<size_t>(count) * sizeof(int)));
    if (m_lineBreaks == nullptr)
        return false;
    for (const wchar_t* at = m_text; *at != L'\0'; ++at)
    {
        if (*at == L'\n')
            m_lineBreaks[m_lineBreakCount++] = Offset(at);
    }
    return true;
}

int CXmlDocument::LineOf(int offset) const
{
    if (!m_linesIndexed)
        return 0;
    // The number of line feeds before offset, by halving.
    unsigned low = 0;
    unsigned high = m_lineBreakCount;
    while (low < high)
    {
        const unsigned middle = low + (high - low) / 2;
        if (m_lineBreaks[middle] < offset)
            low = middle + 1;
        else
            high = middle;
    }
    return static_cast<int>(low) + 1;
}

CXmlNode CXmlDocument::GetRoot() const
{
    return m_elementCount > 1 ? CXmlNode(this, 1) : CXmlNode();
}

// [Element table]

const CXmlDocument::Element* CXmlDocument::FindElement(const CXmlDocument* document, unsigned index)
{
    if (document == nullptr || index >= document->m_elementCount)
        return nullptr;
    return &document->m_elements[index];
}

// Appends a zeroed record. The table grows by half plus 500 records (500,
// 1250, 2375, ...); indices stay valid, pointers into it do not. A table
// kept from the previous load is filled again from its start.
bool CXmlDocument::ReserveElement(unsigned& index)
{
    if (m_elementCount == m_elementCapacity) {
        const unsigned long long grown = m_elementCapacity + m_elementCapacity / 2ull + 500;
        if (grown > UINT_MAX || grown > PTRDIFF_MAX / sizeof(Element))
            return false;
        void* const table = std::realloc(m_elements, static_cast<size_t>(grown) * sizeof(Element));
        if (table == nullptr)
            return false;
        m_elements = static_cast<Element*>(table);
        m_elementCapacity = static_cast<unsigned>(grown);
    }
    index = m_elementCount++;
    m_elements[index] = Element{0, 0, 0, 0, 0};
    return true;
}

bool CXmlDocument::Fail(const wchar_t* message, const wchar_t* at)
{
    CopyBounded(m_errorMessage, kErrorMessageUnits, message);
    CopyBounded(m_errorLocation, kErrorLocationUnits, at != nullptr ? at : L"");
    // Parse failures point into the text; the others carry no position.
    m_errorLine = at != nullptr && m_text != nullptr ? LineOf(Offset(at)) : 0;
    return false;
}

// [Parser]

// One pass over the text. Element lists nest without recursion: the parent
// links of the table are the stack, so no depth of nesting can exhaust the
// thread's stack. An element list ends at its parent's end tag ("</"), or at
// the end of the text, which is accepted only at the top level and directly
// below the root element; deeper, it is an error.
bool CXmlDocument::Parse()
{
    m_errorMessage[0] = L'\0';
    m_errorLocation[0] = L'\0';
    unsigned placeholder = 0;
    if (!ReserveElement(placeholder))
        return Fail(kOutOfMemory, nullptr);

    wchar_t* at = SkipWhitespace(m_text);
    unsigned parent = 0;
    unsigned previous = 0;
    for (;;) {
        bool listEnded = *at == L'\0' && parent < 2;
        if (!listEnded) {
            at = SkipWhitespace(at);
            if (*at != L'<')
                return Fail(kExpectedStartTag, at);
            listEnded = at[1] == L'/';
        }
        if (!listEnded) {
            const ParseStep step = ReadElement(at, parent, previous);
            if (step == ParseStep::Failed)
                return false;
            if (step == ParseStep::Descend) {
                parent = previous;
                previous = 0;
            }
            if (step != ParseStep::TextEnded)
                continue;
        }

        // The list of parent's children is complete: back in parent's
        // content, which now ends with its end tag or with the text.
        if (parent == 0)
            return true;
        const unsigned element = parent;
        parent = m_elements[element].parent;
        previous = element;
        if (at[0] == L'<' && at[1] == L'/' && !CloseElement(element, at))
            return false;
        at = SkipWhitespace(at);
    }
}

// Reads one item of an element list, at its '<': a comment or processing
// instruction, or an element's start tag and the text behind it up to the
// element's end tag or first child.
CXmlDocument::ParseStep CXmlDocument::ReadElement(wchar_t*& at, unsigned parent, unsigned& previous)
{
    // This NUL ends the text of the enclosing element.
    *at = L'\0';
    at = SkipWhitespace(at + 1);
    if (*at == L'!' || *at == L'?') {
        at = SkipWhitespace(SkipDeclaration(at));
        return ParseStep::Next;
    }

    unsigned index = 0;
    if (!ReserveElement(index)) {
        Fail(kOutOfMemory, nullptr);
        return ParseStep::Failed;
    }
    Element& element = m_elements[index];
    element.namePosition = Offset(at);
    element.parent = parent;
    if (previous != 0)
        m_elements[previous].nextSibling = index;
    else if (parent != 0)
        m_elements[parent].firstChild = index;
    previous = index;

    wchar_t* const nameEnd = SkipName(at);
    if (*nameEnd == L'\0') {
        Fail(kErrorParsingElementName, nameEnd);
        return ParseStep::Failed;
    }
    at = nameEnd;
    if (!ParseAttributes(at))
        return ParseStep::Failed;

    at = SkipWhitespace(at);
    if (at[0] == L'/' && at[1] == L'>') {
        element.contentPosition = Offset(at);
        *at = L'\0';
        at = SkipWhitespace(at + 2);
        *nameEnd = L'\0';
        return ParseStep::Next;
    }
    if (*at != L'>') {
        Fail(kExpectedStartTagClosing, at);
        return ParseStep::Failed;
    }
    ++at;
    element.contentPosition = Offset(at);
    // The name ends here whatever follows: what ended it (whitespace before
    // the attributes, or this '>') has been read, and the end tag compares
    // against the name up to the same point, NUL or not.
    *nameEnd = L'\0';
    wchar_t* const textEnd = ParseData<L'<'>(at);
    if (textEnd != at)
        *textEnd = L'\0';

    if (*at == L'\0' && parent < 2)
        return ParseStep::TextEnded;  // accepted unclosed
    if (*at != L'<') {
        Fail(kExpectedEndTagStart, at);
        return ParseStep::Failed;
    }
    if (at[1] != L'/')
        return ParseStep::Descend;
    if (!CloseElement(index, at))
        return ParseStep::Failed;
    at = SkipWhitespace(at);
    return ParseStep::Next;
}

// Reads the attributes of a start tag, from the character behind the name,
// and leaves at on the '>', the '/' or the end of the text.
bool CXmlDocument::ParseAttributes(wchar_t*& at)
{
    if (*at == L'>' || *at == L'/')
        return true;
    // Whatever ends the name (whitespace in a well-formed tag) becomes its
    // NUL.
    *at = L'\0';
    at = SkipWhitespace(at + 1);
    while (*at != L'\0' && *at != L'>' && *at != L'/') {
        wchar_t* const nameEnd = SkipName(at);
        at = SkipWhitespace(nameEnd);
        if (*at != L'=')
            return Fail(kErrorParsingAttributes, at);
        // The '=' becomes whitespace for the attribute mapper; when it
        // directly follows the name, the name's NUL replaces it instead.
        *at++ = L' ';
        *nameEnd = L'\0';
        at = SkipWhitespace(at);
        if (*at != L'"') {
            // Reported from behind the offending character, unless it is the
            // end of the text: nothing lies behind that.
            return Fail(kExpectedAttributeValue, *at == L'\0' ? at : at + 1);
        }
        ++at;
        wchar_t* const valueEnd = ParseData<L'"'>(at);
        if (*at == L'\0')
            return Fail(kErrorParsingAttributeString, at);
        *valueEnd = L'\0';
        if (valueEnd != at)
            *at = L' ';
        at = SkipWhitespace(at + 1);
    }
    return true;
}

// Reads the end tag at "</" for the element at index: the name must repeat
// the start tag's name over its full length and be followed by '>'.
bool CXmlDocument::CloseElement(unsigned index, wchar_t*& at)
{
    *at = L'\0';
    at = SkipWhitespace(at + 2);
    // The start tag's name carries its NUL by now, so its full length is
    // where the comparison stops.
    const wchar_t* const name = m_text + m_elements[index].namePosition;
    size_t length = 0;
    while (name[length] != L'\0' && at[length] == name[length])
        ++length;
    if (name[length] != L'\0')
        return Fail(kUnmatchedClosingTag, at);
    at = SkipWhitespace(at + length);
    const wchar_t closing = *at;
    // The character is stepped over whatever it is, except the end of the
    // text, which must stay the last position the parser sees.
    if (closing != L'\0')
        ++at;
    if (closing != L'>')
        return Fail(kUnmatchedClosingTag, at);
    return true;
}

}  // namespace DuiLib
