#include "ui/core/NameMap.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using DuiLib::CNameMap;

namespace {

int g_values[8];

std::vector<std::wstring> Keys(const CNameMap& map)
{
    std::vector<std::wstring> keys;
    for (int i = 0; i < map.GetSize(); ++i)
        keys.push_back(map.GetAt(i));
    return keys;
}

using KeyList = std::vector<std::wstring>;

}  // namespace

// Single-unit keys hash to their code: with 83 buckets, "A" (65) is in bucket
// 65, "B" (66) in 66, "a" (97) in 14, and U+0094 (148) and U+00E7 (231) share
// bucket 65 with "A".

TEST(NameMapEnumeration, VisitsBucketsFromTheLastToTheFirst)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"a", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"A", &g_values[1]));
    ASSERT_TRUE(map.Insert(L"B", &g_values[2]));
    EXPECT_EQ((KeyList{L"B", L"A", L"a"}), Keys(map));
}

TEST(NameMapEnumeration, NewItemsGoToTheHeadOfTheirChain)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"\x0094", &g_values[1]));
    ASSERT_TRUE(map.Insert(L"\x00E7", &g_values[2]));
    EXPECT_EQ((KeyList{L"\x00E7", L"\x0094", L"A"}), Keys(map));
}

TEST(NameMapEnumeration, GetAtIsNullOutsideTheItems)
{
    CNameMap map;
    EXPECT_EQ(nullptr, map.GetAt(0));
    ASSERT_TRUE(map.Insert(L"x", nullptr));
    EXPECT_STREQ(L"x", map.GetAt(0));
    EXPECT_EQ(nullptr, map.GetAt(1));
    EXPECT_EQ(nullptr, map.GetAt(-1));
}

TEST(NameMapHashing, UnitsAreTakenFromTheLastToTheFirst)
{
    // "ab": 98 * 33 + 97 = 3331, bucket 11. "ba": 97 * 33 + 98 = 3299, bucket
    // 62. A first-to-last hash would swap the two buckets. The neighbours pin
    // the buckets exactly: "_" (95) is bucket 12, "]" (93) bucket 10, "?" 63
    // and "=" 61.
    CNameMap map;
    for (const wchar_t* key : {L"ab", L"ba", L"_", L"]", L"?", L"="})
        ASSERT_TRUE(map.Insert(key, nullptr));
    EXPECT_EQ((KeyList{L"?", L"ba", L"=", L"_", L"ab", L"]"}), Keys(map));
}

TEST(NameMapHashing, BucketCountStaysAt83WhateverTheItemCount)
{
    // 65, 148 and 231 share a bucket only when the bucket count divides 83,
    // so "A", U+0094 and U+00E7 enumerate as one chain, newest first, only
    // while the map still has its 83 buckets.
    CNameMap map;
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(map.Insert((L"skin/item" + std::to_wstring(i) + L".png").c_str(), nullptr));
    ASSERT_TRUE(map.Insert(L"A", nullptr));
    ASSERT_TRUE(map.Insert(L"\x0094", nullptr));
    ASSERT_TRUE(map.Insert(L"\x00E7", nullptr));
    const KeyList keys = Keys(map);
    ASSERT_EQ(1003u, keys.size());
    size_t at = 0;
    while (at < keys.size() && keys[at] != L"\x00E7")
        ++at;
    ASSERT_LT(at + 2, keys.size());
    EXPECT_EQ(L"\x0094", keys[at + 1]);
    EXPECT_EQ(L"A", keys[at + 2]);
}

TEST(NameMapHashing, HashWrapsInUnsigned32Bits)
{
    // "btn/close_btn.png" hashes to 3120827647 after wrapping, bucket 8 (an
    // unbounded hash would give bucket 65); "\" (92) is bucket 9, "Z" (90)
    // bucket 7.
    CNameMap map;
    for (const wchar_t* key : {L"btn/close_btn.png", L"\\", L"Z", L"A"})
        ASSERT_TRUE(map.Insert(key, nullptr));
    EXPECT_EQ((KeyList{L"A", L"\\", L"btn/close_btn.png", L"Z"}), Keys(map));
}

TEST(NameMapHashing, EmptyKeyHashesToTheFirstBucket)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"T", nullptr));  // 84: bucket 1
    EXPECT_EQ((KeyList{L"T", L""}), Keys(map));
    EXPECT_EQ(&g_values[0], map.Find(L""));
}

TEST(NameMapHashing, BucketCountBelow16IsRaisedTo16)
{
    // With 16 buckets: "B" is bucket 2, "A" and "a" share bucket 1.
    CNameMap map(5);
    ASSERT_TRUE(map.Insert(L"A", nullptr));
    ASSERT_TRUE(map.Insert(L"B", nullptr));
    ASSERT_TRUE(map.Insert(L"a", nullptr));
    EXPECT_EQ((KeyList{L"B", L"a", L"A"}), Keys(map));
}

TEST(NameMapLookup, FindMovesTheFoundItemToTheHeadOfItsChain)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"\x0094", &g_values[1]));
    ASSERT_TRUE(map.Insert(L"\x00E7", &g_values[2]));

    EXPECT_EQ(&g_values[1], map.Find(L"\x0094"));
    EXPECT_EQ((KeyList{L"\x0094", L"\x00E7", L"A"}), Keys(map));
    EXPECT_EQ(&g_values[0], map.Find(L"A"));
    EXPECT_EQ((KeyList{L"A", L"\x0094", L"\x00E7"}), Keys(map));
    EXPECT_EQ(&g_values[0], map.Find(L"A"));
    EXPECT_EQ((KeyList{L"A", L"\x0094", L"\x00E7"}), Keys(map));
}

TEST(NameMapLookup, FindWithoutMoveToFrontKeepsTheOrder)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"\x0094", &g_values[1]));
    for (int i = 0; i < map.GetSize(); ++i)
        EXPECT_NE(nullptr, map.Find(map.GetAt(i), false));
    EXPECT_EQ((KeyList{L"\x0094", L"A"}), Keys(map));
}

TEST(NameMapLookup, KeysAreCaseSensitive)
{
    CNameMap map;
    EXPECT_TRUE(map.Insert(L"Key", &g_values[0]));
    EXPECT_TRUE(map.Insert(L"key", &g_values[1]));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_EQ(&g_values[0], map.Find(L"Key"));
    EXPECT_EQ(&g_values[1], map.Find(L"key"));
    EXPECT_EQ(nullptr, map.Find(L"KEY"));
    EXPECT_EQ(nullptr, map.Find(nullptr));
}

TEST(NameMapUpdate, InsertNeverReplacesButSetDoes)
{
    CNameMap map;
    EXPECT_TRUE(map.Insert(L"font", &g_values[0]));
    EXPECT_FALSE(map.Insert(L"font", &g_values[1]));
    EXPECT_EQ(&g_values[0], map.Find(L"font"));

    EXPECT_EQ(&g_values[0], map.Set(L"font", &g_values[2]));
    EXPECT_EQ(&g_values[2], map.Find(L"font"));
    EXPECT_EQ(nullptr, map.Set(L"image", &g_values[3]));
    EXPECT_EQ(&g_values[3], map.Find(L"image"));
    EXPECT_EQ(2, map.GetSize());

    EXPECT_FALSE(map.Insert(nullptr, &g_values[4]));
    EXPECT_EQ(&g_values[4], map.Set(nullptr, &g_values[4]));
    EXPECT_EQ(2, map.GetSize());
}

TEST(NameMapUpdate, RemoveUnlinksHeadMiddleAndTailItems)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", &g_values[0]));
    ASSERT_TRUE(map.Insert(L"\x0094", &g_values[1]));
    ASSERT_TRUE(map.Insert(L"\x00E7", &g_values[2]));
    ASSERT_TRUE(map.Insert(L"B", &g_values[3]));

    EXPECT_TRUE(map.Remove(L"\x0094"));
    EXPECT_EQ((KeyList{L"B", L"\x00E7", L"A"}), Keys(map));
    EXPECT_TRUE(map.Remove(L"\x00E7"));
    EXPECT_EQ((KeyList{L"B", L"A"}), Keys(map));
    EXPECT_TRUE(map.Remove(L"A"));
    EXPECT_FALSE(map.Remove(L"A"));
    EXPECT_FALSE(map.Remove(nullptr));
    EXPECT_EQ(1, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"A"));
    EXPECT_EQ(&g_values[3], map.Find(L"B"));

    ASSERT_TRUE(map.Insert(L"A", &g_values[5]));
    EXPECT_EQ(&g_values[5], map.Find(L"A"));
}

TEST(NameMapUpdate, RemoveAllKeepsTheBucketCount)
{
    CNameMap map(5);
    ASSERT_TRUE(map.Insert(L"A", nullptr));
    ASSERT_TRUE(map.Insert(L"B", nullptr));
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.GetAt(0));

    ASSERT_TRUE(map.Insert(L"A", nullptr));
    ASSERT_TRUE(map.Insert(L"B", nullptr));
    ASSERT_TRUE(map.Insert(L"a", nullptr));
    EXPECT_EQ((KeyList{L"B", L"a", L"A"}), Keys(map));
}

TEST(NameMapUpdate, ResizeToZeroBucketsStoresAndFindsNothing)
{
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", &g_values[0]));
    map.Resize(0);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"A"));
    EXPECT_FALSE(map.Insert(L"A", &g_values[0]));
    EXPECT_EQ(&g_values[1], map.Set(L"A", &g_values[1]));
    EXPECT_FALSE(map.Remove(L"A"));
    EXPECT_EQ(0, map.GetSize());

    map.Resize(-4);
    EXPECT_FALSE(map.Insert(L"A", &g_values[0]));
}

TEST(NameMapUpdate, ResizeDropsItemsAndUsesTheNewBucketCount)
{
    // Resize takes the count as given, without the constructor's minimum of
    // 16: with 5 buckets "E" (69) is in bucket 4 and "F" (70) in 0; with 16
    // they would be in 5 and 6 and enumerate the other way round.
    CNameMap map;
    ASSERT_TRUE(map.Insert(L"A", nullptr));
    map.Resize(5);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(nullptr, map.Find(L"A"));
    ASSERT_TRUE(map.Insert(L"F", nullptr));
    ASSERT_TRUE(map.Insert(L"E", nullptr));
    EXPECT_EQ((KeyList{L"E", L"F"}), Keys(map));
}
