// CChildLayoutUI built through the layout builder in a real window: content
// from a second skin file, an empty layout for a file that cannot be
// loaded, and a skin that names itself. The main skin also checks that the
// builder makes the tile, tab and child layouts from their tags.
#include "ui/control/ChildLayoutUI.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tests/control/ControlTestSupport.h"
#include "ui/control/TabLayoutUI.h"
#include "ui/markup/LayoutBuilder.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

// Writes text as a file in the temporary folder; its full path.
std::wstring WriteSkin(const wchar_t* name, const std::string& text)
{
    wchar_t folder[MAX_PATH] = {};
    const std::wstring path = GetTempPathW(MAX_PATH, folder) != 0 ? std::wstring(folder) + name : name;
    std::ofstream(path.c_str(), std::ios::binary) << text;
    return path;
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// Builds xml into a new window's manager as its root.
class CSkinWindow
{
public:
    explicit CSkinWindow(const std::string& xml)
    {
        host = MakeHost(300, 200);
        if (host == nullptr)
            return;
        CLayoutBuilder builder;
        const std::wstring text(xml.begin(), xml.end());
        root = builder.Create(text.c_str(), nullptr, nullptr, &host->manager, nullptr);
        if (root != nullptr)
            host->manager.AttachRootControl(root);
        RedrawWindow(host->GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpMessages();
    }
    ~CSkinWindow()
    {
        host.reset();
        PumpMessages();
    }
    CChildLayoutUI* Child(const wchar_t* name)
    {
        IControlUI* control = host->manager.LocateControl(name);
        return control != nullptr ? static_cast<CChildLayoutUI*>(control->CastTo(L"ChildLayout")) : nullptr;
    }

    std::unique_ptr<CHostWindow> host;
    IControlUI* root = nullptr;
};

TEST(ChildLayout, BuildsItsContentFromASecondSkinFile)
{
    const std::wstring file =
        WriteSkin(L"kalvex_child.xml", "<Window><HorizontalLayout name=\"inner\"><Control name=\"ok\"/>"
                                       "</HorizontalLayout></Window>");
    CSkinWindow w("<Window><VerticalLayout><TabLayout name=\"tabs\" selectedid=\"1\"><Control/><Control/>"
                  "</TabLayout><TileLayout name=\"tiles\"/><ChildLayout name=\"child\" xmlfile=\"" +
                  Narrow(file) + "\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, w.host);
    ASSERT_NE(nullptr, w.root);
    IControlUI* tabs = w.host->manager.LocateControl(L"tabs");
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ(1, static_cast<CTabLayoutUI*>(tabs->CastTo(L"TabLayout"))->GetCurrentSel());
    IControlUI* tiles = w.host->manager.LocateControl(L"tiles");
    ASSERT_NE(nullptr, tiles);
    EXPECT_NE(nullptr, tiles->CastTo(L"TileLayout"));

    CChildLayoutUI* child = w.Child(L"child");
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(nullptr, child->CastTo(L"IContainer")) << "no children from the skin";
    ASSERT_EQ(1, child->GetCount());
    IControlUI* ok = w.host->manager.LocateControl(L"ok");
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(child, ok->GetParent()->GetParent());

    // Initialised again, it builds afresh instead of adding a second copy.
    child->Init();
    EXPECT_EQ(1, child->GetCount());
    DeleteFileW(file.c_str());
}

TEST(ChildLayout, FileThatCannotBeLoadedLeavesItEmpty)
{
    CSkinWindow w("<Window><VerticalLayout><ChildLayout name=\"child\" xmlfile=\"kalvex_no_such_skin.xml\"/>"
                  "</VerticalLayout></Window>");
    ASSERT_NE(nullptr, w.host);
    CChildLayoutUI* child = w.Child(L"child");
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(0, child->GetCount());
}

TEST(ChildLayout, SkinThatNamesItselfStopsNesting)
{
    // The file's own path is known before it is written: write it twice.
    const std::wstring file = WriteSkin(L"kalvex_self.xml", "");
    const std::string self = Narrow(file);
    WriteSkin(L"kalvex_self.xml", "<Window><ChildLayout xmlfile=\"" + self + "\"/></Window>");
    CSkinWindow w("<Window><VerticalLayout><ChildLayout name=\"child\" xmlfile=\"" + self +
                  "\"/></VerticalLayout></Window>");
    ASSERT_NE(nullptr, w.host);
    int depth = 0;
    for (IControlUI* level = w.Child(L"child"); level != nullptr;
         level = static_cast<CChildLayoutUI*>(level->CastTo(L"ChildLayout"))->ChildAt(0))
        ++depth;
    EXPECT_EQ(1 + CChildLayoutUI::kMaxNesting, depth);
    DeleteFileW(file.c_str());
}

}  // namespace
