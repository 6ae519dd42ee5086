// The main window in a real window with the product's skin, over a scratch
// installation registered under the real uninstall key: the uninstall runs
// to the finished page with its progress bar read back from the pixels, and
// the exit routine, the system close command, Enter and the tray icon behave
// as a user sees them, including an exit while the worker is still deleting.
// Input arrives as posted window messages.
#include "app/MainWnd.h"
#include "app/ProductCleanup.h"
#include "app/ProductNames.h"
#include "app/ProgressRules.h"
#include "app/TrayIcon.h"
#include "app/WriteLogFile.h"
#include "tests/app/TestSupport.h"
#include "tests/app/UiTestSupport.h"
#include "tests/core/AccessibleReader.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

using kalvex::CMainWnd;
using kalvex::kUninstallKey;
using kalvex::test::CScopedEnvironment;
using kalvex::test::CScratchDir;
using kalvex::test::CWindowScript;
using kalvex::test::PathExists;
using kalvex::test::PostClick;
using kalvex::test::WriteFileBytes;

namespace {

// Where "main.xml" puts things in the 680 x 420 window: the pages start
// below the 44-pixel title row and the 146-pixel band, at y = 190.
constexpr POINT kUninstallButton = {178 + 75, 190 + 138 + 21};
// The uninstall button's top row, which the progress bar's label, shown in
// its place, leaves uncovered.
constexpr POINT kUninstallButtonTop = {178 + 75, 190 + 138};
constexpr POINT kCloseButton = {644 + 14, 8 + 14};
constexpr COLORREF kPageWhite = RGB(255, 255, 255);
// The centre of the finished page's download button (180 x 42, centred);
// on the confirmation page the same point lies between the two buttons.
constexpr POINT kDownloadButton = {340, 190 + 14 + 64 + 4 + 30 + 2 + 20 + 18 + 21};

// `count` pixels of the window from `point` rightwards, copied out of its
// device context (reading the window context directly is not supported
// everywhere).
std::vector<COLORREF> PixelsAt(HWND window, POINT point, int count)
{
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, count, 1);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, count, 1, dc, point.x, point.y, SRCCOPY);
    std::vector<COLORREF> colors;
    for (int x = 0; x < count; ++x)
        colors.push_back(GetPixel(memory, x, 0));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return colors;
}

COLORREF PixelAt(HWND window, POINT point)
{
    return PixelsAt(window, point, 1)[0];
}

// The product's accent blue, plain or lightened by a hover veil; never the
// white page behind it.
bool IsBlue(COLORREF color)
{
    return GetBValue(color) > 200 && GetBValue(color) - GetRValue(color) > 80;
}

// The progress bar's filled width: the run of blue pixels along the middle of
// its 9 rows, from the left of the label (40,140 on the page).
int BarWidth(HWND window)
{
    const std::vector<COLORREF> row = PixelsAt(window, {40, 190 + 140 + 4}, 620);
    return static_cast<int>(std::find_if_not(row.begin(), row.end(), IsBlue) - row.begin());
}

// Whether the shell holds the window's tray icon: only an icon that was
// added can be changed.
bool TrayIconShown(HWND window)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kalvex::kTrayIconId;
    data.uFlags = NIF_TIP;
    wcscpy(data.szTip, kalvex::kWindowTitle);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

// A scratch installation of `count` files listed one by one in the manifest
// copy in TEMP, plus a user file the manifest does not list, registered
// under the product's uninstall key with a shortcut.
class MainWndTest : public ::testing::Test {
protected:
    explicit MainWndTest(int count = 40)
        : m_root(L"mainwnd"), m_install(m_root / L"velko\\"), m_temp(L"TEMP", m_root / L"temp")
    {
        kalvex::test::UseProductSkin();
        CreateDirectoryW((m_root / L"temp").c_str(), nullptr);
        std::string manifest = "[";
        for (int i = 0; i < count; ++i) {
            const std::wstring name = L"file" + std::to_wstring(i) + L".dat";
            WriteFileBytes(m_install + name, "product");
            manifest += (i > 0 ? ",{\"name\":\"" : "{\"name\":\"") + std::string(name.begin(), name.end()) + "\"}";
        }
        manifest += "]";
        WriteFileBytes(m_root / L"temp\\kalvex.dat", manifest);
        WriteFileBytes(m_install + L"user_notes.txt", "keep me");
        WriteFileBytes(m_root / L"velko.lnk", "shortcut");
        SetValue(kalvex::kUninstallStringValue, m_install + L"kalvex.exe");
        SetValue(kalvex::kDisplayShortcutValue, m_root / L"velko.lnk");
    }
    ~MainWndTest() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey); }

    static void SetValue(const wchar_t* name, const std::wstring& value)
    {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    static bool KeyExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Creates, centres and runs the window as start-up does; the result of
    // the modal run.
    static UINT Run()
    {
        CMainWnd window;
        window.Create(nullptr, kalvex::kWindowTitle, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
        window.CentreOnOwner();
        return window.RunModal();
    }

    int FilesLeft(int count) const
    {
        int left = 0;
        for (int i = 0; i < count; ++i)
            left += PathExists(m_install + L"file" + std::to_wstring(i) + L".dat") ? 1 : 0;
        return left;
    }

    CScratchDir m_root;
    std::wstring m_install;
    CScopedEnvironment m_temp;
};

class MainWndSlowTest : public MainWndTest {
protected:
    MainWndSlowTest() : MainWndTest(kSlowCount) {}
    static constexpr int kSlowCount = 1500;
};

// One listed folder of 20,000 files: the worker spends seconds inside a
// single manifest entry. Wine checks each new name against its whole folder,
// so the files are spread over 20 subfolders to keep the set-up short.
class MainWndTreeTest : public MainWndTest {
protected:
    MainWndTreeTest() : MainWndTest(0)
    {
        for (int folder = 0; folder < kFolders; ++folder) {
            const std::wstring path = m_install + L"cache\\d" + std::to_wstring(folder) + L"\\";
            WriteFileBytes(path + L"f0", "");
            for (int i = 1; i < kTreeFiles / kFolders; ++i) {
                HANDLE file = CreateFileW((path + L"f" + std::to_wstring(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, 0, nullptr);
                if (file != INVALID_HANDLE_VALUE)
                    CloseHandle(file);
            }
        }
        WriteFileBytes(m_root / L"temp\\kalvex.dat", R"([{"name": "cache"}])");
    }
    int CacheFilesLeft() const
    {
        int left = 0;
        for (int folder = 0; folder < kFolders; ++folder) {
            WIN32_FIND_DATAW found = {};
            HANDLE search = FindFirstFileW((m_install + L"cache\\d" + std::to_wstring(folder) + L"\\*").c_str(),
                                           &found);
            if (search == INVALID_HANDLE_VALUE)
                continue;
            do {
                left += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ? 1 : 0;
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        return left;
    }
    static constexpr int kTreeFiles = 20000;
    static constexpr int kFolders = 20;
};

}  // namespace

TEST_F(MainWndSlowTest, UninstallGrowsTheBarReachesTheFinishedPageAndCloseEndsTheRun)
{
    bool confirmationWasWhite = false;
    int barBefore = -1;
    // The bar's width at each tick of the uninstall, and whether a manifest
    // file was still there just after it was read.
    std::vector<std::pair<int, bool>> bar;
    const std::wstring lastFile = m_install + L"file" + std::to_wstring(kSlowCount - 1) + L".dat";
    bool buttonLeftInPlace = false;
    CWindowScript script(L"CMainWnd", {
        [&](HWND w) {
            // The confirmation page, once drawn: the uninstall button's grey
            // border on the white page, the download button's place white.
            if (!IsWindowVisible(w) || PixelAt(w, kUninstallButtonTop) == kPageWhite)
                return false;
            confirmationWasWhite = !IsBlue(PixelAt(w, kDownloadButton));
            barBefore = BarWidth(w);
            return true;
        },
        [](HWND w) { PostClick(w, kUninstallButton); return true; },
        [&](HWND w) {
            if (IsBlue(PixelAt(w, kDownloadButton)))
                return true;
            const int width = BarWidth(w);
            bar.emplace_back(width, PathExists(lastFile));
            buttonLeftInPlace |= PixelAt(w, kUninstallButtonTop) != kPageWhite;
            return false;
        },
        [](HWND w) { PostClick(w, kCloseButton); return true; },
    }, 50);
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(4u, script.StepsRun()) << "the finished page never showed";
    EXPECT_TRUE(confirmationWasWhite);
    EXPECT_EQ(0, barBefore) << "a bar before the uninstall";
    // The bar grows 5 pixels a tick (its rounded head may blend into the
    // page by one pixel), never shrinks, and waits at 205 while files remain.
    ASSERT_FALSE(bar.empty());
    int previous = 0;
    bool grewWhileFilesRemained = false;
    for (const auto& [width, filesLeft] : bar) {
        EXPECT_TRUE(width % 5 == 0 || width % 5 == 4) << width;
        EXPECT_GE(width, previous);
        EXPECT_LE(width, 600);
        if (filesLeft) {
            EXPECT_LE(width, 205);
        }
        grewWhileFilesRemained |= filesLeft && width > 0;
        previous = width;
    }
    EXPECT_TRUE(grewWhileFilesRemained) << "the bar never showed during the uninstall";
    EXPECT_FALSE(buttonLeftInPlace) << "the uninstall button stayed on the progress page";
    EXPECT_EQ(0, FilesLeft(kSlowCount));
    EXPECT_TRUE(PathExists(m_install + L"user_notes.txt"));
    EXPECT_FALSE(PathExists(m_root / L"velko.lnk"));
    EXPECT_FALSE(KeyExists());
}

// The three pages as a screen reader reads them from outside the toolkit,
// with the uninstall started and the window closed through default actions
// alone: no mouse, no key. The slow installation keeps the progress page up
// long enough to be read: the finished page follows the worker at once.
TEST_F(MainWndSlowTest, AReaderReadsEachPageAndUninstallsThroughDefaultActionsAlone)
{
    using namespace DuiLib::test;
    CComApartment com;
    std::wstring confirmation;
    std::wstring progress;
    std::wstring finished;
    ElementFacts uninstall;
    ElementFacts close;
    std::wstring hitName;
    POINT origin = {0, 0};
    HRESULT started = E_FAIL;
    HRESULT closed = E_FAIL;
    AccessiblePtr keptButton;
    // The page's element named name once the window is laid out, or null.
    const auto laidOut = [](IAccessible* client, const wchar_t* name) {
        AccessiblePtr element = client != nullptr ? FindElement(client, name) : nullptr;
        return element != nullptr && ReadElement(element.get()).screen.right > 0 ? std::move(element) : nullptr;
    };
    CWindowScript script(L"CMainWnd", {
        [&](HWND w) {
            AccessiblePtr client = ClientElement(w);
            AccessiblePtr button = laidOut(client.get(), L"继续卸载");
            if (button == nullptr)
                return false;
            ClientToScreen(w, &origin);
            confirmation = TreeText(client.get());
            uninstall = ReadElement(button.get());
            close = ReadElement(FindElement(client.get(), L"关闭").get());
            POINT centre = kUninstallButton;
            ClientToScreen(w, &centre);
            AccessiblePtr hit = HitElement(client.get(), centre);
            hitName = hit != nullptr ? ReadElement(hit.get()).name : L"";
            started = button->accDoDefaultAction(SelfChild());
            keptButton = std::move(button);
            return true;
        },
        [&](HWND w) {
            AccessiblePtr client = ClientElement(w);
            if (laidOut(client.get(), L"正在卸载，请稍候…") == nullptr)
                return false;
            progress = TreeText(client.get());
            return true;
        },
        [&](HWND w) {
            AccessiblePtr client = ClientElement(w);
            if (laidOut(client.get(), L"下载新版本") == nullptr)
                return false;
            finished = TreeText(client.get());
            closed = FindElement(client.get(), L"关闭")->accDoDefaultAction(SelfChild());
            return true;
        },
    }, 50);
    EXPECT_EQ(0u, Run());
    ASSERT_EQ(3u, script.StepsRun()) << "a page never showed to the reader";
    EXPECT_EQ(S_OK, started);
    EXPECT_EQ(S_OK, closed);
    EXPECT_EQ(0, FilesLeft(kSlowCount)) << "the action did not run the uninstall";
    EXPECT_FALSE(KeyExists());

    // The uninstall button as "main.xml" places it: 150 x 42 at 178,138 of
    // the page that starts at y = 190; the close button, 28 x 28, 8 from the
    // top and right edges.
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, uninstall.role);
    EXPECT_EQ(L"按下", uninstall.action);
    EXPECT_NE(0, uninstall.state & STATE_SYSTEM_FOCUSABLE);
    const RECT button = {origin.x + 178, origin.y + 190 + 138, origin.x + 178 + 150, origin.y + 190 + 138 + 42};
    EXPECT_TRUE(EqualRect(&button, &uninstall.screen));
    EXPECT_EQ(L"继续卸载", hitName) << "the hit test at the button's centre";
    EXPECT_EQ(ROLE_SYSTEM_PUSHBUTTON, close.role) << "the image-only close button is named by its tool tip";
    const RECT closeButton = {origin.x + 644, origin.y + 8, origin.x + 672, origin.y + 36};
    EXPECT_TRUE(EqualRect(&closeButton, &close.screen));

    // What each page says, in reading order.
    const auto has = [](const std::wstring& tree, const wchar_t* line) { return tree.find(line) != std::wstring::npos; };
    for (const wchar_t* line : {L"static text | 卸载向导", L"push button | 关闭", L"static text | 卸载 Velko加速器",
                                L"static text | 卸载将移除程序文件、快捷方式及注册信息", L"push button | 继续卸载",
                                L"push button | 我再想想"})
        EXPECT_TRUE(has(confirmation, line)) << line;
    EXPECT_LT(confirmation.find(L"继续卸载"), confirmation.find(L"我再想想"));
    EXPECT_FALSE(has(confirmation, L"正在卸载"));
    // The bar behind the label reads as a progress bar with the share done.
    EXPECT_TRUE(has(progress, L"progress bar | 正在卸载，请稍候… | ")) << progress;
    EXPECT_TRUE(has(progress, L"% | read only")) << progress;
    EXPECT_FALSE(has(progress, L"继续卸载"));
    EXPECT_FALSE(has(progress, L"我再想想"));
    for (const wchar_t* line : {L"static text | 卸载完成", L"static text | 感谢您一路相伴，期待与您再次相遇",
                                L"push button | 下载新版本"})
        EXPECT_TRUE(has(finished, line)) << line;
    EXPECT_FALSE(has(finished, L"正在卸载"));

    // A reader that kept an element past the window gets an error.
    BSTR name = nullptr;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, keptButton->get_accName(SelfChild(), &name));
}

// The window answers a hit test at a client point as the shell would ask.
LRESULT HitTest(HWND window, POINT point)
{
    ClientToScreen(window, &point);
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
}

TEST_F(MainWndTest, EnterIsIgnoredTheSystemCloseHidesAndTheTrayShowsAgain)
{
    bool visibleAfterEnter = false;
    bool hiddenAfterClose = true;
    LRESULT overBand = 0;
    LRESULT overClose = 0;
    LRESULT belowCaption = 0;
    bool trayIcon = false;
    bool trayIconBack = false;
    bool roundCorners = false;
    CWindowScript script(L"CMainWnd", {
        [&](HWND w) {
            // The skin's 12-pixel round corners cut the window's very corner
            // off its region, and only the corner.
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            roundCorners = GetWindowRgn(w, region) != ERROR && !PtInRegion(region, 0, 0) &&
                           PtInRegion(region, 6, 6) && PtInRegion(region, 340, 0);
            DeleteObject(region);
            // After the shell restarts ("TaskbarCreated") the icon comes back.
            trayIcon = TrayIconShown(w);
            NOTIFYICONDATAW icon = {};
            icon.cbSize = sizeof icon;
            icon.hWnd = w;
            icon.uID = kalvex::kTrayIconId;
            Shell_NotifyIconW(NIM_DELETE, &icon);
            SendMessageW(w, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
            trayIconBack = TrayIconShown(w);
            // The band (caption 0,0,0,190) drags the window from its very
            // first pixel, except at its close button; the page from the
            // first row below it does not.
            overBand = HitTest(w, {0, 0});
            overClose = HitTest(w, kCloseButton);
            belowCaption = HitTest(w, {100, 190});
            return true;
        },
        [](HWND w) { kalvex::test::PostKey(w, VK_RETURN); return true; },
        [&](HWND w) { visibleAfterEnter = IsWindowVisible(w) != 0; return true; },
        [](HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); return true; },
        [&](HWND w) { hiddenAfterClose = IsWindowVisible(w) == 0; return true; },
        [](HWND w) { PostMessageW(w, kalvex::kTrayCallbackMessage, kalvex::kTrayIconId, WM_LBUTTONUP); return true; },
        [](HWND w) { return IsWindowVisible(w) != 0; },
        [](HWND w) { PostClick(w, kCloseButton); return true; },
    });
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(8u, script.StepsRun());
    EXPECT_TRUE(roundCorners) << "the window keeps square corners";
    EXPECT_TRUE(trayIcon) << "no tray icon";
    EXPECT_TRUE(trayIconBack) << "the tray icon was not added again";
    EXPECT_EQ(HTCAPTION, overBand);
    EXPECT_EQ(HTCLIENT, overClose);
    EXPECT_EQ(HTCLIENT, belowCaption);
    EXPECT_TRUE(visibleAfterEnter);
    EXPECT_TRUE(hiddenAfterClose);
    EXPECT_EQ(40, FilesLeft(40)) << "nothing is deleted without the uninstall button";
    EXPECT_TRUE(KeyExists());
}

// A running client is asked about over the painted window, with the tray
// icon already up; the answer "确定" ends the client, and nothing is deleted
// until the uninstall button is pressed.
TEST_F(MainWndTest, TheRunningClientQuestionComesOverAPaintedWindowAndOkEndsTheClient)
{
    kalvex::test::CSleeperProcesses sleepers(L"client");
    HANDLE client = sleepers.Start(L"c", L"velko.exe");
    ASSERT_NE(nullptr, client);
    ASSERT_TRUE(kalvex::IsClientRunning());
    // The blue band left of the box centred on the window.
    constexpr POINT kBandLeft = {20, 100};
    COLORREF bandUnderTheQuestion = 0;
    bool trayIconUnderTheQuestion = false;
    CWindowScript script(L"CMainWnd", {
        [&](HWND main) {
            HWND box = FindWindowW(L"CMessageBoxExWnd", nullptr);
            if (box == nullptr)
                return false;
            bandUnderTheQuestion = PixelAt(main, kBandLeft);
            trayIconUnderTheQuestion = TrayIconShown(main);
            PostClick(box, {10 + 47 + 4, 10 + 185 + 15});
            return true;
        },
        [](HWND) { return FindWindowW(L"CMessageBoxExWnd", nullptr) == nullptr; },
        [](HWND main) { PostClick(main, kCloseButton); return true; },
    });
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(3u, script.StepsRun()) << "no question about the running client";
    EXPECT_GT(GetBValue(bandUnderTheQuestion) - GetRValue(bandUnderTheQuestion), 80)
        << "the window under the question was not painted";
    EXPECT_TRUE(trayIconUnderTheQuestion);
    EXPECT_TRUE(kalvex::test::CSleeperProcesses::EndsWithin(client, 5000)) << "the client still runs";
    EXPECT_EQ(40, FilesLeft(40));
    EXPECT_TRUE(KeyExists());
}

TEST_F(MainWndTreeTest, ExitInsideAListedFolderStopsTheWorkerWithoutTerminatingIt)
{
    ASSERT_EQ(kTreeFiles, CacheFilesLeft()) << "the folder was not made";
    kalvex::ProcessLog().Init(m_root / L"log2.log", kalvex::kLogLimitKb);
    CWindowScript script(L"CMainWnd", {
        [](HWND w) { PostClick(w, kUninstallButton); return true; },
        // The walk is inside the folder once its first files are gone.
        [&](HWND) { return CacheFilesLeft() < kTreeFiles; },
        [](HWND w) {
            // A completion message racing the exit routine must do no harm.
            PostMessageW(w, kalvex::kUninstallDoneMessage, 0, 0);
            PostClick(w, kCloseButton);
            return true;
        },
    });
    EXPECT_EQ(0u, Run());
    EXPECT_EQ(3u, script.StepsRun());
    EXPECT_GT(CacheFilesLeft(), 0) << "the worker ran to the end although asked to stop";
    EXPECT_TRUE(KeyExists()) << "a stopped worker must not go on to the registry";
    EXPECT_TRUE(PathExists(m_root / L"velko.lnk")) << "a stopped worker must not go on to the shortcut";
    EXPECT_TRUE(PathExists(m_install + L"user_notes.txt"));
    const std::string log = kalvex::test::ReadFileBytes(m_root / L"log2.log");
    const std::wstring text(reinterpret_cast<const wchar_t*>(log.data()), log.size() / sizeof(wchar_t));
    EXPECT_EQ(std::wstring::npos, text.find(L"terminated")) << "the worker had to be terminated";
}

TEST(ProgressRules, BarGrowsFromTenToSixHundredAndWaitsForTheWorker)
{
    unsigned width = kalvex::kProgressStart;
    int ticks = 0;
    // First tick: 5 + 5.
    EXPECT_EQ(10u, kalvex::NextProgressWidth(width, false, false));
    // Without the files the bar stops right after passing 200.
    while (unsigned next = kalvex::NextProgressWidth(width, false, false)) {
        width = next;
        ++ticks;
    }
    EXPECT_EQ(205u, width);
    // The worker re-arms the timer after the files: on to just past 400.
    while (unsigned next = kalvex::NextProgressWidth(width, true, false)) {
        width = next;
        ++ticks;
    }
    EXPECT_EQ(405u, width);
    while (unsigned next = kalvex::NextProgressWidth(width, true, true)) {
        width = next;
        ++ticks;
    }
    EXPECT_EQ(600u, width);
    EXPECT_EQ(119, ticks);
    EXPECT_EQ(0u, kalvex::NextProgressWidth(600, true, true));
}

// A window whose handler throws, as a faulty handler of the application's
// would; a timer ends the run should nothing else.
class CThrowingWnd : public DuiLib::CWindowWnd {
public:
    static constexpr UINT kFault = WM_APP + 7;
    const wchar_t* WindowClassName() const override { return L"KalvexThrowingWnd"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kFault)
            throw std::runtime_error("handler fault");
        if (message == WM_TIMER) {
            s_timedOut = true;
            DestroyWindow(GetHWND());
            return 0;
        }
        return CWindowWnd::ProcessWindowMessage(message, wParam, lParam);
    }
    static bool s_timedOut;
};
bool CThrowingWnd::s_timedOut = false;

TEST(WindowFault, AnExceptionFromAHandlerIsLoggedAndEndsTheModalRun)
{
    CScratchDir dir(L"fault");
    kalvex::ProcessLog().Init(dir / L"log2.log", kalvex::kLogLimitKb);
    DuiLib::CWindowWnd::SetExceptionReport(&kalvex::ReportWindowException);
    CThrowingWnd window;
    ASSERT_NE(nullptr, window.Create(nullptr, L"fault", WS_POPUP, 0, 0, 0, 80, 60));
    ::SetTimer(window.GetHWND(), 1, 5000, nullptr);
    window.PostMessage(CThrowingWnd::kFault);
    window.RunModal();
    // The run ends on the quit message, which the loop posts again for the
    // loop outside it: taken away here, it would end the next test's run.
    MSG quit = {};
    const bool quitPosted = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    DuiLib::CWindowWnd::SetExceptionReport(nullptr);
    EXPECT_FALSE(CThrowingWnd::s_timedOut) << "the exception did not end the run";
    EXPECT_TRUE(quitPosted);
    const std::string log = kalvex::test::ReadFileBytes(dir / L"log2.log");
    EXPECT_NE(std::wstring::npos, std::wstring(reinterpret_cast<const wchar_t*>(log.data()), log.size() / 2)
                                      .find(L"\u7a0b\u5e8f\u53d1\u751f\u4e86\u5f02\u5e38"));
}

// A main window whose skin cannot be built. The toolkit keeps the first
// archive a process hands it, so the window is made in a child process that
// hands it a damaged one; run alone, the child's half is skipped.
TEST(SkinFailureChild, MainWindowIsNotCreated)
{
    wchar_t log[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"KALVEX_SKIN_FAILURE_LOG", log, MAX_PATH) == 0)
        GTEST_SKIP() << "the child half of SkinFailure.AMainWindowWithoutASkinIsNotCreatedAndSaysSo";
    static unsigned char damaged[] = "PK\3\4 not an archive";
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    DuiLib::CUIManager::SetSkinZipFromMemory(damaged, sizeof damaged, "kTfWqR4m");
    kalvex::ProcessLog().Init(log, kalvex::kLogLimitKb);
    CMainWnd window;
    EXPECT_EQ(nullptr, window.Create(nullptr, kalvex::kWindowTitle, WS_VISIBLE, 0, 0, 0, 0, 0));
}

TEST(SkinFailure, AMainWindowWithoutASkinIsNotCreatedAndSaysSo)
{
    CScratchDir dir(L"skinless");
    CScopedEnvironment log(L"KALVEX_SKIN_FAILURE_LOG", dir / L"log2.log");
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(0, kalvex::test::RunProcess(self, L"--gtest_filter=SkinFailureChild.*", 60000));
    const std::string bytes = kalvex::test::ReadFileBytes(dir / L"log2.log");
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_NE(std::wstring::npos, text.find(L"main.xml")) << "the log must say why";
}
