#include "ui/core/PtrList.h"

#include <gtest/gtest.h>

using DuiLib::CPtrList;

namespace {

// Distinct, recognisable element pointers; the list never dereferences them.
void* Element(int n)
{
    static int slots[64];
    return &slots[n];
}

void AddElements(CPtrList& list, int first, int count)
{
    for (int i = first; i < first + count; ++i)
        ASSERT_TRUE(list.Add(Element(i)));
}

}  // namespace

TEST(PtrListGrowth, GrowsFromNoneTo11Then22Then44Slots)
{
    CPtrList list;
    EXPECT_EQ(0, list.GetSlotCount());
    EXPECT_TRUE(list.IsEmpty());

    AddElements(list, 0, 1);
    EXPECT_EQ(11, list.GetSlotCount());
    AddElements(list, 1, 9);
    EXPECT_EQ(10, list.GetSize());
    EXPECT_EQ(11, list.GetSlotCount());
    AddElements(list, 10, 1);
    EXPECT_EQ(22, list.GetSlotCount());
    AddElements(list, 11, 10);
    EXPECT_EQ(21, list.GetSize());
    EXPECT_EQ(22, list.GetSlotCount());
    AddElements(list, 21, 1);
    EXPECT_EQ(44, list.GetSlotCount());
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(Element(i), list.GetAt(i));
}

TEST(PtrListGrowth, InitialSlotsDoubleWhenTheSizeReachesThem)
{
    CPtrList list(5);
    EXPECT_EQ(5, list.GetSlotCount());
    EXPECT_EQ(0, list.GetSize());
    AddElements(list, 0, 4);
    EXPECT_EQ(5, list.GetSlotCount());
    AddElements(list, 4, 1);
    EXPECT_EQ(10, list.GetSlotCount());
}

TEST(PtrListGrowth, InsertAtGrowsLikeAdd)
{
    CPtrList list;
    EXPECT_TRUE(list.InsertAt(0, Element(0)));
    EXPECT_EQ(11, list.GetSlotCount());
    AddElements(list, 1, 9);
    EXPECT_TRUE(list.InsertAt(5, Element(10)));
    EXPECT_EQ(22, list.GetSlotCount());
}

TEST(PtrListGrowth, CopyAppendsTheElementsInOrder)
{
    CPtrList original(30);
    AddElements(original, 0, 3);
    const CPtrList copy(original);
    EXPECT_EQ(3, copy.GetSize());
    EXPECT_EQ(11, copy.GetSlotCount());
    EXPECT_EQ(Element(0), copy.GetAt(0));
    EXPECT_EQ(Element(2), copy.GetAt(2));
}

TEST(PtrListEdit, InsertAtShiftsLaterElementsAndRejectsOutOfRangeIndexes)
{
    CPtrList list;
    AddElements(list, 0, 3);
    EXPECT_TRUE(list.InsertAt(1, Element(9)));
    EXPECT_TRUE(list.InsertAt(4, Element(8)));
    ASSERT_EQ(5, list.GetSize());
    const void* expected[] = {Element(0), Element(9), Element(1), Element(2), Element(8)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], list.GetAt(i)) << "index " << i;

    EXPECT_FALSE(list.InsertAt(-1, Element(7)));
    EXPECT_FALSE(list.InsertAt(6, Element(7)));
    EXPECT_EQ(5, list.GetSize());
}

TEST(PtrListEdit, RemoveClosesTheGapAndRejectsBadRanges)
{
    CPtrList list;
    AddElements(list, 0, 6);
    EXPECT_FALSE(list.Remove(0, 0));
    EXPECT_FALSE(list.Remove(-1, 1));
    EXPECT_FALSE(list.Remove(4, 3));
    EXPECT_EQ(6, list.GetSize());

    EXPECT_TRUE(list.Remove(1, 2));
    ASSERT_EQ(4, list.GetSize());
    EXPECT_EQ(Element(0), list.GetAt(0));
    EXPECT_EQ(Element(3), list.GetAt(1));
    EXPECT_EQ(Element(5), list.GetAt(3));

    EXPECT_TRUE(list.Remove(list.GetSize() - 1, 1));
    EXPECT_EQ(3, list.GetSize());
    EXPECT_EQ(Element(4), list.GetAt(2));
    EXPECT_TRUE(list.Remove(0));
    EXPECT_EQ(Element(3), list.GetAt(0));
    EXPECT_EQ(11, list.GetSlotCount());
}

TEST(PtrListLookup, FindGivesTheFirstMatchingSlot)
{
    CPtrList list;
    AddElements(list, 0, 3);
    ASSERT_TRUE(list.Add(Element(1)));
    EXPECT_EQ(1, list.Find(Element(1)));
    EXPECT_EQ(-1, list.Find(Element(7)));
    EXPECT_EQ(-1, list.Find(nullptr));
}

TEST(PtrListLookup, GetAtIsNullOutsideTheElements)
{
    CPtrList list;
    EXPECT_EQ(nullptr, list.GetAt(0));
    AddElements(list, 0, 2);
    EXPECT_EQ(Element(1), list.GetAt(1));
    EXPECT_EQ(Element(0), list[0]);
    EXPECT_EQ(nullptr, list.GetAt(2));
    EXPECT_EQ(nullptr, list.GetAt(-1));
}

TEST(PtrListReset, ResizeDropsElementsAndLeavesNNullSlots)
{
    CPtrList list;
    AddElements(list, 0, 3);
    list.Resize(4);
    EXPECT_EQ(4, list.GetSize());
    EXPECT_EQ(4, list.GetSlotCount());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(nullptr, list.GetAt(i));
    AddElements(list, 5, 1);
    EXPECT_EQ(8, list.GetSlotCount());
    EXPECT_EQ(Element(5), list.GetAt(4));

    list.Resize(0);
    EXPECT_EQ(0, list.GetSize());
    EXPECT_EQ(0, list.GetSlotCount());
}

TEST(PtrListReset, ResizeBeyondAddressableMemoryLeavesTheListEmpty)
{
    CPtrList list;
    AddElements(list, 0, 2);
    list.Resize(0x40000000);
    EXPECT_EQ(0, list.GetSize());
    EXPECT_EQ(0, list.GetSlotCount());
    EXPECT_TRUE(list.Add(Element(0)));
    EXPECT_EQ(11, list.GetSlotCount());
}

TEST(PtrListReset, EmptyFreesTheArray)
{
    CPtrList list;
    AddElements(list, 0, 12);
    list.Empty();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(0, list.GetSlotCount());
    EXPECT_EQ(nullptr, list.GetAt(0));
}
