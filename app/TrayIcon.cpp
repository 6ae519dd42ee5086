#include "app/TrayIcon.h"

#include <cwchar>

namespace kalvex {

// The full record of current systems; older shells accept it too.
static_assert(sizeof(NOTIFYICONDATAW) == 956, "the tray record must be the full current size");

CTrayIcon::CTrayIcon() : m_data()
{
    m_data.cbSize = sizeof m_data;
    m_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    m_icon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
    m_secondIcon = LoadIconW(instance, MAKEINTRESOURCEW(kAppIconResource));
}

CTrayIcon::~CTrayIcon()
{
    Remove();
    if (m_icon != nullptr)
        DestroyIcon(m_icon);
    if (m_secondIcon != nullptr)
        DestroyIcon(m_secondIcon);
}

bool CTrayIcon::Add(const wchar_t* tip, HWND window)
{
    m_data.hIcon = m_icon;
    wcsncpy(m_data.szTip, tip != nullptr ? tip : L"", sizeof m_data.szTip / sizeof m_data.szTip[0] - 1);
    m_data.hWnd = window;
    m_data.uID = kTrayIconId;
    m_data.uCallbackMessage = kTrayCallbackMessage;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_window = window;
    return Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
}

bool CTrayIcon::ReAdd()
{
    if (m_window == nullptr)
        return false;
    return Shell_NotifyIconW(NIM_ADD, &m_data) != FALSE;
}

void CTrayIcon::Remove()
{
    if (m_window == nullptr)
        return;
    Shell_NotifyIconW(NIM_DELETE, &m_data);
}

}  // namespace kalvex
