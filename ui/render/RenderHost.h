// IRenderHost: what the drawing code asks of the window it draws for (fonts,
// link and selection colours, the image table, the mouse, the window's DCs
// and a paint of its tree), so that render never reaches up to the manager
// or the controls. CUIManager is the one host; the render kit never owns it.
#pragma once

#include <windows.h>

#include "ui/core/UIString.h"
#include "ui/render/ImageEntry.h"

namespace DuiLib {

class IControlUI;

// One font of a manager's or the shared font table.
struct FontEntry
{
    HFONT font = nullptr;  // owned
    CUIString faceName;
    int size = 0;          // pixels
    BYTE bold = 0;
    BYTE underline = 0;
    BYTE italic = 0;
    BYTE strikeout = 0;
    // Filled lazily: tmHeight 0 means not measured yet.
    TEXTMETRICW metrics = {};
};

// Style bits of AddFont, FindFont and SetDefaultFont.
enum UIFontStyle : UINT
{
    UIFONT_PLAIN = 0,
    UIFONT_BOLD = 0x01,
    UIFONT_UNDERLINE = 0x02,
    UIFONT_ITALIC = 0x04,
    UIFONT_STRIKEOUT = 0x08,
};

// Which layer of the two-layer resource tables an operation writes.
enum class ResourceScope
{
    Own,     // this manager's table (or the shared one while it uses shared resources)
    Shared,  // the process-wide table
};

class IRenderHost
{
public:
    // ---- Fonts ---------------------------------------------------------------

    // Creates the font from the default GUI font with face, size (pixels) and
    // UIFontStyle bits and stores it under id, replacing and deleting an
    // earlier font of that id. Null, changing nothing, when it cannot be made.
    virtual HFONT AddFont(int id, const wchar_t* face, int size, UINT styles, ResourceScope scope) = 0;
    // Own table, then shared; the default font for a negative or unknown id.
    virtual HFONT GetFont(int id) = 0;
    // The first font of the own, then the shared table with exactly this face,
    // size and styles; null when none.
    virtual HFONT FindFont(const wchar_t* face, int size, UINT styles) = 0;
    // Measured entries: own table, then shared, else the default font's entry.
    virtual FontEntry* GetFontEntry(int id) = 0;
    virtual FontEntry* GetFontEntry(HFONT font) = 0;
    // The host's default font when it has one, else the shared default.
    virtual FontEntry* GetDefaultFontEntry() = 0;

    // ---- Colours, images and the mouse -----------------------------------------

    virtual DWORD GetLinkFontColor() const = 0;
    virtual DWORD GetLinkHoverFontColor() const = 0;
    virtual DWORD GetSelectedColor() const = 0;
    // The image stored under name, else loaded (a skin file; with type a
    // resource of that type or, for "*COLOR*", a colour text) into the
    // host's own table; null for an empty name or an image that cannot load.
    virtual ImageEntry* GetOrAddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl) = 0;
    // The last mouse position in client coordinates; (-1, -1) before the
    // first mouse message.
    virtual POINT GetMousePos() const = 0;

    // ---- The window's pictures ------------------------------------------------

    // The window's device context; null before a window is attached.
    virtual HDC GetPaintDC() const = 0;
    // The memory context holding the last painted picture; null when there
    // is none.
    virtual HDC GetOffscreenDC() const = 0;
    // True in per-pixel translucent mode.
    virtual bool IsLayered() const = 0;
    // True while the host paints its tree.
    virtual bool IsPainting() const = 0;
    // Paints the host's control tree into dc within rect, stopping before
    // stopControl (null: the whole tree); nothing without a tree.
    virtual void PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl) = 0;

protected:
    // Hosts are never deleted through this interface.
    ~IRenderHost() = default;
};

}  // namespace DuiLib
