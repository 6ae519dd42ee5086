// File and path utilities for the application: existence, whole-file reads,
// shell deletion of files and trees, and the file title of a path.
#pragma once

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

// Deletes a directory with everything below it by a plain walk: read-only
// files are made writable first, and links inside (symbolic links, junctions)
// are removed themselves, never followed. True when the directory is gone;
// on failure whatever could be deleted is gone and the rest stays.
bool RemoveDirectoryTree(const std::wstring& directory);

// File name plus extension of `path`; "" when a part does not fit its buffer.
std::wstring GetModuleFileTitle(const wchar_t* path);

}  // namespace kalvex
