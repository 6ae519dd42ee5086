// What the uninstaller clears besides the manifest's files: the product's
// running processes, its shortcut and its uninstall registry entry. Failures
// are not reported to the user; each operation says what its result means.
#pragma once

#include <string>
#include <vector>

namespace kalvex {

// The product's executables, terminated in this order. "velko.exe" stands
// twice on purpose: a client restarted by a helper between the passes is
// caught by the second.
inline constexpr const wchar_t* kTerminationList[] = {L"velko.exe", L"norvade.exe", L"quiv.exe", L"Tesmo.exe",
                                                      L"openvpn.exe", L"velko.exe", L"velkojiasu.exe"};
inline constexpr wchar_t kClientExecutable[] = L"velko.exe";

// True when a process named like the client runs (letter case ignored).
bool IsClientRunning();

// Terminates the client and its tunnel, the two a confirmed warning names.
void KillClientProcesses();

// Terminates every process of the termination list whose name matches
// exactly, letter case included.
void KillProductProcesses();

// Folders no deletion may take with it: the drive's shell folders (desktops,
// documents, start menus and their program folders, the profile and the
// users folder, application data, Windows, system, Program Files of either
// view). Folders the system cannot name are left out.
std::vector<std::wstring> ProtectedShellFolders();

// Deletes what the uninstall key's "DisplayShortcut" value names, silently.
// A missing value deletes nothing; a value that names a root, a shell folder
// or one of their ancestors, a relative path or a wildcard is skipped too.
// Always true.
bool RemoveShortcut();

// Deletes the product's uninstall key with all its subkeys and values; true
// when it was deleted.
bool DeleteUninstallKey();

}  // namespace kalvex
