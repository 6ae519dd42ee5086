#include "ui/control/ControlInterface.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

using namespace DuiLib;

namespace {

// Entry of a virtual operation in the vtable. In the Itanium C++ ABI that
// mingw-w64 follows, a pointer to a virtual member holds 1 + the entry's
// byte offset. The destructor fills two entries (complete and deleting), so
// slot n of the interface is entry n for n < 2 and entry n + 1 after it.
template <class Member>
int VtableEntry(Member member)
{
    static_assert(sizeof(Member) == 2 * sizeof(void*), "unexpected member-pointer layout");
    std::uintptr_t words[2];
    std::memcpy(words, &member, sizeof(member));
    EXPECT_EQ(1u, words[0] % sizeof(void*)) << "not a virtual member";
    return static_cast<int>((words[0] - 1) / sizeof(void*));
}

int EntryOfSlot(int slot)
{
    return slot < 2 ? slot : slot + 1;
}

}  // namespace

TEST(ControlInterfaceSlots, DeleteComesBeforeTheDestructor)
{
    EXPECT_EQ(0, VtableEntry(&IControlUI::Delete));
    EXPECT_EQ(EntryOfSlot(2), VtableEntry(&IControlUI::GetName));
}

TEST(ControlInterfaceSlots, OperationsKeepTheirSlotOrder)
{
    using I = IControlUI;
    const int entries[] = {
        VtableEntry(&I::GetName),             // 2
        VtableEntry(&I::SetName),             // 3
        VtableEntry(&I::GetClass),            // 4
        VtableEntry(&I::CastTo),              // 5
        VtableEntry(&I::ControlFlagBits),     // 6
        VtableEntry(&I::HostedWindowHandle),  // 7
        VtableEntry(&I::Activate),            // 8
        VtableEntry(&I::GetManager),          // 9
        VtableEntry(&I::BindManager),         // 10
        VtableEntry(&I::GetParent),           // 11
        VtableEntry(&I::OverlayControl),      // 12
        VtableEntry(&I::SetOverlayControl),   // 13
        VtableEntry(&I::GetText),             // 14
        VtableEntry(&I::SetText),             // 15
        VtableEntry(&I::GetPos),              // 16
        VtableEntry(&I::RelativeRect),        // 17
        VtableEntry(&I::ClientRect),          // 18
        VtableEntry(&I::PlaceAt),             // 19
        VtableEntry(&I::Move),                // 20
        VtableEntry(&I::GetWidth),            // 21
        VtableEntry(&I::GetHeight),           // 22
        VtableEntry(&I::GetX),                // 23
        VtableEntry(&I::GetY),                // 24
        VtableEntry(&I::GetPadding),          // 25
        VtableEntry(&I::SetPadding),          // 26
        VtableEntry(&I::GetFixedXY),          // 27
        VtableEntry(&I::SetFixedXY),          // 28
        VtableEntry(&I::GetFloatPercent),     // 29
        VtableEntry(&I::SetFloatPercent),     // 30
        VtableEntry(&I::GetFixedWidth),       // 31
        VtableEntry(&I::SetFixedWidth),       // 32
        VtableEntry(&I::GetFixedHeight),      // 33
        VtableEntry(&I::SetFixedHeight),      // 34
        VtableEntry(&I::GetMinWidth),         // 35
        VtableEntry(&I::SetMinWidth),         // 36
        VtableEntry(&I::GetMaxWidth),         // 37
        VtableEntry(&I::SetMaxWidth),         // 38
        VtableEntry(&I::GetMinHeight),        // 39
        VtableEntry(&I::SetMinHeight),        // 40
        VtableEntry(&I::GetMaxHeight),        // 41
        VtableEntry(&I::SetMaxHeight),        // 42
        VtableEntry(&I::GetToolTip),          // 43
        VtableEntry(&I::SetToolTip),          // 44
        VtableEntry(&I::SetToolTipWidth),     // 45
        VtableEntry(&I::GetToolTipWidth),     // 46
        VtableEntry(&I::GetShortcut),         // 47
        VtableEntry(&I::SetShortcut),         // 48
        VtableEntry(&I::IsContextMenuUsed),   // 49
        VtableEntry(&I::SetContextMenuUsed),  // 50
        VtableEntry(&I::GetUserData),         // 51
        VtableEntry(&I::SetUserData),         // 52
        VtableEntry(&I::GetTag),              // 53
        VtableEntry(&I::SetTag),              // 54
        VtableEntry(&I::IsVisible),           // 55
        VtableEntry(&I::SetVisible),          // 56
        VtableEntry(&I::SetInheritedVisible), // 57
        VtableEntry(&I::IsEnabled),           // 58
        VtableEntry(&I::SetEnabled),          // 59
        VtableEntry(&I::IsMouseEnabled),      // 60
        VtableEntry(&I::SetMouseEnabled),     // 61
        VtableEntry(&I::IsKeyboardEnabled),   // 62
        VtableEntry(&I::SetKeyboardEnabled),  // 63
        VtableEntry(&I::IsFocused),           // 64
        VtableEntry(&I::SetFocus),            // 65
        VtableEntry(&I::IsFloat),             // 66
        VtableEntry(&I::SetFloat),            // 67
        VtableEntry(&I::LocateControl),       // 68
        VtableEntry(&I::Init),                // 69
        VtableEntry(&I::OnInitialised),       // 70
        VtableEntry(&I::Event),               // 71
        VtableEntry(&I::HandleEvent),         // 72
        VtableEntry(&I::GetAttribute),        // 73
        VtableEntry(&I::ApplyAttribute),      // 74
        VtableEntry(&I::AttributeListText),   // 75
        VtableEntry(&I::ApplyAttributeText),  // 76
        VtableEntry(&I::MeasureDesired),      // 77
        VtableEntry(&I::Paint),               // 78
        VtableEntry(&I::PaintInto),           // 79
        VtableEntry(&I::PaintBackColor),      // 80
        VtableEntry(&I::PaintBackImage),      // 81
        VtableEntry(&I::PaintStateImage),     // 82
        VtableEntry(&I::PaintText),           // 83
        VtableEntry(&I::PaintFrame),          // 84
        VtableEntry(&I::PaintOverlay),        // 85
    };
    int slot = 2;
    for (int entry : entries) {
        EXPECT_EQ(EntryOfSlot(slot), entry) << "slot " << slot;
        ++slot;
    }
    EXPECT_EQ(86, slot);
}

TEST(ControlInterfaceSlots, SharedOperationsFollowTheLastFixedSlot)
{
    const int last = VtableEntry(&IControlUI::PaintOverlay);
    EXPECT_GT(VtableEntry(&IControlUI::Invalidate), last);
    EXPECT_GT(VtableEntry(&IControlUI::RequestLayout), last);
    EXPECT_GT(VtableEntry(&IControlUI::VirtualWindowName), last);
    EXPECT_GT(VtableEntry(&IControlUI::NotifyHub), last);
    EXPECT_GT(VtableEntry(&IControlUI::PostPaintHub), last);
}

TEST(ControlInterfaceFlags, ControlFlagBitsAreTabStopAndSetCursor)
{
    EXPECT_EQ(1u, UIFLAG_TABSTOP);
    EXPECT_EQ(2u, UIFLAG_SETCURSOR);
}

TEST(ControlInterfaceFlags, LocateFlagsCombineIntoTheManagersSearches)
{
    EXPECT_EQ(0x1u, UIFIND_VISIBLE);
    EXPECT_EQ(0x2u, UIFIND_ENABLED);
    EXPECT_EQ(0x4u, UIFIND_HITTEST);
    EXPECT_EQ(0x8u, UIFIND_UPDATETEST);
    EXPECT_EQ(0x10u, UIFIND_TOP_FIRST);
    EXPECT_EQ(0x80000000u, UIFIND_ME_FIRST);
    // The layout pass's search and the shortcut search.
    EXPECT_EQ(0x80000009u, UIFIND_VISIBLE | UIFIND_UPDATETEST | UIFIND_ME_FIRST);
    EXPECT_EQ(0x80000012u, UIFIND_ENABLED | UIFIND_TOP_FIRST | UIFIND_ME_FIRST);
}
