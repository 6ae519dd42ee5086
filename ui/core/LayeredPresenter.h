// CLayeredPresenter: a window's translucency. Constant-alpha opacity, and the
// per-pixel layered mode: its 10 ms frame clock, the dirty rectangle that
// stands in for WM_PAINT, the background picture drawn from the layered
// image, the opaque padding and the drop shadow ring, and presentation
// through UpdateLayeredWindow. Owned by CUIManager; the window painter hands
// it the off-screen picture to start and to present.
// Invariant: constant-alpha and per-pixel mode never hold at the same time.
#pragma once

#include <windows.h>

#include "ui/core/LayeredPixels.h"
#include "ui/core/UIRect.h"
#include "ui/render/ImageDrawSpec.h"

namespace DuiLib {

class CUIManager;

class CLayeredPresenter
{
public:
    // The platform timer id of the 10 ms frame clock of layered mode.
    static constexpr UINT_PTR kFrameTimer = 0x2000;

    // manager lends its window, device context, root and invalidation.
    explicit CLayeredPresenter(CUIManager& manager) : m_manager(manager) {}
    CLayeredPresenter(const CLayeredPresenter&) = delete;
    CLayeredPresenter& operator=(const CLayeredPresenter&) = delete;
    ~CLayeredPresenter() { ReleaseBackground(); }

    // ---- Settings -----------------------------------------------------------

    // Makes the whole window uniformly alpha/255 opaque through the
    // platform's constant layered alpha and leaves per-pixel mode. Without a
    // window, or where the platform lacks SetLayeredWindowAttributes, only
    // the value is stored.
    void SetOpacity(BYTE alpha);
    // The constant alpha of the window (in layered mode applied on top of
    // the per-pixel alpha); 255 by default.
    BYTE GetOpacity() const { return m_opacity; }
    // Per-pixel translucent mode: the manager presents its picture with
    // UpdateLayeredWindow, driven by a 10 ms frame clock. Ignored without a
    // window, for a child window, for the current mode and where the platform
    // lacks UpdateLayeredWindow.
    void SetLayered(bool layered);
    bool IsLayered() const { return m_layered; }
    // Stores alpha as the opacity and has the picture presented anew.
    void SetLayeredOpacity(BYTE alpha);
    // Turns per-pixel mode on and takes description (an image description
    // string; null counts as "") as the picture under the controls, loading
    // its image at once.
    void SetLayeredImage(const wchar_t* description);
    const ImageDrawSpec& GetLayeredImage() const { return m_layeredImage; }
    // Outside this inset of the window, pixels keep their own alpha; inside
    // it every drawn pixel is opaque. All 0 means no padding.
    void SetLayeredPadding(const RECT& padding) { m_layeredPadding = padding; }
    const CUIRect& GetLayeredPadding() const { return m_layeredPadding; }
    // The drop shadow of layered mode: a ring of size pixels around the
    // content, shadow colour (0xAARRGGBB) fading to transparent outward;
    // the focus scale (0..1) is how much of the ring keeps the full colour,
    // -1 for (100 - size) / 100. A change redraws the ring; a negative size
    // counts as 0, and a new size also lays the root out again.
    void SetShadowSize(int size);
    int GetShadowSize() const { return m_shadowSize; }
    void SetShadowColor(DWORD color);
    DWORD GetShadowColor() const { return m_shadowColor; }
    void SetShadowFocusScales(float scale);
    float GetShadowFocusScales() const { return m_shadowFocusScale; }

    // ---- The frame, for the window painter ----------------------------------

    // Joins area to the dirty rectangle that the frame clock paints.
    void AddDirty(const RECT& area);
    // True while something waits for the frame clock.
    bool IsDirty() const { return !IsRectEmpty(&m_layeredDirty); }
    // Takes the dirty rectangle as the area to paint, kept off the shadow
    // ring where it reaches the client's edge; false when nothing is dirty.
    bool TakeDirtyArea(const RECT& client, CUIRect& area);
    // True from a change of mode, opacity, image or shadow size until the
    // frame that shows it ends (EndFrame).
    bool HasChanged() const { return m_layeredChanged; }
    void EndFrame() { m_layeredChanged = false; }
    // Has the shadow ring drawn again at the next presentation.
    void MarkShadowDirty() { m_shadowDirty = true; }
    // Starts the area's pixels on plane from the layered image, or from
    // transparency.
    void PrepareArea(const PixelPlane& plane, const RECT& client, const RECT& area);
    // Fixes the area's alpha and presents the picture in offscreenDc (whose
    // pixels plane holds) with UpdateLayeredWindow, with the shadow ring
    // when the shadow size is 1 or more.
    void Present(HDC offscreenDc, const PixelPlane& plane, const RECT& client, const RECT& area);
    // Drops the background picture; the next prepared area makes it again.
    void ReleaseBackground();
    // A 32-bit bottom-up DIB section, the shape the layered pixel work
    // expects; null (bits null) for an empty or oversized picture.
    static HBITMAP CreatePlaneBitmap(int width, int height, BYTE*& bits);

private:
    using UpdateLayeredWindowProc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                                  BLENDFUNCTION*, DWORD);
    // user32's UpdateLayeredWindow, looked up once per process; null where
    // the platform lacks it.
    static UpdateLayeredWindowProc UpdateLayeredWindowEntry();
    // Draws the drop shadow ring when it needs redrawing and presents the
    // layered window at the window's size.
    void PresentWithShadow(HDC offscreenDc, const PixelPlane& plane);

    CUIManager& m_manager;
    bool m_layered = false;
    bool m_layeredChanged = false;
    bool m_shadowDirty = false;
    BYTE m_opacity = 255;
    int m_shadowSize = 0;
    DWORD m_shadowColor = 0xFF000000;
    float m_shadowFocusScale = -1.0f;
    CUIRect m_layeredDirty;    // accumulated invalidation, taken by painting
    CUIRect m_layeredPadding;  // "nolayeredpadding"; all 0 = none
    ImageDrawSpec m_layeredImage;
    // The layered image drawn at the client's size, the start of each area.
    HDC m_backgroundDc = nullptr;
    HBITMAP m_backgroundBitmap = nullptr;
    BYTE* m_backgroundBits = nullptr;  // bottom-up rows
};

}  // namespace DuiLib
