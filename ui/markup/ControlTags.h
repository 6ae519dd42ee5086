// The layout builder's tag table: which control class each skin tag makes.
// Tags compare without regard to case, except "GifAnim", which matches only
// in that spelling. A tag the toolkit has no class for makes nothing, just as
// an unknown tag does; adding a class is one entry in ControlTags.cpp.
#pragma once

namespace DuiLib {

class IControlUI;

// A new control of the class that tag names, or null for a null tag, an
// unknown tag or one whose class the toolkit does not have.
IControlUI* CreateControlForTag(const wchar_t* tag);

}  // namespace DuiLib
