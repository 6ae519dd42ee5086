// Keeps the uninstaller from loading libraries planted beside it: its
// relocated copy runs elevated from the user-writable TEMP folder.
#pragma once

namespace kalvex {

// Restricts the search for libraries loaded from now on to the system folder
// (SetDefaultDllDirectories where the system has it, looked up at run time)
// and takes the current folder out of the search everywhere.
void RestrictDllSearchToSystem();

}  // namespace kalvex
