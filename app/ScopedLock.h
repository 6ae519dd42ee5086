// Holds a critical section for the lifetime of a scope, or until Release.
#pragma once

#include <windows.h>

namespace kalvex {

class CScopedLock {
public:
    // A null section makes the lock a no-op.
    explicit CScopedLock(CRITICAL_SECTION* section) : m_section(section)
    {
        if (m_section != nullptr)
            EnterCriticalSection(m_section);
    }
    ~CScopedLock() { Release(); }
    CScopedLock(const CScopedLock&) = delete;
    CScopedLock& operator=(const CScopedLock&) = delete;

    // Leaves the section early; the destructor then does nothing.
    void Release()
    {
        if (m_section != nullptr) {
            LeaveCriticalSection(m_section);
            m_section = nullptr;
        }
    }

private:
    CRITICAL_SECTION* m_section;
};

}  // namespace kalvex
