// Times the gallery skin's window (gallery.xml of the skin test archive,
// copied beside the program at build time) while its GIF, rotating image and
// spinner run: the manager's paint of the area their timer ticks invalidated,
// against a full repaint of the same window, and against the paint of one
// pixel, which is what any paint costs the platform however little it draws
// (message, BeginPaint, the copy to the window, EndPaint). Then the placement
// of a tile layout of 2,000 items against a vertical layout of the same 2,000
// items.
// Prints CPU and wall time and the ratios.
// Run by hand: cmake/wine-run.sh build/bench/gallery_bench.exe [seconds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/BenchSupport.h"
#include "ui/control/TileLayoutUI.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/core/UIManager.h"
#include "ui/markup/LayoutBuilder.h"

using namespace DuiLib;
using bench::CBenchWindow;
using bench::Median;
using bench::ThreadCpuSeconds;
using bench::WallSeconds;

namespace {

// The password given to zip -P when the test archive was made.
constexpr char kPassword[] = "Skin-3Rn";
constexpr int kWidth = 560;
constexpr int kHeight = 420;
constexpr int kItems = 2000;

struct Figure
{
    double cpuMs = 0;   // CPU time per operation, over all of them
    double wallMs = 0;  // median wall time of one operation
    int count = 0;
};

// Runs operation until it has used at least cpuSeconds of CPU time (the
// thread clock ticks coarsely) and at least minimum times.
Figure Repeat(const std::function<void()>& operation, double cpuSeconds, int minimum)
{
    std::vector<double> wall;
    const double cpuStart = ThreadCpuSeconds();
    while (static_cast<int>(wall.size()) < minimum || ThreadCpuSeconds() - cpuStart < cpuSeconds)
    {
        const double start = WallSeconds();
        operation();
        wall.push_back((WallSeconds() - start) * 1e3);
    }
    Figure figure;
    figure.count = static_cast<int>(wall.size());
    figure.cpuMs = (ThreadCpuSeconds() - cpuStart) * 1e3 / figure.count;
    figure.wallMs = Median(wall);
    return figure;
}

// The animated controls of the gallery, by name.
const wchar_t* const kAnimated[] = {L"gif", L"rotate", L"spinner"};
constexpr int kAnimatedCount = 3;

struct AnimationFigures
{
    Figure frame;          // paint of what the ticks invalidated
    Figure alone[kAnimatedCount];  // frames that repainted one control only
    Figure tick;           // the timer handling itself
    double areaShare = 0;  // invalidated pixels per frame / client pixels
    RECT largest = {};     // the largest area one frame repainted
};

// Lets the window's animation timers run for seconds; each time ticks left
// an invalid area, its paint is timed alone.
AnimationFigures AnimationFrames(HWND window, CUIManager& manager, double seconds)
{
    AnimationFigures figures;
    std::vector<double> frameWall, tickWall, aloneWall[kAnimatedCount];
    double frameCpu = 0, tickCpu = 0, area = 0;
    const double end = WallSeconds() + seconds;
    while (WallSeconds() < end)
    {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        double cpu = ThreadCpuSeconds();
        double start = WallSeconds();
        bool ticked = false;
        while (PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE))
        {
            DispatchMessageW(&message);
            ticked = true;
        }
        if (!ticked)
            continue;
        tickWall.push_back((WallSeconds() - start) * 1e3);
        tickCpu += ThreadCpuSeconds() - cpu;
        RECT invalid = {};
        if (!GetUpdateRect(window, &invalid, FALSE))
            continue;
        const double pixels = static_cast<double>(invalid.right - invalid.left) * (invalid.bottom - invalid.top);
        if (pixels > static_cast<double>(figures.largest.right - figures.largest.left) *
                         (figures.largest.bottom - figures.largest.top))
            figures.largest = invalid;
        area += pixels;
        cpu = ThreadCpuSeconds();
        start = WallSeconds();
        UpdateWindow(window);
        GdiFlush();
        frameWall.push_back((WallSeconds() - start) * 1e3);
        frameCpu += ThreadCpuSeconds() - cpu;
        for (int i = 0; i < kAnimatedCount; ++i)
        {
            const IControlUI* control = manager.LocateControl(kAnimated[i]);
            const RECT place = control != nullptr ? static_cast<RECT>(control->GetPos()) : RECT{};
            if (EqualRect(&place, &invalid))
                aloneWall[i].push_back(frameWall.back());
        }
        // Anything else waiting (not painting, which was just done).
        while (PeekMessageW(&message, nullptr, 0, WM_TIMER - 1, PM_REMOVE))
            DispatchMessageW(&message);
    }
    figures.frame.count = static_cast<int>(frameWall.size());
    figures.tick.count = static_cast<int>(tickWall.size());
    if (figures.frame.count > 0)
    {
        figures.frame.cpuMs = frameCpu * 1e3 / figures.frame.count;
        figures.frame.wallMs = Median(frameWall);
        figures.areaShare = area / figures.frame.count / (static_cast<double>(kWidth) * kHeight);
    }
    for (int i = 0; i < kAnimatedCount; ++i)
    {
        figures.alone[i].count = static_cast<int>(aloneWall[i].size());
        figures.alone[i].wallMs = Median(aloneWall[i]);
    }
    if (figures.tick.count > 0)
    {
        figures.tick.cpuMs = tickCpu * 1e3 / figures.tick.count;
        figures.tick.wallMs = Median(tickWall);
    }
    return figures;
}

// A container of kItems plain controls, 96 x 72 each, placed over the
// gallery's page; the placement timed.
Figure Placement(CContainerUI* layout)
{
    for (int i = 0; i < kItems; ++i)
    {
        auto* item = new CControlUI();
        item->ApplyAttribute(L"width", L"96");
        item->ApplyAttribute(L"height", L"72");
        layout->Add(item);
    }
    const RECT page = {0, 0, kWidth - 20, kHeight - 120};
    layout->PlaceAt(page, false);
    const Figure figure = Repeat([&] { layout->PlaceAt(page, false); }, 0.5, 20);
    layout->Delete();
    return figure;
}

void Print(const char* what, const Figure& figure)
{
    std::printf("  %-46s cpu %8.3f ms  wall %8.3f ms  (%d times)\n", what, figure.cpuMs, figure.wallMs, figure.count);
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::max(1.0, std::atof(argv[1])) : 6.0;
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    // Kept for the life of the process, as the manager requires.
    static const std::vector<BYTE> archive = bench::ReadBesideProgram(L"skins.zip");
    if (archive.empty())
    {
        std::printf("skins.zip is missing beside the program\n");
        return 1;
    }
    CUIManager::SetSkinZipFromMemory(archive.data(), static_cast<unsigned>(archive.size()), kPassword);
    CBenchWindow window;
    if (CUIManager::GetSkinZipHandle() == nullptr ||
        !bench::OpenWindow(window, L"gallery bench", kWidth, kHeight, nullptr))
    {
        std::printf("the archive or the window cannot be opened\n");
        return 1;
    }
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(L"gallery.xml", nullptr, nullptr, &window.manager, nullptr);
    if (root == nullptr || !window.manager.AttachRootControl(root))
    {
        std::printf("gallery.xml did not build\n");
        return 1;
    }
    const HWND hwnd = window.GetHWND();
    // The first paint lays out, loads the pictures and starts the timers.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    bench::PumpMessages();

    const AnimationFigures animation = AnimationFrames(hwnd, window.manager, seconds);
    const Figure full = Repeat(
        [&] {
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            GdiFlush();
        },
        1.0, 50);
    const Figure corner = Repeat(
        [&] {
            const RECT dot = {kWidth - 2, kHeight - 2, kWidth - 1, kHeight - 1};
            InvalidateRect(hwnd, &dot, FALSE);
            UpdateWindow(hwnd);
            GdiFlush();
        },
        1.0, 50);
    window.Close();
    bench::PumpMessages();

    const Figure tile = Placement(new CTileLayoutUI());
    const Figure vertical = Placement(new CVerticalLayoutUI());

    std::printf("gallery_bench: %d x %d window of gallery.xml, GIF, rotating image and spinner running\n", kWidth,
                kHeight);
    Print("animation frame (paint of the invalid area)", animation.frame);
    Print("  (timer ticks that made it)", animation.tick);
    for (int i = 0; i < kAnimatedCount; ++i)
        std::printf("    frames of %-8ls alone: wall %8.3f ms  (%d times)\n", kAnimated[i], animation.alone[i].wallMs,
                    animation.alone[i].count);
    std::printf("  invalid area per frame: %.1f%% of the client; largest %ld,%ld,%ld,%ld\n",
                animation.areaShare * 100.0, animation.largest.left, animation.largest.top, animation.largest.right,
                animation.largest.bottom);
    Print("full repaint", full);
    Print("paint of one pixel", corner);
    std::printf("  ratio frame / full repaint: cpu %.3f  wall %.3f  (target below 0.1)\n",
                full.cpuMs > 0 ? animation.frame.cpuMs / full.cpuMs : 0.0,
                full.wallMs > 0 ? animation.frame.wallMs / full.wallMs : 0.0);
    std::printf("  ratio (frame - one-pixel paint) / full repaint: cpu %.3f  wall %.3f\n",
                full.cpuMs > 0 ? (animation.frame.cpuMs - corner.cpuMs) / full.cpuMs : 0.0,
                full.wallMs > 0 ? (animation.frame.wallMs - corner.wallMs) / full.wallMs : 0.0);
    std::printf("placement of %d items of 96 x 72 in %d x %d\n", kItems, kWidth - 20, kHeight - 120);
    Print("tile layout PlaceAt", tile);
    Print("vertical layout PlaceAt", vertical);
    std::printf("  ratio tile / vertical: cpu %.3f  wall %.3f\n", vertical.cpuMs > 0 ? tile.cpuMs / vertical.cpuMs : 0.0,
                vertical.wallMs > 0 ? tile.wallMs / vertical.wallMs : 0.0);
    return 0;
}
