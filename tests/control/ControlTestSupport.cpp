// Helpers of the control tests: the host window, the recorder, the surface
// and window capture, the rectangle and pixel checks, the bitmap file writer
// and the tombstones of deleted controls.
#include "tests/control/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {

namespace {

std::vector<void*> g_tombstones;
int g_eventsAfterDeletion = 0;

}  // namespace

LRESULT CHostWindow::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        manager.AttachWindow(GetHWND(), L"control-test");
    LRESULT result = 0;
    if (manager.RouteMessage(message, wParam, lParam, result))
        return result;
    return CallPreviousProcedure(message, wParam, lParam);
}

std::unique_ptr<CHostWindow> MakeHost(int width, int height)
{
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    auto host = std::make_unique<CHostWindow>();
    // A test whose window was never made must fail here, not run on nothing.
    if (host->Create(nullptr, L"control test", WS_POPUP, 0, 100, 100, width, height) == nullptr)
    {
        ADD_FAILURE() << "the test's host window was not created";
        return nullptr;
    }
    // Shown without activation and then brought forward: Wine waits when it
    // destroys a window that it activated while showing it.
    ShowWindow(host->GetHWND(), SW_SHOWNA);
    SetForegroundWindow(host->GetHWND());
    ::SetFocus(host->GetHWND());
    return host;
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (CUIManager::FilterBeforeDispatch(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void SendWheel(HWND window, int x, int y, bool down)
{
    POINT screen = {x, y};
    ClientToScreen(window, &screen);
    ::SetFocus(window);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, down ? -WHEEL_DELTA : WHEEL_DELTA),
                 MAKELPARAM(screen.x, screen.y));
}

CControlUI* Fixed(int width, int height)
{
    CControlUI* control = new CControlUI();
    control->SetFixedWidth(width);
    control->SetFixedHeight(height);
    return control;
}

RECT PendingUpdate(HWND window)
{
    RECT update = {0, 0, 0, 0};
    if (!GetUpdateRect(window, &update, FALSE))
        return RECT{0, 0, 0, 0};
    return update;
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

void CNotifyRecorder::ReceiveNotify(NotifyEvent& notification)
{
    received.push_back(RecordedNotify{notification.type.GetData(), notification.sender, notification.wParam,
                                      notification.lParam, notification.virtualWindowName.GetData()});
}

std::vector<RecordedNotify> CNotifyRecorder::OfType(const wchar_t* type) const
{
    std::vector<RecordedNotify> found;
    for (const RecordedNotify& notify : received)
    {
        if (notify.type == type)
            found.push_back(notify);
    }
    return found;
}

CSurface::CSurface(int width, int height, DWORD fill) : m_width(width), m_dc(CreateCompatibleDC(nullptr))
{
    BYTE* pixels = nullptr;
    m_bitmap = CRenderKit::CreateDib32(width, height, pixels);
    m_pixels = reinterpret_cast<DWORD*>(pixels);
    m_previous = SelectObject(m_dc, m_bitmap);
    for (int i = 0; i < width * height; ++i)
        m_pixels[i] = fill;
}

CSurface::~CSurface()
{
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

DWORD CSurface::Rgb(int x, int y) const
{
    GdiFlush();
    return m_pixels[y * m_width + x] & 0x00FFFFFF;
}

bool NearRgb(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
    {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance)
            return false;
    }
    return true;
}

void ExpectPixels(const CSurface& surface, std::initializer_list<PixelCheck> checks, int tolerance)
{
    for (const PixelCheck& check : checks)
    {
        const DWORD actual = surface.Rgb(check.x, check.y);
        EXPECT_TRUE(NearRgb(RgbOf(check.color), actual, tolerance))
            << "at (" << check.x << ", " << check.y << "): expected " << std::hex << RgbOf(check.color) << ", got "
            << actual;
    }
}

void CaptureClient(HWND window, const CSurface& surface, int width, int height)
{
    HDC dc = GetDC(window);
    BitBlt(surface.Dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    GdiFlush();
}

std::wstring WriteBitmapFile(const wchar_t* name, int width, int height, const std::vector<DWORD>& rgb)
{
    wchar_t folder[MAX_PATH] = {};
    if (GetTempPathW(MAX_PATH, folder) == 0)
        return std::wstring();
    const std::wstring path = std::wstring(folder) + name;

    // Rows run bottom-up and are padded to whole 32-bit words.
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<BYTE> pixels(static_cast<size_t>(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y)
    {
        BYTE* row = pixels.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x)
        {
            const DWORD color = rgb[static_cast<size_t>(y) * width + x];
            row[x * 3] = static_cast<BYTE>(color);
            row[x * 3 + 1] = static_cast<BYTE>(color >> 8);
            row[x * 3 + 2] = static_cast<BYTE>(color >> 16);
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());

    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::wstring();
    DWORD written = 0;
    bool ok = WriteFile(handle, &file, sizeof(file), &written, nullptr) && written == sizeof(file);
    ok = ok && WriteFile(handle, &info, sizeof(info), &written, nullptr) && written == sizeof(info);
    ok = ok && WriteFile(handle, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr) &&
         written == pixels.size();
    CloseHandle(handle);
    return ok ? path : std::wstring();
}

void* CTombstoneControl::operator new(size_t size)
{
    return ::operator new(size);
}

void CTombstoneControl::operator delete(void* memory)
{
    // The memory stays taken, so a stale pointer reaches the tombstone.
    ::new (memory) CTombstoneControl(TombstoneTag{});
    g_tombstones.push_back(memory);
}

int CTombstoneControl::EventsAfterDeletion()
{
    return g_eventsAfterDeletion;
}

int CTombstoneControl::Deletions()
{
    return static_cast<int>(g_tombstones.size());
}

void CTombstoneControl::ReleaseTombstones()
{
    for (void* memory : g_tombstones)
    {
        static_cast<CTombstoneControl*>(memory)->~CTombstoneControl();
        ::operator delete(memory);
    }
    g_tombstones.clear();
    g_eventsAfterDeletion = 0;
}

void CTombstoneControl::Event(UIEvent& event)
{
    if (m_tombstone)
    {
        ++g_eventsAfterDeletion;
        return;
    }
    events.push_back(event.type);
    CControlUI::Event(event);
}

}  // namespace test
}  // namespace DuiLib
