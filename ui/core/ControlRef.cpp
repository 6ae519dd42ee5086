// CControlRef and CControlLifetime: the shared life record's counting.
#include "ui/core/ControlRef.h"

#include "ui/control/ControlInterface.h"

namespace DuiLib {

namespace {

void Drop(ControlLife* life)
{
    if (life != nullptr && --life->holders == 0)
        delete life;
}

}  // namespace

ControlLife* CControlLifetime::ShareLife(IControlUI* self)
{
    if (m_ended || self == nullptr)
        return nullptr;
    if (m_life == nullptr)
        m_life = new ControlLife{self, 1};
    ++m_life->holders;
    return m_life;
}

void CControlLifetime::ForgetReferences()
{
    if (m_life == nullptr)
        return;
    m_life->control = nullptr;
    Drop(m_life);
    m_life = nullptr;
}

void CControlLifetime::EndLife()
{
    ForgetReferences();
    m_ended = true;
}

CControlRef::CControlRef(IControlUI* control)
    : m_life(control != nullptr ? control->ShareLife(control) : nullptr)
{
}

CControlRef::CControlRef(const CControlRef& other) : m_life(other.m_life)
{
    if (m_life != nullptr)
        ++m_life->holders;
}

CControlRef& CControlRef::operator=(const CControlRef& other)
{
    if (other.m_life != nullptr)
        ++other.m_life->holders;
    Release();
    m_life = other.m_life;
    return *this;
}

CControlRef& CControlRef::operator=(CControlRef&& other) noexcept
{
    if (this != &other)
    {
        Release();
        m_life = other.m_life;
        other.m_life = nullptr;
    }
    return *this;
}

void CControlRef::Release()
{
    Drop(m_life);
    m_life = nullptr;
}

bool ListsControl(const std::vector<CControlRef>& list, const IControlUI* control)
{
    if (control == nullptr)
        return false;
    for (const CControlRef& listed : list)
    {
        if (listed.Get() == control)
            return true;
    }
    return false;
}

bool UnlistControl(std::vector<CControlRef>& list, const IControlUI* control)
{
    for (auto listed = list.begin(); listed != list.end(); ++listed)
    {
        if (control != nullptr && listed->Get() == control)
        {
            list.erase(listed);
            return true;
        }
    }
    return false;
}

}  // namespace DuiLib
