// RegisterProductSkin: the resource is read by the toolkit's own skin
// location code; only the lifetime of the copy is decided here.
#include "app/ProductSkin.h"

#include "resources/ResourceIds.h"
#include "ui/markup/SkinLocation.h"
#include "ui/core/UIManager.h"

namespace kalvex {

bool RegisterProductSkin(HMODULE module, const char* password)
{
    DuiLib::SkinLocation location;
    location.resourceModule = module;
    BYTE* bytes = nullptr;
    unsigned size = 0;
    if (location.ReadResource(MAKEINTRESOURCEW(KALVEX_SKIN_ID), kSkinResourceType, bytes, size) !=
        DuiLib::SkinReadStatus::Ok)
        return false;
    // The toolkit reads the archive from this block for the life of the
    // process, so it is never freed.
    DuiLib::CUIManager::SetSkinZipFromMemory(bytes, size, password);
    return true;
}

}  // namespace kalvex
