// Process entry of skinview.exe, the skin viewer: reads the command line,
// opens the skin source and either lists its problems (--lint), renders one
// PNG (--png) or keeps a live window that builds the layout again whenever a
// file of a skin folder changes. Exit codes: 0 done, 1 the skin has problems, 2 the skin cannot be
// opened or the command line is wrong.
#include <windows.h>
#include <objbase.h>

#include "tools/skinview/FolderWatch.h"
#include "tools/skinview/HeadlessRender.h"
#include "tools/skinview/SkinSource.h"
#include "tools/skinview/SkinViewWnd.h"
#include "tools/skinview/ViewerOptions.h"
#include "tools/skinview/ViewerReport.h"
#include "ui/core/UIManager.h"
#include "ui/markup/SkinLinter.h"

namespace {

using namespace skinview;

constexpr int kDone = 0;
constexpr int kProblems = 1;
constexpr int kCannotOpen = 2;

// The live window: shown on the user's display until closed. A skin folder
// is watched, and every change builds the layout again; a build that fails
// shows its error in the window and waits for the next change.
int RunLive(const CViewerOptions& options, const SkinSource& source)
{
    CSkinViewWnd window(options);
    if (!window.Open(false))
    {
        ReportLine(L"the window cannot be created");
        return kProblems;
    }
    const bool built = window.LoadAndReport();
    CFolderWatch watch;
    if (source.kind != SkinSourceKind::Folder)
    {
        // The toolkit holds one archive per process: nothing to reload.
        if (!built)
            return window.LayoutUnreadable() ? kCannotOpen : kProblems;
    }
    else if (!watch.Start(source.path, window.GetHWND(), CSkinViewWnd::kSkinChangedMessage))
    {
        ReportLine(source.path + L" cannot be watched; changes will not be shown");
    }
    window.RunModal();
    return kDone;
}

// --lint: nothing is shown; every problem the linter finds goes to the
// standard output, one a line, as "file(line): message".
int RunLint(const CViewerOptions& options)
{
    DuiLib::CSkinLinter linter(DuiLib::SkinLocation::Current());
    const DuiLib::SkinLintResult result = linter.Lint(options.xml.c_str());
    for (const DuiLib::SkinProblem& problem : linter.GetProblems())
        WriteStandardOutput(std::wstring(DuiLib::CSkinLinter::FormatProblem(problem).GetData()) + L"\n");
    switch (result)
    {
    case DuiLib::SkinLintResult::Clean:
        return kDone;
    case DuiLib::SkinLintResult::Problems:
        return kProblems;
    case DuiLib::SkinLintResult::CannotOpen:
        break;
    }
    return kCannotOpen;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CViewerOptions options;
    std::wstring error;
    if (!ParseViewerOptions(argc, argv, options, error))
    {
        ReportLine(error);
        WriteStandardError(ViewerUsage());
        return kCannotOpen;
    }
    if (options.help)
    {
        WriteStandardError(ViewerUsage());
        return kDone;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return kProblems;
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    WatchImageFailures();
    SkinSource source;
    int code = kCannotOpen;
    if (!OpenSkinSource(options.source, options.passwordGiven ? &options.password : nullptr, source, error))
        ReportLine(error);
    else
        code = options.lint ? RunLint(options) : options.png.empty() ? RunLive(options, source) : RenderHeadless(options);
    CoUninitialize();
    return code;
}
