// CNotifier: the listeners, synchronous and posted delivery with repeat
// suppression, the WM_APP + 1 pump and the deletion of queued controls.
// Invariant: a queued control is deleted only when no delivery of the
// manager is running further up the stack, so no code of it can be.
#include "ui/core/Notifier.h"

#include "ui/control/ControlInterface.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManager.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::RemoveFirst;

bool CNotifier::AddListener(INotifyUI* listener)
{
    return listener != nullptr && m_listeners.Find(listener) < 0 && m_listeners.Add(listener);
}

bool CNotifier::RemoveListener(INotifyUI* listener)
{
    return RemoveFirst(m_listeners, listener);
}

void CNotifier::RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async,
                            bool enableRepeat)
{
    NotifyEvent notification;
    notification.type = type;
    notification.sender = control;
    notification.wParam = wParam;
    notification.lParam = lParam;
    RaiseNotify(notification, async, enableRepeat);
}

void CNotifier::RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat)
{
    if (m_manager.IsBorrower(notification.sender))
        return;
    notification.mousePoint = m_manager.GetMousePos();
    notification.timestamp = GetTickCount();
    if (m_useVirtualWindowNames && notification.sender != nullptr)
        notification.virtualWindowName = notification.sender->VirtualWindowName();
    if (!async)
    {
        DeliverNotification(notification);
        return;
    }
    if (!enableRepeat)
    {
        // A burst (a dragged scroll bar) reaches the listeners once, with
        // the latest values.
        for (QueuedNotification& entry : m_queuedNotifications)
        {
            NotifyEvent* queued = entry.notification;
            if (entry.sender.Get() != notification.sender || queued->type != notification.type)
                continue;
            if (m_useVirtualWindowNames)
                queued->virtualWindowName = notification.virtualWindowName;
            queued->wParam = notification.wParam;
            queued->lParam = notification.lParam;
            queued->mousePoint = notification.mousePoint;
            queued->timestamp = notification.timestamp;
            return;
        }
    }
    m_queuedNotifications.push_back(QueuedNotification{new NotifyEvent(notification), notification.sender});
    PostPump();
}

void CNotifier::DeliverNotification(NotifyEvent& notification)
{
    CDeliveryScope busy(*this);
    // A handler may delete the sender: each listener reads it through the
    // reference, null once it has gone.
    const CControlRef sender(notification.sender);
    if (notification.sender != nullptr && notification.sender->NotifyHub())
        notification.sender->NotifyHub()(&notification);
    // Listeners hear of it whatever the hub answered. A copy, since a
    // listener may leave the list (or add one) while it is called.
    const CPtrList listeners(m_listeners);
    for (int i = 0; i < listeners.GetSize(); ++i)
    {
        notification.sender = sender.Get();
        if (m_listeners.Find(listeners[i]) >= 0)
            static_cast<INotifyUI*>(listeners[i])->ReceiveNotify(notification);
    }
    notification.sender = sender.Get();
}

void CNotifier::PumpNotifications()
{
    m_notifyPosted = false;
    // Taken one by one from the front: a listener may post more.
    while (!m_queuedNotifications.empty())
    {
        QueuedNotification entry = std::move(m_queuedNotifications.front());
        m_queuedNotifications.erase(m_queuedNotifications.begin());
        entry.notification->sender = entry.sender.Get();
        DeliverNotification(*entry.notification);
        delete entry.notification;
    }
    // The pump's own message is the one delivery allowed on the stack.
    DeleteQueuedControls(1);
}

void CNotifier::QueueForDeletion(IControlUI* control)
{
    if (control == nullptr)
        return;
    for (const CControlRef& queued : m_delayedDeletions)
    {
        if (queued.Get() == control)
            return;
    }
    control->BindManager(&m_manager, nullptr, false);
    m_delayedDeletions.push_back(control);
    PostPump();
}

void CNotifier::DeleteQueuedControls(int ownDepth)
{
    if (m_deliveryDepth > ownDepth)
        return;
    // One at a time from the front: a control's destructor may queue more.
    // A queued control that was deleted directly meanwhile reads null.
    while (!m_delayedDeletions.empty())
    {
        IControlUI* control = m_delayedDeletions.front().Get();
        m_delayedDeletions.erase(m_delayedDeletions.begin());
        if (control != nullptr)
            control->Delete();
    }
}

void CNotifier::DropQueuedNotifications()
{
    for (QueuedNotification& entry : m_queuedNotifications)
        delete entry.notification;
    m_queuedNotifications.clear();
}

void CNotifier::EndDelivery()
{
    --m_deliveryDepth;
    // A pump that ran inside a nested message loop left the queued controls
    // alone; now that nothing of this manager runs, another pump takes them.
    if (m_deliveryDepth == 0 && !m_delayedDeletions.empty())
        PostPump();
}

void CNotifier::PostPump()
{
    HWND window = m_manager.GetPaintWindow();
    if (!m_notifyPosted && window != nullptr)
        m_notifyPosted = PostMessageW(window, kPumpMessage, 0, 0) != FALSE;
}

}  // namespace DuiLib
