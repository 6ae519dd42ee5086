// CControlRef: the one way anything keeps a pointer to a control that may be
// deleted behind its back. A control shares a small life record with every
// reference to it; when the control goes (or its manager forgets it) the
// record is cleared, and each reference reads null from then on. No holder
// has to be found and cleared, so a new place that keeps a control cannot
// forget to, and deleting a tree costs one step per control.
#pragma once

#include <vector>

namespace DuiLib {

class IControlUI;

// What a control and the references to it share. Freed by the last holder
// (the control holds it while it lives).
struct ControlLife
{
    IControlUI* control;
    unsigned holders;
};

// The base every control derives from: hands its life record to new
// references and clears it as the control goes.
class CControlLifetime
{
public:
    CControlLifetime() = default;
    // A copied control is another control: it gets its own record.
    CControlLifetime(const CControlLifetime&) {}
    CControlLifetime& operator=(const CControlLifetime&) { return *this; }

    // The record for a new reference to self (this very object as its
    // interface), one holder added; null once the control has ended.
    ControlLife* ShareLife(IControlUI* self);
    // Every existing reference reads null from now on; later references see
    // the control again. For a control that leaves its manager alive.
    void ForgetReferences();
    // Every existing and future reference reads null. Idempotent.
    void EndLife();

protected:
    ~CControlLifetime() { EndLife(); }

private:
    ControlLife* m_life = nullptr;
    bool m_ended = false;
};

class CControlRef
{
public:
    CControlRef() = default;
    // Implicit, so that a control pointer is stored as it always was.
    CControlRef(IControlUI* control);
    CControlRef(const CControlRef& other);
    CControlRef(CControlRef&& other) noexcept : m_life(other.m_life) { other.m_life = nullptr; }
    CControlRef& operator=(const CControlRef& other);
    CControlRef& operator=(CControlRef&& other) noexcept;
    CControlRef& operator=(IControlUI* control) { return *this = CControlRef(control); }
    ~CControlRef() { Release(); }

    // The control, or null when it has gone or been forgotten.
    IControlUI* Get() const { return m_life != nullptr ? m_life->control : nullptr; }
    operator IControlUI*() const { return Get(); }
    IControlUI* operator->() const { return Get(); }
    void Reset() { Release(); }

private:
    void Release();

    ControlLife* m_life = nullptr;
};

// Whether a list of references holds control (null is never listed).
bool ListsControl(const std::vector<CControlRef>& list, const IControlUI* control);
// Removes the first reference to control; false when there is none. A list
// drops the references of controls that have gone on the way.
bool UnlistControl(std::vector<CControlRef>& list, const IControlUI* control);

}  // namespace DuiLib
