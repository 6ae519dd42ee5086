// Running the uninstaller from a copy in the user's temporary folder, so the
// installation folder, which holds the executable, can be deleted whole.
#pragma once

#include <string>

namespace kalvex {

// True when `modulePath` contains `tempDirectory` anywhere, letter case
// included; an empty temporary folder always matches, so the uninstaller
// then runs where it is.
bool IsRelocatedCopy(const std::wstring& modulePath, const std::wstring& tempDirectory);

// True when the process runs from TEMP already and may go on. Otherwise copies
// the executable and the manifest beside it into TEMP, starts the copy with
// TEMP as its working folder and ends the process. False when the process must
// stop: the self-copy failed (a message of at most `capacity` characters is
// written to `message`) or the manifest is missing (the user is told, the
// message stays empty).
bool RelocateToTemp(wchar_t* message, int capacity);

// Looks for the main window of a running instance; when found, restores it,
// brings it to the front and returns true.
bool BringRunningInstanceForward();

}  // namespace kalvex
