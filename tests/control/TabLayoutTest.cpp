// CTabLayoutUI in a real window: one visible page over the client area, page
// selection with "tabselect", and the selection kept right while pages are
// inserted and removed.
#include "ui/control/TabLayoutUI.h"

#include <gtest/gtest.h>

#include "tests/control/ControlTestSupport.h"

using namespace DuiLib;
using namespace DuiLib::test;

namespace {

class TabLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, w.host);
        ASSERT_TRUE(w.host->manager.AddListener(&recorder));
        for (CControlUI*& page : pages)
        {
            page = new CControlUI();
            ASSERT_TRUE(w.layout->Add(page));
        }
        w.PaintNow();
    }
    void TearDown() override
    {
        if (w.host != nullptr)
            w.host->manager.RemoveListener(&recorder);
    }
    // Which pages are visible, as a string of 0s and 1s.
    std::string Shown() const
    {
        std::string shown;
        for (int i = 0; i < w.layout->GetCount(); ++i)
            shown += w.layout->ChildAt(i)->IsVisible() ? '1' : '0';
        return shown;
    }

    CRootWindow<CTabLayoutUI> w{200, 100};
    CNotifyRecorder recorder;
    CControlUI* pages[3] = {};
};

TEST_F(TabLayoutTest, FirstVisiblePageIsSelectedAndFillsTheLayout)
{
    EXPECT_EQ(0, w.layout->GetCurrentSel());
    EXPECT_EQ("100", Shown());
    ExpectRect(RECT{0, 0, 200, 100}, pages[0]->GetPos(), "selected page");
}

TEST_F(TabLayoutTest, SelectItemShowsThePageAndReportsNewAndOldIndex)
{
    EXPECT_TRUE(w.layout->SelectItem(0));
    EXPECT_TRUE(recorder.OfType(L"tabselect").empty()) << "already selected";
    EXPECT_FALSE(w.layout->SelectItem(3));
    EXPECT_FALSE(w.layout->SelectItem(-1));

    EXPECT_TRUE(w.layout->SelectItem(2));
    const std::vector<RecordedNotify> selects = recorder.OfType(L"tabselect");
    ASSERT_EQ(1u, selects.size());
    EXPECT_EQ(w.layout, selects[0].sender);
    EXPECT_EQ(2u, selects[0].wParam);
    EXPECT_EQ(0, selects[0].lParam);
    EXPECT_EQ("001", Shown());
    w.PaintNow();
    ExpectRect(RECT{0, 0, 200, 100}, pages[2]->GetPos(), "new page");

    w.layout->ApplyAttribute(L"selectedid", L"1");
    EXPECT_EQ(1, w.layout->GetCurrentSel());
    EXPECT_EQ(2u, recorder.OfType(L"tabselect").size());
    EXPECT_STREQ(L"1", w.layout->GetCustomAttribute(L"selectedid")) << "the pair also goes on to the base";
}

TEST_F(TabLayoutTest, InsertingAndRemovingPagesKeepsTheSelectionRight)
{
    ASSERT_TRUE(w.layout->SelectItem(1));
    CControlUI* front = new CControlUI();
    ASSERT_TRUE(w.layout->InsertChildAt(front, 0));
    EXPECT_EQ(2, w.layout->GetCurrentSel()) << "the same page stays selected";
    EXPECT_EQ("0010", Shown());

    ASSERT_TRUE(w.layout->Remove(front, ChildDisposal::Destroy));
    EXPECT_EQ(1, w.layout->GetCurrentSel());
    ASSERT_TRUE(w.layout->Remove(pages[1], ChildDisposal::Destroy));
    EXPECT_EQ(0, w.layout->GetCurrentSel()) << "the selected page went: page 0";
    EXPECT_EQ("10", Shown());
    w.PaintNow();
    ExpectRect(RECT{0, 0, 200, 100}, pages[0]->GetPos(), "page 0 placed");

    w.layout->RemoveAll();
    EXPECT_EQ(-1, w.layout->GetCurrentSel());
}

}  // namespace
