// CContainerUI: the child list and its ownership, placement, input, hit
// testing and clipped painting of children. Scrolling and the scroll bars'
// upkeep live in ContainerUIScroll.cpp. A child is out of the list before
// it is destroyed.
//
// [SECTIONS] child list · control operations · hit testing and painting
#include "ui/control/ContainerUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/control/LayoutMath.h"
#include "ui/control/LinearLayoutMath.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/core/UIManager.h"
#include "ui/render/ClipScope.h"

namespace DuiLib {

namespace {

bool Is(const wchar_t* name, const wchar_t* expected)
{
    return std::wcscmp(name, expected) == 0;
}

ScrollBarChoice Shown(bool shown)
{
    return shown ? ScrollBarChoice::Shown : ScrollBarChoice::Hidden;
}

bool IsShown(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible();
}

bool IsActive(const CScrollBarUI* bar)
{
    return bar != nullptr && bar->IsVisible() && bar->IsEnabled();
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI()
{
    if (m_manager != nullptr)
        m_manager->RemoveOverlayPainter(this);
    // Deleted at once and without a layout request: the manager may itself
    // be tearing the tree down.
    CPtrList children(m_items);
    m_items.Empty();
    if (m_autoDestroy)
    {
        for (int i = 0; i < children.GetSize(); ++i)
            static_cast<IControlUI*>(children.GetAt(i))->Delete();
    }
    if (m_verticalBar != nullptr)
        m_verticalBar->Delete();
    if (m_horizontalBar != nullptr)
        m_horizontalBar->Delete();
    m_verticalBar = nullptr;
    m_horizontalBar = nullptr;
}

// ==== Child list ============================================================

IControlUI* CContainerUI::ChildAt(int index) const
{
    if (index < 0 || index >= m_items.GetSize())
        return nullptr;
    return static_cast<IControlUI*>(m_items.GetAt(index));
}

int CContainerUI::IndexOfChild(IControlUI* control) const
{
    return control != nullptr ? m_items.Find(control) : -1;
}

bool CContainerUI::MoveChildTo(IControlUI* control, int index)
{
    const int from = IndexOfChild(control);
    if (from < 0)
        return false;
    RequestLayout();
    m_items.Remove(from);
    const int to = std::min(std::max(index, 0), m_items.GetSize());
    return m_items.InsertAt(to, control);
}

bool CContainerUI::MoveChildrenTo(IControlUI* control, int count, int index)
{
    if (control == nullptr || count < 0 || index < 0)
        return false;
    const int from = IndexOfChild(control);
    if (from < 0)
        return false;
    if (from == index)
        return true;
    const int size = m_items.GetSize();
    if (static_cast<long long>(from) + count > size || static_cast<long long>(index) + count > size)
        return false;
    CPtrList block(count);
    for (int i = 0; i < count; ++i)
        block.Add(m_items.GetAt(from + i));
    m_items.Remove(from, count);
    for (int i = 0; i < count; ++i)
        m_items.InsertAt(index + i, block.GetAt(i));
    RequestLayout();
    return true;
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(IControlUI* control)
{
    return InsertChildAt(control, m_items.GetSize());
}

bool CContainerUI::InsertChildAt(IControlUI* control, int index)
{
    if (control == nullptr || index < 0 || index > m_items.GetSize())
        return false;
    if (m_manager != nullptr)
        m_manager->RegisterControlTree(control, this);
    else
        control->BindManager(nullptr, this, false);
    if (IsVisible())
        RequestLayout();
    else
        control->SetInheritedVisible(false);
    return m_items.InsertAt(index, control);
}

void CContainerUI::DisposeChild(IControlUI* control)
{
    if (!m_autoDestroy)
        return;
    if (m_delayedDestroy && m_manager != nullptr)
        m_manager->QueueForDeletion(control);
    else
        control->Delete();
}

bool CContainerUI::Remove(IControlUI* control, ChildDisposal disposal)
{
    const int index = IndexOfChild(control);
    if (index < 0)
        return false;
    RequestLayout();
    // Out of the list first: a child that the deletion reaches back into the
    // container for must not find itself there any more.
    m_items.Remove(index);
    if (disposal == ChildDisposal::Destroy)
        DisposeChild(control);
    return true;
}

bool CContainerUI::RemoveChildAt(int index, ChildDisposal disposal)
{
    IControlUI* control = ChildAt(index);
    return control != nullptr && Remove(control, disposal);
}

void CContainerUI::RemoveAll()
{
    // Taken as a block before any child is destroyed, for the same reason.
    CPtrList children(m_items);
    m_items.Empty();
    for (int i = 0; i < children.GetSize(); ++i)
        DisposeChild(static_cast<IControlUI*>(children.GetAt(i)));
    RequestLayout();
}

// ==== Control operations ====================================================

const wchar_t* CContainerUI::GetClass() const
{
    return L"Container";
}

void* CContainerUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && Is(name, L"IContainer"))
        return static_cast<IContainerUI*>(this);
    if (name != nullptr && Is(name, L"Container"))
        return this;
    return CControlUI::CastTo(name);
}

void CContainerUI::BindManager(CUIManager* manager, IControlUI* parent, bool init)
{
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<IControlUI*>(m_items.GetAt(i))->BindManager(manager, this, init);
    if (m_verticalBar != nullptr)
        m_verticalBar->BindManager(manager, this, init);
    if (m_horizontalBar != nullptr)
        m_horizontalBar->BindManager(manager, this, init);
    CControlUI::BindManager(manager, parent, init);
}

CUIRect CContainerUI::ChildArea() const
{
    CUIRect area(AddClamped(m_itemRect.left, m_inset.left), AddClamped(m_itemRect.top, m_inset.top),
                 AddClamped(m_itemRect.right, -static_cast<long long>(m_inset.right)),
                 AddClamped(m_itemRect.bottom, -static_cast<long long>(m_inset.bottom)));
    if (IsShown(m_verticalBar))
        area.right = AddClamped(area.right, -static_cast<long long>(m_verticalBar->GetFixedWidth()));
    if (IsShown(m_horizontalBar))
        area.bottom = AddClamped(area.bottom, -static_cast<long long>(m_horizontalBar->GetFixedHeight()));
    return area;
}

CUIRect CContainerUI::ClientRect() const
{
    return ChildArea();
}

void CContainerUI::ResetScrollOnResize(const RECT& rect)
{
    if (IsShown(m_horizontalBar) && ExtentBetween(rect.left, rect.right) != m_itemRect.GetWidth())
        m_horizontalBar->SetScrollOffset(0, false);
    if (IsShown(m_verticalBar) && ExtentBetween(rect.top, rect.bottom) != m_itemRect.GetHeight())
        m_verticalBar->SetScrollOffset(0, false);
}

bool CContainerUI::PlaceSelf(const RECT& rect, bool invalidate, CUIRect& area)
{
    ResetScrollOnResize(rect);
    CControlUI::PlaceAt(rect, invalidate);
    area = ChildArea();
    if (!m_items.IsEmpty())
        return true;
    UpdateScrollBars(area, 0, 0);
    return false;
}

void CContainerUI::PlaceAt(const RECT& rect, bool invalidate)
{
    ResetScrollOnResize(rect);
    CControlUI::PlaceAt(rect, invalidate);
    if (m_items.IsEmpty())
        return;
    CUIRect area(AddClamped(m_itemRect.left, m_inset.left), AddClamped(m_itemRect.top, m_inset.top),
                 AddClamped(m_itemRect.right, -static_cast<long long>(m_inset.right)),
                 AddClamped(m_itemRect.bottom, -static_cast<long long>(m_inset.bottom)));
    if (IsShown(m_verticalBar))
    {
        const int position = m_verticalBar->GetScrollOffset();
        area.top = AddClamped(area.top, -static_cast<long long>(position));
        area.bottom = AddClamped(area.bottom, static_cast<long long>(m_verticalBar->GetScrollRange()) - position);
        area.right = AddClamped(area.right, -static_cast<long long>(m_verticalBar->GetFixedWidth()));
    }
    if (IsShown(m_horizontalBar))
    {
        const int position = m_horizontalBar->GetScrollOffset();
        area.left = AddClamped(area.left, -static_cast<long long>(position));
        area.right = AddClamped(area.right, static_cast<long long>(m_horizontalBar->GetScrollRange()) - position);
        area.bottom = AddClamped(area.bottom, -static_cast<long long>(m_horizontalBar->GetFixedHeight()));
    }
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(i));
        if (!child->IsVisible())
            continue;
        if (child->IsFloat())
        {
            PlaceFloating(i);
            continue;
        }
        const int width = HoldBetween(area.GetWidth(), child->GetMinWidth(), child->GetMaxWidth());
        const int height = HoldBetween(area.GetHeight(), child->GetMinHeight(), child->GetMaxHeight());
        child->PlaceAt(RECT{area.left, area.top, AddClamped(area.left, width), AddClamped(area.top, height)}, false);
    }
}

void CContainerUI::PlaceFloating(int index)
{
    IControlUI* child = ChildAt(index);
    if (child == nullptr || !child->IsVisible() || !child->IsFloat())
        return;
    const int w = m_itemRect.GetWidth();
    const int h = m_itemRect.GetHeight();
    const CUISize xy = child->GetFixedXY();
    const FloatPercent anchors = child->GetFloatPercent();
    const long long left = static_cast<long long>(ScaleTruncated(w, anchors.left)) + xy.cx;
    const long long top = static_cast<long long>(ScaleTruncated(h, anchors.top)) + xy.cy;
    const long long right = static_cast<long long>(ScaleTruncated(w, anchors.right)) + xy.cx + child->GetFixedWidth();
    const long long bottom =
        static_cast<long long>(ScaleTruncated(h, anchors.bottom)) + xy.cy + child->GetFixedHeight();
    child->PlaceAt(RECT{ClampToInt(left), ClampToInt(top), ClampToInt(right), ClampToInt(bottom)}, false);
}

void CContainerUI::Move(int dx, int dy, bool invalidate)
{
    CControlUI::Move(dx, dy, invalidate);
    if (IsShown(m_verticalBar))
        m_verticalBar->Move(dx, dy, false);
    if (IsShown(m_horizontalBar))
        m_horizontalBar->Move(dx, dy, false);
    for (int i = 0; i < m_items.GetSize(); ++i)
    {
        IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(i));
        if (child->IsVisible())
            child->Move(dx, dy, false);
    }
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<IControlUI*>(m_items.GetAt(i))->SetInheritedVisible(IsVisible());
}

void CContainerUI::SetInheritedVisible(bool visible)
{
    CControlUI::SetInheritedVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i)
        static_cast<IControlUI*>(m_items.GetAt(i))->SetInheritedVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (m_verticalBar != nullptr)
        m_verticalBar->SetMouseEnabled(enabled);
    if (m_horizontalBar != nullptr)
        m_horizontalBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::HandleEvent(UIEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type))
    {
        if (m_parent != nullptr)
            m_parent->HandleEvent(event);
        else
            CControlUI::HandleEvent(event);
        return;
    }
    switch (event.type)
    {
    case UIEVENT_SETFOCUS:
        m_focused = true;
        return;
    case UIEVENT_KILLFOCUS:
        m_focused = false;
        return;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && IsEnabled())
        {
            const bool vertical = IsActive(m_verticalBar);
            if (vertical || IsActive(m_horizontalBar))
            {
                switch (event.key)
                {
                case VK_UP:
                    vertical ? ScrollLineUp() : ScrollLineLeft();
                    return;
                case VK_DOWN:
                    vertical ? ScrollLineDown() : ScrollLineRight();
                    return;
                case VK_PRIOR:
                    vertical ? ScrollPageUp() : ScrollPageLeft();
                    return;
                case VK_NEXT:
                    vertical ? ScrollPageDown() : ScrollPageRight();
                    return;
                case VK_HOME:
                    vertical ? ScrollToTop() : ScrollToLeft();
                    return;
                case VK_END:
                    vertical ? ScrollToBottom() : ScrollToRight();
                    return;
                default:
                    break;
                }
            }
        }
        break;
    case UIEVENT_SCROLLWHEEL:
    {
        const WORD direction = LOWORD(event.wParam);
        if (direction > 1)
            break;
        const bool down = direction == 1;
        const CUIRect horizontalRect = m_horizontalBar != nullptr ? m_horizontalBar->GetPos() : CUIRect();
        if (IsActive(m_horizontalBar) && PtInRect(&horizontalRect, event.mousePoint))
            down ? ScrollLineRight() : ScrollLineLeft();
        else if (IsActive(m_verticalBar))
            down ? ScrollLineDown() : ScrollLineUp();
        else if (IsActive(m_horizontalBar))
            down ? ScrollLineRight() : ScrollLineLeft();
        return;
    }
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

const ControlAttributeTable& CContainerUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CContainerUI> kRows[] = {
        {L"inset", kRect, L"0,0,0,0", L"Inner margin between the container's edge and its children",
         [](CContainerUI& c, const wchar_t* v) { c.SetInset(ParseRect(v)); }},
        {L"mousechild", kBool, L"true", L"Whether the mouse reaches the children",
         [](CContainerUI& c, const wchar_t* v) { c.SetChildMouseEnabled(ParseBool(v)); }},
        {L"vscrollbar", kBool, L"false", L"Show a vertical scroll bar when the children need more height",
         [](CContainerUI& c, const wchar_t* v) {
             c.ShowScrollBars(Shown(ParseBool(v)), Shown(c.m_horizontalBar != nullptr));
         }},
        {L"vscrollbarstyle", kScrollBarStyle, L"none",
         L"Attributes for the vertical scroll bar; write it after vscrollbar",
         [](CContainerUI& c, const wchar_t* v) {
             if (c.m_verticalBar != nullptr)
                 c.m_verticalBar->ApplyAttributeText(v);
         }},
        {L"hscrollbar", kBool, L"false", L"Show a horizontal scroll bar when the children need more width",
         [](CContainerUI& c, const wchar_t* v) {
             c.ShowScrollBars(Shown(c.m_verticalBar != nullptr), Shown(ParseBool(v)));
         }},
        {L"hscrollbarstyle", kScrollBarStyle, L"none",
         L"Attributes for the horizontal scroll bar; write it after hscrollbar",
         [](CContainerUI& c, const wchar_t* v) {
             if (c.m_horizontalBar != nullptr)
                 c.m_horizontalBar->ApplyAttributeText(v);
         }},
        {L"childpadding", kInteger, L"0", L"Gap between neighbouring children",
         [](CContainerUI& c, const wchar_t* v) { c.SetChildPadding(ParseInt(v)); }},
        // The two alignments leave the value as it was for any other word,
        // and ask for no new layout.
        {L"childalign", L"enum left|center|right", L"left", L"Horizontal alignment of the children",
         [](CContainerUI& c, const wchar_t* v) {
             if (Is(v, L"left"))
                 c.m_childAlign = 0;
             else if (Is(v, L"center"))
                 c.m_childAlign = 1;
             else if (Is(v, L"right"))
                 c.m_childAlign = 2;
         }},
        {L"childvalign", L"enum top|vcenter|bottom", L"top", L"Vertical alignment of the children",
         [](CContainerUI& c, const wchar_t* v) {
             if (Is(v, L"top"))
                 c.m_childVAlign = 0;
             else if (Is(v, L"vcenter"))
                 c.m_childVAlign = 4;
             else if (Is(v, L"bottom"))
                 c.m_childVAlign = 8;
         }},
    };
    static const ControlAttributeTable kTable(L"CContainerUI", &CControlUI::GetAttributeTable(), kRows);
    return kTable;
}

CUIRect CContainerUI::GetInset() const
{
    return m_inset;
}

void CContainerUI::SetInset(const RECT& inset)
{
    m_inset = inset;
    RequestLayout();
}

int CContainerUI::GetChildPadding() const
{
    return m_childPadding;
}

void CContainerUI::SetChildPadding(int padding)
{
    m_childPadding = std::max(padding, 0);
    RequestLayout();
}

int CContainerUI::GetChildAlign() const
{
    return m_childAlign;
}

void CContainerUI::SetChildAlign(int align)
{
    m_childAlign = align;
    RequestLayout();
}

int CContainerUI::GetChildVAlign() const
{
    return m_childVAlign;
}

void CContainerUI::SetChildVAlign(int align)
{
    m_childVAlign = align;
    RequestLayout();
}

bool CContainerUI::OwnsChildren() const
{
    return m_autoDestroy;
}

void CContainerUI::SetOwnsChildren(bool owns)
{
    m_autoDestroy = owns;
}

bool CContainerUI::DefersDelete() const
{
    return m_delayedDestroy;
}

void CContainerUI::SetDeferredDelete(bool defers)
{
    m_delayedDestroy = defers;
}

bool CContainerUI::ChildMouseEnabled() const
{
    return m_mouseChildEnabled;
}

void CContainerUI::SetChildMouseEnabled(bool enabled)
{
    m_mouseChildEnabled = enabled;
}

int CContainerUI::FindSelectable(int index, bool forward) const
{
    const int count = m_items.GetSize();
    if (count == 0)
        return -1;
    const int start = std::min(std::max(index, 0), count - 1);
    const auto selectable = [this](int i) {
        IControlUI* child = ChildAt(i);
        return child->CastTo(L"IListItem") != nullptr && child->IsVisible() && child->IsEnabled();
    };
    if (forward)
    {
        for (int i = start; i < count; ++i)
        {
            if (selectable(i))
                return i;
        }
        return -1;
    }
    for (int i = start; i >= 0; --i)
    {
        if (selectable(i))
            return i;
    }
    return FindSelectable(0, true);
}

// ==== Hit testing and painting ==============================================

IControlUI* CContainerUI::LocateControl(LocateControlProc proc, void* data, UINT flags)
{
    if (proc == nullptr)
        return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible())
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled())
        return nullptr;
    if (hitTest && (data == nullptr || !PtInRect(&m_itemRect, *static_cast<const POINT*>(data))))
        return nullptr;
    if ((flags & UIFIND_UPDATETEST) != 0 && proc(this, data) != nullptr)
        return nullptr;

    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    IControlUI* result = nullptr;
    if (meFirst && (!hitTest || m_mouseEnabled))
        result = proc(this, data);
    if (result == nullptr && m_cover != nullptr && (!hitTest || m_mouseChildEnabled))
        result = m_cover->LocateControl(proc, data, flags);
    if (result == nullptr && (!hitTest || m_mouseEnabled))
    {
        if (m_verticalBar != nullptr)
            result = m_verticalBar->LocateControl(proc, data, flags);
        if (result == nullptr && m_horizontalBar != nullptr)
            result = m_horizontalBar->LocateControl(proc, data, flags);
    }
    if (result == nullptr && (!hitTest || m_mouseChildEnabled))
    {
        const CUIRect area = ChildArea();
        const int count = m_items.GetSize();
        const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
        for (int n = 0; n < count && result == nullptr; ++n)
        {
            IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(topFirst ? count - 1 - n : n));
            IControlUI* found = child->LocateControl(proc, data, flags);
            if (found == nullptr)
                continue;
            if (!hitTest || found->IsFloat() || PtInRect(&area, *static_cast<const POINT*>(data)))
                result = found;
        }
    }
    if (result == nullptr && !meFirst && (!hitTest || m_mouseEnabled))
        result = proc(this, data);
    return result;
}

bool CContainerUI::PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl)
{
    RECT itemCut = {};
    if (!IntersectRect(&itemCut, &paintRect, &m_itemRect))
        return true;
    CClipScope itemClip(dc, itemCut);
    CControlUI::PaintInto(dc, paintRect, stopControl);

    if (!m_items.IsEmpty())
    {
        const CUIRect area = ChildArea();
        RECT areaCut = {};
        RECT scratch = {};
        if (IntersectRect(&areaCut, &paintRect, &area))
        {
            CClipScope areaClip(dc, areaCut);
            for (int i = 0; i < m_items.GetSize(); ++i)
            {
                IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(i));
                if (child == stopControl)
                    return false;
                const CUIRect childRect = child->GetPos();
                if (!child->IsVisible() || !IntersectRect(&scratch, &paintRect, &childRect))
                    continue;
                if (child->IsFloat())
                {
                    if (!IntersectRect(&scratch, &m_itemRect, &childRect))
                        continue;
                    // A float child may stand over the inset and the bars.
                    areaClip.UseOuterClip();
                    const bool goOn = child->Paint(dc, paintRect, stopControl);
                    areaClip.UseInnerClip();
                    if (!goOn)
                        return false;
                }
                else
                {
                    if (!IntersectRect(&scratch, &area, &childRect))
                        continue;
                    if (!child->Paint(dc, paintRect, stopControl))
                        return false;
                }
            }
        }
        else
        {
            for (int i = 0; i < m_items.GetSize(); ++i)
            {
                IControlUI* child = static_cast<IControlUI*>(m_items.GetAt(i));
                if (child == stopControl)
                    return false;
                const CUIRect childRect = child->GetPos();
                if (!child->IsVisible() || !child->IsFloat() || !IntersectRect(&scratch, &paintRect, &childRect) ||
                    !IntersectRect(&scratch, &m_itemRect, &childRect))
                    continue;
                if (!child->Paint(dc, paintRect, stopControl))
                    return false;
            }
        }
    }

    for (CScrollBarUI* bar : {m_verticalBar, m_horizontalBar})
    {
        if (bar == nullptr)
            continue;
        if (bar == stopControl)
            return false;
        const CUIRect barRect = bar->GetPos();
        RECT scratch = {};
        if (bar->IsVisible() && IntersectRect(&scratch, &paintRect, &barRect))
        {
            if (!bar->Paint(dc, paintRect, stopControl))
                return false;
        }
    }
    return true;
}

void CContainerUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (description.role != 0)
        description.role = ROLE_SYSTEM_GROUPING;
}

}  // namespace DuiLib
