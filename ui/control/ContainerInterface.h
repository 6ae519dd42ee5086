// IContainerUI: the child list of a container as code that knows controls
// only through their interfaces reaches it, through CastTo("IContainer"):
// the layout builder, and the manager's accessible tree. CContainerUI
// implements it.
#pragma once

#include "ui/control/ControlInterface.h"

namespace DuiLib {

// Which Remove asks for: deleting the child (when the container owns its
// children) or only unlinking it.
enum class ChildDisposal
{
    Destroy,
    Keep,
};

// The child list as the layout builder reaches it through CastTo("IContainer").
class IContainerUI
{
public:
    virtual ~IContainerUI() = default;
    // The child at index, or null outside 0..count-1.
    virtual IControlUI* ChildAt(int index) const = 0;
    // The index of control, or -1 for a foreign or null control.
    virtual int IndexOfChild(IControlUI* control) const = 0;
    // Moves a child to index; false when control is not a child.
    virtual bool MoveChildTo(IControlUI* control, int index) = 0;
    // Moves the block of count children starting at control to start at
    // index; false for null, negative values or a block running past the end.
    virtual bool MoveChildrenTo(IControlUI* control, int count, int index) = 0;
    virtual int GetCount() const = 0;
    // Appends control and binds it to the container's manager; false for null.
    virtual bool Add(IControlUI* control) = 0;
    // As Add, at index; false for null or an index outside 0..count.
    virtual bool InsertChildAt(IControlUI* control, int index) = 0;
    // Takes control out of the list, deleting it when the container owns its
    // children and disposal is Destroy; false when it is not a child.
    virtual bool Remove(IControlUI* control, ChildDisposal disposal) = 0;
    // Remove of the child at index; false when there is none.
    virtual bool RemoveChildAt(int index, ChildDisposal disposal) = 0;
    // Empties the list, deleting the children when the container owns them.
    virtual void RemoveAll() = 0;
};

}  // namespace DuiLib
