// CSkinViewWnd: loading (fresh manager, build, size, outline), the error
// page, reporting, and the window's messages: caption dragging as the
// product's windows do it, Escape to close, the size limit, and reloads
// after the folder watch has been quiet for a moment.
#include "tools/skinview/SkinViewWnd.h"

#include "app/CaptionHitTest.h"
#include "tools/skinview/SkinSource.h"
#include "tools/skinview/ViewerReport.h"
#include "ui/control/ControlInterface.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/markup/LayoutBuilder.h"

namespace skinview {

namespace {

using DuiLib::ResourceScope;

constexpr UINT_PTR kReloadTimer = 1;
constexpr SIZE kDefaultSize = {400, 300};
constexpr SIZE kErrorPageSize = {520, 240};

bool HasSize(SIZE size)
{
    return size.cx > 0 && size.cy > 0;
}

}  // namespace

CSkinViewWnd::CSkinViewWnd(const CViewerOptions& options) : m_options(options)
{
}

CSkinViewWnd::~CSkinViewWnd()
{
    // The tree goes while the window it paints still exists.
    m_manager.reset();
}

const wchar_t* CSkinViewWnd::WindowClassName() const
{
    return L"KalvexSkinView";
}

void CSkinViewWnd::OnWindowDestroyed(HWND)
{
}

void CSkinViewWnd::ReceiveNotify(DuiLib::NotifyEvent& notification)
{
    if (notification.type == L"windowinit")
        m_initialised = true;
}

bool CSkinViewWnd::Open(bool headless)
{
    m_headless = headless;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (headless)
    {
        exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        // Left of everything the virtual screen shows, by more than any
        // window the viewer makes is wide.
        x = GetSystemMetrics(SM_XVIRTUALSCREEN) - 2 * kMaxWindowSide;
        y = 0;
    }
    return Create(nullptr, L"skinview", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  exStyle, x, y, kDefaultSize.cx, kDefaultSize.cy) != nullptr;
}

void CSkinViewWnd::ResetManager()
{
    HWND window = GetHWND();
    if (m_manager != nullptr)
    {
        m_manager->SetLayered(false);
        m_manager.reset();
    }
    // A constant opacity also made the window layered, and a layered window
    // that has had one cannot take per-pixel pictures until the style is
    // taken away.
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    SetWindowRgn(window, nullptr, TRUE);
    m_built = false;
    m_initialised = false;
    m_loadWarnings.clear();

    m_manager = std::make_unique<DuiLib::CUIManager>();
    m_manager->AttachWindow(window, nullptr);
    m_manager->AddListener(this);
    // The shared tables outlive every manager: images, fonts and default
    // lists a skin marks shared would otherwise stay as the first load left
    // them, whatever the designer has changed since.
    m_manager->RemoveAllImages(ResourceScope::Shared);
    m_manager->RemoveAllFonts(ResourceScope::Shared);
    m_manager->RemoveAllDefaultAttributes(ResourceScope::Shared);
}

DuiLib::IControlUI* CSkinViewWnd::BuildSkin()
{
    m_loadError = CheckLayoutReadable(m_options.xml);
    m_layoutUnreadable = !m_loadError.empty();
    if (m_layoutUnreadable)
        return nullptr;

    DuiLib::CLayoutBuilder builder;
    DuiLib::IControlUI* root = builder.Create(m_options.xml.c_str(), nullptr, nullptr, m_manager.get(), nullptr);
    if (root == nullptr)
    {
        const DuiLib::CXmlDocument& document = builder.Document();
        m_loadError = m_options.xml + L": ";
        if (document.GetLastErrorMessage()[0] == L'\0')
            m_loadError += L"no control was built (an empty or unknown top element?)";
        else
            m_loadError += document.GetLastErrorMessage();
        if (document.GetLastErrorLocation()[0] != L'\0')
            m_loadError += std::wstring(L" at \"") + document.GetLastErrorLocation() + L"\"";
        return nullptr;
    }
    const SIZE asked = m_manager->GetInitSize();
    if (asked.cx > kMaxWindowSide || asked.cy > kMaxWindowSide)
    {
        root->Delete();
        m_loadError = m_options.xml + L": the window size " + std::to_wstring(asked.cx) + L" x " +
                      std::to_wstring(asked.cy) + L" is beyond the viewer's limit of " +
                      std::to_wstring(kMaxWindowSide) + L" x " + std::to_wstring(kMaxWindowSide);
        return nullptr;
    }
    if (builder.LimitReached())
        m_loadWarnings.push_back(m_options.xml + L": a limit of the layout builder was reached; parts were left out");
    if (!m_manager->AttachRootControl(root))
    {
        root->Delete();
        m_loadError = m_options.xml + L": the manager refused the root control";
        return nullptr;
    }
    return root;
}

bool CSkinViewWnd::Load()
{
    ResetManager();
    if (BuildSkin() != nullptr)
    {
        m_built = true;
        const SIZE skin = m_manager->GetInitSize();
        SizeWindow(HasSize(m_options.size) ? m_options.size : HasSize(skin) ? skin : kDefaultSize);
        // A window whose size did not change gets no WM_SIZE to do it.
        kalvex::ApplySkinRoundCorners(GetHWND(), *m_manager);
        SetTitle(m_options.xml + L" - " + m_options.source);
        return true;
    }
    ShowErrorPage();
    return false;
}

void CSkinViewWnd::ShowErrorPage()
{
    // A fresh manager: the failed build may have made the window layered.
    ResetManager();
    auto* page = new DuiLib::CVerticalLayoutUI;
    page->ApplyAttributeText(L"bkcolor=\"#FFFFF4F4\" inset=\"16,16,16,16\"");
    auto* label = new DuiLib::CLabelUI;
    label->ApplyAttributeText(L"multiline=\"true\" valign=\"top\" textcolor=\"#FFB00020\"");
    label->SetText(m_loadError.c_str());
    page->Add(label);
    m_manager->AttachRootControl(page);
    // The page takes the place of the last skin that built.
    SizeWindow(HasSize(m_options.size) ? m_options.size : HasSize(m_shownSize) ? m_shownSize : kErrorPageSize);
    SetTitle(m_loadError);
}

bool CSkinViewWnd::LoadAndReport()
{
    const bool built = Load();
    if (!IsWindowVisible(GetHWND()))
    {
        CentreOnOwner();
        ShowWindow(true, !m_headless);
    }
    PaintNow();
    if (!built)
    {
        ReportLine(m_loadError);
        return false;
    }
    std::vector<std::wstring> problems = m_loadWarnings;
    for (const std::wstring& failure : TakeImageFailures())
        problems.push_back(m_options.xml + L": " + failure);
    for (const std::wstring& problem : problems)
        ReportLine(problem);
    if (!problems.empty())
        SetTitle(m_options.xml + L" - " + std::to_wstring(problems.size()) + L" problem(s), see the console");
    else
        ReportLine(L"built " + m_options.xml);
    return true;
}

void CSkinViewWnd::PaintNow()
{
    if (m_manager == nullptr)
        return;
    m_manager->Invalidate();
    // A layered window's picture is painted on the manager's frame clock,
    // not through the platform's update region: a WM_PAINT asks for it.
    if (m_manager->IsLayered())
        SendMessage(WM_PAINT);
    else
        UpdateWindow(GetHWND());
}

void CSkinViewWnd::SizeWindow(SIZE wanted)
{
    SetWindowPos(GetHWND(), nullptr, 0, 0, wanted.cx, wanted.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_built)
        m_shownSize = wanted;
}

void CSkinViewWnd::SetTitle(const std::wstring& detail)
{
    SetWindowTextW(GetHWND(), (L"skinview - " + detail).c_str());
}

LRESULT CSkinViewWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_NCHITTEST:
        if (m_built)
            return kalvex::SkinCaptionHitTest(GetHWND(), *m_manager, lParam,
                                              {L"Button", L"Option", L"CheckBox", L"Combo"});
        return HTCLIENT;
    case WM_WINDOWPOSCHANGING:
    {
        // A hostile "size" must not reach the display or the picture size.
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((position->flags & SWP_NOSIZE) == 0)
        {
            position->cx = position->cx > kMaxWindowSide ? kMaxWindowSide : position->cx;
            position->cy = position->cy > kMaxWindowSide ? kMaxWindowSide : position->cy;
        }
        break;
    }
    case WM_SIZE:
        if (m_manager != nullptr)
            kalvex::ApplySkinRoundCorners(GetHWND(), *m_manager);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && !m_headless)
        {
            Close();
            return 0;
        }
        break;
    case WM_MOUSELEAVE:
    case WM_MOUSEHOVER:
        // Headless, the mouse is the one HeadlessRender moved, and the real
        // one is never over the window.
        if (m_headless)
            return 0;
        break;
    case WM_TIMER:
        if (wParam == kReloadTimer)
        {
            ::KillTimer(GetHWND(), kReloadTimer);
            LoadAndReport();
            return 0;
        }
        break;
    case kSkinChangedMessage:
        // Each change starts the quiet time again.
        ::SetTimer(GetHWND(), kReloadTimer, kReloadDelayMs, nullptr);
        return 0;
    case WM_DESTROY:
        // The tree goes while its window still exists.
        m_manager.reset();
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_manager != nullptr && m_manager->RouteMessage(message, wParam, lParam, result))
        return result;
    return CWindowWnd::ProcessWindowMessage(message, wParam, lParam);
}

}  // namespace skinview
