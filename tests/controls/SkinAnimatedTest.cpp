// The animated controls built from a skin whose pictures come from the
// password-protected archive: the GIF's frame timer follows the file's
// delays, the rotation wraps at 360, the spinner's spokes fade in drawing
// order; and the faults they must survive: damaged GIFs, spoke counts of 0,
// below 0 and beyond any use; the kept frames staying within their budget.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/controls/SkinTestSupport.h"
#include "ui/controls/ChrysanthemumLoadingUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/FrameCache.h"
#include "ui/controls/GifAnimUI.h"
#include "ui/controls/RotateImageUI.h"
#include "ui/markup/SkinLocation.h"
#include "ui/render/RenderKit.h"

namespace DuiLib {
namespace test {
namespace {

template <class Control>
Control* Find(CSkinWindow& skin, const wchar_t* name, const wchar_t* className)
{
    IControlUI* control = skin.Find(name);
    return control != nullptr ? static_cast<Control*>(control->CastTo(className)) : nullptr;
}

// Writes the first size bytes of bytes to path; false on failure.
bool WriteStart(const std::wstring& path, const BYTE* bytes, unsigned size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool done = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return done;
}

// The path of a file beside the test program.
std::wstring BesideProgram(const wchar_t* relative)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + relative;
}

TEST(SkinAnimated, SkinTagsBuildTheAnimatedControlsAndTheEdit)
{
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built()) << std::string(skin.error.begin(), skin.error.end());
    EXPECT_NE(nullptr, (Find<CGifAnimUI>(skin, L"gif", L"GifAnim")));
    EXPECT_EQ(nullptr, skin.Find(L"lower"));
    EXPECT_NE(nullptr, (Find<CGifButtonUI>(skin, L"gifbutton", L"GifButton")));
    EXPECT_NE(nullptr, (Find<CRotateImageUI>(skin, L"rotate", L"RotateImage")));
    EXPECT_NE(nullptr, (Find<CChrysanthemumLoadingUI>(skin, L"spinner", L"ChrysanthemumLoading")));
    CEditUI* edit = Find<CEditUI>(skin, L"edit", L"Edit");
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(10, edit->GetMaxChar());
    EXPECT_EQ(std::wstring(L"skin"), edit->GetText().GetData());
}

TEST(SkinAnimated, GifFramesRunForTheirOwnDelaysAndHidingRewinds)
{
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built());
    CGifAnimUI* gif = Find<CGifAnimUI>(skin, L"gif", L"GifAnim");
    ASSERT_NE(nullptr, gif);
    ASSERT_TRUE(gif->HasPicture());
    EXPECT_EQ(2u, gif->GetFrameCount());
    EXPECT_EQ((std::vector<UINT>{5, 0}), gif->GetFrameDelays());
    ASSERT_TRUE(gif->IsPlaying());
    // Delay 5 -> 50 ms; delay 0 -> 100 ms.
    EXPECT_EQ(50u, gif->GetFramePeriod());
    ASSERT_TRUE(PumpUntil([&] { return gif->GetFramePosition() == 1; }, 3000));
    EXPECT_EQ(100u, gif->GetFramePeriod());
    ASSERT_TRUE(PumpUntil([&] { return gif->GetFramePosition() == 0; }, 3000));
    EXPECT_EQ(50u, gif->GetFramePeriod());

    ASSERT_TRUE(PumpUntil([&] { return gif->GetFramePosition() == 1; }, 3000));
    gif->SetVisible(false);
    EXPECT_FALSE(gif->IsPlaying());
    EXPECT_EQ(0u, gif->GetFramePosition());
    gif->SetVisible(true);
    EXPECT_TRUE(gif->IsPlaying());
    EXPECT_EQ(50u, gif->GetFramePeriod());

    // The button plays only when told, and clicks on a real press.
    CGifButtonUI* button = Find<CGifButtonUI>(skin, L"gifbutton", L"GifButton");
    ASSERT_NE(nullptr, button);
    EXPECT_FALSE(button->IsPlaying());
    CNotifyRecorder recorder;
    ASSERT_TRUE(skin.Manager().AddListener(&recorder));
    const RECT place = button->GetPos();
    const LPARAM centre = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    PostMessageW(skin.Window(), WM_MOUSEMOVE, 0, centre);
    PostMessageW(skin.Window(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(skin.Window(), WM_LBUTTONUP, 0, centre);
    PumpMessages();
    ASSERT_EQ(1u, recorder.OfType(L"click").size());
    EXPECT_EQ(button, recorder.OfType(L"click")[0].sender);
    skin.Manager().RemoveListener(&recorder);
    skin.Shoot(L"skin_animated");
}

TEST(SkinAnimated, DamagedOrFramelessGifsNeitherDivideNorReadPastTheirDelays)
{
    EXPECT_EQ(0u, NextGifFrame(7, 0));
    EXPECT_EQ(0u, NextGifFrame(1, 2));
    EXPECT_EQ(100u, GifFramePeriod({}, 0));
    EXPECT_EQ(100u, GifFramePeriod({5}, 3));
    EXPECT_EQ(50u, GifFramePeriod({5}, 0));
    EXPECT_EQ(static_cast<UINT>(USER_TIMER_MAXIMUM), GifFramePeriod({0xFFFFFFFFu}, 0));

    // The archive's GIF cut short, read by its path: at worst no picture.
    BYTE* bytes = nullptr;
    unsigned size = 0;
    ASSERT_TRUE(ReadWholeFile(BesideProgram(L"skins\\anim\\two.gif").c_str(), bytes, size));
    const std::vector<BYTE> gifBytes(bytes, bytes + size);
    delete[] bytes;
    ASSERT_GT(size, 60u);
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built());
    CGifAnimUI* gif = Find<CGifAnimUI>(skin, L"gif", L"GifAnim");
    ASSERT_NE(nullptr, gif);
    for (unsigned cut : {size - 8, 40u, 13u})
    {
        const std::wstring path = std::wstring(folder) + L"kalvex_cut_" + std::to_wstring(cut) + L".gif";
        ASSERT_TRUE(WriteStart(path, gifBytes.data(), cut));
        gif->SetBkImage(path.c_str());
        skin.Shoot(L"skin_animated_cut");
        PumpUntil([] { return false; }, 150);
        EXPECT_LE(gif->GetFramePosition(), gif->GetFrameCount());
        DeleteFileW(path.c_str());
    }
}

TEST(SkinAnimated, RotationWrapsFrom357To4)
{
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built());
    CRotateImageUI* rotate = Find<CRotateImageUI>(skin, L"rotate", L"RotateImage");
    ASSERT_NE(nullptr, rotate);
    ASSERT_TRUE(rotate->HasPicture());
    ASSERT_TRUE(rotate->IsPlaying());
    ASSERT_TRUE(PumpUntil([&] { return rotate->GetAngle() != 350; }, 3000));
    EXPECT_EQ(357, rotate->GetAngle());
    const WindowShot at357 = CaptureWindow(skin.Window());
    ASSERT_TRUE(PumpUntil([&] { return rotate->GetAngle() != 357; }, 3000));
    EXPECT_EQ(4, rotate->GetAngle());
    // Each angle shows its own turn of the picture.
    const WindowShot at4 = CaptureWindow(skin.Window());
    EXPECT_GT(DifferingPixels(at357, at4, rotate->GetPos()), 8);
    rotate->SetVisible(false);
    EXPECT_FALSE(rotate->IsPlaying());
}

TEST(SkinAnimated, SpinnerSpokesFadeInDrawingOrderAndTurnEachTick)
{
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built());
    auto* spinner = Find<CChrysanthemumLoadingUI>(skin, L"spinner", L"ChrysanthemumLoading");
    ASSERT_NE(nullptr, spinner);
    const std::vector<DWORD>& colors = spinner->GetSpokeColors();
    ASSERT_EQ(10u, colors.size());
    // 255 / 10 = 25 per step after the first, full spoke.
    EXPECT_EQ(0xFF000000u, colors[0]);
    for (DWORD i = 1; i < 10; ++i)
        EXPECT_EQ((i * 25) << 24, colors[i]) << i;
    EXPECT_DOUBLE_EQ(36.0, spinner->GetSpokeAngles()[0]);
    EXPECT_DOUBLE_EQ(360.0, spinner->GetSpokeAngles()[9]);
    const int offset = spinner->GetRotationOffset();
    ASSERT_TRUE(PumpUntil([&] { return spinner->GetRotationOffset() != offset; }, 3000));
    EXPECT_EQ((offset + 1) % 10, spinner->GetRotationOffset());
    const WindowShot shot = skin.Shoot(L"skin_spinner");
    EXPECT_TRUE(shot.HasInk(spinner->GetPos(), 0xFFFFFF));
}

TEST(SkinAnimated, SpokeCountsOfNoneBelowNoneAndBeyondAnyUseStayBounded)
{
    CSkinWindow skin(L"animated.xml");
    ASSERT_TRUE(skin.Built());
    auto* spinner = Find<CChrysanthemumLoadingUI>(skin, L"nospokes", L"ChrysanthemumLoading");
    ASSERT_NE(nullptr, spinner);
    EXPECT_EQ(0, spinner->GetSpokeCount());
    EXPECT_TRUE(spinner->GetSpokeColors().empty());
    // Ticks and paints with no spokes draw nothing.
    PumpUntil([] { return false; }, 150);
    const WindowShot none = skin.Shoot(L"skin_nospokes");
    EXPECT_FALSE(spinner->HasPicture());
    EXPECT_FALSE(none.HasInk(spinner->GetPos(), 0xFFFFFF));

    spinner->ApplyAttribute(L"spokenum", L"-5");
    EXPECT_EQ(0, spinner->GetSpokeCount());
    spinner->ApplyAttribute(L"spokenum", L"100000000");
    EXPECT_EQ(CChrysanthemumLoadingUI::kMaxSpokes, spinner->GetSpokeCount());
    EXPECT_EQ(360u, spinner->GetSpokeColors().size());
    EXPECT_EQ(360u, spinner->GetSpokeAngles().size());
    skin.Shoot(L"skin_manyspokes");
}

TEST(SkinAnimated, KeptFramesDrawOnceAndStayWithinTheirBudget)
{
    CSkinWindow skin(L"animated.xml");  // starts GDI+
    ASSERT_TRUE(skin.Built());
    constexpr int kSide = 1024;  // 4 MB a picture: two fit the budget
    ASSERT_EQ(2 * kSide * kSide * 4u, CFrameCache::kMaxBytes);
    BYTE* bits = nullptr;
    HBITMAP target = CRenderKit::CreateDib32(kSide, kSide, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(target != nullptr && dc != nullptr);
    HGDIOBJ previous = SelectObject(dc, target);
    const auto* pixels = reinterpret_cast<const DWORD*>(bits);

    CFrameCache frames;
    int renders = 0;
    const RECT place = {0, 0, kSide, kSide};
    const auto draw = [&](unsigned key, DWORD color, const RECT& where) {
        return frames.Draw(dc, where, where, key, [&](Gdiplus::GpGraphics* graphics) {
            ++renders;
            Gdiplus::DllExports::GdipGraphicsClear(graphics, color);
        });
    };
    ASSERT_TRUE(draw(1, 0xFFFF0000, place));
    EXPECT_EQ(0xFF0000u, pixels[kSide * 10 + 10] & 0xFFFFFF) << "the rendered picture is what shows";
    ASSERT_TRUE(draw(1, 0xFF00FF00, place));
    EXPECT_EQ(1, renders) << "a kept frame is not drawn again";
    EXPECT_EQ(0xFF0000u, pixels[kSide * 10 + 10] & 0xFFFFFF);
    ASSERT_TRUE(draw(2, 0xFF0000FF, place));
    EXPECT_EQ(2u, frames.Count());
    ASSERT_TRUE(draw(3, 0xFF0000FF, place));
    EXPECT_EQ(1u, frames.Count()) << "a third picture does not fit beside two";
    ASSERT_TRUE(draw(1, 0xFF00FF00, place));
    EXPECT_EQ(4, renders);
    EXPECT_EQ(0x00FF00u, pixels[kSide * 10 + 10] & 0xFFFFFF);
    // Another size: the pictures of the old one go.
    const RECT smaller = {0, 0, kSide / 2, kSide / 2};
    ASSERT_TRUE(draw(1, 0xFFFF0000, smaller));
    EXPECT_EQ(5, renders);
    EXPECT_EQ(1u, frames.Count());
    EXPECT_EQ(0xFF0000u, pixels[kSide * 10 + 10] & 0xFFFFFF);
    EXPECT_FALSE(draw(4, 0xFFFF0000, RECT{5, 5, 5, 9})) << "an empty place has no picture";

    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(target);
}

}  // namespace
}  // namespace test
}  // namespace DuiLib
