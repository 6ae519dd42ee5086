#include "app/MessageBoxExWnd.h"

#include "app/WriteLogFile.h"

#include "app/CaptionHitTest.h"
#include "app/ProductNames.h"
#include "app/WriteLogFile.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/ControlUI.h"
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/LabelUI.h"


namespace kalvex {
namespace {

using DuiLib::CButtonUI;
using DuiLib::CContainerUI;
using DuiLib::CControlUI;
using DuiLib::CHorizontalLayoutUI;
using DuiLib::CLabelUI;
using DuiLib::CVerticalLayoutUI;
using DuiLib::IControlUI;

// The top 50 pixels drag the box, across its whole width.
constexpr RECT kCaption = {0, 0, 0, 50};

// Applies an attribute list to a new control and, when given, adds it to
// `parent`; returns the control so rows can be filled in place.
template <typename Control>
Control* Make(CContainerUI* parent, const wchar_t* attributes, const wchar_t* text = nullptr)
{
    auto* control = new Control();
    control->ApplyAttributeText(attributes);
    if (text != nullptr)
        control->SetText(text);
    if (parent != nullptr)
        parent->Add(control);
    return control;
}

}  // namespace

CMessageBoxExWnd::CMessageBoxExWnd(const wchar_t* title, const wchar_t* message, int iconFlag, int buttonMode,
                                   const wchar_t* okText, const wchar_t* cancelText)
    : m_title(title), m_message(message), m_iconFlag(iconFlag), m_buttonMode(buttonMode), m_okText(okText),
      m_cancelText(cancelText)
{
}

const wchar_t* CMessageBoxExWnd::WindowClassName() const
{
    return L"CMessageBoxExWnd";
}

UINT CMessageBoxExWnd::ClassStyleBits() const
{
    return CS_DBLCLKS;
}

void CMessageBoxExWnd::OnWindowDestroyed(HWND)
{
}

IControlUI* CMessageBoxExWnd::BuildTree()
{
    auto* root = Make<CVerticalLayoutUI>(
        nullptr, L"bkimage=\"file='bk/child_wnd_bk.png' corner='10,40,10,10'\" bkcolor=\"#30000000\"");

    auto* titleRow = Make<CHorizontalLayoutUI>(root, L"height=\"40\"");
    Make<CLabelUI>(titleRow,
                   L"name=\"title_lab\" width=\"280\" height=\"40\" textcolor=\"#FFFFFFFF\" textpadding=\"15,0,0,0\" "
                   L"visible=\"true\"",
                   m_title.GetData());
    // The image-only close button is named for screen readers by its tool
    // tip; every button names its default action in the skin's language.
    Make<CButtonUI>(titleRow, L"name=\"close_btn\" width=\"20\" height=\"20\" normalimage=\"btn/close_btn.png\" "
                              L"hotimage=\"btn/close_btn.png\" padding=\"0,10,0,0\" tooltip=\"关闭\" "
                              L"actionname=\"按下\"");

    auto* contentRow = Make<CHorizontalLayoutUI>(root, L"inset=\"15,0,15,0\"");
    auto* iconColumn = Make<CVerticalLayoutUI>(contentRow, L"name=\"waring_ico_ver\" width=\"1\" visible=\"false\"");
    Make<CControlUI>(iconColumn, L"visible=\"false\"");
    Make<CControlUI>(iconColumn, L"width=\"64\" height=\"64\" bkimage=\"bkimage/WarningIcon.png\" visible=\"false\"");
    Make<CControlUI>(iconColumn, L"visible=\"false\"");
    Make<CLabelUI>(contentRow,
                   L"name=\"content_lab\" enabledeffect=\"true\" multiline=\"true\" rhaa=\"5\" textcolor=\"#FF000000\" "
                   L"align=\"center\" textpadding=\"0,-30,0,0\"",
                   m_message.GetData());

    auto* buttonRow = Make<CHorizontalLayoutUI>(root, L"height=\"50\"");
    Make<CControlUI>(buttonRow, L"");
    Make<CButtonUI>(buttonRow,
                    L"name=\"ok_btn\" width=\"100\" height=\"30\" textcolor=\"#FFFFFFFF\" hotbkcolor=\"#20000000\" "
                    L"borderround=\"3,3\" bkimage=\"btn/download_new_version_btn.png\" actionname=\"按下\"",
                    m_okText.GetData());
    Make<CControlUI>(buttonRow, L"name=\"mid_ctr\" width=\"20\"");
    Make<CButtonUI>(buttonRow,
                    L"name=\"cancel_btn\" width=\"100\" height=\"30\" textcolor=\"#FF000000\" hotbkcolor=\"#20000000\" "
                    L"borderround=\"3,3\" bkimage=\"btn/chat_official_btn.png\" actionname=\"按下\"",
                    m_cancelText.GetData());
    Make<CControlUI>(buttonRow, L"");
    return root;
}

LRESULT CMessageBoxExWnd::OnCreate()
{
    HWND window = GetHWND();
    LONG style = GetWindowLongW(window, GWL_STYLE);
    style &= ~WS_CAPTION;
    SetWindowLongW(window, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);

    m_manager.AttachWindow(window, nullptr);
    m_manager.SetCaptionRect(kCaption);
    m_manager.SetShadowSize(10);
    m_manager.SetShadowColor(0x80000000);
    m_manager.AttachRootControl(BuildTree());
    // An empty layered image still switches the window to per-pixel alpha,
    // which the shadow needs.
    m_manager.SetLayeredImage(L"");
    m_manager.AddListener(this);
    return 0;
}

LRESULT CMessageBoxExWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
    case WM_NCLBUTTONDBLCLK:
        return 0;
    case WM_NCHITTEST:
        return SkinCaptionHitTest(GetHWND(), m_manager, lParam, {L"Button"});
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE)
            Close(kClosedByCaption);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            Close(kClosedByCaption);
            return 0;
        }
        if ((wParam & 0xFFF0) == SC_KEYMENU)
            return 0;
        return DefWindowProcW(GetHWND(), message, wParam, lParam);
    default:
        break;
    }
    LRESULT result = 0;
    if (m_manager.RouteMessage(message, wParam, lParam, result))
        return result;
    return CWindowWnd::ProcessWindowMessage(message, wParam, lParam);
}

void CMessageBoxExWnd::ShowControl(const wchar_t* name, bool visible)
{
    if (IControlUI* control = m_manager.LocateControl(name))
        control->SetVisible(visible);
}

void CMessageBoxExWnd::ReceiveNotify(DuiLib::NotifyEvent& notification)
{
    if (notification.type == L"windowinit") {
        CentreOnOwner();
        ShowControl(L"waring_ico_ver", m_iconFlag != 0);
        ShowControl(L"ok_btn", m_buttonMode == 1 || m_buttonMode == 2);
        ShowControl(L"cancel_btn", m_buttonMode == 2);
        ShowControl(L"mid_ctr", m_buttonMode == 2);
        return;
    }
    if (notification.type != L"click" || notification.sender == nullptr)
        return;
    const DuiLib::CUIString name = notification.sender->GetName();
    if (name == L"close_btn")
        Close(kClosedByCaption);
    else if (name == L"ok_btn")
        Close(kClosedByOk);
    else if (name == L"cancel_btn")
        Close(kClosedByCancel);
}

unsigned ShowMessageBoxEx(HWND parent, const wchar_t* title, const wchar_t* message, int iconFlag, int buttonMode,
                          const wchar_t* okText, const wchar_t* cancelText, int width, int height)
{
    CMessageBoxExWnd box(title, message, iconFlag, buttonMode, okText, cancelText);
    if (box.Create(parent, kWindowTitle, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION,
                   WS_EX_TOOLWINDOW, 0, 0, width, height) == nullptr) {
        // Unanswered counts as declined, which changes nothing.
        ProcessLog().Write(0, L"%ls", L"the message box could not be created");
        return 0;
    }
    return box.RunModal(true, false);
}

}  // namespace kalvex
