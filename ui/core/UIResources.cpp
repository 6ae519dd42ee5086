// CUIResources: the image adjustment, the shared defaults and the two-layer
// tables of colours, fonts, images and default attribute lists, and the
// window custom attributes.
// Invariant: every record a table holds is owned by that table alone.
//
// [SECTIONS] image adjustment · shared defaults · colours ·
// fonts · images · default attributes · window attributes
#include "ui/core/UIResources.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <new>

#include "ui/core/UIManager.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {

namespace {

CUIString DecimalKey(int id)
{
    CUIString key;
    key.Format(L"%d", id);
    return key;
}

}  // namespace

short CUIResources::s_hue = 180;
short CUIResources::s_saturation = 100;
short CUIResources::s_lightness = 100;
bool CUIResources::s_hslActive = false;
CUIResources::ResourceRecord CUIResources::s_shared;

CUIResources::CUIResources(CUIManager& manager) : m_manager(manager)
{
    EnsureSharedDefaults();
    m_own.disabledFontColor = s_shared.disabledFontColor;
    m_own.defaultFontColor = s_shared.defaultFontColor;
    m_own.linkFontColor = s_shared.linkFontColor;
    m_own.linkHoverFontColor = s_shared.linkHoverFontColor;
    m_own.selectedColor = s_shared.selectedColor;
}

void CUIResources::ReleaseOwn()
{
    RemoveAllFonts(ResourceScope::Own);
    RemoveAllImages(ResourceScope::Own);
    RemoveAllDefaultAttributes(ResourceScope::Own);
    RemoveAllWindowCustomAttributes();
}

// ---- Image adjustment -------------------------------------------------------

bool CUIResources::GetHslAdjustment(short& hue, short& saturation, short& lightness)
{
    hue = s_hue;
    saturation = s_saturation;
    lightness = s_lightness;
    return s_hslActive;
}

// ---- Shared defaults --------------------------------------------------------

void CUIResources::EnsureSharedDefaults()
{
    if (!s_shared.defaultFont.faceName.IsEmpty())
        return;
    s_shared.disabledFontColor = 0xFFA7A6AA;
    s_shared.defaultFontColor = 0xFF000000;
    s_shared.linkFontColor = 0xFF0000FF;
    s_shared.linkHoverFontColor = 0xFFD3215F;
    s_shared.selectedColor = 0xFFBAE4FF;

    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfCharSet = DEFAULT_CHARSET;
    FontEntry& entry = s_shared.defaultFont;
    entry.font = CreateFontIndirectW(&logFont);
    entry.faceName = logFont.lfFaceName;
    entry.size = -logFont.lfHeight;
    entry.bold = logFont.lfWeight >= FW_BOLD ? 1 : 0;
    entry.underline = logFont.lfUnderline == 1 ? 1 : 0;
    entry.italic = logFont.lfItalic == 1 ? 1 : 0;
    entry.strikeout = logFont.lfStrikeOut == 1 ? 1 : 0;
    entry.metrics = {};
}

CUIResources::ResourceRecord& CUIResources::TargetRecord(ResourceScope scope)
{
    return scope == ResourceScope::Shared || m_useShared ? s_shared : m_own;
}

// ---- Colours ----------------------------------------------------------------

void CUIResources::SetColor(DWORD ResourceRecord::*field, DWORD color, ResourceScope scope)
{
    if (scope == ResourceScope::Own)
    {
        m_own.*field = color;
        return;
    }
    // A manager that chose its own colour keeps it.
    if (m_own.*field == s_shared.*field)
        m_own.*field = color;
    s_shared.*field = color;
}

void CUIResources::SetDisabledFontColor(DWORD color, ResourceScope scope)
{
    SetColor(&ResourceRecord::disabledFontColor, color, scope);
}

void CUIResources::SetDefaultFontColor(DWORD color, ResourceScope scope)
{
    SetColor(&ResourceRecord::defaultFontColor, color, scope);
}

void CUIResources::SetLinkFontColor(DWORD color, ResourceScope scope)
{
    SetColor(&ResourceRecord::linkFontColor, color, scope);
}

void CUIResources::SetLinkHoverFontColor(DWORD color, ResourceScope scope)
{
    SetColor(&ResourceRecord::linkHoverFontColor, color, scope);
}

void CUIResources::SetSelectedColor(DWORD color, ResourceScope scope)
{
    SetColor(&ResourceRecord::selectedColor, color, scope);
}

// ---- Fonts ------------------------------------------------------------------

HFONT CUIResources::CreateSkinFont(const wchar_t* face, int size, UINT styles)
{
    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    std::wmemset(logFont.lfFaceName, L'\0', LF_FACESIZE);
    if (face != nullptr)
        std::wcsncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfHeight = -size;
    // Added to the GUI font's own weight, not a replacement by 700.
    if (styles & UIFONT_BOLD)
        logFont.lfWeight += FW_BOLD;
    if (styles & UIFONT_UNDERLINE)
        logFont.lfUnderline = 1;
    if (styles & UIFONT_ITALIC)
        logFont.lfItalic = 1;
    if (styles & UIFONT_STRIKEOUT)
        logFont.lfStrikeOut = 1;
    return CreateFontIndirectW(&logFont);
}

namespace {

void FillFontEntry(FontEntry& entry, HFONT font, const wchar_t* face, int size, UINT styles)
{
    entry.font = font;
    entry.faceName = face;
    entry.size = size;
    entry.bold = (styles & UIFONT_BOLD) ? 1 : 0;
    entry.underline = (styles & UIFONT_UNDERLINE) ? 1 : 0;
    entry.italic = (styles & UIFONT_ITALIC) ? 1 : 0;
    entry.strikeout = (styles & UIFONT_STRIKEOUT) ? 1 : 0;
    entry.metrics = {};
}

bool FontMatches(const FontEntry& entry, const wchar_t* face, int size, UINT styles)
{
    return entry.faceName.Compare(face) == 0 && entry.size == size &&
           entry.bold == ((styles & UIFONT_BOLD) ? 1 : 0) &&
           entry.underline == ((styles & UIFONT_UNDERLINE) ? 1 : 0) &&
           entry.italic == ((styles & UIFONT_ITALIC) ? 1 : 0) &&
           entry.strikeout == ((styles & UIFONT_STRIKEOUT) ? 1 : 0);
}

FontEntry* FindFontByHandle(CNameMap& table, HFONT font)
{
    for (int i = 0; i < table.GetSize(); ++i)
    {
        FontEntry* entry = static_cast<FontEntry*>(table.Find(table.GetAt(i), false));
        if (entry->font == font)
            return entry;
    }
    return nullptr;
}

}  // namespace

void CUIResources::Measure(FontEntry& entry)
{
    HDC dc = m_manager.GetPaintDC();
    if (entry.metrics.tmHeight != 0 || dc == nullptr || entry.font == nullptr)
        return;
    HGDIOBJ previous = SelectObject(dc, entry.font);
    GetTextMetricsW(dc, &entry.metrics);
    SelectObject(dc, previous);
}

HFONT CUIResources::AddFont(int id, const wchar_t* face, int size, UINT styles, ResourceScope scope)
{
    HFONT font = CreateSkinFont(face, size, styles);
    if (font == nullptr)
        return nullptr;
    CNameMap& table = TargetRecord(scope).fonts;
    CUIString key = DecimalKey(id);
    FontEntry* old = static_cast<FontEntry*>(table.Find(key.GetData(), false));
    if (old != nullptr)
    {
        DeleteObject(old->font);
        delete old;
        table.Remove(key.GetData());
    }

    FontEntry* entry = new FontEntry;
    FillFontEntry(*entry, font, face, size, styles);
    Measure(*entry);
    if (!table.Insert(key.GetData(), entry))
    {
        DeleteObject(font);
        delete entry;
        return nullptr;
    }
    return font;
}

HFONT CUIResources::GetFont(int id)
{
    if (id >= 0)
    {
        CUIString key = DecimalKey(id);
        FontEntry* entry = static_cast<FontEntry*>(m_own.fonts.Find(key.GetData()));
        if (entry == nullptr)
            entry = static_cast<FontEntry*>(s_shared.fonts.Find(key.GetData()));
        if (entry != nullptr)
            return entry->font;
    }
    return m_own.defaultFont.faceName.IsEmpty() ? s_shared.defaultFont.font
                                                      : m_own.defaultFont.font;
}

HFONT CUIResources::FindFont(const wchar_t* face, int size, UINT styles)
{
    CNameMap* tables[] = {&m_own.fonts, &s_shared.fonts};
    for (CNameMap* table : tables)
    {
        for (int i = 0; i < table->GetSize(); ++i)
        {
            FontEntry* entry = static_cast<FontEntry*>(table->Find(table->GetAt(i), false));
            if (FontMatches(*entry, face, size, styles))
                return entry->font;
        }
    }
    return nullptr;
}

FontEntry* CUIResources::GetFontEntry(int id)
{
    CUIString key = DecimalKey(id);
    FontEntry* entry = static_cast<FontEntry*>(m_own.fonts.Find(key.GetData()));
    if (entry == nullptr)
        entry = static_cast<FontEntry*>(s_shared.fonts.Find(key.GetData()));
    if (entry == nullptr)
        return GetDefaultFontEntry();
    Measure(*entry);
    return entry;
}

FontEntry* CUIResources::GetFontEntry(HFONT font)
{
    FontEntry* entry = font != nullptr ? FindFontByHandle(m_own.fonts, font) : nullptr;
    if (entry == nullptr && font != nullptr)
        entry = FindFontByHandle(s_shared.fonts, font);
    if (entry == nullptr)
        return GetDefaultFontEntry();
    Measure(*entry);
    return entry;
}

FontEntry* CUIResources::GetDefaultFontEntry()
{
    FontEntry& entry = m_own.defaultFont.faceName.IsEmpty() ? s_shared.defaultFont
                                                                   : m_own.defaultFont;
    Measure(entry);
    return &entry;
}

bool CUIResources::SetDefaultFont(const wchar_t* face, int size, UINT styles, ResourceScope scope)
{
    HFONT font = CreateSkinFont(face, size, styles);
    if (font == nullptr)
        return false;
    FontEntry& entry = scope == ResourceScope::Shared ? s_shared.defaultFont : m_own.defaultFont;
    if (entry.font != nullptr)
        DeleteObject(entry.font);
    FillFontEntry(entry, font, face, size, styles);
    Measure(entry);
    return true;
}

void CUIResources::FreeFontTable(CNameMap& table)
{
    for (int i = 0; i < table.GetSize(); ++i)
    {
        FontEntry* entry = static_cast<FontEntry*>(table.Find(table.GetAt(i), false));
        DeleteObject(entry->font);
        delete entry;
    }
    table.RemoveAll();
}

void CUIResources::RemoveAllFonts(ResourceScope scope)
{
    FreeFontTable(scope == ResourceScope::Shared ? s_shared.fonts : m_own.fonts);
}

void CUIResources::ReleaseDefaultFont()
{
    if (m_own.defaultFont.font != nullptr)
        DeleteObject(m_own.defaultFont.font);
    m_own.defaultFont.font = nullptr;
}

// ---- Images -----------------------------------------------------------------

ImageEntry* CUIResources::AddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl,
                                 ResourceScope scope)
{
    if (name == nullptr || name[0] == L'\0')
        return nullptr;
    const bool hasType = type != nullptr && type[0] != L'\0';
    ImageEntry* image = CRenderKit::LoadImageEntry(ImageSourceName(name, type), hasType ? type : nullptr, mask);
    if (image == nullptr)
        return nullptr;

    if (hasType)
        image->resType = type;
    image->mask = mask;
    image->useHsl = useHsl;
    if (useHsl)
    {
        const unsigned long long bytes =
            static_cast<unsigned long long>(image->width) * static_cast<unsigned long long>(image->height) * 4;
        image->sourcePixels = bytes <= UINT_MAX ? new (std::nothrow) BYTE[static_cast<size_t>(bytes)] : nullptr;
        if (image->sourcePixels == nullptr)
        {
            ReleaseImageEntry(image, true);
            return nullptr;
        }
        std::memcpy(image->sourcePixels, image->pixels, static_cast<size_t>(bytes));
    }

    CNameMap& table = TargetRecord(scope).images;
    ImageEntry* old = static_cast<ImageEntry*>(table.Find(name, false));
    if (old != nullptr)
    {
        ReleaseImageEntry(old, true);
        table.Remove(name);
    }
    if (!table.Insert(name, image))
    {
        ReleaseImageEntry(image, true);
        return nullptr;
    }
    return image;
}

ImageEntry* CUIResources::GetImage(const wchar_t* name)
{
    ImageEntry* image = static_cast<ImageEntry*>(m_own.images.Find(name));
    return image != nullptr ? image : static_cast<ImageEntry*>(s_shared.images.Find(name));
}

ImageEntry* CUIResources::GetOrAddImage(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHsl)
{
    ImageEntry* image = GetImage(name);
    return image != nullptr ? image : AddImage(name, type, mask, useHsl, ResourceScope::Own);
}

void CUIResources::FreeImageTable(CNameMap& table)
{
    for (int i = 0; i < table.GetSize(); ++i)
        ReleaseImageEntry(static_cast<ImageEntry*>(table.Find(table.GetAt(i), false)), true);
    table.RemoveAll();
}

void CUIResources::RemoveAllImages(ResourceScope scope)
{
    FreeImageTable(scope == ResourceScope::Shared ? s_shared.images : m_own.images);
}

// ---- Default attribute lists ------------------------------------------------

void CUIResources::AddDefaultAttributes(const wchar_t* className, const wchar_t* list, ResourceScope scope)
{
    if (className == nullptr)
        return;
    CUIString* copy = new CUIString(list);
    void* previous = TargetRecord(scope).defaultAttributes.Set(className, copy);
    if (previous != copy)
        delete static_cast<CUIString*>(previous);
}

const wchar_t* CUIResources::GetDefaultAttributes(const wchar_t* className)
{
    CUIString* list = static_cast<CUIString*>(m_own.defaultAttributes.Find(className));
    if (list == nullptr)
        list = static_cast<CUIString*>(s_shared.defaultAttributes.Find(className));
    return list != nullptr ? list->GetData() : nullptr;
}

void CUIResources::FreeStringTable(CNameMap& table)
{
    for (int i = 0; i < table.GetSize(); ++i)
        delete static_cast<CUIString*>(table.Find(table.GetAt(i), false));
    table.RemoveAll();
}

void CUIResources::RemoveAllDefaultAttributes(ResourceScope scope)
{
    FreeStringTable(scope == ResourceScope::Shared ? s_shared.defaultAttributes : m_own.defaultAttributes);
}

// ---- Window custom attributes -----------------------------------------------

void CUIResources::AddWindowCustomAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr || name[0] == L'\0' || value == nullptr || value[0] == L'\0')
        return;
    if (m_windowAttributes.Find(name) != nullptr)
        return;
    CUIString* copy = new CUIString(value);
    if (!m_windowAttributes.Insert(name, copy))
        delete copy;
}

const wchar_t* CUIResources::GetWindowCustomAttribute(const wchar_t* name)
{
    CUIString* value = static_cast<CUIString*>(m_windowAttributes.Find(name));
    return value != nullptr ? value->GetData() : nullptr;
}

void CUIResources::RemoveAllWindowCustomAttributes()
{
    FreeStringTable(m_windowAttributes);
}

}  // namespace DuiLib
