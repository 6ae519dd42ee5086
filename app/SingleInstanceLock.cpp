#include "app/SingleInstanceLock.h"

namespace kalvex {

CSingleInstanceLock::~CSingleInstanceLock()
{
    Close();
}

bool CSingleInstanceLock::Create(const char* name)
{
    Close();
    // A NULL DACL grants everyone access, so an instance started by another
    // logged-on user can still open the "Global\" marker.
    // Should the descriptor not take, the marker is made with the default
    // security: it still keeps a second instance of the same user out.
    SECURITY_DESCRIPTOR descriptor = {};
    const bool open = InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                      SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes = {};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = open ? &descriptor : nullptr;
    attributes.bInheritHandle = FALSE;

    m_handle = CreateSemaphoreA(&attributes, 1, 1, name);
    m_lastError = GetLastError();
    return m_handle != nullptr;
}

void CSingleInstanceLock::Close()
{
    if (m_handle != nullptr) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

}  // namespace kalvex
