// The main window's icon in the notification area, with the tip text and the
// callback message the window handles. The icon is added again after the
// shell restarts (the "TaskbarCreated" broadcast).
#pragma once

#include "resources/ResourceIds.h"

#include <windows.h>
#include <shellapi.h>

namespace kalvex {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 1000;
inline constexpr UINT kTrayIconId = 1000;
inline constexpr UINT kAppIconResource = KALVEX_ICON_ID;

class CTrayIcon {
public:
    // Registers "TaskbarCreated" and loads the application icon twice.
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Shows the icon with `tip` (cut to the record's 127 characters), sending
    // its mouse messages to `window`. False when the shell refused.
    bool Add(const wchar_t* tip, HWND window);
    // Shows the icon again with the stored record, after the shell restarted.
    bool ReAdd();
    // Takes the icon out of the notification area; harmless when not shown.
    void Remove();

    UINT TaskbarCreatedMessage() const { return m_taskbarCreated; }

private:
    NOTIFYICONDATAW m_data;
    HWND m_window = nullptr;
    HICON m_icon = nullptr;
    HICON m_secondIcon = nullptr;
    UINT m_taskbarCreated = 0;
};

}  // namespace kalvex
