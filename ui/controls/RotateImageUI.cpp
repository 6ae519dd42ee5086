// CRotateImageUI: attributes, the turning timer and the rotated drawing.
#include "ui/controls/RotateImageUI.h"

#include <oleacc.h>

#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/controls/GifAnimUI.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

CRotateImageUI::CRotateImageUI() = default;

CRotateImageUI::~CRotateImageUI()
{
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
}

const wchar_t* CRotateImageUI::GetClass() const
{
    return L"RotateImage";
}

void* CRotateImageUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"RotateImage") == 0)
        return this;
    return CControlUI::CastTo(name);
}

const ControlAttributeTable& CRotateImageUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CRotateImageUI> kRows[] = {
        {L"bkimage", kImageFile, L"none", L"The picture that turns", [](CRotateImageUI& r, const wchar_t* v) { r.SetBkImage(v); }},
        {L"timeinterval", kInteger, L"40", L"Milliseconds per step; values below 1 are ignored",
         [](CRotateImageUI& r, const wchar_t* v) {
             const int interval = ParseInt(v);
             if (interval <= 0)
                 return;
             r.m_interval = interval;
             if (r.m_playing && r.m_manager != nullptr)
             {
                 r.m_manager->KillTimer(&r, kAnimationTimer);
                 r.m_manager->SetTimer(&r, kAnimationTimer, static_cast<UINT>(r.m_interval));
             }
         }},
        {L"eachtimeangle", kInteger, L"1", L"Degrees turned per step; values below 1 are ignored",
         [](CRotateImageUI& r, const wchar_t* v) {
             const int step = ParseInt(v);
             if (step > 0)
                 r.m_step = step;
         }},
        {L"stretch", kBool, L"false", L"Draw the picture over the whole control instead of at its own size",
         [](CRotateImageUI& r, const wchar_t* v) {
             r.m_stretch = ParseBool(v);
             r.m_turns.Clear();
         }},
        {L"autostart", kBool, L"true", L"Start turning when the window starts",
         [](CRotateImageUI& r, const wchar_t* v) { r.m_autoStart = ParseBool(v); }},
        {L"fixangle", kInteger, L"0", L"Angle in degrees shown while not turning; negative values are ignored",
         [](CRotateImageUI& r, const wchar_t* v) {
             const int angle = ParseInt(v);
             if (angle < 0 || angle == r.m_fixAngle)
                 return;
             r.m_fixAngle = angle;
             if (!r.m_playing)
             {
                 r.m_angle = angle % 360;
                 r.Invalidate();
             }
         }},
    };
    static const ControlAttributeTable kTable(L"CRotateImageUI", &CControlUI::GetAttributeTable(), kRows);
    return kTable;
}

void CRotateImageUI::SetBkImage(const wchar_t* name)
{
    if (name == nullptr || m_pictureName == name)
        return;
    m_pictureName = name;
    m_picture.Load(name);
    m_turns.Clear();
    Invalidate();
}

void CRotateImageUI::OnInitialised()
{
    if (!HasPicture())
    {
        m_picture.Load(m_pictureName.GetData());
        m_turns.Clear();
    }
    m_angle = m_fixAngle % 360;
    if (m_autoStart)
        Start();
}

void CRotateImageUI::Start()
{
    if (m_interval <= 0 || m_step <= 0 || m_playing || m_manager == nullptr)
        return;
    if (m_manager->SetTimer(this, kAnimationTimer, static_cast<UINT>(m_interval)))
        m_playing = true;
}

void CRotateImageUI::Stop()
{
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
    m_playing = false;
}

void CRotateImageUI::SetVisible(bool visible)
{
    TurnWhileShown(visible);
    CControlUI::SetVisible(visible);
}

void CRotateImageUI::SetInheritedVisible(bool visible)
{
    TurnWhileShown(visible);
    CControlUI::SetInheritedVisible(visible);
}

void CRotateImageUI::TurnWhileShown(bool shown)
{
    if (shown)
        Start();
    else
        Stop();
}

void CRotateImageUI::PlaceAt(const RECT& rect, bool invalidate)
{
    CControlUI::PlaceAt(rect, invalidate);
    const int width = m_itemRect.GetWidth();
    const int height = m_itemRect.GetHeight();
    if (width > 0 && height > 0)
    {
        m_centreX = static_cast<float>(m_itemRect.left + width / 2);
        m_centreY = static_cast<float>(m_itemRect.top + height / 2);
    }
}

void CRotateImageUI::HandleEvent(UIEvent& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kAnimationTimer)
    {
        // In 64 bits: a step near INT_MAX must not overflow the sum.
        m_angle = static_cast<int>((static_cast<long long>(m_angle) + m_step) % 360);
        Invalidate();
        return;
    }
    CControlUI::HandleEvent(event);
}

void CRotateImageUI::PaintBackImage(HDC dc)
{
    Gdiplus::GpImage* image = m_picture.Image();
    if (image == nullptr)
        return;
    // Drawn in the control's own coordinates: a turned picture depends on
    // the angle and the control's size, not on where the control sits.
    const float centreX = m_centreX - static_cast<float>(m_itemRect.left);
    const float centreY = m_centreY - static_cast<float>(m_itemRect.top);
    const int width = m_stretch ? m_itemRect.GetWidth() : m_picture.Width();
    const int height = m_stretch ? m_itemRect.GetHeight() : m_picture.Height();
    const int left = m_stretch ? 0 : static_cast<int>(m_centreX) - width / 2 - m_itemRect.left;
    const int top = m_stretch ? 0 : static_cast<int>(m_centreY) - height / 2 - m_itemRect.top;
    const int angle = m_angle;
    m_turns.Draw(dc, m_itemRect, m_paintRect, static_cast<unsigned>(angle), [&](Gdiplus::GpGraphics* graphics) {
        gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality);
        gp::GdipTranslateWorldTransform(graphics, centreX, centreY, Gdiplus::MatrixOrderPrepend);
        gp::GdipRotateWorldTransform(graphics, static_cast<float>(angle), Gdiplus::MatrixOrderPrepend);
        gp::GdipTranslateWorldTransform(graphics, -centreX, -centreY, Gdiplus::MatrixOrderPrepend);
        gp::GdipDrawImageRectI(graphics, image, left, top, width, height);
    });
}

void CRotateImageUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_ANIMATION;
    description.state |= STATE_SYSTEM_READONLY | (m_playing ? STATE_SYSTEM_ANIMATED : 0u);
}

}  // namespace DuiLib
