// Window pictures, PNG files through GDI+'s encoder, and solid test images.
#include "tests/controls/ControlsTestSupport.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>

#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {

namespace {

bool Differs(DWORD a, DWORD b, int tolerance)
{
    return !NearRgb(a, b, tolerance);
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace

bool WindowShot::HasInk(const RECT& rect, DWORD background, int tolerance) const
{
    const RECT bounds = InkBounds(rect, background, tolerance);
    return !IsRectEmpty(&bounds);
}

RECT WindowShot::InkBounds(const RECT& rect, DWORD background, int tolerance) const
{
    RECT bounds = {0, 0, 0, 0};
    bool any = false;
    for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y)
    {
        for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x)
        {
            if (!Differs(Rgb(x, y), background, tolerance))
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

bool WindowShot::HasColor(const RECT& rect, DWORD color, int tolerance) const
{
    for (int y = std::max(0, static_cast<int>(rect.top)); y < std::min(height, static_cast<int>(rect.bottom)); ++y)
    {
        for (int x = std::max(0, static_cast<int>(rect.left)); x < std::min(width, static_cast<int>(rect.right)); ++x)
        {
            if (NearRgb(Rgb(x, y), color, tolerance))
                return true;
        }
    }
    return false;
}

WindowShot CaptureWindow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    GdiFlush();
    WindowShot shot;
    RECT client = {};
    GetClientRect(window, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    BYTE* bits = nullptr;
    HBITMAP bitmap = CRenderKit::CreateDib32(shot.width, shot.height, bits);
    if (bitmap == nullptr)
        return WindowShot();
    HDC windowDc = GetDC(window);
    HDC memory = CreateCompatibleDC(windowDc);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD* pixels = reinterpret_cast<const DWORD*>(bits);
    shot.pixels.assign(pixels, pixels + static_cast<size_t>(shot.width) * shot.height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(window, windowDc);
    DeleteObject(bitmap);
    return shot;
}

bool SaveShot(const WindowShot& shot, const wchar_t* name)
{
    if (shot.pixels.empty())
        return false;
    const std::wstring folder = ProgramFolder() + L"shots";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + name + L".png";

    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return false;
    std::vector<DWORD> opaque(shot.pixels);
    for (DWORD& pixel : opaque)
        pixel |= 0xFF000000;
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(shot.width, shot.height, shot.width * 4, PixelFormat32bppARGB,
                                                   reinterpret_cast<BYTE*>(opaque.data()), &bitmap);
    // The PNG encoder's class id, fixed by GDI+.
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    bool saved = false;
    if (bitmap != nullptr)
    {
        saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr) == Gdiplus::Ok;
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
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

}  // namespace test
}  // namespace DuiLib
