// The uninstaller as a user meets it: the sample product is installed with
// its real installer, kalvex.exe is started from the install directory, and
// every step is driven with real mouse and keyboard input on its windows.
#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace kalvex::e2e {
namespace {

// Click points in the message box, worked out from its fixed control tree:
// the 335 x 255 window is layered with a 10-pixel shadow ring, so the root
// spans (10,10)-(325,245); the 50-high button row at its bottom spans
// y 195..245 and its 30-high buttons sit at its top, y 195..225. The 315-wide
// row shares what the 100-wide buttons (and the 20-wide gap) leave equally
// between its two spacers: with OK and cancel (315 - 220) / 2 = 47, so OK
// spans x 57..157 and cancel 177..277; with OK alone (315 - 100) / 2 = 107,
// so OK spans x 117..217.
constexpr SIZE kBoxSize = {335, 255};
constexpr POINT kBoxOkOfTwo = {107, 210};
constexpr POINT kBoxCancel = {227, 210};
constexpr POINT kBoxOkAlone = {167, 210};

// Click points in the main window come from its skin: main.xml from the
// archive inside the installed kalvex.exe, laid out by the toolkit in a hidden
// window of the skin's size (see LayOutMainSkin).
constexpr wchar_t kCloseButton[] = L"close_btn";
constexpr wchar_t kUninstallButton[] = L"unins_btn";
constexpr wchar_t kKeepButton[] = L"no_unins_btn";
// The confirmation page, where the pages differ.
constexpr wchar_t kConfirmationPage[] = L"unins_ver";

constexpr UINT kTrayCallback = WM_USER + 1000;
constexpr UINT kTrayId = 1000;

// What a run of the flow did, for the person running it (scripts/run.sh
// shows this when there is no display to watch): each top-level entry of the
// install directory with the number of entries below it.
void PrintOutcome(const std::vector<std::wstring>& before, const std::vector<std::wstring>& after,
                  bool shortcutLeft, const std::vector<std::wstring>& shots)
{
    auto print = [](const char* heading, const std::vector<std::wstring>& entries) {
        std::printf("%s\n", heading);
        for (const std::wstring& entry : entries) {
            if (entry.find(L'\\') != std::wstring::npos)
                continue;
            const auto below = std::count_if(entries.begin(), entries.end(), [&](const std::wstring& other) {
                return other.compare(0, entry.size() + 1, entry + L"\\") == 0;
            });
            if (below > 0)
                std::printf("  %s (and %d entries below it)\n", Utf8(entry).c_str(), static_cast<int>(below));
            else
                std::printf("  %s\n", Utf8(entry).c_str());
        }
    };
    std::vector<std::wstring> removed;
    for (const std::wstring& entry : before)
        if (std::find(after.begin(), after.end(), entry) == after.end())
            removed.push_back(entry);
    print("removed from the install directory:", removed);
    print("left in the install directory:", after);
    std::printf("uninstall key: %s; desktop shortcut: %s\n", UninstallKeyExists() ? "still there" : "removed",
                shortcutLeft ? "still there" : "removed");
    std::printf("screenshots:\n");
    for (const std::wstring& shot : shots)
        std::printf("  %s\n", Utf8(shot).c_str());
}

// Pixels that differ between two shots of the same window inside `area`.
int DifferingPixels(const CShot& a, const CShot& b, RECT area)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int differing = 0;
    for (int y = area.top; y < std::min<int>(area.bottom, a.height); ++y)
        for (int x = area.left; x < std::min<int>(area.right, a.width); ++x)
            differing += (a.pixels[y * a.width + x] & 0xFFFFFF) != (b.pixels[y * b.width + x] & 0xFFFFFF);
    return differing;
}

// The progress bar's filled width in a shot of the main window: the run of
// the accent blue along the middle of its 9 rows, which main.xml floats 40,140
// into the confirmation page.
int BarWidth(const CShot& shot, RECT page)
{
    const int y = page.top + 140 + 4;
    int x = page.left + 40;
    for (; y < shot.height && x < shot.width; ++x) {
        const DWORD pixel = shot.pixels[y * shot.width + x];
        if ((pixel & 0xFF) <= 200 || (pixel & 0xFF) - ((pixel >> 16) & 0xFF) <= 80)
            break;
    }
    return x - (page.left + 40);
}

// A window's picture once it is painted and settled: a skinned window shows
// far more than a few dozen colours (a blank area, or the desktop with the
// tray's icon, does not), and two captures 50 ms apart agree, so the window
// is neither still being placed nor half drawn.
CShot PaintedShot(HWND window)
{
    CShot previous = CaptureWindow(window);
    CShot shot;
    const bool settled = WaitUntil(
        [&] {
            Sleep(50);
            shot = CaptureWindow(window);
            const bool same = shot.width == previous.width && shot.pixels == previous.pixels;
            previous = shot;
            return same && shot.DistinctColours() > 64;
        },
        kWindowWaitMs);
    EXPECT_TRUE(settled) << "the window was never painted";
    return shot;
}

class UninstallerScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_product.Install());
        // Laid out once: every scenario installs the same kalvex.exe.
        static MainSkinLayout layout;
        static const bool laidOut = LayOutMainSkin(
            m_product.Uninstaller(), {kCloseButton, kUninstallButton, kKeepButton, kConfirmationPage}, layout);
        ASSERT_TRUE(laidOut);
        for (const auto& control : layout.controls)
            ASSERT_FALSE(IsRectEmpty(&control.second)) << "main.xml has no visible " << Utf8(control.first);
        m_skin = &layout;
    }

    bool ClickOn(HWND main, const wchar_t* control) { return ClickAt(main, m_skin->Centre(m_skin->Control(control))); }

    // Starts the installed kalvex.exe as the user would and returns the
    // relaunched copy in TEMP: the first process must hand over and end with 0.
    HANDLE StartRelocated(const CScratchDir& temp)
    {
        HANDLE first = m_processes.StartClean(m_product.Uninstaller(), temp.Path());
        if (first == nullptr)
            return nullptr;
        EXPECT_EQ(0, WaitForExitCode(first, kExitWaitMs)) << "the first process did not hand over and end with 0";
        HANDLE copy = m_processes.WaitForProcessByPath(temp / L"kalvex.exe", kWindowWaitMs);
        EXPECT_NE(nullptr, copy) << "no copy of kalvex.exe runs from TEMP";
        return copy;
    }

    void ExpectProductUntouched()
    {
        for (const std::wstring& entry : CSampleProduct::ManifestEntries())
            EXPECT_TRUE(PathExists(m_product / entry)) << "removed: " << Utf8(entry);
        EXPECT_TRUE(UninstallKeyExists());
        EXPECT_TRUE(PathExists(m_product.Shortcut()));
    }

    CSampleProduct m_product;
    const MainSkinLayout* m_skin = nullptr;
    CScratchDir m_temp{L"e2etemp"};
    CScratchDir m_standIns{L"standins"};
    CProcessSet m_processes;
};

}  // namespace

using UserFlow = UninstallerScenario;

TEST_F(UserFlow, UninstallsEverythingListedAfterConfirmingTheRunningClient)
{
    // The installed client and its VPN helper, two helpers of the same name
    // elsewhere, and a program whose name differs only in letter case.
    HANDLE client = m_processes.Start(m_product / L"velko.exe");
    HANDLE vpn = m_processes.Start(m_product / L"bin\\openvpn.exe");
    HANDLE quiv1 = m_processes.StartStandIn(m_standIns.Path(), L"quiv.exe");
    HANDLE quiv2 = m_processes.StartStandIn(m_standIns.Path(), L"quiv.exe");
    HANDLE upper = m_processes.StartStandIn(m_standIns.Path(), L"VELKO.EXE");
    ASSERT_TRUE(client && vpn && quiv1 && quiv2 && upper);
    test::CPendingDeletes pending;
    const std::vector<std::wstring> installed = ListTree(m_product.Directory());
    std::vector<std::wstring> shots;

    HANDLE copy = StartRelocated(m_temp);
    ASSERT_NE(nullptr, copy);
    EXPECT_TRUE(PathExists(m_temp / L"kalvex.dat")) << "the manifest was not copied into TEMP";

    HWND box = WaitForAppWindow(kBoxClass, ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, box) << "no confirmation box while the client runs";
    EXPECT_EQ(kBoxSize.cx, WindowSize(box).cx);
    EXPECT_EQ(kBoxSize.cy, WindowSize(box).cy);
    MovePointerTo(POINT{5, 5});
    shots.push_back(SavePng(PaintedShot(box), L"flow1_confirm_box"));
    ASSERT_TRUE(ClickAt(box, kBoxOkOfTwo));

    for (HANDLE listed : {client, vpn, quiv1, quiv2})
        EXPECT_EQ(0, WaitForExitCode(listed, kExitWaitMs)) << "a listed program was not terminated";
    EXPECT_TRUE(IsRunning(upper)) << "VELKO.EXE differs in letter case and must survive";

    HWND main = WaitForAppWindow(kMainClass, ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, main) << "no main window after the confirmation";
    EXPECT_FALSE(IsWindow(box) && IsWindowVisible(box));
    EXPECT_EQ(m_skin->window.cx, WindowSize(main).cx);
    EXPECT_EQ(m_skin->window.cy, WindowSize(main).cy);
    // Pointer off the window so no button shows its hot state in the shot.
    MovePointerTo(POINT{5, 5});
    const CShot confirmation = PaintedShot(main);
    shots.push_back(SavePng(confirmation, L"flow2_confirmation_page"));
    ExpectProductUntouched();

    ASSERT_TRUE(ClickOn(main, kUninstallButton));
    MovePointerTo(POINT{5, 5});
    // The worker removes the cache tree in a fraction of a second, so the
    // progress bar is caught by capturing at once and again while the
    // uninstall key exists: a picture taken then was certainly taken before
    // the finished page. The bar only grows, 5 pixels a tick (its rounded
    // head may blend into the page by one pixel).
    EXPECT_EQ(0, BarWidth(confirmation, m_skin->Control(kConfirmationPage))) << "a bar before the uninstall";
    CShot progress;
    int widest = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        CShot shot = CaptureWindow(main);
        if (!UninstallKeyExists())
            break;
        const int width = BarWidth(shot, m_skin->Control(kConfirmationPage));
        EXPECT_TRUE(width == 0 || width % 5 == 0 || width % 5 == 4) << width;
        EXPECT_LE(width, 600);
        if (width > widest) {
            widest = width;
            progress = std::move(shot);
        }
    }
    EXPECT_GT(widest, 0) << "no progress bar was seen during the uninstall";
    if (widest > 0)
        shots.push_back(SavePng(progress, L"flow3_uninstalling"));

    // The worker's last step deletes the uninstall key; the finished page
    // follows with the completion message.
    ASSERT_TRUE(WaitUntil([] { return !UninstallKeyExists(); }, kUninstallWaitMs)) << "the uninstall never ended";
    MovePointerTo(POINT{5, 5});
    EXPECT_TRUE(WaitUntil(
        [&] { return DifferingPixels(confirmation, CaptureWindow(main), m_skin->Control(kConfirmationPage)) > 5000; },
        kWindowWaitMs))
        << "the finished page did not show";
    const CShot finished = PaintedShot(main);
    shots.push_back(SavePng(finished, L"flow4_finished_page"));
    // The running copy cannot delete itself: it and its manifest go at the
    // next restart.
    EXPECT_TRUE(test::CPendingDeletes::Names(m_temp / L"kalvex.exe"));
    EXPECT_TRUE(test::CPendingDeletes::Names(m_temp / L"kalvex.dat"));
    for (const std::wstring& shot : shots)
        EXPECT_FALSE(shot.empty()) << "a screenshot was not written";

    for (const std::wstring& entry : CSampleProduct::ManifestEntries())
        EXPECT_FALSE(PathExists(m_product / entry)) << "still there: " << Utf8(entry);
    EXPECT_FALSE(PathExists(m_product.Shortcut())) << "the desktop shortcut is still there";
    EXPECT_TRUE(PathExists(m_product / L"user_notes.txt")) << "the user's own file was removed";
    EXPECT_TRUE(PathExists(m_product.NeighbourFile())) << "a file outside the install directory was removed";
    EXPECT_TRUE(PathExists(m_temp / L"kalvex.dat"));
    EXPECT_TRUE(IsRunning(upper));
    PrintOutcome(installed, ListTree(m_product.Directory()), PathExists(m_product.Shortcut()), shots);

    ASSERT_TRUE(ClickOn(main, kCloseButton));
    EXPECT_EQ(0, WaitForExitCode(copy, kExitWaitMs)) << "the close button did not end the program with 0";
}

// How the user declines the confirmation: its cancel button or Escape.
class DeclinedConfirmation : public UninstallerScenario, public ::testing::WithParamInterface<bool> {};

TEST_P(DeclinedConfirmation, EndsWithZeroAndChangesNothing)
{
    const bool byEscape = GetParam();
    HANDLE client = m_processes.Start(m_product / L"velko.exe");
    ASSERT_NE(nullptr, client);
    HANDLE copy = StartRelocated(m_temp);
    ASSERT_NE(nullptr, copy);
    HWND box = WaitForAppWindow(kBoxClass, ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, box);
    PaintedShot(box);
    if (byEscape)
        PressKeys(box, {VK_ESCAPE});
    else
        ASSERT_TRUE(ClickAt(box, kBoxCancel));

    EXPECT_EQ(0, WaitForExitCode(copy, kExitWaitMs));
    EXPECT_EQ(nullptr, FindAppWindow(kMainClass, ProcessIdOf(copy), false));
    EXPECT_TRUE(IsRunning(client)) << "the client was terminated although the user declined";
    ExpectProductUntouched();
}

INSTANTIATE_TEST_SUITE_P(Confirmation, DeclinedConfirmation, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Escape" : "CancelButton";
                         });

using SingleInstance = UninstallerScenario;

TEST_F(SingleInstance, SecondStartBringsTheWindowForwardAndEndsWithZero)
{
    HANDLE copy = StartRelocated(m_temp);
    ASSERT_NE(nullptr, copy);
    HWND main = WaitForAppWindow(kMainClass, ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, main);
    PaintedShot(main);

    // The relocated copy started again finds the first window.
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));
    HANDLE again = m_processes.StartClean(m_temp / L"kalvex.exe", m_temp.Path());
    EXPECT_EQ(0, WaitForExitCode(again, kExitWaitMs));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }, 5000))
        << "the first window was not restored";

    // The installed kalvex.exe started again (another TEMP, so its own copy
    // can be written) hands over to a copy that finds the first window too.
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));
    CScratchDir otherTemp(L"e2etemp2");
    HANDLE second = m_processes.StartClean(m_product.Uninstaller(), otherTemp.Path());
    EXPECT_EQ(0, WaitForExitCode(second, kExitWaitMs));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }, kWindowWaitMs))
        << "the first window was not restored by a start from the install directory";
    // Started again with the same TEMP, the installed kalvex.exe cannot
    // overwrite the running copy there: it logs that and shows the first
    // window rather than nothing.
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }, 5000));
    HANDLE third = m_processes.StartClean(m_product.Uninstaller(), m_temp.Path());
    EXPECT_EQ(0, WaitForExitCode(third, kExitWaitMs));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(main) && IsWindowVisible(main); }, kWindowWaitMs))
        << "the first window was not restored after the failed self-copy";
    const std::string log = ReadFileBytes(m_product / L"log2.log");
    const std::wstring logText(reinterpret_cast<const wchar_t*>(log.data()), log.size() / sizeof(wchar_t));
    EXPECT_NE(std::wstring::npos, logText.find(L"复制到缓存目录失败,err=32")) << "no log line for the failed copy";

    // The three starts have ended, so any window they opened is gone too.
    EXPECT_EQ(main, FindAppWindow(kMainClass, 0, false));
    int mainWindows = 0;
    for (HWND w = FindWindowW(kMainClass, kWindowTitle); w != nullptr; w = FindWindowExW(nullptr, w, kMainClass, kWindowTitle))
        ++mainWindows;
    EXPECT_EQ(1, mainWindows) << "a second main window was opened";

    ASSERT_TRUE(ClickOn(main, kKeepButton));
    EXPECT_EQ(0, WaitForExitCode(copy, kExitWaitMs)) << "the keep button did not end the program with 0";
    ExpectProductUntouched();
}

using MissingManifest = UninstallerScenario;

TEST_F(MissingManifest, ShowsTheBoxWritesALogLineAndChangesNothingElse)
{
    ASSERT_TRUE(DeleteFileW((m_product / L"kalvex.dat").c_str()));
    const std::wstring log = m_product / L"log2.log";
    DeleteFileW(log.c_str());
    const time_t before = time(nullptr);

    HANDLE first = m_processes.StartClean(m_product.Uninstaller(), m_temp.Path());
    ASSERT_NE(nullptr, first);
    HWND box = WaitForAppWindow(kBoxClass, ProcessIdOf(first), kWindowWaitMs);
    ASSERT_NE(nullptr, box) << "no message box for the missing manifest";
    EXPECT_EQ(kBoxSize.cx, WindowSize(box).cx);
    MovePointerTo(POINT{5, 5});
    SavePng(PaintedShot(box), L"missing_manifest_box");

    ASSERT_TRUE(ClickAt(box, kBoxOkAlone));
    EXPECT_EQ(0, WaitForExitCode(first, kExitWaitMs));
    EXPECT_EQ(nullptr, FindAppWindow(kMainClass, 0, false)) << "a main window opened without a manifest";

    // One log line with an empty text: UTF-16LE with a byte-order mark,
    // "[yyyy-mm-dd hh:mm:ss]" in local time, then CR LF.
    const std::string bytes = ReadFileBytes(log);
    ASSERT_EQ(2u + 23u * 2u, bytes.size()) << "expected the byte-order mark and one empty line";
    EXPECT_EQ('\xFF', bytes[0]);
    EXPECT_EQ('\xFE', bytes[1]);
    std::wstring line(reinterpret_cast<const wchar_t*>(bytes.data() + 2), 23);
    SYSTEMTIME stamp = {};
    ASSERT_EQ(6, swscanf(line.c_str(), L"[%4hu-%2hu-%2hu %2hu:%2hu:%2hu]", &stamp.wYear, &stamp.wMonth, &stamp.wDay,
                         &stamp.wHour, &stamp.wMinute, &stamp.wSecond));
    EXPECT_EQ(L"]\r\n", line.substr(20));
    tm local = {};
    local.tm_year = stamp.wYear - 1900;
    local.tm_mon = stamp.wMonth - 1;
    local.tm_mday = stamp.wDay;
    local.tm_hour = stamp.wHour;
    local.tm_min = stamp.wMinute;
    local.tm_sec = stamp.wSecond;
    local.tm_isdst = -1;
    const time_t written = mktime(&local);
    EXPECT_GE(written, before - 1);
    EXPECT_LE(written, time(nullptr) + 1);

    for (const std::wstring& entry : CSampleProduct::ManifestEntries()) {
        if (entry != L"kalvex.dat") {
            EXPECT_TRUE(PathExists(m_product / entry)) << "removed: " << Utf8(entry);
        }
    }
    EXPECT_TRUE(UninstallKeyExists());
}

using PlantedCopies = UninstallerScenario;

TEST_F(PlantedCopies, LinksPlantedInTempNeverRedirectTheCopies)
{
    // Another program of the user's plants both names in TEMP as links to
    // files of its choosing before the uninstaller starts.
    CScratchDir victims(L"victims");
    WriteFileBytes(victims / L"system.exe", "system file");
    WriteFileBytes(victims / L"system.dat", "system data");
    test::CLinks links;
    ASSERT_TRUE(links.Make(m_temp / L"kalvex.exe", victims / L"system.exe", false));
    ASSERT_TRUE(links.Make(m_temp / L"kalvex.dat", victims / L"system.dat", false));
    const std::wstring log = m_product / L"log2.log";
    DeleteFileW(log.c_str());

    HANDLE first = m_processes.StartClean(m_product.Uninstaller(), m_temp.Path());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0, WaitForExitCode(first, kExitWaitMs));
    EXPECT_EQ("system file", ReadFileBytes(victims / L"system.exe"));
    EXPECT_EQ("system data", ReadFileBytes(victims / L"system.dat"));
    const std::string bytes = ReadFileBytes(log);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_NE(std::wstring::npos, text.find(L"\u590d\u5236\u5230\u7f13\u5b58\u76ee\u5f55\u5931\u8d25,err="))
        << "start-up must end as a failed copy does";
    EXPECT_EQ(nullptr, FindAppWindow(kMainClass, 0, false)) << "a main window opened from a planted copy";
    ExpectProductUntouched();
}

using MainWindowKeys = UninstallerScenario;

TEST_F(MainWindowKeys, EnterDoesNothingAltF4HidesAndTheTrayMenuExits)
{
    HANDLE copy = StartRelocated(m_temp);
    ASSERT_NE(nullptr, copy);
    HWND main = WaitForAppWindow(kMainClass, ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, main);
    PaintedShot(main);

    // Input is taken in order: once Alt+F4 has hidden the window, Enter
    // before it has been handled, and has neither closed the window nor
    // started the uninstall.
    PressKeys(main, {VK_RETURN});
    PressKeys(main, {VK_MENU, VK_F4});
    ASSERT_TRUE(WaitUntilHidden(main, kWindowWaitMs)) << "Alt+F4 did not hide the window";
    EXPECT_TRUE(IsRunning(copy)) << "Enter or Alt+F4 ended the program";
    EXPECT_TRUE(IsWindow(main));
    ExpectProductUntouched();

    // A right click on the tray icon reaches the window as the tray callback
    // with the mouse message in lParam; the menu then opens at the pointer.
    ASSERT_TRUE(MovePointerTo(POINT{300, 300}));
    PostMessageW(main, kTrayCallback, kTrayId, WM_RBUTTONDOWN);
    HWND menu = WaitForPopupMenu(ProcessIdOf(copy), kWindowWaitMs);
    ASSERT_NE(nullptr, menu) << "the tray menu did not open";
    Screenshot(menu, L"tray_menu");
    // Two items of equal height, "show window" above "exit program".
    const SIZE menuSize = WindowSize(menu);
    ASSERT_TRUE(ClickAt(menu, POINT{menuSize.cx / 2, menuSize.cy * 3 / 4}));
    EXPECT_EQ(0, WaitForExitCode(copy, kExitWaitMs)) << "the tray menu's exit entry did not end the program";
    ExpectProductUntouched();
}

}  // namespace kalvex::e2e
