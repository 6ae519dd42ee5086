#include "app/StringHelpers.h"

#include <gtest/gtest.h>

using kalvex::SplitString;

TEST(SplitString, DoubledAndTrailingDelimitersCollapse)
{
    std::vector<std::wstring> pieces;
    SplitString(L"C:\\a\\\\b\\", L"\\", pieces);
    EXPECT_EQ((std::vector<std::wstring>{L"C:", L"a", L"b"}), pieces);
}
