// CControlUI identity, state flags, size limits, the hubs, the event
// defaults and LocateControl with its flags.
#include "ui/control/ControlUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

struct ControlDeleter
{
    void operator()(IControlUI* control) const { control->Delete(); }
};
using ControlPtr = std::unique_ptr<CControlUI, ControlDeleter>;

// Counts hub calls and answers as told.
class CHubProbe
{
public:
    explicit CHubProbe(bool answer = true) : m_answer(answer) {}
    bool OnCall(void* param)
    {
        params.push_back(param);
        return m_answer;
    }
    CDelegate<CHubProbe> Delegate() { return CDelegate<CHubProbe>(this, &CHubProbe::OnCall); }

    std::vector<void*> params;

private:
    bool m_answer;
};

// A control that journals what reaches HandleEvent and its initialisation.
class CJournalControl : public CControlUI
{
public:
    void HandleEvent(UIEvent& event) override
    {
        handled.push_back(event.type);
        CControlUI::HandleEvent(event);
    }
    void OnInitialised() override { ++initialisations; }

    std::vector<UIEventType> handled;
    int initialisations = 0;
};

UIEvent MakeEvent(UIEventType type, WPARAM wParam = 0, LPARAM lParam = 0)
{
    UIEvent event = {};
    event.type = type;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

IControlUI* AcceptAll(IControlUI* control, void*)
{
    return control;
}

IControlUI* AcceptNone(IControlUI*, void*)
{
    return nullptr;
}

// Records the controls visited in data (a std::vector<IControlUI*>) and
// accepts none.
IControlUI* RecordVisit(IControlUI* control, void* data)
{
    static_cast<std::vector<IControlUI*>*>(data)->push_back(control);
    return nullptr;
}

struct PointSearch
{
    POINT point;
    std::vector<IControlUI*> visits;
};

}  // namespace

// ---- Identity and construction --------------------------------------------------------

TEST(ControlIdentity, AnswersToItsClassNameOnly)
{
    ControlPtr control(new CControlUI());
    EXPECT_STREQ(L"Control", control->GetClass());
    EXPECT_EQ(control.get(), control->CastTo(L"Control"));
    EXPECT_EQ(nullptr, control->CastTo(L"control"));
    EXPECT_EQ(nullptr, control->CastTo(L"Button"));
    EXPECT_EQ(nullptr, control->CastTo(nullptr));
    EXPECT_EQ(0u, control->ControlFlagBits());
    EXPECT_EQ(nullptr, control->HostedWindowHandle());
}

TEST(ControlIdentity, StartsWithTheDocumentedValues)
{
    ControlPtr control(new CControlUI());
    EXPECT_EQ(nullptr, control->GetManager());
    EXPECT_EQ(nullptr, control->GetParent());
    EXPECT_EQ(nullptr, control->OverlayControl());
    EXPECT_TRUE(control->IsLayoutPending());
    EXPECT_TRUE(control->IsVisible());
    EXPECT_TRUE(control->IsEnabled());
    EXPECT_TRUE(control->IsMouseEnabled());
    EXPECT_TRUE(control->IsKeyboardEnabled());
    EXPECT_FALSE(control->IsFocused());
    EXPECT_FALSE(control->IsFloat());
    EXPECT_FALSE(control->IsContextMenuUsed());
    EXPECT_EQ(300, control->GetToolTipWidth());
    EXPECT_EQ(9999, control->GetMaxWidth());
    EXPECT_EQ(9999, control->GetMaxHeight());
    EXPECT_EQ(0, control->GetMinWidth());
    EXPECT_EQ(0, control->GetFixedWidth());
    EXPECT_EQ(0, control->GetWidth());
    EXPECT_EQ(0u, control->GetTag());
    EXPECT_EQ(0u, control->GetBkColor());
    EXPECT_EQ(0, control->GetBorderStyle());
    EXPECT_STREQ(L"", control->GetBkImage());
    EXPECT_TRUE(control->VirtualWindowName().IsEmpty());
    const CUISize desired = control->MeasureDesired(SIZE{500, 500});
    EXPECT_EQ(0, desired.cx);
    EXPECT_EQ(0, desired.cy);
}

TEST(ControlIdentity, PlainValuesAreStoredAsGiven)
{
    ControlPtr control(new CControlUI());
    control->SetUserData(L"data");
    control->SetTag(77);
    control->SetShortcut(L'X');
    control->SetToolTipWidth(120);
    control->SetContextMenuUsed(true);
    control->SetName(L"first");
    control->SetText(L"text");
    EXPECT_EQ(L"data", control->GetUserData());
    EXPECT_EQ(77u, control->GetTag());
    EXPECT_EQ(L'X', control->GetShortcut());
    EXPECT_EQ(120, control->GetToolTipWidth());
    EXPECT_TRUE(control->IsContextMenuUsed());
    EXPECT_EQ(L"first", control->GetName());
    EXPECT_EQ(L"text", control->GetText());
    control->SetName(nullptr);
    EXPECT_TRUE(control->GetName().IsEmpty());
}

TEST(ControlIdentity, MeasureDesiredIsTheFixedSize)
{
    ControlPtr control(new CControlUI());
    control->SetFixedWidth(40);
    control->SetFixedHeight(25);
    const CUISize desired = control->MeasureDesired(SIZE{10, 10});
    EXPECT_EQ(40, desired.cx);
    EXPECT_EQ(25, desired.cy);
}

// ---- Flags -------------------------------------------------------------------------------

TEST(ControlFlags, KeyboardFollowsTheEnabledFlag)
{
    ControlPtr control(new CControlUI());
    control->SetEnabled(false);
    EXPECT_FALSE(control->IsKeyboardEnabled());
    control->SetEnabled(true);
    EXPECT_TRUE(control->IsKeyboardEnabled());
    control->SetKeyboardEnabled(false);
    EXPECT_FALSE(control->IsKeyboardEnabled());
}

TEST(ControlFlags, ActivateNeedsVisibleAndEnabled)
{
    ControlPtr control(new CControlUI());
    EXPECT_TRUE(control->Activate());
    control->SetEnabled(false);
    EXPECT_FALSE(control->Activate());
    control->SetEnabled(true);
    control->SetVisible(false);
    EXPECT_FALSE(control->Activate());
}

TEST(ControlFlags, VisibilityCombinesOwnAndInherited)
{
    ControlPtr control(new CControlUI());
    control->SetInheritedVisible(false);
    EXPECT_FALSE(control->IsVisible());
    control->SetInheritedVisible(true);
    control->SetVisible(false);
    EXPECT_FALSE(control->IsVisible());
    control->SetInheritedVisible(true);
    EXPECT_FALSE(control->IsVisible());
    control->SetVisible(true);
    EXPECT_TRUE(control->IsVisible());
}

TEST(ControlFlags, ChangingVisibilityClearsFocused)
{
    ControlPtr control(new CControlUI());
    UIEvent focus = MakeEvent(UIEVENT_SETFOCUS);
    control->Event(focus);
    EXPECT_TRUE(control->IsFocused());
    control->SetVisible(false);
    EXPECT_FALSE(control->IsFocused());
}

TEST(ControlFlags, CoverFollowsTheControlsVisibility)
{
    ControlPtr control(new CControlUI());
    CControlUI* cover = new CControlUI();
    control->SetOverlayControl(cover);
    EXPECT_EQ(control.get(), cover->GetParent());
    control->SetVisible(false);
    EXPECT_FALSE(cover->IsVisible());
    control->SetVisible(true);
    EXPECT_TRUE(cover->IsVisible());
    control->SetInheritedVisible(false);
    EXPECT_FALSE(cover->IsVisible());
    control->SetInheritedVisible(true);
    EXPECT_TRUE(cover->IsVisible());
}

TEST(ControlFlags, ACoverGivenToAHiddenControlStartsHidden)
{
    ControlPtr control(new CControlUI());
    control->SetVisible(false);
    CControlUI* cover = new CControlUI();
    control->SetOverlayControl(cover);
    EXPECT_FALSE(cover->IsVisible());
}

TEST(ControlFlags, AControlCannotBeItsOwnCover)
{
    ControlPtr control(new CControlUI());
    control->SetOverlayControl(control.get());
    EXPECT_EQ(nullptr, control->OverlayControl());
}

// ---- Size limits -------------------------------------------------------------------------

TEST(ControlSizeLimits, MaximumIsNeverBelowMinimum)
{
    ControlPtr control(new CControlUI());
    control->SetMinWidth(50);
    control->SetMaxWidth(30);
    EXPECT_EQ(50, control->GetMaxWidth());
    control->SetMinHeight(20);
    control->SetMaxHeight(10);
    EXPECT_EQ(20, control->GetMaxHeight());
    control->SetMinWidth(10);
    EXPECT_EQ(30, control->GetMaxWidth());
}

TEST(ControlSizeLimits, NegativeValuesAreIgnored)
{
    ControlPtr control(new CControlUI());
    control->SetMinWidth(5);
    control->SetMinWidth(-1);
    control->SetMaxWidth(-1);
    control->SetMinHeight(-3);
    control->SetMaxHeight(-3);
    control->SetFixedWidth(12);
    control->SetFixedWidth(-12);
    control->SetFixedHeight(-2);
    EXPECT_EQ(5, control->GetMinWidth());
    EXPECT_EQ(9999, control->GetMaxWidth());
    EXPECT_EQ(0, control->GetMinHeight());
    EXPECT_EQ(9999, control->GetMaxHeight());
    EXPECT_EQ(12, control->GetFixedWidth());
    EXPECT_EQ(0, control->GetFixedHeight());
}

// ---- Hubs and events ----------------------------------------------------------------------

TEST(ControlEvents, EventHubSeesTheEventBeforeHandleEvent)
{
    CJournalControl control;
    CHubProbe probe(true);
    control.EventHub() += probe.Delegate();
    UIEvent event = MakeEvent(UIEVENT_SETFOCUS);
    control.Event(event);
    ASSERT_EQ(1u, probe.params.size());
    EXPECT_EQ(&event, probe.params[0]);
    ASSERT_EQ(1u, control.handled.size());
    EXPECT_TRUE(control.IsFocused());
}

TEST(ControlEvents, AVetoingEventHubKeepsTheEventFromHandleEvent)
{
    CJournalControl control;
    CHubProbe veto(false);
    control.EventHub() += veto.Delegate();
    UIEvent event = MakeEvent(UIEVENT_SETFOCUS);
    control.Event(event);
    EXPECT_TRUE(control.handled.empty());
    EXPECT_FALSE(control.IsFocused());
}

TEST(ControlEvents, FocusEventsSetAndClearFocused)
{
    ControlPtr control(new CControlUI());
    UIEvent set = MakeEvent(UIEVENT_SETFOCUS);
    UIEvent kill = MakeEvent(UIEVENT_KILLFOCUS);
    control->Event(set);
    EXPECT_TRUE(control->IsFocused());
    control->Event(kill);
    EXPECT_FALSE(control->IsFocused());
}

TEST(ControlEvents, SetCursorShowsTheArrow)
{
    ControlPtr control(new CControlUI());
    ::SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    UIEvent event = MakeEvent(UIEVENT_SETCURSOR);
    control->Event(event);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
}

TEST(ControlEvents, UnhandledEventsGoToTheParent)
{
    CJournalControl parent;
    ControlPtr child(new CControlUI());
    child->BindManager(nullptr, &parent, false);
    for (UIEventType type : {UIEVENT_BUTTONDOWN, UIEVENT_KEYDOWN, UIEVENT_SCROLLWHEEL, UIEVENT_CONTEXTMENU})
    {
        UIEvent event = MakeEvent(type);
        child->Event(event);
    }
    // Focus, cursor and timer events stay with the child.
    for (UIEventType type : {UIEVENT_SETFOCUS, UIEVENT_KILLFOCUS, UIEVENT_SETCURSOR, UIEVENT_TIMER})
    {
        UIEvent event = MakeEvent(type);
        child->Event(event);
    }
    EXPECT_EQ((std::vector<UIEventType>{UIEVENT_BUTTONDOWN, UIEVENT_KEYDOWN, UIEVENT_SCROLLWHEEL,
                                         UIEVENT_CONTEXTMENU}),
              parent.handled);
}

TEST(ControlEvents, WithoutAParentUnhandledEventsEndQuietly)
{
    ControlPtr control(new CControlUI());
    UIEvent event = MakeEvent(UIEVENT_BUTTONUP);
    control->Event(event);
    EXPECT_FALSE(control->IsFocused());
}

TEST(ControlEvents, TimerAndMenuBecomeNotificationsOfTheManager)
{
    std::unique_ptr<CHostWindow> host = MakeHost(200, 100);
    ASSERT_NE(nullptr, host);
    CNotifyRecorder recorder;
    ASSERT_TRUE(host->manager.AddListener(&recorder));
    CJournalControl* parent = new CJournalControl();
    ASSERT_TRUE(host->manager.AttachRootControl(parent));
    CControlUI* control = new CControlUI();
    parent->SetOverlayControl(control);

    UIEvent timer = MakeEvent(UIEVENT_TIMER, 5, 6);
    control->Event(timer);
    UIEvent menu = MakeEvent(UIEVENT_CONTEXTMENU, 7, 8);
    control->Event(menu);  // menu not used: passed to the parent
    control->SetContextMenuUsed(true);
    control->Event(menu);

    const std::vector<RecordedNotify> timers = recorder.OfType(L"timer");
    ASSERT_EQ(1u, timers.size());
    EXPECT_EQ(control, timers[0].sender);
    EXPECT_EQ(5u, timers[0].wParam);
    EXPECT_EQ(6, timers[0].lParam);
    const std::vector<RecordedNotify> menus = recorder.OfType(L"menu");
    ASSERT_EQ(1u, menus.size());
    EXPECT_EQ(control, menus[0].sender);
    EXPECT_EQ(7u, menus[0].wParam);
    EXPECT_EQ(8, menus[0].lParam);
    EXPECT_EQ(std::vector<UIEventType>{UIEVENT_CONTEXTMENU}, parent->handled);
}

TEST(ControlHubs, InitRunsOnInitialisedThenTheHub)
{
    CJournalControl parent;
    CJournalControl* child = new CJournalControl();
    CHubProbe probe;
    child->InitHub() += probe.Delegate();
    child->BindManager(nullptr, nullptr, true);  // no parent: no Init
    EXPECT_EQ(0, child->initialisations);
    child->BindManager(nullptr, &parent, false);
    EXPECT_EQ(0, child->initialisations);
    child->BindManager(nullptr, &parent, true);
    EXPECT_EQ(1, child->initialisations);
    ASSERT_EQ(1u, probe.params.size());
    EXPECT_EQ(static_cast<IControlUI*>(child), probe.params[0]);
    child->Delete();
}

TEST(ControlHubs, BindManagerReachesTheCoverWithTheControlAsParent)
{
    CJournalControl parent;
    CControlUI* control = new CControlUI();
    CJournalControl* cover = new CJournalControl();
    control->SetOverlayControl(cover);
    control->BindManager(nullptr, &parent, true);
    EXPECT_EQ(&parent, control->GetParent());
    EXPECT_EQ(control, cover->GetParent());
    EXPECT_EQ(1, cover->initialisations);
    control->Delete();
}

TEST(ControlHubs, DestroyHubFiresWithTheControl)
{
    CHubProbe probe;
    CControlUI* control = new CControlUI();
    control->DestroyHub() += probe.Delegate();
    control->Delete();
    ASSERT_EQ(1u, probe.params.size());
    EXPECT_EQ(static_cast<IControlUI*>(control), probe.params[0]);
}

TEST(ControlHubs, PostPaintHubFiresFromPaintOverlay)
{
    CHubProbe probe;
    ControlPtr control(new CControlUI());
    control->PostPaintHub() += probe.Delegate();
    control->PaintOverlay(nullptr, RECT{0, 0, 1, 1});
    ASSERT_EQ(1u, probe.params.size());
    EXPECT_EQ(static_cast<IControlUI*>(control.get()), probe.params[0]);
}

TEST(ControlHubs, SizeHubFiresOnlyWithAManager)
{
    std::unique_ptr<CHostWindow> host = MakeHost(200, 100);
    ASSERT_NE(nullptr, host);
    CHubProbe probe;
    ControlPtr control(new CControlUI());
    control->SizeHub() += probe.Delegate();
    control->PlaceAt(RECT{0, 0, 10, 10}, false);
    EXPECT_TRUE(probe.params.empty());
    EXPECT_TRUE(control->IsLayoutPending());
    control->BindManager(&host->manager, nullptr, false);
    control->PlaceAt(RECT{0, 0, 20, 10}, false);
    ASSERT_EQ(1u, probe.params.size());
    EXPECT_EQ(static_cast<IControlUI*>(control.get()), probe.params[0]);
    EXPECT_FALSE(control->IsLayoutPending());
    control->BindManager(nullptr, nullptr, false);
}

// A size delegate that places its control again must not recurse.
class CReplacer
{
public:
    explicit CReplacer(CControlUI* control) : m_control(control) {}
    bool OnSize(void*)
    {
        ++calls;
        m_control->PlaceAt(RECT{0, 0, 30, 30}, false);
        return true;
    }
    int calls = 0;

private:
    CControlUI* m_control;
};

TEST(ControlHubs, SizeHubIsNotReenteredFromItsOwnDelegate)
{
    std::unique_ptr<CHostWindow> host = MakeHost(200, 100);
    ASSERT_NE(nullptr, host);
    ControlPtr control(new CControlUI());
    CReplacer replacer(control.get());
    control->SizeHub() += CDelegate<CReplacer>(&replacer, &CReplacer::OnSize);
    control->BindManager(&host->manager, nullptr, false);
    control->PlaceAt(RECT{0, 0, 10, 10}, false);
    EXPECT_EQ(1, replacer.calls);
    EXPECT_EQ(30, control->GetWidth());
    control->BindManager(nullptr, nullptr, false);
}

// ---- LocateControl -------------------------------------------------------------------------

TEST(ControlLocate, RejectionFlagsStopTheSearch)
{
    ControlPtr control(new CControlUI());
    control->PlaceAt(RECT{10, 10, 50, 50}, false);
    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, nullptr, UIFIND_ALL));

    control->SetVisible(false);
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, nullptr, UIFIND_VISIBLE));
    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, nullptr, UIFIND_ALL));
    control->SetVisible(true);

    control->SetEnabled(false);
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, nullptr, UIFIND_ENABLED));
    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, nullptr, UIFIND_VISIBLE));
    control->SetEnabled(true);

    POINT inside = {10, 49};
    POINT outside = {50, 20};  // the right edge is outside
    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, &inside, UIFIND_HITTEST));
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, &outside, UIFIND_HITTEST));
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, nullptr, UIFIND_HITTEST));
    EXPECT_EQ(nullptr, control->LocateControl(nullptr, nullptr, UIFIND_ALL));
}

TEST(ControlLocate, UpdateTestSkipsAControlTheVisitorAccepts)
{
    ControlPtr control(new CControlUI());
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, nullptr, UIFIND_UPDATETEST));
    std::vector<IControlUI*> visits;
    EXPECT_EQ(nullptr, control->LocateControl(RecordVisit, &visits, UIFIND_UPDATETEST));
    // Once by the update test, once as the control itself.
    EXPECT_EQ(2u, visits.size());
}

TEST(ControlLocate, MeFirstAsksTheControlBeforeItsCover)
{
    ControlPtr control(new CControlUI());
    CControlUI* cover = new CControlUI();
    control->SetOverlayControl(cover);
    std::vector<IControlUI*> visits;
    control->LocateControl(RecordVisit, &visits, UIFIND_ME_FIRST);
    ASSERT_EQ(2u, visits.size());
    EXPECT_EQ(control.get(), visits[0]);
    EXPECT_EQ(cover, visits[1]);

    visits.clear();
    control->LocateControl(RecordVisit, &visits, UIFIND_ALL);
    ASSERT_EQ(2u, visits.size());
    EXPECT_EQ(cover, visits[0]);
    EXPECT_EQ(control.get(), visits[1]);

    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, nullptr, UIFIND_ME_FIRST));
    EXPECT_EQ(cover, control->LocateControl(AcceptAll, nullptr, UIFIND_ALL));
    EXPECT_EQ(nullptr, control->LocateControl(AcceptNone, nullptr, UIFIND_ME_FIRST));
}

TEST(ControlLocate, HitTestPassesOverAMouseDisabledControlButSearchesItsCover)
{
    ControlPtr control(new CControlUI());
    control->PlaceAt(RECT{0, 0, 100, 100}, false);
    control->SetMouseEnabled(false);
    POINT point = {20, 20};
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, &point, UIFIND_HITTEST));
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, &point, UIFIND_HITTEST | UIFIND_ME_FIRST));
    // Without the hit test the mouse flag plays no part.
    EXPECT_EQ(control.get(), control->LocateControl(AcceptAll, &point, UIFIND_ALL));

    CControlUI* cover = new CControlUI();
    control->SetOverlayControl(cover);
    cover->PlaceAt(RECT{10, 10, 30, 30}, false);
    EXPECT_EQ(cover, control->LocateControl(AcceptAll, &point, UIFIND_HITTEST));
    EXPECT_EQ(cover, control->LocateControl(AcceptAll, &point, UIFIND_HITTEST | UIFIND_ME_FIRST));
    POINT besideCover = {50, 50};
    EXPECT_EQ(nullptr, control->LocateControl(AcceptAll, &besideCover, UIFIND_HITTEST));
}

TEST(ControlLocate, HitTestVisitsTheCoverThenTheControl)
{
    ControlPtr control(new CControlUI());
    control->PlaceAt(RECT{0, 0, 100, 100}, false);
    CControlUI* cover = new CControlUI();
    control->SetOverlayControl(cover);
    cover->PlaceAt(RECT{0, 0, 50, 50}, false);
    PointSearch search = {{70, 70}, {}};
    const LocateControlProc visit = [](IControlUI* c, void* data) -> IControlUI* {
        static_cast<PointSearch*>(data)->visits.push_back(c);
        return nullptr;
    };
    control->LocateControl(visit, &search, UIFIND_HITTEST);
    // The point lies outside the cover, which rejects it before visiting.
    ASSERT_EQ(1u, search.visits.size());
    EXPECT_EQ(control.get(), search.visits[0]);
}

// ---- Virtual window names --------------------------------------------------------------------

TEST(ControlVirtualWindow, NameComesFromTheNearestAncestorThatHasOne)
{
    CControlUI root;
    root.SetVirtualWindowName(L"page");
    CControlUI* middle = new CControlUI();
    middle->BindManager(nullptr, &root, false);
    CControlUI* leaf = new CControlUI();
    leaf->BindManager(nullptr, middle, false);
    EXPECT_EQ(L"page", leaf->VirtualWindowName());
    leaf->SetVirtualWindowName(L"own");
    EXPECT_EQ(L"own", leaf->VirtualWindowName());
    leaf->SetVirtualWindowName(nullptr);
    EXPECT_EQ(L"page", leaf->VirtualWindowName());
    leaf->Delete();
    middle->Delete();
}

TEST(ControlVirtualWindow, SettingItSwitchesTheManagerToVirtualNames)
{
    std::unique_ptr<CHostWindow> host = MakeHost(200, 100);
    ASSERT_NE(nullptr, host);
    CControlUI* root = new CControlUI();
    ASSERT_TRUE(host->manager.AttachRootControl(root));
    EXPECT_FALSE(host->manager.IsUsingVirtualWindowNames());
    root->ApplyAttribute(L"virtualwnd", L"main");
    EXPECT_TRUE(host->manager.IsUsingVirtualWindowNames());

    CNotifyRecorder recorder;
    ASSERT_TRUE(host->manager.AddListener(&recorder));
    UIEvent timer = MakeEvent(UIEVENT_TIMER, 1, 0);
    root->Event(timer);
    ASSERT_EQ(1u, recorder.received.size());
    EXPECT_EQ(L"main", recorder.received[0].virtualWindowName);
}

// ---- Names and the manager's table ------------------------------------------------------------

TEST(ControlNames, RenamingKeepsTheManagersTableInStep)
{
    std::unique_ptr<CHostWindow> host = MakeHost(200, 100);
    ASSERT_NE(nullptr, host);
    CControlUI* root = new CControlUI();
    root->SetName(L"old");
    ASSERT_TRUE(host->manager.AttachRootControl(root));
    EXPECT_EQ(root, host->manager.LocateControl(L"old"));
    root->SetName(L"new");
    EXPECT_EQ(L"new", root->GetName());
    EXPECT_EQ(root, host->manager.LocateControl(L"new"));
    EXPECT_EQ(nullptr, host->manager.LocateControl(L"old"));
    root->ApplyAttribute(L"name", L"third");
    EXPECT_EQ(root, host->manager.LocateControl(L"third"));
    EXPECT_EQ(nullptr, host->manager.LocateControl(L"new"));
}
