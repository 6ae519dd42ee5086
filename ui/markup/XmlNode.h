// CXmlNode: a copyable handle (document pointer plus element index) onto one
// element of a parsed CXmlDocument. It owns nothing and is valid only while
// its document lives and is not reloaded; attribute positions are found on
// first use and cached in the handle, at most 64 of them.
#pragma once

namespace DuiLib {

class CXmlDocument;

class CXmlNode
{
public:
    // Attributes an element shows through a node; later ones stay invisible.
    static constexpr int kMaxAttributes = 64;

    // An invalid node: every query answers null, false, 0 or another invalid
    // node, so lookup chains need no checks in between.
    CXmlNode();
    // Copies carry only the attribute positions found so far: a node is
    // copied at every step of a walk, and most of its room is unused.
    CXmlNode(const CXmlNode& other);
    CXmlNode& operator=(const CXmlNode& other);

    // True when the node belongs to a document.
    bool IsValid() const { return m_document != nullptr; }

    // The element name, NUL-terminated inside the document; null when invalid.
    const wchar_t* GetName() const;
    // The first child / next sibling; an invalid node when there is none.
    CXmlNode GetChild() const;
    CXmlNode GetSibling() const;
    bool HasChildren() const;
    // The line (from 1) of the element's start tag; 0 for an invalid node or
    // a document loaded without line numbering.
    int GetLine() const;

    bool HasAttributes() const;
    // Attributes in document order, at most kMaxAttributes; 0 when invalid.
    int GetAttributeCount() const;
    // Name / value of the attribute at index: "" for an index outside
    // 0..count-1, null for an invalid node.
    const wchar_t* GetAttributeName(int index) const;
    const wchar_t* GetAttributeValue(int index) const;
    // Finds the first attribute named exactly name (case-sensitive) and copies
    // at most maxChars characters of its value into value. A terminator is
    // written only when the value is shorter than maxChars, so callers pass a
    // zeroed buffer of maxChars + 1. False when the node is invalid, name or
    // value is null, or no attribute has that name.
    bool GetAttributeValue(const wchar_t* name, wchar_t* value, int maxChars) const;
    // The line of the attribute's name, as GetLine; 0 also for an index
    // outside 0..count-1.
    int GetAttributeLine(int index) const;

private:
    friend class CXmlDocument;

    struct AttributePosition
    {
        int name;
        int value;
    };

    CXmlNode(const CXmlDocument* document, unsigned index);

    // Fills the attribute cache when it is still empty (an element without
    // attributes is therefore re-scanned on every call, which costs little).
    void MapAttributes() const;

    unsigned m_index;
    mutable int m_attributeCount;
    // Only the first m_attributeCount entries are ever set or read.
    mutable AttributePosition m_attributes[kMaxAttributes];
    const CXmlDocument* m_document;
};

}  // namespace DuiLib
