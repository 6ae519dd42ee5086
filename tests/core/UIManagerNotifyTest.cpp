// Notifications through a real window and the real WM_APP + 1 pump: the
// delivery order, posted notifications with and without repeat, deletion
// deferred past handlers, nested modal loops inside handlers, and senders
// deleted while their notifications wait or are being delivered.
#include <windows.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

#include "tests/core/TreeProbe.h"

using namespace DuiLib;
using DuiLib::test::CManagerHost;
using DuiLib::test::CNotifyRecorder;
using DuiLib::test::CTreeProbe;
using DuiLib::test::PumpMessages;
using DuiLib::test::Trail;

namespace {

constexpr UINT kPumpMessage = WM_APP + 1;

bool WasDestroyed(const wchar_t* name)
{
    const auto& destroyed = CTreeProbe::Destroyed();
    return std::find(destroyed.begin(), destroyed.end(), name) != destroyed.end();
}

// A delegate for a control's NotifyHub that writes "hub type" and answers
// as told.
class CHubTarget
{
public:
    CHubTarget(Trail* trail, bool answer) : m_trail(trail), m_answer(answer) {}
    bool OnNotify(void* param)
    {
        m_trail->push_back(L"hub " + std::wstring(static_cast<NotifyEvent*>(param)->type.GetData()));
        return m_answer;
    }

private:
    Trail* m_trail;
    bool m_answer;
};

// A window whose modal loop a handler runs; it closes itself from the queue.
class CModalWnd : public CWindowWnd
{
public:
    const wchar_t* WindowClassName() const override { return L"KalvexNotifyModal"; }
};

class NotifyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        host = std::make_unique<CManagerHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"notify", WS_POPUP, 0, 100, 100, 200, 100));
        window = host->GetHWND();
        root = new CTreeProbe(&trail, L"root", RECT{0, 0, 200, 100});
        a = root->Add(new CTreeProbe(&trail, L"a", RECT{10, 10, 60, 40}));
        b = root->Add(new CTreeProbe(&trail, L"b", RECT{100, 10, 150, 40}));
        ASSERT_TRUE(Manager().AttachRootControl(root));
        ASSERT_TRUE(Manager().AddListener(&first));
        ASSERT_TRUE(Manager().AddListener(&second));
        PumpMessages();
        trail.clear();
    }

    void TearDown() override
    {
        host.reset();
        PumpMessages();
        EXPECT_EQ(0, CTreeProbe::CallsAfterDeletion()) << "a deleted control was called";
        CTreeProbe::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }

    // Removes the queued pump messages of the window; how many there were.
    int TakePumpMessages()
    {
        int count = 0;
        MSG message;
        while (PeekMessageW(&message, window, kPumpMessage, kPumpMessage, PM_REMOVE))
            ++count;
        return count;
    }

    std::unique_ptr<CManagerHost> host;
    HWND window = nullptr;
    Trail trail;
    CNotifyRecorder first{&trail};
    CNotifyRecorder second{&trail};
    CTreeProbe* root = nullptr;
    CTreeProbe* a = nullptr;
    CTreeProbe* b = nullptr;
};

}  // namespace

TEST_F(NotifyTest, SynchronousNotificationReachesTheHubThenEveryListenerWhateverTheHubSays)
{
    CHubTarget veto(&trail, false);
    a->NotifyHub() += CDelegate<CHubTarget>(&veto, &CHubTarget::OnNotify);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 40));
    const DWORD before = GetTickCount();
    Manager().RaiseNotify(a, L"click", 5, 6);
    EXPECT_EQ((Trail{L"hub click", L"notify click a", L"notify click a"}), trail);
    const NotifyEvent& got = second.received.at(0);
    EXPECT_EQ(a, got.sender);
    EXPECT_EQ(5u, got.wParam);
    EXPECT_EQ(6, got.lParam);
    EXPECT_EQ(30, got.mousePoint.x);
    EXPECT_EQ(40, got.mousePoint.y);
    EXPECT_LE(before, got.timestamp);
    EXPECT_TRUE(got.virtualWindowName.IsEmpty());
}

TEST_F(NotifyTest, VirtualWindowNamesTravelOnlyWhenTheManagerUsesThem)
{
    a->virtualWindow = L"page";
    Manager().RaiseNotify(a, L"click");
    EXPECT_TRUE(first.received.at(0).virtualWindowName.IsEmpty());
    Manager().SetUseVirtualWindowNames(true);
    Manager().RaiseNotify(a, L"click");
    EXPECT_EQ(L"page", first.received.at(1).virtualWindowName);
}

TEST_F(NotifyTest, ListenersAreAddedOnceAndMayLeaveWhileCalled)
{
    EXPECT_FALSE(Manager().AddListener(nullptr));
    EXPECT_FALSE(Manager().AddListener(&first));
    first.onNotify = [&](NotifyEvent&) { EXPECT_TRUE(Manager().RemoveListener(&first)); };
    Manager().RaiseNotify(a, L"click");
    Manager().RaiseNotify(a, L"click");
    EXPECT_EQ(1u, first.received.size());
    EXPECT_EQ(2u, second.received.size());
    EXPECT_FALSE(Manager().RemoveListener(&first));
}

TEST_F(NotifyTest, PostedNotificationsWaitForOnePumpMessage)
{
    Manager().RaiseNotify(a, L"scroll", 1, 0, true, false);
    Manager().RaiseNotify(b, L"scroll", 2, 0, true, false);
    Manager().RaiseNotify(a, L"click", 3, 0, true, true);
    EXPECT_TRUE(trail.empty());
    EXPECT_EQ(1, TakePumpMessages()) << "one pump message for the whole queue";
    SendMessageW(window, kPumpMessage, 0, 0);
    EXPECT_EQ((Trail{L"notify scroll a", L"notify scroll a", L"notify scroll b", L"notify scroll b",
                     L"notify click a", L"notify click a"}),
              trail);
}

TEST_F(NotifyTest, PostedWithoutRepeatDeliversOnceWithTheLatestValues)
{
    Manager().RaiseNotify(a, L"scroll", 1, 10, true, false);
    Manager().RaiseNotify(a, L"scroll", 2, 20, true, false);
    PumpMessages();
    ASSERT_EQ(1u, first.received.size());
    EXPECT_EQ(2u, first.received[0].wParam);
    EXPECT_EQ(20, first.received[0].lParam);

    Manager().RaiseNotify(a, L"click", 1, 10, true, true);
    Manager().RaiseNotify(a, L"click", 2, 20, true, true);
    PumpMessages();
    EXPECT_EQ(3u, first.received.size()) << "with repeat, each is delivered";
}

TEST_F(NotifyTest, SenderDeletedBeforeThePumpArrivesAsNoSender)
{
    CHubTarget hub(&trail, true);
    a->NotifyHub() += CDelegate<CHubTarget>(&hub, &CHubTarget::OnNotify);
    Manager().RaiseNotify(a, L"scroll", 0, 0, true, false);
    a->Delete();
    PumpMessages();
    EXPECT_EQ((Trail{L"notify scroll -", L"notify scroll -"}), trail);
}

TEST_F(NotifyTest, SenderDeletedByAListenerReachesTheNextListenerAsNoSender)
{
    first.onNotify = [&](NotifyEvent& n) {
        if (n.sender == a)
            a->Delete();
    };
    Manager().RaiseNotify(a, L"click");
    EXPECT_EQ((Trail{L"notify click a", L"notify click -"}), trail);
}

TEST_F(NotifyTest, ControlQueuedFromItsOwnHandlerGoesAfterTheHandlerAndTheQueue)
{
    first.onNotify = [&](NotifyEvent& n) {
        if (n.type == L"click")
        {
            Manager().QueueForDeletion(a);
            Manager().QueueForDeletion(a);
            Manager().RaiseNotify(b, L"later", 0, 0, true, true);
            a->color = 1;  // still alive while its handler runs
            a->Invalidate();
        }
        if (n.type == L"later")
        {
            EXPECT_FALSE(WasDestroyed(L"a")) << "the queue is delivered first";
        }
    };
    Manager().RaiseNotify(a, L"click");
    EXPECT_FALSE(WasDestroyed(L"a"));
    PumpMessages();
    EXPECT_TRUE(WasDestroyed(L"a"));
    EXPECT_EQ(1u, CTreeProbe::Destroyed().size()) << "queued twice, deleted once";
}

TEST_F(NotifyTest, ControlDeletedDirectlyWhileQueuedIsNotDeletedAgain)
{
    Manager().QueueForDeletion(b);
    b->Delete();
    PumpMessages();
    EXPECT_EQ(1u, CTreeProbe::Destroyed().size());
}

TEST_F(NotifyTest, NestedModalLoopInAHandlerKeepsControlsStillOnTheStack)
{
    bool deletedDuringModal = true;
    bool laterDelivered = false;
    first.onNotify = [&](NotifyEvent& n) {
        if (n.type == L"later")
            laterDelivered = true;
        if (n.type != L"click")
            return;
        Manager().QueueForDeletion(a);
        Manager().RaiseNotify(b, L"later", 0, 0, true, true);
        CModalWnd modal;
        ASSERT_NE(nullptr, modal.Create(window, L"modal", WS_POPUP, 0, 0, 0, 20, 20));
        // Queued behind the pump message, so the nested loop runs the pump
        // before it ends.
        modal.Close();
        modal.RunModal(false, false);
        deletedDuringModal = WasDestroyed(L"a");
        a->color = 2;
        a->Invalidate();
    };
    a->onEvent = [&](CTreeProbe& probe, UIEvent& event) {
        if (event.type == UIEVENT_BUTTONUP)
            Manager().RaiseNotify(&probe, L"click");
    };
    SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_TRUE(laterDelivered) << "the nested loop delivered the queued notification";
    EXPECT_FALSE(deletedDuringModal) << "a's own code was still running";
    EXPECT_FALSE(WasDestroyed(L"a"));
    PumpMessages();
    EXPECT_TRUE(WasDestroyed(L"a")) << "the outermost delivery posted another pump";
}

TEST_F(NotifyTest, TreeReplacedFromAHandlerOfTheOldTreeIsDeletedAfterIt)
{
    Manager().RaiseNotify(b, L"stale", 0, 0, true, true);
    CTreeProbe* next = new CTreeProbe(&trail, L"next", RECT{0, 0, 200, 100});
    first.onNotify = [&](NotifyEvent& n) {
        if (n.type != L"click")
            return;
        Manager().QueueForDeletion(b);
        root->Detach(b);
        Manager().AttachRootControl(next);
        a->Invalidate();
        EXPECT_FALSE(WasDestroyed(L"b")) << "b's handler-time queue waits too";
    };
    Manager().RaiseNotify(a, L"click");
    EXPECT_TRUE(CTreeProbe::Destroyed().empty());
    trail.clear();
    PumpMessages();
    EXPECT_EQ(3u, CTreeProbe::Destroyed().size()) << "root, a and the queued b";
    EXPECT_EQ(next, Manager().GetRoot());
    EXPECT_EQ(std::find(trail.begin(), trail.end(), L"notify stale b"), trail.end())
        << "the old tree's queued notifications were dropped";
}

TEST_F(NotifyTest, WindowInitListenerThatReplacesTheTreeLeavesNothingDangling)
{
    CTreeProbe* next = new CTreeProbe(&trail, L"next", RECT{0, 0, 0, 0}, 0x102030);
    bool replaced = false;
    first.onNotify = [&](NotifyEvent& n) {
        if (n.type == L"windowinit" && !replaced)
        {
            replaced = true;
            Manager().AttachRootControl(next);
        }
    };
    ShowWindow(window, SW_SHOWNA);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    PumpMessages();
    EXPECT_EQ(3u, CTreeProbe::Destroyed().size());
    ASSERT_FALSE(next->placements.empty());
    EXPECT_EQ(200, next->placements.back().right) << "the new root is laid out at the client area";
    EXPECT_EQ(100, next->placements.back().bottom);
}
