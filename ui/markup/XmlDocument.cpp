// CXmlDocument: turning input into the owned wide buffer, the element table,
// and the single-pass in-place parser. Invariant: the parser writes only at
// or behind its read position and never steps over the terminating NUL, so
// every position it records lies inside the buffer.
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

// Positions are stored as signed 32-bit offsets, and the buffer with its
// terminator must not exceed what one allocation can hold.
constexpr unsigned long long kMaxLengthByBytes = PTRDIFF_MAX / sizeof(wchar_t) - 1;
constexpr unsigned long long kMaxTextLength = kMaxLengthByBytes < INT_MAX ? kMaxLengthByBytes : INT_MAX;

bool IsNameCharacter(wchar_t ch)
{
    return std::iswalnum(ch) || ch == L'_' || ch == L':';
}

wchar_t* SkipName(wchar_t* at)
{
    while (IsNameCharacter(*at))
        at = CharNextW(at);
    return at;
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
        // wcsncmp stops at the text's NUL, which no entity name contains.
        if (std::wcsncmp(read, entity.name, entity.length) == 0) {
            *write++ = entity.value;
            read += entity.length;
            return;
        }
    }
    *write++ = L'&';
}

// Copies the text at read onto itself up to the end character or the end of
// the text, decoding entities, and returns where the written text ends; read
// is left at the end character or the NUL. Decoding only shrinks the text, so
// the units between the written end and read become spaces: the attribute
// mapper walks this rewritten buffer and must find nothing there.
wchar_t* ParseData(wchar_t*& read, wchar_t end)
{
    wchar_t* write = read;
    while (*read != L'\0' && *read != end) {
        if (*read == L'&') {
            while (*read == L'&') {
                ++read;
                DecodeEntity(read, write);
            }
        } else {
            const wchar_t* const next = CharNextW(read);
            while (read < next)
                *write++ = *read++;
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

wchar_t* CXmlDocument::SkipWhitespace(wchar_t* at)
{
    while (*at >= 1 && *at <= 32)
        at = CharNextW(at);
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
    std::free(m_text);
    std::free(m_elements);
    m_text = nullptr;
    m_elements = nullptr;
    m_elementCount = 0;
}

bool CXmlDocument::Load(const wchar_t* text)
{
    if (text == nullptr)
        text = L"";
    const size_t length = std::wcslen(text);
    wchar_t* const copy = AllocateText(length);
    if (copy == nullptr)
        return false;
    std::memcpy(copy, text, length * sizeof(wchar_t));
    return ParseNewText(copy);
}

bool CXmlDocument::LoadFromBytes(const void* bytes, unsigned byteCount, XmlEncoding encoding)
{
    const auto* input = static_cast<const unsigned char*>(bytes);
    if (input == nullptr)
        byteCount = 0;

    wchar_t* text = nullptr;
    switch (encoding) {
    case EncodingUtf8:
        if (byteCount > 2 && input[0] == 0xEF && input[1] == 0xBB && input[2] == 0xBF) {
            input += 3;
            byteCount -= 3;
        }
        text = ConvertMultiByte(CP_UTF8, input, byteCount);
        break;
    case EncodingUtf16:
        text = CopyUtf16(input, byteCount);
        break;
    case EncodingAnsi:
        text = ConvertMultiByte(CP_ACP, input, byteCount);
        break;
    default:
        RefuseInput(kCouldNotReadFile);
        break;
    }
    return text != nullptr && ParseNewText(text);
}

wchar_t* CXmlDocument::AllocateText(unsigned long long length)
{
    if (length > kMaxTextLength)
        return RefuseInput(kFileTooLarge);
    auto* text = static_cast<wchar_t*>(std::malloc(static_cast<size_t>(length + 1) * sizeof(wchar_t)));
    if (text == nullptr)
        return RefuseInput(kOutOfMemory);
    text[length] = L'\0';
    return text;
}

wchar_t* CXmlDocument::ConvertMultiByte(unsigned codePage, const unsigned char* bytes, unsigned byteCount)
{
    // The platform conversion counts bytes and characters in an int.
    if (byteCount > INT_MAX)
        return RefuseInput(kFileTooLarge);
    const auto* source = reinterpret_cast<const char*>(bytes);
    const int sourceLength = static_cast<int>(byteCount);
    int length = 0;
    if (sourceLength > 0) {
        length = MultiByteToWideChar(codePage, 0, source, sourceLength, nullptr, 0);
        // Without MB_ERR_INVALID_CHARS bad sequences become U+FFFD, so a zero
        // here is the platform refusing the code page itself.
        if (length <= 0)
            return RefuseInput(kCouldNotReadFile);
    }
    wchar_t* const text = AllocateText(static_cast<unsigned long long>(length));
    if (text == nullptr)
        return nullptr;
    const int converted = length > 0 ? MultiByteToWideChar(codePage, 0, source, sourceLength, text, length) : 0;
    text[converted > 0 ? converted : 0] = L'\0';
    return text;
}

wchar_t* CXmlDocument::CopyUtf16(const unsigned char* bytes, unsigned byteCount)
{
    // Without a byte-order mark the byte order is unknown; guessing would
    // turn a wrongly labelled file into plausible nonsense.
    const bool littleEndian = byteCount >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    const bool bigEndian = byteCount >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    if (!littleEndian && !bigEndian)
        return RefuseInput(kCouldNotReadFile);
    const unsigned units = (byteCount - 2) / 2;
    wchar_t* const text = AllocateText(units);
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

// Takes ownership of text. The new text is complete before the old content
// goes, so a text taken from this document's own buffer loads safely.
bool CXmlDocument::ParseNewText(wchar_t* text)
{
    Release();
    m_text = text;
    if (Parse())
        return true;
    Release();
    return false;
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
// 1250, 2375, ...); indices stay valid, pointers into it do not.
bool CXmlDocument::ReserveElement(unsigned& index)
{
    if (m_elementCount == 0)
        m_elementCapacity = 0;
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
        TerminateName(element);
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
    wchar_t* const textEnd = ParseData(at, L'<');
    if (textEnd != at)
        *textEnd = L'\0';

    if (*at == L'\0' && parent < 2) {
        // Accepted unclosed; its name still needs its NUL, or it would run
        // on into the element's text.
        *nameEnd = L'\0';
        return ParseStep::TextEnded;
    }
    if (*at != L'<') {
        Fail(kExpectedEndTagStart, at);
        return ParseStep::Failed;
    }
    if (at[1] != L'/')
        return ParseStep::Descend;
    if (!CloseElement(index, at))
        return ParseStep::Failed;
    *nameEnd = L'\0';
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
        wchar_t* const valueEnd = ParseData(at, L'"');
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
    wchar_t* const name = m_text + m_elements[index].namePosition;
    const size_t length = static_cast<size_t>(SkipName(name) - name);
    if (std::wcsncmp(at, name, length) != 0)
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

// Writes the NUL behind an element's name once its content is complete. The
// name scans to the same end as when it was read: what followed it has
// become a NUL or is still the '>' of the start tag.
void CXmlDocument::TerminateName(unsigned index)
{
    *SkipName(m_text + m_elements[index].namePosition) = L'\0';
}

}  // namespace DuiLib
