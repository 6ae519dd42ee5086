// CXmlNode: tree navigation over the document's element table and the lazy
// attribute map. The map walks the start tag as the parser left it; every
// step is bounded by the element's content position, so even a tag that the
// parser rewrote oddly is never walked past its own region.
#include "ui/markup/XmlNode.h"

#include "ui/markup/XmlDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace DuiLib {

namespace {

// Steps over the NUL-terminated string at at and its NUL, stopping at end.
// Attribute values make up most of a skin, so they are crossed two units per
// aligned 32-bit word, never reading at or past end.
wchar_t* StepOverString(wchar_t* at, const wchar_t* end)
{
    if (at < end && *at != L'\0' && (reinterpret_cast<std::uintptr_t>(at) & 2) != 0)
        ++at;
    for (std::uint32_t pair; end - at >= 2; at += 2) {
        std::memcpy(&pair, at, sizeof(pair));
        // Non-zero exactly when one of the two units is 0.
        if (((pair - 0x00010001u) & ~pair & 0x80008000u) != 0)
            break;
    }
    while (at < end && *at != L'\0')
        ++at;
    return at < end ? at + 1 : at;
}

}  // namespace

CXmlNode::CXmlNode() : m_index(0), m_attributeCount(0), m_document(nullptr)
{
}

CXmlNode::CXmlNode(const CXmlDocument* document, unsigned index)
    : m_index(index), m_attributeCount(0), m_document(document)
{
}

CXmlNode::CXmlNode(const CXmlNode& other)
    : m_index(other.m_index), m_attributeCount(other.m_attributeCount), m_document(other.m_document)
{
    std::memcpy(m_attributes, other.m_attributes, static_cast<size_t>(m_attributeCount) * sizeof(AttributePosition));
}

CXmlNode& CXmlNode::operator=(const CXmlNode& other)
{
    if (this != &other) {
        m_index = other.m_index;
        m_attributeCount = other.m_attributeCount;
        m_document = other.m_document;
        std::memcpy(m_attributes, other.m_attributes,
                    static_cast<size_t>(m_attributeCount) * sizeof(AttributePosition));
    }
    return *this;
}

const wchar_t* CXmlNode::GetName() const
{
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    return element != nullptr ? m_document->m_text + element->namePosition : nullptr;
}

CXmlNode CXmlNode::GetChild() const
{
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    return element != nullptr && element->firstChild != 0 ? CXmlNode(m_document, element->firstChild) : CXmlNode();
}

CXmlNode CXmlNode::GetSibling() const
{
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    return element != nullptr && element->nextSibling != 0 ? CXmlNode(m_document, element->nextSibling) : CXmlNode();
}

bool CXmlNode::HasChildren() const
{
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    return element != nullptr && element->firstChild != 0;
}

int CXmlNode::GetLine() const
{
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    return element != nullptr ? m_document->LineOf(element->namePosition) : 0;
}

int CXmlNode::GetAttributeLine(int index) const
{
    if (index < 0 || index >= GetAttributeCount())
        return 0;
    return m_document->LineOf(m_attributes[index].name);
}

bool CXmlNode::HasAttributes() const
{
    return GetAttributeCount() > 0;
}

int CXmlNode::GetAttributeCount() const
{
    MapAttributes();
    return m_attributeCount;
}

const wchar_t* CXmlNode::GetAttributeName(int index) const
{
    if (m_document == nullptr)
        return nullptr;
    MapAttributes();
    if (index < 0 || index >= m_attributeCount)
        return L"";
    return m_document->m_text + m_attributes[index].name;
}

const wchar_t* CXmlNode::GetAttributeValue(int index) const
{
    if (m_document == nullptr)
        return nullptr;
    MapAttributes();
    if (index < 0 || index >= m_attributeCount)
        return L"";
    return m_document->m_text + m_attributes[index].value;
}

bool CXmlNode::GetAttributeValue(const wchar_t* name, wchar_t* value, int maxChars) const
{
    if (name == nullptr || value == nullptr)
        return false;
    MapAttributes();
    for (int i = 0; i < m_attributeCount; ++i) {
        if (std::wcscmp(m_document->m_text + m_attributes[i].name, name) != 0)
            continue;
        const wchar_t* const source = m_document->m_text + m_attributes[i].value;
        int copied = 0;
        for (; copied < maxChars && source[copied] != L'\0'; ++copied)
            value[copied] = source[copied];
        if (copied < maxChars)
            value[copied] = L'\0';
        return true;
    }
    return false;
}

// The parser left the start tag as: name NUL, then per attribute its name,
// NUL, whitespace (the '=' became a space), '"', the value and its NUL.
void CXmlNode::MapAttributes() const
{
    if (m_attributeCount != 0)
        return;
    const auto* element = CXmlDocument::FindElement(m_document, m_index);
    if (element == nullptr)
        return;
    wchar_t* const text = m_document->m_text;
    const wchar_t* const end = text + element->contentPosition;
    wchar_t* at = StepOverString(text + element->namePosition, end);
    while (at < end) {
        at = CXmlDocument::SkipWhitespace(at);
        if (at >= end)
            return;
        const int name = static_cast<int>(at - text);
        at = CXmlDocument::SkipWhitespace(StepOverString(at, end));
        if (at >= end || *at != L'"')
            return;
        ++at;
        m_attributes[m_attributeCount].name = name;
        m_attributes[m_attributeCount].value = static_cast<int>(at - text);
        if (++m_attributeCount == kMaxAttributes)
            return;
        at = StepOverString(at, end);
    }
}

}  // namespace DuiLib
