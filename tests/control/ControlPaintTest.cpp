// CControlUI painting into 32-bit DIB sections: background colours and
// gradients, images, borders and round borders, the fixed order of the steps,
// the stop control, the cover and the paint hub. Every expected pixel comes
// from the documented rectangles and pen widths.
#include "ui/control/ControlUI.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

// Paints control over its own rectangle into surface.
bool PaintWhole(CControlUI& control, const CSurface& surface)
{
    return control.Paint(surface.Dc(), control.GetPos(), nullptr);
}

class CVetoHub
{
public:
    explicit CVetoHub(bool answer) : m_answer(answer) {}
    bool OnPaint(void*)
    {
        ++calls;
        return m_answer;
    }
    int calls = 0;

private:
    bool m_answer;
};

// A manager (for the image cache) and the 2 x 2 test bitmap: red, green on
// top, blue, white below.
class ImagePaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = WriteBitmapFile(L"kalvex_control_quad.bmp", 2, 2,
                               {RgbOf(kRed), RgbOf(kGreen), RgbOf(kBlue), RgbOf(kWhite)});
        ASSERT_FALSE(path.empty());
    }
    void TearDown() override { DeleteFileW(path.c_str()); }

    CUIManager manager;
    std::wstring path;
};

}  // namespace

// ---- Background colours ------------------------------------------------------------------

TEST(ControlPaintBackColor, OpaqueColourFillsOnlyThePaintedPart)
{
    CSurface surface(50, 50, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 40, 40}, false);
    control.SetBkColor(kRed);
    EXPECT_TRUE(control.Paint(surface.Dc(), RECT{0, 0, 20, 40}, nullptr));
    ExpectPixels(surface, {{0, 0, kRed}, {19, 39, kRed}, {20, 20, kWhite}, {30, 20, kWhite}, {45, 45, kWhite}});
}

TEST(ControlPaintBackColor, TranslucentColourCoversTheWholeItem)
{
    CSurface surface(50, 50, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 40, 40}, false);
    control.SetBkColor(0x80FF0000);
    EXPECT_TRUE(control.Paint(surface.Dc(), RECT{0, 0, 20, 40}, nullptr));
    // Premultiplied red 128 over white: 128 + 255 x 127/255 = 255 red,
    // 255 x 127/255 = 127 green and blue; also beyond the painted part.
    ExpectPixels(surface, {{5, 5, 0xFFFF7F7F}, {30, 20, 0xFFFF7F7F}, {45, 45, kWhite}}, 2);
}

TEST(ControlPaintBackColor, SixDigitColourHasNoAlphaAndDrawsNothing)
{
    CSurface surface(20, 20, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.ApplyAttribute(L"bkcolor", L"#3366CC");
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{10, 10, kWhite}});
}

TEST(ControlPaintBackColor, SecondColourMakesAVerticalGradient)
{
    CSurface surface(10, 64, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 10, 64}, false);
    control.SetBkColor(kRed);
    control.SetBkColor2(kBlue);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{5, 0, kRed}, {5, 63, kBlue}}, 20);
    const DWORD middle = surface.Rgb(5, 32);
    EXPECT_TRUE(NearRgb(0x800080, middle, 20)) << std::hex << middle;
}

TEST(ControlPaintBackColor, ThirdColourSplitsTheGradientAtTheMiddleRow)
{
    CSurface surface(10, 64, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 10, 64}, false);
    control.SetBkColor(kRed);
    control.SetBkColor2(kGreen);
    control.SetBkColor3(kBlue);
    EXPECT_TRUE(PaintWhole(control, surface));
    // Upper half rows 0-31 red to green, lower half rows 32-63 green to blue.
    ExpectPixels(surface, {{5, 0, kRed}, {5, 32, kGreen}, {5, 63, kBlue}}, 40);
    EXPECT_TRUE(NearRgb(RgbOf(kGreen), surface.Rgb(5, 31), 40));
}

TEST(ControlPaintBackColor, ThirdColourWithoutSecondIsAPlainFill)
{
    CSurface surface(10, 20, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 10, 20}, false);
    control.SetBkColor(kRed);
    control.SetBkColor3(kBlue);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{5, 0, kRed}, {5, 19, kRed}});
}

// ---- Borders -----------------------------------------------------------------------------

TEST(ControlPaintFrame, EqualSidesDrawAnOutlineInsideTheItem)
{
    CSurface surface(60, 60, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{10, 10, 50, 50}, false);
    control.SetBorderColor(kBlue);
    control.SetBorderSize(2);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{10, 30, kBlue}, {11, 30, kBlue}, {12, 30, kWhite},  // left
                           {48, 30, kBlue}, {49, 30, kBlue}, {47, 30, kWhite},  // right
                           {30, 10, kBlue}, {30, 11, kBlue}, {30, 12, kWhite},  // top
                           {30, 48, kBlue}, {30, 49, kBlue}, {30, 47, kWhite},  // bottom
                           {9, 30, kWhite}, {50, 30, kWhite}, {30, 50, kWhite}, {30, 30, kWhite}});
}

TEST(ControlPaintFrame, UnequalSidesDrawOneLinePerSide)
{
    CSurface surface(60, 60, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{10, 10, 50, 50}, false);
    control.SetBorderColor(kBlue);
    control.SetBorderSize(RECT{1, 3, 3, 1});
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {
                              // left: 1 wide at x = 10 + 0
                              {10, 30, kBlue}, {11, 30, kWhite}, {9, 30, kWhite},
                              // top: 3 wide centred at y = 10 + 1
                              {30, 10, kBlue}, {30, 11, kBlue}, {30, 12, kBlue}, {30, 13, kWhite}, {30, 9, kWhite},
                              // right: 3 wide at x = 50 - 1, one further left for the odd width
                              {47, 30, kBlue}, {48, 30, kBlue}, {49, 30, kBlue}, {46, 30, kWhite}, {50, 30, kWhite},
                              // bottom: 1 wide at y = 50 - 0 - 1
                              {30, 49, kBlue}, {30, 48, kWhite}, {30, 50, kWhite},
                          });
}

TEST(ControlPaintFrame, SidesOfSizeZeroAreLeftOut)
{
    CSurface surface(60, 60, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{10, 10, 50, 50}, false);
    control.SetBorderColor(kBlue);
    control.ApplyAttribute(L"bordersize", L"1,0,1,0");
    EXPECT_TRUE(PaintWhole(control, surface));
    // Right: 1 wide at 50 - 0 - 1 = 49.
    ExpectPixels(surface, {{10, 30, kBlue}, {49, 30, kBlue}, {30, 10, kWhite}, {30, 49, kWhite}});
}

TEST(ControlPaintFrame, NoSizeOrNoColourDrawsNothing)
{
    CSurface surface(30, 30, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 30, 30}, false);
    control.SetBorderSize(2);
    EXPECT_TRUE(PaintWhole(control, surface));
    control.SetBorderSize(RECT{0, -1, 0, 0});
    control.SetBorderColor(kBlue);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{0, 15, kWhite}, {15, 0, kWhite}, {29, 15, kWhite}});
}

TEST(ControlPaintFrame, FocusedControlUsesTheFocusColour)
{
    CSurface surface(30, 30, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 30, 30}, false);
    control.SetBorderColor(kBlue);
    control.SetFocusBorderColor(kGreen);
    control.SetBorderSize(1);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{0, 15, kBlue}});
    UIEvent focus = {};
    focus.type = UIEVENT_SETFOCUS;
    control.Event(focus);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{0, 15, kGreen}, {29, 15, kGreen}});
}

TEST(ControlPaintFrame, RoundBorderClipsTheCornersAndDrawsARoundOutline)
{
    CSurface surface(50, 50, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 40, 40}, false);
    control.SetBkColor(kRed);
    control.SetBorderRound(SIZE{20, 20});
    EXPECT_TRUE(PaintWhole(control, surface));
    // Corner ellipses of radius 10: (0, 0) and (1, 1) lie outside them.
    ExpectPixels(surface, {{0, 0, kWhite}, {1, 1, kWhite}, {39, 0, kWhite}, {0, 39, kWhite}, {20, 20, kRed},
                           {20, 0, kRed}, {0, 20, kRed}});

    control.SetBorderColor(kBlue);
    control.SetBorderSize(1);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{20, 0, kBlue}, {0, 20, kBlue}, {39, 20, kBlue}, {20, 39, kBlue}, {20, 20, kRed},
                           {0, 0, kWhite}, {45, 45, kWhite}});
}

TEST(ControlPaintFrame, TheClipOfARoundBorderEndsWithThePaint)
{
    CSurface surface(50, 50, kWhite);
    CControlUI round;
    round.PlaceAt(RECT{0, 0, 40, 40}, false);
    round.SetBorderRound(SIZE{20, 20});
    EXPECT_TRUE(PaintWhole(round, surface));
    CControlUI square;
    square.PlaceAt(RECT{0, 0, 50, 50}, false);
    square.SetBkColor(kGreen);
    EXPECT_TRUE(PaintWhole(square, surface));
    ExpectPixels(surface, {{0, 0, kGreen}, {45, 45, kGreen}});
}

// ---- Order, stop control, cover and hub -----------------------------------------------------

TEST_F(ImagePaintTest, StepsPaintInTheirFixedOrder)
{
    CSurface surface(50, 50, kWhite);
    CControlUI control;
    control.BindManager(&manager, nullptr, false);
    control.PlaceAt(RECT{0, 0, 40, 40}, false);
    control.ApplyAttributeText(L"bkcolor=\"#FFFF0000\" bkimage=\"color='FF00FF00' dest='0,0,30,30'\" "
                               L"foreimage=\"color='FF0000FF' dest='0,0,20,20'\" bordercolor=\"#FFFFFF00\" "
                               L"bordersize=\"1\"");
    EXPECT_TRUE(PaintWhole(control, surface));
    // Border over state image over background image over background colour.
    ExpectPixels(surface, {{0, 10, kYellow}, {10, 0, kYellow}, {5, 5, kBlue}, {25, 25, kGreen}, {35, 35, kRed},
                           {39, 35, kYellow}, {45, 45, kWhite}});
    control.BindManager(nullptr, nullptr, false);
}

TEST_F(ImagePaintTest, BackgroundImageIsStretchedOverTheItem)
{
    CSurface surface(30, 30, kGrey);
    CControlUI control;
    control.BindManager(&manager, nullptr, false);
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkImage(path.c_str());
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{5, 5, kRed}, {15, 5, kGreen}, {5, 15, kBlue}, {15, 15, kWhite}, {25, 25, kGrey}});
    control.BindManager(nullptr, nullptr, false);
}

TEST_F(ImagePaintTest, DestOffsetsPlaceTheImageInsideTheItem)
{
    CSurface surface(30, 30, kGrey);
    CControlUI control;
    control.BindManager(&manager, nullptr, false);
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkImage((L"file='" + path + L"' dest='10,10,20,20'").c_str());
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{5, 5, kGrey}, {12, 12, kRed}, {17, 12, kGreen}, {12, 17, kBlue}, {17, 17, kWhite}});
    control.BindManager(nullptr, nullptr, false);
}

TEST_F(ImagePaintTest, AFloatControlWithoutSizeTakesItsImageSize)
{
    CControlUI floating;
    floating.BindManager(&manager, nullptr, false);
    floating.SetFloat(true);
    floating.SetBkImage(path.c_str());
    EXPECT_EQ(2, floating.GetFixedWidth());
    EXPECT_EQ(2, floating.GetFixedHeight());

    CControlUI sized;
    sized.BindManager(&manager, nullptr, false);
    sized.SetFloat(true);
    sized.SetFixedWidth(7);
    sized.SetBkImage(path.c_str());
    EXPECT_EQ(7, sized.GetFixedWidth());
    EXPECT_EQ(0, sized.GetFixedHeight());

    CControlUI inFlow;
    inFlow.BindManager(&manager, nullptr, false);
    inFlow.SetBkImage(path.c_str());
    EXPECT_EQ(0, inFlow.GetFixedWidth());

    floating.BindManager(nullptr, nullptr, false);
    sized.BindManager(nullptr, nullptr, false);
    inFlow.BindManager(nullptr, nullptr, false);
}

TEST_F(ImagePaintTest, AnImageThatCannotLoadIsSkipped)
{
    CSurface surface(20, 20, kWhite);
    CControlUI control;
    control.BindManager(&manager, nullptr, false);
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkColor(kRed);
    control.SetBkImage(L"no/such/image.png");
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{10, 10, kRed}});
    control.BindManager(nullptr, nullptr, false);
}

TEST(ControlPaintImage, WithoutAManagerImagesWaitForOne)
{
    CSurface surface(20, 20, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkColor(kRed);
    control.SetBkImage(L"color='FF00FF00'");
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{10, 10, kRed}});

    CUIManager manager;
    control.BindManager(&manager, nullptr, false);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{10, 10, kGreen}});
    control.BindManager(nullptr, nullptr, false);
}

TEST(ControlPaint, TheStopControlEndsThePass)
{
    CSurface surface(20, 20, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkColor(kRed);
    EXPECT_FALSE(control.Paint(surface.Dc(), RECT{0, 0, 20, 20}, &control));
    ExpectPixels(surface, {{10, 10, kWhite}});
}

TEST(ControlPaint, AnAreaOutsideTheItemPaintsNothingAndGoesOn)
{
    CSurface surface(40, 40, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkColor(0x80FF0000);  // would cover the whole item if painted
    EXPECT_TRUE(control.Paint(surface.Dc(), RECT{20, 20, 40, 40}, nullptr));
    ExpectPixels(surface, {{10, 10, kWhite}});
}

TEST(ControlPaint, TheCoverIsPaintedAfterTheControl)
{
    CSurface surface(40, 40, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 40, 40}, false);
    control.SetBkColor(kRed);
    CControlUI* cover = new CControlUI();
    control.SetOverlayControl(cover);
    cover->PlaceAt(RECT{10, 10, 20, 20}, false);
    cover->SetBkColor(kBlue);
    EXPECT_TRUE(PaintWhole(control, surface));
    ExpectPixels(surface, {{15, 15, kBlue}, {5, 5, kRed}, {25, 25, kRed}});
}

TEST(ControlPaint, PaintHubDelegatesMayPaintInstead)
{
    CSurface surface(20, 20, kWhite);
    CControlUI control;
    control.PlaceAt(RECT{0, 0, 20, 20}, false);
    control.SetBkColor(kRed);
    CVetoHub veto(false);
    control.PaintHub() += CDelegate<CVetoHub>(&veto, &CVetoHub::OnPaint);
    EXPECT_TRUE(PaintWhole(control, surface));
    EXPECT_EQ(1, veto.calls);
    ExpectPixels(surface, {{10, 10, kWhite}});

    CControlUI other;
    other.PlaceAt(RECT{0, 0, 20, 20}, false);
    other.SetBkColor(kRed);
    CVetoHub agree(true);
    other.PaintHub() += CDelegate<CVetoHub>(&agree, &CVetoHub::OnPaint);
    EXPECT_TRUE(PaintWhole(other, surface));
    EXPECT_EQ(1, agree.calls);
    ExpectPixels(surface, {{10, 10, kRed}});
}
