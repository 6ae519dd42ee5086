// Running the uninstaller from a copy in the user's temporary folder, so the
// installation folder, which holds the executable, can be deleted whole.
#pragma once

#include <string>

namespace kalvex {

// The security of both copies in TEMP, as a descriptor string: only
// Administrators and SYSTEM may change or delete them, everyone may read
// and run them, and nothing is inherited from TEMP.
inline constexpr wchar_t kCopySecurity[] = L"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;GRGX;;;WD)";

// Copies `source` into a file made new at `target` (never an object that
// was already there) that only Administrators and SYSTEM may change, and
// answers ERROR_SUCCESS or the error that stopped it. An earlier object at
// `target` is removed first only when, opened without following links, its
// resolved path is `expected`. With `held`, a handle that denies writing and
// deleting is left open on the copy (INVALID_HANDLE_VALUE on failure).
unsigned long WriteFreshCopy(const std::wstring& source, const std::wstring& target, const std::wstring& expected,
                             void** held);

// True when `modulePath` contains `tempDirectory` anywhere, letter case
// included; an empty temporary folder always matches, so the uninstaller
// then runs where it is.
bool IsRelocatedCopy(const std::wstring& modulePath, const std::wstring& tempDirectory);

// True when the process runs from TEMP already and may go on. Otherwise copies
// the executable and the manifest beside it into TEMP, starts the copy with
// TEMP as its working folder and ends the process. Each copy is a new file
// only Administrators and SYSTEM may change; an object already at its name
// is removed only when it is a plain file of exactly that name (a planted
// link is refused), and the executable copy is held against writing and
// deletion until its process has started. False when the process must stop:
// a copy failed (a message of at most `capacity` characters is written to
// `message`) or the manifest is missing (the user is told, the message stays
// empty).
bool RelocateToTemp(wchar_t* message, int capacity);

// When this process is the relocated copy in TEMP, schedules it and the
// manifest copy for deletion at the next restart (a running program cannot
// delete itself) and logs it; otherwise nothing.
void ScheduleRelocatedCopiesForRemoval();

// Looks for the main window of a running instance; when found, restores it,
// brings it to the front and returns true.
bool BringRunningInstanceForward();

}  // namespace kalvex
