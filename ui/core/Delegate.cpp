// CDelegateBase equality and CEventHub ownership and invocation. A hub owns
// the copies it was given from the moment it accepts them until it dies.
#include "ui/core/Delegate.h"

namespace DuiLib {

CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::operator==(const CDelegateBase& other) const
{
    return m_object == other.m_object && std::memcmp(m_function, other.m_function, kFunctionBytes) == 0;
}

CEventHub::~CEventHub()
{
    for (int i = 0; i < m_delegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_delegates[i]);
}

CEventHub& CEventHub::operator+=(const CDelegateBase& delegate)
{
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        if (*static_cast<const CDelegateBase*>(m_delegates[i]) == delegate)
            return *this;
    }
    CDelegateBase* copy = delegate.Copy();
    if (!m_delegates.Add(copy))
        delete copy;
    return *this;
}

bool CEventHub::operator()(void* param) const
{
    // Indexes rather than a cached count: a delegate may add to this hub
    // while it runs.
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        const auto* delegate = static_cast<const CDelegateBase*>(m_delegates.GetAt(i));
        if (delegate != nullptr && !delegate->Invoke(param))
            return false;
    }
    return true;
}

}  // namespace DuiLib
