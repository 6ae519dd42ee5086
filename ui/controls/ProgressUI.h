// CProgressUI: an integer value within a range, shown by painting the fore
// image over the filled part of the control: from the left edge when
// horizontal, from the bottom edge when vertical. Text, background and
// border are the label's. Invariant: after a paint, min < max and
// min <= value <= max.
#pragma once

#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace DuiLib {

class CProgressUI : public CLabelUI
{
public:
    CProgressUI();

    // "Progress".
    const wchar_t* GetClass() const override;
    // This control for "Progress", else the label's answer.
    void* CastTo(const wchar_t* name) override;
    // "foreimage", "hor", "min", "max", "value", then the label's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // Repairs the range, then paints the fore image into the filled part.
    void PaintStateImage(HDC dc) override;
    // A progress bar; its value is the filled share as a percentage of the
    // range as painting repairs it.
    void DescribeAccess(int part, AccessDescription& description) const override;

    bool IsHorizontal() const { return m_horizontal; }
    void SetHorizontal(bool horizontal);
    int GetMinValue() const { return m_min; }
    // Stored as given; painting repairs an empty range.
    void SetMinValue(int value);
    int GetMaxValue() const { return m_max; }
    void SetMaxValue(int value);
    int GetValue() const { return m_value; }
    // Stored, then lowered to the maximum and raised to the minimum.
    void SetValue(int value);
    const wchar_t* GetProgressImage() const { return m_progressImage.drawString.GetData(); }
    void SetProgressImage(const wchar_t* description) { AssignImage(m_progressImage, description); }

private:
    bool m_horizontal = true;
    int m_max = 100;
    int m_min = 0;
    int m_value = 0;
    ImageDrawSpec m_progressImage;
};

}  // namespace DuiLib
