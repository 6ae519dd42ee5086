// The edit field in a real window: the native edit it opens over its text
// area, driven by real key and character messages to that window; password,
// number-only and length limits; clipping by a scrolled container; the skin
// showing through a translucent native background; and the native window
// outliving its field.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/controls/ControlsTestSupport.h"
#include "ui/control/VerticalLayoutUI.h"
#include "ui/controls/EditUI.h"

namespace DuiLib {
namespace test {
namespace {

class EditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = MakeHost(400, 200);
        ASSERT_NE(nullptr, host);
        root = new CContainerUI();
        root->ApplyAttributeText(L"bkcolor=\"#FF00C000\"");
        ASSERT_TRUE(host->manager.AttachRootControl(root));
        ASSERT_TRUE(host->manager.AddListener(&recorder));
    }
    void TearDown() override
    {
        if (host != nullptr)
            host->manager.RemoveListener(&recorder);
    }

    // A field at pos ("l,t,r,b") with attributes, laid out and painted.
    CEditUI* AddEdit(const wchar_t* pos, const wchar_t* attributes)
    {
        CEditUI* edit = AddFloating(*root, new CEditUI(), pos, attributes);
        CaptureWindow(host->GetHWND());
        return edit;
    }
    // Focuses edit and answers its native window, which must have the focus.
    HWND StartEditing(CEditUI* edit)
    {
        edit->SetFocus();
        PumpMessages();
        HWND native = edit->HostedWindowHandle();
        EXPECT_NE(nullptr, native);
        EXPECT_EQ(native, ::GetFocus());
        return native;
    }
    static void Type(HWND native, const wchar_t* text)
    {
        for (const wchar_t* ch = text; *ch != L'\0'; ++ch)
            PostMessageW(native, WM_CHAR, *ch, 1);
        PumpMessages();
    }
    size_t Count(const wchar_t* type) const { return recorder.OfType(type).size(); }

    std::unique_ptr<CHostWindow> host;
    CContainerUI* root = nullptr;
    CNotifyRecorder recorder;
};

TEST_F(EditTest, TypingSendsOneTextChangedPerCharacterAndEnterSendsReturn)
{
    CEditUI* edit = AddEdit(L"20,20,220,50", L"text=\"go\"");
    HWND native = StartEditing(edit);
    ASSERT_NE(nullptr, native);
    // Exactly over the text area: the item narrowed by the padding 4,3,4,3.
    ExpectRect(RECT{24, 23, 216, 47}, host->manager.HostedWindowRect(native), "native edit");
    EXPECT_EQ(0, ::SendMessageW(native, EM_GETMODIFY, 0, 0));

    Type(native, L"abc");
    EXPECT_EQ(std::wstring(L"goabc"), edit->GetText().GetData());
    ASSERT_EQ(3u, Count(L"textchanged"));
    EXPECT_EQ(edit, recorder.OfType(L"textchanged")[0].sender);

    PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_EQ(1u, Count(L"return"));
    EXPECT_EQ(std::wstring(L"goabc"), edit->GetText().GetData());
    EXPECT_EQ(3u, Count(L"textchanged"));

    // Losing the focus closes the native window and leaves the text.
    edit->GetManager()->SetFocus(nullptr, true);
    PumpMessages();
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(nullptr, edit->HostedWindowHandle());
    EXPECT_EQ(std::wstring(L"goabc"), edit->GetText().GetData());

    // Editing starts with the caret at the end, or with "autoselall" the
    // whole text selected.
    DWORD start = 0, end = 0;
    ::SendMessageW(StartEditing(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(5u, start);
    EXPECT_EQ(5u, end);
    edit->GetManager()->SetFocus(nullptr, true);
    edit->ApplyAttribute(L"autoselall", L"true");
    ::SendMessageW(StartEditing(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(5u, end);
}

TEST_F(EditTest, PasswordAndNumberOnlyShapeTheNativeWindow)
{
    CEditUI* secret = AddEdit(L"20,20,220,50", L"password=\"true\" text=\"abc\"");
    EXPECT_EQ(std::wstring(L"***"), secret->ShownText().GetData());
    HWND native = StartEditing(secret);
    ASSERT_NE(nullptr, native);
    EXPECT_NE(0, GetWindowLongW(native, GWL_STYLE) & ES_PASSWORD);
    EXPECT_EQ(L'*', static_cast<wchar_t>(::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0)));

    CEditUI* number = AddEdit(L"20,60,220,90", L"numberonly=\"true\"");
    native = StartEditing(number);
    ASSERT_NE(nullptr, native);
    Type(native, L"4x2");
    EXPECT_EQ(std::wstring(L"42"), number->GetText().GetData());
    // Switched off while editing: only the next native window takes letters.
    number->SetNumberOnly(false);
    Type(native, L"y");
    EXPECT_EQ(std::wstring(L"42"), number->GetText().GetData());
    secret->SetFocus();
    PumpMessages();
    native = StartEditing(number);
    ASSERT_NE(nullptr, native);
    Type(native, L"y");
    EXPECT_EQ(std::wstring(L"42y"), number->GetText().GetData());
}

TEST_F(EditTest, MaxCharLimitsTypingAndTheCopiedBackText)
{
    CEditUI* edit = AddEdit(L"20,20,220,50", L"maxchar=\"5\"");
    HWND native = StartEditing(edit);
    ASSERT_NE(nullptr, native);
    Type(native, L"1234567");
    EXPECT_EQ(std::wstring(L"12345"), edit->GetText().GetData());
    // A text set from code passes the native limit; the field keeps its own.
    edit->SetText(L"abcdefgh");
    PumpMessages();
    EXPECT_EQ(std::wstring(L"abcde"), edit->GetText().GetData());

    // A long text comes back whole, not cut at some buffer size.
    edit->SetMaxChar(3000);
    const std::wstring longText(1500, L'a');
    edit->SetText(longText.c_str());
    ::SendMessageW(native, EM_SETSEL, 1500, 1500);
    Type(native, L"b");
    EXPECT_EQ(longText + L"b", edit->GetText().GetData());
}

TEST_F(EditTest, FieldScrolledOutOfItsContainerHidesTheNativeWindow)
{
    auto* list = AddFloating(*root, new CVerticalLayoutUI(), L"10,10,210,70", L"vscrollbar=\"true\"");
    list->Add(Fixed(0, 20));
    auto* edit = new CEditUI();
    edit->SetFixedHeight(30);
    list->Add(edit);
    list->Add(Fixed(0, 300));
    CaptureWindow(host->GetHWND());
    HWND native = StartEditing(edit);
    ASSERT_NE(nullptr, native);
    ASSERT_TRUE(IsWindowVisible(native));

    list->SetScrollOffset(SIZE{0, 120}, false);
    CaptureWindow(host->GetHWND());
    ASSERT_EQ(120, list->ScrollOffset().cy);
    EXPECT_FALSE(IsWindow(native) && IsWindowVisible(native));
}

TEST_F(EditTest, TranslucentNativeBackgroundShowsTheSkinThrough)
{
    CEditUI* tinted = AddEdit(L"20,20,220,50", L"nativebkcolor=\"#80FF0000\"");
    CEditUI* solid = AddEdit(L"20,60,220,90", L"nativebkcolor=\"#FF0000FF\"");
    struct Expectation
    {
        CEditUI* edit;
        DWORD rgb;
    };
    // Red at alpha 0x80 over the green skin: red 0x80, green 0xC0 x 0x7F / 0xFF.
    for (const Expectation& expected : {Expectation{tinted, 0x00805F00}, Expectation{solid, 0x000000FF}})
    {
        HWND native = StartEditing(expected.edit);
        ASSERT_NE(nullptr, native);
        RedrawWindow(native, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        PumpMessages();
        CSurface surface(100, 10, 0);
        CaptureClient(native, surface, 100, 10);
        EXPECT_TRUE(NearRgb(expected.rgb & 0x00FFFFFF, surface.Rgb(90, 5), 12))
            << std::hex << surface.Rgb(90, 5);
    }
}

TEST_F(EditTest, LayeredWindowPrintsTheNativeEditWithABlinkingCaret)
{
    root->ApplyAttributeText(L"bkcolor=\"#FF00C000\"");
    host->manager.SetLayered(true);
    ASSERT_TRUE(host->manager.IsLayered());
    CEditUI* edit = AddEdit(L"20,20,220,50", L"");
    HWND native = StartEditing(edit);
    ASSERT_NE(nullptr, native);
    Type(native, L"ab");
    EXPECT_EQ(std::wstring(L"ab"), edit->GetText().GetData());
    EXPECT_EQ(2u, Count(L"textchanged"));

    // The picture holds the printed edit (white, not the green skin) and, at
    // the caret, a black line that comes and goes with the caret timer.
    POINT caret = {};
    ASSERT_TRUE(GetCaretPos(&caret));
    const RECT place = host->manager.HostedWindowRect(native);
    const int x = place.left + caret.x;
    const int y = place.top + (place.bottom - place.top) / 2;
    const auto pixel = [&](int px) {
        host->manager.Invalidate();
        PumpUntil([] { return false; }, 20);
        return GetPixel(host->manager.GetOffscreenDC(), px, y) & 0xFFFFFF;
    };
    ASSERT_NE(nullptr, host->manager.GetOffscreenDC());
    EXPECT_TRUE(NearRgb(0xFFFFFF, pixel(place.right - 3), 8));
    EXPECT_TRUE(PumpUntil([&] { return NearRgb(0x000000, pixel(x), 8); }, 3000));
    EXPECT_TRUE(PumpUntil([&] { return NearRgb(0xFFFFFF, pixel(x), 8); }, 3000));
}

TEST_F(EditTest, NativeWindowOfADeletedFieldNeverReachesIt)
{
    CEditUI* edit = AddEdit(L"20,20,220,50", L"");
    HWND native = StartEditing(edit);
    ASSERT_NE(nullptr, native);
    ASSERT_TRUE(root->Remove(edit, ChildDisposal::Destroy));
    // Messages still on their way to the native window find no field.
    PostMessageW(native, WM_CHAR, L'x', 1);
    PostMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
    PumpMessages();
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(0u, Count(L"textchanged"));
    EXPECT_EQ(0u, Count(L"return"));

    // The whole window and its manager going away while editing.
    CEditUI* second = AddEdit(L"20,60,220,90", L"");
    native = StartEditing(second);
    ASSERT_NE(nullptr, native);
    host->manager.RemoveListener(&recorder);
    host.reset();
    PumpMessages();
    EXPECT_FALSE(IsWindow(native));
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
