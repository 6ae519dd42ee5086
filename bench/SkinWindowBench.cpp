// Times one window made from a skin as the uninstaller makes its own: the
// 200-control "main.xml" of a password-protected archive held in memory
// (skin_window_bench.zip beside the program, made at build time), in rounds
// of a fresh window each. Per round: the archive entry read and inflated,
// the XML parsed, the control tree built and attached, the first WM_PAINT
// (layout, "windowinit", image decoding, painting) and, for scale, the next
// full repaint. Then DrawText of 1,000 marked-up strings against 1,000 plain
// DrawTextW calls of the same strings (the floor). Prints medians.
// Run by hand: cmake/wine-run.sh build/bench/skin_window_bench.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "ui/control/ContainerUI.h"
#include "ui/markup/SkinLocation.h"
#include "ui/core/UIManager.h"
#include "ui/markup/LayoutBuilder.h"

using namespace DuiLib;
using bench::CBenchWindow;
using bench::Median;
using bench::WallSeconds;

namespace {

// The password given to zip -P when the archive was made.
constexpr char kPassword[] = "Bench-5Kv";
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

int CountControls(IControlUI* control)
{
    if (control == nullptr)
        return 0;
    int count = 1;
    if (auto* children = static_cast<IContainerUI*>(control->CastTo(L"IContainer")))
    {
        for (int i = 0; i < children->GetCount(); ++i)
            count += CountControls(children->ChildAt(i));
    }
    return count;
}

struct WindowRound
{
    double readMs = 0;   // archive entry found, deciphered and inflated
    double parseMs = 0;  // XML parsed into the document
    double buildMs = 0;  // control tree built from the document and attached
    double paintMs = 0;  // first WM_PAINT: layout, "windowinit", images, painting
    double repaintMs = 0;  // the next WM_PAINT of the whole window, all cached
    int controls = 0;
};

// One fresh window built from main.xml; false when any step fails.
bool RunWindowRound(WindowRound& round)
{
    const SkinLocation location = SkinLocation::Current();
    double start = WallSeconds();
    BYTE* bytes = nullptr;
    unsigned size = 0;
    if (location.ReadSkinFile(L"main.xml", CXmlDocument::kMaxSkinFileBytes, bytes, size) != SkinReadStatus::Ok)
        return false;
    round.readMs = (WallSeconds() - start) * 1e3;

    CLayoutBuilder builder;
    start = WallSeconds();
    const bool parsed = builder.Document().LoadFromBytes(bytes, size);
    round.parseMs = (WallSeconds() - start) * 1e3;
    delete[] bytes;
    if (!parsed)
        return false;

    CBenchWindow window;
    if (!bench::OpenWindow(window, L"skin window bench", kWindowWidth, kWindowHeight, nullptr))
        return false;
    bench::PumpMessages();
    start = WallSeconds();
    IControlUI* root = builder.Create(nullptr, &window.manager, nullptr);
    const bool attached = root != nullptr && window.manager.AttachRootControl(root);
    round.buildMs = (WallSeconds() - start) * 1e3;
    if (!attached)
    {
        if (root != nullptr)
            root->Delete();
        window.Close();
        return false;
    }
    round.controls = CountControls(root);

    start = WallSeconds();
    RedrawWindow(window.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    round.paintMs = (WallSeconds() - start) * 1e3;
    start = WallSeconds();
    RedrawWindow(window.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    round.repaintMs = (WallSeconds() - start) * 1e3;
    window.Close();
    bench::PumpMessages();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    // Kept for the life of the process, as the manager requires.
    static const std::vector<BYTE> archive = bench::ReadBesideProgram(L"skin_window_bench.zip");
    if (archive.empty())
    {
        std::printf("skin_window_bench.zip is missing beside the program\n");
        return 1;
    }
    double start = WallSeconds();
    CUIManager::SetSkinZipFromMemory(archive.data(), static_cast<unsigned>(archive.size()), kPassword);
    const double openMs = (WallSeconds() - start) * 1e3;
    if (CUIManager::GetSkinZipHandle() == nullptr)
    {
        std::printf("the archive cannot be opened\n");
        return 1;
    }

    // One untimed round first: the platform loads its fonts and code.
    std::vector<double> read, parse, readParse, build, paint, repaint, total;
    WindowRound round;
    for (int r = 0; r <= rounds; ++r)
    {
        round = WindowRound();
        if (!RunWindowRound(round))
        {
            std::printf("round %d failed: the skin did not build\n", r);
            return 1;
        }
        if (r == 0)
            continue;
        read.push_back(round.readMs);
        parse.push_back(round.parseMs);
        readParse.push_back(round.readMs + round.parseMs);
        build.push_back(round.buildMs);
        paint.push_back(round.paintMs);
        repaint.push_back(round.repaintMs);
        total.push_back(round.readMs + round.parseMs + round.buildMs + round.paintMs);
    }

    CUIManager manager;
    const std::vector<std::wstring> texts = bench::MakeMarkupTexts();
    const bench::CTextSurface surface;
    std::vector<double> markup, plain, ratio;
    // The untimed first round creates the fonts the markup asks for.
    for (int r = 0; r <= rounds; ++r)
    {
        const bench::TextRound times = bench::TimeTextRound(surface.Dc(), manager, texts);
        if (r == 0)
            continue;
        markup.push_back(times.markupSeconds * 1e3);
        plain.push_back(times.plainSeconds * 1e3);
        ratio.push_back(times.plainSeconds > 0.0 ? times.markupSeconds / times.plainSeconds : 0.0);
    }

    std::printf("skin_window_bench: %d x %d window of %d controls from main.xml in a zip -P archive in memory\n",
                kWindowWidth, kWindowHeight, round.controls);
    std::printf("median of %d rounds, each a fresh window (archive opened once: %.3f ms)\n", rounds, openMs);
    std::printf("  archive entry read (decipher + inflate): %8.3f ms\n", Median(read));
    std::printf("  XML parse                              : %8.3f ms\n", Median(parse));
    std::printf("  archive read + XML parse               : %8.3f ms\n", Median(readParse));
    std::printf("  tree build and attach                  : %8.3f ms\n", Median(build));
    std::printf("  first layout + paint (WM_PAINT)        : %8.3f ms\n", Median(paint));
    std::printf("  all four                               : %8.3f ms\n", Median(total));
    std::printf("  (next full repaint, all cached         : %8.3f ms)\n", Median(repaint));
    std::printf("%d strings, median of %d rounds\n", static_cast<int>(texts.size()), rounds);
    std::printf("  DrawMarkupText: %8.2f ms\n", Median(markup));
    std::printf("  DrawTextW     : %8.2f ms (floor)\n", Median(plain));
    std::printf("  ratio markup / plain: %.2f (median of the rounds' ratios)\n", Median(ratio));
    return 0;
}
