// Times CRenderKit::DrawMarkupText on 1,000 marked-up strings against 1,000
// plain DrawTextW calls of the same strings (the floor: one platform call per
// string, no layout of our own), both into one memory device context with
// the same font, and prints milliseconds per 1,000 and the ratio.
// Run by hand: cmake/wine-run.sh build/bench/text_bench.exe [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "ui/core/UIManager.h"

using namespace DuiLib;

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    CUIManager manager;
    const std::vector<std::wstring> texts = bench::MakeMarkupTexts();

    const bench::CTextSurface surface;

    double bestMarkup = 1e9;
    double bestPlain = 1e9;
    // One untimed pass creates the fonts the markup asks for.
    for (int round = 0; round <= rounds; ++round)
    {
        const bench::TextRound times = bench::TimeTextRound(surface.Dc(), manager, texts);
        if (round == 0)
            continue;
        bestMarkup = std::min(bestMarkup, times.markupSeconds);
        bestPlain = std::min(bestPlain, times.plainSeconds);
    }

    std::printf("text_bench: %d strings, best of %d rounds\n", static_cast<int>(texts.size()), rounds);
    std::printf("  DrawMarkupText: %8.2f ms\n", bestMarkup * 1000.0);
    std::printf("  DrawTextW     : %8.2f ms (floor)\n", bestPlain * 1000.0);
    std::printf("  ratio markup / plain: %.2f\n", bestPlain > 0.0 ? bestMarkup / bestPlain : 0.0);
    return 0;
}
