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
#include "ui/markup/SkinElements.h"

namespace DuiLib {

// ---- Attribute helpers ------------------------------------------------------

namespace {

bool SameAnyCase(const wchar_t* a, const wchar_t* b)
{
    return a != nullptr && b != nullptr && _wcsicmp(a, b) == 0;
}

ResourceScope ScopeOf(const SkinDeclaration& declaration)
{
    return declaration.shared ? ResourceScope::Shared : ResourceScope::Own;
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
        const SkinElementInfo* element = FindSkinElement(node.GetName());
        if (element == nullptr || element->kind == SkinElementKind::Include)
            continue;
        const SkinDeclaration d = ReadSkinDeclaration(*element, node);
        switch (element->kind)
        {
        case SkinElementKind::Image:
            if (d.name != nullptr)
                manager->AddImage(d.name, d.resType, d.mask, false, ScopeOf(d));
            break;
        case SkinElementKind::Font:
            if (d.id < 0 || d.name == nullptr)
                break;
            manager->AddFont(d.id, d.name, d.size, d.fontStyles, ScopeOf(d));
            if (d.isDefault)
                manager->SetDefaultFont(d.name, d.size, d.fontStyles, ScopeOf(d));
            break;
        case SkinElementKind::Default:
            if (d.name != nullptr)
                manager->AddDefaultAttributes(d.name, d.value, ScopeOf(d));
            break;
        case SkinElementKind::MultiLanguage:
            if (d.id >= 0 && d.value != nullptr)
                CUIManager::AddLanguageText(d.id, d.value);
            break;
        case SkinElementKind::Include:
            break;
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
        const SkinElementInfo* builderElement = FindSkinElement(tag);
        if (builderElement != nullptr && builderElement->kind != SkinElementKind::Include)
            continue;
        if (builderElement != nullptr)
        {
            IControlUI* included = Include(ReadSkinDeclaration(*builderElement, element), parent, manager);
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

        // The subtree is built and configured before it joins its parent,
        // so that a parent already in the manager's tree attaches it once,
        // with the names and values its skin gave.
        if (element.HasChildren())
            Parse(element, control, manager);
        Configure(control, element, manager, parent);

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
            if (ReadChildPlacement(element).cover)
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

        if (result == nullptr)
            result = control;
    }
    return result;
}

// ---- Includes ---------------------------------------------------------------

IControlUI* CLayoutBuilder::Include(const SkinDeclaration& include, IControlUI* parent, CUIManager* manager)
{
    const int count = include.count;
    const wchar_t* source = include.source;
    if (!include.hasSource)
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

void CLayoutBuilder::Configure(IControlUI* control, const CXmlNode& element, CUIManager* manager,
                               IControlUI* parent) const
{
    // While its attributes are applied the control reaches the manager's
    // fonts, images and colours, on loan: it registers nothing and sends no
    // notification, so its tree is attached once. Afterwards it is bound as
    // before: its parent link stays, and a control added to an attached
    // tree keeps the manager the tree registered it with. A control that has
    // not joined its parent yet is configured as that parent's child, as
    // its size and visibility attributes ask the parent, not the window, to
    // lay out again.
    CUIManager* boundManager = control->GetManager();
    IControlUI* boundParent = control->GetParent();
    if (manager != nullptr)
    {
        manager->LendResources(control);
        control->BindManager(manager, boundParent != nullptr ? boundParent : parent, false);
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
    manager->LendResources(nullptr);
}

}  // namespace DuiLib
