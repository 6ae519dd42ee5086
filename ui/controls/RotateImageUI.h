// CRotateImageUI: a picture turned about the control's centre by a fixed
// step on every tick of the manager's timer 100, drawn with GDI+ as the
// control's background image. The picture is a plain skin file name.
// Invariant: the current angle stays within 0..359.
#pragma once

#include <windows.h>

#include "ui/control/ControlUI.h"
#include "ui/controls/FrameCache.h"
#include "ui/controls/GdiplusPicture.h"

namespace DuiLib {

class CRotateImageUI : public CControlUI
{
public:
    CRotateImageUI();
    // Stops the timer.
    ~CRotateImageUI() override;

    // "RotateImage".
    const wchar_t* GetClass() const override;
    // This control for "RotateImage", else the base's answer.
    void* CastTo(const wchar_t* name) override;
    // Loads the picture, takes the fixed angle and, with autostart, starts.
    void OnInitialised() override;
    // Showing starts, hiding stops (before the base sees the change).
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    // The base placement; then the centre of a non-empty control.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // Timer 100 turns by the step; other timers become "timer"
    // notifications (the base's handling).
    void HandleEvent(UIEvent& event) override;
    // "bkimage", "timeinterval", "eachtimeangle", "stretch", "autostart",
    // "fixangle", then the base's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The picture rotated about the centre: over the whole control when
    // stretched, else at its own size centred there.
    void PaintBackImage(HDC dc) override;
    // An animation, animated while turning.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // Starts the timer; nothing without a positive interval and step, while
    // playing, or without a manager.
    void Start();
    void Stop();
    bool IsPlaying() const { return m_playing; }
    int GetAngle() const { return m_angle; }
    // Reloads the picture when name differs from the current one.
    void SetBkImage(const wchar_t* name);
    bool HasPicture() const { return m_picture.Image() != nullptr; }

private:
    void TurnWhileShown(bool shown);

    int m_interval = 40;  // ms
    int m_step = 1;       // degrees per tick
    bool m_stretch = false;
    bool m_autoStart = true;
    int m_fixAngle = 0;
    int m_angle = 0;
    CUIString m_pictureName;
    CGdiplusPicture m_picture;
    CFrameCache m_turns;  // by angle
    bool m_playing = false;
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
};

}  // namespace DuiLib
