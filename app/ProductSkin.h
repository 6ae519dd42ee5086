// The skin archive the uninstaller carries in its executable, and the one
// way to hand it to the toolkit: start-up uses it with its own module, tools
// and tests with a built kalvex.exe loaded as a data file.
#pragma once

#include <windows.h>

namespace kalvex {

// The archive's resource type (its id is KALVEX_SKIN_ID) and the password
// its entries are enciphered with.
inline constexpr wchar_t kSkinResourceType[] = L"ZIPRES";
inline constexpr char kSkinPassword[] = "kTfWqR4m";

// Copies the skin archive resource of module into a block that lives until
// the process ends and installs it as the toolkit's skin archive with
// password. False, installing nothing, when module has no such resource or
// it is empty; whether the bytes open as an archive is the toolkit's
// GetSkinZipHandle to tell.
bool RegisterProductSkin(HMODULE module, const char* password = kSkinPassword);

}  // namespace kalvex
