// CSliderUI: a progress bar with a thumb the user drags, presses or turns
// with the wheel to set the value, reported by "valuechanged". The filled
// part is the progress bar's; the thumb images follow the hot and captured
// states. Invariant: a slider without a range or without a track has its
// thumb at the start and takes the minimum from any point.
#pragma once

#include <windows.h>

#include "ui/controls/ProgressUI.h"

namespace DuiLib {

class CSliderUI : public CProgressUI
{
public:
    // "Slider".
    const wchar_t* GetClass() const override;
    // This control for "Slider", else the progress bar's answer.
    void* CastTo(const wchar_t* name) override;
    // Tab stop and set-cursor while enabled; nothing while disabled.
    UINT ControlFlagBits() const override;
    // Disabling clears the hot and captured states.
    void SetEnabled(bool enabled) override;
    void HandleEvent(UIEvent& event) override;
    // "thumbimage", "thumbhotimage", "thumbpushedimage", "thumbsize",
    // "step", "imm", then the progress bar's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The progress bar's fill, then the thumb image of the current state.
    void PaintStateImage(HDC dc) override;
    // A slider whose value is the number it holds.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // UIButtonState bits: hot and captured.
    UINT GetButtonState() const { return m_buttonState; }
    // The wheel's increment.
    int GetChangeStep() const { return m_step; }
    void SetChangeStep(int step) { m_step = step; }
    CUISize GetThumbSize() const { return m_thumbSize; }
    void SetThumbSize(const SIZE& size) { m_thumbSize = size; }
    // While set, every move of a pressed thumb sends "valuechanged".
    bool IsSendWhileDragging() const { return m_sendWhileDragging; }
    void SetSendWhileDragging(bool send) { m_sendWhileDragging = send; }
    void SetThumbImage(const wchar_t* description) { AssignImage(m_thumbImage, description); }
    void SetThumbHotImage(const wchar_t* description) { AssignImage(m_thumbHotImage, description); }
    void SetThumbPushedImage(const wchar_t* description) { AssignImage(m_thumbPushedImage, description); }
    // The thumb in client coordinates: along the track in proportion to the
    // value (left to right, or bottom to top when vertical), centred across.
    CUIRect GetThumbRect() const;
    // The value the thumb would take with its centre at point; the ends of
    // the track (half a thumb in from each edge) give the minimum and the
    // maximum.
    int ValueAtPoint(POINT point) const;

private:
    void Notify(const wchar_t* type);
    // Paints spec with the thumb rectangle (relative to the control) as its
    // destination; false when it has no image.
    bool PaintThumb(HDC dc, ImageDrawSpec& spec, const CUIRect& thumb);

    UINT m_buttonState = 0;
    CUISize m_thumbSize = CUISize(10, 10);
    int m_step = 1;
    bool m_sendWhileDragging = false;
    ImageDrawSpec m_thumbImage;
    ImageDrawSpec m_thumbHotImage;
    ImageDrawSpec m_thumbPushedImage;
};

}  // namespace DuiLib
