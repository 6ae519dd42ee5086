// CProbeControl: journalling, the tree search and the tombstones that stand in
// for deleted probes.
#include "tests/core/ProbeControl.h"

#include <algorithm>
#include <new>

#include "ui/core/UIManager.h"

namespace DuiLib {
namespace test {

namespace {

std::vector<void*> g_tombstones;
int g_eventsAfterDeletion = 0;

}  // namespace

CProbeControl::CProbeControl(Journal* journal, const wchar_t* name, const RECT& pos)
    : m_journal(journal), m_tombstone(false), m_pos(pos)
{
    SetName(name);
}

CProbeControl::CProbeControl(TombstoneTag) : m_journal(nullptr), m_tombstone(true)
{
}

CProbeControl::~CProbeControl()
{
    // Taken out first: each child leaves its parent's list as it goes.
    const std::vector<CProbeControl*> children = std::move(m_children);
    m_children.clear();
    for (CProbeControl* child : children)
    {
        child->m_parent = nullptr;
        delete child;
    }
    if (m_parent != nullptr)
    {
        std::vector<CProbeControl*>& siblings = m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (m_manager != nullptr)
        m_manager->ForgetControl(this);
}

void* CProbeControl::operator new(size_t size)
{
    return ::operator new(size);
}

void CProbeControl::operator delete(void* memory)
{
    // The memory stays taken: a manager that still calls the deleted probe
    // reaches the tombstone, which counts the call, instead of freed memory.
    ::new (memory) CProbeControl(TombstoneTag{});
    g_tombstones.push_back(memory);
}

int CProbeControl::EventsAfterDeletion()
{
    return g_eventsAfterDeletion;
}

void CProbeControl::ReleaseTombstones()
{
    for (void* memory : g_tombstones)
    {
        static_cast<CProbeControl*>(memory)->~CProbeControl();
        ::operator delete(memory);
    }
    g_tombstones.clear();
    g_eventsAfterDeletion = 0;
}

CProbeControl* CProbeControl::Add(CProbeControl* child)
{
    m_children.push_back(child);
    child->m_parent = this;
    return child;
}

void CProbeControl::Delete()
{
    if (m_manager != nullptr)
        m_manager->RemoveLeaveWatcher(this);
    delete this;
}

bool CProbeControl::Activate()
{
    ++activations;
    return visible && enabled;
}

void CProbeControl::BindManager(CUIManager* manager, IControlUI*, bool init)
{
    m_manager = manager;
    for (CProbeControl* child : m_children)
        child->BindManager(manager, this, init);
}

void CProbeControl::SetFocus()
{
    if (m_manager != nullptr)
        m_manager->SetFocus(this, true);
}

IControlUI* CProbeControl::LocateControl(LocateControlProc proc, void* data, UINT flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !visible)
        return nullptr;
    if ((flags & UIFIND_ENABLED) != 0 && !enabled)
        return nullptr;
    if ((flags & UIFIND_HITTEST) != 0 && !PtInRect(&m_pos, *static_cast<const POINT*>(data)))
        return nullptr;
    const bool mayAnswer = (flags & UIFIND_HITTEST) == 0 || IsMouseEnabled();
    const bool meFirst = (flags & UIFIND_ME_FIRST) != 0;
    if (meFirst && mayAnswer)
    {
        if (IControlUI* found = proc(this, data))
            return found;
    }
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    const int count = static_cast<int>(m_children.size());
    for (int i = 0; i < count; ++i)
    {
        CProbeControl* child = m_children[topFirst ? count - 1 - i : i];
        if (IControlUI* found = child->LocateControl(proc, data, flags))
            return found;
    }
    return !meFirst && mayAnswer ? proc(this, data) : nullptr;
}

void CProbeControl::Event(UIEvent& event)
{
    if (m_tombstone)
    {
        ++g_eventsAfterDeletion;
        return;
    }
    if (m_journal != nullptr)
        m_journal->push_back(Delivery{GetName().GetData(), event});
    if (onEvent)
    {
        // A copy: the reaction may delete the probe and with it onEvent.
        const auto reaction = onEvent;
        reaction(*this, event);
    }
}

CUIString CProbeControl::GetAttribute(const wchar_t* name) const
{
    const auto found = attributes.find(name);
    return found != attributes.end() ? CUIString(found->second.c_str()) : CUIString();
}

bool CProbeControl::Paint(HDC, const RECT& paintRect, IControlUI*)
{
    paintRects.push_back(paintRect);
    return true;
}

}  // namespace test
}  // namespace DuiLib
