// Resource identifiers of kalvex.exe, shared by kalvex.rc and the code that
// loads the resources. Plain macros, because the resource compiler reads this
// file too. The skin archive's resource type is the name "ZIPRES".
#pragma once

#define KALVEX_ICON_ID 101  // application, window and tray icon
#define KALVEX_SKIN_ID 102  // the enciphered skin zip, type "ZIPRES"
