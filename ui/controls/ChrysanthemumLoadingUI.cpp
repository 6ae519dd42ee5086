// CChrysanthemumLoadingUI: the spoke tables, rendering a turn into the
// picture, and the timer.
#include "ui/controls/ChrysanthemumLoadingUI.h"

#include <oleacc.h>

#include <cmath>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/controls/GifAnimUI.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

CChrysanthemumLoadingUI::CChrysanthemumLoadingUI() = default;

CChrysanthemumLoadingUI::~CChrysanthemumLoadingUI()
{
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
    ReleasePicture();
}

const wchar_t* CChrysanthemumLoadingUI::GetClass() const
{
    return L"ChrysanthemumLoading";
}

void* CChrysanthemumLoadingUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"ChrysanthemumLoading") == 0)
        return this;
    return CControlUI::CastTo(name);
}

const ControlAttributeTable& CChrysanthemumLoadingUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CChrysanthemumLoadingUI> kRows[] = {
        {L"timeinterval", kInteger, L"40", L"Milliseconds per step of the turn; values below 1 are ignored",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) {
             const int interval = ParseInt(v);
             if (interval <= 0 || interval == c.m_interval)
                 return;
             c.m_interval = interval;
             if (c.m_manager != nullptr)
             {
                 c.m_manager->KillTimer(&c, kAnimationTimer);
                 c.StartTimer();
             }
         }},
        {L"spokenum", kInteger, L"10", L"Number of spokes",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.SetSpokeCount(ParseInt(v)); }},
        {L"thickness", kInteger, L"4", L"Width of a spoke",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.m_thickness = ParseInt(v); }},
        {L"outradius", kInteger, L"0", L"Distance from the centre where the spokes end",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.m_outerRadius = ParseInt(v); }},
        {L"innerradius", kInteger, L"0", L"Distance from the centre where the spokes start",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.m_innerRadius = ParseInt(v); }},
        {L"bkcolor", kColour, L"none", L"Colour the spinner's picture is filled with",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.m_bkColor = ParseColor(v, ColorBlanks::Skip); }},
        {L"spokecolor", kColour, L"#FF000000", L"Colour of the leading spoke; the others fade from it",
         [](CChrysanthemumLoadingUI& c, const wchar_t* v) { c.SetSpokeColor(ParseColor(v, ColorBlanks::Skip)); }},
    };
    static const ControlAttributeTable kTable(L"CChrysanthemumLoadingUI", &CGdiplusTextUI::GetAttributeTable(),
                                              kRows);
    return kTable;
}

void CChrysanthemumLoadingUI::SetSpokeCount(int count)
{
    const int bounded = count < 0 ? 0 : (count > kMaxSpokes ? kMaxSpokes : count);
    if (bounded == m_spokeCount)
        return;
    m_spokeCount = bounded;
    Rebuild();
}

void CChrysanthemumLoadingUI::SetSpokeColor(DWORD color)
{
    if (color == m_spokeColor)
        return;
    m_spokeColor = color;
    Rebuild();
}

void CChrysanthemumLoadingUI::Rebuild()
{
    const int count = m_spokeCount;
    m_spokeColors.assign(static_cast<size_t>(count), 0);
    m_spokeAngles.assign(static_cast<size_t>(count), 0.0);
    if (count == 0)
    {
        ReleasePicture();
        return;
    }
    m_offset %= count;
    for (int i = 0; i < count; ++i)
    {
        m_spokeAngles[i] = (i + 1) * 360.0 / count;
        const DWORD alpha = static_cast<DWORD>(i * (255 / count));
        m_spokeColors[i] = i == 0 ? m_spokeColor : ((alpha << 24) | (m_spokeColor & 0x00FFFFFF));
    }
    Render();
}

void CChrysanthemumLoadingUI::ReleasePicture()
{
    m_picture.Clear();
}

void CChrysanthemumLoadingUI::Render()
{
    const int width = m_itemRect.GetWidth();
    const int height = m_itemRect.GetHeight();
    ReleasePicture();
    if (width <= 0 || height <= 0 || m_spokeCount == 0)
        return;
    m_centreX = static_cast<float>(width / 2);
    m_centreY = static_cast<float>(height / 2);
    const int count = m_spokeCount;
    m_offset = (m_offset + 1) % count;
    m_picture.Prepare(0, width, height, [&](Gdiplus::GpGraphics* graphics) {
        gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality);
        gp::GdipGraphicsClear(graphics, m_bkColor);
        for (int j = 0; j < count; ++j)
        {
            const int spoke = (m_offset + j) % count;
            Gdiplus::GpPen* pen = nullptr;
            gp::GdipCreatePen1(m_spokeColors[j], static_cast<float>(m_thickness), Gdiplus::UnitPixel, &pen);
            if (pen == nullptr)
                continue;
            gp::GdipSetPenStartCap(pen, Gdiplus::LineCapRound);
            gp::GdipSetPenEndCap(pen, Gdiplus::LineCapRound);
            // 3.14 rather than pi: the spokes sit where skins were drawn to expect.
            const double angle = m_spokeAngles[spoke] * 3.14 / 180.0;
            const float cosine = static_cast<float>(std::cos(angle));
            const float sine = static_cast<float>(std::sin(angle));
            gp::GdipDrawLine(graphics, pen, m_centreX + cosine * m_innerRadius, m_centreY + sine * m_innerRadius,
                             m_centreX + cosine * m_outerRadius, m_centreY + sine * m_outerRadius);
            gp::GdipDeletePen(pen);
        }
        if (!m_text.IsEmpty() && m_manager != nullptr)
        {
            const CUIRect& pad = m_textSettings.padding;
            const RECT area = {pad.left, pad.top, width - pad.right, height - pad.bottom};
            CGdiplusText(graphics, m_manager->GetPaintDC(), m_manager, m_textSettings.font, m_textSettings.style,
                         m_textSettings.renderingHint)
                .DrawSolid(m_text.GetData(), area, m_textSettings.color);
        }
    });
}

void CChrysanthemumLoadingUI::StartTimer()
{
    if (m_manager != nullptr)
        m_manager->SetTimer(this, kAnimationTimer, static_cast<UINT>(m_interval));
}

void CChrysanthemumLoadingUI::OnInitialised()
{
    Rebuild();
    StartTimer();
}

void CChrysanthemumLoadingUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    SpinWhileShown(visible);
}

void CChrysanthemumLoadingUI::SetInheritedVisible(bool visible)
{
    CControlUI::SetInheritedVisible(visible);
    SpinWhileShown(visible);
}

void CChrysanthemumLoadingUI::SpinWhileShown(bool shown)
{
    if (shown)
        StartTimer();
    else if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
}

void CChrysanthemumLoadingUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CControlUI::PlaceAt(rect, invalidate);
    Rebuild();
}

void CChrysanthemumLoadingUI::HandleEvent(UIEvent& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kAnimationTimer)
    {
        Render();
        Invalidate();
        return;
    }
    CControlUI::HandleEvent(event);
}

bool CChrysanthemumLoadingUI::PaintInto(HDC dc, const RECT& paintRect, IControlUI*)
{
    if (!IsVisible())
        return true;
    if (!HasPicture())
        Rebuild();
    m_picture.DrawKept(dc, m_itemRect, paintRect, 0);
    return true;
}

void CChrysanthemumLoadingUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_ANIMATION;
    description.state |= STATE_SYSTEM_READONLY | (m_spokeCount > 0 ? STATE_SYSTEM_ANIMATED : 0u);
}

}  // namespace DuiLib
