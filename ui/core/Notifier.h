// CNotifier: a manager's notifications and the deferred work that hangs on
// them: the listeners, synchronous and posted delivery with repeat
// suppression, the WM_APP + 1 pump, the depth of running deliveries and the
// queue of controls deleted later. Owned by CUIManager, which forwards here.
// Invariant: a queued control is deleted only when no delivery of the
// manager is running further up the stack, so no code of it can be.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/core/ControlRef.h"
#include "ui/core/PtrList.h"

namespace DuiLib {

class CUIManager;
class IControlUI;
class INotifyUI;
struct NotifyEvent;

class CNotifier
{
public:
    // The posted-notification pump's private message.
    static constexpr UINT kPumpMessage = WM_APP + 1;

    // Counts a delivery of the manager (a routed message, a notification,
    // a focus or timer event) for as long as it runs; the outermost one to
    // end posts the pump when controls still wait for deletion.
    class CDeliveryScope
    {
    public:
        explicit CDeliveryScope(CNotifier& notifier) : m_notifier(notifier) { ++m_notifier.m_deliveryDepth; }
        CDeliveryScope(const CDeliveryScope&) = delete;
        CDeliveryScope& operator=(const CDeliveryScope&) = delete;
        ~CDeliveryScope() { m_notifier.EndDelivery(); }

    private:
        CNotifier& m_notifier;
    };

    // manager lends its window for the pump, its mouse point for the
    // records and its borrower test.
    explicit CNotifier(CUIManager& manager) : m_manager(manager) {}
    CNotifier(const CNotifier&) = delete;
    CNotifier& operator=(const CNotifier&) = delete;
    ~CNotifier() { DropQueuedNotifications(); }

    // Listeners, never owned, called in order of adding. Add refuses null
    // and a listener already present (false); Remove answers whether it found
    // the listener. A listener may remove itself while being called.
    bool AddListener(INotifyUI* listener);
    bool RemoveListener(INotifyUI* listener);
    // Builds a notification of type from control and raises it as below.
    void RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async,
                     bool enableRepeat);
    // Stamps notification (mouse point, time, virtual window name) and
    // delivers it now to the sender's NotifyHub and then, whatever the hub
    // answers, to every listener; or, with async, queues a copy for the
    // pump. Without enableRepeat a queued notification of the same sender
    // and type takes the new values instead of a second copy. Nothing for a
    // sender that only borrows the manager's resources.
    void RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat);
    // While set, notifications carry their sender's virtual window name.
    void SetUseVirtualWindowNames(bool use) { m_useVirtualWindowNames = use; }
    bool IsUsingVirtualWindowNames() const { return m_useVirtualWindowNames; }

    // Detaches control from its parent and deletes it on a later turn of
    // the message loop, once no delivery is running further up the stack.
    // Null and a control already queued are ignored.
    void QueueForDeletion(IControlUI* control);
    // Deletes the controls queued for deletion when no more than ownDepth
    // deliveries (the caller's own) are running; otherwise leaves them for
    // the pump that the outermost delivery posts when it ends.
    void DeleteQueuedControls(int ownDepth);
    // Frees every queued notification undelivered.
    void DropQueuedNotifications();
    // kPumpMessage: delivers the queued notifications, then deletes the
    // queued controls unless a delivery outside the pump's own message is
    // running.
    void PumpNotifications();
    // The number of deliveries running now.
    int DeliveryDepth() const { return m_deliveryDepth; }

private:
    // A posted notification; its record's sender is taken from the
    // reference when it is delivered.
    struct QueuedNotification
    {
        NotifyEvent* notification;  // owned
        CControlRef sender;
    };

    void EndDelivery();
    // Posts the pump message unless one is already on its way.
    void PostPump();
    // Hands notification to its sender's NotifyHub and every listener; the
    // sender reads null for the listeners after one of them deleted it.
    void DeliverNotification(NotifyEvent& notification);

    CUIManager& m_manager;
    CPtrList m_listeners;  // INotifyUI
    std::vector<QueuedNotification> m_queuedNotifications;
    std::vector<CControlRef> m_delayedDeletions;  // owned, deleted by the pump
    int m_deliveryDepth = 0;
    bool m_notifyPosted = false;
    bool m_useVirtualWindowNames = false;
};

}  // namespace DuiLib
