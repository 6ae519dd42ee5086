// CWindowSettings: the settings a skin's "Window" element gives the native
// window that the manager keeps for the window procedure and its hit test:
// initial size, tracking sizes, resize borders, caption, round corners,
// the repaint outline and no-activate. Owned by CUIManager, which forwards
// here and applies the attribute rows; translucency is CLayeredPresenter's.
#pragma once

#include <windows.h>

#include "ui/core/UIRect.h"

namespace DuiLib {

class CUIManager;

class CWindowSettings
{
public:
    // manager lends its window and root.
    explicit CWindowSettings(CUIManager& manager) : m_manager(manager) {}
    CWindowSettings(const CWindowSettings&) = delete;
    CWindowSettings& operator=(const CWindowSettings&) = delete;

    // Stores the initial size; with a window and no root yet the window is
    // resized to it (not moved, activated or reordered).
    void SetInitSize(int width, int height);
    SIZE GetInitSize() const { return m_initSize; }
    // Tracking sizes applied at WM_GETMINMAXINFO; 0 or less means not set.
    void SetMinInfo(int width, int height) { m_minInfo = SIZE{width, height}; }
    SIZE GetMinInfo() const { return m_minInfo; }
    void SetMaxInfo(int width, int height) { m_maxInfo = SIZE{width, height}; }
    SIZE GetMaxInfo() const { return m_maxInfo; }
    // Writes the tracking sizes that are set into info.
    void ApplyTrackingSizes(MINMAXINFO& info) const;
    // Widths of the resize borders, read by the window's hit test.
    void SetSizeBox(const RECT& box) { m_sizeBox = box; }
    const CUIRect& GetSizeBox() const { return m_sizeBox; }
    // The caption: left and right insets from the client's edges, top and
    // bottom in client coordinates; a bottom of -1 stands for the window's
    // height, fixed at the first GetCaptionRect.
    void SetCaptionRect(const RECT& caption) { m_caption = caption; }
    const CUIRect& GetCaptionRect();
    // The corner ellipse of the window's region; 0 x 0 for square corners.
    void SetRoundCorner(int width, int height) { m_roundCorner = SIZE{width, height}; }
    SIZE GetRoundCorner() const { return m_roundCorner; }
    // While set (and not in layered mode), every repainted area is outlined
    // in red on the window.
    void SetShowDirty(bool show) { m_showDirty = show; }
    bool IsShowDirty() const { return m_showDirty; }
    // While set, clicks do not activate the window.
    void SetNoActivate(bool noActivate) { m_noActivate = noActivate; }
    bool IsNoActivate() const { return m_noActivate; }

private:
    CUIManager& m_manager;
    SIZE m_initSize = {0, 0};
    SIZE m_minInfo = {0, 0};
    SIZE m_maxInfo = {0, 0};
    CUIRect m_sizeBox;
    CUIRect m_caption;
    SIZE m_roundCorner = {0, 0};
    bool m_showDirty = false;
    bool m_noActivate = false;
};

}  // namespace DuiLib
