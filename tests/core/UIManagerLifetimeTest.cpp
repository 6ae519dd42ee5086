// The manager's process-wide state, the in-memory skin archive, construction,
// AttachWindow and what destruction visibly releases.
#include "ui/core/UIManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FakeControl.h"
#include "TestSkin.h"
#include "TreeProbe.h"
#include "ui/markup/SkinArchive.h"

using namespace DuiLib;
using DuiLib::test::CFakeControl;
using DuiLib::test::CTestWindow;
using DuiLib::test::ReadBesideTests;

namespace {

bool IsListed(const CUIManager* manager)
{
    return CUIManager::GetManagers().Find(manager) >= 0;
}

int TimesListed(std::uintptr_t manager)
{
    int count = 0;
    const CPtrList& managers = CUIManager::GetManagers();
    for (int i = 0; i < managers.GetSize(); ++i)
        count += reinterpret_cast<std::uintptr_t>(managers[i]) == manager ? 1 : 0;
    return count;
}

int TimesListed(const CUIManager* manager)
{
    return TimesListed(reinterpret_cast<std::uintptr_t>(manager));
}

}  // namespace

TEST(UIManagerProcessState, StartsWithTheDocumentedValues)
{
    short hue = 0, saturation = 0, lightness = 0;
    EXPECT_FALSE(CUIManager::GetHslAdjustment(hue, saturation, lightness));
    EXPECT_EQ(180, hue);
    EXPECT_EQ(100, saturation);
    EXPECT_EQ(100, lightness);
    EXPECT_TRUE(CUIManager::GetSkinFolder().IsEmpty());
    EXPECT_TRUE(CUIManager::IsSkinZipKeptOpen());
}

TEST(UIManagerProcessState, ResourceModuleIsTheModuleInstance)
{
    HINSTANCE module = GetModuleHandleW(nullptr);
    CUIManager::SetModuleInstance(module);
    EXPECT_EQ(module, CUIManager::GetModuleInstance());
    EXPECT_EQ(module, CUIManager::GetResourceModule());
}

TEST(UIManagerProcessState, SkinFolderEndsWithOneBackslashAndNullClearsIt)
{
    CUIManager::SetSkinFolder(L"C:\\skins");
    EXPECT_STREQ(L"C:\\skins\\", CUIManager::GetSkinFolder().GetData());
    CUIManager::SetSkinFolder(L"C:\\skins\\");
    EXPECT_STREQ(L"C:\\skins\\", CUIManager::GetSkinFolder().GetData());
    CUIManager::SetSkinFolder(L"C:/skins/");
    EXPECT_STREQ(L"C:/skins/", CUIManager::GetSkinFolder().GetData());
    CUIManager::SetSkinFolder(nullptr);
    EXPECT_TRUE(CUIManager::GetSkinFolder().IsEmpty());
}

TEST(UIManagerProcessState, ControlFactoriesKeepTheirOrderAndSkipNull)
{
    struct Factories
    {
        static IControlUI* First(const wchar_t*) { return nullptr; }
        static IControlUI* Second(const wchar_t*) { return nullptr; }
    };
    const int before = CUIManager::GetControlFactories().GetSize();
    CUIManager::AddControlFactory(&Factories::First);
    CUIManager::AddControlFactory(nullptr);
    CUIManager::AddControlFactory(&Factories::Second);
    const CPtrList& factories = CUIManager::GetControlFactories();
    ASSERT_EQ(before + 2, factories.GetSize());
    EXPECT_EQ(reinterpret_cast<void*>(&Factories::First), factories[before]);
    EXPECT_EQ(reinterpret_cast<void*>(&Factories::Second), factories[before + 1]);
}

// The archive can be installed once per process, so the whole sequence of
// calls is one test.
TEST(UIManagerSkinZip, FirstArchiveStaysAndLaterCallsOnlyChangeThePassword)
{
    static const std::vector<BYTE> first = ReadBesideTests(L"skin_deflated.zip");
    static const std::vector<BYTE> second = ReadBesideTests(L"skin_plain.zip");
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_TRUE(CUIManager::GetSkinZipName().IsEmpty());
    EXPECT_EQ(nullptr, CUIManager::GetSkinZipHandle());
    EXPECT_EQ(nullptr, CUIManager::GetSkinZipPassword());

    CUIManager::SetSkinZipFromMemory(first.data(), static_cast<unsigned>(first.size()), "kalvex12");
    EXPECT_STREQ(L"membuffer", CUIManager::GetSkinZipName().GetData());
    EXPECT_STREQ("kalvex12", CUIManager::GetSkinZipPassword());
    CSkinArchive* archive = CUIManager::GetSkinZipHandle();
    ASSERT_NE(nullptr, archive);
    BYTE* bytes = nullptr;
    unsigned size = 0;
    EXPECT_EQ(SkinArchiveStatus::Ok, archive->ReadEntry(L"main.xml", bytes, size));
    EXPECT_EQ(ReadBesideTests(L"skin\\main.xml"), std::vector<BYTE>(bytes, bytes + size));
    delete[] bytes;

    // 70 bytes: the stored password is the first 64.
    const std::string longPassword = "0123456789" "abcdefghij" "0123456789" "abcdefghij" "0123456789"
                                     "abcdefghij" "0123456789";
    CUIManager::SetSkinZipFromMemory(second.data(), static_cast<unsigned>(second.size()), longPassword.c_str());
    EXPECT_EQ(longPassword.substr(0, 64), std::string(CUIManager::GetSkinZipPassword()));
    EXPECT_EQ(archive, CUIManager::GetSkinZipHandle());
    // Still the first archive, whose entries need its password.
    EXPECT_EQ(SkinArchiveStatus::Ok, archive->ReadEntry(L"bk/readme.txt", bytes, size));
    delete[] bytes;

    CUIManager::SetSkinZipFromMemory(second.data(), static_cast<unsigned>(second.size()), "");
    EXPECT_EQ(nullptr, CUIManager::GetSkinZipPassword());
    CUIManager::SetSkinZipFromMemory(second.data(), static_cast<unsigned>(second.size()), "pw");
    EXPECT_STREQ("pw", CUIManager::GetSkinZipPassword());
    CUIManager::SetSkinZipFromMemory(second.data(), static_cast<unsigned>(second.size()), nullptr);
    EXPECT_EQ(nullptr, CUIManager::GetSkinZipPassword());
    EXPECT_EQ(archive, CUIManager::GetSkinZipHandle());
    EXPECT_STREQ(L"membuffer", CUIManager::GetSkinZipName().GetData());
}

TEST(UIManagerConstruction, FirstManagerMakesTheRedPenAndLoadsTheBlendingLibrary)
{
    CUIManager manager;
    HPEN pen = CUIManager::GetDirtyOutlinePen();
    ASSERT_NE(nullptr, pen);
    LOGPEN logPen = {};
    ASSERT_EQ(static_cast<int>(sizeof(logPen)), GetObjectW(pen, sizeof(logPen), &logPen));
    EXPECT_EQ(static_cast<UINT>(PS_SOLID), logPen.lopnStyle);
    EXPECT_EQ(1, logPen.lopnWidth.x);
    EXPECT_EQ(RGB(220, 0, 0), logPen.lopnColor);
    EXPECT_NE(nullptr, GetModuleHandleW(L"msimg32.dll"));

    CUIManager second;
    EXPECT_EQ(pen, CUIManager::GetDirtyOutlinePen());
}

TEST(UIManagerConstruction, ManagersJoinTheListOnlyWhenAttached)
{
    CTestWindow window;
    CUIManager manager;
    EXPECT_FALSE(IsListed(&manager));
    EXPECT_EQ(nullptr, manager.GetPaintWindow());
    EXPECT_EQ(nullptr, manager.GetPaintDC());
    EXPECT_EQ(nullptr, manager.GetRoot());

    manager.AttachWindow(window.Handle(), L"main");
    EXPECT_EQ(window.Handle(), manager.GetPaintWindow());
    EXPECT_NE(nullptr, manager.GetPaintDC());
    EXPECT_STREQ(L"main", manager.GetName().GetData());
    EXPECT_EQ(1, TimesListed(&manager));

    manager.AttachWindow(window.Handle(), nullptr);
    EXPECT_STREQ(L"", manager.GetName().GetData());
    EXPECT_EQ(1, TimesListed(&manager));
}

// Regression: attaching to a second window kept the first window's device
// context and listed the manager twice.
TEST(UIManagerConstruction, MovingToAnotherWindowTakesItsDeviceContextAndStaysListedOnce)
{
    CTestWindow first, second;
    CUIManager manager;
    manager.AttachWindow(first.Handle(), L"first");
    manager.AttachWindow(second.Handle(), L"second");
    EXPECT_EQ(second.Handle(), manager.GetPaintWindow());
    EXPECT_EQ(second.Handle(), WindowFromDC(manager.GetPaintDC()));
    EXPECT_EQ(1, TimesListed(&manager));
}

TEST(UIManagerConstruction, AttachingDropsTheManagersOwnTablesOnly)
{
    CTestWindow window;
    CUIManager manager;
    CFakeControl option;
    HFONT own = manager.AddFont(80, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
    HFONT shared = manager.AddFont(81, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
    manager.AddDefaultAttributes(L"AttachTestButton", L"own", ResourceScope::Own);
    manager.AddDefaultAttributes(L"AttachTestLabel", L"shared", ResourceScope::Shared);
    manager.AddWindowCustomAttribute(L"name", L"value");
    manager.JoinOptionGroup(L"group", &option);

    manager.AttachWindow(window.Handle(), L"attach");
    EXPECT_EQ(OBJ_FONT, static_cast<int>(GetObjectType(shared)));
    EXPECT_EQ(0u, GetObjectType(own));
    EXPECT_EQ(shared, manager.GetFont(81));
    EXPECT_EQ(nullptr, manager.GetDefaultAttributes(L"AttachTestButton"));
    EXPECT_STREQ(L"shared", manager.GetDefaultAttributes(L"AttachTestLabel"));
    EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"name"));
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"group"));
    manager.RemoveAllFonts(ResourceScope::Shared);
    manager.RemoveAllDefaultAttributes(ResourceScope::Shared);
}

TEST(UIManagerDestruction, ReleasesOwnFontsAndLeavesTheListButKeepsSharedOnes)
{
    CTestWindow window;
    HFONT own = nullptr;
    HFONT ownDefault = nullptr;
    HFONT shared = nullptr;
    // Kept as a number: the manager is gone when the list is searched for it.
    std::uintptr_t address = 0;
    {
        CUIManager manager;
        manager.AttachWindow(window.Handle(), L"doomed");
        address = reinterpret_cast<std::uintptr_t>(&manager);
        own = manager.AddFont(90, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
        shared = manager.AddFont(91, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
        ASSERT_TRUE(manager.SetDefaultFont(L"Tahoma", 11, UIFONT_PLAIN, ResourceScope::Own));
        ownDefault = manager.GetDefaultFontEntry()->font;
        ASSERT_EQ(1, TimesListed(address));
    }
    EXPECT_EQ(0, TimesListed(address));
    EXPECT_EQ(0u, GetObjectType(own));
    EXPECT_EQ(0u, GetObjectType(ownDefault));
    EXPECT_EQ(OBJ_FONT, static_cast<int>(GetObjectType(shared)));

    CUIManager survivor;
    EXPECT_EQ(shared, survivor.GetFont(91));
    survivor.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerDestruction, DeletesTheRootOnceUnlessItWasForgotten)
{
    CFakeControl root;
    {
        CUIManager manager;
        ASSERT_TRUE(manager.AttachRootControl(&root));
        EXPECT_EQ(&root, manager.GetRoot());
    }
    EXPECT_EQ(1, root.deleteCount);

    // Regression: a root deleted by its owner was deleted again by the manager.
    CFakeControl forgotten;
    {
        CUIManager manager;
        manager.AttachRootControl(&forgotten);
        manager.JoinOptionGroup(L"group", &forgotten);
        manager.ForgetControl(&forgotten);
        EXPECT_EQ(nullptr, manager.GetRoot());
        EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"group"));
    }
    EXPECT_EQ(0, forgotten.deleteCount);
}

// The tree goes after everything that holds its controls: a control whose
// destruction still reaches the timers, the names, the focus, the overlays,
// the leave watchers, the groups and the queued notifications finds each of
// them alive, and nothing calls a deleted control afterwards.
TEST(UIManagerDestruction, ATreeThatEveryPartHoldsGoesLastAndIsNeverCalledAgain)
{
    CUIManager::SetModuleInstance(GetModuleHandleW(nullptr));
    test::Trail trail;
    auto host = std::make_unique<test::CManagerHost>();
    ASSERT_NE(nullptr, host->Create(nullptr, L"parts", WS_POPUP, 0, 0, 0, 200, 100));
    CUIManager& manager = host->manager;
    auto* root = new test::CTreeProbe(&trail, L"root", RECT{0, 0, 200, 100});
    test::CTreeProbe* child = root->Add(new test::CTreeProbe(&trail, L"child", RECT{10, 10, 60, 40}));
    child->flagBits = UIFLAG_TABSTOP;
    ASSERT_TRUE(manager.AttachRootControl(root));
    ASSERT_TRUE(manager.RenameControl(child, L"child"));
    ASSERT_TRUE(manager.SetTimer(child, 7, 60000));
    ASSERT_TRUE(manager.AddOverlayPainter(child));
    ASSERT_TRUE(manager.AddLeaveWatcher(child));
    ASSERT_TRUE(manager.JoinOptionGroup(L"group", child));
    manager.SetFocus(child, false);
    ASSERT_EQ(child, manager.GetFocus());
    manager.RaiseNotify(child, L"click", 0, 0, true);

    host.reset();
    const std::vector<std::wstring>& destroyed = test::CTreeProbe::Destroyed();
    EXPECT_NE(destroyed.end(), std::find(destroyed.begin(), destroyed.end(), L"root"));
    EXPECT_NE(destroyed.end(), std::find(destroyed.begin(), destroyed.end(), L"child"));
    test::PumpMessages();
    EXPECT_EQ(0, test::CTreeProbe::CallsAfterDeletion()) << "a deleted control was called";
    test::CTreeProbe::ReleaseTombstones();
}
