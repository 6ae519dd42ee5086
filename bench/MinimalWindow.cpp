// The start-up floor for the uninstaller benchmark: the least a Win32 program
// does to show a painted window of the main window's size (680 x 420,
// borderless, centred). It paints 64 colour bands so the benchmark's driver
// sees it painted by the same test it applies to kalvex.exe. A click or the
// system close command ends it.
// Built a second time as minimal_library_window.exe, it first starts the
// libraries every toolkit window starts before it exists (the common
// controls, the blending library and GDI+), with kalvex.exe's manifest: the
// floor of a window that must load them.
#include <windows.h>

#ifdef KALVEX_MINIMAL_WINDOW_LIBRARIES
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
#endif

namespace {

constexpr int kWidth = 680;
constexpr int kHeight = 420;
constexpr int kBands = 64;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int band = 0; band < kBands; ++band) {
            RECT rect = {0, band * kHeight / kBands, kWidth, (band + 1) * kHeight / kBands};
            HBRUSH brush = CreateSolidBrush(RGB(band * 4, 128 + band, 255 - band * 2));
            FillRect(dc, &rect, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_LBUTTONUP:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
#ifdef KALVEX_MINIMAL_WINDOW_LIBRARIES
    InitCommonControls();
    LoadLibraryW(L"msimg32.dll");
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
#endif
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"KalvexMinimalWindow";
    RegisterClassW(&windowClass);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    CreateWindowExW(0, windowClass.lpszClassName, L"Minimal window", WS_POPUP | WS_VISIBLE, x, y, kWidth, kHeight,
                    nullptr, nullptr, instance, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
