// Window pictures, their PNG files, and solid test images.
#include "tests/controls/ControlsTestSupport.h"

#include <algorithm>
#include <cstdlib>

#include "tests/core/PicturePixels.h"
#include "ui/render/PngWriter.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {

bool WindowShot::HasInk(const RECT& rect, DWORD background, int tolerance) const
{
    const RECT bounds = InkBounds(rect, background, tolerance);
    return !IsRectEmpty(&bounds);
}

template <class Matches>
RECT WindowShot::Bounds(const RECT& rect, Matches matches) const
{
    RECT bounds = {0, 0, 0, 0};
    bool any = false;
    for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y)
    {
        for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x)
        {
            if (!matches(Rgb(x, y)))
                continue;
            if (!any)
                bounds = RECT{x, y, x + 1, y + 1};
            bounds.left = std::min(bounds.left, static_cast<LONG>(x));
            bounds.top = std::min(bounds.top, static_cast<LONG>(y));
            bounds.right = std::max(bounds.right, static_cast<LONG>(x + 1));
            bounds.bottom = std::max(bounds.bottom, static_cast<LONG>(y + 1));
            any = true;
        }
    }
    return bounds;
}

RECT WindowShot::InkBounds(const RECT& rect, DWORD background, int tolerance) const
{
    return Bounds(rect, [&](DWORD rgb) { return !NearRgb(rgb, background, tolerance); });
}

bool WindowShot::HasColor(const RECT& rect, DWORD color, int tolerance) const
{
    const RECT bounds = ColorBounds(rect, color, tolerance);
    return !IsRectEmpty(&bounds);
}

RECT WindowShot::ColorBounds(const RECT& rect, DWORD color, int tolerance) const
{
    return Bounds(rect, [&](DWORD rgb) { return NearRgb(rgb, color, tolerance); });
}

int DifferingPixels(const WindowShot& a, const WindowShot& b, const RECT& rect)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += a.Rgb(x, y) != b.Rgb(x, y) ? 1 : 0;
    return count;
}

namespace {

// Copies width x height pixels from (x, y) of source.
WindowShot CopyPixels(HDC source, int x, int y, int width, int height)
{
    WindowShot shot;
    shot.width = width;
    shot.height = height;
    BYTE* bits = nullptr;
    HBITMAP bitmap = CRenderKit::CreateDib32(shot.width, shot.height, bits);
    if (bitmap == nullptr)
        return WindowShot();
    HDC memory = CreateCompatibleDC(source);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, source, x, y, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = reinterpret_cast<const DWORD*>(bits);
    shot.pixels.assign(pixels, pixels + static_cast<size_t>(shot.width) * shot.height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return shot;
}

}  // namespace

WindowShot CaptureWindow(HWND window, Repaint repaint)
{
    if (repaint == Repaint::Whole)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    GdiFlush();
    RECT client = {};
    GetClientRect(window, &client);
    HDC windowDc = GetDC(window);
    const WindowShot shot = CopyPixels(windowDc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, windowDc);
    return shot;
}

WindowShot CaptureScreen(const RECT& rect)
{
    PumpMessages();
    GdiFlush();
    HDC screen = GetDC(nullptr);
    const WindowShot shot = CopyPixels(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return shot;
}

bool SaveShot(const WindowShot& shot, const wchar_t* name)
{
    if (shot.pixels.empty())
        return false;
    const std::wstring folder = BesideProgram(L"shots");
    CreateDirectoryW(folder.c_str(), nullptr);
    return WritePng(shot.pixels.data(), shot.width, shot.height, shot.width * 4, PixelAlpha::Ignored,
                    (folder + L"\\" + name + L".png").c_str());
}

std::wstring SolidImage(const wchar_t* fileName, DWORD rgb, int width, int height)
{
    const std::vector<DWORD> pixels(static_cast<size_t>(width) * height, rgb);
    const std::wstring path = WriteBitmapFile(fileName, width, height, pixels);
    return L"file='" + path + L"'";
}

int TextWidth(CUIManager& manager, int font, const wchar_t* text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, manager.GetFont(font));
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wstring(text).size()), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size.cx;
}

CFloatingHost::CFloatingHost(int width, int height) : host(MakeHost(width, height))
{
    if (host == nullptr)
        return;
    root = new CContainerUI();
    root->ApplyAttributeText(L"bkcolor=\"#FFF0F0F0\"");
    host->manager.AttachRootControl(root);
    host->manager.AddListener(&recorder);
}

CFloatingHost::~CFloatingHost()
{
    if (host == nullptr)
        return;
    host->manager.RemoveListener(&recorder);
    host.reset();
    PumpMessages();
}

void CFloatingHost::Show()
{
    CaptureWindow(Window());
    recorder.received.clear();
}

void CFloatingHost::Mouse(UINT message, int x, int y, WPARAM wParam)
{
    PostMessageW(Window(), message, wParam, MAKELPARAM(x, y));
    PumpMessages();
}

}  // namespace test
}  // namespace DuiLib
