// The uninstall progress bar's arithmetic, apart from the window: the bar's
// width grows by 5 pixels a tick from 5 to 600 and waits above 200 until the
// files are gone and above 400 until the shortcut is, so it never runs ahead
// of the worker.
#pragma once

namespace kalvex {

inline constexpr unsigned kProgressStart = 5;
inline constexpr unsigned kProgressStep = 5;
inline constexpr unsigned kProgressFilesStall = 200;
inline constexpr unsigned kProgressShortcutStall = 400;
inline constexpr unsigned kProgressEnd = 600;

// The width after one tick at `width`, or 0 when the timer must stop instead
// (stalled behind the worker, or full).
inline unsigned NextProgressWidth(unsigned width, bool filesDone, bool shortcutDone)
{
    if ((width > kProgressFilesStall && !filesDone) || (width > kProgressShortcutStall && !shortcutDone) ||
        width >= kProgressEnd)
        return 0;
    return width + kProgressStep;
}

}  // namespace kalvex
