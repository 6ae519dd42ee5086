// The fixed names the uninstaller shares with the product's installer and
// with other instances of itself. Changing any of them breaks that contract.
#pragma once

namespace kalvex {

// Uninstall entry under HKEY_LOCAL_MACHINE, written by the product's installer.
inline constexpr wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\velko";
inline constexpr wchar_t kUninstallStringValue[] = L"UninstallString";
inline constexpr wchar_t kDisplayShortcutValue[] = L"DisplayShortcut";

inline constexpr wchar_t kTempVariable[] = L"TEMP";
inline constexpr wchar_t kManifestName[] = L"kalvex.dat";
inline constexpr wchar_t kManifestTempName[] = L"\\kalvex.dat";
inline constexpr wchar_t kSelfCopyName[] = L"\\kalvex.exe";
inline constexpr wchar_t kLogFileName[] = L"\\log2.log";
inline constexpr int kLogLimitKb = 1024;

// The main window's class and title: a second instance finds the first by them.
inline constexpr wchar_t kMainWindowClass[] = L"CMainWnd";
inline constexpr wchar_t kWindowTitle[] = L"Velko加速器卸载向导";
inline constexpr char kSingleInstanceName[] = "Global\\_ONCE_RUN_velkoJiasuqi_uninstall_";

// Capacities of the fixed, zero-filled character buffers texts go through.
inline constexpr unsigned kPathChars = 1024;
inline constexpr unsigned kModulePathChars = 512;
inline constexpr unsigned kRegistryValueChars = 10240;
inline constexpr unsigned kLogMessageChars = 10240;

}  // namespace kalvex
