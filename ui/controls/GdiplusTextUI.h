// CGdiplusTextUI: the base of the controls that draw their text only through
// GDI+ (the GIF animation and the spinner): it keeps their text settings and
// the attribute rows that set them, so both classes read one set of rows.
#pragma once

#include "ui/control/ControlUI.h"
#include "ui/controls/GdiplusText.h"

namespace DuiLib {

class CGdiplusTextUI : public CControlUI
{
public:
    // "align", "valign", "textcolor", "rhaa", "multiline", "font",
    // "textpadding"; then the base's. Each change invalidates.
    const ControlAttributeTable& GetAttributeTable() const override;

protected:
    GdiplusTextSettings m_textSettings;
};

}  // namespace DuiLib
