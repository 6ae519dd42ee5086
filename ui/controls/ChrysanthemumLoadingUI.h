// CChrysanthemumLoadingUI: the "loading" spinner: spokes about the control's
// centre, drawn bright to faint with GDI+ into a picture of the control's
// size; each tick of the manager's timer 100 turns the sequence by one spoke.
// Invariant: the colour and angle tables hold exactly the spoke count's
// entries, and the spoke count stays within 0..kMaxSpokes.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/control/ControlUI.h"
#include "ui/controls/FrameCache.h"
#include "ui/controls/GdiplusTextUI.h"

namespace DuiLib {

class CChrysanthemumLoadingUI : public CGdiplusTextUI
{
public:
    // More spokes than degrees in a turn cannot be told apart.
    static constexpr int kMaxSpokes = 360;

    CChrysanthemumLoadingUI();
    // Stops the timer and releases the picture.
    ~CChrysanthemumLoadingUI() override;

    // "ChrysanthemumLoading".
    const wchar_t* GetClass() const override;
    // This control for "ChrysanthemumLoading", else the base's answer.
    void* CastTo(const wchar_t* name) override;
    // Builds the spokes and starts the timer.
    void OnInitialised() override;
    // Showing starts the timer, hiding stops it.
    void SetVisible(bool visible) override;
    void SetInheritedVisible(bool visible) override;
    // The base placement; then the spokes are built for the new size.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // Timer 100 renders the next turn; other timers become "timer"
    // notifications (the base's handling).
    void HandleEvent(UIEvent& event) override;
    // "timeinterval", "spokenum", "thickness", "outradius", "innerradius",
    // "bkcolor", "spokecolor", "align", "valign", "textcolor", "rhaa",
    // "multiline", "font", "textpadding", then the base's.
    const ControlAttributeTable& GetAttributeTable() const override;
    // The whole painting: the rendered picture, unscaled, at the top-left
    // corner; nothing while hidden.
    bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    // An animation, animated while it has spokes to turn.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // Negative counts are 0 (no spokes), counts above kMaxSpokes are
    // kMaxSpokes; a change rebuilds the tables.
    void SetSpokeCount(int count);
    int GetSpokeCount() const { return m_spokeCount; }
    // A change rebuilds the tables.
    void SetSpokeColor(DWORD color);
    // Colour of the j-th spoke drawn, brightest first.
    const std::vector<DWORD>& GetSpokeColors() const { return m_spokeColors; }
    // Angle of spoke i in degrees: (i + 1) x 360 / count.
    const std::vector<double>& GetSpokeAngles() const { return m_spokeAngles; }
    int GetRotationOffset() const { return m_offset; }
    bool HasPicture() const { return m_picture.Count() > 0; }

private:
    // Rebuilds the tables (nothing without spokes) and renders.
    void Rebuild();
    // Draws the next turn into a new picture of the control's size.
    void Render();
    void ReleasePicture();
    void StartTimer();
    void SpinWhileShown(bool shown);

    int m_interval = 40;  // ms
    int m_spokeCount = 10;
    int m_thickness = 4;
    int m_outerRadius = 0;
    int m_innerRadius = 0;
    int m_offset = 0;
    float m_centreX = 0.0f;
    float m_centreY = 0.0f;
    DWORD m_spokeColor = 0xFF000000;
    std::vector<DWORD> m_spokeColors;
    std::vector<double> m_spokeAngles;
    // The rendered turn (one picture), blended on every paint.
    CFrameCache m_picture;
};

}  // namespace DuiLib
