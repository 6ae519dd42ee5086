// What the borderless skin windows share: the hit test (inside the manager's
// caption rectangle the window is dragged by whatever lies there, except by
// controls that take clicks themselves) and the round-cornered outline.
#pragma once

#include "ui/core/UIManager.h"

#include <windows.h>

#include <initializer_list>

namespace kalvex {

// HTCAPTION for a screen point (as WM_NCHITTEST gives it) inside the caption
// rectangle over a control whose class is not one of `clickableClasses`;
// HTCLIENT everywhere else, and over no control at all. The caption's right
// edge counts inward from the client area's right edge.
LRESULT SkinCaptionHitTest(HWND window, DuiLib::CUIManager& manager, LPARAM screenPoint,
                           std::initializer_list<const wchar_t*> clickableClasses);

// Clips window to a rectangle whose corners are ellipses of the manager's
// round-corner size. Nothing for square corners (0 x 0) or a minimised
// window, which keep the region they have.
void ApplySkinRoundCorners(HWND window, const DuiLib::CUIManager& manager);

}  // namespace kalvex
