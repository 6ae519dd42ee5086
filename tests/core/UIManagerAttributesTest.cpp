// The manager's window attributes on real windows: the "Window" attribute
// table with its case rules and value syntax, constant-alpha opacity read
// back from the platform, per-pixel layered mode driven by its frame clock,
// and the drop shadow ring read from the picture handed to
// UpdateLayeredWindow (also saved as layered_shadow.png beside the program).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/core/PicturePixels.h"
#include "tests/core/TreeProbe.h"

using namespace DuiLib;
using DuiLib::test::AlphaAt;
using DuiLib::test::BesideProgram;
using DuiLib::test::CManagerHost;
using DuiLib::test::CTreeProbe;
using DuiLib::test::PumpMessages;
using DuiLib::test::PumpUntil;
using DuiLib::test::SavePng;
using DuiLib::test::Trail;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;

SIZE WindowSize(HWND window)
{
    RECT frame = {};
    GetWindowRect(window, &frame);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

// A visible popup of kWidth x kHeight whose manager has no root yet.
class WindowAttributesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        host = std::make_unique<CManagerHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"attributes", WS_POPUP, 0, 40, 40, kWidth, kHeight));
        window = host->GetHWND();
        ShowWindow(window, SW_SHOWNA);
        PumpMessages();
    }

    void TearDown() override
    {
        host.reset();
        PumpMessages();
        CTreeProbe::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }

    // Gives the manager a root that fills its place with colour; returns it.
    CTreeProbe* AttachRoot(DWORD color)
    {
        CTreeProbe* root = new CTreeProbe(&trail, L"root", RECT{0, 0, 0, 0}, color);
        EXPECT_TRUE(Manager().AttachRootControl(root));
        return root;
    }

    // Shows the window in layered mode with a shadow of 10 and the focus
    // scale given, over an opaque root; the picture handed to
    // UpdateLayeredWindow, or null when it never came.
    HBITMAP PresentShadow(float focusScale)
    {
        CTreeProbe* root = AttachRoot(0x204060);
        Manager().SetShadowSize(10);
        Manager().SetShadowFocusScales(focusScale);
        Manager().SetWindowAttribute(L"layeredimage", L"color='#FFE0E0E0'");
        if (!Manager().IsLayered())
            return nullptr;
        PumpUntil([&] { return !root->paintRects.empty() && Manager().GetOffscreenBitmap() != nullptr; }, 2000);
        // A few more frames: the first paint lays out and sends "windowinit".
        PumpUntil([] { return false; }, 100);
        return SameRect(root->GetPos(), RECT{10, 10, kWidth - 10, kHeight - 10}) ? Manager().GetOffscreenBitmap()
                                                                                 : nullptr;
    }

    std::unique_ptr<CManagerHost> host;
    HWND window = nullptr;
    Trail trail;
};

}  // namespace

TEST_F(WindowAttributesTest, EachAttributeStoresItsSettingAndNamesIgnoreCaseExceptThree)
{
    CUIManager& m = Manager();
    m.SetWindowAttribute(L"SIZE", L"320,240");
    EXPECT_EQ(320, WindowSize(window).cx);
    EXPECT_EQ(240, WindowSize(window).cy);
    // One separator character of any kind between numbers.
    m.SetWindowAttribute(L"mininfo", L"300 200");
    m.SetWindowAttribute(L"maxinfo", L"800;600");
    m.SetWindowAttribute(L"RoundCorner", L"6,8");
    m.SetWindowAttribute(L"showdirty", L"TRUE");
    m.SetWindowAttribute(L"noactivate", L"True");
    m.SetWindowAttribute(L"shadowcolor", L"#80102030");
    m.SetWindowAttribute(L"shadowfocusscales", L"0.25");
    m.SetWindowAttribute(L"defaultfontcolor", L"#FF336699");
    m.SetWindowAttribute(L"selectedcolor", L"FF0000");
    EXPECT_EQ(200, m.GetMinInfo().cy);
    EXPECT_EQ(600, m.GetMaxInfo().cy);
    EXPECT_EQ(8, m.GetRoundCorner().cy);
    EXPECT_TRUE(m.IsShowDirty());
    EXPECT_TRUE(m.IsNoActivate());
    EXPECT_EQ(0x80102030u, m.GetShadowColor());
    EXPECT_FLOAT_EQ(0.25f, m.GetShadowFocusScales());
    EXPECT_EQ(0x00FF0000u, m.GetSelectedColor()) << "six digits leave alpha 0";
    EXPECT_EQ(0xFF336699u, m.GetDefaultFontColor());
    EXPECT_NE(0xFF336699u, CUIManager().GetDefaultFontColor()) << "the shared colour stays";
    MINMAXINFO info = {};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(300, info.ptMinTrackSize.x);

    // Three names match only as written; otherwise, as unknown names, they
    // become custom attributes, whose first value stays.
    m.SetWindowAttribute(L"showdirty", L"yes");
    m.SetWindowAttribute(L"NoActivate", L"false");
    m.SetWindowAttribute(L"LayeredImage", L"color='#FF000000'");
    m.SetWindowAttribute(L"layeredOpacity", L"12");
    m.SetWindowAttribute(L"skinversion", L"3");
    m.SetWindowAttribute(L"skinversion", L"4");
    EXPECT_FALSE(m.IsShowDirty());
    EXPECT_TRUE(m.IsNoActivate());
    EXPECT_FALSE(m.IsLayered());
    EXPECT_EQ(255, m.GetOpacity());
    EXPECT_STREQ(L"false", m.GetWindowCustomAttribute(L"NoActivate"));
    EXPECT_STREQ(L"12", m.GetWindowCustomAttribute(L"layeredOpacity"));
    EXPECT_STREQ(L"3", m.GetWindowCustomAttribute(L"skinversion"));

    // Values beyond reason are held, empty ones read as 0.
    m.SetWindowAttribute(L"mininfo", L"99999999999,");
    EXPECT_EQ(1 << 24, m.GetMinInfo().cx);
    EXPECT_EQ(0, m.GetMinInfo().cy);
    m.SetWindowAttribute(L"shadowsize", L"-40");
    EXPECT_EQ(0, m.GetShadowSize());
    m.SetWindowAttribute(nullptr, nullptr);
    m.SetWindowAttribute(L"opacity", L"300");
    EXPECT_EQ(255, m.GetOpacity()) << "not 300 cut to a byte (44)";
}

TEST_F(WindowAttributesTest, CaptionHeightIsFixedAtTheFirstQueryAndSizeWaitsNotForARoot)
{
    Manager().SetWindowAttribute(L"caption", L"0,0,0,-1");
    EXPECT_TRUE(SameRect(Manager().GetCaptionRect(), RECT{0, 0, 0, kHeight}));
    SetWindowPos(window, nullptr, 0, 0, kWidth, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(kHeight, Manager().GetCaptionRect().bottom);

    AttachRoot(0);
    Manager().SetWindowAttribute(L"size", L"400,300");
    EXPECT_EQ(400, Manager().GetInitSize().cx);
    EXPECT_EQ(kWidth, WindowSize(window).cx) << "a tree is attached: the size is only stored";
}

TEST_F(WindowAttributesTest, ShadowSettingsRepaintOnlyWhenTheyChange)
{
    RECT update = {};
    ASSERT_FALSE(GetUpdateRect(window, &update, FALSE));
    Manager().SetShadowSize(0);
    Manager().SetShadowColor(0xFF000000);
    Manager().SetShadowFocusScales(-1.0f);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE)) << "every value was the current one";
    Manager().SetWindowAttribute(L"shadowsize", L"10");
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
}

// ---- Constant alpha ---------------------------------------------------------

TEST_F(WindowAttributesTest, OpacityMakesTheWindowUniformlyTranslucentAndEndsPerPixelMode)
{
    AttachRoot(0x204060);
    Manager().SetWindowAttribute(L"layeredimage", L"color='#FF808080'");
    ASSERT_TRUE(Manager().IsLayered());
    PumpUntil([&] { return Manager().GetOffscreenBitmap() != nullptr; }, 1000);

    Manager().SetWindowAttribute(L"opacity", L"200");
    EXPECT_FALSE(Manager().IsLayered());
    EXPECT_NE(0, GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(200, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags & LWA_ALPHA);
    EXPECT_FALSE(KillTimer(window, 0x2000)) << "the frame clock stops with per-pixel mode";
}

// ---- Per-pixel layered mode -------------------------------------------------

// Shadow size 0: the root fills the window and the picture has no ring.
TEST_F(WindowAttributesTest, LayeredModeIsDrivenByItsFrameClockWithoutWmPaint)
{
    CTreeProbe* root = AttachRoot(0x204060);
    Manager().SetLayered(true);
    ASSERT_TRUE(Manager().IsLayered());
    EXPECT_NE(0, GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    ASSERT_TRUE(PumpUntil([&] { return !root->paintRects.empty() && Manager().GetOffscreenBitmap(); }, 1000));
    EXPECT_TRUE(SameRect(root->GetPos(), RECT{0, 0, kWidth, kHeight}));
    EXPECT_EQ(255, AlphaAt(Manager().GetOffscreenBitmap(), 0, kHeight / 2));

    root->paintRects.clear();
    Manager().Invalidate(RECT{10, 10, 30, 30});
    EXPECT_TRUE(PumpUntil([&] { return !root->paintRects.empty(); }, 1000)) << "the 10 ms tick paints";
    EXPECT_TRUE(SameRect(root->paintRects.front(), RECT{10, 10, 30, 30}));

    Manager().SetLayered(false);
    EXPECT_EQ(0, GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(KillTimer(window, 0x2000));

    CManagerHost child;
    ASSERT_NE(nullptr, child.Create(window, L"child", WS_CHILD, 0, 0, 0, 50, 50));
    child.manager.SetLayered(true);
    EXPECT_FALSE(child.manager.IsLayered()) << "child windows are never layered";
}

// ---- Drop shadow ------------------------------------------------------------

// Shadow size 10 on a 200 x 150 window with the default focus scale: the
// ring fades from the content's edge to nothing at the window's edge.
TEST_F(WindowAttributesTest, ShadowRingFadesOutwardToTransparentAtTheWindowEdge)
{
    HBITMAP picture = PresentShadow(-1.0f);
    ASSERT_NE(nullptr, picture);
    EXPECT_TRUE(SavePng(picture, BesideProgram(L"layered_shadow.png")));

    const int middleRow = kHeight / 2;
    const int middleColumn = kWidth / 2;
    EXPECT_EQ(0, AlphaAt(picture, 0, middleRow));
    EXPECT_EQ(0, AlphaAt(picture, middleColumn, 0));
    EXPECT_EQ(0, AlphaAt(picture, 0, 0)) << "outside the rounded corner";
    for (int x = 1; x < 10; ++x)
    {
        EXPECT_LE(AlphaAt(picture, x - 1, middleRow), AlphaAt(picture, x, middleRow)) << "column " << x;
        EXPECT_LE(AlphaAt(picture, kWidth - x, middleRow), AlphaAt(picture, kWidth - 1 - x, middleRow))
            << "column " << kWidth - 1 - x;
        EXPECT_LE(AlphaAt(picture, middleColumn, x - 1), AlphaAt(picture, middleColumn, x)) << "row " << x;
    }
    EXPECT_LT(AlphaAt(picture, 1, middleRow), AlphaAt(picture, 9, middleRow));
    EXPECT_EQ(255, AlphaAt(picture, 10, middleRow)) << "the content is opaque";
    EXPECT_EQ(255, AlphaAt(picture, middleColumn, middleRow));
}

// Focus scale 0: the colour fades along every ray from the path's centre
// (100, 75) to the edge, so on the middle row alpha is 255 x x / 100 at
// column x and on the middle column 255 x y / 75 at row y.
TEST_F(WindowAttributesTest, ShadowWithFocusScaleZeroFadesLinearlyTowardsTheCentre)
{
    HBITMAP picture = PresentShadow(0.0f);
    ASSERT_NE(nullptr, picture);
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_NEAR(255 * i / 100, AlphaAt(picture, i, kHeight / 2), 3) << "column " << i;
        // The outline runs along x = 200, one pixel right of column 199.
        EXPECT_NEAR(255 * (i + 1) / 100, AlphaAt(picture, kWidth - 1 - i, kHeight / 2), 3)
            << "column " << kWidth - 1 - i;
        EXPECT_NEAR(255 * i / 75, AlphaAt(picture, kWidth / 2, i), 3) << "row " << i;
    }
}
