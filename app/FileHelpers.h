// File and path utilities for the application: existence, whole-file reads,
// shell deletion, where an open item really resolves to, deletion through a
// handle or at the next restart, and the file title of a path.
#pragma once

#include <windows.h>

#include <string>

namespace kalvex {

// False for a null or empty path; otherwise whether the attribute query on the
// path succeeds (files and directories alike).
bool FileExists(const wchar_t* path);

// The file's bytes up to its first zero byte; "" when it cannot be opened or
// read (a line goes to the debugger output then).
std::string ReadWholeFile(const wchar_t* path);

// Deletes a file or a whole directory tree through the shell, silently and
// without the recycle bin. Returns the shell's result (0 = success). The path
// is passed as a one-element list, so it must hold no NUL of its own.
int ShellDelete(const std::wstring& path);

// The "TEMP" environment variable as read through the 1,024-character path
// buffer; "" when it is unset, empty or too long for the buffer.
std::wstring ReadTempDirectory();

// What Windows makes of `path` as a whole path (separators and dots
// resolved, nothing looked up); "" when it does not fit the path buffer.
std::wstring FullPathOf(const std::wstring& path);

// Opens `path` itself, never what it links to, with `access` and `share`
// (directories too); INVALID_HANDLE_VALUE on failure, with the
// system's error left for GetLastError.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
HANDLE OpenWithoutFollowing(const std::wstring& path, DWORD access, DWORD share = kShareAll);

// Where the open object really is, as the system resolves it ("\\?\X:\..."
// or "\\?\UNC\..."); "" when the system cannot say.
std::wstring FinalPathOf(HANDLE object);

// A resolved path in the form users and the path rules know: "\\?\X:\a"
// becomes "X:\a" and "\\?\UNC\s\h" becomes "\\s\h"; others are kept.
std::wstring PlainFormOfFinalPath(const std::wstring& finalPath);

// Whole paths equal without regard to letter case, as the file system
// compares names.
bool SamePathText(const std::wstring& a, const std::wstring& b);

// True for the errors of an item another process holds: sharing or lock
// violations, a mapped or running image, access denied.
bool IsInUseError(DWORD error);

// Deletes the item behind `item` (opened with DELETE access, and
// FILE_WRITE_ATTRIBUTES when `attributes` has the read-only bit) when its
// last handle closes; never looks its name up again. False, with the
// system's error, when the item may not go.
bool DeleteOpenedItem(HANDLE item, DWORD attributes);

// Asks the system to delete `path` at the next restart (an elevated
// process may); false when it would not.
bool ScheduleDeleteAtRestart(const std::wstring& path);

// File name plus extension of `path`; "" when a part does not fit its buffer.
std::wstring GetModuleFileTitle(const wchar_t* path);

}  // namespace kalvex
