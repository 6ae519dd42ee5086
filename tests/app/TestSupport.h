// Shared fixtures for the application tests: scratch folders under TEMP,
// small file helpers, and a child process that does nothing but wait.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kalvex::test {

// A fresh, uniquely named folder under TEMP, removed with its content when the
// object goes away. Path() ends in a backslash.
class CScratchDir {
public:
    explicit CScratchDir(const std::wstring& tag);
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring operator/(const std::wstring& name) const { return m_path + name; }

private:
    std::wstring m_path;
};

// Writes `bytes` to `path`, creating missing parent folders.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
// Removes a folder tree with plain file calls (never the shell under test).
void RemoveTree(const std::wstring& path);

// The process's TEMP folder, without a trailing backslash.
std::wstring TempDirectory();

// Sets an environment variable for this process and puts the old value back.
class CScopedEnvironment {
public:
    CScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~CScopedEnvironment();

private:
    std::wstring m_name;
    std::wstring m_old;
    bool m_hadOld;
};

// Starts `exe` with `arguments` and returns the process handle (null on failure).
HANDLE StartProcess(const std::wstring& exe, const std::wstring& arguments);
// Runs `exe` to completion; returns its exit code, or -1 when it did not start
// or did not end within `timeoutMs`.
long RunProcess(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs);

// Path of a file built next to the test program (e.g. "test_sleeper.exe").
std::wstring BesideTestProgram(const std::wstring& name);

// Copies of the do-nothing test program started under chosen executable
// names, each in its own subfolder of a scratch folder; whatever still runs
// is terminated when the object goes away, so tests end only what they started.
class CSleeperProcesses {
public:
    explicit CSleeperProcesses(const std::wstring& tag) : m_dir(tag) {}
    ~CSleeperProcesses();
    CSleeperProcesses(const CSleeperProcesses&) = delete;
    CSleeperProcesses& operator=(const CSleeperProcesses&) = delete;

    // Starts "<folder>\<name>" with `arguments` (a file for it to hold
    // open); null (and a test failure) when it did not start.
    HANDLE Start(const std::wstring& folder, const std::wstring& name, const std::wstring& arguments = L"");
    static bool EndsWithin(HANDLE process, DWORD ms) { return WaitForSingleObject(process, ms) == WAIT_OBJECT_0; }

private:
    CScratchDir m_dir;
    std::vector<HANDLE> m_processes;
};

// Links for the tests of link safety. Under Wine they are made from the
// Linux side ("ln -s"), since Wine's CreateSymbolicLinkW reports success and
// makes nothing; elsewhere by CreateSymbolicLinkW. They are removed the same
// way when the object goes away, so that no clean-up walks through them:
// declare it after the scratch folders that hold the links.
class CLinks {
public:
    CLinks() = default;
    ~CLinks();
    CLinks(const CLinks&) = delete;
    CLinks& operator=(const CLinks&) = delete;

    // Makes `link` point at `target`. True only when a link now stands
    // there and leads to the target, as far as the system lets anyone see.
    bool Make(const std::wstring& link, const std::wstring& target, bool directory);
    static bool UnderWine();

private:
    std::vector<std::wstring> m_links;
};

// Makes `top` and `levels` folders "d" nested below it (under Wine from the
// Linux side, which is far faster at depth); true when the deepest exists.
// RemoveNestedFolders takes such a tree away again, without recursion.
bool MakeNestedFolders(const std::wstring& top, int levels);
void RemoveNestedFolders(const std::wstring& top);

// The names the system will delete at the next restart
// ("PendingFileRenameOperations"), one per line; what a test adds is taken
// away again when the guard goes.
class CPendingDeletes {
public:
    CPendingDeletes();
    ~CPendingDeletes();
    CPendingDeletes(const CPendingDeletes&) = delete;
    CPendingDeletes& operator=(const CPendingDeletes&) = delete;

    // True when a pending deletion names `path` (letter case ignored).
    static bool Names(const std::wstring& path);

private:
    std::vector<BYTE> m_saved;
    bool m_hadValue = false;
};

}  // namespace kalvex::test
