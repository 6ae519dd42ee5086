// The layout builder's tag table: which control class each skin tag makes.
// Tags compare without regard to case, except "GifAnim", which matches only
// in that spelling. A tag the toolkit has no class for makes nothing, just as
// an unknown tag does; adding a class is one entry in ControlTags.cpp.
#pragma once

namespace DuiLib {

class IControlUI;

enum class TagCase
{
    Any,    // compared without regard to case
    Exact,  // matches only in exactly this spelling
};

struct ControlTag
{
    const wchar_t* tag;
    TagCase tagCase;
    const wchar_t* className;  // the class the tag stands for
    IControlUI* (*make)();     // null: the toolkit has no such class yet
};

// The rows in table order; count receives their number.
const ControlTag* GetControlTags(int& count);
// The row tag names under its case rule, or null for a null or unknown tag.
const ControlTag* FindControlTag(const wchar_t* tag);

// A new control of the class that tag names, or null for a null tag, an
// unknown tag or one whose class the toolkit does not have.
IControlUI* CreateControlForTag(const wchar_t* tag);

}  // namespace DuiLib
