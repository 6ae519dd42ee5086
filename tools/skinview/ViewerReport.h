// The viewer's messages to the person running it: lines on the standard
// error stream (the linter's findings on the standard output) in UTF-8, and the skin images the toolkit could not load
// since they were last taken, gathered through the render kit's report.
#pragma once

#include <string>
#include <vector>

namespace skinview {

// Writes text, as it stands, to the standard error or output stream.
void WriteStandardError(const std::wstring& text);
void WriteStandardOutput(const std::wstring& text);
// Writes "skinview: " + text and a line break to the standard error stream.
void ReportLine(const std::wstring& text);

// Starts gathering the names of images that fail to load; once per process.
void WatchImageFailures();
// One line per image that failed since the last call ("bk/x.png cannot be
// found", "... cannot be decoded"), each name once, in order of failure.
std::vector<std::wstring> TakeImageFailures();

}  // namespace skinview
