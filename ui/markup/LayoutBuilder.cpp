// CLayoutBuilder: loading, the resource elements, the "Window" attributes and
// the recursive walk that creates, attaches and configures controls, with the
// "Include" element building other documents in place.
//
// [SECTIONS] attribute helpers · child layouts · loading · resource elements ·
// the walk · includes · controls
#include "ui/markup/LayoutBuilder.h"

#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/ChildLayoutUI.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/ControlInterface.h"
#include "ui/core/UIManager.h"
#include "ui/markup/ControlTags.h"

namespace DuiLib {

// ---- Attribute helpers ------------------------------------------------------

namespace {

// Longest "count" and "source" value of an "Include" element, and longest
// "cover" value, that the walk reads; longer values are cut there.
constexpr int kMaxIncludeValue = 499;
constexpr int kMaxCoverValue = 255;

bool SameAnyCase(const wchar_t* a, const wchar_t* b)
{
    return a != nullptr && b != nullptr && _wcsicmp(a, b) == 0;
}

// The value of the first attribute named name without regard to case; null
// when there is none. Resource elements read their attributes this way.
const wchar_t* FindAttributeAnyCase(const CXmlNode& node, const wchar_t* name)
{
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i)
    {
        if (SameAnyCase(node.GetAttributeName(i), name))
            return node.GetAttributeValue(i);
    }
    return nullptr;
}

// A flag of a resource element: true when the value is "true" in any case.
bool ReadFlag(const CXmlNode& node, const wchar_t* name)
{
    return SameAnyCase(FindAttributeAnyCase(node, name), L"true");
}

int ReadNumber(const CXmlNode& node, const wchar_t* name, int fallback)
{
    const wchar_t* value = FindAttributeAnyCase(node, name);
    return value != nullptr ? ParseInt(value) : fallback;
}

struct FontStyleFlag
{
    const wchar_t* attribute;
    UIFontStyle style;
};

const FontStyleFlag kFontStyleFlags[] = {
    {L"bold", UIFONT_BOLD},
    {L"underline", UIFONT_UNDERLINE},
    {L"italic", UIFONT_ITALIC},
    {L"strikeout", UIFONT_STRIKEOUT},
};

ResourceScope ReadScope(const CXmlNode& node)
{
    return ReadFlag(node, L"shared") ? ResourceScope::Shared : ResourceScope::Own;
}

bool IsResourceElement(const wchar_t* name)
{
    return SameAnyCase(name, L"Image") || SameAnyCase(name, L"Font") || SameAnyCase(name, L"Default") ||
           SameAnyCase(name, L"MultiLanguage");
}

// Counts one level of nesting for as long as it lives.
class CDepthScope
{
public:
    explicit CDepthScope(int& depth) : m_depth(depth) { ++m_depth; }
    CDepthScope(const CDepthScope&) = delete;
    CDepthScope& operator=(const CDepthScope&) = delete;
    ~CDepthScope() { --m_depth; }

private:
    int& m_depth;
};

}  // namespace

// ---- Child layouts ----------------------------------------------------------

namespace {

// What a child layout builds its skin file with: a builder of its own, so
// that the file's resource elements reach the manager as any skin's do.
IControlUI* BuildChildSkin(const wchar_t* file, CUIManager* manager)
{
    CLayoutBuilder builder;
    return builder.Create(file, nullptr, nullptr, manager, nullptr);
}

// Installed before main in every program that contains the builder: the
// control layer cannot reach up to it, and no skin is built without it.
[[maybe_unused]] const bool kChildSkinBuilderInstalled = (CChildLayoutUI::SetSkinBuilder(&BuildChildSkin), true);

}  // namespace

// ---- Loading ----------------------------------------------------------------

CLayoutBuilder::CLayoutBuilder() : m_state(&m_ownState)
{
}

CLayoutBuilder::CLayoutBuilder(BuildState* shared) : m_state(shared)
{
}

IControlUI* CLayoutBuilder::Create(const wchar_t* xml, const wchar_t* resourceType,
                                   ILayoutBuilderCallback* callback, CUIManager* manager, IControlUI* parent)
{
    m_resourceType = nullptr;
    m_resourceTypeText.Empty();
    if (xml == nullptr)
    {
        m_document.Release();
        return nullptr;
    }
    if (IS_INTRESOURCE(xml))
    {
        if (!m_document.LoadFromResource(xml, resourceType))
            return nullptr;
        // A text type is copied: includes may need it after the caller's
        // string is gone.
        if (resourceType != nullptr && !IS_INTRESOURCE(resourceType))
        {
            m_resourceTypeText = resourceType;
            m_resourceType = m_resourceTypeText.GetData();
        }
        else
        {
            m_resourceType = resourceType;
        }
    }
    else if (xml[0] == L'<')
    {
        if (!m_document.Load(xml))
            return nullptr;
    }
    else if (!m_document.LoadFromSkinFile(xml, EncodingUtf8))
    {
        return nullptr;
    }
    return Create(callback, manager, parent);
}

IControlUI* CLayoutBuilder::Create(ILayoutBuilderCallback* callback, CUIManager* manager, IControlUI* parent)
{
    // A build of its own starts its counts afresh; an include's build goes
    // on with those of the build that contains it.
    if (m_state == &m_ownState)
        m_ownState = BuildState();
    m_callback = callback;
    const CXmlNode root = m_document.GetRoot();
    if (!root.IsValid())
        return nullptr;
    if (manager != nullptr)
    {
        RegisterResources(root, manager);
        if (SameAnyCase(root.GetName(), L"Window") && manager->GetPaintWindow() != nullptr)
        {
            const int count = root.GetAttributeCount();
            for (int i = 0; i < count; ++i)
                manager->SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
        }
    }
    return Parse(root, parent, manager);
}

// ---- Resource elements ------------------------------------------------------

void CLayoutBuilder::RegisterResources(const CXmlNode& root, CUIManager* manager)
{
    for (CXmlNode node = root.GetChild(); node.IsValid(); node = node.GetSibling())
    {
        const wchar_t* element = node.GetName();
        if (SameAnyCase(element, L"Image"))
        {
            const wchar_t* name = FindAttributeAnyCase(node, L"name");
            const wchar_t* mask = FindAttributeAnyCase(node, L"mask");
            if (name != nullptr)
                manager->AddImage(name, FindAttributeAnyCase(node, L"restype"),
                                  mask != nullptr ? ReadHexColor(mask) : 0, false, ReadScope(node));
        }
        else if (SameAnyCase(element, L"Font"))
        {
            const int id = ReadNumber(node, L"id", -1);
            const wchar_t* face = FindAttributeAnyCase(node, L"name");
            if (id < 0 || face == nullptr)
                continue;
            UINT styles = UIFONT_PLAIN;
            for (const FontStyleFlag& flag : kFontStyleFlags)
            {
                if (ReadFlag(node, flag.attribute))
                    styles |= flag.style;
            }
            const wchar_t* sizeText = FindAttributeAnyCase(node, L"size");
            // Held within +-2^24: the font code negates the size.
            const int size = sizeText != nullptr ? ParseCoordinate(sizeText) : 12;
            const ResourceScope scope = ReadScope(node);
            manager->AddFont(id, face, size, styles, scope);
            if (ReadFlag(node, L"default"))
                manager->SetDefaultFont(face, size, styles, scope);
        }
        else if (SameAnyCase(element, L"Default"))
        {
            const wchar_t* name = FindAttributeAnyCase(node, L"name");
            if (name != nullptr)
                manager->AddDefaultAttributes(name, FindAttributeAnyCase(node, L"value"), ReadScope(node));
        }
        else if (SameAnyCase(element, L"MultiLanguage"))
        {
            const int id = ReadNumber(node, L"id", -1);
            const wchar_t* text = FindAttributeAnyCase(node, L"value");
            if (id >= 0 && text != nullptr)
                CUIManager::AddLanguageText(id, text);
        }
    }
}

// ---- The walk ---------------------------------------------------------------

IControlUI* CLayoutBuilder::Parse(const CXmlNode& node, IControlUI* parent, CUIManager* manager)
{
    // The walk recurses once per level; a bound keeps a deeply nested
    // document from exhausting the stack here and in the tree's own walks.
    if (m_state->elementDepth >= kMaxElementDepth)
    {
        m_state->limitReached = true;
        return nullptr;
    }
    CDepthScope level(m_state->elementDepth);
    return ParseLevel(node, parent, manager);
}

IControlUI* CLayoutBuilder::ParseLevel(const CXmlNode& node, IControlUI* parent, CUIManager* manager)
{
    IControlUI* result = nullptr;
    IContainerUI* container = nullptr;
    for (CXmlNode element = node.GetChild(); element.IsValid(); element = element.GetSibling())
    {
        const wchar_t* tag = element.GetName();
        if (IsResourceElement(tag))
            continue;
        if (SameAnyCase(tag, L"Include"))
        {
            IControlUI* included = Include(element, parent, manager);
            if (result == nullptr)
                result = included;
            else if (parent == nullptr && included != nullptr)
                included->Delete();  // as any later top-level control: nothing would own it
            continue;
        }
        // FIXME: tree nodes are skipped with their children until the tree
        // view and tree node classes exist; they then join their parent node's
        // item row or the tree view, configured as any control is.
        if (SameAnyCase(tag, L"TreeNode"))
            continue;

        if (m_state->controls >= kMaxControls)
        {
            m_state->limitReached = true;
            continue;
        }
        IControlUI* control = MakeControl(tag);
        if (control == nullptr)
            continue;
        ++m_state->controls;

        // Children are built and attached before the control itself is.
        if (element.HasChildren())
            Parse(element, control, manager);

        if (parent == nullptr)
        {
            // Only the first top-level control is returned; nothing would
            // own the others.
            if (result != nullptr)
            {
                control->Delete();
                continue;
            }
        }
        else
        {
            wchar_t cover[kMaxCoverValue + 1] = {};
            if (element.GetAttributeValue(L"cover", cover, kMaxCoverValue) && wcscmp(cover, L"true") == 0)
            {
                // The cover in place is deleted by its successor; a result
                // that was that cover must not be handed out afterwards.
                if (result != nullptr && parent->OverlayControl() == result)
                    result = nullptr;
                parent->SetOverlayControl(control);
            }
            else
            {
                if (container == nullptr)
                    container = static_cast<IContainerUI*>(parent->CastTo(L"IContainer"));
                if (container == nullptr)
                {
                    control->Delete();
                    return nullptr;
                }
                if (!container->Add(control))
                {
                    control->Delete();
                    continue;
                }
            }
        }

        Configure(control, element, manager);
        if (result == nullptr)
            result = control;
    }
    return result;
}

// ---- Includes ---------------------------------------------------------------

IControlUI* CLayoutBuilder::Include(const CXmlNode& element, IControlUI* parent, CUIManager* manager)
{
    if (!element.HasAttributes())
        return nullptr;
    wchar_t countText[kMaxIncludeValue + 1] = {};
    wchar_t source[kMaxIncludeValue + 1] = {};
    const int count = element.GetAttributeValue(L"count", countText, kMaxIncludeValue) ? ParseInt(countText) : 1;
    if (!element.GetAttributeValue(L"source", source, kMaxIncludeValue))
        return nullptr;
    if (m_state->includeDepth >= kMaxIncludeDepth)
    {
        m_state->limitReached = true;
        return nullptr;
    }
    CDepthScope nesting(m_state->includeDepth);

    // One builder for all repetitions: the document is read once.
    CLayoutBuilder nested(m_state);
    IControlUI* first = nullptr;
    for (int i = 0; i < count; ++i)
    {
        if (m_state->includeBuilds >= kMaxIncludeBuilds || m_state->controls >= kMaxControls)
        {
            m_state->limitReached = true;
            break;
        }
        ++m_state->includeBuilds;
        IControlUI* built = nullptr;
        if (nested.Document().IsValid())
        {
            built = nested.Create(m_callback, manager, parent);
        }
        else if (m_resourceType != nullptr)
        {
            // Resource ids are 16-bit; anything else names no resource.
            const int id = ParseInt(source);
            if (id < 1 || id > 0xFFFF)
                break;
            built = nested.Create(MAKEINTRESOURCEW(id), m_resourceType, m_callback, manager, parent);
        }
        else
        {
            built = nested.Create(source, nullptr, m_callback, manager, parent);
        }
        if (!nested.Document().IsValid())
            break;
        if (first == nullptr)
            first = built;
        else if (parent == nullptr && built != nullptr)
            built->Delete();
    }
    return first;
}

// ---- Controls ---------------------------------------------------------------

IControlUI* CLayoutBuilder::MakeControl(const wchar_t* tag) const
{
    IControlUI* control = CreateControlForTag(tag);
    if (control == nullptr && m_callback != nullptr)
        control = m_callback->MakeCustomControl(tag);
    const CPtrList& factories = CUIManager::GetControlFactories();
    for (int i = 0; control == nullptr && i < factories.GetSize(); ++i)
        control = reinterpret_cast<ControlFactoryProc>(factories[i])(tag);
    return control;
}

void CLayoutBuilder::Configure(IControlUI* control, const CXmlNode& element, CUIManager* manager) const
{
    // While its attributes are applied the control reaches the manager's
    // fonts, images and colours. Afterwards it is bound as before: its
    // parent link stays, and a control added to an attached tree keeps the
    // manager the tree registered it with.
    CUIManager* boundManager = control->GetManager();
    IControlUI* boundParent = control->GetParent();
    if (manager != nullptr)
    {
        control->BindManager(manager, boundParent, false);
        const wchar_t* defaults = manager->GetDefaultAttributes(element.GetName());
        if (defaults != nullptr)
            control->ApplyAttributeText(defaults);
    }
    const int count = element.GetAttributeCount();
    for (int i = 0; i < count; ++i)
        control->ApplyAttribute(element.GetAttributeName(i), element.GetAttributeValue(i));
    if (manager == nullptr)
        return;
    control->BindManager(boundManager, boundParent, false);
    // While bound, the control registered its name (and an option its
    // group) with the manager. A control outside the manager's tree may be
    // deleted before the tree is attached, and the manager would keep a
    // pointer to it; attaching the tree registers it again, and gives the
    // notifications it posted meanwhile their sender back.
    if (boundManager != manager)
        manager->SetControlAside(control);
}

}  // namespace DuiLib
