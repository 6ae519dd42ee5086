// CUIManager's presentation of a layered window with a drop shadow, the one
// place where painting hands a translucent picture with a shadow ring over.
// FIXME: stand-in until the window-attribute code draws the shadow ring here
// (GDI+ path gradient) and clears m_shadowDirty; it presents the picture as
// painted, so the ring stays transparent.
#include "ui/core/UIManager.h"

namespace DuiLib {

void CUIManager::PresentWithShadow()
{
    UpdateLayeredWindowProc update = UpdateLayeredWindowEntry();
    if (update == nullptr)
        return;
    RECT frame = {};
    GetWindowRect(m_window, &frame);
    POINT destination = {frame.left, frame.top};
    SIZE size = {frame.right - frame.left, frame.bottom - frame.top};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_opacity, AC_SRC_ALPHA};
    update(m_window, m_paintDc, &destination, &size, m_offscreenDc, &source, 0, &blend, ULW_ALPHA);
}

}  // namespace DuiLib
