// CTreeProbe, CNotifyRecorder and CManagerHost: the tree search, painting and
// tombstones of the probe, and the message pumps of the tests.
#include "tests/core/TreeProbe.h"

#include <algorithm>
#include <new>

namespace DuiLib {
namespace test {

namespace {

std::vector<void*> g_tombstones;
std::vector<std::wstring> g_destroyed;
int g_callsAfterDeletion = 0;

}  // namespace

CTreeProbe::CTreeProbe(Trail* trail, const wchar_t* name, const RECT& place, DWORD fill)
    : color(fill), m_trail(trail), m_tombstone(false), m_place(place)
{
    SetName(name);
}

CTreeProbe::CTreeProbe(TombstoneTag) : color(0), m_trail(nullptr), m_tombstone(true)
{
}

CTreeProbe::~CTreeProbe()
{
    if (m_tombstone)
        return;
    g_destroyed.push_back(GetName().GetData());
    const std::vector<CTreeProbe*> children = std::move(m_children);
    m_children.clear();
    for (CTreeProbe* child : children)
    {
        child->m_parent = nullptr;
        delete child;
    }
    if (m_parent != nullptr)
        m_parent->Detach(this);
    if (m_manager != nullptr)
        m_manager->ForgetControl(this);
}

void* CTreeProbe::operator new(size_t size)
{
    return ::operator new(size);
}

void CTreeProbe::operator delete(void* memory)
{
    ::new (memory) CTreeProbe(TombstoneTag{});
    g_tombstones.push_back(memory);
}

int CTreeProbe::CallsAfterDeletion()
{
    return g_callsAfterDeletion;
}

void CTreeProbe::ReleaseTombstones()
{
    for (void* memory : g_tombstones)
    {
        static_cast<CTreeProbe*>(memory)->~CTreeProbe();
        ::operator delete(memory);
    }
    g_tombstones.clear();
    g_destroyed.clear();
    g_callsAfterDeletion = 0;
}

const std::vector<std::wstring>& CTreeProbe::Destroyed()
{
    return g_destroyed;
}

bool CTreeProbe::CountIfDead() const
{
    if (m_tombstone)
        ++g_callsAfterDeletion;
    return m_tombstone;
}

CTreeProbe* CTreeProbe::Add(CTreeProbe* child)
{
    m_children.push_back(child);
    child->m_parent = this;
    if (m_manager != nullptr)
        m_manager->RegisterControlTree(child, this);
    return child;
}

void CTreeProbe::Detach(CTreeProbe* child)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), child), m_children.end());
    child->m_parent = nullptr;
}

void CTreeProbe::Delete()
{
    if (CountIfDead())
        return;
    delete this;
}

void CTreeProbe::BindManager(CUIManager* manager, IControlUI* parent, bool init)
{
    if (CountIfDead())
        return;
    m_manager = manager;
    if (parent == nullptr && m_parent != nullptr)
        m_parent->Detach(this);
    for (CTreeProbe* child : m_children)
        child->BindManager(manager, this, init);
}

void CTreeProbe::PlaceAt(const RECT& rect, bool)
{
    if (CountIfDead())
        return;
    m_place = rect;
    layoutPending = false;
    placements.push_back(rect);
    for (CTreeProbe* child : m_children)
        child->PlaceAt(child->GetPos(), false);
    if (onPlace)
    {
        const auto reaction = onPlace;
        reaction(*this);
    }
}

void CTreeProbe::SetFocus()
{
    if (!CountIfDead() && m_manager != nullptr)
        m_manager->SetFocus(this, true);
}

IControlUI* CTreeProbe::LocateControl(LocateControlProc proc, void* data, UINT flags)
{
    if (CountIfDead())
        return nullptr;
    if ((flags & UIFIND_VISIBLE) != 0 && !visible)
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !enabled)
        return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 && !PtInRect(&m_place, *static_cast<const POINT*>(data)))
        return nullptr;
    if ((flags & UIFIND_UPDATETEST) != 0 && proc(this, data) != nullptr)
        return nullptr;
    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    if (meFirst)
    {
        if (IControlUI* found = proc(this, data))
            return found;
    }
    const std::vector<CTreeProbe*> children = m_children;
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    for (size_t i = 0; i < children.size(); ++i)
    {
        CTreeProbe* child = children[topFirst ? children.size() - 1 - i : i];
        if (IControlUI* found = child->LocateControl(proc, data, flags))
            return found;
    }
    return meFirst ? nullptr : proc(this, data);
}

void CTreeProbe::Event(UIEvent& event)
{
    if (CountIfDead())
        return;
    static const wchar_t* const kNames[] = {L"killfocus", L"setfocus", L"windowsize", L"setcursor", L"timer"};
    if (m_trail != nullptr && event.type >= UIEVENT_KILLFOCUS && event.type <= UIEVENT_TIMER)
        m_trail->push_back(GetName().GetData() + std::wstring(L" ") + kNames[event.type - UIEVENT_KILLFOCUS]);
    if (onEvent)
    {
        // A copy: the reaction may delete the probe and with it onEvent.
        const auto reaction = onEvent;
        reaction(*this, event);
    }
}

bool CTreeProbe::Paint(HDC dc, const RECT& paintRect, IControlUI* stopControl)
{
    if (CountIfDead())
        return true;
    paintRects.push_back(paintRect);
    RECT meet = {};
    if (color != 0 && IntersectRect(&meet, &paintRect, &m_place))
    {
        HBRUSH brush = CreateSolidBrush(RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
        FillRect(dc, &meet, brush);
        DeleteObject(brush);
    }
    for (CTreeProbe* child : m_children)
    {
        if (child == stopControl)
            return false;
        if (child->visible && !child->Paint(dc, paintRect, stopControl))
            return false;
    }
    return true;
}

void CTreeProbe::PaintOverlay(HDC, const RECT& paintRect)
{
    if (CountIfDead())
        return;
    overlayRects.push_back(paintRect);
    if (onOverlay)
    {
        const auto reaction = onOverlay;
        reaction(*this, paintRect);
    }
}

void CTreeProbe::Invalidate()
{
    if (!CountIfDead() && m_manager != nullptr)
        m_manager->Invalidate(m_place);
}

void CTreeProbe::RequestLayout()
{
    if (CountIfDead() || !visible)
        return;
    layoutPending = true;
    if (m_manager != nullptr)
    {
        m_manager->Invalidate(m_place);
        m_manager->RequestLayout();
    }
}

void CNotifyRecorder::ReceiveNotify(NotifyEvent& notification)
{
    const std::wstring sender = notification.sender != nullptr ? notification.sender->GetName().GetData() : L"-";
    if (m_trail != nullptr)
        m_trail->push_back(L"notify " + std::wstring(notification.type.GetData()) + L" " + sender);
    received.push_back(notification);
    if (onNotify)
    {
        const auto reaction = onNotify;
        reaction(notification);
    }
}

LRESULT CManagerHost::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        manager.AttachWindow(GetHWND(), L"host");
    LRESULT result = 0;
    if (manager.RouteMessage(message, wParam, lParam, result))
        return result;
    return CallPreviousProcedure(message, wParam, lParam);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (!CUIManager::FilterBeforeDispatch(message))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!done())
    {
        if (GetTickCount() - start > milliseconds)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

}  // namespace test
}  // namespace DuiLib
