// The screen reader's side of the accessible tree tests: every call goes
// through oleacc and the IAccessible slots, never into the toolkit.
#include "tests/core/AccessibleReader.h"

namespace DuiLib {
namespace test {

namespace {

std::wstring TakeString(BSTR text)
{
    std::wstring copy = text != nullptr ? text : L"";
    SysFreeString(text);
    return copy;
}

// The element a VARIANT holds: its object, or element itself for
// CHILDID_SELF; null otherwise.
AccessiblePtr ElementOf(IAccessible* element, VARIANT& held)
{
    IAccessible* found = nullptr;
    if (held.vt == VT_DISPATCH && held.pdispVal != nullptr)
        held.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&found));
    else if (held.vt == VT_I4 && held.lVal == CHILDID_SELF)
        (found = element)->AddRef();
    VariantClear(&held);
    return AccessiblePtr(found);
}

void AppendTree(IAccessible* element, int depth, std::wstring& text)
{
    for (AccessiblePtr& child : ChildElements(element))
    {
        const ElementFacts facts = ReadElement(child.get());
        wchar_t role[64] = {};
        GetRoleTextW(static_cast<DWORD>(facts.role), role, 64);
        std::wstring states;
        for (DWORD bit = 1; bit != 0 && bit <= 0x40000000; bit <<= 1)
        {
            wchar_t state[64] = {};
            if ((facts.state & bit) != 0 && GetStateTextW(bit, state, 64) > 0)
                states += (states.empty() ? L"" : L", ") + std::wstring(state);
        }
        text += std::wstring(depth * 2, L' ') + role + L" | " + facts.name + L" | " + facts.value + L" | " + states +
                L"\n";
        AppendTree(child.get(), depth + 1, text);
    }
}

}  // namespace

VARIANT SelfChild()
{
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

AccessiblePtr ClientElement(HWND window)
{
    IAccessible* client = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&client))))
        return nullptr;
    return AccessiblePtr(client);
}

ElementFacts ReadElement(IAccessible* element)
{
    ElementFacts facts;
    const VARIANT self = SelfChild();
    BSTR text = nullptr;
    VARIANT answer;
    VariantInit(&answer);
    if (SUCCEEDED(element->get_accRole(self, &answer)) && answer.vt == VT_I4)
        facts.role = answer.lVal;
    VariantClear(&answer);
    if (SUCCEEDED(element->get_accState(self, &answer)) && answer.vt == VT_I4)
        facts.state = answer.lVal;
    VariantClear(&answer);
    element->get_accName(self, &text);
    facts.name = TakeString(text);
    text = nullptr;
    facts.valueResult = element->get_accValue(self, &text);
    facts.value = TakeString(text);
    text = nullptr;
    element->get_accDefaultAction(self, &text);
    facts.action = TakeString(text);
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    if (SUCCEEDED(element->accLocation(&left, &top, &width, &height, self)))
        facts.screen = RECT{left, top, left + width, top + height};
    return facts;
}

std::vector<AccessiblePtr> ChildElements(IAccessible* element)
{
    std::vector<AccessiblePtr> children;
    long count = 0;
    if (FAILED(element->get_accChildCount(&count)) || count <= 0)
        return children;
    std::vector<VARIANT> held(static_cast<size_t>(count));
    long obtained = 0;
    if (FAILED(AccessibleChildren(element, 0, count, held.data(), &obtained)))
        return children;
    for (long i = 0; i < obtained; ++i)
    {
        if (AccessiblePtr child = held[static_cast<size_t>(i)].vt == VT_DISPATCH
                                      ? ElementOf(element, held[static_cast<size_t>(i)])
                                      : nullptr)
            children.push_back(std::move(child));
        else
            VariantClear(&held[static_cast<size_t>(i)]);
    }
    return children;
}

AccessiblePtr FindElement(IAccessible* element, const std::wstring& name)
{
    if (ReadElement(element).name == name)
    {
        element->AddRef();
        return AccessiblePtr(element);
    }
    for (AccessiblePtr& child : ChildElements(element))
    {
        if (AccessiblePtr found = FindElement(child.get(), name))
            return found;
    }
    return nullptr;
}

AccessiblePtr HitElement(IAccessible* element, POINT screen)
{
    VARIANT hit;
    VariantInit(&hit);
    if (FAILED(element->accHitTest(screen.x, screen.y, &hit)))
        return nullptr;
    return ElementOf(element, hit);
}

AccessiblePtr FocusedElement(IAccessible* element)
{
    VARIANT focus;
    VariantInit(&focus);
    if (element->get_accFocus(&focus) != S_OK)
        return nullptr;
    return ElementOf(element, focus);
}

std::wstring TreeText(IAccessible* element)
{
    std::wstring text;
    AppendTree(element, 0, text);
    return text;
}

}  // namespace test
}  // namespace DuiLib
