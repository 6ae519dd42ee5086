// CUIResources: one manager's resource tables over the process-wide shared
// layer: colours, fonts, images and default attribute lists per class, plus
// the window's custom attributes. Owned by CUIManager, which forwards its
// resource operations here; language texts are CLanguageTexts'.
// Invariant: every record a table holds is owned by that table alone.
#pragma once

#include <windows.h>

#include "ui/core/NameMap.h"
#include "ui/render/ImageEntry.h"
#include "ui/render/RenderHost.h"

namespace DuiLib {

class CUIManager;

class CUIResources
{
public:
    // Makes the shared defaults on first use and starts the own colours
    // from the shared ones. manager lends its device context for measuring.
    explicit CUIResources(CUIManager& manager);
    CUIResources(const CUIResources&) = delete;
    CUIResources& operator=(const CUIResources&) = delete;
    ~CUIResources() = default;

    // Fills the hue, saturation and lightness; true when images are adjusted.
    static bool GetHslAdjustment(short& hue, short& saturation, short& lightness);

    // While set, fonts, images and default attributes added go to the
    // shared tables.
    void SetUseShared(bool use) { m_useShared = use; }
    bool IsUsingShared() const { return m_useShared; }

    // ---- Colours ------------------------------------------------------------
    // Shared scope also moves the own colour, but only while it still equals
    // the old shared value; other managers keep their copies.

    DWORD GetDisabledFontColor() const { return m_own.disabledFontColor; }
    void SetDisabledFontColor(DWORD color, ResourceScope scope);
    DWORD GetDefaultFontColor() const { return m_own.defaultFontColor; }
    void SetDefaultFontColor(DWORD color, ResourceScope scope);
    DWORD GetLinkFontColor() const { return m_own.linkFontColor; }
    void SetLinkFontColor(DWORD color, ResourceScope scope);
    DWORD GetLinkHoverFontColor() const { return m_own.linkHoverFontColor; }
    void SetLinkHoverFontColor(DWORD color, ResourceScope scope);
    DWORD GetSelectedColor() const { return m_own.selectedColor; }
    void SetSelectedColor(DWORD color, ResourceScope scope);

    // ---- Fonts (contracts as IRenderHost's) ---------------------------------

    HFONT AddFont(int id, const wchar_t* face, int size, UINT styles, ResourceScope scope);
    HFONT GetFont(int id);
    HFONT FindFont(const wchar_t* face, int size, UINT styles);
    FontEntry* GetFontEntry(int id);
    FontEntry* GetFontEntry(HFONT font);
    FontEntry* GetDefaultFontEntry();
    // Replaces the default font of the chosen layer; false, changing nothing,
    // when the font cannot be made.
    bool SetDefaultFont(const wchar_t* face, int size, UINT styles, ResourceScope scope);
    // Deletes every font of the chosen table; the default font stays.
    void RemoveAllFonts(ResourceScope scope);
    // Deletes the own default font; the shared one answers from then on.
    void ReleaseDefaultFont();

    // ---- Images -------------------------------------------------------------

    // Loads name (a skin file; with type a resource of that type, numeric
    // when name starts with a digit; with "*COLOR*" a colour text, digits or
    // not) and stores it, replacing an earlier image of that name. Null for
    // an empty name or an image that cannot be loaded.
    ImageEntry* AddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl, ResourceScope scope);
    // Own table, then shared; null when absent.
    ImageEntry* GetImage(const wchar_t* name);
    // GetImage, else AddImage into the own layer.
    ImageEntry* GetOrAddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl);
    void RemoveAllImages(ResourceScope scope);

    // ---- Default attribute lists per control class --------------------------

    // Stores a copy of list for className ("Button"), replacing an earlier
    // one. A null class name is ignored; a null list counts as "".
    void AddDefaultAttributes(const wchar_t* className, const wchar_t* list, ResourceScope scope);
    // Own table, then shared; null when absent.
    const wchar_t* GetDefaultAttributes(const wchar_t* className);
    void RemoveAllDefaultAttributes(ResourceScope scope);

    // ---- Window custom attributes -------------------------------------------

    // The first value given for a name wins; an empty name or value is ignored.
    void AddWindowCustomAttribute(const wchar_t* name, const wchar_t* value);
    // The stored value, or null.
    const wchar_t* GetWindowCustomAttribute(const wchar_t* name);
    void RemoveAllWindowCustomAttributes();

    // Frees the own fonts, images, default lists and window custom
    // attributes; the own default font and colours stay.
    void ReleaseOwn();

private:
    // Both layers of fonts, images and default attributes share this shape.
    struct ResourceRecord
    {
        DWORD disabledFontColor = 0;
        DWORD defaultFontColor = 0;
        DWORD linkFontColor = 0;
        DWORD linkHoverFontColor = 0;
        DWORD selectedColor = 0;
        FontEntry defaultFont;
        CNameMap fonts;              // decimal id -> owned FontEntry
        CNameMap images;             // name -> owned ImageEntry
        CNameMap defaultAttributes;  // class name -> owned CUIString
    };

    static void EnsureSharedDefaults();
    static HFONT CreateSkinFont(const wchar_t* face, int size, UINT styles);
    static void FreeFontTable(CNameMap& table);
    static void FreeImageTable(CNameMap& table);
    static void FreeStringTable(CNameMap& table);

    ResourceRecord& TargetRecord(ResourceScope scope);
    void SetColor(DWORD ResourceRecord::*field, DWORD color, ResourceScope scope);
    // Fills the entry's text metrics once, through the manager's device
    // context; nothing before the manager has a window.
    void Measure(FontEntry& entry);

    // The image adjustment and the shared layer, process-wide.
    static short s_hue;
    static short s_saturation;
    static short s_lightness;
    static bool s_hslActive;
    static ResourceRecord s_shared;

    CUIManager& m_manager;
    bool m_useShared = false;
    ResourceRecord m_own;
    CNameMap m_windowAttributes;  // name -> owned CUIString
};

}  // namespace DuiLib
