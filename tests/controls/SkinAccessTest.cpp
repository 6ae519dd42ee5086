// The gallery skin read as a screen reader reads it, through oleacc from
// outside the toolkit: the role, name, value and state every control class
// shows at its place, the path up from a button through its page, actions
// that run as clicks do, a password that is never told, the win events of
// changes, and elements that outlive their control or their window.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "tests/controls/SkinTestSupport.h"
#include "tests/core/AccessibleReader.h"
#include "ui/control/ContainerUI.h"
#include "ui/control/TabLayoutUI.h"
#include "ui/controls/ProgressUI.h"

namespace DuiLib {
namespace test {
namespace {

// The screen point at the centre of the control named name.
POINT CentreOf(CSkinWindow& skin, const wchar_t* name)
{
    const RECT place = skin.PlaceOf(name);
    POINT centre = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ClientToScreen(skin.Window(), &centre);
    return centre;
}

AccessiblePtr ParentOf(IAccessible* element)
{
    IDispatch* parent = nullptr;
    IAccessible* found = nullptr;
    if (SUCCEEDED(element->get_accParent(&parent)) && parent != nullptr)
    {
        parent->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&found));
        parent->Release();
    }
    return AccessiblePtr(found);
}

// The win events this thread heard, as the element each one names.
struct HeardEvent
{
    DWORD event;
    std::wstring name;
    std::wstring value;
    long state;
};
std::vector<HeardEvent> s_heard;

void CALLBACK HearEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    IAccessible* element = nullptr;
    VARIANT named;
    VariantInit(&named);
    if (FAILED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object), static_cast<DWORD>(child), &element,
                                         &named)))
        return;
    BSTR name = nullptr;
    BSTR value = nullptr;
    VARIANT state;
    VariantInit(&state);
    element->get_accName(named, &name);
    element->get_accValue(named, &value);
    element->get_accState(named, &state);
    s_heard.push_back({event, name != nullptr ? name : L"", value != nullptr ? value : L"", state.lVal});
    SysFreeString(name);
    SysFreeString(value);
    element->Release();
}

}  // namespace

TEST(SkinAccess, EveryControlClassShowsItsRoleNameValueAndStateAtItsPlace)
{
    CComApartment com;
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built());
    AccessiblePtr client = ClientElement(skin.Window());
    ASSERT_NE(nullptr, client) << "the window gave no accessible object";
    EXPECT_EQ(ROLE_SYSTEM_CLIENT, ReadElement(client.get()).role);

    SYSTEMTIME today = {};
    GetLocalTime(&today);
    wchar_t date[16] = {};
    swprintf(date, 16, L"%4d-%02d-%02d", today.wYear, today.wMonth, today.wDay);
    struct Expected
    {
        const wchar_t* control;
        long role;
        const wchar_t* name;  // null: not checked
        const wchar_t* value;
        long state;           // bits that must be set
    };
    const Expected expected[] = {
        // Markup tags and an inline image leave nothing in the name.
        {L"title", ROLE_SYSTEM_STATICTEXT, L"Gallery of controls", L"", STATE_SYSTEM_READONLY},
        {L"markup", ROLE_SYSTEM_STATICTEXT, L"Labels take bold, colour, a link and  a picture", L"", 0},
        {L"gif", ROLE_SYSTEM_ANIMATION, L"", L"", STATE_SYSTEM_ANIMATED},
        {L"rotate", ROLE_SYSTEM_ANIMATION, L"", L"", STATE_SYSTEM_ANIMATED},
        {L"spinner", ROLE_SYSTEM_ANIMATION, L"", L"", 0},
        {L"tab_controls", ROLE_SYSTEM_RADIOBUTTON, L"Controls", L"", STATE_SYSTEM_CHECKED | STATE_SYSTEM_FOCUSABLE},
        {L"tab_tiles", ROLE_SYSTEM_RADIOBUTTON, L"Tiles", L"", 0},
        {L"text", ROLE_SYSTEM_STATICTEXT, L"Text with a link of its own", L"", 0},
        {L"ok", ROLE_SYSTEM_PUSHBUTTON, L"OK", L"", STATE_SYSTEM_FOCUSABLE},
        {L"off", ROLE_SYSTEM_PUSHBUTTON, L"Disabled", L"", STATE_SYSTEM_UNAVAILABLE},
        {L"gifbutton", ROLE_SYSTEM_PUSHBUTTON, L"", L"", 0},
        {L"check_a", ROLE_SYSTEM_CHECKBUTTON, L"Keep files", L"", STATE_SYSTEM_CHECKED},
        {L"check_b", ROLE_SYSTEM_CHECKBUTTON, L"Log", L"", 0},
        {L"edit_plain", ROLE_SYSTEM_TEXT, L"", L"plain text", STATE_SYSTEM_FOCUSABLE},
        {L"edit_password", ROLE_SYSTEM_TEXT, L"", L"", STATE_SYSTEM_PROTECTED},
        {L"edit_number", ROLE_SYSTEM_TEXT, L"", L"42", 0},
        {L"date", ROLE_SYSTEM_TEXT, L"", date, STATE_SYSTEM_FOCUSABLE},
        {L"slider", ROLE_SYSTEM_SLIDER, L"", L"30", 0},
        {L"progress", ROLE_SYSTEM_PROGRESSBAR, L"", L"65%", 0},
        {L"hbar", ROLE_SYSTEM_SCROLLBAR, L"", L"40", 0},
        // A plain control without a name in a container without one: both
        // are skipped, so the page holds the point.
        {L"floating", ROLE_SYSTEM_PAGETAB, L"", L"", STATE_SYSTEM_SELECTED},
        {L"status_text", ROLE_SYSTEM_STATICTEXT, L"Ready", L"", 0},
        {L"status_progress", ROLE_SYSTEM_PROGRESSBAR, L"", L"40%", 0},
    };
    for (const Expected& want : expected)
    {
        const std::string label(want.control, want.control + wcslen(want.control));
        AccessiblePtr element = HitElement(client.get(), CentreOf(skin, want.control));
        ASSERT_NE(nullptr, element) << label;
        const ElementFacts facts = ReadElement(element.get());
        EXPECT_EQ(want.role, facts.role) << label;
        EXPECT_EQ(want.name, facts.name) << label;
        EXPECT_EQ(want.value, facts.value) << label;
        EXPECT_EQ(want.state, facts.state & want.state) << label;
        // The element's place is the control's, on the screen.
        if (want.role != ROLE_SYSTEM_PAGETAB)
        {
            RECT place = skin.PlaceOf(want.control);
            MapWindowPoints(skin.Window(), HWND_DESKTOP, reinterpret_cast<POINT*>(&place), 2);
            EXPECT_TRUE(EqualRect(&place, &facts.screen)) << label;
        }
    }

    // A password is never told: no value, and its text nowhere in the tree.
    AccessiblePtr password = HitElement(client.get(), CentreOf(skin, L"edit_password"));
    ASSERT_NE(nullptr, password);
    EXPECT_EQ(E_ACCESSDENIED, ReadElement(password.get()).valueResult);
    const std::wstring tree = TreeText(client.get());
    EXPECT_EQ(std::wstring::npos, tree.find(L"secret")) << std::string(tree.begin(), tree.end());
    EXPECT_NE(std::wstring::npos, tree.find(L"plain text"));

    // The text's link is its child, named by what it shows.
    AccessiblePtr text = HitElement(client.get(), CentreOf(skin, L"text"));
    ASSERT_NE(nullptr, text);
    std::vector<AccessiblePtr> links = ChildElements(text.get());
    ASSERT_EQ(1u, links.size());
    const ElementFacts link = ReadElement(links[0].get());
    EXPECT_EQ(ROLE_SYSTEM_LINK, link.role);
    EXPECT_EQ(L"link of its own", link.name);
    EXPECT_EQ(L"Jump", link.action);

    // From a button up: its page (a tab of the tab layout), the tab list,
    // the client area.
    AccessiblePtr ok = HitElement(client.get(), CentreOf(skin, L"ok"));
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(L"Press", ReadElement(ok.get()).action);
    AccessiblePtr page = ParentOf(ok.get());
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(ROLE_SYSTEM_PAGETAB, ReadElement(page.get()).role);
    AccessiblePtr tabs = ParentOf(page.get());
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ(ROLE_SYSTEM_PAGETABLIST, ReadElement(tabs.get()).role);
    EXPECT_EQ(3u, ChildElements(tabs.get()).size()) << "one tab per page";
    AccessiblePtr top = ParentOf(tabs.get());
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(ROLE_SYSTEM_CLIENT, ReadElement(top.get()).role);
}

TEST(SkinAccess, DefaultActionsRunAsClicksAndChangesAreAnnounced)
{
    CComApartment com;
    CSkinWindow skin(L"gallery.xml");
    ASSERT_TRUE(skin.Built());
    AccessiblePtr client = ClientElement(skin.Window());
    ASSERT_NE(nullptr, client);
    CNotifyRecorder recorder;
    ASSERT_TRUE(skin.Manager().AddListener(&recorder));
    s_heard.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, &HearEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(nullptr, hook);

    // The lone check box toggles and tells its listeners, as a click would;
    // the action waits for the window's own turn.
    AccessiblePtr check = HitElement(client.get(), CentreOf(skin, L"check_b"));
    ASSERT_NE(nullptr, check);
    EXPECT_EQ(S_OK, check->accDoDefaultAction(SelfChild()));
    EXPECT_TRUE(recorder.OfType(L"click").empty()) << "the action ran inside the reader's call";
    ASSERT_TRUE(PumpUntil([&] { return !recorder.OfType(L"selectchanged").empty(); }, 5000));
    EXPECT_EQ(1u, recorder.OfType(L"click").size());
    EXPECT_NE(0, ReadElement(check.get()).state & STATE_SYSTEM_CHECKED);
    EXPECT_EQ(skin.Find(L"check_b"), skin.Manager().GetFocus()) << "a click focuses what it presses";
    // A reader asking where the keyboard is finds it; it may read the
    // check box's Alt shortcut but never set its value.
    SetFocus(skin.Window());
    AccessiblePtr focused = FocusedElement(client.get());
    ASSERT_NE(nullptr, focused);
    EXPECT_EQ(L"Log", ReadElement(focused.get()).name);
    skin.Find(L"check_b")->ApplyAttribute(L"shortcut", L"l");
    BSTR text = nullptr;
    EXPECT_EQ(S_OK, check->get_accKeyboardShortcut(SelfChild(), &text));
    EXPECT_EQ(std::wstring(L"Alt+L"), text != nullptr ? text : L"");
    SysFreeString(text);
    text = SysAllocString(L"changed");
    EXPECT_TRUE(FAILED(check->put_accValue(SelfChild(), text)));
    SysFreeString(text);

    // The tiles page's tab selects its page.
    AccessiblePtr page = ParentOf(check.get());
    ASSERT_NE(nullptr, page);
    AccessiblePtr tabs = ParentOf(page.get());
    ASSERT_NE(nullptr, tabs);
    std::vector<AccessiblePtr> pages = ChildElements(tabs.get());
    ASSERT_EQ(3u, pages.size());
    EXPECT_EQ(S_OK, pages[1]->accDoDefaultAction(SelfChild()));
    auto* tabLayout = static_cast<CTabLayoutUI*>(skin.Find(L"pages")->CastTo(L"TabLayout"));
    ASSERT_TRUE(PumpUntil([&] { return tabLayout->GetCurrentSel() == 1; }, 5000));
    skin.Shoot(L"gallery_access_tiles");
    AccessiblePtr tile = HitElement(client.get(), CentreOf(skin, L"tile1"));
    ASSERT_NE(nullptr, tile);
    EXPECT_EQ(L"Tile 1", ReadElement(tile.get()).name);
    EXPECT_NE(0, ReadElement(pages[1].get()).state & STATE_SYSTEM_SELECTED);
    EXPECT_NE(0, ReadElement(pages[0].get()).state & STATE_SYSTEM_INVISIBLE);

    // Changes are announced with ids that lead readers to the element.
    auto* progress = static_cast<CProgressUI*>(skin.Find(L"status_progress")->CastTo(L"Progress"));
    ASSERT_NE(nullptr, progress);
    progress->SetValue(75);
    skin.Find(L"status_text")->SetText(L"Busy");
    PumpMessages();
    UnhookWinEvent(hook);
    const auto heard = [](DWORD event, const wchar_t* name, const wchar_t* value) {
        for (const HeardEvent& one : s_heard)
        {
            if (one.event == event && one.name == name && one.value == value)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(heard(EVENT_OBJECT_STATECHANGE, L"Log", L""));
    EXPECT_TRUE(heard(EVENT_OBJECT_FOCUS, L"Log", L""));
    EXPECT_TRUE(heard(EVENT_OBJECT_VALUECHANGE, L"", L"75%"));
    EXPECT_TRUE(heard(EVENT_OBJECT_NAMECHANGE, L"Busy", L""));
    EXPECT_TRUE(heard(EVENT_OBJECT_SHOW, L"Tile 1", L"")) << "the new page's elements";

    skin.Manager().RemoveListener(&recorder);
}

TEST(SkinAccess, ElementsOfADeletedControlOrAClosedWindowAnswerErrors)
{
    CComApartment com;
    AccessiblePtr client;
    AccessiblePtr ok;
    {
        CSkinWindow skin(L"gallery.xml");
        ASSERT_TRUE(skin.Built());
        client = ClientElement(skin.Window());
        ASSERT_NE(nullptr, client);
        ok = HitElement(client.get(), CentreOf(skin, L"ok"));
        ASSERT_NE(nullptr, ok);
        ASSERT_EQ(L"OK", ReadElement(ok.get()).name);
        auto* buttons = static_cast<IContainerUI*>(skin.Find(L"buttons")->CastTo(L"IContainer"));
        ASSERT_TRUE(buttons->Remove(skin.Find(L"ok"), ChildDisposal::Destroy));
        BSTR name = nullptr;
        EXPECT_EQ(CO_E_OBJNOTCONNECTED, ok->get_accName(SelfChild(), &name));
        EXPECT_EQ(nullptr, name);
        EXPECT_EQ(CO_E_OBJNOTCONNECTED, ok->accDoDefaultAction(SelfChild()));
        EXPECT_EQ(std::wstring::npos, TreeText(client.get()).find(L"OK"));
    }
    long count = 0;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, client->get_accChildCount(&count));
    VARIANT hit;
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, client->accHitTest(0, 0, &hit));
}

}  // namespace test
}  // namespace DuiLib
