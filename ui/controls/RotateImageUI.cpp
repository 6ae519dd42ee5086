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

void CRotateImageUI::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (name == nullptr)
        return;
    const wchar_t* text = value != nullptr ? value : L"";
    if (std::wcscmp(name, L"bkimage") == 0)
    {
        SetBkImage(text);
    }
    else if (std::wcscmp(name, L"timeinterval") == 0)
    {
        const int interval = ParseInt(text);
        if (interval <= 0)
            return;
        m_interval = interval;
        if (m_playing && m_manager != nullptr)
        {
            m_manager->KillTimer(this, kAnimationTimer);
            m_manager->SetTimer(this, kAnimationTimer, static_cast<UINT>(m_interval));
        }
    }
    else if (std::wcscmp(name, L"eachtimeangle") == 0)
    {
        const int step = ParseInt(text);
        if (step > 0)
            m_step = step;
    }
    else if (std::wcscmp(name, L"stretch") == 0)
    {
        m_stretch = ParseBool(text);
        m_turns.Clear();
    }
    else if (std::wcscmp(name, L"autostart") == 0)
    {
        m_autoStart = ParseBool(text);
    }
    else if (std::wcscmp(name, L"fixangle") == 0)
    {
        const int angle = ParseInt(text);
        if (angle < 0 || angle == m_fixAngle)
            return;
        m_fixAngle = angle;
        if (!m_playing)
        {
            m_angle = angle % 360;
            Invalidate();
        }
    }
    else
    {
        CControlUI::ApplyAttribute(name, text);
    }
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
