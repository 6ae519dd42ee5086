// Event delegates: CDelegateBase (a copyable callback taking one untyped
// parameter and answering true or false), CDelegate (bound to an object and
// one of its member functions) and CEventHub (a control's list of delegates,
// which owns the copies it holds; the first false answer vetoes).
#pragma once

#include <cstring>

#include "ui/core/PtrList.h"

namespace DuiLib {

class CDelegateBase
{
public:
    virtual ~CDelegateBase();
    // A new delegate of the same kind, bound to the same object and function;
    // the caller owns it.
    virtual CDelegateBase* Copy() const = 0;
    // Calls the target with param and returns its answer.
    virtual bool Invoke(void* param) const = 0;

    // Equal when bound to the same object and the same function.
    bool operator==(const CDelegateBase& other) const;
    bool operator!=(const CDelegateBase& other) const { return !(*this == other); }

    void* Target() const { return m_object; }

protected:
    // The function is kept as the bytes of its member-function pointer, so
    // delegates bound to different classes compare without knowing them.
    static constexpr size_t kFunctionBytes = 2 * sizeof(void*);

    template <class Function>
    CDelegateBase(void* object, Function function) : m_object(object)
    {
        static_assert(sizeof(Function) == kFunctionBytes, "member-function pointer of unexpected size");
        std::memcpy(m_function, &function, kFunctionBytes);
    }
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = default;

    template <class Function>
    Function TargetFunction() const
    {
        Function function;
        std::memcpy(&function, m_function, kFunctionBytes);
        return function;
    }

private:
    void* m_object;
    unsigned char m_function[kFunctionBytes];
};

// Binds object->method(param).
template <class T>
class CDelegate : public CDelegateBase
{
public:
    using Method = bool (T::*)(void* param);

    CDelegate(T* object, Method method) : CDelegateBase(object, method) {}

    CDelegateBase* Copy() const override { return new CDelegate(*this); }

    bool Invoke(void* param) const override
    {
        return (static_cast<T*>(Target())->*TargetFunction<Method>())(param);
    }
};

class CEventHub
{
public:
    CEventHub() = default;
    CEventHub(const CEventHub&) = delete;
    CEventHub& operator=(const CEventHub&) = delete;
    // Deletes every delegate held.
    ~CEventHub();

    // Keeps a copy of delegate unless an equal one is already held; the
    // caller keeps its own delegate. There is no removal.
    CEventHub& operator+=(const CDelegateBase& delegate);

    // True when at least one delegate is held.
    explicit operator bool() const { return !m_delegates.IsEmpty(); }

    // Invokes the delegates in the order added and stops at the first that
    // answers false, answering false; otherwise (an empty hub included) true.
    bool operator()(void* param) const;

private:
    CPtrList m_delegates;
};

}  // namespace DuiLib
