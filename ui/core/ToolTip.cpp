// CToolTip: the platform tool tip window of a manager's window, made on
// first use, tracked at the mouse and fed the hovered control's text, width
// and rectangle.
// Invariant: the tool record is built afresh from the kept text and
// rectangle each time it is sent.
#include "ui/core/ToolTip.h"

#include <commctrl.h>

#include "ui/control/ControlInterface.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

void CToolTip::Show(IControlUI* control, LPARAM lParam)
{
    CUIString text = control->GetToolTip();
    if (text.IsEmpty())
        return;
    CUIManager::ExpandLanguageTokens(text);
    m_text = text;
    m_rect = control->GetPos();
    const int width = control->GetToolTipWidth();

    if (m_window == nullptr)
    {
        m_window = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   m_manager.GetPaintWindow(), nullptr, CUIManager::GetModuleInstance(), nullptr);
        if (m_window == nullptr)
            return;
        SendToolRecord(TTM_ADDTOOLW, 0);
        ::SendMessageW(m_window, TTM_SETMAXTIPWIDTH, 0, width);
        SendToolRecord(TTM_SETTOOLINFOW, 0);
        SendToolRecord(TTM_TRACKACTIVATE, TRUE);
    }
    if (m_lastControl == nullptr)
        m_lastControl = control;
    if (m_lastControl == control)
    {
        if (width != m_lastWidth)
        {
            ::SendMessageW(m_window, TTM_SETMAXTIPWIDTH, 0, width);
            m_lastWidth = width;
        }
    }
    else
    {
        ::SendMessageW(m_window, TTM_SETMAXTIPWIDTH, 0, width);
    }
    SendToolRecord(TTM_SETTOOLINFOW, 0);
    SendToolRecord(TTM_TRACKACTIVATE, TRUE);
    ::SendMessageW(m_window, TTM_TRACKPOSITION, 0, lParam);
}

void CToolTip::Hide()
{
    if (m_window != nullptr)
        SendToolRecord(TTM_TRACKACTIVATE, FALSE);
}

void CToolTip::Destroy()
{
    if (m_window != nullptr)
        DestroyWindow(m_window);
    m_window = nullptr;
}

UINT CToolTip::HoverTime() const
{
    return m_window != nullptr ? static_cast<UINT>(::SendMessageW(m_window, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                               : m_hoverTime;
}

LRESULT CToolTip::SendToolRecord(UINT message, WPARAM wParam)
{
    // The window is its own one tool; the record is the platform's without
    // its last reserved field, which every common-controls version accepts.
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    HWND owner = m_manager.GetPaintWindow();
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    tool.hinst = CUIManager::GetModuleInstance();
    tool.lpszText = const_cast<wchar_t*>(m_text.GetData());
    tool.rect = m_rect;
    return ::SendMessageW(m_window, message, wParam, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace DuiLib
