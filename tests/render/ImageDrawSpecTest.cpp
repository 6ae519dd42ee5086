// The image description language without any drawing: every key, the
// quoting and spacing rules, the whole-string fallback and the value readers.
#include "ui/render/ImageDrawSpec.h"

#include <gtest/gtest.h>

using namespace DuiLib;

namespace {

struct Parsed
{
    ImageRequest request;
    ImageDrawSpec spec;
};

Parsed Parse(const wchar_t* text)
{
    Parsed parsed;
    ParseImageDescription(text, parsed.request, parsed.spec);
    return parsed;
}

bool Is(const RECT& r, LONG left, LONG top, LONG right, LONG bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

}  // namespace

TEST(ImageDescription, TextWithoutItemsNamesTheImageByItself)
{
    for (const wchar_t* text : {L"bk/main_bk.png", L"dest='1,2,3,4'", L"FILE='a.png'", L"file=''", L""})
        EXPECT_STREQ(text, Parse(text).request.name.GetData());
    EXPECT_STREQ(L"", Parse(nullptr).request.name.GetData());
}

TEST(ImageDescription, EveryKeyReachesItsField)
{
    Parsed p = Parse(L"file='bk/unins_pro_bk.png' dest='0,0,120,9' source='1,2,3,4' corner='0,0,5,0' "
                     L"mask='#FFFF00FF' fade='128' hole='true' xtiled='true' ytiled='true' hsl='true'");
    EXPECT_STREQ(L"bk/unins_pro_bk.png", p.request.name.GetData());
    EXPECT_TRUE(Is(p.spec.destOffset, 0, 0, 120, 9));
    EXPECT_TRUE(Is(p.spec.sourcePart, 1, 2, 3, 4));
    EXPECT_TRUE(Is(p.spec.corners, 0, 0, 5, 0));
    EXPECT_EQ(0xFFFF00FFu, p.request.mask);
    EXPECT_EQ(128, p.spec.fade);
    EXPECT_TRUE(p.spec.hole && p.spec.xTiled && p.spec.yTiled && p.request.hsl);
    EXPECT_FALSE(p.request.useResType);
    EXPECT_TRUE(Is(Parse(L"scale9='5,6,7,8'").spec.corners, 5, 6, 7, 8));

    // Flags need exactly "true"; fade keeps the number's low 8 bits.
    Parsed q = Parse(L"hole='True' xtiled='1' ytiled='true ' hsl='yes' fade='300'");
    EXPECT_FALSE(q.spec.hole || q.spec.xTiled || q.spec.yTiled || q.request.hsl);
    EXPECT_EQ(44, q.spec.fade);
    EXPECT_EQ(255, Parse(L"fade='-1'").spec.fade);
}

TEST(ImageDescription, ResourceTypeCountsOnlyWithResOrColor)
{
    Parsed res = Parse(L"res='102' restype='PNG'");
    EXPECT_STREQ(L"102", res.request.name.GetData());
    EXPECT_STREQ(L"PNG", res.request.resType.GetData());
    EXPECT_TRUE(res.request.useResType);
    EXPECT_FALSE(Parse(L"file='a.png' restype='PNG'").request.useResType);

    Parsed color = Parse(L"color='#80FF0000'");
    EXPECT_STREQ(L"#80FF0000", color.request.name.GetData());
    EXPECT_STREQ(L"*COLOR*", color.request.resType.GetData());
    EXPECT_TRUE(color.request.useResType);
}

TEST(ImageDescription, KeysAreCaseSensitiveAndLaterItemsWin)
{
    Parsed p = Parse(L"Dest='1,1,1,1' size='3' file='' file='b.png' file='c.png' corner='1,1,1,1'");
    EXPECT_STREQ(L"c.png", p.request.name.GetData());
    EXPECT_TRUE(Is(p.spec.destOffset, 0, 0, 0, 0));
    EXPECT_TRUE(Is(p.spec.corners, 1, 1, 1, 1));
}

TEST(ImageDescription, OnlyASpaceAfterAClosingQuoteContinues)
{
    EXPECT_TRUE(Is(Parse(L"file='a.png'source='0,0,10,10'").spec.sourcePart, 0, 0, 0, 0));
    EXPECT_TRUE(Is(Parse(L"file='a.png'\tsource='0,0,10,10'").spec.sourcePart, 0, 0, 0, 0));
    EXPECT_TRUE(Is(Parse(L"file='a.png' \tsource='0,0,10,10'").spec.sourcePart, 0, 0, 10, 10));
    Parsed spaced = Parse(L"  file = \x01'b.png'  dest\t=\t'1,2,3,4'");
    EXPECT_STREQ(L"b.png", spaced.request.name.GetData());
    EXPECT_TRUE(Is(spaced.spec.destOffset, 1, 2, 3, 4));
}

TEST(ImageDescription, TruncatedItemsKeepWhatCameBefore)
{
    for (const wchar_t* text : {L"dest='1,2,3,4' file", L"dest='1,2,3,4' file=", L"dest='1,2,3,4' file='",
                                L"dest='1,2,3,4' file='a.png", L"dest='1,2,3,4' file x='a.png'",
                                L"dest='1,2,3,4' file=a.png"})
    {
        Parsed p = Parse(text);
        EXPECT_STREQ(text, p.request.name.GetData());
        EXPECT_TRUE(Is(p.spec.destOffset, 1, 2, 3, 4)) << text;
    }
}

TEST(ImageDescription, FourNumbersTakeZeroForMissingOnesAndHoldHugeOnes)
{
    EXPECT_TRUE(Is(ReadFourNumbers(L"7,8"), 7, 8, 0, 0));
    EXPECT_TRUE(Is(ReadFourNumbers(L" -3, +4;5x6,9"), -3, 4, 5, 6));
    EXPECT_TRUE(Is(ReadFourNumbers(L"1,,3,4"), 1, 0, 3, 4));
    EXPECT_TRUE(Is(ReadFourNumbers(nullptr), 0, 0, 0, 0));
    EXPECT_TRUE(Is(ReadFourNumbers(L"99999999999999999999,-99999999999,16777216,16777217"), kMaxDescriptionNumber,
                   -kMaxDescriptionNumber, kMaxDescriptionNumber, kMaxDescriptionNumber));
    EXPECT_EQ(255, Parse(L"fade='99999999999999999999'").spec.fade);
}

TEST(ImageDescription, HexColoursTakeAnOptionalHash)
{
    EXPECT_EQ(0xFF336699u, ReadHexColor(L"#FF336699"));
    EXPECT_EQ(0xFF336699u, ReadHexColor(L"ff336699"));
    EXPECT_EQ(0x00336699u, ReadHexColor(L"#336699"));
    EXPECT_EQ(0xFFFFFFFFu, ReadHexColor(L"123456789A"));
    EXPECT_EQ(0x12u, ReadHexColor(L"12zz"));
    EXPECT_EQ(0u, ReadHexColor(L"#"));
    EXPECT_EQ(0u, ReadHexColor(nullptr));
}

// Text after an embedded terminator stands for memory past the string's end.
TEST(ImageDescription, ReadersNeverPassTheTerminator)
{
    EXPECT_TRUE(Is(ReadFourNumbers(L"1,\0" L"9,9,9"), 1, 0, 0, 0));
    EXPECT_TRUE(Is(ReadFourNumbers(L"1,2\0" L",9,9"), 1, 2, 0, 0));
    EXPECT_EQ(0xFFu, ReadHexColor(L"#FF\0" L"00FF"));
    Parsed p = Parse(L"file='a.png\0' dest='1,1,1,1'");
    EXPECT_STREQ(L"file='a.png", p.request.name.GetData());
    EXPECT_TRUE(Is(p.spec.destOffset, 0, 0, 0, 0));
}

TEST(ImageDescription, ClearingResetsEveryField)
{
    ImageDrawSpec spec;
    ImageRequest request;
    spec.drawString = L"file='a.png' source='1,1,1,1' fade='3' hole='true' xtiled='true'";
    ParseImageDescription(spec.drawString.GetData(), request, spec);
    spec.imageName = request.name;
    spec.loaded = true;
    spec.Clear();
    EXPECT_TRUE(spec.drawString.IsEmpty() && spec.imageName.IsEmpty());
    EXPECT_FALSE(spec.loaded || spec.hole || spec.xTiled || spec.yTiled);
    EXPECT_EQ(nullptr, spec.image);
    EXPECT_EQ(255, spec.fade);
    EXPECT_TRUE(Is(spec.sourcePart, 0, 0, 0, 0));
}
