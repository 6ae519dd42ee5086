// CSkinLinter: a walk over the skin's documents in the builder's order and
// with the builder's bounds, judging every element and attribute by the same
// tables the builder and the controls apply: the tag table, each class's
// attribute table, the builder's element rows, the window rows and the image
// description keys. Values are checked by their grammar: images are fetched
// and decoded, fonts looked up, attribute lists and child skins read in turn.
//
// [SECTIONS] wording · the walk's state · documents · resource elements ·
// the element walk · controls · values · images · the linter
#include "ui/markup/SkinLinter.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <map>
#include <set>
#include <string>

#include "ui/control/AttributeValues.h"
#include "ui/control/ChildLayoutUI.h"
#include "ui/control/ControlUI.h"
#include "ui/core/UIManager.h"
#include "ui/markup/ControlTags.h"
#include "ui/markup/LayoutBuilder.h"
#include "ui/markup/SkinElements.h"
#include "ui/markup/XmlDocument.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

// ---- Wording ----------------------------------------------------------------

std::wstring Quoted(const wchar_t* text)
{
    return L"\"" + std::wstring(text != nullptr ? text : L"") + L"\"";
}

// The parser's failing text up to the end of its line.
std::wstring FailureText(const CXmlDocument& document)
{
    std::wstring text(document.GetLastErrorLocation());
    return Quoted(text.substr(0, text.find_first_of(L"\r\n")).c_str());
}

std::wstring Tag(const wchar_t* name)
{
    return L"<" + std::wstring(name != nullptr ? name : L"") + L">";
}

// Edits (insertions, deletions, substitutions) between two short names.
int EditDistance(const std::wstring& a, const std::wstring& b)
{
    std::vector<int> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = static_cast<int>(j);
    for (size_t i = 1; i <= a.size(); ++i)
    {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (size_t j = 1; j <= b.size(); ++j)
        {
            const int above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// " (did you mean "x"?)" for the nearest name of the lists within two edits,
// or "".
std::wstring Suggestion(const wchar_t* name, std::initializer_list<const CAttributeList*> lists)
{
    constexpr size_t kLongestCompared = 64;
    const std::wstring wanted(name);
    if (wanted.size() > kLongestCompared)
        return std::wstring();
    std::wstring best;
    int bestDistance = 3;
    for (const CAttributeList* first : lists)
    {
        for (const CAttributeList* list = first; list != nullptr; list = list->Base())
        {
            for (int i = 0; i < list->RowCount(); ++i)
            {
                const int distance = EditDistance(wanted, list->Row(i).name);
                if (distance < bestDistance)
                {
                    bestDistance = distance;
                    best = list->Row(i).name;
                }
            }
        }
    }
    return best.empty() ? std::wstring() : L" (did you mean " + Quoted(best.c_str()) + L"?)";
}

std::wstring Lower(const wchar_t* text)
{
    std::wstring out(text);
    for (wchar_t& ch : out)
        ch = static_cast<wchar_t>(std::towlower(ch));
    return out;
}

// " (did you mean <Tag>?)" for the nearest tag of the table or the builder's
// own elements, letter case aside, or "".
std::wstring TagSuggestion(const wchar_t* tag)
{
    const std::wstring wanted = Lower(tag);
    if (wanted.size() > 64)
        return std::wstring();
    std::wstring best;
    int bestDistance = 3;
    const auto consider = [&](const wchar_t* candidate) {
        const int distance = EditDistance(wanted, Lower(candidate));
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = candidate;
        }
    };
    int count = 0;
    const ControlTag* tags = GetControlTags(count);
    for (int i = 0; i < count; ++i)
        consider(tags[i].tag);
    const SkinElementInfo* elements = GetSkinElements(count);
    for (int i = 0; i < count; ++i)
        consider(elements[i].tag);
    if (best.empty())
        return std::wstring();
    return L" (did you mean " + Tag(best.c_str()) + (bestDistance == 0 ? L"? It matches only as written)" : L"?)");
}

// ---- The walk's state -------------------------------------------------------

// Where a problem is: the file as the skin names it, and the line.
struct Place
{
    const std::wstring& file;
    int line;
};

// The counters of one build and of the builds of its includes, as the
// builder keeps them; each child layout starts its own.
struct BuildCounts
{
    int includeDepth = 0;
    int elementDepth = 0;
    long long controls = 0;
    long long includeBuilds = 0;
    bool limitReported = false;
};

// What the children of a level are attached to.
enum class Holder
{
    Nothing,       // the top level: only the first control is kept
    Container,     // a parent with a child list
    NotContainer,  // a parent without one: any plain child drops the level
};

// One level's shared outcome: at the top level, whether a control was kept.
struct Level
{
    Holder holder;
    bool* topLevelTaken;
};

// Facts about a tag's class, learnt once from an instance.
struct ClassFacts
{
    const ControlAttributeTable* table = nullptr;
    bool isContainer = false;
};

constexpr long long kMultiplierCap = 1LL << 40;

class CLintWalk
{
public:
    CLintWalk(const SkinLocation& location, std::vector<SkinProblem>& problems)
        : m_location(location), m_problems(problems)
    {
    }

    SkinLintResult Run(const wchar_t* xmlFile);

private:
    void Report(const Place& at, const std::wstring& message);
    bool Stopped() const { return m_stopped; }

    // Documents.
    bool Load(const wchar_t* source, CXmlDocument& document, SkinReadStatus& status);
    void WalkDocument(const CXmlDocument& document, const std::wstring& file, Level level, BuildCounts& counts,
                      long long multiplier);
    void CheckRoot(const CXmlNode& root, const std::wstring& file);
    // Resource elements.
    void CheckResources(const CXmlNode& root, const std::wstring& file);
    void CheckDeclaration(const SkinElementInfo& info, const CXmlNode& node, const std::wstring& file);
    // The element walk.
    void WalkLevel(const CXmlNode& node, const std::wstring& file, Level level, BuildCounts& counts,
                   long long multiplier, bool rootLevel);
    void CheckInclude(const SkinElementInfo& info, const CXmlNode& element, const std::wstring& file, Level level,
                      BuildCounts& counts, long long multiplier);
    void CheckChildSkin(const wchar_t* source, const Place& at);
    // Controls.
    const ClassFacts* FactsOf(const ControlTag& row);
    bool CheckControl(const ControlTag& row, const CXmlNode& element, const std::wstring& file, Level level,
                      BuildCounts& counts, long long multiplier);
    // Values.
    void CheckAttribute(const CAttributeList& list, const CAttributeList* extra, const std::wstring& owner,
                        const wchar_t* name, const wchar_t* value, const Place& at);
    void CheckValue(const AttributeInfo& info, const wchar_t* value, const Place& at);
    void CheckAttributeList(const wchar_t* list, const ControlAttributeTable& table, const std::wstring& owner,
                            const Place& at);
    // Images.
    void CheckImageDescription(const wchar_t* attribute, const wchar_t* value, const Place& at);
    void CheckImage(const wchar_t* name, const wchar_t* type, DWORD mask, const Place& at);

    const SkinLocation& m_location;
    std::vector<SkinProblem>& m_problems;
    bool m_stopped = false;
    // Added to the lines of the document walked: an Include's inline XML
    // counts its lines from the line of its source attribute.
    int m_lineShift = 0;
    std::map<const ControlTag*, ClassFacts> m_classes;
    std::map<std::wstring, std::wstring> m_names;  // control name -> where first built
    std::set<int> m_fontIds;
    std::vector<std::pair<int, SkinProblem>> m_fontUses;  // index -> where used
    std::set<std::wstring> m_defaultLists;
    std::set<std::wstring> m_declaredImages;
    std::set<std::wstring> m_checkedImages;
    std::set<std::wstring> m_childSkins;
    std::set<std::wstring> m_reported;
    int m_childNesting = 0;
};

void CLintWalk::Report(const Place& at, const std::wstring& message)
{
    if (m_stopped)
        return;
    const int line = at.line > 0 ? at.line + m_lineShift : 0;
    if (static_cast<int>(m_problems.size()) >= CSkinLinter::kMaxProblems)
    {
        m_problems.push_back(
            SkinProblem{CUIString(at.file.c_str()), line, CUIString(L"too many problems; the check stops here")});
        m_stopped = true;
        return;
    }
    // A file included twice is walked twice; its faults are told once.
    if (!m_reported.insert(at.file + L"(" + std::to_wstring(line) + L")" + message).second)
        return;
    m_problems.push_back(SkinProblem{CUIString(at.file.c_str()), line, CUIString(message.c_str())});
}

// ---- Documents --------------------------------------------------------------

bool CLintWalk::Load(const wchar_t* source, CXmlDocument& document, SkinReadStatus& status)
{
    document.SetLineNumbering(true);
    status = SkinReadStatus::Ok;
    // As the builder: text that begins with '<' is XML itself.
    if (source[0] == L'<')
        return document.Load(source);
    BYTE* bytes = nullptr;
    unsigned size = 0;
    status = m_location.ReadSkinFile(source, CXmlDocument::kMaxSkinFileBytes, bytes, size);
    const bool loaded = status == SkinReadStatus::Ok && document.LoadFromBytes(bytes, size, EncodingUtf8);
    delete[] bytes;
    return loaded;
}

SkinLintResult CLintWalk::Run(const wchar_t* xmlFile)
{
    if (xmlFile == nullptr || xmlFile[0] == L'\0')
    {
        Report({std::wstring(), 0}, L"no skin file named");
        return SkinLintResult::CannotOpen;
    }
    const std::wstring file = xmlFile[0] == L'<' ? L"inline XML" : xmlFile;
    CXmlDocument document;
    SkinReadStatus status = SkinReadStatus::Ok;
    if (!Load(xmlFile, document, status))
    {
        if (status == SkinReadStatus::Ok)
        {
            Report({file, document.GetLastErrorLine()}, L"XML does not parse: " +
                                                            std::wstring(document.GetLastErrorMessage()) + L" at " +
                                                            FailureText(document));
            return SkinLintResult::Problems;
        }
        // An empty or oversized file is the skin's fault; anything else means
        // the skin itself cannot be read.
        Report({file, 0}, CXmlDocument::ReadFailureMessage(status));
        const bool readable = status == SkinReadStatus::Empty || status == SkinReadStatus::TooLarge;
        return readable ? SkinLintResult::Problems : SkinLintResult::CannotOpen;
    }
    BuildCounts counts;
    bool topLevelTaken = false;
    WalkDocument(document, file, Level{Holder::Nothing, &topLevelTaken}, counts, 1);
    for (const auto& use : m_fontUses)
    {
        if (use.first != -1 && m_fontIds.count(use.first) == 0)
        {
            const std::wstring useFile(use.second.file.GetData());
            Report({useFile, use.second.line},
                   L"font " + std::to_wstring(use.first) + L" is not declared: no <Font id=\"" +
                       std::to_wstring(use.first) + L"\"> in the skin");
        }
    }
    return m_problems.empty() ? SkinLintResult::Clean : SkinLintResult::Problems;
}

void CLintWalk::WalkDocument(const CXmlDocument& document, const std::wstring& file, Level level,
                             BuildCounts& counts, long long multiplier)
{
    const CXmlNode root = document.GetRoot();
    if (!root.IsValid())
    {
        Report({file, 0}, L"holds no element; nothing is built from it");
        return;
    }
    CheckRoot(root, file);
    CheckResources(root, file);
    WalkLevel(root, file, level, counts, multiplier, true);
}

void CLintWalk::CheckRoot(const CXmlNode& root, const std::wstring& file)
{
    if (_wcsicmp(root.GetName(), L"Window") == 0)
    {
        const CAttributeList& window = CUIManager::GetWindowAttributeTable();
        for (int i = 0; i < root.GetAttributeCount(); ++i)
            CheckAttribute(window, nullptr, Tag(root.GetName()), root.GetAttributeName(i), root.GetAttributeValue(i),
                           {file, root.GetAttributeLine(i)});
    }
    else if (FindControlTag(root.GetName()) != nullptr)
    {
        Report({file, root.GetLine()}, L"the root element " + Tag(root.GetName()) +
                                           L" makes no control, only its children do: put it inside a <Window> root");
    }
    else if (root.HasAttributes())
    {
        Report({file, root.GetLine()}, L"the attributes of the root element " + Tag(root.GetName()) +
                                           L" are ignored: only a root named Window passes them to the window");
    }
    for (CXmlNode extra = root.GetSibling(); extra.IsValid(); extra = extra.GetSibling())
        Report({file, extra.GetLine()},
               Tag(extra.GetName()) + L" after the root element is ignored: a skin file has one root element");
}

// ---- Resource elements ------------------------------------------------------

void CLintWalk::CheckResources(const CXmlNode& root, const std::wstring& file)
{
    for (CXmlNode node = root.GetChild(); node.IsValid() && !Stopped(); node = node.GetSibling())
    {
        const SkinElementInfo* info = FindSkinElement(node.GetName());
        if (info != nullptr && info->kind != SkinElementKind::Include)
            CheckDeclaration(*info, node, file);
    }
}

void CLintWalk::CheckDeclaration(const SkinElementInfo& info, const CXmlNode& node, const std::wstring& file)
{
    const Place at{file, node.GetLine()};
    for (int i = 0; i < node.GetAttributeCount(); ++i)
        CheckAttribute(info.attributes, nullptr, Tag(node.GetName()), node.GetAttributeName(i),
                       node.GetAttributeValue(i), {file, node.GetAttributeLine(i)});
    const SkinDeclaration d = ReadSkinDeclaration(info, node);
    switch (info.kind)
    {
    case SkinElementKind::Image:
        if (d.name == nullptr)
        {
            Report(at, L"<Image> without a name is ignored");
            break;
        }
        m_declaredImages.insert(d.name);
        CheckImage(d.name, d.resType, d.mask, at);
        break;
    case SkinElementKind::Font:
        if (d.id < 0 || d.name == nullptr)
            Report(at, L"<Font> needs an id of 0 or more and a name; it is ignored");
        else
            m_fontIds.insert(d.id);
        break;
    case SkinElementKind::Default:
    {
        if (d.name == nullptr)
        {
            Report(at, L"<Default> without a name is ignored");
            break;
        }
        m_defaultLists.insert(d.name);
        const ControlTag* row = FindControlTag(d.name);
        const ClassFacts* facts = row != nullptr ? FactsOf(*row) : nullptr;
        if (row == nullptr)
            Report(at, L"<Default name=" + Quoted(d.name) + L">: there is no such tag, so the list applies to nothing");
        else if (facts != nullptr)
            CheckAttributeList(d.value, *facts->table, Tag(d.name), at);
        break;
    }
    case SkinElementKind::MultiLanguage:
        if (d.id < 0 || d.value == nullptr)
            Report(at, L"<MultiLanguage> needs an id of 0 or more and a value; it is ignored");
        break;
    case SkinElementKind::Include:
        break;
    }
}

// ---- The element walk -------------------------------------------------------

void CLintWalk::WalkLevel(const CXmlNode& node, const std::wstring& file, Level level, BuildCounts& counts,
                          long long multiplier, bool rootLevel)
{
    if (counts.elementDepth >= CLayoutBuilder::kMaxElementDepth)
    {
        if (!counts.limitReported)
            Report({file, node.GetLine()}, L"elements nest deeper than " +
                                               std::to_wstring(CLayoutBuilder::kMaxElementDepth) +
                                               L" levels; the builder skips what lies deeper");
        counts.limitReported = true;
        return;
    }
    ++counts.elementDepth;
    for (CXmlNode element = node.GetChild(); element.IsValid() && !Stopped(); element = element.GetSibling())
    {
        const wchar_t* tag = element.GetName();
        const Place at{file, element.GetLine()};
        const SkinElementInfo* builderElement = FindSkinElement(tag);
        if (builderElement != nullptr && builderElement->kind == SkinElementKind::Include)
        {
            CheckInclude(*builderElement, element, file, level, counts, multiplier);
            continue;
        }
        if (builderElement != nullptr)
        {
            if (!rootLevel)
                Report(at, Tag(tag) + L" is ignored here: resource elements count only directly inside the root");
            continue;
        }
        const ControlTag* row = FindControlTag(tag);
        if (row == nullptr)
        {
            Report(at, Tag(tag) + L" is no tag of the toolkit; the element and its children are skipped" +
                           TagSuggestion(tag));
            continue;
        }
        if (row->make == nullptr)
        {
            Report(at, Tag(tag) + L": the toolkit has no class " + row->className +
                           L" yet; the element and its children are skipped");
            continue;
        }
        if (!CheckControl(*row, element, file, level, counts, multiplier))
            break;
    }
    --counts.elementDepth;
}

void CLintWalk::CheckInclude(const SkinElementInfo& info, const CXmlNode& element, const std::wstring& file,
                             Level level, BuildCounts& counts, long long multiplier)
{
    const Place at{file, element.GetLine()};
    for (int i = 0; i < element.GetAttributeCount(); ++i)
        CheckAttribute(info.attributes, nullptr, L"<Include>", element.GetAttributeName(i),
                       element.GetAttributeValue(i), {file, element.GetAttributeLine(i)});
    if (element.HasChildren())
        Report(at, L"the children of <Include> are ignored");
    const SkinDeclaration include = ReadSkinDeclaration(info, element);
    if (!include.hasSource)
    {
        Report(at, L"<Include> without a source is ignored");
        return;
    }
    if (include.count < 1)
    {
        Report(at, L"<Include count=\"" + std::to_wstring(include.count) + L"\"> builds nothing");
        return;
    }
    if (counts.includeDepth >= CLayoutBuilder::kMaxIncludeDepth)
    {
        Report(at, L"<Include> nests deeper than " + std::to_wstring(CLayoutBuilder::kMaxIncludeDepth) +
                       L" levels (does a file include itself?); the builder skips it");
        return;
    }
    if (counts.includeBuilds >= CLayoutBuilder::kMaxIncludeBuilds)
        return;  // reported where the bound was passed
    const long long builds = std::min(multiplier * include.count, kMultiplierCap);
    counts.includeBuilds += builds;
    if (counts.includeBuilds > CLayoutBuilder::kMaxIncludeBuilds)
        Report(at, L"the skin's includes build more than " + std::to_wstring(CLayoutBuilder::kMaxIncludeBuilds) +
                       L" times in all; the builder skips the builds beyond");

    CXmlDocument document;
    SkinReadStatus status = SkinReadStatus::Ok;
    const bool isInline = include.source[0] == L'<';
    if (!Load(include.source, document, status))
    {
        const std::wstring reason = status != SkinReadStatus::Ok
                                        ? std::wstring(CXmlDocument::ReadFailureMessage(status))
                                        : L"XML does not parse: " + std::wstring(document.GetLastErrorMessage()) +
                                              L" at line " + std::to_wstring(document.GetLastErrorLine()) +
                                              L", " + FailureText(document);
        Report(at, L"<Include source=" + Quoted(isInline ? L"<...>" : include.source) + L"> cannot be loaded: " +
                       reason);
        return;
    }
    int sourceLine = at.line;
    for (int i = 0; i < element.GetAttributeCount(); ++i)
    {
        if (std::wcscmp(element.GetAttributeName(i), L"source") == 0)
            sourceLine = element.GetAttributeLine(i);
    }
    const int outerShift = m_lineShift;
    m_lineShift = isInline ? outerShift + sourceLine - 1 : 0;
    ++counts.includeDepth;
    WalkDocument(document, isInline ? file : std::wstring(include.source), level, counts, builds);
    --counts.includeDepth;
    m_lineShift = outerShift;
}

void CLintWalk::CheckChildSkin(const wchar_t* source, const Place& at)
{
    if (source[0] == L'\0' || !m_childSkins.insert(source).second)
        return;
    if (m_childNesting >= CChildLayoutUI::kMaxNesting)
    {
        Report(at, L"child layouts nest deeper than " + std::to_wstring(CChildLayoutUI::kMaxNesting) +
                       L" levels; the deeper ones stay empty");
        return;
    }
    CXmlDocument document;
    SkinReadStatus status = SkinReadStatus::Ok;
    if (!Load(source, document, status))
    {
        const std::wstring reason = status != SkinReadStatus::Ok
                                        ? std::wstring(CXmlDocument::ReadFailureMessage(status))
                                        : L"XML does not parse: " + std::wstring(document.GetLastErrorMessage());
        Report(at, L"xmlfile " + Quoted(source) + L" cannot be loaded: " + reason + L"; the layout stays empty");
        return;
    }
    // A child layout builds with a builder of its own, so its bounds start
    // afresh, and its top level keeps one control.
    ++m_childNesting;
    const int outerShift = m_lineShift;
    m_lineShift = 0;
    BuildCounts counts;
    bool topLevelTaken = false;
    WalkDocument(document, source, Level{Holder::Nothing, &topLevelTaken}, counts, 1);
    m_lineShift = outerShift;
    --m_childNesting;
}

// ---- Controls ---------------------------------------------------------------

const ClassFacts* CLintWalk::FactsOf(const ControlTag& row)
{
    if (row.make == nullptr)
        return nullptr;
    auto known = m_classes.find(&row);
    if (known != m_classes.end())
        return &known->second;
    // The tables are static: they outlive the instance asked for them.
    IControlUI* instance = row.make();
    ClassFacts facts;
    auto* control = static_cast<CControlUI*>(instance->CastTo(L"Control"));
    facts.table = &control->GetAttributeTable();
    facts.isContainer = instance->CastTo(L"IContainer") != nullptr;
    instance->Delete();
    return &m_classes.emplace(&row, facts).first->second;
}

// False when the rest of the level is dropped.
bool CLintWalk::CheckControl(const ControlTag& row, const CXmlNode& element, const std::wstring& file, Level level,
                             BuildCounts& counts, long long multiplier)
{
    const wchar_t* tag = element.GetName();
    const Place at{file, element.GetLine()};
    if (counts.controls + multiplier > CLayoutBuilder::kMaxControls)
    {
        Report(at, L"the skin makes more than " + std::to_wstring(CLayoutBuilder::kMaxControls) +
                       L" controls; the builder skips the rest");
        m_stopped = true;
        return false;
    }
    counts.controls += multiplier;
    const ClassFacts& facts = *FactsOf(row);
    const CAttributeList& placement = GetChildPlacementAttributes();
    const std::wstring owner = Tag(tag) + L" (" + row.className + L")";

    bool cover = false;
    if (level.holder != Holder::Nothing)
        cover = ReadChildPlacement(element).cover;
    if (level.holder == Holder::Nothing)
    {
        if (*level.topLevelTaken)
            Report(at, owner + L" is dropped: only the first control of the top level is built");
        *level.topLevelTaken = true;
    }
    else if (level.holder == Holder::NotContainer && !cover)
    {
        Report(at, owner + L" is dropped with the elements after it: its parent holds no child elements");
        return false;
    }

    if (m_defaultLists.count(tag) == 0)
    {
        for (const std::wstring& list : m_defaultLists)
        {
            if (_wcsicmp(list.c_str(), tag) == 0)
            {
                Report(at, L"<Default name=" + Quoted(list.c_str()) + L"> does not reach " + Tag(tag) +
                               L": default lists match the tag exactly as written");
                break;
            }
        }
    }
    for (int i = 0; i < element.GetAttributeCount() && !Stopped(); ++i)
    {
        const wchar_t* name = element.GetAttributeName(i);
        const wchar_t* value = element.GetAttributeValue(i);
        const Place attributeAt{file, element.GetAttributeLine(i)};
        CheckAttribute(*facts.table, &placement, owner, name, value, attributeAt);
        if (std::wcscmp(name, L"name") != 0 || value[0] == L'\0')
            continue;
        auto first = m_names.find(value);
        if (first != m_names.end())
            Report(attributeAt, L"control name " + Quoted(value) + L" is used again; first at " + first->second);
        else if (multiplier > 1)
            Report(attributeAt, L"control name " + Quoted(value) + L" is built " + std::to_wstring(multiplier) +
                                    L" times by the including element's count");
        else
            m_names.emplace(value, file + L"(" + std::to_wstring(attributeAt.line + m_lineShift) + L")");
    }
    if (element.HasChildren())
    {
        bool noTopLevel = false;
        WalkLevel(element, file, Level{facts.isContainer ? Holder::Container : Holder::NotContainer, &noTopLevel},
                  counts, multiplier, false);
    }
    return true;
}

// ---- Values -----------------------------------------------------------------

void CLintWalk::CheckAttribute(const CAttributeList& list, const CAttributeList* extra, const std::wstring& owner,
                               const wchar_t* name, const wchar_t* value, const Place& at)
{
    int index = -1;
    const CAttributeList* holder = list.Find(name, index);
    if (holder != nullptr)
    {
        CheckValue(holder->Row(index), value, at);
        return;
    }
    if (extra != nullptr && extra->Knows(name))
        return;
    Report(at, owner + L" has no attribute " + Quoted(name) + Suggestion(name, {&list, extra}));
}

void CLintWalk::CheckValue(const AttributeInfo& info, const wchar_t* value, const Place& at)
{
    using namespace AttributeGrammar;
    if (std::wcscmp(info.grammar, kImage) == 0)
    {
        CheckImageDescription(info.name, value, at);
    }
    else if (std::wcscmp(info.grammar, kImageFile) == 0)
    {
        if (value[0] != L'\0')
            CheckImage(value, nullptr, 0, at);
    }
    else if (std::wcscmp(info.grammar, kFontIndex) == 0)
    {
        m_fontUses.emplace_back(ParseInt(value),
                                SkinProblem{CUIString(at.file.c_str()), at.line + m_lineShift, CUIString()});
    }
    else if (std::wcscmp(info.grammar, kSkinFile) == 0)
    {
        CheckChildSkin(value, at);
    }
    else if (std::wcscmp(info.grammar, kScrollBarStyle) == 0)
    {
        const ClassFacts* bar = FactsOf(*FindControlTag(L"ScrollBar"));
        CheckAttributeList(value, *bar->table, L"the scroll bar of " + std::wstring(info.name), at);
    }
}

void CLintWalk::CheckAttributeList(const wchar_t* list, const ControlAttributeTable& table, const std::wstring& owner,
                                   const Place& at)
{
    CAttributeListReader reader(list);
    CUIString name;
    CUIString value;
    while (reader.Next(name, value) && !Stopped())
        CheckAttribute(table, nullptr, owner, name.GetData(), value.GetData(), at);
    if (reader.IsMalformed())
        Report(at, L"the attribute list for " + owner + L" is malformed from " + Quoted(reader.Rest()) +
                       L" on; the rest is ignored");
}

// ---- Images -----------------------------------------------------------------

void CLintWalk::CheckImageDescription(const wchar_t* attribute, const wchar_t* value, const Place& at)
{
    if (value[0] == L'\0')
        return;
    const CAttributeList& keys = GetImageDescriptionKeys();
    CImageDescriptionReader reader(value);
    CUIString key;
    CUIString text;
    int items = 0;
    while (reader.Next(key, text))
    {
        ++items;
        if (!keys.Knows(key.GetData()))
            Report(at, L"the image description of " + std::wstring(attribute) + L" has no key " +
                           Quoted(key.GetData()) + Suggestion(key.GetData(), {&keys}));
    }
    // A description that is no key='value' list at all is a plain file name.
    if (reader.IsMalformed() && items > 0)
        Report(at, L"the image description of " + std::wstring(attribute) +
                       L" is malformed after its first items; the rest is ignored");
    ImageRequest request;
    ImageDrawSpec spec;
    ParseImageDescription(value, request, spec);
    if (m_declaredImages.count(request.name.GetData()) != 0)
        return;  // the declaration was checked, and the window reuses it
    CheckImage(request.name.GetData(), request.useResType ? request.resType.GetData() : nullptr, request.mask, at);
}

void CLintWalk::CheckImage(const wchar_t* name, const wchar_t* type, DWORD mask, const Place& at)
{
    const bool hasType = type != nullptr && type[0] != L'\0';
    if (name[0] == L'\0' || (hasType && std::wcscmp(type, kColorImageType) == 0))
        return;
    if (!m_checkedImages.insert(std::wstring(hasType ? type : L"") + L"|" + name).second)
        return;
    const std::wstring what = L"image " + Quoted(name) + (hasType ? L" (resource type " + Quoted(type) + L")" : L"");
    BYTE* bytes = nullptr;
    unsigned size = 0;
    if (!FetchImageBytes(m_location, ImageSourceName(name, type), hasType ? type : nullptr, bytes, size))
    {
        Report(at, what + L" cannot be found");
        return;
    }
    ImageEntry* entry = CRenderKit::DecodeImageEntry(bytes, size, mask);
    delete[] bytes;
    if (entry == nullptr)
        Report(at, what + L" cannot be decoded");
    ReleaseImageEntry(entry, true);
}

}  // namespace

// ---- The linter -------------------------------------------------------------

CSkinLinter::CSkinLinter(const SkinLocation& location) : m_location(location)
{
}

SkinLintResult CSkinLinter::Lint(const wchar_t* xmlFile)
{
    m_problems.clear();
    CLintWalk walk(m_location, m_problems);
    return walk.Run(xmlFile);
}

CUIString CSkinLinter::FormatProblem(const SkinProblem& problem)
{
    CUIString text = problem.file;
    if (problem.line > 0)
    {
        text += L"(";
        text += std::to_wstring(problem.line).c_str();
        text += L")";
    }
    text += L": ";
    text += problem.message;
    return text;
}

}  // namespace DuiLib
