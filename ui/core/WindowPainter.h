// CWindowPainter: WM_PAINT for a manager's window. It keeps the off-screen
// picture, runs the layout pass with the first-layout notification, draws
// the tree and the overlay painters, and tracks the invalid area, the native
// child windows placed over controls and WM_PRINTCLIENT. Owned by
// CUIManager; per-pixel translucency is CLayeredPresenter's, which it hands
// the picture to.
// Invariant: the off-screen bitmap, when it exists, has the client's size and
// the kind the mode needs; only the update area is painted and copied.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/ControlRef.h"
#include "ui/core/PtrList.h"
#include "ui/core/UIRect.h"

namespace DuiLib {

class CFocusKeeper;
class CLayeredPresenter;
class CUIManager;
class IControlUI;

class CWindowPainter
{
public:
    // manager lends its window, device context, root and notifications;
    // presenter takes the picture in layered mode; focus is served first
    // when a focus move waits for the paint.
    CWindowPainter(CUIManager& manager, CLayeredPresenter& presenter, CFocusKeeper& focus)
        : m_manager(manager), m_presenter(presenter), m_focus(focus)
    {
    }
    CWindowPainter(const CWindowPainter&) = delete;
    CWindowPainter& operator=(const CWindowPainter&) = delete;
    ~CWindowPainter() { ReleaseOffscreen(); }

    // WM_PAINT in three steps with one exit; true when a frame was drawn.
    bool PaintFrame();
    // WM_PRINTCLIENT: the tree, and with PRF_CHILDREN the child windows,
    // into dc; nothing without a root.
    void PrintClient(HDC dc, WPARAM wParam, LPARAM lParam);
    // Paints the root into dc within rect up to stopControl (null: the
    // whole tree), as a snapshot; nothing without a root.
    void PaintRoot(HDC dc, const RECT& rect, IControlUI* stopControl);

    // Marks the whole client area, or rect (negative left and top become 0,
    // inverted edges collapse), for repainting; in layered mode the area
    // joins the layered dirty rectangle instead. Nothing without a window.
    void Invalidate();
    void Invalidate(const RECT& rect);
    // Has the next paint lay the tree out again: only the controls that
    // asked, unless the root did. The caller invalidates what must be seen.
    void RequestLayout() { m_layoutNeeded = true; }
    bool IsLayoutRequested() const { return m_layoutNeeded; }
    // A new tree: the next paint lays it out whole and sends "windowinit".
    void ExpectNewTree();
    // True while WM_PAINT handling runs.
    bool IsPainting() const { return m_painting; }

    // The picture of the last paint and the memory context it stays
    // selected into; null before the first paint and while a new layout is
    // pending.
    HBITMAP GetOffscreenBitmap() const { return m_offscreenBitmap; }
    HDC GetOffscreenDC() const { return m_offscreenDc; }
    // Deletes the picture (and the layered background); the next paint
    // makes them again.
    void ReleaseOffscreen();

    // Scratch list the layout pass collects controls in; controls may reuse
    // it while they are being laid out.
    CPtrList& FoundControlScratch() { return m_foundControls; }
    // Controls whose PaintOverlay runs after the tree, in order of adding.
    // Add refuses null (false); Remove takes out the first occurrence and
    // answers whether there was one.
    bool AddOverlayPainter(IControlUI* control);
    bool RemoveOverlayPainter(IControlUI* control);

    // Native child windows placed over controls, printed into layered
    // pictures; null or an already registered window is refused.
    bool AddHostedWindow(IControlUI* control, HWND window);
    bool RemoveHostedWindow(HWND window);
    // The window's rectangle in client coordinates; empty for null.
    CUIRect HostedWindowRect(HWND window) const;
    // The control hosting window; null when window is not hosted or its
    // control has gone.
    IControlUI* HostOf(HWND window) const;
    // Forgets the overlay painters and hosted windows of a tree that goes.
    void ForgetTreeLists();

private:
    struct HostedWindow
    {
        CControlRef control;
        HWND window;
    };

    // The three steps of PaintFrame; each answers false when the paint ends
    // there (having validated the window where nothing is left to draw).
    // The area to paint: the layered dirty area or the update region.
    bool FindPaintArea(CUIRect& client, CUIRect& area);
    // Focus and layout, which may run application code; then the off-screen
    // picture at the client's size.
    bool LayOutForPaint(CUIRect& client, CUIRect& area);
    // Draws the tree and the overlays off screen and shows the area.
    bool RenderArea(const CUIRect& client, const CUIRect& area);
    // Lays out the root, or only the controls that asked, and sends
    // "windowinit" after the first layout. False when this paint must stop.
    bool LayOutTree(const RECT& client);
    bool EnsureOffscreen(int width, int height);
    void PrintHostedWindows(const RECT& area);
    // Drops the hosted windows whose control or window has gone.
    void ForgetGoneHosts();

    CUIManager& m_manager;
    CLayeredPresenter& m_presenter;
    CFocusKeeper& m_focus;
    HDC m_offscreenDc = nullptr;
    HBITMAP m_offscreenBitmap = nullptr;
    SIZE m_offscreenSize = {0, 0};
    BYTE* m_offscreenBits = nullptr;  // layered mode only: bottom-up rows
    bool m_layoutNeeded = false;
    bool m_firstLayoutPending = true;
    bool m_painting = false;
    std::vector<CControlRef> m_overlayPainters;  // PaintOverlay after the tree
    CPtrList m_foundControls;                    // IControlUI, scratch of the layout pass
    std::vector<HostedWindow> m_hostedWindows;
};

}  // namespace DuiLib
