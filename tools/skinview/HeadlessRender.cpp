// --png: driving the window through posted mouse messages and a message
// pump of our own (with the managers' pre-translation, as every loop of the
// toolkit), then reading the manager's off-screen picture.
//
// Pass 1: build and first paint. Pass 2: tabs, options, hover, push. Pass 3:
// let timers (button fades) run, paint, read the picture, write the PNG.
#include "tools/skinview/HeadlessRender.h"

#include <vector>

#include "tools/skinview/SkinViewWnd.h"
#include "tools/skinview/ViewerReport.h"
#include "ui/control/ControlInterface.h"
#include "ui/control/TabLayoutUI.h"
#include "ui/render/PngWriter.h"
#include "ui/render/RenderKit.h"

namespace skinview {

namespace {

using DuiLib::IControlUI;

// Time given to the first layout, and to what the states start (a button's
// hot image fades in over a few hundred milliseconds) before the picture.
constexpr DWORD kFirstPaintMs = 5000;
constexpr DWORD kSettleMs = 400;

// Dispatches this thread's messages until ms have passed or done answers
// true; answers done's last answer. A WM_QUIT is posted again and ends it.
template <typename Done>
bool Pump(DWORD ms, Done done)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;)
    {
        MSG message = {};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            if (message.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(message.wParam));
                return done();
            }
            if (!DuiLib::CUIManager::FilterBeforeDispatch(message))
            {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        const ULONGLONG now = GetTickCount64();
        if (done() || now >= deadline)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

LPARAM PointParam(POINT point)
{
    return MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y));
}

// The centre of the control named name, where a mouse message reaches that
// control itself; false with the reason added to problems otherwise.
bool ControlCentre(DuiLib::CUIManager& manager, const std::wstring& name, POINT& centre,
                   std::vector<std::wstring>& problems)
{
    IControlUI* control = manager.LocateControl(name.c_str());
    if (control == nullptr)
    {
        problems.push_back(L"no control is named " + name);
        return false;
    }
    const RECT place = control->GetPos();
    centre = POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    if (!control->IsVisible() || IsRectEmpty(&place) || manager.LocateControl(centre) != control)
    {
        problems.push_back(L"the control " + name + L" cannot be reached by the mouse (hidden or covered)");
        return false;
    }
    return true;
}

void SelectTabs(DuiLib::CUIManager& manager, const std::vector<TabChoice>& tabs, std::vector<std::wstring>& problems)
{
    for (const TabChoice& tab : tabs)
    {
        IControlUI* control = manager.LocateControl(tab.name.c_str());
        auto* layout = control != nullptr ? static_cast<DuiLib::CTabLayoutUI*>(control->CastTo(L"TabLayout")) : nullptr;
        if (layout == nullptr)
            problems.push_back(L"no tab layout is named " + tab.name);
        else if (!layout->SelectItem(tab.index))
            problems.push_back(L"the tab layout " + tab.name + L" has no page " + std::to_wstring(tab.index));
    }
}

// Posts what a user's mouse would send: clicks on the options, then a move
// onto the hovered control, then a press on the pushed one.
void PostStates(CSkinViewWnd& window, const CViewerOptions& options, std::vector<std::wstring>& problems)
{
    DuiLib::CUIManager& manager = *window.Manager();
    POINT at = {};
    for (const std::wstring& name : options.selects)
    {
        if (!ControlCentre(manager, name, at, problems))
            continue;
        window.PostMessage(WM_MOUSEMOVE, 0, PointParam(at));
        window.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(at));
        window.PostMessage(WM_LBUTTONUP, 0, PointParam(at));
        // Away again, so the picture shows the option selected, not hot.
        window.PostMessage(WM_MOUSEMOVE, 0, PointParam(POINT{-1, -1}));
        Pump(0, [] { return false; });
    }
    if (!options.hover.empty() && ControlCentre(manager, options.hover, at, problems))
        window.PostMessage(WM_MOUSEMOVE, 0, PointParam(at));
    if (!options.push.empty() && ControlCentre(manager, options.push, at, problems))
    {
        window.PostMessage(WM_MOUSEMOVE, 0, PointParam(at));
        window.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, PointParam(at));
    }
}

// Clears every pixel outside the window's region (its round corners); a
// window without a region keeps them all.
void KeepInsideRegion(HWND window, SIZE size, std::vector<DWORD>& pixels)
{
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region == nullptr)
        return;
    const DWORD bytes = GetWindowRgn(window, region) != ERROR ? GetRegionData(region, 0, nullptr) : 0;
    std::vector<BYTE> data(bytes);
    if (bytes != 0 && GetRegionData(region, bytes, reinterpret_cast<RGNDATA*>(data.data())) != 0)
    {
        const auto* header = reinterpret_cast<const RGNDATA*>(data.data());
        const auto* rects = reinterpret_cast<const RECT*>(header->Buffer);
        std::vector<bool> inside(pixels.size(), false);
        for (DWORD i = 0; i < header->rdh.nCount; ++i)
        {
            for (LONG y = rects[i].top < 0 ? 0 : rects[i].top; y < rects[i].bottom && y < size.cy; ++y)
                for (LONG x = rects[i].left < 0 ? 0 : rects[i].left; x < rects[i].right && x < size.cx; ++x)
                    inside[static_cast<size_t>(y) * size.cx + x] = true;
        }
        for (size_t at = 0; at < pixels.size(); ++at)
        {
            if (!inside[at])
                pixels[at] = 0;
        }
    }
    DeleteObject(region);
}

// The picture the window shows, premultiplied 0xAARRGGBB, top row first: a
// layered window's own per-pixel picture with its shadow, an opaque
// window's picture (the render kit's copy of it) with alpha 255; outside
// the window's region nothing, and everything times the window's constant
// opacity. False when there is no picture.
bool ReadPicture(HWND window, DuiLib::CUIManager& manager, std::vector<DWORD>& pixels, SIZE& size)
{
    const bool layered = manager.IsLayered();
    RECT client = {};
    GetClientRect(window, &client);
    HBITMAP copy = layered ? nullptr : DuiLib::CRenderKit::RenderToBitmap(&manager, client, nullptr, 0);
    HBITMAP picture = layered ? manager.GetOffscreenBitmap() : copy;
    DIBSECTION dib = {};
    const bool readable = picture != nullptr && GetObjectW(picture, sizeof(dib), &dib) == sizeof(dib) &&
                          dib.dsBm.bmBits != nullptr && dib.dsBm.bmBitsPixel == 32;
    if (readable)
    {
        GdiFlush();
        size = SIZE{dib.dsBm.bmWidth, dib.dsBm.bmHeight};
        pixels.assign(static_cast<size_t>(size.cx) * size.cy, 0);
        const DWORD opaque = layered ? 0 : 0xFF000000;
        for (int y = 0; y < size.cy; ++y)
        {
            // The manager keeps its layered picture bottom-up, the render
            // kit makes its copies top-down. The platform's answer cannot
            // tell them apart: Wine reports a positive height for both.
            const int row = layered ? size.cy - 1 - y : y;
            const auto* from = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(dib.dsBm.bmBits) +
                                                              static_cast<size_t>(row) * dib.dsBm.bmWidthBytes);
            for (int x = 0; x < size.cx; ++x)
                pixels[static_cast<size_t>(y) * size.cx + x] = from[x] | opaque;
        }
    }
    if (copy != nullptr)
        DeleteObject(copy);
    if (!readable)
        return false;

    KeepInsideRegion(window, size, pixels);
    const unsigned opacity = manager.GetOpacity();
    if (opacity < 255)
    {
        for (DWORD& pixel : pixels)
        {
            DWORD scaled = 0;
            for (int shift = 0; shift < 32; shift += 8)
                scaled |= ((((pixel >> shift) & 0xFF) * opacity + 127) / 255) << shift;
            pixel = scaled;
        }
    }
    return true;
}

}  // namespace

int RenderHeadless(const CViewerOptions& options)
{
    CSkinViewWnd window(options);
    if (!window.Open(true))
    {
        ReportLine(L"the window cannot be created");
        return 1;
    }
    // Pass 1: build and first paint.
    if (!window.Load())
    {
        ReportLine(window.LoadError());
        return window.LayoutUnreadable() ? 2 : 1;
    }
    window.ShowWindow(true, false);
    window.PaintNow();
    if (!Pump(kFirstPaintMs, [&] { return window.IsInitialised(); }))
    {
        ReportLine(options.xml + L": the layout was never painted");
        return 1;
    }

    // Pass 2: the states, through the manager's own input handling.
    std::vector<std::wstring> problems = window.LoadWarnings();
    SelectTabs(*window.Manager(), options.tabs, problems);
    window.PaintNow();
    PostStates(window, options, problems);

    // Pass 3: the picture.
    Pump(kSettleMs, [] { return false; });
    window.PaintNow();
    std::vector<DWORD> pixels;
    SIZE size = {};
    if (!ReadPicture(window.GetHWND(), *window.Manager(), pixels, size))
        problems.push_back(L"the window has no picture to write");
    else if (!DuiLib::WritePng(pixels.data(), size.cx, size.cy, size.cx * 4, DuiLib::PixelAlpha::Premultiplied,
                               options.png.c_str()))
        problems.push_back(options.png + L" cannot be written");
    for (const std::wstring& failure : TakeImageFailures())
        problems.push_back(options.xml + L": " + failure);
    for (const std::wstring& problem : problems)
        ReportLine(problem);
    return problems.empty() ? 0 : 1;
}

}  // namespace skinview
