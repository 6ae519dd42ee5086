// CTextUI: a label for running text that wraps by default and, in markup
// mode, keeps the link rectangles of its last paint to show the hand cursor
// over links, repaint when the hovered link changes and send "link" (with
// the link's index) when one is clicked. At most kMaxTextLinks links are
// tracked; further links are drawn but cannot be clicked.
#pragma once

#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace DuiLib {

constexpr int kMaxTextLinks = 8;

class CTextUI : public CLabelUI
{
public:
    CTextUI();

    // "Text".
    const wchar_t* GetClass() const override;
    // This control for "Text", else the label's answer.
    void* CastTo(const wchar_t* name) override;
    // Set-cursor while enabled with at least one link known.
    UINT ControlFlagBits() const override;
    void HandleEvent(UIEvent& event) override;
    // Rewrites the link rectangles (client coordinates of this paint).
    void PaintText(HDC dc) override;
    // Static text whose parts are its links as last painted (a wrapped link
    // once), each named by its shown text; a link's action ("Jump") sends
    // "link" as a click on it does.
    void DescribeAccess(int part, AccessDescription& description) const override;
    bool DoAccessAction(int part) override;

    int GetLinkCount() const { return m_linkCount; }
    // The name of link index; null outside 0..count - 1.
    const wchar_t* GetLinkName(int index) const;
    // The rectangle of link index; empty outside 0..count - 1.
    RECT GetLinkRect(int index) const;

private:
    // The first link holding point, or -1.
    int LinkAt(POINT point) const;
    // The links as readers count them: a wrapped link fills consecutive
    // slots with one name. LinkSlots gives the first slot and the number of
    // slots of link part (1..); false when there is no such link.
    int LinkPartCount() const;
    bool LinkSlots(int part, int& first, int& count) const;

    int m_linkCount = 0;
    RECT m_linkRects[kMaxTextLinks] = {};
    CUIString m_linkNames[kMaxTextLinks];
    int m_hoverLink = -1;
};

}  // namespace DuiLib
