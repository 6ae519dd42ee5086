// CUIManager notifications: the listeners, synchronous and posted delivery
// with repeat suppression, the WM_APP + 1 pump and the deletion of queued
// controls. Invariant: a queued control is deleted only when no delivery of
// this manager is running further up the stack, so no code of it can be.
#include "ui/core/UIManager.h"

#include "ui/control/ControlInterface.h"
#include "ui/core/Notify.h"
#include "ui/core/UIManagerInput.h"

namespace DuiLib {

using input::RemoveFirst;

namespace {

constexpr UINT kNotifyPumpMessage = WM_APP + 1;

}  // namespace

bool CUIManager::AddListener(INotifyUI* listener)
{
    return listener != nullptr && m_listeners.Find(listener) < 0 && m_listeners.Add(listener);
}

bool CUIManager::RemoveListener(INotifyUI* listener)
{
    return RemoveFirst(m_listeners, listener);
}

void CUIManager::RaiseNotify(IControlUI* control, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool async,
                             bool enableRepeat)
{
    NotifyEvent notification;
    notification.type = type;
    notification.sender = control;
    notification.wParam = wParam;
    notification.lParam = lParam;
    RaiseNotify(notification, async, enableRepeat);
}

void CUIManager::RaiseNotify(NotifyEvent& notification, bool async, bool enableRepeat)
{
    notification.mousePoint = m_lastMousePos;
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
        for (int i = 0; i < m_queuedNotifications.GetSize(); ++i)
        {
            NotifyEvent* queued = static_cast<NotifyEvent*>(m_queuedNotifications[i]);
            if (queued->sender != notification.sender || queued->type != notification.type)
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
    NotifyEvent* copy = new NotifyEvent(notification);
    if (!m_queuedNotifications.Add(copy))
    {
        delete copy;
        return;
    }
    PostPump();
}

void CUIManager::DeliverNotification(NotifyEvent& notification)
{
    CDeliveryScope busy(*this);
    // Listed while it is delivered, so that a sender deleted by a handler
    // leaves the record with no sender rather than a freed one.
    m_deliveringNotifications.Add(&notification);
    if (notification.sender != nullptr && notification.sender->NotifyHub())
        notification.sender->NotifyHub()(&notification);
    // Listeners hear of it whatever the hub answered. A copy, since a
    // listener may leave the list (or add one) while it is called.
    const CPtrList listeners(m_listeners);
    for (int i = 0; i < listeners.GetSize(); ++i)
    {
        if (m_listeners.Find(listeners[i]) >= 0)
            static_cast<INotifyUI*>(listeners[i])->ReceiveNotify(notification);
    }
    RemoveFirst(m_deliveringNotifications, &notification);
}

void CUIManager::PumpNotifications()
{
    m_notifyPosted = false;
    while (!m_queuedNotifications.IsEmpty())
    {
        NotifyEvent* notification = static_cast<NotifyEvent*>(m_queuedNotifications[0]);
        m_queuedNotifications.Remove(0);
        DropAsideSenders(notification);
        DeliverNotification(*notification);
        delete notification;
    }
    // The pump's own message is the one delivery allowed on the stack.
    DeleteQueuedControls(1);
}

void CUIManager::SetControlAside(IControlUI* control)
{
    if (control == nullptr)
        return;
    for (int i = 0; i < m_queuedNotifications.GetSize(); ++i)
    {
        NotifyEvent* notification = static_cast<NotifyEvent*>(m_queuedNotifications[i]);
        if (notification->sender != control || !m_asideSenders.Add(notification))
            continue;
        // Both halves or neither: a lone record would shift every later pair.
        if (!m_asideSenders.Add(control))
            m_asideSenders.Remove(m_asideSenders.GetSize() - 1);
    }
    ForgetControl(control);
}

void CUIManager::DropAsideSenders(const NotifyEvent* notification)
{
    if (notification == nullptr)
    {
        m_asideSenders.Empty();
        return;
    }
    for (int i = m_asideSenders.GetSize() - 2; i >= 0; i -= 2)
    {
        if (m_asideSenders[i] == notification)
            m_asideSenders.Remove(i, 2);
    }
}

void CUIManager::DeleteQueuedControls(int ownDepth)
{
    if (m_deliveryDepth > ownDepth)
        return;
    // One at a time from the front: a control's destructor may queue more.
    while (!m_delayedDeletions.IsEmpty())
    {
        IControlUI* control = static_cast<IControlUI*>(m_delayedDeletions[0]);
        m_delayedDeletions.Remove(0);
        control->Delete();
    }
}

void CUIManager::EndDelivery()
{
    --m_deliveryDepth;
    // A pump that ran inside a nested message loop left the queued controls
    // alone; now that nothing of this manager runs, another pump takes them.
    if (m_deliveryDepth == 0 && !m_delayedDeletions.IsEmpty())
        PostPump();
}

void CUIManager::PostPump()
{
    if (!m_notifyPosted && m_window != nullptr)
        m_notifyPosted = PostMessageW(m_window, kNotifyPumpMessage, 0, 0) != FALSE;
}

}  // namespace DuiLib
