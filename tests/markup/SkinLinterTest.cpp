// The skin linter on real skins: the product's archive and a sample skin are
// clean, each broken copy of the sample reports exactly its one fault on its
// line, hostile skins end in a report, and the tables every tool reads are
// complete.
#include "ui/markup/SkinLinter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "MarkupTestSupport.h"
#include "ui/control/ControlUI.h"
#include "ui/core/UIManager.h"
#include "ui/markup/ControlTags.h"
#include "ui/markup/SkinElements.h"
#include "ui/render/ImageDrawSpec.h"

using namespace DuiLib;
using test::DataFolder;

namespace {

SkinLocation LintFolder()
{
    SkinLocation location;
    location.folder = (DataFolder() + L"lint\\").c_str();
    return location;
}

std::wstring Listing(const CSkinLinter& linter)
{
    std::wstring text;
    for (const SkinProblem& problem : linter.GetProblems())
        text += std::wstring(CSkinLinter::FormatProblem(problem).GetData()) + L"\n";
    return text;
}

TEST(SkinLinter, ProductSkinArchiveIsClean)
{
    SkinLocation location;
    location.folder = DataFolder().c_str();
    location.zipName = L"product_skin.zip";
    std::strcpy(location.zipPassword, "kTfWqR4m");
    CSkinLinter linter(location);
    EXPECT_EQ(SkinLintResult::Clean, linter.Lint(L"main.xml")) << Listing(linter);
}

TEST(SkinLinter, SampleSkinIsClean)
{
    CSkinLinter linter(LintFolder());
    EXPECT_EQ(SkinLintResult::Clean, linter.Lint(L"clean.xml")) << Listing(linter);
}

struct BrokenSkin
{
    const wchar_t* file;
    int line;
    const wchar_t* message;
};

TEST(SkinLinter, EachBrokenSkinReportsItsOneFaultOnItsLine)
{
    const BrokenSkin cases[] = {
        {L"parse_error.xml", 11, L"XML does not parse: Expected attribute value"},
        {L"unknown_tag.xml", 11,
         L"<Lable> is no tag of the toolkit; the element and its children are skipped (did you mean <Label>?)"},
        {L"misspelled_attribute.xml", 9,
         L"<VerticalLayout> (CVerticalLayoutUI) has no attribute \"bkimgae\" (did you mean \"bkimage\"?)"},
        {L"missing_image.xml", 13, L"image \"bk/missing.png\" cannot be found"},
        {L"duplicate_name.xml", 13, L"control name \"title\" is used again; first at duplicate_name.xml(11)"},
        {L"missing_include.xml", 12, L"<Include source=\"sub/nowhere.xml\"> cannot be loaded: Error opening file"},
        {L"undeclared_font.xml", 11, L"font 4 is not declared"},
        {L"broken_image.xml", 6, L"image \"bk/broken.png\" cannot be decoded"},
    };
    for (const BrokenSkin& skin : cases)
    {
        CSkinLinter linter(LintFolder());
        EXPECT_EQ(SkinLintResult::Problems, linter.Lint(skin.file)) << skin.file;
        ASSERT_EQ(1u, linter.GetProblems().size()) << Listing(linter);
        const SkinProblem& problem = linter.GetProblems()[0];
        EXPECT_STREQ(skin.file, problem.file.GetData());
        EXPECT_EQ(skin.line, problem.line) << skin.file;
        EXPECT_EQ(0u, std::wstring(problem.message.GetData()).find(skin.message)) << Listing(linter);
    }
}

TEST(SkinLinter, HostileIncludesEndInAReportAtTheBuildersBounds)
{
    CSkinLinter self(LintFolder());
    EXPECT_EQ(SkinLintResult::Problems, self.Lint(L"self.xml"));
    ASSERT_EQ(1u, self.GetProblems().size()) << Listing(self);
    EXPECT_EQ(3, self.GetProblems()[0].line);
    EXPECT_NE(std::wstring::npos, Listing(self).find(L"nests deeper than 10 levels")) << Listing(self);

    // The inline document's control counts a million times over.
    CSkinLinter huge(LintFolder());
    EXPECT_EQ(SkinLintResult::Problems, huge.Lint(L"huge.xml"));
    EXPECT_EQ(L"huge.xml(3): the skin's includes build more than 4096 times in all; the builder skips the builds "
              L"beyond\nhuge.xml(3): the skin makes more than 20000 controls; the builder skips the rest\n",
              Listing(huge));
}

TEST(SkinLinter, ASkinThatCannotBeReadSaysSo)
{
    CSkinLinter missing(LintFolder());
    EXPECT_EQ(SkinLintResult::CannotOpen, missing.Lint(L"absent.xml"));
    ASSERT_EQ(1u, missing.GetProblems().size());
    EXPECT_EQ(L"absent.xml: Error opening file",
              std::wstring(CSkinLinter::FormatProblem(missing.GetProblems()[0]).GetData()));

    SkinLocation wrongPassword;
    wrongPassword.folder = DataFolder().c_str();
    wrongPassword.zipName = L"product_skin.zip";
    std::strcpy(wrongPassword.zipPassword, "not-it");
    CSkinLinter locked(wrongPassword);
    EXPECT_EQ(SkinLintResult::CannotOpen, locked.Lint(L"main.xml")) << Listing(locked);
}

// Faults beyond the six an author makes most, each alone in a skin given as
// XML text; the expected report names the element and the rule.
TEST(SkinLinter, ReportsWhatTheBuilderWouldQuietlyDrop)
{
    const struct
    {
        const wchar_t* xml;
        const wchar_t* report;
    } cases[] = {
        {L"<Window sise=\"1,1\"><Control/></Window>",
         L"inline XML(1): <Window> has no attribute \"sise\" (did you mean \"size\"?)"},
        {L"<Window><Control bkimage=\"color='#FF000000' fadee='200'\"/></Window>",
         L"inline XML(1): the image description of bkimage has no key \"fadee\" (did you mean \"fade\"?)"},
        {L"<Window><Default name=\"Buton\" value=\"\"/><Control/></Window>",
         L"inline XML(1): <Default name=\"Buton\">: there is no such tag"},
        {L"<Window><Default name=\"Button\" value=\"textcolr=&quot;#FF000000&quot;\"/><Control/></Window>",
         L"inline XML(1): <Button> has no attribute \"textcolr\" (did you mean \"textcolor\"?)"},
        {L"<Window><Default name=\"Button\" value=\"\"/><button/></Window>",
         L"inline XML(1): <Default name=\"Button\"> does not reach <button>"},
        {L"<Window><RichEdit/></Window>", L"inline XML(1): <RichEdit>: the toolkit has no class CRichEditUI yet"},
        {L"<Window><gifanim/></Window>",
         L"inline XML(1): <gifanim> is no tag of the toolkit; the element and its children are skipped (did you "
         L"mean <GifAnim>? It matches only as written)"},
        {L"<Window><VBox><Font id=\"1\" name=\"Arial\"/></VBox></Window>",
         L"inline XML(1): <Font> is ignored here: resource elements count only directly inside the root"},
        {L"<Window><ChildLayout><Control/></ChildLayout></Window>",
         L"inline XML(1): <Control> (CControlUI) is dropped with the elements after it"},
        {L"<Window><Control/><Label/></Window>", L"inline XML(1): <Label> (CLabelUI) is dropped"},
        {L"<VBox><Control/></VBox>", L"inline XML(1): the root element <VBox> makes no control"},
        {L"<Window><ChildLayout xmlfile=\"nowhere.xml\"/></Window>",
         L"inline XML(1): xmlfile \"nowhere.xml\" cannot be loaded: Error opening file; the layout stays empty"},
        {L"<Window><Control bkimage=\"file='bk/back.png' dest='1,1,2,2'x\"/></Window>",
         L"inline XML(1): the image description of bkimage is malformed after its first items"},
        // Lines inside an Include's XML text count from its source attribute.
        {L"<Window>\n<VBox>\n<Include\n source=\"&lt;Window&gt;\n&lt;Lable/&gt;&lt;/Window&gt;\"/></VBox></Window>",
         L"inline XML(5): <Lable> is no tag"},
        {L"<Window><VBox vscrollbar=\"true\" vscrollbarstyle=\"thumbimage=&quot;&quot;\"/></Window>",
         L"inline XML(1): the scroll bar of vscrollbarstyle has no attribute \"thumbimage\""},
    };
    for (const auto& skin : cases)
    {
        CSkinLinter linter(LintFolder());
        EXPECT_EQ(SkinLintResult::Problems, linter.Lint(skin.xml)) << skin.xml;
        ASSERT_EQ(1u, linter.GetProblems().size()) << Listing(linter);
        EXPECT_EQ(0u, Listing(linter).find(skin.report)) << Listing(linter);
    }
}

TEST(SkinLinter, ReportingStopsAfterItsBound)
{
    std::wstring xml = L"<Window>";
    for (int i = 0; i < CSkinLinter::kMaxProblems + 100; ++i)
        xml += L"<Bogus/>\n";
    xml += L"</Window>";
    CSkinLinter linter(LintFolder());
    EXPECT_EQ(SkinLintResult::Problems, linter.Lint(xml.c_str()));
    ASSERT_EQ(static_cast<size_t>(CSkinLinter::kMaxProblems) + 1, linter.GetProblems().size());
    EXPECT_STREQ(L"too many problems; the check stops here", linter.GetProblems().back().message.GetData());
}

// What the reference and the linter read must be there for every row: a
// row without grammar, default or meaning, or a name listed twice in one
// table, is a fault of the table.
void ExpectComplete(const CAttributeList& list, std::set<const CAttributeList*>& seen)
{
    for (const CAttributeList* table = &list; table != nullptr && seen.insert(table).second; table = table->Base())
    {
        std::set<std::wstring> names;
        for (int i = 0; i < table->RowCount(); ++i)
        {
            const AttributeInfo row = table->Row(i);
            EXPECT_TRUE(names.insert(row.name).second) << table->Owner() << " lists " << row.name << " twice";
            EXPECT_NE(L'\0', row.grammar[0]) << table->Owner() << "." << row.name;
            EXPECT_NE(L'\0', row.defaultText[0]) << table->Owner() << "." << row.name;
            EXPECT_NE(L'\0', row.meaning[0]) << table->Owner() << "." << row.name;
        }
    }
}

TEST(SkinTables, EveryRowOfEveryTableIsDocumented)
{
    std::set<const CAttributeList*> seen;
    int count = 0;
    const ControlTag* tags = GetControlTags(count);
    ASSERT_GT(count, 30);
    for (int i = 0; i < count; ++i)
    {
        if (tags[i].make == nullptr)
            continue;
        IControlUI* control = tags[i].make();
        ExpectComplete(static_cast<CControlUI*>(control->CastTo(L"Control"))->GetAttributeTable(), seen);
        control->Delete();
    }
    int elements = 0;
    const SkinElementInfo* list = GetSkinElements(elements);
    for (int i = 0; i < elements; ++i)
        ExpectComplete(list[i].attributes, seen);
    ExpectComplete(CUIManager::GetWindowAttributeTable(), seen);
    ExpectComplete(GetImageDescriptionKeys(), seen);
    ExpectComplete(GetChildPlacementAttributes(), seen);
    // The twenty control classes with rows of their own (the GDI+ text base
    // among them), the five elements, the window, the image keys and the
    // cover.
    EXPECT_EQ(20u + 5u + 3u, seen.size());
}

}  // namespace
