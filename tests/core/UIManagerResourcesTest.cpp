// The manager's resource tables. The shared tables live for the whole test
// program, so every test uses ids and names of its own and restores shared
// values it changes.
#include "ui/core/UIManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakeControl.h"
#include "TestSkin.h"

using namespace DuiLib;
using DuiLib::test::CFakeControl;
using DuiLib::test::CTestWindow;

namespace {

LOGFONTW GuiFont()
{
    LOGFONTW logFont = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    return logFont;
}

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW logFont = {};
    EXPECT_EQ(static_cast<int>(sizeof(logFont)), GetObjectW(font, sizeof(logFont), &logFont));
    return logFont;
}

bool IsLiveFont(HFONT font)
{
    return GetObjectType(font) == OBJ_FONT;
}

}  // namespace

// ---- Colours ---------------------------------------------------------------

TEST(UIManagerColors, NewManagersStartFromTheSharedDefaults)
{
    CUIManager manager;
    EXPECT_EQ(0xFFA7A6AAu, manager.GetDisabledFontColor());
    EXPECT_EQ(0xFF000000u, manager.GetDefaultFontColor());
    EXPECT_EQ(0xFF0000FFu, manager.GetLinkFontColor());
    EXPECT_EQ(0xFFD3215Fu, manager.GetLinkHoverFontColor());
    EXPECT_EQ(0xFFBAE4FFu, manager.GetSelectedColor());
}

TEST(UIManagerColors, SharedColourMovesOnlyManagersStillOnTheOldValue)
{
    CUIManager follower;
    CUIManager chooser;
    chooser.SetDefaultFontColor(0xFF123456, ResourceScope::Own);
    EXPECT_EQ(0xFF000000u, follower.GetDefaultFontColor());

    follower.SetDefaultFontColor(0xFF00FF00, ResourceScope::Shared);
    EXPECT_EQ(0xFF00FF00u, follower.GetDefaultFontColor());
    EXPECT_EQ(0xFF123456u, chooser.GetDefaultFontColor());
    {
        CUIManager later;
        EXPECT_EQ(0xFF00FF00u, later.GetDefaultFontColor());
    }

    // The chooser differs from the shared value, so only the shared one moves.
    chooser.SetDefaultFontColor(0xFF0000AA, ResourceScope::Shared);
    EXPECT_EQ(0xFF123456u, chooser.GetDefaultFontColor());
    EXPECT_EQ(0xFF00FF00u, follower.GetDefaultFontColor());
    {
        CUIManager later;
        EXPECT_EQ(0xFF0000AAu, later.GetDefaultFontColor());
    }

    chooser.SetDefaultFontColor(0xFF000000, ResourceScope::Shared);
    CUIManager restored;
    EXPECT_EQ(0xFF000000u, restored.GetDefaultFontColor());
}

TEST(UIManagerColors, EachColourHasItsOwnSetter)
{
    CUIManager manager;
    manager.SetDisabledFontColor(1, ResourceScope::Own);
    manager.SetLinkFontColor(2, ResourceScope::Own);
    manager.SetLinkHoverFontColor(3, ResourceScope::Own);
    manager.SetSelectedColor(4, ResourceScope::Own);
    EXPECT_EQ(1u, manager.GetDisabledFontColor());
    EXPECT_EQ(2u, manager.GetLinkFontColor());
    EXPECT_EQ(3u, manager.GetLinkHoverFontColor());
    EXPECT_EQ(4u, manager.GetSelectedColor());
    EXPECT_EQ(0xFF000000u, manager.GetDefaultFontColor());
    CUIManager other;
    EXPECT_EQ(0xFFA7A6AAu, other.GetDisabledFontColor());
}

// ---- Fonts -----------------------------------------------------------------

TEST(UIManagerFonts, SharedDefaultFontIsTheGuiFontWithDefaultCharset)
{
    CTestWindow window;
    CUIManager manager;
    manager.AttachWindow(window.Handle(), L"fonts");
    const LOGFONTW gui = GuiFont();
    FontEntry* entry = manager.GetDefaultFontEntry();
    ASSERT_NE(nullptr, entry);
    EXPECT_STREQ(gui.lfFaceName, entry->faceName.GetData());
    EXPECT_EQ(-gui.lfHeight, entry->size);
    EXPECT_EQ(gui.lfWeight >= 700 ? 1 : 0, entry->bold);
    EXPECT_EQ(DEFAULT_CHARSET, FontOf(entry->font).lfCharSet);
    EXPECT_NE(0, entry->metrics.tmHeight);
}

TEST(UIManagerFonts, AddedFontFollowsTheGuiFontWithTheGivenStyles)
{
    CUIManager manager;
    const LOGFONTW gui = GuiFont();
    HFONT bold = manager.AddFont(10, L"Tahoma", 17, UIFONT_BOLD | UIFONT_ITALIC, ResourceScope::Own);
    ASSERT_NE(nullptr, bold);
    LOGFONTW made = FontOf(bold);
    EXPECT_STREQ(L"Tahoma", made.lfFaceName);
    EXPECT_EQ(-17, made.lfHeight);
    EXPECT_EQ(gui.lfWeight + 700, made.lfWeight);
    EXPECT_EQ(1, made.lfItalic);
    EXPECT_EQ(0, made.lfUnderline);
    EXPECT_EQ(0, made.lfStrikeOut);
    EXPECT_EQ(DEFAULT_CHARSET, made.lfCharSet);

    HFONT lines = manager.AddFont(11, L"Arial", 12, UIFONT_UNDERLINE | UIFONT_STRIKEOUT, ResourceScope::Own);
    made = FontOf(lines);
    EXPECT_EQ(gui.lfWeight, made.lfWeight);
    EXPECT_EQ(1, made.lfUnderline);
    EXPECT_EQ(1, made.lfStrikeOut);
    EXPECT_EQ(0, made.lfItalic);

    FontEntry* entry = manager.GetFontEntry(10);
    EXPECT_EQ(bold, entry->font);
    EXPECT_STREQ(L"Tahoma", entry->faceName.GetData());
    EXPECT_EQ(17, entry->size);
    EXPECT_EQ(1, entry->bold);
    EXPECT_EQ(1, entry->italic);
    EXPECT_EQ(0, entry->underline);
    EXPECT_EQ(0, entry->strikeout);
}

TEST(UIManagerFonts, BoldDefaultFontAlsoAddsToTheGuiFontsWeight)
{
    CUIManager manager;
    const LOGFONTW gui = GuiFont();
    ASSERT_TRUE(manager.SetDefaultFont(L"Tahoma", 13, UIFONT_BOLD, ResourceScope::Own));
    FontEntry* entry = manager.GetDefaultFontEntry();
    EXPECT_EQ(gui.lfWeight + 700, FontOf(entry->font).lfWeight);
    EXPECT_EQ(1, entry->bold);
    EXPECT_EQ(entry->font, manager.GetFont(-1));
}

TEST(UIManagerFonts, FaceNameIsCutToThePlatformField)
{
    CUIManager manager;
    const std::wstring longFace(40, L'F');
    HFONT font = manager.AddFont(12, longFace.c_str(), 12, UIFONT_PLAIN, ResourceScope::Own);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(std::wstring(LF_FACESIZE - 1, L'F'), std::wstring(FontOf(font).lfFaceName));
}

TEST(UIManagerFonts, SecondFontUnderAnIdReplacesAndDeletesTheFirst)
{
    CUIManager manager;
    HFONT first = manager.AddFont(20, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
    HFONT second = manager.AddFont(20, L"Tahoma", 14, UIFONT_PLAIN, ResourceScope::Own);
    ASSERT_NE(nullptr, second);
    EXPECT_FALSE(IsLiveFont(first));
    EXPECT_EQ(second, manager.GetFont(20));
    EXPECT_STREQ(L"Tahoma", manager.GetFontEntry(20)->faceName.GetData());
}

TEST(UIManagerFonts, SecondSharedFontUnderAnIdReplacesAndDeletesTheFirst)
{
    CUIManager first;
    CUIManager second;
    HFONT before = first.AddFont(21, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
    HFONT after = second.AddFont(21, L"Tahoma", 14, UIFONT_ITALIC, ResourceScope::Shared);
    ASSERT_TRUE(IsLiveFont(after));
    EXPECT_FALSE(IsLiveFont(before));
    EXPECT_EQ(after, first.GetFont(21));
    EXPECT_EQ(after, second.GetFont(21));
    first.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerFonts, NegativeOrUnknownIdsGiveTheDefaultFont)
{
    CUIManager manager;
    HFONT shared = manager.GetDefaultFontEntry()->font;
    manager.AddFont(30, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
    EXPECT_EQ(shared, manager.GetFont(-1));
    EXPECT_EQ(shared, manager.GetFont(31));
    EXPECT_EQ(manager.GetDefaultFontEntry(), manager.GetFontEntry(31));
    EXPECT_EQ(manager.GetDefaultFontEntry(), manager.GetFontEntry(static_cast<HFONT>(nullptr)));

    ASSERT_TRUE(manager.SetDefaultFont(L"Arial", 15, UIFONT_PLAIN, ResourceScope::Own));
    HFONT own = manager.GetDefaultFontEntry()->font;
    EXPECT_NE(shared, own);
    EXPECT_EQ(own, manager.GetFont(-1));
    EXPECT_EQ(15, manager.GetDefaultFontEntry()->size);
    CUIManager other;
    EXPECT_EQ(shared, other.GetFont(-1));
}

TEST(UIManagerFonts, OwnTableComesBeforeTheSharedOne)
{
    CUIManager sharer;
    CUIManager owner;
    HFONT shared = sharer.AddFont(40, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
    HFONT own = owner.AddFont(40, L"Tahoma", 12, UIFONT_PLAIN, ResourceScope::Own);
    EXPECT_EQ(shared, sharer.GetFont(40));
    EXPECT_EQ(own, owner.GetFont(40));
    EXPECT_EQ(own, owner.GetFontEntry(40)->font);
    EXPECT_EQ(shared, owner.GetFontEntry(shared)->font);
    CUIManager third;
    EXPECT_EQ(shared, third.GetFont(40));
    sharer.RemoveAllFonts(ResourceScope::Shared);
    EXPECT_FALSE(IsLiveFont(shared));
    EXPECT_EQ(third.GetDefaultFontEntry()->font, third.GetFont(40));
}

TEST(UIManagerFonts, ManagerUsingSharedResourcesAddsToTheSharedTable)
{
    CUIManager sharer;
    sharer.SetUseSharedResources(true);
    HFONT font = sharer.AddFont(41, L"Arial", 13, UIFONT_PLAIN, ResourceScope::Own);
    CUIManager other;
    EXPECT_EQ(font, other.GetFont(41));
    other.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerFonts, FindFontNeedsEveryPropertyToMatch)
{
    CUIManager manager;
    HFONT own = manager.AddFont(50, L"Tahoma", 12, UIFONT_BOLD, ResourceScope::Own);
    HFONT shared = manager.AddFont(51, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
    EXPECT_EQ(own, manager.FindFont(L"Tahoma", 12, UIFONT_BOLD));
    EXPECT_EQ(shared, manager.FindFont(L"Arial", 12, UIFONT_PLAIN));
    EXPECT_EQ(nullptr, manager.FindFont(L"tahoma", 12, UIFONT_BOLD));
    EXPECT_EQ(nullptr, manager.FindFont(L"Tahoma", 13, UIFONT_BOLD));
    EXPECT_EQ(nullptr, manager.FindFont(L"Tahoma", 12, UIFONT_PLAIN));
    EXPECT_EQ(nullptr, manager.FindFont(L"Tahoma", 12, UIFONT_BOLD | UIFONT_UNDERLINE));

    // Both layers hold the same description: the manager's own is found.
    HFONT ownTwin = manager.AddFont(52, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
    EXPECT_EQ(ownTwin, manager.FindFont(L"Arial", 12, UIFONT_PLAIN));
    manager.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerFonts, EntriesAreMeasuredWhenFirstAskedFor)
{
    CUIManager windowless;
    windowless.AddFont(60, L"Arial", 16, UIFONT_PLAIN, ResourceScope::Shared);
    // No paint device context: nothing can be measured yet.
    EXPECT_EQ(0, windowless.GetFontEntry(60)->metrics.tmHeight);

    CTestWindow window;
    CUIManager attached;
    attached.AttachWindow(window.Handle(), L"measure");
    FontEntry* entry = attached.GetFontEntry(60);
    EXPECT_NE(0, entry->metrics.tmHeight);
    EXPECT_EQ(entry, attached.GetFontEntry(entry->font));

    // Added while a device context exists: measured at once.
    attached.AddFont(61, L"Arial", 20, UIFONT_PLAIN, ResourceScope::Shared);
    EXPECT_NE(0, windowless.GetFontEntry(61)->metrics.tmHeight);
    attached.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerFonts, RemovingOwnFontsDeletesThemAndLeavesSharedOnes)
{
    CUIManager manager;
    HFONT own = manager.AddFont(70, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Own);
    HFONT shared = manager.AddFont(71, L"Arial", 12, UIFONT_PLAIN, ResourceScope::Shared);
    manager.RemoveAllFonts(ResourceScope::Own);
    EXPECT_FALSE(IsLiveFont(own));
    EXPECT_EQ(manager.GetDefaultFontEntry()->font, manager.GetFont(70));
    EXPECT_EQ(shared, manager.GetFont(71));
    manager.RemoveAllFonts(ResourceScope::Shared);
}

TEST(UIManagerFonts, SharedDefaultFontReplacementDeletesTheOldOne)
{
    CTestWindow window;
    CUIManager manager;
    manager.AttachWindow(window.Handle(), L"default");
    FontEntry before = *manager.GetDefaultFontEntry();
    const UINT beforeStyles = (before.bold ? UINT{UIFONT_BOLD} : 0u) | (before.underline ? UINT{UIFONT_UNDERLINE} : 0u) |
                              (before.italic ? UINT{UIFONT_ITALIC} : 0u) | (before.strikeout ? UINT{UIFONT_STRIKEOUT} : 0u);
    ASSERT_TRUE(manager.SetDefaultFont(L"Tahoma", 19, UIFONT_UNDERLINE, ResourceScope::Shared));
    EXPECT_FALSE(IsLiveFont(before.font));
    FontEntry* entry = manager.GetDefaultFontEntry();
    EXPECT_STREQ(L"Tahoma", entry->faceName.GetData());
    EXPECT_EQ(19, entry->size);
    EXPECT_EQ(1, entry->underline);
    EXPECT_NE(0, entry->metrics.tmHeight);
    CUIManager other;
    EXPECT_EQ(entry->font, other.GetFont(-1));

    ASSERT_TRUE(manager.SetDefaultFont(before.faceName.GetData(), before.size, beforeStyles,
                                       ResourceScope::Shared));
}

// ---- Images ----------------------------------------------------------------

TEST(UIManagerImages, EmptyNamesAndUnknownImagesGiveNull)
{
    CUIManager manager;
    EXPECT_EQ(nullptr, manager.AddImage(nullptr, nullptr, 0, false, ResourceScope::Own));
    EXPECT_EQ(nullptr, manager.AddImage(L"", nullptr, 0, false, ResourceScope::Own));
    EXPECT_EQ(nullptr, manager.GetImage(L"never/added.png"));
    EXPECT_EQ(nullptr, manager.GetImage(nullptr));
}

// A colour image needs no file, so it shows what the manager adds to a
// loaded entry: the type it was asked with, the mask and the pixel copy.
TEST(UIManagerImages, LoadedImagesRecordHowTheyWereRequested)
{
    CUIManager manager;
    ImageEntry* image = manager.AddImage(L"#FF336699", L"*COLOR*", 0xFF000000, true, ResourceScope::Own);
    ASSERT_NE(nullptr, image);
    EXPECT_STREQ(L"*COLOR*", image->resType.GetData());
    EXPECT_EQ(0xFF000000u, image->mask);
    EXPECT_TRUE(image->useHsl);
    ASSERT_NE(nullptr, image->sourcePixels);
    EXPECT_EQ(0, std::memcmp(image->sourcePixels, image->pixels, 4));
    EXPECT_EQ(image, manager.GetImage(L"#FF336699"));
    EXPECT_EQ(image, manager.GetOrAddImage(L"#FF336699", nullptr, 0, false));
}

TEST(UIManagerImages, ImagesThatCannotBeLoadedAreNotStored)
{
    CUIManager manager;
    EXPECT_EQ(nullptr, manager.AddImage(L"bk/main_bk.png", nullptr, 0, false, ResourceScope::Own));
    EXPECT_EQ(nullptr, manager.AddImage(L"102", L"PNG", 0, true, ResourceScope::Shared));
    EXPECT_EQ(nullptr, manager.GetImage(L"bk/main_bk.png"));
    EXPECT_EQ(nullptr, manager.GetImage(L"102"));
}

// ---- Default attribute lists -------------------------------------------------

TEST(UIManagerDefaults, OwnListComesBeforeTheSharedOne)
{
    CUIManager sharer;
    CUIManager owner;
    sharer.AddDefaultAttributes(L"DefaultsTestButton", L"height=\"30\"", ResourceScope::Shared);
    owner.AddDefaultAttributes(L"DefaultsTestButton", L"height=\"40\"", ResourceScope::Own);
    EXPECT_STREQ(L"height=\"30\"", sharer.GetDefaultAttributes(L"DefaultsTestButton"));
    EXPECT_STREQ(L"height=\"40\"", owner.GetDefaultAttributes(L"DefaultsTestButton"));
    EXPECT_EQ(nullptr, owner.GetDefaultAttributes(L"defaultstestbutton"));

    owner.RemoveAllDefaultAttributes(ResourceScope::Own);
    EXPECT_STREQ(L"height=\"30\"", owner.GetDefaultAttributes(L"DefaultsTestButton"));
    sharer.RemoveAllDefaultAttributes(ResourceScope::Shared);
    EXPECT_EQ(nullptr, owner.GetDefaultAttributes(L"DefaultsTestButton"));
}

TEST(UIManagerDefaults, LaterListReplacesEarlierAndSharingManagersWriteShared)
{
    CUIManager sharer;
    sharer.SetUseSharedResources(true);
    sharer.AddDefaultAttributes(L"DefaultsTestLabel", L"a=\"1\"", ResourceScope::Own);
    sharer.AddDefaultAttributes(L"DefaultsTestLabel", L"a=\"2\"", ResourceScope::Own);
    sharer.AddDefaultAttributes(nullptr, L"ignored", ResourceScope::Own);
    sharer.AddDefaultAttributes(L"DefaultsTestEmpty", nullptr, ResourceScope::Own);
    CUIManager other;
    EXPECT_STREQ(L"a=\"2\"", other.GetDefaultAttributes(L"DefaultsTestLabel"));
    EXPECT_STREQ(L"", other.GetDefaultAttributes(L"DefaultsTestEmpty"));
    other.RemoveAllDefaultAttributes(ResourceScope::Shared);
}

// ---- Window custom attributes --------------------------------------------------

TEST(UIManagerWindowAttributes, FirstValueWinsAndEmptyPartsAreIgnored)
{
    CUIManager manager;
    manager.AddWindowCustomAttribute(L"theme", L"dark");
    manager.AddWindowCustomAttribute(L"theme", L"light");
    manager.AddWindowCustomAttribute(L"", L"x");
    manager.AddWindowCustomAttribute(nullptr, L"x");
    manager.AddWindowCustomAttribute(L"empty", L"");
    manager.AddWindowCustomAttribute(L"none", nullptr);
    EXPECT_STREQ(L"dark", manager.GetWindowCustomAttribute(L"theme"));
    EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"empty"));
    EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"none"));
    manager.RemoveAllWindowCustomAttributes();
    EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"theme"));
    manager.AddWindowCustomAttribute(L"theme", L"light");
    EXPECT_STREQ(L"light", manager.GetWindowCustomAttribute(L"theme"));
}

// ---- Option groups -------------------------------------------------------------

TEST(UIManagerOptionGroups, JoiningKeepsOrderAndRefusesDuplicates)
{
    CUIManager manager;
    CFakeControl a, b;
    EXPECT_TRUE(manager.JoinOptionGroup(L"tabs", &a));
    EXPECT_TRUE(manager.JoinOptionGroup(L"tabs", &b));
    EXPECT_FALSE(manager.JoinOptionGroup(L"tabs", &a));
    EXPECT_FALSE(manager.JoinOptionGroup(L"", &a));
    EXPECT_FALSE(manager.JoinOptionGroup(nullptr, &a));
    EXPECT_FALSE(manager.JoinOptionGroup(L"tabs", nullptr));
    const CPtrList* members = manager.OptionGroupMembers(L"tabs");
    ASSERT_NE(nullptr, members);
    ASSERT_EQ(2, members->GetSize());
    EXPECT_EQ(&a, members->GetAt(0));
    EXPECT_EQ(&b, members->GetAt(1));
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"other"));
}

TEST(UIManagerOptionGroups, LeavingTheLastOptionRemovesTheGroup)
{
    CUIManager manager;
    CFakeControl a, b, stranger;
    manager.JoinOptionGroup(L"tabs", &a);
    manager.JoinOptionGroup(L"tabs", &b);
    manager.LeaveOptionGroup(L"tabs", &stranger);
    manager.LeaveOptionGroup(L"nogroup", &a);
    EXPECT_EQ(2, manager.OptionGroupMembers(L"tabs")->GetSize());
    manager.LeaveOptionGroup(L"tabs", &a);
    ASSERT_EQ(1, manager.OptionGroupMembers(L"tabs")->GetSize());
    EXPECT_EQ(&b, manager.OptionGroupMembers(L"tabs")->GetAt(0));
    manager.LeaveOptionGroup(L"tabs", &b);
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"tabs"));
    EXPECT_TRUE(manager.JoinOptionGroup(L"tabs", &b));
}

TEST(UIManagerOptionGroups, ClearingRemovesEveryGroup)
{
    CUIManager manager;
    CFakeControl a, b;
    manager.JoinOptionGroup(L"one", &a);
    manager.JoinOptionGroup(L"two", &b);
    manager.ClearOptionGroups();
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"one"));
    EXPECT_EQ(nullptr, manager.OptionGroupMembers(L"two"));
}

// Regression: a deleted option stayed in its groups and was used afterwards.
TEST(UIManagerOptionGroups, ForgottenControlLeavesEveryGroup)
{
    CUIManager manager;
    CFakeControl gone, kept;
    // Enough groups to share hash chains, so the walk meets removals in a chain.
    for (int i = 0; i < 200; ++i)
    {
        std::wstring group = L"g" + std::to_wstring(i);
        manager.JoinOptionGroup(group.c_str(), &gone);
        if (i % 2 == 0)
            manager.JoinOptionGroup(group.c_str(), &kept);
    }
    manager.ForgetControl(&gone);
    manager.ForgetControl(nullptr);
    for (int i = 0; i < 200; ++i)
    {
        std::wstring group = L"g" + std::to_wstring(i);
        const CPtrList* members = manager.OptionGroupMembers(group.c_str());
        if (i % 2 == 0)
        {
            ASSERT_NE(nullptr, members) << i;
            ASSERT_EQ(1, members->GetSize()) << i;
            EXPECT_EQ(&kept, members->GetAt(0));
        }
        else
        {
            EXPECT_EQ(nullptr, members) << i;
        }
    }
    EXPECT_EQ(0, gone.deleteCount);
}

// ---- Language texts ----------------------------------------------------------

TEST(UIManagerLanguage, TextsAreStoredByIdAndReplaced)
{
    EXPECT_EQ(nullptr, CUIManager::GetLanguageText(9001));
    CUIManager::AddLanguageText(9001, L"first");
    CUIManager::AddLanguageText(9001, L"second");
    CUIManager::AddLanguageText(9002, nullptr);
    EXPECT_STREQ(L"second", CUIManager::GetLanguageText(9001));
    EXPECT_STREQ(L"", CUIManager::GetLanguageText(9002));
}

TEST(UIManagerLanguage, RegisteredTokensExpandAndOthersStay)
{
    CUIManager::AddLanguageText(12, L"Uninstall");
    CUIManager::AddLanguageText(0, L"zero");
    struct Case
    {
        const wchar_t* text;
        const wchar_t* expanded;
    } cases[] = {
        {L"%{12}", L"Uninstall"},
        {L"Click %{12} now", L"Click Uninstall now"},
        {L"%{12} and %{12}", L"Uninstall and Uninstall"},
        {L"%{012}", L"Uninstall"},
        {L"%{}", L"zero"},
        {L"%{a2}", L"%{a2}"},
        {L"%{1x}", L"%{1x}"},
        {L"%{13}", L"%{13}"},
        {L"%{12", L"%{12"},
        {L"%12}", L"%12}"},
        {L"100%", L"100%"},
        {L"%%{12}", L"%Uninstall"},
        {L"%{99999999999}", L"%{99999999999}"},
        {L"", L""},
    };
    for (const Case& c : cases)
    {
        CUIString text(c.text);
        CUIManager::ExpandLanguageTokens(text);
        EXPECT_STREQ(c.expanded, text.GetData()) << "from " << std::wstring(c.text).size();
    }
}

// Regression: a text holding its own token made the expansion grow forever.
TEST(UIManagerLanguage, TextContainingItsOwnTokenExpandsOnce)
{
    CUIManager::AddLanguageText(77, L"[%{77}]");
    CUIString text(L"a %{77} b");
    CUIManager::ExpandLanguageTokens(text);
    EXPECT_STREQ(L"a [%{77}] b", text.GetData());
}
