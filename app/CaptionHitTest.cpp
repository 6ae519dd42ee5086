#include "app/CaptionHitTest.h"

#include "ui/control/ControlInterface.h"

#include <windowsx.h>

#include <cwchar>

namespace kalvex {

LRESULT SkinCaptionHitTest(HWND window, DuiLib::CUIManager& manager, LPARAM screenPoint,
                           std::initializer_list<const wchar_t*> clickableClasses)
{
    POINT point = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenToClient(window, &point);
    RECT client = {};
    GetClientRect(window, &client);
    const RECT caption = manager.GetCaptionRect();
    if (point.x < client.left + caption.left || point.x >= client.right - caption.right || point.y < caption.top ||
        point.y >= caption.bottom)
        return HTCLIENT;
    DuiLib::IControlUI* control = manager.LocateControl(point);
    if (control == nullptr)
        return HTCLIENT;
    for (const wchar_t* name : clickableClasses) {
        if (std::wcscmp(control->GetClass(), name) == 0)
            return HTCLIENT;
    }
    return HTCAPTION;
}

void ApplySkinRoundCorners(HWND window, const DuiLib::CUIManager& manager)
{
    const SIZE corner = manager.GetRoundCorner();
    if (IsIconic(window) || (corner.cx == 0 && corner.cy == 0))
        return;
    RECT frame = {};
    GetWindowRect(window, &frame);
    OffsetRect(&frame, -frame.left, -frame.top);
    HRGN region = CreateRoundRectRgn(0, 0, frame.right + 1, frame.bottom + 1, corner.cx, corner.cy);
    // Once set, the region belongs to the system and must not be deleted;
    // only a refused one is still ours.
    if (region != nullptr && SetWindowRgn(window, region, TRUE) == 0)
        DeleteObject(region);
}

}  // namespace kalvex
