// SkinReferenceWriter: the reference's sections in a skin author's reading
// order (how a file is read, the value grammars, the window, the resource
// elements, the tags, every control class from the base down, the image
// descriptions). Control classes are learnt from one instance per tag; a
// class is placed under the class whose table its table continues.
#include "tools/skinref/SkinReferenceWriter.h"

#include <algorithm>
#include <map>
#include <vector>

#include "ui/control/ControlUI.h"
#include "ui/core/UIManager.h"
#include "ui/markup/ControlTags.h"
#include "ui/markup/SkinElements.h"
#include "ui/render/ImageDrawSpec.h"

namespace DuiLib {

namespace {

// ---- Markdown ---------------------------------------------------------------

// Text for a table cell: '|' would end the cell and '<' start an HTML tag.
std::wstring Cell(const wchar_t* text)
{
    std::wstring out;
    for (const wchar_t* at = text; *at != L'\0'; ++at)
    {
        if (*at == L'|')
            out += L"\\|";
        else if (*at == L'<')
            out += L"&lt;";
        else
            out += *at;
    }
    return out;
}

std::wstring Code(const wchar_t* text)
{
    return L"`" + std::wstring(text) + L"`";
}

// The anchor GitHub-style renderers give a heading: lower case, spaces to
// hyphens, other punctuation dropped.
std::wstring Anchor(const std::wstring& heading)
{
    std::wstring out;
    for (wchar_t ch : heading)
    {
        if (ch >= L'A' && ch <= L'Z')
            out += static_cast<wchar_t>(ch - L'A' + L'a');
        else if ((ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') || ch == L'-' || ch == L'_')
            out += ch;
        else if (ch == L' ')
            out += L'-';
    }
    return out;
}

std::wstring Link(const std::wstring& heading)
{
    return L"[" + heading + L"](#" + Anchor(heading) + L")";
}

// The rows of list itself as a table; a row whose name a base table has too
// says that it replaces that one.
void WriteRows(std::wstring& out, const CAttributeList& list, const wchar_t* column = L"attribute")
{
    out += L"| " + std::wstring(column) + L" | value | default | meaning |\n|---|---|---|---|\n";
    for (int i = 0; i < list.RowCount(); ++i)
    {
        const AttributeInfo row = list.Row(i);
        std::wstring meaning = Cell(row.meaning);
        int index = -1;
        const CAttributeList* replaced = list.Base() != nullptr ? list.Base()->Find(row.name, index) : nullptr;
        if (replaced != nullptr)
            meaning += L" (replaces the attribute of " + Link(replaced->Owner()) + L")";
        out += L"| " + Code(row.name) + L" | " + Cell(row.grammar) + L" | " + Cell(row.defaultText) + L" | " +
               meaning + L" |\n";
    }
    out += L"\n";
}

// "Names compare ..." for a list whose rows compare names without regard to
// case, naming the rows that do not.
std::wstring NameCaseNote(const CAttributeList& list, const wchar_t* names = L"Attribute names")
{
    std::vector<std::wstring> exact;
    bool anyCase = false;
    for (int i = 0; i < list.RowCount(); ++i)
    {
        if (list.Row(i).nameCase == AttributeNameCase::Exact)
            exact.push_back(Code(list.Row(i).name));
        else
            anyCase = true;
    }
    if (!anyCase)
        return std::wstring(names) + L" are compared exactly, letter case included.\n\n";
    std::wstring note = std::wstring(names) + L" are compared without regard to letter case";
    for (size_t i = 0; i < exact.size(); ++i)
        note += (i == 0 ? L", except " : (i + 1 == exact.size() ? L" and " : L", ")) + exact[i];
    if (!exact.empty())
        note += exact.size() == 1 ? L", which matches only in exactly this spelling" :
                                    L", which match only in exactly this spelling";
    return note + L".\n\n";
}

// ---- The control classes ----------------------------------------------------

// One class of the reference: a table of its own, or a class that adds no
// attributes to its base's (then table is the base's).
struct ClassEntry
{
    std::wstring name;
    const CAttributeList* table = nullptr;
    bool ownTable = false;
    std::wstring parent;  // "" for the root of the hierarchy
    std::vector<std::wstring> tags;
    std::vector<std::wstring> children;
};

// The classes of every tag with a class, and the bases their tables name,
// in the order the tag table first reaches them.
std::vector<ClassEntry> CollectClasses()
{
    std::vector<ClassEntry> classes;
    std::map<std::wstring, size_t> index;
    const auto entry = [&](const std::wstring& name) -> ClassEntry& {
        auto found = index.find(name);
        if (found == index.end())
        {
            found = index.emplace(name, classes.size()).first;
            classes.push_back(ClassEntry());
            classes.back().name = name;
        }
        return classes[found->second];
    };
    int count = 0;
    const ControlTag* tags = GetControlTags(count);
    for (int i = 0; i < count; ++i)
    {
        if (tags[i].make == nullptr)
            continue;
        IControlUI* control = tags[i].make();
        const CAttributeList* table = &static_cast<CControlUI*>(control->CastTo(L"Control"))->GetAttributeTable();
        control->Delete();
        ClassEntry& own = entry(tags[i].className);
        own.tags.push_back(tags[i].tag);
        own.table = table;
        own.ownTable = own.name == table->Owner();
        if (!own.ownTable)
            own.parent = table->Owner();
        // The chain of tables names the classes above.
        for (const CAttributeList* list = table; list != nullptr; list = list->Base())
        {
            ClassEntry& base = entry(list->Owner());
            base.table = list;
            base.ownTable = true;
            base.parent = list->Base() != nullptr ? list->Base()->Owner() : L"";
        }
    }
    for (ClassEntry& child : classes)
    {
        if (!child.parent.empty())
            classes[index[child.parent]].children.push_back(child.name);
    }
    return classes;
}

void WriteClass(std::wstring& out, const std::vector<ClassEntry>& classes, const ClassEntry& entry)
{
    out += L"### " + entry.name + L"\n\n";
    if (entry.tags.empty())
    {
        out += L"No tag makes this class itself; its attributes serve the classes below it.";
    }
    else
    {
        out += entry.tags.size() == 1 ? L"Tag " : L"Tags ";
        for (size_t i = 0; i < entry.tags.size(); ++i)
            out += (i == 0 ? L"" : L", ") + Code(entry.tags[i].c_str());
        out += L".";
    }
    if (!entry.ownTable)
    {
        out += L" No attributes of its own: it takes those of " + Link(entry.parent) + L".\n\n";
    }
    else if (entry.table->Base() != nullptr)
    {
        out += L" It also takes every attribute of " + Link(entry.table->Base()->Owner()) +
               L"; a name listed here replaces the one there.\n\n";
        WriteRows(out, *entry.table);
    }
    else
    {
        out += L" Every control takes these attributes.\n\n";
        WriteRows(out, *entry.table);
    }
    for (const std::wstring& child : entry.children)
    {
        for (const ClassEntry& candidate : classes)
        {
            if (candidate.name == child)
                WriteClass(out, classes, candidate);
        }
    }
}

// ---- Sections ---------------------------------------------------------------

const wchar_t kIntroduction[] =
    L"# Skin reference\n\n"
    L"Every tag, attribute and image description key that a skin of this toolkit can use, with the value each "
    L"takes, its default and what it does. This file is generated from the tables that the code applies "
    L"attributes from (build the `skin_reference` target to write it again); a test fails when it is out of "
    L"date, so do not edit it by hand.\n\n";

const wchar_t kReading[] =
    L"## How a skin file is read\n\n"
    L"- A skin file holds one root element. When the root is named `Window` (any letter case), its attributes "
    L"configure the window: see " L"[The Window element](#the-window-element).\n"
    L"- The resource elements `Image`, `Font`, `Default` and `MultiLanguage` count only as direct children of "
    L"the root; they are read before any control is made.\n"
    L"- Every other child of the root, and every element below, makes one control through its tag (see "
    L"[Tags](#tags)); an `Include` builds another skin file in its place. Only the first control at the top "
    L"level is kept: put the others inside it.\n"
    L"- Tags compare without regard to letter case, except `GifAnim`. Control attribute names compare exactly, "
    L"letter case included.\n"
    L"- A control first takes the attribute list of the `Default` element named like its tag (exactly as "
    L"written), then its own attributes in the order written, so its own win. A control class takes the "
    L"attributes of its own table and of every class it builds on.\n"
    L"- A name no table knows is kept as a custom attribute for the application to read; the skin linter "
    L"(`skinview --lint`) reports it, since it is usually a typo.\n\n";

void WriteGlossary(std::wstring& out)
{
    out += L"## Value grammars\n\n| value | how it is read |\n|---|---|\n";
    int count = 0;
    const AttributeGrammarNote* notes = AttributeGrammarNotes(count);
    for (int i = 0; i < count; ++i)
        out += L"| " + Cell(notes[i].grammar) + L" | " + Cell(notes[i].explanation) + L" |\n";
    out += L"| enum a\\|b\\|c | Exactly one of the words listed; any other value leaves the setting as it was. |\n\n";
}

void WriteWindow(std::wstring& out)
{
    const CAttributeList& window = CUIManager::GetWindowAttributeTable();
    out += L"## The Window element\n\n";
    out += L"The root element `Window` sets up the window itself. " + NameCaseNote(window);
    WriteRows(out, window);
}

void WriteElements(std::wstring& out)
{
    out += L"## Resource elements and Include\n\n";
    out += L"These elements make no control; the builder reads them itself.\n\n";
    int count = 0;
    const SkinElementInfo* elements = GetSkinElements(count);
    for (int i = 0; i < count; ++i)
    {
        out += L"### " + std::wstring(elements[i].tag) + L"\n\n" + Cell(elements[i].meaning) + L". ";
        out += NameCaseNote(elements[i].attributes);
        WriteRows(out, elements[i].attributes);
    }
    out += L"### Attributes every control element may carry\n\n";
    out += L"The builder reads these from the element before the control's own table applies its attributes.\n\n";
    WriteRows(out, GetChildPlacementAttributes());
}

void WriteTags(std::wstring& out)
{
    out += L"## Tags\n\n| tag | class |\n|---|---|\n";
    int count = 0;
    const ControlTag* tags = GetControlTags(count);
    std::vector<const ControlTag*> sorted;
    for (int i = 0; i < count; ++i)
        sorted.push_back(&tags[i]);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const ControlTag* a, const ControlTag* b) { return _wcsicmp(a->tag, b->tag) < 0; });
    for (const ControlTag* tag : sorted)
    {
        std::wstring name = Code(tag->tag);
        if (tag->tagCase == TagCase::Exact)
            name += L" (exactly this case)";
        const std::wstring target =
            tag->make != nullptr ? Link(tag->className)
                                 : std::wstring(tag->className) + L": not available yet, the element is skipped with "
                                                                  L"its children";
        out += L"| " + name + L" | " + target + L" |\n";
    }
    out += L"\n";
}

void WriteImageDescriptions(std::wstring& out)
{
    const CAttributeList& keys = GetImageDescriptionKeys();
    out += L"## Image descriptions\n\n";
    out += L"An image attribute holds either a plain file name (`bk/main_bk.png`) or `key='value'` items "
           L"separated by single spaces: `file='btn/nor_btn.png' source='0,0,150,42' corner='4,4,4,4'`. Values "
           L"are in single quotes; the first malformed item ends the description, and keys no row knows are "
           L"ignored. " +
           NameCaseNote(keys, L"Keys");
    WriteRows(out, keys, L"key");
}

}  // namespace

std::wstring WriteSkinReference()
{
    std::wstring out = kIntroduction;
    const std::vector<ClassEntry> classes = CollectClasses();
    out += L"## Contents\n\n";
    for (const wchar_t* section : {L"How a skin file is read", L"Value grammars", L"The Window element",
                                   L"Resource elements and Include", L"Tags", L"Controls", L"Image descriptions"})
        out += L"- " + Link(section) + L"\n";
    out += L"\n";
    out += kReading;
    WriteGlossary(out);
    WriteWindow(out);
    WriteElements(out);
    WriteTags(out);
    out += L"## Controls\n\nThe classes from the base down: each one names the class it builds on, whose "
           L"attributes it takes as well.\n\n";
    for (const ClassEntry& entry : classes)
    {
        if (entry.parent.empty())
            WriteClass(out, classes, entry);
    }
    WriteImageDescriptions(out);
    return out;
}

}  // namespace DuiLib
