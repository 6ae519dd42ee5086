// RenderHeadless: skinview's --png mode. The layout is built in a window
// that stands off screen, the asked-for tab pages are selected, options
// clicked, a control hovered or pushed through the manager's own mouse
// handling, and the window's picture, with its alpha, is written as a PNG.
#pragma once

#include "tools/skinview/ViewerOptions.h"

namespace skinview {

// Renders the skin of the open source as options ask and writes options.png.
// Returns the exit code: 0 when everything went as asked, 1 when the skin
// built with problems or did not build (each problem is reported on the
// standard error stream), 2 when the layout file cannot be read at all.
int RenderHeadless(const CViewerOptions& options);

}  // namespace skinview
