// CGifAnimUI and CGifButtonUI: loading the frames and their delays, the frame
// timer, GDI+ painting, and the button's state machine.
//
// [SECTIONS] frame arithmetic · animation: identity and attributes ·
// animation: loading and playing · animation: painting · button
#include "ui/controls/GifAnimUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "ui/control/AttributeValues.h"
#include "ui/controls/ButtonUI.h"
#include "ui/core/UIManager.h"

namespace DuiLib {

namespace gp = Gdiplus::DllExports;

namespace {

// GDI+'s time dimension of multi-frame images (FrameDimensionTime), spelled
// out: the platform's constant is data, which a delay-loaded library cannot
// import.
const GUID kTimeDimension = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
// The image property holding one 32-bit delay per frame.
constexpr PROPID kFrameDelayProperty = 0x5100;
constexpr UINT kZeroDelayPeriod = 100;

}  // namespace

// ---- Frame arithmetic ------------------------------------------------------------------

UINT GifFramePeriod(const std::vector<UINT>& delays, UINT frame)
{
    if (frame >= delays.size() || delays[frame] == 0)
        return kZeroDelayPeriod;
    // A delay too long to count in milliseconds waits as long as a timer can.
    const unsigned long long period = static_cast<unsigned long long>(delays[frame]) * 10;
    return period > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM : static_cast<UINT>(period);
}

UINT NextGifFrame(UINT position, UINT frameCount)
{
    return frameCount == 0 ? 0 : (position + 1) % frameCount;
}

// ---- Animation: identity and attributes ------------------------------------------------

CGifAnimUI::CGifAnimUI() = default;

CGifAnimUI::~CGifAnimUI()
{
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
}

const wchar_t* CGifAnimUI::GetClass() const
{
    return L"GifAnim";
}

void* CGifAnimUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"GifAnim") == 0)
        return this;
    return CControlUI::CastTo(name);
}

const ControlAttributeTable& CGifAnimUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CGifAnimUI> kRows[] = {
        {L"bkimage", kImageFile, L"none", L"The animated picture, stretched over the control",
         [](CGifAnimUI& c, const wchar_t* v) { c.SetBkImage(v); }},
        {L"autoplay", kBool, L"false", L"Start playing once the picture is loaded",
         [](CGifAnimUI& c, const wchar_t* v) { c.SetAutoPlay(ParseBool(v)); }},
        {L"autosize", kBool, L"false", L"Take the picture's size as the control's width and height",
         [](CGifAnimUI& c, const wchar_t* v) { c.SetAutoSize(ParseBool(v)); }},
        {L"disabledtextcolor", kColour, L"#FF000000", L"Text colour while disabled",
         [](CGifAnimUI& c, const wchar_t* v) {
             c.m_textSettings.disabledColor = ParseColor(v, ColorBlanks::Skip);
             c.Invalidate();
         }},
    };
    static const ControlAttributeTable kTable(L"CGifAnimUI", &CGdiplusTextUI::GetAttributeTable(), kRows);
    return kTable;
}

void CGifAnimUI::SetBkImage(const wchar_t* name)
{
    if (name == nullptr || name[0] == L'\0' || m_pictureName == name)
        return;
    StopGif();
    m_picture.Release();
    m_frames.Clear();
    m_activeFrame = 0;
    m_frameDelays.clear();
    m_frameCount = 0;
    m_framePosition = 0;
    m_pictureName = name;
    Invalidate();
}

// ---- Animation: loading and playing ----------------------------------------------------

void CGifAnimUI::OnInitialised()
{
    if (!HasPicture())
        LoadPicture();
}

void CGifAnimUI::LoadPicture()
{
    if (!m_picture.Load(m_pictureName.GetData()))
        return;
    Gdiplus::GpImage* image = m_picture.Image();
    m_frames.Clear();
    m_activeFrame = 0;
    m_frameCount = 0;
    m_framePosition = 0;
    UINT dimensions = 0;
    gp::GdipImageGetFrameDimensionsCount(image, &dimensions);
    if (dimensions > 0)
    {
        std::vector<GUID> list(dimensions);
        if (gp::GdipImageGetFrameDimensionsList(image, list.data(), dimensions) == Gdiplus::Ok)
            gp::GdipImageGetFrameCount(image, &list[0], &m_frameCount);
    }

    // The delay table as the file has it: a damaged file may hold fewer
    // delays than frames, and GifFramePeriod stands in for the missing ones.
    m_frameDelays.clear();
    UINT size = 0;
    if (gp::GdipGetPropertyItemSize(image, kFrameDelayProperty, &size) == Gdiplus::Ok &&
        size > sizeof(Gdiplus::PropertyItem))
    {
        std::vector<BYTE> buffer(size);
        auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
        const BYTE* end = buffer.data() + size;
        if (gp::GdipGetPropertyItem(image, kFrameDelayProperty, size, item) == Gdiplus::Ok)
        {
            const auto* value = static_cast<const BYTE*>(item->value);
            if (value >= buffer.data() + sizeof(Gdiplus::PropertyItem) && value <= end)
            {
                const size_t bytes = std::min<size_t>(item->length, static_cast<size_t>(end - value));
                m_frameDelays.resize(bytes / sizeof(UINT));
                std::memcpy(m_frameDelays.data(), value, m_frameDelays.size() * sizeof(UINT));
            }
        }
    }

    if (m_autoSize)
    {
        SetFixedWidth(m_picture.Width());
        SetFixedHeight(m_picture.Height());
    }
    if (m_autoPlay && !m_frameDelays.empty())
        PlayGif();
}

void CGifAnimUI::StartFrameTimer()
{
    m_framePeriod = GifFramePeriod(m_frameDelays, m_framePosition);
    m_manager->SetTimer(this, kAnimationTimer, m_framePeriod);
}

void CGifAnimUI::PlayGif()
{
    if (m_playing || !HasPicture() || m_manager == nullptr)
        return;
    StartFrameTimer();
    m_playing = true;
}

void CGifAnimUI::StopGif()
{
    if (!m_playing)
        return;
    if (m_manager != nullptr)
        m_manager->KillTimer(this, kAnimationTimer);
    m_framePosition = 0;
    Invalidate();
    m_playing = false;
}

void CGifAnimUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    PlayWhileShown(visible);
}

void CGifAnimUI::SetInheritedVisible(bool visible)
{
    CControlUI::SetInheritedVisible(visible);
    PlayWhileShown(visible);
}

void CGifAnimUI::PlayWhileShown(bool shown)
{
    if (shown)
        PlayGif();
    else
        StopGif();
}

void CGifAnimUI::HandleEvent(UIEvent& event)
{
    if (event.type == UIEVENT_TIMER && event.wParam == kAnimationTimer && m_manager != nullptr)
    {
        m_manager->KillTimer(this, kAnimationTimer);
        Invalidate();
        m_framePosition = NextGifFrame(m_framePosition, m_frameCount);
        StartFrameTimer();
        return;
    }
    CControlUI::HandleEvent(event);
}

// ---- Animation: painting ---------------------------------------------------------------

DWORD CGifAnimUI::TextColor() const
{
    return IsEnabled() ? m_textSettings.color : m_textSettings.disabledColor;
}

bool CGifAnimUI::PaintInto(HDC dc, const RECT& paintRect, IControlUI*)
{
    if (!HasPicture())
        LoadPicture();
    Gdiplus::GpImage* image = m_picture.Image();
    if (image == nullptr)
        return true;
    const UINT shown = m_activeFrame;
    const int width = m_itemRect.GetWidth();
    const int height = m_itemRect.GetHeight();
    m_frames.Draw(dc, m_itemRect, paintRect, shown, [&](Gdiplus::GpGraphics* graphics) {
        gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality);
        gp::GdipImageSelectActiveFrame(image, &kTimeDimension, shown);
        gp::GdipDrawImageRectI(graphics, image, 0, 0, width, height);
    });
    if (!m_text.IsEmpty())
    {
        Gdiplus::GpGraphics* graphics = nullptr;
        gp::GdipCreateFromHDC(dc, &graphics);
        if (graphics != nullptr)
        {
            gp::GdipSetTextRenderingHint(graphics,
                                         static_cast<Gdiplus::TextRenderingHint>(m_textSettings.renderingHint));
            gp::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeHighQuality);
            const CUIRect& pad = m_textSettings.padding;
            const RECT area = {m_itemRect.left + pad.left, m_itemRect.top + pad.top, m_itemRect.right - pad.right,
                               m_itemRect.bottom - pad.bottom};
            CGdiplusText(graphics, dc, m_manager, m_textSettings.font, m_textSettings.style,
                         m_textSettings.renderingHint)
                .DrawSolid(m_text.GetData(), area, TextColor());
            gp::GdipDeleteGraphics(graphics);
        }
    }
    // The frame a timer tick chose shows from the next paint on.
    m_activeFrame = m_framePosition;
    return true;
}

// ---- Button ----------------------------------------------------------------------------

const wchar_t* CGifButtonUI::GetClass() const
{
    return L"GifButton";
}

void* CGifButtonUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"GifButton") == 0)
        return this;
    return CGifAnimUI::CastTo(name);
}

UINT CGifButtonUI::ControlFlagBits() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0u) | (IsEnabled() ? UIFLAG_SETCURSOR : 0u);
}

bool CGifButtonUI::Activate()
{
    if (!CControlUI::Activate())
        return false;
    Notify(L"click");
    return true;
}

void CGifButtonUI::SetEnabled(bool enabled)
{
    CGifAnimUI::SetEnabled(enabled);
    if (!IsEnabled())
        m_buttonState = 0;
}

void CGifButtonUI::Notify(const wchar_t* type, WPARAM wParam, LPARAM lParam)
{
    if (m_manager != nullptr)
        m_manager->RaiseNotify(this, type, wParam, lParam);
}

DWORD CGifButtonUI::TextColor() const
{
    if ((m_buttonState & UISTATE_HOT) != 0 && m_hotTextColor != 0)
        return m_hotTextColor;
    return CGifAnimUI::TextColor();
}

const ControlAttributeTable& CGifButtonUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CGifButtonUI> kRows[] = {
        {L"cursor", L"enum arrow|hand", L"hand", L"Mouse pointer over the button",
         [](CGifButtonUI& b, const wchar_t* v) { b.m_cursorName = v; }},
        {L"hottextcolor", kColour, L"#FF000000", L"Text colour while the mouse is over the button",
         [](CGifButtonUI& b, const wchar_t* v) { b.m_hotTextColor = ParseColor(v, ColorBlanks::Skip); }},
    };
    static const ControlAttributeTable kTable(L"CGifButtonUI", &CGifAnimUI::GetAttributeTable(), kRows);
    return kTable;
}

void CGifButtonUI::HandleEvent(UIEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type))
    {
        if (m_parent != nullptr)
            m_parent->HandleEvent(event);
        else
            CGifAnimUI::HandleEvent(event);
        return;
    }
    const bool inside = PtInRect(&m_itemRect, event.mousePoint) != FALSE;
    switch (event.type)
    {
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && IsEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN))
        {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside && IsEnabled())
            m_buttonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_buttonState & UISTATE_CAPTURED) != 0)
            m_buttonState = inside ? (m_buttonState | UISTATE_PUSHED) : (m_buttonState & ~UISTATE_PUSHED);
        return;
    case UIEVENT_BUTTONUP:
        if ((m_buttonState & UISTATE_CAPTURED) == 0)
            return;
        // Cleared first: the click's listeners may disable or hide the button.
        m_buttonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        if (inside && IsEnabled())
            Activate();
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_contextMenuUsed && IsEnabled())
        {
            Notify(L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (inside)
        {
            if (IsEnabled())
                m_buttonState |= UISTATE_HOT;
            Notify(L"mouseenter");
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (inside)
        {
            if (m_manager != nullptr)
                m_manager->AddLeaveWatcher(this);
            return;
        }
        if (IsEnabled())
            m_buttonState &= ~UISTATE_HOT;
        Notify(L"mouseleave");
        if (m_manager != nullptr)
            m_manager->RemoveLeaveWatcher(this);
        break;
    case UIEVENT_SETCURSOR:
        ::SetCursor(LoadCursorW(nullptr, m_cursorName == L"arrow" ? IDC_ARROW : IDC_HAND));
        return;
    default:
        break;
    }
    CGifAnimUI::HandleEvent(event);
}

// ---- Accessibility ---------------------------------------------------------------------

void CGifAnimUI::DescribeAccess(int part, AccessDescription& description) const
{
    CControlUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_ANIMATION;
    description.state |= STATE_SYSTEM_READONLY | (m_playing ? STATE_SYSTEM_ANIMATED : 0u);
}

void CGifButtonUI::DescribeAccess(int part, AccessDescription& description) const
{
    CGifAnimUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    DescribePushButton(m_buttonState, AccessAction(L"Press"), description);
}

bool CGifButtonUI::DoAccessAction(int part)
{
    if (part != 0 || !IsVisible() || !IsEnabled())
        return false;
    SetFocus();
    return Activate();
}

}  // namespace DuiLib
