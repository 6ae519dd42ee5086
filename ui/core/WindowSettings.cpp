// CWindowSettings: the stored window settings; the initial size and the
// caption's full-height bottom read the manager's window.
#include "ui/core/WindowSettings.h"

#include "ui/core/UIManager.h"

namespace DuiLib {

void CWindowSettings::SetInitSize(int width, int height)
{
    m_initSize = SIZE{width, height};
    // Once a tree is attached the window's size is the application's to
    // keep; the stored value only records what the skin asked for.
    HWND window = m_manager.GetPaintWindow();
    if (window != nullptr && m_manager.GetRoot() == nullptr)
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

const CUIRect& CWindowSettings::GetCaptionRect()
{
    HWND window = m_manager.GetPaintWindow();
    if (m_caption.bottom == -1 && window != nullptr)
    {
        RECT frame = {};
        GetWindowRect(window, &frame);
        m_caption.bottom = frame.bottom - frame.top;
    }
    return m_caption;
}

void CWindowSettings::ApplyTrackingSizes(MINMAXINFO& info) const
{
    if (m_minInfo.cx > 0)
        info.ptMinTrackSize.x = m_minInfo.cx;
    if (m_minInfo.cy > 0)
        info.ptMinTrackSize.y = m_minInfo.cy;
    if (m_maxInfo.cx > 0)
        info.ptMaxTrackSize.x = m_maxInfo.cx;
    if (m_maxInfo.cy > 0)
        info.ptMaxTrackSize.y = m_maxInfo.cy;
}

}  // namespace DuiLib
