// Finding and terminating the product's processes by executable file name.
#pragma once

namespace kalvex {

enum class NameMatch { IgnoreCase, Exact };
enum class KillScope { FirstOnly, All };

// Id of the first running process whose executable file name (no path)
// equals `name`; -1 when none does or the process list cannot be taken.
long FindProcessByName(const wchar_t* name, NameMatch match);

// Terminates processes whose executable file name equals `name` exactly
// (letter case included): every one with KillScope::All, otherwise the first
// that could be opened. Processes that cannot be opened are skipped. Always true.
bool KillProcessesByName(const wchar_t* name, KillScope scope);

}  // namespace kalvex
