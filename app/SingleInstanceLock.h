// A named semaphore used purely as a cross-process marker: whoever creates it
// first is the running instance. Nobody waits on it or releases it.
#pragma once

#include <windows.h>

namespace kalvex {

class CSingleInstanceLock {
public:
    CSingleInstanceLock() = default;
    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    // Creates (or opens) the semaphore with an open DACL so instances of any
    // user see it. False when neither worked.
    bool Create(const char* name);
    // True when Create found the semaphore already there.
    bool AlreadyExists() const { return m_lastError == ERROR_ALREADY_EXISTS; }
    // Closes the handle once; later calls do nothing.
    void Close();

private:
    HANDLE m_handle = nullptr;
    DWORD m_lastError = 0;
};

}  // namespace kalvex
