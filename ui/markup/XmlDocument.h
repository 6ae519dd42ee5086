// CXmlDocument: the toolkit's non-validating XML reader. It parses one owned
// wide copy of the text in place (NULs end names, values and texts) and keeps
// tree links in a flat element table of offsets. Reading skin files is
// SkinLocation's; the reader only names the failures. A load answers true or
// false and keeps the reason.
#pragma once

#include <cstddef>

#include "ui/markup/XmlNode.h"

namespace DuiLib {

struct SkinLocation;
enum class SkinReadStatus;

// How LoadFromBytes reads its input (a 32-bit selector).
enum XmlEncoding
{
    // An optional leading byte-order mark EF BB BF, then UTF-8.
    EncodingUtf8 = 0,
    // A byte-order mark FF FE (little-endian) or FE FF (big-endian), then
    // UTF-16 code units; an odd trailing byte is ignored.
    EncodingUtf16 = 1,
    // The system ANSI code page.
    EncodingAnsi = 2
};

class CXmlDocument
{
public:
    // Room for the stored error message and error location, terminator
    // included.
    static constexpr int kErrorMessageUnits = 100;
    static constexpr int kErrorLocationUnits = 50;

    // An empty document, or, when text is given, one loaded as by Load.
    explicit CXmlDocument(const wchar_t* text = nullptr);
    ~CXmlDocument();
    CXmlDocument(const CXmlDocument&) = delete;
    CXmlDocument& operator=(const CXmlDocument&) = delete;

    // Replaces the content with a copy of the NUL-terminated text and parses
    // it; a null text counts as "". False, leaving the document empty, when
    // the text breaks the reader's rules (see GetLastErrorMessage), is too long
    // for 31-bit offsets ("File too large") or finds no memory ("Out of memory").
    bool Load(const wchar_t* text);
    // As Load, for byteCount bytes in the given encoding. Null bytes count as
    // no bytes. UTF-16 input must begin with a byte-order mark; input without
    // one, or an unknown encoding, fails with "Could not read file".
    bool LoadFromBytes(const void* bytes, unsigned byteCount, XmlEncoding encoding = EncodingUtf8);

    // Largest skin file LoadFromSkinFile reads: 4 MiB.
    static constexpr unsigned kMaxSkinFileBytes = 0x400000;
    // Releases the content, then loads skin file name from the manager's skin
    // settings as LoadFromBytes: the file resource path + name, or the
    // archive entry name. Fails with "Error opening file", "File is empty",
    // "File too large" (above kMaxSkinFileBytes), "Could not read file",
    // "Error opening zip file", "Could not find ziped file", "Could not unzip
    // file" or "Out of memory", or as the parse fails. A null name cannot be
    // opened or found.
    bool LoadFromSkinFile(const wchar_t* name, XmlEncoding encoding = EncodingUtf8);
    // As above, with the skin settings given.
    bool LoadFromSkinFile(const wchar_t* name, XmlEncoding encoding, const SkinLocation& location);
    // Releases the content, then loads the resource name (text, or an integer
    // id in integer-resource form) of type in the manager's resource module
    // as UTF-8. A missing resource fails with "Error opening file"; an empty
    // one loads as an empty document.
    bool LoadFromResource(const wchar_t* name, const wchar_t* type);
    // As above, from the resource module of location.
    bool LoadFromResource(const wchar_t* name, const wchar_t* type, const SkinLocation& location);

    // The message a load stores for a skin file read that failed with status.
    static const wchar_t* ReadFailureMessage(SkinReadStatus status);

    // Frees the text and the element table. Keeps the last error, so that a
    // failed load can still be explained. A load, by contrast, keeps both
    // blocks for the next load into this document when the new text fits.
    void Release();
    // With numbering on, each later load notes where the text's lines start
    // before parsing rewrites it, so that nodes and the last error can name
    // their line. Off by default: the builder needs no lines and keeps to
    // its two allocations.
    void SetLineNumbering(bool on) { m_numberLines = on; }
    // True after a successful load, even of a text without elements.
    bool IsValid() const { return m_loaded; }
    // The first top-level element; an invalid node when there is none.
    CXmlNode GetRoot() const;

    // Why the last load failed, "" after a successful one.
    const wchar_t* GetLastErrorMessage() const { return m_errorMessage; }
    // Up to 49 characters of the text from the point where the last load
    // failed; "" when it failed at the end of the text or before parsing.
    const wchar_t* GetLastErrorLocation() const { return m_errorLocation; }
    // The line (from 1) where the last load failed; 0 when it failed before
    // parsing, at no position, or without line numbering.
    int GetLastErrorLine() const { return m_errorLine; }

private:
    friend class CXmlNode;

    // One element; index 0 is a placeholder, so a link of 0 means "none".
    struct Element
    {
        int namePosition;
        unsigned firstChild;
        unsigned nextSibling;
        unsigned parent;
        // Just behind the start tag's '>', or at the '/' of an empty-element
        // tag; it also ends the start tag's attribute region.
        int contentPosition;
    };

    enum class ParseStep : int;

    // Drops the content (the document is then empty) but keeps the text
    // buffer and the element table for the next load.
    void Clear();
    // Loading: room for a text of length units and its NUL, NUL-terminated,
    // or null with the document released and the reason stored. The room is
    // the document's own buffer, cleared, when the text fits it and source
    // (sourceBytes long) does not lie in it; otherwise a new block of length
    // + 1 units, which the old content outlives until ParseNewText.
    // capacity receives the units the room holds.
    wchar_t* PrepareText(unsigned long long length, const void* source, std::size_t sourceBytes,
                         unsigned& capacity);
    // Frees text when it is not the document's own buffer (a load that
    // failed before parsing).
    void DropText(wchar_t* text);
    wchar_t* ConvertMultiByte(unsigned codePage, const unsigned char* bytes, unsigned byteCount, unsigned& capacity);
    wchar_t* CopyUtf16(const unsigned char* bytes, unsigned byteCount, unsigned& capacity);
    // Releases the document, stores message with no location, returns null.
    wchar_t* RefuseInput(const wchar_t* message);
    // Makes text (from PrepareText, capacity units) the document's text and
    // parses it.
    bool ParseNewText(wchar_t* text, unsigned capacity);
    // Notes the offset of every line feed of m_text; false without memory.
    bool IndexLines();
    // The line (from 1) of the text offset; 0 without line numbering.
    int LineOf(int offset) const;

    // Parsing, in place over m_text.
    bool Parse();
    ParseStep ReadElement(wchar_t*& at, unsigned parent, unsigned& previous);
    bool ParseAttributes(wchar_t*& at);
    bool CloseElement(unsigned index, wchar_t*& at);
    bool ReserveElement(unsigned& index);
    bool Fail(const wchar_t* message, const wchar_t* at);
    int Offset(const wchar_t* at) const { return static_cast<int>(at - m_text); }

    // Shared with CXmlNode, which walks the rewritten buffer.
    static wchar_t* SkipWhitespace(wchar_t* at);
    // Null for a null document or an index outside its table.
    static const Element* FindElement(const CXmlDocument* document, unsigned index);

    wchar_t* m_text;
    // Units the text buffer holds, terminator included.
    unsigned m_textCapacity = 0;
    bool m_loaded = false;
    Element* m_elements;
    unsigned m_elementCount;
    unsigned m_elementCapacity;
    wchar_t m_errorMessage[kErrorMessageUnits];
    wchar_t m_errorLocation[kErrorLocationUnits];
    int m_errorLine = 0;
    bool m_numberLines = false;
    // Whether the loaded text was indexed, and the offsets of its line feeds,
    // ascending (null when it has none).
    bool m_linesIndexed = false;
    int* m_lineBreaks = nullptr;
    unsigned m_lineBreakCount = 0;
};

}  // namespace DuiLib
