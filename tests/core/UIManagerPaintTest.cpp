// The manager's painting, through a real window and real WM_PAINT messages:
// the layout pass, "windowinit", the kept off-screen bitmap read back pixel by
// pixel, update areas, the red outline of "showdirty" and WM_PRINTCLIENT.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>

#include "tests/core/TreeProbe.h"

using namespace DuiLib;
using DuiLib::test::CManagerHost;
using DuiLib::test::CNotifyRecorder;
using DuiLib::test::CTreeProbe;
using DuiLib::test::PumpMessages;
using DuiLib::test::Trail;

// Found by the assertions through the platform's RECT.
static bool operator==(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

namespace {

constexpr DWORD kRootColor = 0x204060;
constexpr DWORD kGreen = 0x00C000;
constexpr DWORD kBlue = 0x0000C0;
constexpr DWORD kYellow = 0xE0E000;

COLORREF Gdi(DWORD color)
{
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

// A pixel of the manager's off-screen picture, read through the context
// that holds it.
COLORREF PicturePixel(const CUIManager& manager, int x, int y)
{
    return GetPixel(manager.GetOffscreenDC(), x, y);
}

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// root fills the 200 x 150 client area; a (10,10)-(60,40) and b
// (100,10)-(150,40) lie in it.
class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        host = std::make_unique<CManagerHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"paint", WS_POPUP, 0, 100, 100, 200, 150));
        window = host->GetHWND();
        ShowWindow(window, SW_SHOWNA);
        root = new CTreeProbe(&trail, L"root", RECT{0, 0, 0, 0}, kRootColor);
        a = root->Add(new CTreeProbe(&trail, L"a", RECT{10, 10, 60, 40}, kGreen));
        b = root->Add(new CTreeProbe(&trail, L"b", RECT{100, 10, 150, 40}, kBlue));
        Manager().AddListener(&recorder);
        ASSERT_TRUE(Manager().AttachRootControl(root));
    }

    void TearDown() override
    {
        host.reset();
        PumpMessages();
        EXPECT_EQ(0, CTreeProbe::CallsAfterDeletion()) << "a deleted control was called";
        CTreeProbe::ReleaseTombstones();
    }

    CUIManager& Manager() { return host->manager; }

    // Paints until nothing is left to paint, then forgets what was recorded.
    void Settle()
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
        PumpMessages();
        for (CTreeProbe* probe : {root, a, b})
        {
            probe->placements.clear();
            probe->paintRects.clear();
        }
        trail.clear();
    }

    void Repaint(const RECT& area)
    {
        InvalidateRect(window, &area, FALSE);
        UpdateWindow(window);
    }

    int WindowInits() const
    {
        int count = 0;
        for (const NotifyEvent& n : recorder.received)
            count += n.type == L"windowinit" ? 1 : 0;
        return count;
    }

    std::unique_ptr<CManagerHost> host;
    HWND window = nullptr;
    Trail trail;
    CNotifyRecorder recorder{&trail};
    CTreeProbe* root = nullptr;
    CTreeProbe* a = nullptr;
    CTreeProbe* b = nullptr;
};

}  // namespace

TEST_F(PaintTest, FirstPaintLaysTheRootOutAtTheClientAreaThenSendsWindowInitOnce)
{
    size_t placementsAtInit = 0;
    recorder.onNotify = [&](NotifyEvent& n) {
        if (n.type == L"windowinit")
            placementsAtInit = root->placements.size();
    };
    UpdateWindow(window);
    ASSERT_EQ(1u, root->placements.size());
    EXPECT_EQ((RECT{0, 0, 200, 150}), root->placements[0]);
    EXPECT_EQ(1u, placementsAtInit) << "windowinit follows the layout";
    ASSERT_EQ(1, WindowInits());
    EXPECT_EQ(root, recorder.received[0].sender);

    Settle();
    root->RequestLayout();
    Settle();
    EXPECT_EQ(1, WindowInits()) << "later layouts send nothing";
}

TEST_F(PaintTest, OnlyTheUpdateAreaIsRepaintedAndCopied)
{
    Settle();
    HBITMAP picture = Manager().GetOffscreenBitmap();
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(Gdi(kGreen), PicturePixel(Manager(), 40, 30));
    EXPECT_EQ(Gdi(kGreen), WindowPixel(window, 40, 30));

    // Marked on the window only: a copy of more than the area would cover it.
    HDC screen = GetDC(window);
    SetPixel(screen, 40, 30, RGB(0, 0, 0));
    ReleaseDC(window, screen);
    a->color = kYellow;
    Repaint(RECT{10, 10, 30, 20});
    ASSERT_EQ(1u, root->paintRects.size());
    EXPECT_EQ((RECT{10, 10, 30, 20}), root->paintRects[0]);
    EXPECT_EQ(picture, Manager().GetOffscreenBitmap()) << "the picture is kept between paints";
    EXPECT_EQ(Gdi(kYellow), PicturePixel(Manager(), 15, 15));
    EXPECT_EQ(Gdi(kGreen), PicturePixel(Manager(), 40, 30)) << "outside the area nothing is painted";
    EXPECT_EQ(Gdi(kYellow), WindowPixel(window, 29, 19));
    EXPECT_EQ(RGB(0, 0, 0), WindowPixel(window, 40, 30)) << "outside the area nothing is copied";
}

TEST_F(PaintTest, LayoutPlacesOnlyTheControlsThatAskedForIt)
{
    Settle();
    b->RequestLayout();
    UpdateWindow(window);
    EXPECT_EQ(1u, b->placements.size());
    EXPECT_TRUE(root->placements.empty());
    EXPECT_TRUE(a->placements.empty());

    a->floating = true;
    a->relative = CUIRect(1, 2, 30, 20);
    a->RequestLayout();
    UpdateWindow(window);
    ASSERT_EQ(1u, a->placements.size());
    EXPECT_EQ((RECT{1, 2, 30, 20}), a->placements[0]) << "a floating control takes its relative rectangle";
}

TEST_F(PaintTest, ResizedWindowGetsANewLayoutAndAPictureOfItsSize)
{
    Settle();
    SetWindowPos(window, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    ASSERT_FALSE(root->placements.empty());
    EXPECT_EQ((RECT{0, 0, 260, 180}), root->placements.back());
    const SIZE size = BitmapSize(Manager().GetOffscreenBitmap());
    EXPECT_EQ(260, size.cx);
    EXPECT_EQ(180, size.cy);
    EXPECT_EQ(Gdi(kRootColor), PicturePixel(Manager(), 250, 170));
}

TEST_F(PaintTest, ShowDirtyOutlinesEveryRepaintedAreaInRed)
{
    Settle();
    Manager().SetShowDirty(true);
    Repaint(RECT{20, 20, 90, 60});
    EXPECT_EQ(RGB(220, 0, 0), WindowPixel(window, 20, 20));
    EXPECT_EQ(RGB(220, 0, 0), WindowPixel(window, 89, 59));
    EXPECT_EQ(Gdi(kRootColor), WindowPixel(window, 80, 50)) << "the inside is not filled";
    EXPECT_EQ(Gdi(kGreen), PicturePixel(Manager(), 20, 20)) << "the picture has no outline";
}

TEST_F(PaintTest, ZeroSizedWindowPaintsNothingUntilItHasASize)
{
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages();
    SendMessageW(window, WM_PAINT, 0, 0);
    EXPECT_TRUE(root->placements.empty());
    EXPECT_EQ(0, WindowInits()) << "windowinit waits for the first real layout";

    SetWindowPos(window, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    EXPECT_EQ(1, WindowInits());
    EXPECT_EQ(120, BitmapSize(Manager().GetOffscreenBitmap()).cx);

    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    a->RequestLayout();
    Manager().Invalidate();
    PumpMessages();
    SendMessageW(window, WM_PAINT, 0, 0);
    EXPECT_TRUE(root->paintRects.empty());
}

TEST_F(PaintTest, LayoutThatAsksForLayoutAgainWhilePaintingCausesOneMorePaint)
{
    Settle();
    bool askedAgain = false;
    b->onPlace = [&](CTreeProbe& probe) {
        EXPECT_TRUE(Manager().IsPainting());
        if (!askedAgain)
        {
            askedAgain = true;
            probe.RequestLayout();
        }
    };
    b->RequestLayout();
    PumpMessages();
    EXPECT_EQ(2u, b->placements.size());
    EXPECT_FALSE(Manager().IsPainting());
    EXPECT_FALSE(Manager().IsLayoutRequested());
}

TEST_F(PaintTest, OverlayPaintersRunAfterTheTreeAndMayLeaveWhilePainting)
{
    Settle();
    EXPECT_FALSE(Manager().AddOverlayPainter(nullptr));
    EXPECT_FALSE(Manager().RemoveOverlayPainter(a));
    size_t treePaintsSeen = 0;
    a->onOverlay = [&](CTreeProbe& probe, const RECT&) {
        treePaintsSeen = root->paintRects.size();
        EXPECT_TRUE(Manager().RemoveOverlayPainter(&probe));
    };
    ASSERT_TRUE(Manager().AddOverlayPainter(a));
    ASSERT_TRUE(Manager().AddOverlayPainter(b));
    Repaint(RECT{0, 0, 50, 50});
    EXPECT_EQ(1u, treePaintsSeen) << "overlays come after the tree";
    ASSERT_EQ(1u, a->overlayRects.size());
    EXPECT_EQ((RECT{0, 0, 50, 50}), a->overlayRects[0]);
    Repaint(RECT{0, 0, 50, 50});
    EXPECT_EQ(1u, a->overlayRects.size()) << "a left the list";
    EXPECT_EQ(2u, b->overlayRects.size());

    root->Detach(b);
    b->Delete();
    Repaint(RECT{0, 0, 50, 50});
}

TEST_F(PaintTest, PrintClientPaintsTheTreeIntoTheGivenContext)
{
    Settle();
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -150, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, target);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(Gdi(kBlue), GetPixel(dc, 120, 20));
    EXPECT_EQ(Gdi(kRootColor), GetPixel(dc, 199, 149));
    ASSERT_EQ(1u, root->paintRects.size());
    EXPECT_EQ((RECT{0, 0, 200, 150}), root->paintRects[0]);
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST_F(PaintTest, InvalidateNormalisesTheRectangle)
{
    Settle();
    RECT update = {};
    Manager().Invalidate(RECT{-5, -7, 30, 20});
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ((RECT{0, 0, 30, 20}), update);
    ValidateRect(window, nullptr);
    Manager().Invalidate(RECT{50, 60, 40, 50});
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE)) << "inverted edges collapse to nothing";
}

TEST_F(PaintTest, HostedWindowsAreListedOnceAndForgottenWithTheirControl)
{
    Settle();
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, 30, 40, 10, window, nullptr,
                                 nullptr, nullptr);
    EXPECT_FALSE(Manager().AddHostedWindow(nullptr, child));
    EXPECT_FALSE(Manager().AddHostedWindow(a, nullptr));
    EXPECT_TRUE(Manager().AddHostedWindow(a, child));
    EXPECT_FALSE(Manager().AddHostedWindow(b, child));
    EXPECT_EQ((RECT{20, 30, 60, 40}), Manager().HostedWindowRect(child));
    EXPECT_TRUE(Manager().RemoveHostedWindow(child));
    EXPECT_FALSE(Manager().RemoveHostedWindow(child));

    EXPECT_TRUE(Manager().AddHostedWindow(a, child));
    root->Detach(a);
    a->Delete();
    EXPECT_FALSE(Manager().RemoveHostedWindow(child)) << "the control took its window along";
    DestroyWindow(child);
}

TEST(UIManagerPaintWithoutRoot, OnlyValidatesTheWindow)
{
    CManagerHost host;
    ASSERT_NE(nullptr, host.Create(nullptr, L"bare", WS_POPUP, 0, 100, 100, 80, 60));
    ShowWindow(host.GetHWND(), SW_SHOWNA);
    InvalidateRect(host.GetHWND(), nullptr, FALSE);
    UpdateWindow(host.GetHWND());
    RECT update = {};
    EXPECT_FALSE(GetUpdateRect(host.GetHWND(), &update, FALSE));
    EXPECT_EQ(nullptr, host.manager.GetOffscreenBitmap());
}
