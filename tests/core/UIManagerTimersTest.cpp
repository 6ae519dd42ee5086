// Control timers through a real window: real WM_TIMER ticks, the platform ids
// (the first is 17, ids cycle modulo 255 and skip ids still held), killing
// and restarting, and controls deleted from inside their own tick.
#include <windows.h>

#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "tests/core/TreeProbe.h"

using namespace DuiLib;
using DuiLib::test::CManagerHost;
using DuiLib::test::CTreeProbe;
using DuiLib::test::PumpMessages;
using DuiLib::test::PumpUntil;
using DuiLib::test::Trail;

namespace {

// A period no test waits for: ticks are only those the test sends.
constexpr UINT kNeverMs = 600000;

class TimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
        host = std::make_unique<CManagerHost>();
        ASSERT_NE(nullptr, host->Create(nullptr, L"timers", WS_POPUP, 0, 0, 0, 100, 100));
        window = host->GetHWND();
        root = new CTreeProbe(&trail, L"root", RECT{0, 0, 100, 100});
        a = root->Add(new CTreeProbe(&trail, L"a", RECT{0, 0, 10, 10}));
        b = root->Add(new CTreeProbe(&trail, L"b", RECT{10, 0, 20, 10}));
        c = root->Add(new CTreeProbe(&trail, L"c", RECT{20, 0, 30, 10}));
        for (CTreeProbe* probe : {a, b, c})
            probe->onEvent = [this](CTreeProbe& probe, UIEvent& event) {
                if (event.type == UIEVENT_TIMER)
                    ticks.push_back(Tick{probe.GetName().GetData(), event.wParam});
            };
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

    // Who a WM_TIMER with this platform id reaches: "name key", or "" when
    // nobody.
    std::wstring Reach(WPARAM platformId)
    {
        ticks.clear();
        SendMessageW(window, WM_TIMER, platformId, 0);
        return ticks.empty() ? L"" : ticks[0].name + L" " + std::to_wstring(ticks[0].key);
    }

    struct Tick
    {
        std::wstring name;
        WPARAM key;
    };

    std::unique_ptr<CManagerHost> host;
    HWND window = nullptr;
    Trail trail;
    std::vector<Tick> ticks;
    CTreeProbe* root = nullptr;
    CTreeProbe* a = nullptr;
    CTreeProbe* b = nullptr;
    CTreeProbe* c = nullptr;
};

}  // namespace

TEST_F(TimerTest, RealTicksReachTheControlAsTimerEventsWithItsKey)
{
    ASSERT_TRUE(Manager().SetTimer(a, 7, 10));
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 2; }, 2000)) << "the platform timer ticks";
    EXPECT_EQ(L"a", ticks[0].name);
    EXPECT_EQ(7u, ticks[0].key);
}

TEST_F(TimerTest, FirstIdIs17AndAKilledTimerRestartsWithItsId)
{
    EXPECT_FALSE(Manager().SetTimer(nullptr, 1, 10));
    ASSERT_TRUE(Manager().SetTimer(a, 7, kNeverMs));
    EXPECT_EQ(L"a 7", Reach(17));
    EXPECT_FALSE(Manager().SetTimer(a, 7, kNeverMs)) << "already running";

    EXPECT_TRUE(Manager().KillTimer(a, 7));
    EXPECT_FALSE(Manager().KillTimer(a, 7)) << "no running timer left";
    EXPECT_EQ(L"", Reach(17)) << "a tick of a killed timer is dropped";
    ASSERT_TRUE(Manager().SetTimer(a, 7, kNeverMs));
    EXPECT_EQ(L"a 7", Reach(17));
    ASSERT_TRUE(Manager().SetTimer(a, 8, kNeverMs));
    EXPECT_EQ(L"a 8", Reach(18)) << "the restart took no new id";
}

TEST_F(TimerTest, IdsCycleModulo255AndTheCycleSkipsIdsStillHeld)
{
    ASSERT_TRUE(Manager().SetTimer(a, 0, kNeverMs));  // id 17
    for (UINT key = 1; key < 255; ++key)
        ASSERT_TRUE(Manager().SetTimer(b, key, kNeverMs)) << key;
    EXPECT_EQ(L"b 237", Reach(254));
    EXPECT_EQ(L"b 238", Reach(0)) << "after 254 comes 0";
    EXPECT_EQ(L"b 254", Reach(16));
    EXPECT_FALSE(Manager().SetTimer(c, 0, kNeverMs)) << "all 255 ids are held";

    // 17 is still held by a: the next free id after it is taken.
    Manager().KillTimers(b);
    EXPECT_EQ(L"", Reach(18));
    ASSERT_TRUE(Manager().SetTimer(c, 0, kNeverMs));
    EXPECT_EQ(L"c 0", Reach(18));
    EXPECT_EQ(L"a 0", Reach(17));

    // Once nothing holds 17, the 256th timer of the cycle takes it again.
    Manager().KillTimers(a);
    for (UINT key = 1; key < 254; ++key)
        ASSERT_TRUE(Manager().SetTimer(c, key, kNeverMs)) << key;
    EXPECT_EQ(L"c 253", Reach(16));
    ASSERT_TRUE(Manager().SetTimer(b, 99, kNeverMs));
    EXPECT_EQ(L"b 99", Reach(17));
}

TEST_F(TimerTest, KillTimersStopsEveryTimerOfTheControlOnly)
{
    ASSERT_TRUE(Manager().SetTimer(a, 1, kNeverMs));
    ASSERT_TRUE(Manager().SetTimer(a, 2, kNeverMs));
    ASSERT_TRUE(Manager().SetTimer(b, 1, kNeverMs));
    Manager().KillTimers(a);
    EXPECT_EQ(L"", Reach(17));
    EXPECT_EQ(L"", Reach(18));
    EXPECT_EQ(L"b 1", Reach(19));
    EXPECT_FALSE(Manager().KillTimer(a, 1)) << "the records are gone";
}

TEST_F(TimerTest, ControlDeletedFromItsOwnTickTicksNoMore)
{
    a->onEvent = [](CTreeProbe& probe, UIEvent& event) {
        if (event.type == UIEVENT_TIMER)
            probe.Delete();
    };
    ASSERT_TRUE(Manager().SetTimer(a, 3, 10));
    ASSERT_TRUE(Manager().SetTimer(b, 3, 10));
    ASSERT_TRUE(PumpUntil([&] { return !CTreeProbe::Destroyed().empty(); }, 2000));
    const size_t before = ticks.size();
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= before + 3; }, 2000)) << "b goes on ticking";
    EXPECT_EQ(L"", Reach(17));
    EXPECT_EQ(0, CTreeProbe::CallsAfterDeletion());
}

TEST_F(TimerTest, TickThatKillsItsOwnTimerGetsNoMoreTicks)
{
    int count = 0;
    a->onEvent = [&](CTreeProbe& probe, UIEvent& event) {
        if (event.type == UIEVENT_TIMER && ++count == 1)
        {
            EXPECT_TRUE(Manager().KillTimer(&probe, 5));
        }
    };
    ASSERT_TRUE(Manager().SetTimer(a, 5, 10));
    ASSERT_TRUE(Manager().SetTimer(b, 5, 10));
    ASSERT_TRUE(PumpUntil([&] { return ticks.size() >= 4; }, 2000));
    EXPECT_EQ(1, count);
}

TEST(UIManagerTimersWithoutWindow, SetTimerFails)
{
    CUIManager manager;
    CTreeProbe* probe = new CTreeProbe(nullptr, L"p", RECT{0, 0, 1, 1});
    EXPECT_FALSE(manager.SetTimer(probe, 1, 10));
    probe->Delete();
    CTreeProbe::ReleaseTombstones();
}
