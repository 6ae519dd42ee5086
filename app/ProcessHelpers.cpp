#include "app/ProcessHelpers.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

namespace kalvex {
namespace {

bool NameEquals(const wchar_t* exeFile, const wchar_t* name, NameMatch match)
{
    if (match == NameMatch::Exact)
        return std::wcscmp(exeFile, name) == 0;
    return CompareStringOrdinal(exeFile, -1, name, -1, TRUE) == CSTR_EQUAL;
}

// Calls `visit` for each process in a fresh snapshot until it returns false.
// False when no snapshot could be taken.
template <typename Visit>
bool ForEachProcess(Visit visit)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (!visit(entry))
            break;
    }
    CloseHandle(snapshot);
    return true;
}

}  // namespace

long FindProcessByName(const wchar_t* name, NameMatch match)
{
    long found = -1;
    if (name == nullptr)
        return found;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (!NameEquals(entry.szExeFile, name, match))
            return true;
        found = static_cast<long>(entry.th32ProcessID);
        return false;
    });
    return found;
}

bool KillProcessesByName(const wchar_t* name, KillScope scope)
{
    if (name == nullptr)
        return true;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (!NameEquals(entry.szExeFile, name, NameMatch::Exact))
            return true;
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
        if (process == nullptr)
            return true;
        TerminateProcess(process, 0);
        CloseHandle(process);
        return scope == KillScope::All;
    });
    return true;
}

}  // namespace kalvex
