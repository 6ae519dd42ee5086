// Reading a window as a screen reader does, through the platform's oleacc
// (AccessibleObjectFromWindow, AccessibleChildren) and the IAccessible
// slots, for the tests of the toolkit's accessible tree and of the
// uninstaller's windows.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

namespace DuiLib {
namespace test {

// Readers reach a window's elements through COM: a test thread joins a
// single-threaded apartment for as long as this lives.
class CComApartment
{
public:
    CComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~CComApartment() { CoUninitialize(); }
    CComApartment(const CComApartment&) = delete;
    CComApartment& operator=(const CComApartment&) = delete;
};

struct ReleaseAccessible
{
    void operator()(IAccessible* object) const { object->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, ReleaseAccessible>;

// CHILDID_SELF as the VARIANT the IAccessible slots take.
VARIANT SelfChild();

// The window's client area element, or null when it could not be had.
AccessiblePtr ClientElement(HWND window);

// What one element answers for CHILDID_SELF.
struct ElementFacts
{
    long role = 0;
    std::wstring name;
    std::wstring value;
    HRESULT valueResult = E_FAIL;  // of get_accValue
    long state = 0;
    std::wstring action;
    RECT screen = {};  // accLocation
};
ElementFacts ReadElement(IAccessible* element);

// The element's children as AccessibleChildren gives them (objects only;
// a plain child id counts as a failure and is left out).
std::vector<AccessiblePtr> ChildElements(IAccessible* element);

// The first element below (or at) element whose name is name, depth first;
// null when there is none.
AccessiblePtr FindElement(IAccessible* element, const std::wstring& name);

// The element accHitTest answers at a screen point: the child object, or
// the element itself for CHILDID_SELF; null for nothing.
AccessiblePtr HitElement(IAccessible* element, POINT screen);
// The element that has the keyboard focus, as element's accFocus answers;
// null when it names none.
AccessiblePtr FocusedElement(IAccessible* element);

// The subtree below element, one line per element and two spaces of indent
// per level: role text | name | value | state texts.
std::wstring TreeText(IAccessible* element);

}  // namespace test
}  // namespace DuiLib
