// The layout builder over XML text, over the skin folder on disk (the
// current directory, as the manager keeps no folder of its own) and over
// module resources: the tree it builds, the manager tables and window
// settings the skin fills, the case rules, and the bounds that end
// self-including and oversized documents.
#include "ui/markup/LayoutBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/markup/LayoutBuilderTestSupport.h"
#include "tests/markup/MarkupTestSupport.h"
#include "ui/control/ContainerInterface.h"
#include "ui/control/ScrollBarUI.h"
#include "ui/controls/ButtonUI.h"
#include "ui/core/Notify.h"

using namespace DuiLib;
using test::CCountedUI;
using test::CCountingCallback;
using test::ChildAt;
using test::ChildCount;
using test::CWindowedManager;
using test::DataFolder;
using test::Dump;
using test::SameRect;

namespace {

IControlUI* Build(CLayoutBuilder& builder, const wchar_t* xml, CUIManager* manager, IControlUI* parent = nullptr,
                  ILayoutBuilderCallback* callback = nullptr)
{
    return builder.Create(xml, nullptr, callback, manager, parent);
}

}  // namespace

// ---- XML text ---------------------------------------------------------------

TEST(LayoutBuilder, TagsIgnoreCaseAndUnknownTagsGoWithTheirChildren)
{
    CCountingCallback callback;
    CContainerUI parent;
    CLayoutBuilder builder;
    IControlUI* first = Build(builder,
                              L"<Window><HBOX name=\"a\"/><horizontallayout name=\"b\"/><vbox name=\"c\"/>"
                              L"<Frobnicate name=\"x\"><Control name=\"lost\"/></Frobnicate>"
                              L"<List name=\"y\"/><SCROLLBAR name=\"d\"/><counted name=\"e\"/>"
                              L"<Counted name=\"f\"><control name=\"g\"/></Counted></Window>",
                              nullptr, &parent, &callback);
    EXPECT_EQ(L"Container:[HorizontalLayout:a,HorizontalLayout:b,VerticalLayout:c,ScrollBar:d,"
              L"Counted:f[Control:g]]",
              Dump(&parent));
    EXPECT_EQ(ChildAt(&parent, 0), first);
    // The callback hears of every tag without a class, as written.
    EXPECT_EQ(L"Frobnicate,List,counted,Counted", callback.asked);
}

// Configuring binds a control to the manager for a while; afterwards it is
// bound as before, so a control added to a tree the manager already shows
// keeps that manager, its parent and its registered name.
TEST(LayoutBuilder, ControlsBuiltIntoAnAttachedTreeStayBoundToItsManager)
{
    CWindowedManager host;
    CContainerUI* root = new CContainerUI();
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    CLayoutBuilder builder;
    IControlUI* added = Build(builder, L"<Window><Container name=\"late\"><Control name=\"inner\"/></Container></Window>",
                              &host.manager, root);
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(root, added->GetParent());
    EXPECT_EQ(&host.manager, added->GetManager());
    EXPECT_EQ(added, host.manager.LocateControl(L"late"));
    EXPECT_EQ(&host.manager, host.manager.LocateControl(L"inner")->GetManager());

    CContainerUI loose;
    IControlUI* child = Build(builder, L"<Window><Control/></Window>", &host.manager, &loose);
    EXPECT_EQ(&loose, child->GetParent());
    EXPECT_EQ(nullptr, child->GetManager());
}

TEST(LayoutBuilder, CoverOnlyForTheExactValueTrue)
{
    CContainerUI parent;
    CLayoutBuilder builder;
    Build(builder,
          L"<Window><Control name=\"first\" cover=\"true\"/><Control name=\"plain\" cover=\"True\"/>"
          L"<Control name=\"second\" cover=\"true\"/></Window>",
          nullptr, &parent);
    EXPECT_EQ(L"Container:[Control:plain]{Control:second}", Dump(&parent));
}

TEST(LayoutBuilder, ResultIsTheFirstControlAndUnownedOnesAreDeleted)
{
    CWindowedManager host;
    CCountingCallback callback;
    CLayoutBuilder builder;
    IControlUI* root = Build(builder, L"<Window><Counted name=\"one\"/><Counted name=\"two\"/></Window>",
                             &host.manager, nullptr, &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ(L"one", root->GetName().GetData());
    EXPECT_EQ(1, CCountedUI::Alive()) << "the second top-level control had no owner";
    // Names given while a control was bound for its attributes wait for the
    // tree to be attached: a deleted control is never found.
    EXPECT_EQ(nullptr, host.manager.LocateControl(L"two"));
    EXPECT_EQ(nullptr, host.manager.LocateControl(L"one"));
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    EXPECT_EQ(root, host.manager.LocateControl(L"one"));

    // A parent without a child list ends the level; the control made for it
    // is deleted, not left behind.
    CControlUI leaf;
    EXPECT_EQ(nullptr, Build(builder, L"<Window><Counted><Counted/></Counted></Window>", nullptr, &leaf, &callback));
    EXPECT_EQ(1, CCountedUI::Alive()) << "only the attached root is left";
}

TEST(LayoutBuilder, DamagedOrHostileMarkupFailsOrIsHeldWithoutHarm)
{
    CLayoutBuilder builder;
    EXPECT_EQ(nullptr, Build(builder, L"<Window><Control></Window>", nullptr));
    EXPECT_STRNE(L"", builder.Document().GetLastErrorMessage());
    EXPECT_EQ(nullptr, Build(builder, nullptr, nullptr));
    EXPECT_EQ(nullptr, Build(builder, L"no_such_skin.xml", nullptr));
    EXPECT_EQ(nullptr, Build(builder, L"<Window/>", nullptr));

    CContainerUI parent;
    Build(builder,
          L"<Window><Control width=\"\" height=\"99999999999\"/><Include/><Include count=\"5\"/>"
          L"<Include source=\"\"/><Include source=\"&lt;Window&gt;&lt;Control name=&quot;t&quot;/&gt;&lt;/Window&gt;\" "
          L"count=\"-3\"/><Include source=\"&lt;Window&gt;&lt;Control name=&quot;u&quot;/&gt;&lt;/Window&gt;\" "
          L"count=\"2\"/></Window>",
          nullptr, &parent);
    EXPECT_EQ(L"Container:[Control:,Control:u,Control:u]", Dump(&parent));
    EXPECT_EQ(0, ChildAt(&parent, 0)->GetFixedWidth());
    EXPECT_EQ(1 << 24, ChildAt(&parent, 0)->GetFixedHeight());
}

TEST(LayoutBuilder, NestingDeeperThanTheBoundIsCutOff)
{
    std::wstring text = L"<Window>";
    for (int i = 0; i < 300; ++i)
        text += L"<Container>";
    for (int i = 0; i < 300; ++i)
        text += L"</Container>";
    text += L"</Window>";
    CLayoutBuilder builder;
    IControlUI* root = Build(builder, text.c_str(), nullptr);
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(builder.LimitReached());
    int depth = 0;
    for (IControlUI* level = root; level != nullptr; level = ChildAt(level, 0))
        ++depth;
    EXPECT_EQ(CLayoutBuilder::kMaxElementDepth, depth);
    root->Delete();
}

TEST(LayoutBuilder, TopLevelIncludeAfterTheFirstControlLeavesNothingBehind)
{
    CCountingCallback callback;
    CLayoutBuilder builder;
    const int before = CCountedUI::Alive();
    IControlUI* root = Build(builder,
                             L"<Window><Counted name=\"one\"/><Include source=\"&lt;Window&gt;&lt;Counted&gt;"
                             L"&lt;Counted/&gt;&lt;/Counted&gt;&lt;/Window&gt;\" count=\"2\"/></Window>",
                             nullptr, nullptr, &callback);
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ(L"one", root->GetName().GetData());
    EXPECT_EQ(before + 1, CCountedUI::Alive()) << "the included trees had no owner";
    root->Delete();
}

// Options configured one after another are group members together only once
// the tree is registered; the later selected one keeps the selection.
TEST(LayoutBuilder, OptionsOfOneGroupBuiltSelectedLeaveTheLastSelected)
{
    CWindowedManager host;
    CLayoutBuilder builder;
    IControlUI* root = Build(builder,
                             L"<Window><VerticalLayout><Option name=\"a\" group=\"g\" selected=\"true\"/>"
                             L"<Option name=\"b\" group=\"g\"/><Option name=\"c\" selected=\"true\" group=\"g\"/>"
                             L"</VerticalLayout></Window>",
                             &host.manager);
    ASSERT_NE(nullptr, root);
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    const auto selected = [&host](const wchar_t* name) {
        IControlUI* option = host.manager.LocateControl(name);
        return option != nullptr && static_cast<COptionUI*>(option->CastTo(L"Option"))->IsSelected();
    };
    ASSERT_NE(nullptr, host.manager.LocateControl(L"a"));
    EXPECT_FALSE(selected(L"a"));
    EXPECT_FALSE(selected(L"b"));
    EXPECT_TRUE(selected(L"c"));
}

TEST(LayoutBuilder, ControlsAreAttachedOnceWithTheValuesTheSkinGave)
{
    struct CScrollListener : INotifyUI
    {
        void ReceiveNotify(NotifyEvent& notification) override
        {
            if (notification.type == L"scroll")
                senders.push_back(notification.sender);
        }
        std::vector<IControlUI*> senders;
    } listener;
    CWindowedManager host;
    host.manager.AddListener(&listener);
    CLayoutBuilder builder;
    IControlUI* root = Build(
        builder, L"<Window><VerticalLayout><ScrollBar name=\"bar\" range=\"100\" value=\"30\"/></VerticalLayout></Window>",
        &host.manager);
    ASSERT_NE(nullptr, root);
    auto* column = static_cast<IContainerUI*>(root->CastTo(L"IContainer"));
    ASSERT_NE(nullptr, column);
    auto* bar = static_cast<CScrollBarUI*>(column->ChildAt(0)->CastTo(L"ScrollBar"));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(nullptr, bar->GetManager()) << "bound only while its attributes were applied";
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    EXPECT_EQ(bar, host.manager.LocateControl(L"bar"));
    EXPECT_EQ(30, bar->GetScrollOffset());
    MSG pump = {};
    EXPECT_FALSE(PeekMessageW(&pump, host.Window(), WM_APP + 1, WM_APP + 1, PM_NOREMOVE))
        << "the skin's own value is no change anyone made";

    // A change once attached is posted with its sender. The window's own
    // procedure is not the manager's: the pump message is handed over as a
    // manager's window would.
    bar->SetScrollOffset(60, true);
    ASSERT_TRUE(PeekMessageW(&pump, host.Window(), WM_APP + 1, WM_APP + 1, PM_REMOVE)) << "nothing was posted";
    LRESULT result = 0;
    host.manager.RouteMessage(pump.message, pump.wParam, pump.lParam, result);
    ASSERT_EQ(1u, listener.senders.size());
    EXPECT_EQ(bar, listener.senders[0]);
}

// ---- The skin folder on disk ------------------------------------------------

namespace {

// Builds from files of data/builder beside the program, which the skin
// settings reach as names relative to the current directory.
class LayoutBuilderFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CUIManager::GetSkinZipName().IsEmpty()) << "run without the archive installed";
        GetCurrentDirectoryW(MAX_PATH, m_previous);
        ASSERT_TRUE(SetCurrentDirectoryW((DataFolder() + L"builder").c_str()));
    }
    void TearDown() override { SetCurrentDirectoryW(m_previous); }

    // Counts the controls of the tree under control, itself included.
    static int CountTree(IControlUI* control)
    {
        int count = 1;
        for (int i = 0; i < ChildCount(control); ++i)
            count += CountTree(ChildAt(control, i));
        return count;
    }

private:
    wchar_t m_previous[MAX_PATH] = {};
};

}  // namespace

// Shared with the archive test, which builds the same file.
extern const wchar_t* const kMainTree;
const wchar_t* const kMainTree =
    L"VerticalLayout:root[Control:plain,Control:own,Control:lower,Control:,"
    L"HorizontalLayout:row[Control:cell,Control:cell,Control:cell],Label:label,"
    L"Container:covered[Control:child]{Control:cover},"
    L"ScrollBar:bar]";

TEST_F(LayoutBuilderFolder, MainSkinBuildsItsTreeAndFillsTheManager)
{
    CWindowedManager host;
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &host.manager, nullptr);
    ASSERT_NE(nullptr, root) << builder.Document().GetLastErrorMessage();
    EXPECT_EQ(kMainTree, Dump(root));
    ASSERT_TRUE(host.manager.AttachRootControl(root));
    CUIManager& m = host.manager;

    // Default list under "Control" first, the element's attributes after it.
    IControlUI* plain = m.LocateControl(L"plain");
    EXPECT_EQ(11, plain->GetFixedWidth());
    EXPECT_EQ(12, plain->GetFixedHeight());
    EXPECT_STREQ(L"from default", plain->GetUserData().GetData());
    IControlUI* own = m.LocateControl(L"own");
    EXPECT_EQ(11, own->GetFixedWidth());
    EXPECT_EQ(40, own->GetFixedHeight());
    EXPECT_STREQ(L"own", own->GetUserData().GetData());
    EXPECT_EQ(0, m.LocateControl(L"lower")->GetFixedWidth()) << "no list under \"control\"";
    EXPECT_EQ(0, ChildAt(root, 3)->GetFixedWidth()) << "\"WIDTH\" is no attribute";
    EXPECT_TRUE(SameRect(m.LocateControl(L"row")->GetPadding(), RECT{1, 2, 3, 4}));
    EXPECT_EQ(5, m.LocateControl(L"cell")->GetFixedWidth()) << "included element overrides the list";
    EXPECT_EQ(12, m.LocateControl(L"cell")->GetFixedHeight());
    EXPECT_EQ(nullptr, m.LocateControl(L"lost"));
    EXPECT_EQ(nullptr, m.LocateControl(L"gif"));

    // Fonts, images and texts.
    EXPECT_STREQ(L"Tahoma", m.GetDefaultFontEntry()->faceName.GetData());
    EXPECT_EQ(13, m.GetDefaultFontEntry()->size);
    const FontEntry* arial = m.GetFontEntry(1);
    EXPECT_STREQ(L"Arial", arial->faceName.GetData());
    EXPECT_EQ(16, arial->size);
    EXPECT_EQ(1, arial->bold);
    EXPECT_EQ(1, arial->italic);
    const ImageEntry* back = m.GetImage(L"bk/back.png");
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(40, back->width);
    EXPECT_EQ(0xFFFF00FFu, back->mask);
    EXPECT_EQ(nullptr, m.GetImage(L"bk/missing.png"));
    EXPECT_STREQ(L"卸载完成", CUIManager::GetLanguageText(31));

    // The window.
    EXPECT_EQ(420, host.WindowSize().cx);
    EXPECT_EQ(300, host.WindowSize().cy);
    EXPECT_TRUE(SameRect(m.GetCaptionRect(), RECT{0, 0, 0, 32}));
    EXPECT_EQ(5, m.GetRoundCorner().cx);
    EXPECT_EQ(7, m.GetRoundCorner().cy);
    EXPECT_EQ(400, m.GetMinInfo().cx);
    EXPECT_EQ(700, m.GetMaxInfo().cy);
    EXPECT_TRUE(SameRect(m.GetSizeBox(), RECT{3, 4, 5, 6}));
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(host.Window(), nullptr, &alpha, nullptr));
    EXPECT_EQ(230, alpha);
    EXPECT_FALSE(m.IsNoActivate());
    EXPECT_STREQ(L"true", m.GetWindowCustomAttribute(L"NoActivate"));
    EXPECT_STREQ(L"2", m.GetWindowCustomAttribute(L"skinversion"));
    EXPECT_FALSE(builder.LimitReached());
}

// A file including itself ends after 10 nested includes: 11 levels. Two
// files including each other twice: level k holds 2^(k-1) controls, 2^11 - 1
// in all.
TEST_F(LayoutBuilderFolder, SelfIncludesAndIncludeCyclesEndAtTheNestingBound)
{
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(L"self.xml", nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(builder.LimitReached());
    int levels = 0;
    for (IControlUI* level = root; level != nullptr; level = ChildAt(level, 0))
        ++levels;
    EXPECT_EQ(CLayoutBuilder::kMaxIncludeDepth + 1, levels);
    root->Delete();

    root = builder.Create(L"cycle_a.xml", nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, root);
    EXPECT_TRUE(builder.LimitReached());
    EXPECT_EQ(2047, CountTree(root));
    EXPECT_STREQ(L"a", ChildAt(ChildAt(root, 1), 0)->GetName().GetData());
    root->Delete();
}

TEST_F(LayoutBuilderFolder, AHugeCountEndsAtTheRepetitionAndControlBounds)
{
    CLayoutBuilder builder;
    IControlUI* list = builder.Create(L"huge.xml", nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(builder.LimitReached());
    EXPECT_EQ(CLayoutBuilder::kMaxIncludeBuilds, ChildCount(list));
    list->Delete();

    // Ten controls a repetition: the layout and 19,999 cells make 20,000.
    IControlUI* big = builder.Create(
        L"<Window><VerticalLayout><Include source=\"sub/ten.xml\" count=\"99999999999\"/></VerticalLayout></Window>",
        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, big);
    EXPECT_TRUE(builder.LimitReached());
    EXPECT_EQ(CLayoutBuilder::kMaxControls - 1, ChildCount(big));
    big->Delete();

    // The next build starts its counts afresh.
    IControlUI* small = builder.Create(L"<Window><Control/></Window>", nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(builder.LimitReached());
    small->Delete();
}

// ---- Module resources -------------------------------------------------------

TEST(LayoutBuilderResource, IncludesOfAResourceLayoutAreResourceIdsOfItsType)
{
    CLayoutBuilder builder;
    IControlUI* root = builder.Create(MAKEINTRESOURCEW(301), L"SKINXML", nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, root) << builder.Document().GetLastErrorMessage();
    EXPECT_EQ(L"HorizontalLayout:from_resource[Control:resource_cell,Control:resource_cell]", Dump(root));
    root->Delete();
    EXPECT_EQ(nullptr, builder.Create(MAKEINTRESOURCEW(399), L"SKINXML", nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, builder.Create(MAKEINTRESOURCEW(301), nullptr, nullptr, nullptr, nullptr));
}
