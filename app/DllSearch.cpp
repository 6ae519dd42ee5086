#include "app/DllSearch.h"

#include <windows.h>

namespace kalvex {

void RestrictDllSearchToSystem()
{
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = kernel != nullptr ? reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(
                                              GetProcAddress(kernel, "SetDefaultDllDirectories")))
                                        : nullptr;
    if (setDefault != nullptr)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

}  // namespace kalvex
