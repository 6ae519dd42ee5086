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

#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

using DuiLib::CRenderKit;
using DuiLib::CUIManager;
using DuiLib::CUIString;

namespace {

constexpr int kStrings = 1000;

// Label- and text-like markup: styles, colours, links, paragraphs; some
// single-line, some wrapped.
std::vector<std::wstring> MakeTexts()
{
    const wchar_t* const patterns[] = {
        L"Item %d: <b>bold</b> and <c #FF0000>red</c> text",
        L"Uninstall %d files of <a home>velko</a> now?",
        L"<f Tahoma 14 bold>Title %d</f> with <i>italic</i> and <u>underline</u>",
        L"Step %d of the removal <x 8><c #336699>in progress</c>, please wait a moment while files go",
        L"{b}Braces %d{/b} and <r><raw></r> and a < b",
        L"<p 4>Paragraph %d starts here and runs on for a while so that it wraps</p><p>second</p>",
    };
    std::vector<std::wstring> texts;
    wchar_t buffer[256];
    for (int i = 0; i < kStrings; ++i)
    {
        const wchar_t* pattern = patterns[i % (sizeof(patterns) / sizeof(patterns[0]))];
        swprintf(buffer, 256, pattern, i);
        texts.emplace_back(buffer);
    }
    return texts;
}

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end, const LARGE_INTEGER& frequency)
{
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

UINT StyleFor(int index)
{
    return index % 2 == 0 ? (DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS) : DT_WORDBREAK;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    CUIManager manager;
    const std::vector<std::wstring> texts = MakeTexts();

    HDC dc = CreateCompatibleDC(nullptr);
    BYTE* bits = nullptr;
    HBITMAP bitmap = CRenderKit::CreateDib32(400, 60, bits);
    const HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HFONT font = manager.GetFont(-1);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double bestMarkup = 1e9;
    double bestPlain = 1e9;
    // One untimed pass creates the fonts the markup asks for.
    for (int round = 0; round <= rounds; ++round)
    {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kStrings; ++i)
        {
            RECT rect = {0, 0, 400, 60};
            int noLinks = 0;
            CRenderKit::DrawMarkupText(dc, &manager, rect, texts[i].c_str(), 0xFF000000, nullptr, nullptr, noLinks,
                                       -1, StyleFor(i));
        }
        GdiFlush();
        QueryPerformanceCounter(&end);
        if (round > 0)
            bestMarkup = std::min(bestMarkup, Seconds(start, end, frequency));

        QueryPerformanceCounter(&start);
        const HGDIOBJ previousFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        for (int i = 0; i < kStrings; ++i)
        {
            RECT rect = {0, 0, 400, 60};
            DrawTextW(dc, texts[i].c_str(), -1, &rect, StyleFor(i) | DT_NOPREFIX);
        }
        SelectObject(dc, previousFont);
        GdiFlush();
        QueryPerformanceCounter(&end);
        if (round > 0)
            bestPlain = std::min(bestPlain, Seconds(start, end, frequency));
    }
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);

    std::printf("text_bench: %d strings, best of %d rounds\n", kStrings, rounds);
    std::printf("  DrawMarkupText: %8.2f ms\n", bestMarkup * 1000.0);
    std::printf("  DrawTextW     : %8.2f ms (floor)\n", bestPlain * 1000.0);
    std::printf("  ratio markup / plain: %.2f\n", bestPlain > 0.0 ? bestMarkup / bestPlain : 0.0);
    return 0;
}
