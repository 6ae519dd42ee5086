// CAccessibleElement: the IAccessible object a screen reader holds for one
// element of a manager's accessible tree (the window's client area or one
// part of one control). It keeps only the tree and the element's id and
// asks the tree on every call, so an element whose control was deleted, or
// whose window went, answers CO_E_OBJNOTCONNECTED instead of reaching freed
// memory. Requests that change anything are posted to the window.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "ui/core/AccessibleTree.h"

namespace DuiLib {

class CAccessibleElement final : public IAccessible
{
public:
    // A new element with one reference, which the caller owns; it holds a
    // reference on tree for as long as it lives.
    static CAccessibleElement* Create(CAccessibleTree* tree, AccessId id);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; readers call the IAccessible slots.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IAccessible. A child is named by CHILDID_SELF, by its position among
    // this element's children (1..count), or by the negative id of an event.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** element) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    // A protected value (a password) answers E_ACCESSDENIED.
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    // Only SELFLAG_TAKEFOCUS, posted to the window.
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    // First and last child, next and previous sibling, in visual order.
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    // Posts the action to the window, where the control performs it as a
    // click would on the window's next turn: a reader may call from inside
    // the window's own message handling, where a click's handlers (which
    // may open a modal box or delete controls) must not run.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    CAccessibleElement(CAccessibleTree* tree, AccessId id);
    ~CAccessibleElement();
    CAccessibleElement(const CAccessibleElement&) = delete;
    CAccessibleElement& operator=(const CAccessibleElement&) = delete;

    // The element child names: S_OK with target set, CO_E_OBJNOTCONNECTED
    // when this element is gone, E_INVALIDARG for a child it does not have.
    HRESULT Resolve(const VARIANT& child, AccessId& target);
    // Resolve, then the target's description.
    HRESULT DescribeChild(const VARIANT& child, AccessDescription& description);
    // element as a VARIANT: CHILDID_SELF for this element, else a new object.
    void PutElement(AccessId element, VARIANT* out);
    // One text or number of the described child, as the property getters
    // answer it.
    HRESULT ReadText(const VARIANT& child, CUIString AccessDescription::*field, BSTR* out);
    HRESULT ReadNumber(const VARIANT& child, long (*pick)(const AccessDescription&), VARIANT* out);
    // text as a new string for out; S_FALSE and null for an empty text.
    static HRESULT PutText(const CUIString& text, BSTR* out);

    LONG m_references = 1;
    CAccessibleTree* m_tree;  // one reference held
    AccessId m_id;
};

}  // namespace DuiLib
