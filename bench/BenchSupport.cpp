// The benchmarks' window, pump, clocks and markup text samples.
#include "bench/BenchSupport.h"

#include <algorithm>
#include <cwchar>

#include "ui/markup/SkinLocation.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace bench {

LRESULT CBenchWindow::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        manager.AttachWindow(GetHWND(), L"bench");
    LRESULT result = 0;
    if (manager.RouteMessage(message, wParam, lParam, result))
        return result;
    return CallPreviousProcedure(message, wParam, lParam);
}

bool OpenWindow(CBenchWindow& window, const wchar_t* title, int width, int height, IControlUI* root)
{
    if (window.Create(nullptr, title, WS_POPUP, 0, 50, 50, width, height) == nullptr)
        return false;
    ShowWindow(window.GetHWND(), SW_SHOWNA);
    if (root != nullptr)
        window.manager.AttachRootControl(root);
    UpdateWindow(window.GetHWND());
    return true;
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

double WallSeconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

double ThreadCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

std::vector<BYTE> ReadBesideProgram(const wchar_t* name)
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module);
    path.erase(path.find_last_of(L"\\/") + 1).append(name);
    BYTE* bytes = nullptr;
    unsigned size = 0;
    std::vector<BYTE> content;
    if (ReadWholeFile(path.c_str(), bytes, size))
        content.assign(bytes, bytes + size);
    delete[] bytes;
    return content;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::vector<std::wstring> MakeMarkupTexts(int count)
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
    for (int i = 0; i < count; ++i)
    {
        const wchar_t* pattern = patterns[i % (sizeof(patterns) / sizeof(patterns[0]))];
        swprintf(buffer, 256, pattern, i);
        texts.emplace_back(buffer);
    }
    return texts;
}

UINT MarkupTextStyle(int index)
{
    return index % 2 == 0 ? (DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS) : DT_WORDBREAK;
}

CTextSurface::CTextSurface() : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(nullptr), m_previous(nullptr)
{
    BYTE* bits = nullptr;
    m_bitmap = CRenderKit::CreateDib32(400, 60, bits);
    m_previous = SelectObject(m_dc, m_bitmap);
}

CTextSurface::~CTextSurface()
{
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

TextRound TimeTextRound(HDC dc, CUIManager& manager, const std::vector<std::wstring>& texts)
{
    TextRound round = {};
    double start = WallSeconds();
    for (size_t i = 0; i < texts.size(); ++i)
    {
        RECT rect = {0, 0, 400, 60};
        int noLinks = 0;
        CRenderKit::DrawMarkupText(dc, &manager, rect, texts[i].c_str(), 0xFF000000, nullptr, nullptr, noLinks, -1,
                                   MarkupTextStyle(static_cast<int>(i)));
    }
    GdiFlush();
    round.markupSeconds = WallSeconds() - start;

    start = WallSeconds();
    const HGDIOBJ previousFont = SelectObject(dc, manager.GetFont(-1));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < texts.size(); ++i)
    {
        RECT rect = {0, 0, 400, 60};
        DrawTextW(dc, texts[i].c_str(), -1, &rect, MarkupTextStyle(static_cast<int>(i)) | DT_NOPREFIX);
    }
    SelectObject(dc, previousFont);
    GdiFlush();
    round.plainSeconds = WallSeconds() - start;
    return round;
}

}  // namespace bench
}  // namespace DuiLib
