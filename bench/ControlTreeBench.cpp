// Times the living control tree in a real 600 x 400 window: a full layout
// pass, a full repaint, and the invalidate-and-repaint of one control, in a
// tree of 2,000 controls (about 200 on screen, the rest scrolled out or in a
// hidden part) and in a tree of the same picture with only the controls on
// screen. The floor is a plain BitBlt of the client size to the window.
// Prints the median CPU time of the painting thread (and the wall time) per
// operation, and each figure against the floor.
// It also deletes attached trees of 2,000 and 20,000 named controls: the
// ratio of the two times shows whether deletion is linear in the tree's size.
// A tree that was just built is still in the processor's caches when it is
// small and mostly not when it is large, which alone makes the large one cost
// more per control; so the ratio is also given with the caches emptied before
// each deletion, as for a tree built long before. Beside them, the ratio for
// freeing as many blocks of a control's size: the memory alone.
// Run by hand: cmake/wine-run.sh build/bench/control_tree_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/BenchSupport.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/ControlUI.h"
#include "ui/control/HorizontalLayoutUI.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

using namespace DuiLib;
using bench::CBenchWindow;
using bench::Median;
using bench::PumpMessages;
using bench::ThreadCpuSeconds;
using bench::WallSeconds;

namespace {

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 400;
constexpr int kTotalControls = 2000;
// Timed samples per figure; each sample repeats the operation until it has
// used enough CPU time for the platform's thread clock to resolve it.
constexpr int kSamples = 7;
constexpr double kSampleSeconds = 0.25;

// ---- The tree ---------------------------------------------------------------

struct TreeShape
{
    int navItems;     // rows of the scrolled navigation column
    int mainRows;     // rows of eight cells in the scrolled main column
    int hiddenItems;  // controls in the collapsed part of the side column
};

struct BuiltTree
{
    CVerticalLayoutUI* root = nullptr;
    CControlUI* probe = nullptr;  // a cell on screen, repainted alone
    int controls = 0;
};

class CTreeBuilder
{
public:
    template <class T>
    T* Make()
    {
        ++m_count;
        return new T();
    }

    CControlUI* Cell(int width, int height, DWORD color)
    {
        CControlUI* cell = Make<CControlUI>();
        cell->SetFixedWidth(width);
        cell->SetFixedHeight(height);
        cell->SetBkColor(color);
        cell->SetBorderColor(0xFF303030);
        cell->SetBorderSize(1);
        return cell;
    }

    BuiltTree Build(const TreeShape& shape)
    {
        BuiltTree tree;
        tree.root = Make<CVerticalLayoutUI>();
        tree.root->SetBkColor(0xFFF0F0F0);

        CHorizontalLayoutUI* header = Make<CHorizontalLayoutUI>();
        header->SetFixedHeight(40);
        header->SetChildPadding(2);
        header->SetBkColor(0xFF2050A0);
        for (int i = 0; i < 12; ++i)
        {
            CControlUI* tab = Cell(48, 0, 0xFF4070C0);
            tab->SetBorderRound(SIZE{6, 6});
            tab->SetPadding(RECT{0, 4, 0, 4});
            header->Add(tab);
        }
        tree.root->Add(header);

        CHorizontalLayoutUI* body = Make<CHorizontalLayoutUI>();
        tree.root->Add(body);

        CVerticalLayoutUI* nav = Make<CVerticalLayoutUI>();
        nav->SetFixedWidth(150);
        nav->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
        for (int i = 0; i < shape.navItems; ++i)
            nav->Add(Cell(0, 20, (i % 2) != 0 ? 0xFFFFFFFF : 0xFFE8E8F0));
        body->Add(nav);

        CVerticalLayoutUI* main = Make<CVerticalLayoutUI>();
        main->ShowScrollBars(ScrollBarChoice::Shown, ScrollBarChoice::Hidden);
        main->SetBkColor(0xFFFFFFFF);
        for (int r = 0; r < shape.mainRows; ++r)
        {
            CHorizontalLayoutUI* row = Make<CHorizontalLayoutUI>();
            row->SetFixedHeight(24);
            for (int c = 0; c < 8; ++c)
            {
                CControlUI* cell = Cell(0, 0, ((r + c) % 2) != 0 ? 0xFFD0E0F0 : 0xFFF0F0D0);
                row->Add(cell);
                if (r == 5 && c == 3)
                    tree.probe = cell;
            }
            main->Add(row);
        }
        body->Add(main);

        CVerticalLayoutUI* side = Make<CVerticalLayoutUI>();
        side->SetFixedWidth(100);
        for (int i = 0; i < 12; ++i)
            side->Add(Cell(0, 30, 0xFFC0D0C0));
        CVerticalLayoutUI* collapsed = Make<CVerticalLayoutUI>();
        for (int i = 0; i < shape.hiddenItems; ++i)
            collapsed->Add(Cell(0, 20, 0xFFFF0000));
        collapsed->SetVisible(false);
        side->Add(collapsed);
        body->Add(side);

        tree.controls = m_count;
        return tree;
    }

private:
    int m_count = 0;
};

// Controls that a paint of the whole client reaches: visible, and meeting
// the client area cut by every ancestor.
int CountOnScreen(IControlUI* control, const RECT& clip)
{
    const CUIRect place = control->GetPos();
    RECT cut = {};
    if (!control->IsVisible() || !IntersectRect(&cut, &clip, &place))
        return 0;
    int count = 1;
    if (auto* children = static_cast<IContainerUI*>(control->CastTo(L"IContainer")))
    {
        for (int i = 0; i < children->GetCount(); ++i)
            count += CountOnScreen(children->ChildAt(i), cut);
    }
    return count;
}

// ---- Timing -----------------------------------------------------------------

struct Figure
{
    double cpuMs;   // median CPU milliseconds per operation
    double wallMs;  // median wall milliseconds per operation
};

// Runs operation in samples of n repetitions, n chosen so that a sample
// takes about kSampleSeconds; the medians over the samples.
Figure Measure(const std::function<void()>& operation)
{
    for (int i = 0; i < 3; ++i)
        operation();
    long long repetitions = 1;
    for (;;)
    {
        const double start = WallSeconds();
        for (long long i = 0; i < repetitions; ++i)
            operation();
        const double took = WallSeconds() - start;
        if (took >= kSampleSeconds / 4)
        {
            repetitions = std::max(1LL, static_cast<long long>(static_cast<double>(repetitions) * kSampleSeconds /
                                                                took));
            break;
        }
        repetitions *= 2;
    }
    std::vector<double> cpu;
    std::vector<double> wall;
    for (int s = 0; s < kSamples; ++s)
    {
        const double cpuStart = ThreadCpuSeconds();
        const double wallStart = WallSeconds();
        for (long long i = 0; i < repetitions; ++i)
            operation();
        wall.push_back((WallSeconds() - wallStart) * 1e3 / static_cast<double>(repetitions));
        cpu.push_back((ThreadCpuSeconds() - cpuStart) * 1e3 / static_cast<double>(repetitions));
        PumpMessages();
    }
    return Figure{Median(cpu), Median(wall)};
}

void Print(const char* what, const Figure& figure, const Figure& floor)
{
    std::printf("%-44s cpu %8.3f ms  wall %8.3f ms  cpu x%6.2f of floor\n", what, figure.cpuMs, figure.wallMs,
                figure.cpuMs / floor.cpuMs);
}

struct TreeFigures
{
    int controls;
    int onScreen;
    Figure layout;
    Figure treePaint;
    Figure fullRepaint;
    Figure oneControl;
    CUIRect probe;
};

TreeFigures MeasureTree(const TreeShape& shape)
{
    CBenchWindow window;
    TreeFigures figures = {};
    CTreeBuilder builder;
    BuiltTree tree = builder.Build(shape);
    if (!bench::OpenWindow(window, L"control tree bench", kClientWidth, kClientHeight, tree.root))
    {
        std::printf("the window could not be made\n");
        tree.root->Delete();
        return figures;
    }
    PumpMessages();
    const HWND hwnd = window.GetHWND();
    const CUIRect client(0, 0, kClientWidth, kClientHeight);

    figures.controls = tree.controls;
    figures.onScreen = CountOnScreen(tree.root, client);
    figures.probe = tree.probe->GetPos();

    figures.layout = Measure([&] { tree.root->PlaceAt(client, false); });
    // The tree drawn into a memory picture alone, without the window.
    HDC screen = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, kClientWidth, kClientHeight);
    HGDIOBJ previous = SelectObject(memory, picture);
    figures.treePaint = Measure([&] {
        tree.root->Paint(memory, client, nullptr);
        GdiFlush();
    });
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(hwnd, screen);

    figures.fullRepaint = Measure([&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    figures.oneControl = Measure([&] {
        tree.probe->Invalidate();
        UpdateWindow(hwnd);
    });
    window.Close();
    PumpMessages();
    return figures;
}

// A WM_PAINT of the whole client by a manager whose root draws nothing: the
// platform's and the manager's share of every repaint.
Figure MeasureEmptyPaint()
{
    CBenchWindow window;
    CControlUI* root = new CControlUI();
    if (!bench::OpenWindow(window, L"control tree bench", kClientWidth, kClientHeight, root))
    {
        root->Delete();
        return Figure{1, 1};
    }
    PumpMessages();
    const HWND hwnd = window.GetHWND();
    const Figure empty = Measure([&] {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    });
    window.Close();
    PumpMessages();
    return empty;
}

// The plain copy of a client-sized picture to the window: what any paint of
// the whole client costs at least.
Figure MeasureFloor()
{
    CBenchWindow window;
    if (!bench::OpenWindow(window, L"control tree bench", kClientWidth, kClientHeight, nullptr))
        return Figure{1, 1};
    PumpMessages();
    HDC screen = GetDC(window.GetHWND());
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, kClientWidth, kClientHeight);
    HGDIOBJ previous = SelectObject(memory, picture);
    PatBlt(memory, 0, 0, kClientWidth, kClientHeight, WHITENESS);
    const Figure floor = Measure([&] {
        BitBlt(screen, 0, 0, kClientWidth, kClientHeight, memory, 0, 0, SRCCOPY);
        GdiFlush();
    });
    SelectObject(memory, previous);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(window.GetHWND(), screen);
    window.Close();
    PumpMessages();
    return floor;
}

// Writes a buffer larger than the processor's last cache level, so that
// what was touched before is read from memory again.
void EmptyCaches()
{
    static std::vector<char> sweep(64 * 1024 * 1024);
    for (size_t at = 0; at < sweep.size(); at += 64)
        ++sweep[at];
}

// Wall seconds to delete an attached tree of about `count` named controls
// (rows of ten cells under one column), the median of nine rounds; each
// tree is built and attached untimed, and with `cold` the caches are emptied
// before the deletion.
double MeasureTreeDeletion(int count, bool cold)
{
    CBenchWindow window;
    CVerticalLayoutUI* host = new CVerticalLayoutUI();
    if (!bench::OpenWindow(window, L"tree deletion bench", kClientWidth, kClientHeight, host))
    {
        host->Delete();
        return 0.0;
    }
    PumpMessages();
    std::vector<double> rounds;
    for (int round = 0; round < 9; ++round)
    {
        CVerticalLayoutUI* column = new CVerticalLayoutUI();
        int made = 1;
        while (made < count)
        {
            CHorizontalLayoutUI* row = new CHorizontalLayoutUI();
            CUIString name;
            name.Format(L"row%d", made);
            row->SetName(name.GetData());
            ++made;
            for (int c = 0; c < 10 && made < count; ++c, ++made)
            {
                CControlUI* cell = new CControlUI();
                name.Format(L"cell%d", made);
                cell->SetName(name.GetData());
                row->Add(cell);
            }
            column->Add(row);
        }
        host->Add(column);
        if (window.manager.LocateControl(L"cell2") == nullptr)
            std::printf("the tree's names were not registered\n");
        if (cold)
            EmptyCaches();
        const double start = WallSeconds();
        host->Remove(column, ChildDisposal::Destroy);
        rounds.push_back(WallSeconds() - start);
    }
    window.Close();
    PumpMessages();
    return Median(rounds);
}

// Wall seconds to free `count` heap blocks of one control's size, written
// when made as a constructor would; the median of nine rounds.
double MeasureBlockFreeing(int count)
{
    std::vector<double> rounds;
    std::vector<char*> blocks;
    for (int round = 0; round < 9; ++round)
    {
        for (int i = 0; i < count; ++i)
        {
            blocks.push_back(new char[sizeof(CControlUI)]);
            std::fill_n(blocks.back(), sizeof(CControlUI), static_cast<char>(i));
        }
        const double start = WallSeconds();
        for (char* block : blocks)
            delete[] block;
        rounds.push_back(WallSeconds() - start);
        blocks.clear();
    }
    return Median(rounds);
}

}  // namespace

int main()
{
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    // Deletion first, from a fresh heap for both sizes: measured after the
    // other trees, the small one would reuse their warm memory and the large
    // one could not, which says more about the caches than the algorithm.
    const double smallDeletion = MeasureTreeDeletion(2000, false);
    const double largeDeletion = MeasureTreeDeletion(20000, false);
    const double smallColdDeletion = MeasureTreeDeletion(2000, true);
    const double largeColdDeletion = MeasureTreeDeletion(20000, true);
    const double smallFreeing = MeasureBlockFreeing(2000);
    const double largeFreeing = MeasureBlockFreeing(20000);
    // The hidden part fills the large tree up to 2,000 controls.
    TreeShape large = {400, 120, 0};
    {
        CTreeBuilder counter;
        BuiltTree probe = counter.Build(large);
        large.hiddenItems = kTotalControls - probe.controls;
        probe.root->Delete();
    }
    const TreeShape small = {18, 15, 0};

    const Figure floor = MeasureFloor();
    const Figure empty = MeasureEmptyPaint();
    const TreeFigures big = MeasureTree(large);
    const TreeFigures little = MeasureTree(small);

    std::printf("client %d x %d; median of %d samples, each about %.2f s\n", kClientWidth, kClientHeight, kSamples,
                kSampleSeconds);
    std::printf("floor: BitBlt of the client to the window   cpu %8.3f ms  wall %8.3f ms\n", floor.cpuMs,
                floor.wallMs);
    Print("WM_PAINT of the client, root draws nothing", empty, floor);
    for (const TreeFigures* t : {&big, &little})
    {
        std::printf("\ntree of %d controls, %d on screen; the one control is %ld x %ld\n", t->controls, t->onScreen,
                    t->probe.right - t->probe.left, t->probe.bottom - t->probe.top);
        Print("  full layout pass (root PlaceAt)", t->layout, floor);
        Print("  tree painted into memory (no window)", t->treePaint, floor);
        Print("  full repaint (WM_PAINT of the client)", t->fullRepaint, floor);
        Print("  one control invalidated and repainted", t->oneControl, floor);
    }
    std::printf("\none-control repaint, %d-control tree / %d-control tree: cpu x%.2f, wall x%.2f\n", big.controls,
                little.controls, big.oneControl.cpuMs / little.oneControl.cpuMs,
                big.oneControl.wallMs / little.oneControl.wallMs);
    std::printf("full repaint, %d-control tree / %d-control tree: cpu x%.2f, wall x%.2f\n", big.controls,
                little.controls, big.fullRepaint.cpuMs / little.fullRepaint.cpuMs,
                big.fullRepaint.wallMs / little.fullRepaint.wallMs);
    std::printf("\ndeleting an attached tree of named controls: 2,000 %.3f ms (%.2f us each), 20,000 %.3f ms "
                "(%.2f us each)\n",
                smallDeletion * 1000.0, smallDeletion * 1e6 / 2000, largeDeletion * 1000.0, largeDeletion * 1e6 / 20000);
    std::printf("tree deletion 20,000 / 2,000: x%.2f (linear is 10)\n",
                smallDeletion > 0.0 ? largeDeletion / smallDeletion : 0.0);
    std::printf("with the caches emptied first: 2,000 %.3f ms (%.2f us each), 20,000 %.3f ms (%.2f us each)\n",
                smallColdDeletion * 1000.0, smallColdDeletion * 1e6 / 2000, largeColdDeletion * 1000.0,
                largeColdDeletion * 1e6 / 20000);
    std::printf("tree deletion from emptied caches 20,000 / 2,000: x%.2f (linear is 10)\n",
                smallColdDeletion > 0.0 ? largeColdDeletion / smallColdDeletion : 0.0);
    std::printf("freeing as many %u-byte blocks: 2,000 %.3f ms, 20,000 %.3f ms, x%.2f\n",
                static_cast<unsigned>(sizeof(CControlUI)), smallFreeing * 1000.0, largeFreeing * 1000.0,
                smallFreeing > 0.0 ? largeFreeing / smallFreeing : 0.0);
    return 0;
}
