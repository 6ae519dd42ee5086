// skinview.exe as a skin author uses it, each run a real child process: the
// product's skin rendered headless matches the uninstaller's own first
// frame, hover and push change the button alone, tab pages and options
// switch, a layered skin keeps its alpha and shadow, the live window follows
// edits to the skin folder (a broken save included), and hostile skins end
// with a reason and a non-zero code. The PNGs land in shots/ beside the test.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/MainWnd.h"
#include "app/ProductNames.h"
#include "app/ProductSkin.h"
#include "tests/app/TestSupport.h"
#include "tests/controls/ControlsTestSupport.h"
#include "tests/core/PicturePixels.h"
#include "tests/skinview/SkinViewTestSupport.h"
#include "ui/core/UIManager.h"
#include "ui/render/PngWriter.h"

using namespace skinview::test;
using DuiLib::test::BesideProgram;
using DuiLib::test::CaptureScreen;
using DuiLib::test::CaptureWindow;
using DuiLib::test::SaveShot;
using DuiLib::test::WindowShot;
using kalvex::test::CScratchDir;
using kalvex::test::WriteFileBytes;

namespace {

// main.xml's window is 680 x 420; its pages start below the 44-pixel title
// row and the 146-pixel band, at y = 190, and the uninstall button floats
// at 178,138,328,180 on the page.
constexpr int kWidth = 680;
constexpr int kHeight = 420;
constexpr RECT kUninstallButton = {178, 190 + 138, 328, 190 + 180};
// A point of the band that only the background image covers.
constexpr POINT kBand = {600, 150};

bool Inside(const RECT& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

class SkinViewTest : public ::testing::Test
{
protected:
    void SetUp() override { CreateDirectoryW(BesideProgram(L"shots").c_str(), nullptr); }

    // Renders skin with options to shots\<name>.png and reads it back.
    Picture Render(const std::wstring& skin, const wchar_t* name, const std::wstring& options = L"")
    {
        const std::wstring png = BesideProgram(L"shots\\") + name + L".png";
        DeleteFileW(png.c_str());
        std::string errors;
        EXPECT_EQ(0, RunViewer(Quoted(skin) + L" --png " + Quoted(png) + L" " + options, errors)) << errors;
        Picture picture;
        EXPECT_TRUE(ReadPicture(png, picture)) << "no picture in " << std::string(png.begin(), png.end());
        return picture;
    }

    // Pixels that differ between a and b, inside rect and outside it.
    static void CountChanges(const Picture& a, const Picture& b, const RECT& rect, int& inside, int& outside)
    {
        inside = outside = 0;
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.At(x, y) != b.At(x, y))
                    ++(Inside(rect, x, y) ? inside : outside);
    }

    CScratchDir m_dir{L"skinview"};
};

TEST_F(SkinViewTest, ProductSkinPictureMatchesTheUninstallersFirstFrame)
{
    const Picture picture = Render(UninstallerProgram(), L"viewer_product");
    ASSERT_EQ(kWidth, picture.width);
    ASSERT_EQ(kHeight, picture.height);
    // "roundcorner" 12,12 cuts the corners out of the window.
    EXPECT_EQ(0u, picture.At(0, 0) >> 24);
    EXPECT_EQ(0u, picture.At(kWidth - 1, kHeight - 1) >> 24);

    // The uninstaller's window, created and shown as start-up does.
    DuiLib::CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    HMODULE exe = LoadLibraryExW(UninstallerProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe != nullptr && kalvex::RegisterProductSkin(exe));
    kalvex::CMainWnd window;
    ASSERT_NE(nullptr, window.Create(nullptr, kalvex::kWindowTitle, WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                     0, 0, 0, 0, 0));
    window.CentreOnOwner();
    const WindowShot frame = CaptureWindow(window);
    SaveShot(frame, L"uninstaller_first_frame");
    ASSERT_EQ(kWidth, frame.width);
    ASSERT_EQ(kHeight, frame.height);

    int compared = 0;
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
    {
        for (int x = 0; x < kWidth; ++x)
        {
            if ((picture.At(x, y) >> 24) != 0xFF)
                continue;
            ++compared;
            differing += SameColour(picture.At(x, y), frame.Rgb(x, y), 2) ? 0 : 1;
        }
    }
    // Only the four cut corners are left out.
    EXPECT_GT(compared, kWidth * kHeight - 4 * 12 * 12);
    EXPECT_EQ(0, differing);
}

TEST_F(SkinViewTest, HoverAndPushChangeTheButtonAlone)
{
    const Picture plain = Render(UninstallerProgram(), L"viewer_product_plain");
    const Picture hot = Render(UninstallerProgram(), L"viewer_product_hover", L"--hover unins_btn");
    const Picture pushed = Render(UninstallerProgram(), L"viewer_product_push", L"--push unins_btn");
    ASSERT_EQ(kWidth, plain.width);
    ASSERT_EQ(kWidth, hot.width);
    ASSERT_EQ(kWidth, pushed.width);

    const int area = (kUninstallButton.right - kUninstallButton.left) * (kUninstallButton.bottom - kUninstallButton.top);
    int inside = 0;
    int outside = 0;
    // The hot image is the second 42-row band of nor_btn.png, the pushed one
    // the third; the text colour changes with them.
    CountChanges(plain, hot, kUninstallButton, inside, outside);
    EXPECT_GT(inside, area / 2);
    EXPECT_EQ(0, outside);
    CountChanges(hot, pushed, kUninstallButton, inside, outside);
    EXPECT_GT(inside, area / 2);
    EXPECT_EQ(0, outside);
}

TEST_F(SkinViewTest, TabAndSelectSwitchTheGallerysPageAndOption)
{
    // The gallery's skins and generated images, from the controls tests.
    const std::wstring skins = BesideProgram(L"..\\controls\\skins");
    const Picture first = Render(skins, L"viewer_gallery", L"--xml gallery.xml");
    const Picture tiles = Render(skins, L"viewer_gallery_tiles", L"--xml gallery.xml --tab pages=1 --select tab_tiles");
    ASSERT_EQ(560, first.width);
    ASSERT_EQ(560, tiles.width);

    // The tab row starts at y = 44 with an inset of 8,4; its options are 100
    // wide, 4 apart: "Controls" from x = 8, "Tiles" from x = 112. Their left
    // edges show tab.png (0xC0CCE0) or, selected, tab_on.png (0x2050A0).
    EXPECT_TRUE(SameColour(first.At(11, 50), 0x2050A0, 2));
    EXPECT_TRUE(SameColour(first.At(115, 50), 0xC0CCE0, 2));
    EXPECT_TRUE(SameColour(tiles.At(11, 50), 0xC0CCE0, 2)) << "the group still has the first option selected";
    EXPECT_TRUE(SameColour(tiles.At(115, 50), 0x2050A0, 2));

    // The page area, below the tabs and above the status row, shows tiles.
    int inside = 0;
    int outside = 0;
    CountChanges(first, tiles, RECT{0, 74, 560, 390}, inside, outside);
    EXPECT_GT(inside, 560 * 316 / 4);
}

TEST_F(SkinViewTest, LayeredSkinKeepsItsAlphaAndShadow)
{
    WriteFileBytes(m_dir / L"layered\\main.xml",
                   "<Window size=\"120,90\" layeredimage=\"\" shadowsize=\"10\" shadowcolor=\"#80000000\">"
                   "<VerticalLayout bkcolor=\"#FF3060C0\"/></Window>");
    const Picture picture = Render(m_dir / L"layered", L"viewer_layered_shadow");
    ASSERT_EQ(120, picture.width);
    ASSERT_EQ(90, picture.height);
    // The content fills the window inside the 10-pixel ring, opaque.
    EXPECT_EQ(0xFF3060C0u, picture.At(60, 45));
    EXPECT_EQ(0xFF3060C0u, picture.At(10, 10));
    // The ring: the half-opaque black shadow fades out towards the edge.
    const DWORD ring = picture.At(5, 45);
    EXPECT_GT(ring >> 24, 0u);
    EXPECT_LE(ring >> 24, 0x80u);
    EXPECT_EQ(0u, ring & 0x00FFFFFF);
    EXPECT_LT(picture.At(0, 45) >> 24, ring >> 24);

    // --size wins over the skin's size; the ring stays at the new edge.
    const Picture sized = Render(m_dir / L"layered", L"viewer_layered_sized", L"--size 160x100");
    ASSERT_EQ(160, sized.width);
    ASSERT_EQ(100, sized.height);
    EXPECT_EQ(0xFF3060C0u, sized.At(149, 89));
    EXPECT_LT(sized.At(155, 50) >> 24, 0xFFu);
}

TEST_F(SkinViewTest, LiveWindowFollowsEditsOfTheSkinFolder)
{
    const std::wstring skin = m_dir / L"skin";
    ASSERT_TRUE(CopyTree(BesideProgram(L"..\\..\\resources\\skin"), skin));
    const std::string mainXml = kalvex::test::ReadFileBytes(skin + L"\\main.xml");
    ASSERT_FALSE(mainXml.empty());
    CViewerRun run(Quoted(skin), m_dir / L"live.txt");
    ASSERT_TRUE(run.Started());
    HWND window = nullptr;
    ASSERT_TRUE(WaitFor(20000, [&] { return (window = FindViewerWindow(run.ProcessId())) != nullptr; }))
        << run.Errors();
    RECT frame = {};
    GetWindowRect(window, &frame);
    ASSERT_EQ(kWidth, frame.right - frame.left);
    ASSERT_EQ(kHeight, frame.bottom - frame.top);
    const auto bandIs = [&](DWORD rgb) { return SameColour(CaptureScreen(frame).Rgb(kBand.x, kBand.y), rgb, 2); };

    // The product skin as the viewer shows it: the band is the blue of
    // main_bk.png.
    ASSERT_TRUE(WaitFor(10000, [&] { return run.Errors().find("built main.xml") != std::string::npos; }))
        << run.Errors();
    const WindowShot shown = CaptureScreen(frame);
    SaveShot(shown, L"viewer_live_product");
    const DWORD band = shown.Rgb(kBand.x, kBand.y);
    EXPECT_GT(band & 0xFF, ((band >> 16) & 0xFF) + 60) << std::hex << band;

    // Images are written as the designer's tool would, whole files of one colour.
    const auto saveImage = [&](DWORD argb) {
        const std::vector<DWORD> pixels(static_cast<size_t>(kWidth) * kHeight, argb);
        return DuiLib::WritePng(pixels.data(), kWidth, kHeight, kWidth * 4, DuiLib::PixelAlpha::Straight,
                                (skin + L"\\bk\\main_bk.png").c_str());
    };
    // An image of a subfolder saved anew: the picture follows, not a cached one.
    ASSERT_TRUE(saveImage(0xFF20A040));
    EXPECT_TRUE(WaitFor(10000, [&] { return bandIs(0x20A040); })) << run.Errors();

    // A half-saved main.xml: the window stays and shows why it cannot build.
    WriteFileBytes(skin + L"\\main.xml", mainXml.substr(0, mainXml.find("<Font")) + "<Font id=\"0\" name=");
    EXPECT_TRUE(WaitFor(10000, [&] { return WindowTitle(window).find(L"main.xml: ") != std::wstring::npos; }))
        << run.Errors();
    EXPECT_TRUE(WaitFor(10000, [&] { return bandIs(0xFFF4F4); })) << "no error page";
    SaveShot(CaptureScreen(frame), L"viewer_live_error");
    EXPECT_NE(std::string::npos, run.Errors().find("skinview: main.xml: ")) << run.Errors();

    // Saved whole again, declaring the image shared, and the image redrawn.
    const size_t fonts = mainXml.find("<Font");
    WriteFileBytes(skin + L"\\main.xml",
                   mainXml.substr(0, fonts) + "<Image name=\"bk/main_bk.png\" shared=\"true\"/>" + mainXml.substr(fonts));
    ASSERT_TRUE(saveImage(0xFFC03030));
    EXPECT_TRUE(WaitFor(10000, [&] { return bandIs(0xC03030); })) << run.Errors();

    // Shared images outlive a manager: once the skin stops declaring it, the
    // picture must come from the file again, not from the first load.
    WriteFileBytes(skin + L"\\main.xml", mainXml);
    ASSERT_TRUE(saveImage(0xFF3050D0));
    EXPECT_TRUE(WaitFor(10000, [&] { return bandIs(0x3050D0); })) << run.Errors();

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, run.Wait(10000));
}

TEST_F(SkinViewTest, HostileSkinsEndWithAReasonAndANonZeroCode)
{
    WriteFileBytes(m_dir / L"damaged.zip", std::string(2000, 'Z'));
    WriteFileBytes(m_dir / L"parse\\main.xml", "<Window size=\"200,100\"><VerticalLayout><Label text=\"a\"</Window>");
    WriteFileBytes(m_dir / L"huge\\main.xml", "<Window size=\"100000,100000\"><VerticalLayout/></Window>");
    WriteFileBytes(m_dir / L"image\\main.xml", "<Window size=\"60,40\"><VerticalLayout bkimage=\"gone.png\"/></Window>");
    WriteFileBytes(m_dir / L"loop\\main.xml",
                   "<Window size=\"60,40\"><VerticalLayout><Include source=\"main.xml\"/></VerticalLayout></Window>");
    struct Case
    {
        const wchar_t* skin;
        long code;
        const char* says;
    };
    const Case cases[] = {
        {L"absent", 2, "does not exist"},
        {L"damaged.zip", 2, "damaged or no zip archive"},
        {L"parse", 1, "skinview: main.xml: "},
        {L"huge", 1, "100000 x 100000 is beyond the viewer's limit of 4096 x 4096"},
        {L"image", 1, "image gone.png cannot be found"},
        {L"loop", 1, "a limit of the layout builder was reached"},
    };
    for (const Case& hostile : cases)
    {
        std::string errors;
        const long code = RunViewer(Quoted(m_dir / hostile.skin) + L" --png " + Quoted(m_dir / L"out.png"), errors);
        EXPECT_EQ(hostile.code, code) << errors;
        EXPECT_NE(std::string::npos, errors.find(hostile.says)) << errors;
    }
}

TEST_F(SkinViewTest, LintPassesTheProductSkinAndNamesAMisspeltAttributeWithItsLine)
{
    std::string output;
    EXPECT_EQ(0, RunViewer(Quoted(UninstallerProgram()) + L" --lint", output)) << output;
    EXPECT_EQ("", output);
    WriteFileBytes(m_dir / L"typo\\main.xml",
                   "<Window size=\"60,40\">\n<VerticalLayout>\n  <Label bkimgae=\"x.png\"/>\n</VerticalLayout>\n</Window>");
    EXPECT_EQ(1, RunViewer(Quoted(m_dir / L"typo") + L" --lint", output)) << output;
    EXPECT_NE(std::string::npos, output.find("main.xml(3): ")) << output;
    EXPECT_NE(std::string::npos, output.find("bkimgae")) << output;
    EXPECT_EQ(2, RunViewer(Quoted(m_dir / L"absent") + L" --lint", output)) << output;
}

}  // namespace
