// Standard error output and the gathered image failures. The viewer runs on
// one thread, as the toolkit does, so the list needs no lock.
#include "tools/skinview/ViewerReport.h"

#include <windows.h>

#include <algorithm>

#include "ui/render/RenderKit.h"

namespace skinview {

namespace {

std::vector<std::wstring> s_imageFailures;

void WriteUtf8(DWORD stream, const std::wstring& text)
{
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

void OnImageFailure(const wchar_t* name, DuiLib::ImageFailure failure)
{
    const std::wstring line = std::wstring(L"image ") + name +
                              (failure == DuiLib::ImageFailure::NotFound ? L" cannot be found" : L" cannot be decoded");
    if (std::find(s_imageFailures.begin(), s_imageFailures.end(), line) == s_imageFailures.end())
        s_imageFailures.push_back(line);
}

}  // namespace

void ReportLine(const std::wstring& text)
{
    WriteStandardError(L"skinview: " + text + L"\n");
}

void WriteStandardError(const std::wstring& text)
{
    WriteUtf8(STD_ERROR_HANDLE, text);
}

void WriteStandardOutput(const std::wstring& text)
{
    WriteUtf8(STD_OUTPUT_HANDLE, text);
}

void WatchImageFailures()
{
    DuiLib::CRenderKit::SetImageFailureReport(&OnImageFailure);
}

std::vector<std::wstring> TakeImageFailures()
{
    std::vector<std::wstring> taken;
    taken.swap(s_imageFailures);
    return taken;
}

}  // namespace skinview
