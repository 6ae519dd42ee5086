// AttributeTable: the rows through which skin attributes are applied, each
// carrying what a skin author reads about it (value grammar, default,
// meaning), and the table that links a class's rows to its base's. The code
// applies attributes from these rows, and the skin linter and the generated
// reference read the same rows, so no tool can know a name the code does not.
#pragma once

#include <cstddef>

namespace DuiLib {

enum class AttributeNameCase
{
    Exact,  // the name matches only in exactly this spelling
    Any,    // compared without regard to case
};

// Value grammars. Tools act on the first group; the rest name the common
// syntaxes so that every table writes them the same way (the reference
// explains each one, AttributeGrammarNotes).
namespace AttributeGrammar {
constexpr wchar_t kImage[] = L"image description";
constexpr wchar_t kImageFile[] = L"image file";
constexpr wchar_t kFontIndex[] = L"font index";
constexpr wchar_t kSkinFile[] = L"skin file";
constexpr wchar_t kScrollBarStyle[] = L"ScrollBar attribute list";
constexpr wchar_t kAttributeList[] = L"attribute list";

constexpr wchar_t kBool[] = L"bool";
constexpr wchar_t kBoolAnyCase[] = L"bool, any case";
constexpr wchar_t kInteger[] = L"integer";
constexpr wchar_t kNumber[] = L"decimal number";
constexpr wchar_t kColour[] = L"colour #AARRGGBB";
constexpr wchar_t kRect[] = L"rect l,t,r,b";
constexpr wchar_t kSize[] = L"size cx,cy";
constexpr wchar_t kText[] = L"text";
}  // namespace AttributeGrammar

// One explained grammar of the reference's glossary.
struct AttributeGrammarNote
{
    const wchar_t* grammar;
    const wchar_t* explanation;
};

// The glossary, in the order the reference lists it; count receives its size.
const AttributeGrammarNote* AttributeGrammarNotes(int& count);

// One attribute as a skin author and the tools see it.
struct AttributeInfo
{
    const wchar_t* name;
    const wchar_t* grammar;
    const wchar_t* defaultText;  // as the author would write or see it
    const wchar_t* meaning;      // one line
    AttributeNameCase nameCase;

    // True when text names this attribute under its name case; false for null.
    bool Matches(const wchar_t* text) const;
};

// One row: the documentation and the setter it calls with the value text
// (never null).
template <class Target>
struct AttributeRow
{
    const wchar_t* name;
    const wchar_t* grammar;
    const wchar_t* defaultText;
    const wchar_t* meaning;
    void (*apply)(Target& target, const wchar_t* value);
    AttributeNameCase nameCase = AttributeNameCase::Exact;
};

// The rows of one class (or skin element) seen without their target type,
// linked to the list searched after them: what the linter and the reference
// read.
class CAttributeList
{
public:
    // The class or element the rows belong to, as the reference names it.
    const wchar_t* Owner() const { return m_owner; }
    // The list searched after this one; null at the end of the chain.
    const CAttributeList* Base() const { return m_base; }
    int RowCount() const { return m_count; }
    // Row index of this list itself, 0..RowCount()-1.
    AttributeInfo Row(int index) const { return m_info(m_rows, index); }

    // The first row that name matches in this list, then in its bases: the
    // list that holds it, with index set to the row; null, with index -1,
    // for a null or unknown name.
    const CAttributeList* Find(const wchar_t* name, int& index) const;
    bool Knows(const wchar_t* name) const;

protected:
    using InfoProc = AttributeInfo (*)(const void* rows, int index);

    constexpr CAttributeList(const wchar_t* owner, const CAttributeList* base, const void* rows, int count,
                             InfoProc info)
        : m_owner(owner), m_base(base), m_rows(rows), m_count(count), m_info(info)
    {
    }

    const void* RowData() const { return m_rows; }

private:
    const wchar_t* m_owner;
    const CAttributeList* m_base;
    const void* m_rows;
    int m_count;
    InfoProc m_info;
};

// A list that also applies its rows. Root is the type every table of a chain
// applies to; each row's target is Root or a class derived from it.
template <class Root>
class CAttributeTable : public CAttributeList
{
public:
    template <class Target, std::size_t N>
    constexpr CAttributeTable(const wchar_t* owner, const CAttributeTable* base, const AttributeRow<Target> (&rows)[N])
        : CAttributeList(owner, base, rows, static_cast<int>(N), &InfoAt<Target>), m_apply(&ApplyAt<Target>)
    {
    }

    // Runs the row Find gives on target with value (null counts as ""); false,
    // changing nothing, when no row has the name.
    bool Apply(Root& target, const wchar_t* name, const wchar_t* value) const
    {
        int index = -1;
        const CAttributeList* list = Find(name, index);
        if (list == nullptr)
            return false;
        // Every list of the chain was linked in as a table of this Root.
        static_cast<const CAttributeTable*>(list)->ApplyRow(index, target, value);
        return true;
    }

    // Runs row index of this table itself on target; value null counts as "".
    void ApplyRow(int index, Root& target, const wchar_t* value) const
    {
        m_apply(RowData(), index, target, value != nullptr ? value : L"");
    }

private:
    template <class Target>
    static AttributeInfo InfoAt(const void* rows, int index)
    {
        const AttributeRow<Target>& row = static_cast<const AttributeRow<Target>*>(rows)[index];
        return AttributeInfo{row.name, row.grammar, row.defaultText, row.meaning, row.nameCase};
    }

    // The table is reached only through a target of its own class or one
    // derived from it, so the cast down from Root is sound.
    template <class Target>
    static void ApplyAt(const void* rows, int index, Root& target, const wchar_t* value)
    {
        static_cast<const AttributeRow<Target>*>(rows)[index].apply(static_cast<Target&>(target), value);
    }

    void (*m_apply)(const void* rows, int index, Root& target, const wchar_t* value);
};

}  // namespace DuiLib
