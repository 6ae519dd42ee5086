// Buttons, options, check boxes and text links driven by real mouse and key
// messages posted to their window: the notifications they send and the
// states they keep.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/controls/ControlsTestSupport.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/TextUI.h"

namespace DuiLib {
namespace test {
namespace {

class ControlsInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = MakeHost(400, 200);
        ASSERT_NE(nullptr, host);
        host->manager.AddFont(0, L"Tahoma", 16, UIFONT_PLAIN, ResourceScope::Own);
        root = new CContainerUI();
        root->ApplyAttributeText(L"bkcolor=\"#FFF0F0F0\"");
        ASSERT_TRUE(host->manager.AttachRootControl(root));
        ASSERT_TRUE(host->manager.AddListener(&recorder));
    }
    void TearDown() override
    {
        if (host != nullptr)
        {
            const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
            const std::string name = std::string(info->test_suite_name()) + "." + info->name();
            SaveShot(CaptureWindow(Window()), std::wstring(name.begin(), name.end()).c_str());
            host->manager.RemoveListener(&recorder);
        }
    }

    HWND Window() const { return host->GetHWND(); }
    // Lays the tree out and paints it, as the first WM_PAINT does.
    void Show()
    {
        CaptureWindow(Window());
        recorder.received.clear();
    }
    void Click(int x, int y)
    {
        PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PostMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        PumpMessages();
    }
    template <class Control>
    Control* Add(Control* control, const wchar_t* pos, const wchar_t* attributes)
    {
        return AddFloating(*root, control, pos, attributes);
    }

    std::unique_ptr<CHostWindow> host;
    CContainerUI* root = nullptr;
    CNotifyRecorder recorder;
};

TEST_F(ControlsInputTest, RealClickSendsExactlyOneClick)
{
    CButtonUI* button = Add(new CButtonUI(), L"10,10,110,40", L"name=\"go\" text=\"Go\" font=\"0\"");
    Show();
    Click(60, 25);
    const std::vector<RecordedNotify> clicks = recorder.OfType(L"click");
    ASSERT_EQ(1u, clicks.size());
    EXPECT_EQ(button, clicks[0].sender);
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));
}

TEST_F(ControlsInputTest, ReleaseOutsideDoesNotClickButMovingBackInDoes)
{
    CButtonUI* button = Add(new CButtonUI(), L"10,10,110,40", L"text=\"Go\"");
    Show();
    PostMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 25));
    PostMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 150));
    PumpMessages();
    EXPECT_EQ(0u, button->GetButtonState() & UISTATE_PUSHED);
    EXPECT_NE(0u, button->GetButtonState() & UISTATE_CAPTURED);
    PostMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    PumpMessages();
    EXPECT_TRUE(recorder.OfType(L"click").empty());
    EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED));

    PostMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 25));
    PostMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 150));
    PostMessageW(Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 30));
    PostMessageW(Window(), WM_LBUTTONUP, 0, MAKELPARAM(70, 30));
    PumpMessages();
    EXPECT_EQ(1u, recorder.OfType(L"click").size());
}

TEST_F(ControlsInputTest, SpaceOnTheFocusedButtonClicks)
{
    CButtonUI* button = Add(new CButtonUI(), L"10,10,110,40", L"text=\"Go\"");
    Show();
    button->SetFocus();
    PostMessageW(Window(), WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(Window(), WM_KEYUP, VK_SPACE, 0);
    PumpMessages();
    EXPECT_EQ(1u, recorder.OfType(L"click").size());
}

TEST_F(ControlsInputTest, OptionsOfOneGroupStayMutuallyExclusive)
{
    COptionUI* options[3];
    for (int i = 0; i < 3; ++i)
    {
        const std::wstring pos = std::to_wstring(10 + i * 110) + L",10," + std::to_wstring(110 + i * 110) + L",40";
        options[i] = Add(new COptionUI(), pos.c_str(), L"group=\"size\" text=\"Opt\" selectedbkcolor=\"#FF2080FF\"");
    }
    options[0]->Select(true, false);
    Show();
    Click(170, 25);  // the second
    EXPECT_FALSE(options[0]->IsSelected());
    EXPECT_TRUE(options[1]->IsSelected());
    EXPECT_FALSE(options[2]->IsSelected());
    std::vector<RecordedNotify> changes = recorder.OfType(L"selectchanged");
    ASSERT_EQ(1u, changes.size());
    EXPECT_EQ(options[1], changes[0].sender);
    ASSERT_EQ(1u, recorder.OfType(L"click").size());

    // Clicking the selected one again keeps it and sends no selectchanged.
    recorder.received.clear();
    Click(170, 25);
    EXPECT_TRUE(options[1]->IsSelected());
    EXPECT_TRUE(recorder.OfType(L"selectchanged").empty());
    EXPECT_EQ(1u, recorder.OfType(L"click").size());

    Click(280, 25);
    EXPECT_FALSE(options[1]->IsSelected());
    EXPECT_TRUE(options[2]->IsSelected());
    const WindowShot shot = CaptureWindow(Window());
    EXPECT_EQ(0x2080FFu, shot.Rgb(232, 12));
    EXPECT_NE(0x2080FFu, shot.Rgb(122, 12));
}

TEST_F(ControlsInputTest, CheckBoxTogglesOnEveryClick)
{
    CCheckBoxUI* box = Add(new CCheckBoxUI(), L"10,10,110,40", L"text=\"Check\"");
    Show();
    Click(60, 25);
    EXPECT_TRUE(box->IsChecked());
    Click(60, 25);
    EXPECT_FALSE(box->IsChecked());
    EXPECT_EQ(2u, recorder.OfType(L"selectchanged").size());
    EXPECT_EQ(2u, recorder.OfType(L"click").size());
    EXPECT_NE(nullptr, box->CastTo(L"Option"));
    EXPECT_NE(nullptr, box->CastTo(L"Label"));
    EXPECT_EQ(nullptr, box->CastTo(L"Progress"));
}

TEST_F(ControlsInputTest, ClickOnMarkupLinkReportsLinkWithItsTarget)
{
    CTextUI* text = Add(new CTextUI(), L"10,10,390,60",
                        L"font=\"0\" showhtml=\"true\" text=\"see <a help>help</a> or <a>nothing</a>\"");
    Show();
    ASSERT_EQ(2, text->GetLinkCount());
    EXPECT_EQ(std::wstring(L"help"), text->GetLinkName(0));
    EXPECT_EQ(std::wstring(L""), text->GetLinkName(1));
    const RECT link = text->GetLinkRect(0);
    const int width = TextWidth(host->manager, 0, L"see ");
    EXPECT_EQ(10 + 2 + width, link.left);  // text padding 2
    Click((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    std::vector<RecordedNotify> links = recorder.OfType(L"link");
    ASSERT_EQ(1u, links.size());
    EXPECT_EQ(0u, links[0].wParam);
    EXPECT_EQ(text, links[0].sender);
    // Outside every link nothing is reported.
    Click(380, 50);
    EXPECT_EQ(1u, recorder.OfType(L"link").size());

    // Under the mouse the link takes the hover colour at the next paint.
    host->manager.SetLinkHoverFontColor(0xFFFF0000, ResourceScope::Own);
    const RECT area = {link.left, link.top, link.right, link.bottom};
    EXPECT_FALSE(CaptureWindow(Window()).HasColor(area, 0xFF0000, 40));
    PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(link.left + 2, link.top + 2));
    PumpMessages();
    EXPECT_TRUE(CaptureWindow(Window()).HasColor(area, 0xFF0000, 40));
}

TEST_F(ControlsInputTest, EnterAndLeaveAreNotifiedAndCursorNamesFallBackToTheHand)
{
    CButtonUI* button = Add(new CButtonUI(), L"10,10,110,40", L"cursor=\"ibeam\" hotbkcolor=\"#FF20A040\"");
    CButtonUI* deaf = Add(new CButtonUI(), L"120,10,220,40", L"mouse=\"false\"");
    CButtonUI* withMenu = Add(new CButtonUI(), L"230,10,330,40", L"menu=\"true\"");
    Show();
    PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 25));
    PumpMessages();
    EXPECT_EQ(0x20A040u, CaptureWindow(Window(), Repaint::Invalid).Rgb(60, 25)) << "hot";
    PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 150));
    PumpMessages();
    ASSERT_EQ(1u, recorder.OfType(L"mouseenter").size());
    ASSERT_EQ(1u, recorder.OfType(L"mouseleave").size());
    EXPECT_EQ(0u, button->GetButtonState() & UISTATE_HOT);
    EXPECT_EQ(0xF0F0F0u, CaptureWindow(Window(), Repaint::Invalid).Rgb(60, 25)) << "still drawn hot after the pointer left";

    // A right click asks for a menu only from a button that has one.
    for (POINT at : {POINT{60, 25}, POINT{280, 25}})
    {
        PostMessageW(Window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        PostMessageW(Window(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        ClientToScreen(Window(), &at);
        PostMessageW(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window()), MAKELPARAM(at.x, at.y));
    }
    PumpMessages();
    ASSERT_EQ(1u, recorder.OfType(L"menu").size());
    EXPECT_EQ(withMenu, recorder.OfType(L"menu")[0].sender);

    UIEvent cursor = {};
    cursor.type = UIEVENT_SETCURSOR;
    cursor.sender = button;
    cursor.mousePoint = POINT{60, 25};
    button->Event(cursor);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
    // A new cursor name shows at once while the pointer is over the button.
    POINT over = {60, 25};
    ClientToScreen(Window(), &over);
    ASSERT_TRUE(SetCursorPos(over.x, over.y));
    button->SetCursorName(L"arrow");
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());

    // Mouse input disabled: the press goes to the parent, the button stays
    // unpressed and never clicks.
    Click(170, 25);
    EXPECT_EQ(0u, deaf->GetButtonState() & UISTATE_PUSHED);
    EXPECT_TRUE(recorder.OfType(L"click").empty());
}

TEST_F(ControlsInputTest, FadeTakesFiveTicksAtDeltaFiftyOne)
{
    CButtonUI* button = Add(new CButtonUI(), L"10,10,110,40", L"fadedelta=\"51\"");
    Show();
    PostMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 25));
    PumpMessages();
    ASSERT_NE(0u, button->GetButtonState() & UISTATE_HOT);
    ASSERT_EQ(255, button->GetFadeAlpha());
    // Entering started the fade timer: it cannot be started twice.
    EXPECT_FALSE(host->manager.SetTimer(button, kButtonFadeTimer, 30));
    UIEvent tick = {};
    tick.type = UIEVENT_TIMER;
    tick.sender = button;
    tick.wParam = kButtonFadeTimer;
    const BYTE expected[] = {204, 153, 102, 51, 0};
    for (BYTE alpha : expected)
    {
        button->Event(tick);
        EXPECT_EQ(alpha, button->GetFadeAlpha());
    }
    // The timer stopped on the fifth tick: starting it again succeeds.
    EXPECT_TRUE(host->manager.SetTimer(button, kButtonFadeTimer, 30));
    host->manager.KillTimer(button, kButtonFadeTimer);
    EXPECT_TRUE(recorder.OfType(L"timer").empty());
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
