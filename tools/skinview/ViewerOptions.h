// CViewerOptions: what skinview.exe was asked to do, read from its command
// line. Parsing is plain string work; opening the skin and showing it are
// left to SkinSource and CSkinViewWnd.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace skinview {

// A tab layout and the page it shows: --tab NAME=INDEX.
struct TabChoice
{
    std::wstring name;
    int index = 0;
};

struct CViewerOptions
{
    // The skin: a folder, a zip archive or an executable carrying the skin.
    std::wstring source;
    // The layout built from it.
    std::wstring xml = L"main.xml";
    // Narrow archive password; empty means the source's default.
    std::string password;
    bool passwordGiven = false;
    // Window size instead of the skin's; 0 x 0 when not given.
    SIZE size = {0, 0};
    // Where --png writes the picture; empty for the live window.
    std::wstring png;
    std::vector<TabChoice> tabs;
    std::vector<std::wstring> selects;
    std::wstring hover;
    std::wstring push;
    bool lint = false;
    bool help = false;
};

// Largest window side the viewer makes, given or asked for by a skin: a
// bigger picture would not fit the 32-bit process, nor any screen.
constexpr int kMaxWindowSide = 4096;

// Reads argv[1..argc-1] into options. False, with a one-line reason in
// error, for an unknown option, a missing or malformed value, a size outside
// 1..kMaxWindowSide, no skin, two skins, or a state option without --png.
bool ParseViewerOptions(int argc, const wchar_t* const* argv, CViewerOptions& options, std::wstring& error);

// The usage text printed by --help and after a bad command line.
const wchar_t* ViewerUsage();

}  // namespace skinview
