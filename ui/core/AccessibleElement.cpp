// CAccessibleElement: the COM surface of one accessible element. Every call
// checks that the element still exists and asks the tree; nothing here holds
// a control across calls.
//
// [SECTIONS] lifetime · IDispatch · child addressing · properties · focus,
// hit testing and navigation · actions
#include "ui/core/AccessibleElement.h"

#include <cwctype>
#include <vector>

namespace DuiLib {

namespace {

bool IsSelf(const VARIANT& child)
{
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

void PutLong(long value, VARIANT* out)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

}  // namespace

// ---- Lifetime ---------------------------------------------------------------

CAccessibleElement* CAccessibleElement::Create(CAccessibleTree* tree, AccessId id)
{
    return new CAccessibleElement(tree, id);
}

CAccessibleElement::CAccessibleElement(CAccessibleTree* tree, AccessId id) : m_tree(tree), m_id(id)
{
    m_tree->AddRef();
}

CAccessibleElement::~CAccessibleElement()
{
    m_tree->Release();
}

HRESULT CAccessibleElement::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible)
    {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CAccessibleElement::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG CAccessibleElement::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

// ---- IDispatch --------------------------------------------------------------

HRESULT CAccessibleElement::GetTypeInfoCount(UINT* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CAccessibleElement::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != nullptr)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CAccessibleElement::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleElement::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// ---- Child addressing -------------------------------------------------------

HRESULT CAccessibleElement::Resolve(const VARIANT& child, AccessId& target)
{
    if (!m_tree->Exists(m_id))
        return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4)
        return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF)
    {
        target = m_id;
        return S_OK;
    }
    if (child.lVal < 0)
    {
        // An event's id names the element wherever it lies.
        target = static_cast<AccessId>(-child.lVal);
        return m_tree->Exists(target) ? S_OK : E_INVALIDARG;
    }
    const std::vector<AccessId> children = m_tree->Children(m_id);
    if (static_cast<size_t>(child.lVal) > children.size())
        return E_INVALIDARG;
    target = children[static_cast<size_t>(child.lVal) - 1];
    return S_OK;
}

HRESULT CAccessibleElement::DescribeChild(const VARIANT& child, AccessDescription& description)
{
    AccessId target = kClientElement;
    const HRESULT resolved = Resolve(child, target);
    if (FAILED(resolved))
        return resolved;
    return m_tree->Describe(target, description) ? S_OK : E_INVALIDARG;
}

void CAccessibleElement::PutElement(AccessId element, VARIANT* out)
{
    if (element == m_id)
    {
        PutLong(CHILDID_SELF, out);
        return;
    }
    VariantInit(out);
    out->vt = VT_DISPATCH;
    out->pdispVal = Create(m_tree, element);
}

HRESULT CAccessibleElement::PutText(const CUIString& text, BSTR* out)
{
    *out = nullptr;
    if (text.IsEmpty())
        return S_FALSE;
    *out = SysAllocString(text.GetData());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleElement::get_accParent(IDispatch** parent)
{
    if (parent == nullptr)
        return E_POINTER;
    *parent = nullptr;
    if (!m_tree->Exists(m_id))
        return CO_E_OBJNOTCONNECTED;
    if (m_id == kClientElement)
    {
        // The client area's parent is the window itself, as the platform
        // describes every window.
        return CreateStdAccessibleObject(m_tree->Window(), OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent));
    }
    *parent = Create(m_tree, m_tree->Parent(m_id));
    return S_OK;
}

HRESULT CAccessibleElement::get_accChildCount(long* count)
{
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    if (!m_tree->Exists(m_id))
        return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(m_tree->Children(m_id).size());
    return S_OK;
}

HRESULT CAccessibleElement::get_accChild(VARIANT child, IDispatch** element)
{
    if (element == nullptr)
        return E_POINTER;
    *element = nullptr;
    AccessId target = kClientElement;
    const HRESULT resolved = Resolve(child, target);
    if (FAILED(resolved))
        return resolved;
    if (IsSelf(child))
        return E_INVALIDARG;
    *element = Create(m_tree, target);
    return S_OK;
}

// ---- Properties -------------------------------------------------------------

HRESULT CAccessibleElement::ReadText(const VARIANT& child, CUIString AccessDescription::*field, BSTR* out)
{
    if (out == nullptr)
        return E_POINTER;
    *out = nullptr;
    AccessDescription description;
    const HRESULT found = DescribeChild(child, description);
    return FAILED(found) ? found : PutText(description.*field, out);
}

HRESULT CAccessibleElement::ReadNumber(const VARIANT& child, long (*pick)(const AccessDescription&), VARIANT* out)
{
    if (out == nullptr)
        return E_POINTER;
    VariantInit(out);
    AccessDescription description;
    const HRESULT found = DescribeChild(child, description);
    if (FAILED(found))
        return found;
    PutLong(pick(description), out);
    return S_OK;
}

HRESULT CAccessibleElement::get_accName(VARIANT child, BSTR* name)
{
    return ReadText(child, &AccessDescription::name, name);
}

HRESULT CAccessibleElement::get_accValue(VARIANT child, BSTR* value)
{
    if (value == nullptr)
        return E_POINTER;
    *value = nullptr;
    AccessDescription description;
    const HRESULT found = DescribeChild(child, description);
    if (FAILED(found))
        return found;
    if (description.valueProtected)
        return E_ACCESSDENIED;
    if (!description.hasValue)
        return DISP_E_MEMBERNOTFOUND;
    *value = SysAllocString(description.value.GetData());
    return *value != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CAccessibleElement::get_accDescription(VARIANT child, BSTR* description)
{
    if (description == nullptr)
        return E_POINTER;
    *description = nullptr;
    AccessDescription found;
    const HRESULT resolved = DescribeChild(child, found);
    return FAILED(resolved) ? resolved : S_FALSE;
}

HRESULT CAccessibleElement::get_accRole(VARIANT child, VARIANT* role)
{
    // Elements without a role of their own are never handed out; one named
    // by a stale event id is at least a group.
    return ReadNumber(
        child, [](const AccessDescription& d) { return d.role != 0 ? d.role : static_cast<long>(ROLE_SYSTEM_GROUPING); },
        role);
}

HRESULT CAccessibleElement::get_accState(VARIANT child, VARIANT* state)
{
    return ReadNumber(child, [](const AccessDescription& d) { return static_cast<long>(d.state); }, state);
}

HRESULT CAccessibleElement::get_accHelp(VARIANT child, BSTR* help)
{
    return get_accDescription(child, help);
}

HRESULT CAccessibleElement::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (file != nullptr)
        *file = nullptr;
    if (topic != nullptr)
        *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CAccessibleElement::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    if (shortcut == nullptr)
        return E_POINTER;
    *shortcut = nullptr;
    AccessId target = kClientElement;
    const HRESULT resolved = Resolve(child, target);
    if (FAILED(resolved))
        return resolved;
    // Only a control as a whole has a shortcut: the Alt key with its letter.
    const wchar_t key = m_tree->ShortcutOf(target);
    if (key == 0)
        return S_FALSE;
    wchar_t text[] = {L'A', L'l', L't', L'+', static_cast<wchar_t>(std::towupper(key)), 0};
    return PutText(text, shortcut);
}

HRESULT CAccessibleElement::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return ReadText(child, &AccessDescription::action, action);
}

HRESULT CAccessibleElement::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessDescription description;
    const HRESULT found = DescribeChild(child, description);
    if (FAILED(found))
        return found;
    POINT origin = {description.rect.left, description.rect.top};
    ClientToScreen(m_tree->Window(), &origin);
    *left = origin.x;
    *top = origin.y;
    *width = description.rect.GetWidth();
    *height = description.rect.GetHeight();
    return S_OK;
}

// ---- Focus, hit testing and navigation ----------------------------------------

HRESULT CAccessibleElement::get_accFocus(VARIANT* focus)
{
    if (focus == nullptr)
        return E_POINTER;
    VariantInit(focus);
    if (!m_tree->Exists(m_id))
        return CO_E_OBJNOTCONNECTED;
    const AccessId focused = m_tree->Focus();
    if (focused < 0 || !m_tree->IsWithin(focused, m_id))
        return S_FALSE;
    PutElement(focused, focus);
    return S_OK;
}

HRESULT CAccessibleElement::get_accSelection(VARIANT* selection)
{
    if (selection == nullptr)
        return E_POINTER;
    VariantInit(selection);
    return m_tree->Exists(m_id) ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

HRESULT CAccessibleElement::accHitTest(long left, long top, VARIANT* child)
{
    if (child == nullptr)
        return E_POINTER;
    VariantInit(child);
    AccessDescription self;
    if (!m_tree->Describe(m_id, self))
        return CO_E_OBJNOTCONNECTED;
    POINT point = {left, top};
    ScreenToClient(m_tree->Window(), &point);
    RECT client = {};
    GetClientRect(m_tree->Window(), &client);
    if (!PtInRect(&client, point))
        return S_FALSE;
    const AccessId found = m_tree->HitTest(point);
    if (m_tree->IsWithin(found, m_id))
    {
        PutElement(found, child);
        return S_OK;
    }
    // Another element lies over this one there; the point is still its own.
    if (!PtInRect(&self.rect, point))
        return S_FALSE;
    PutLong(CHILDID_SELF, child);
    return S_OK;
}

HRESULT CAccessibleElement::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (end == nullptr)
        return E_POINTER;
    VariantInit(end);
    AccessId from = kClientElement;
    const HRESULT resolved = Resolve(start, from);
    if (FAILED(resolved))
        return resolved;
    std::vector<AccessId> row;
    long step = 0;
    switch (direction)
    {
    case NAVDIR_FIRSTCHILD:
    case NAVDIR_LASTCHILD:
        row = m_tree->Children(from);
        if (row.empty())
            return S_FALSE;
        PutElement(direction == NAVDIR_FIRSTCHILD ? row.front() : row.back(), end);
        return S_OK;
    case NAVDIR_NEXT:
        step = 1;
        break;
    case NAVDIR_PREVIOUS:
        step = -1;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (from == kClientElement)
        return S_FALSE;
    row = m_tree->Children(m_tree->Parent(from));
    for (size_t i = 0; i < row.size(); ++i)
    {
        if (row[i] != from)
            continue;
        const long next = static_cast<long>(i) + step;
        if (next < 0 || next >= static_cast<long>(row.size()))
            return S_FALSE;
        PutElement(row[static_cast<size_t>(next)], end);
        return S_OK;
    }
    return S_FALSE;
}

// ---- Actions ----------------------------------------------------------------

HRESULT CAccessibleElement::accSelect(long flags, VARIANT child)
{
    AccessId target = kClientElement;
    const HRESULT resolved = Resolve(child, target);
    if (FAILED(resolved))
        return resolved;
    if (flags != SELFLAG_TAKEFOCUS)
        return DISP_E_MEMBERNOTFOUND;
    return m_tree->PostRequest(target, AccessRequest::TakeFocus) ? S_OK : E_FAIL;
}

HRESULT CAccessibleElement::accDoDefaultAction(VARIANT child)
{
    AccessId target = kClientElement;
    const HRESULT resolved = Resolve(child, target);
    if (FAILED(resolved))
        return resolved;
    AccessDescription description;
    if (!m_tree->Describe(target, description))
        return E_INVALIDARG;
    if (description.action.IsEmpty())
        return DISP_E_MEMBERNOTFOUND;
    return m_tree->PostRequest(target, AccessRequest::DefaultAction) ? S_OK : E_FAIL;
}

HRESULT CAccessibleElement::put_accName(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

HRESULT CAccessibleElement::put_accValue(VARIANT, BSTR)
{
    return E_NOTIMPL;
}

}  // namespace DuiLib
