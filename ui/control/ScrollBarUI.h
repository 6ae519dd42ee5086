// CScrollBarUI: the toolkit's own scroll bar: two optional end buttons, a
// thumb sized by the visible share and a rail image in the thumb's middle.
// It turns clicks, drags and auto-repeat into its owner container's scroll
// steps, or without an owner scrolls itself and posts "scroll".
// Invariant: 0 <= position <= range; the thumb is empty when it has no room.
#pragma once

#include <windows.h>

#include "ui/control/ControlUI.h"

namespace DuiLib {

class CContainerUI;

// Button and thumb state bits.
enum ScrollPartState : UINT
{
    SCROLLPART_DISABLED = 0x04,
    SCROLLPART_HOT = 0x08,
    SCROLLPART_PUSHED = 0x10,
    SCROLLPART_DRAGGED = 0x40,
};

// Layout of a bar along its axis, in bar-relative coordinates: the start and
// end of each button and of the thumb (thumbStart == thumbEnd: no thumb).
struct ScrollBarGeometry
{
    int button1End;
    int button2Start;
    int button2End;
    int thumbStart;
    int thumbEnd;
    int buttonAcross;  // extent of the buttons across the axis
};

// The pure layout rule: length along the axis, thickness t, range, position
// and which buttons show. Overflow-safe for any inputs; range <= 0 fills the
// track.
ScrollBarGeometry ComputeScrollBarGeometry(int length, int thickness, int range, int position,
                                           bool showButton1, bool showButton2);

class CScrollBarUI : public CControlUI
{
public:
    CScrollBarUI();

    // "ScrollBar".
    const wchar_t* GetClass() const override;
    // This for "ScrollBar", else the base.
    void* CastTo(const wchar_t* name) override;
    // Places the buttons and the thumb after the base placement.
    void PlaceAt(const RECT& rect, bool invalidate) override;
    // Only stores the flag: the owner lays the bar out.
    void SetVisible(bool visible) override;
    // Disabling clears the hot and pushed states of every part.
    void SetEnabled(bool enabled) override;
    // The owner's focus when there is an owner.
    void SetFocus() override;
    void HandleEvent(UIEvent& event) override;
    // The part images and colours, direction, range and steps, then the base's.
    const ControlAttributeTable& GetAttributeTable() const override;
    bool PaintInto(HDC dc, const RECT& paintRect, IControlUI* stopControl) override;
    // A scroll bar whose value is its position.
    void DescribeAccess(int part, AccessDescription& description) const override;

    // The container that scrolls; null for none. Not owned.
    CContainerUI* GetOwner() const { return m_owner; }
    void SetOwner(CContainerUI* owner) { m_owner = owner; }
    bool IsHorizontal() const { return m_horizontal; }
    // Swaps the fixed thickness to the new axis when the new one is unset.
    void SetHorizontal(bool horizontal);
    int GetScrollRange() const { return m_range; }
    // Negative becomes 0; the position is lowered into the new range.
    void SetScrollRange(int range);
    int GetScrollOffset() const { return m_position; }
    // Negative becomes 0, rounds up to the scroll unit, is lowered to the
    // range; with notify and a manager posts "scroll" (new, old).
    void SetScrollOffset(int position, bool notify);
    // The scroll unit when it is 2 or more, else the line size.
    int GetLineSize() const;
    // Negative values are ignored.
    void SetLineSize(int size);
    int GetScrollUnit() const { return m_scrollUnit; }
    void SetScrollUnit(int unit);
    bool IsButton1Shown() const { return m_button1Shown; }
    void SetShowButton1(bool show);
    bool IsButton2Shown() const { return m_button2Shown; }
    void SetShowButton2(bool show);
    void SetButton1Color(DWORD color);
    void SetButton2Color(DWORD color);
    void SetThumbColor(DWORD color);

    // Window rectangles of the parts, and their state bits.
    CUIRect Button1Rect() const { return m_button1Rect; }
    CUIRect Button2Rect() const { return m_button2Rect; }
    CUIRect ThumbRect() const { return m_thumbRect; }
    UINT Button1State() const { return m_button1State; }
    UINT Button2State() const { return m_button2State; }
    UINT ThumbState() const { return m_thumbState; }

    // The four images of one part, indexed by ScrollImageState.
    enum ScrollImageState
    {
        IMAGE_NORMAL,
        IMAGE_HOT,
        IMAGE_PUSHED,
        IMAGE_DISABLED,
        IMAGE_STATE_COUNT,
    };
    enum ScrollPart
    {
        PART_BACKGROUND,
        PART_BUTTON1,
        PART_BUTTON2,
        PART_THUMB,
        PART_RAIL,
        PART_COUNT,
    };
    // The description of one image; empty when unset.
    const wchar_t* GetPartImage(ScrollPart part, ScrollImageState state) const;
    // Nothing when the text is the current one and its image is loaded.
    void SetPartImage(ScrollPart part, ScrollImageState state, const wchar_t* description);

private:
    // The timer that drives auto-repeat and drags.
    static constexpr UINT kRepeatTimer = 10;
    static constexpr UINT kRepeatMs = 50;
    static constexpr int kRepeatDelayTicks = 5;

    int Thickness() const;
    void StepBack();
    void StepForward();
    void PageBack();
    void PageForward();
    void OnTimerTick();
    void PassOn(UIEvent& event);
    // Draws the part's image for state (disabled, pushed, hot, else normal,
    // falling back to normal) at rect relative to the bar.
    void PaintPart(HDC dc, ScrollPart part, UINT state, const CUIRect& rect);

    bool m_horizontal = false;
    int m_range = 100;
    int m_position = 0;
    int m_lineSize = 8;
    int m_scrollUnit = 1;
    CContainerUI* m_owner = nullptr;  // not owned
    POINT m_dragStartPoint = {0, 0};
    int m_dragStartPosition = 0;
    int m_dragOffset = 0;
    int m_repeatTicks = 0;
    bool m_button1Shown = true;
    CUIRect m_button1Rect;
    UINT m_button1State = 0;
    DWORD m_button1Color = 0;
    bool m_button2Shown = true;
    CUIRect m_button2Rect;
    UINT m_button2State = 0;
    DWORD m_button2Color = 0;
    CUIRect m_thumbRect;
    UINT m_thumbState = 0;
    DWORD m_thumbColor = 0;
    ImageDrawSpec m_images[PART_COUNT][IMAGE_STATE_COUNT];
};

}  // namespace DuiLib
