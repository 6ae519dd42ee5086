// What the benchmarks share: a real popup window whose manager gets every
// message, the message pump with the managers' pre-translation, the clocks
// and the median; and the 1,000 marked-up strings timed against plain
// DrawTextW, with the timing of one round of both.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/core/UIManager.h"
#include "ui/core/WindowWnd.h"

namespace DuiLib {
namespace bench {

// A popup that binds its manager at WM_CREATE and routes every message
// through it.
class CBenchWindow : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexBenchWindow"; }
    LRESULT ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    CUIManager manager;
};

// Makes window a shown width x height popup; with a root, hands it to the
// manager and paints once. False when the platform refuses the window.
bool OpenWindow(CBenchWindow& window, const wchar_t* title, int width, int height, IControlUI* root);

// Handles every message waiting for this thread, as the application's loop.
void PumpMessages();

// Seconds of a monotonic wall clock, and of this thread's CPU time.
double WallSeconds();
double ThreadCpuSeconds();

// The bytes of the file name beside the benchmark program; empty when it
// cannot be read.
std::vector<BYTE> ReadBesideProgram(const wchar_t* name);

// The middle value (the upper one of an even count); 0 for none.
double Median(std::vector<double> values);

// ---- Markup text against plain DrawTextW --------------------------------------

constexpr int kMarkupStrings = 1000;

// count label- and text-like strings with markup: styles, colours, links,
// paragraphs, raw runs.
std::vector<std::wstring> MakeMarkupTexts(int count = kMarkupStrings);

// The DrawText style string index is drawn with: single-line with ellipsis
// and wrapped, alternately.
UINT MarkupTextStyle(int index);

struct TextRound
{
    double markupSeconds;  // CRenderKit::DrawMarkupText of every string
    double plainSeconds;   // one DrawTextW of every string (the floor)
};

// A memory device context drawing into a 400 x 60 32-bit picture, the
// surface the strings are drawn on.
class CTextSurface
{
public:
    CTextSurface();
    ~CTextSurface();
    CTextSurface(const CTextSurface&) = delete;
    CTextSurface& operator=(const CTextSurface&) = delete;

    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// One round of both into dc (a CTextSurface's), in the manager's default
// font.
TextRound TimeTextRound(HDC dc, CUIManager& manager, const std::vector<std::wstring>& texts);

}  // namespace bench
}  // namespace DuiLib
