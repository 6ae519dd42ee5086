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

}  // namespace kalvex
