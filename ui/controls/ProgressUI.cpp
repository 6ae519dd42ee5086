// CProgressUI: the range setters and the fore image's filled part.
#include "ui/controls/ProgressUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "ui/control/AttributeValues.h"

namespace DuiLib {

CProgressUI::CProgressUI()
{
    m_textStyle = DT_SINGLELINE | DT_CENTER;
}

const wchar_t* CProgressUI::GetClass() const
{
    return L"Progress";
}

void* CProgressUI::CastTo(const wchar_t* name)
{
    if (name != nullptr && std::wcscmp(name, L"Progress") == 0)
        return this;
    return CLabelUI::CastTo(name);
}

const ControlAttributeTable& CProgressUI::GetAttributeTable() const
{
    using namespace AttributeGrammar;
    static const AttributeRow<CProgressUI> kRows[] = {
        {L"foreimage", kImage, L"none", L"Image of the filled part, cut to the value's share",
         [](CProgressUI& p, const wchar_t* v) { p.SetProgressImage(v); }},
        {L"hor", kBool, L"true", L"Fills from the left; false fills from the bottom",
         [](CProgressUI& p, const wchar_t* v) { p.SetHorizontal(ParseBool(v)); }},
        {L"min", kInteger, L"0", L"Value of the empty bar", [](CProgressUI& p, const wchar_t* v) { p.SetMinValue(ParseInt(v)); }},
        {L"max", kInteger, L"100", L"Value of the full bar", [](CProgressUI& p, const wchar_t* v) { p.SetMaxValue(ParseInt(v)); }},
        {L"value", kInteger, L"0", L"Current value, held within min and max",
         [](CProgressUI& p, const wchar_t* v) { p.SetValue(ParseInt(v)); }},
    };
    static const ControlAttributeTable kTable(L"CProgressUI", &CLabelUI::GetAttributeTable(), kRows);
    return kTable;
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal)
        return;
    m_horizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int value)
{
    m_min = value;
    Invalidate();
}

void CProgressUI::SetMaxValue(int value)
{
    m_max = value;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    const int old = m_value;
    m_value = value;
    if (m_value > m_max)
        m_value = m_max;
    if (m_value < m_min)
        m_value = m_min;
    Invalidate();
    if (m_value != old)
        NotifyAccess(EVENT_OBJECT_VALUECHANGE);
}

void CProgressUI::PaintStateImage(HDC dc)
{
    // A maximum of INT_MAX cannot rise above an equal minimum: the minimum
    // steps down instead, so that the range is never empty.
    if (m_min >= m_max)
    {
        if (m_min < 0x7FFFFFFF)
            m_max = m_min + 1;
        else
            m_min = m_max - 1;
    }
    if (m_value > m_max)
        m_value = m_max;
    if (m_value < m_min)
        m_value = m_min;

    // 64-bit products: a range of millions times a wide control overflows
    // 32 bits.
    const long long width = m_itemRect.right - m_itemRect.left;
    const long long height = m_itemRect.bottom - m_itemRect.top;
    const long long span = static_cast<long long>(m_max) - m_min;
    if (m_horizontal)
    {
        const long long filled = (static_cast<long long>(m_value) - m_min) * width / span;
        m_progressImage.destOffset = CUIRect(0, 0, static_cast<int>(filled), static_cast<int>(height));
    }
    else
    {
        const long long top = height * (static_cast<long long>(m_max) - m_value) / span;
        m_progressImage.destOffset = CUIRect(0, static_cast<int>(top), static_cast<int>(width), static_cast<int>(height));
    }
    PaintImage(dc, m_progressImage);
}

void CProgressUI::DescribeAccess(int part, AccessDescription& description) const
{
    CLabelUI::DescribeAccess(part, description);
    if (part != 0)
        return;
    description.role = ROLE_SYSTEM_PROGRESSBAR;
    // The range as the next paint repairs it, without storing the repair:
    // an empty range has one step.
    const long long span = m_max > m_min ? static_cast<long long>(m_max) - m_min : 1;
    const long long filled = std::min(std::max(static_cast<long long>(m_value) - m_min, 0LL), span);
    wchar_t percent[16] = {};
    std::swprintf(percent, 16, L"%d%%", static_cast<int>(filled * 100 / span));
    description.value = percent;
    description.hasValue = true;
}

}  // namespace DuiLib
