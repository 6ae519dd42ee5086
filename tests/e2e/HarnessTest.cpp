// The harness itself against a window whose pixels and behaviour are known
// (the benchmark's minimal window: 64 colour bands, a click ends it), so a
// failing scenario points at the uninstaller and not at the input or capture.
#include "tests/e2e/E2eSupport.h"

#include <gtest/gtest.h>

namespace kalvex::e2e {

TEST(Harness, CaptureSeesThePaintedBandsAndAClickReachesTheWindow)
{
    CProcessSet processes;
    HANDLE program = processes.Start(BesideTestProgram(L"minimal_window.exe"));
    ASSERT_NE(nullptr, program);
    HWND window = WaitForWindow(L"KalvexMinimalWindow", nullptr, ProcessIdOf(program), kWindowWaitMs);
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(MovePointerTo(POINT{2, 2}));

    CShot shot;
    ASSERT_TRUE(WaitUntil([&] { return (shot = CaptureWindow(window)).DistinctColours() >= 64; }, kWindowWaitMs));
    ASSERT_EQ(680, shot.width);
    ASSERT_EQ(420, shot.height);
    // Band 0 spans rows 0..5 in RGB(0, 128, 255), band 63 rows 413..419 in
    // RGB(252, 191, 129); the capture holds them as 0x00RRGGBB.
    EXPECT_EQ(0x0080FFu, shot.pixels[3 * shot.width + 340] & 0xFFFFFF);
    EXPECT_EQ(0xFCBF81u, shot.pixels[417 * shot.width + 340] & 0xFFFFFF);
    EXPECT_FALSE(SavePng(shot, L"harness_minimal_window").empty());

    ASSERT_TRUE(ClickAt(window, POINT{340, 210}));
    EXPECT_EQ(0, WaitForExitCode(program, kExitWaitMs)) << "the click did not reach the window";
}

}  // namespace kalvex::e2e
