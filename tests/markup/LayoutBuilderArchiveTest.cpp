// The layout builder over the password-protected archive the manager holds in
// memory, made by Info-ZIP's "zip -P" at build time: the same main skin as on
// disk with its include and image, and a translucent window with its layered
// image and shadow. The archive is installed once per process, so these cases
// run in a process of their own (ctest: markup_builder_archive).
#include "ui/markup/LayoutBuilder.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/markup/LayoutBuilderTestSupport.h"
#include "tests/markup/MarkupTestSupport.h"

using namespace DuiLib;
using test::CWindowedManager;
using test::Dump;
using test::SameRect;
using test::ReadSample;

extern const wchar_t* const kMainTree;

namespace {

class LayoutBuilderArchive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static const std::vector<unsigned char> zip = ReadSample("builder.zip");
        ASSERT_FALSE(zip.empty());
        CUIManager::SetSkinZipFromMemory(zip.data(), static_cast<unsigned>(zip.size()), "Bld-9Pw");
        ASSERT_NE(nullptr, CUIManager::GetSkinZipHandle());
    }
};

}  // namespace

TEST_F(LayoutBuilderArchive, MainSkinBuildsTheSameTreeFromTheArchive)
{
    CWindowedManager host;
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &host.manager, nullptr);
    ASSERT_NE(nullptr, root) << builder.Document().GetLastErrorMessage();
    EXPECT_EQ(kMainTree, Dump(root));
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    EXPECT_EQ(5, host.manager.LocateControl(L"cell")->GetFixedWidth());
    const ImageEntry* back = host.manager.GetImage(L"bk/back.png");
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(30, back->height);
    EXPECT_EQ(420, host.WindowSize().cx);
    EXPECT_EQ(nullptr, builder.Create(L"sub/none.xml", nullptr, nullptr, &host.manager, nullptr));
    EXPECT_STREQ(L"Could not find ziped file", builder.Document().GetLastErrorMessage());
}

TEST_F(LayoutBuilderArchive, LayeredWindowSettingsComeFromTheWindowElement)
{
    CWindowedManager host;
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(L"layered.xml", nullptr, nullptr, &host.manager, nullptr);
    ASSERT_NE(nullptr, root) << builder.Document().GetLastErrorMessage();
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    CUIManager& m = host.manager;
    EXPECT_TRUE(m.IsLayered());
    EXPECT_NE(0, GetWindowLongW(host.Window(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_STREQ(L"file='bk/back.png' corner='2,2,2,2'", m.GetLayeredImage().drawString.GetData());
    ASSERT_NE(nullptr, m.GetLayeredImage().image) << "resolved at once";
    EXPECT_EQ(40, m.GetLayeredImage().image->width);
    EXPECT_EQ(10, m.GetShadowSize());
    EXPECT_EQ(0x80000000u, m.GetShadowColor());
    EXPECT_EQ(230, m.GetOpacity()) << "\"LayeredOpacity\" is not the attribute";
    EXPECT_STREQ(L"9", m.GetWindowCustomAttribute(L"LayeredOpacity"));
    EXPECT_TRUE(SameRect(m.GetLayeredPadding(), RECT{1, 1, 1, 1}));
    EXPECT_EQ(200, host.WindowSize().cx);
}
