// CGifAnimUI and CGifButtonUI: an animated GIF played frame by frame on the
// manager's timer 100, each frame for its own delay, drawn stretched over the
// control with GDI+ (text on top); and the same animation pressable like a
// button. The picture is a plain skin file name, not an image description.
// Invariant: the timer runs only while playing; the frame position always
// lies below the frame count (0 when there are no frames).
#pragma once

#include <windows.h>

#include <vector>

#include "ui/control/ControlUI.h"
#include "ui/controls/FrameCache.h"
#include "ui/controls/GdiplusPicture.h"
#include "ui/controls/GdiplusTextUI.h"

namespace DuiLib {

// The manager timer key of every animated control.
constexpr UINT kAnimationTimer = 100;

// The timer period of frame, in milliseconds: its delay (hundredths of a
// second) x 10, or 100 for a zero delay or a frame beyond the delay table.
UINT GifFramePeriod(const std::vector<UINT>& delays, UINT frame);
// The frame after position: (position + 1) modulo frameCount; 0 when there
// are no frames.
UINT NextGifFrame(UINT position, UINT frameCount);

class CGifAnimUI : public CGdiplusTextUI
{
public:
    CGifAnimUI();
    // Stops the timer and releases the picture.
    ~CGifAnimUI() override;

    // "GifAnim".
    const wchar_t* GetClass() const override;
    // This control for "GifAnim", else the base's answer.
    void* CastTo(const wchar_t* name) override;
    // Loads the picture and, with autoplay, plays it.
    void OnInitialised() override;
    // Showing plays, hiding stops.
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    // Timer 100 moves to the next frame; other events go to the base.
    void HandleEvent(UIEvent& event) override;
    // "bkimage", "autoplay", "autosize", "align", "valign", "textcolor",
    // "disabledtextcolor", "rhaa", "multiline", "font", "textpadding";
    // then the base's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The whole painting: the current frame stretched over the control, the
    // text over it; loads the picture first when there is none.
    bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    // An animation, animated while playing.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // A new non-empty name stops playback and drops the old picture; the new
    // one loads at the next paint.
    void SetBkImage(const wchar_t* name);
    const CUIString& GetBkImage() const { return m_pictureName; }
    void SetAutoPlay(bool autoPlay) { m_autoPlay = autoPlay; }
    bool IsAutoPlay() const { return m_autoPlay; }
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }
    bool IsAutoSize() const { return m_autoSize; }
    // Starts the timer for the current frame; nothing while playing, without
    // a picture or without a manager.
    void PlayGif();
    // Stops the timer and goes back to the first frame.
    void StopGif();
    bool IsPlaying() const { return m_playing; }
    UINT GetFrameCount() const { return m_frameCount; }
    UINT GetFramePosition() const { return m_framePosition; }
    // The period the timer was last started with, in milliseconds.
    UINT GetFramePeriod() const { return m_framePeriod; }
    const std::vector<UINT>& GetFrameDelays() const { return m_frameDelays; }
    bool HasPicture() const { return m_picture.Image() != nullptr; }

protected:
    // The colour the text is drawn in.
    virtual DWORD TextColor() const;


private:
    void LoadPicture();
    void StartFrameTimer();
    void PlayWhileShown(bool shown);

    CUIString m_pictureName;
    CGdiplusPicture m_picture;
    CFrameCache m_frames;     // by frame number
    UINT m_activeFrame = 0;   // the frame the next paint shows
    UINT m_frameCount = 0;
    UINT m_framePosition = 0;
    UINT m_framePeriod = 0;
    std::vector<UINT> m_frameDelays;  // hundredths of a second per frame
    bool m_autoPlay = true;
    bool m_autoSize = false;
    bool m_playing = false;
};

class CGifButtonUI : public CGifAnimUI
{
public:
    // "GifButton".
    const wchar_t* GetClass() const override;
    // This control for "GifButton", else the animation's answer.
    void* CastTo(const wchar_t* name) override;
    // Tab stop while keyboard input is enabled; set-cursor while enabled.
    UINT ControlFlagBits() const override;
    // The base activation; on success sends "click".
    bool Activate() override;
    // Disabling clears the state bits.
    void SetEnabled(bool enabled) override;
    // The button's mouse and key handling without fading or repainting (the
    // animation repaints); focus events and timers go to the animation.
    void HandleEvent(UIEvent& event) override;
    // "cursor", "hottextcolor", then the animation's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // A push button ("Press" unless the skin names the action), hot and
    // pressed as it tracks the mouse.
    void DescribeAccess(int part, AccessDescription& description) const override;
    // Focuses and activates the button as a click does; false while hidden
    // or disabled.
    bool DoAccessAction(int part) override;

    UINT GetButtonState() const { return m_buttonState; }

protected:
    // The hot text colour while hot, when it is set.
    DWORD TextColor() const override;

private:
    void Notify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);

    UINT m_buttonState = 0;  // UIButtonState bits
    CUIString m_cursorName = L"hand";
    DWORD m_hotTextColor = 0xFF000000;
};

}  // namespace DuiLib
