// Selection rules while items are inserted, deleted and selected.
#include <gtest/gtest.h>

#include "tabstrip/tab_strip_model.h"

using namespace tabstrip;

namespace {

// Items "0", "1", ... with data 100, 101, ...
TabStripModel WithItems(int n, int selection = -1)
{
    TabStripModel m;
    for (int i = 0; i < n; ++i)
        m.Insert(i, std::u16string(1, char16_t(u'0' + i)), uintptr_t(100 + i));
    if (selection >= 0)
        m.Select(selection);
    return m;
}

// Exactly one item carries the selected flag, the one the selection names.
void ExpectFlagsMatchSelection(const TabStripModel& m)
{
    for (int i = 0; i < m.Count(); ++i)
        EXPECT_EQ(m.Item(i)->selected, i == m.Selection()) << "item " << i;
}

}  // namespace

TEST(TabModel, InsertAtCountAppendsAndBeyondFails)
{
    TabStripModel m = WithItems(2);
    EXPECT_EQ(m.Insert(2, u"c", 7), 2);
    EXPECT_EQ(m.Item(2)->label, u"c");
    EXPECT_EQ(m.Insert(4, u"x", 8), kErrBadIndex);
    EXPECT_EQ(m.Insert(-1, u"x", 8), kErrBadIndex);
    EXPECT_EQ(m.Count(), 3);
}

TEST(TabModel, InsertDoesNotSelect)
{
    TabStripModel m;
    EXPECT_EQ(m.Insert(0, u"日常", 1), 0);
    EXPECT_EQ(m.Selection(), -1);
    EXPECT_FALSE(m.Item(0)->selected);
}

TEST(TabModel, InsertBeforeOrAtSelectionKeepsTheSameItemSelected)
{
    TabStripModel m = WithItems(3, 1);
    m.Insert(1, u"new", 9);   // at the selection
    EXPECT_EQ(m.Selection(), 2);
    EXPECT_EQ(m.Item(2)->data, 101u);
    m.Insert(0, u"new", 9);   // before it
    EXPECT_EQ(m.Selection(), 3);
    EXPECT_EQ(m.Item(3)->data, 101u);
    m.Insert(4, u"new", 9);   // after it
    EXPECT_EQ(m.Selection(), 3);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, InsertStoresTheCutLabel)
{
    TabStripModel m;
    m.Insert(0, std::u16string(31, u'a'), 0);
    EXPECT_EQ(m.Item(0)->label, std::u16string(27, u'a') + u"...");
}

TEST(TabModel, DeletingTheOnlyItemClearsTheSelection)
{
    TabStripModel m = WithItems(1, 0);
    EXPECT_EQ(m.Delete(0), kOk);
    EXPECT_EQ(m.Selection(), -1);
    EXPECT_EQ(m.Count(), 0);
}

TEST(TabModel, DeletingTheSelectedLastOfThreeSelectsTheNewLast)
{
    TabStripModel m = WithItems(3, 2);
    m.Delete(2);
    EXPECT_EQ(m.Selection(), 1);
    EXPECT_EQ(m.Item(1)->data, 101u);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, DeletingTheSelectedMiddleSelectsTheItemAfterIt)
{
    TabStripModel m = WithItems(4, 1);
    m.Delete(1);
    EXPECT_EQ(m.Selection(), 1);
    EXPECT_EQ(m.Item(1)->data, 102u);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, DeletingBeforeTheSelectionFollowsTheItem)
{
    TabStripModel m = WithItems(4, 2);
    m.Delete(0);
    EXPECT_EQ(m.Selection(), 1);
    EXPECT_EQ(m.Item(1)->data, 102u);
    m.Delete(3 - 1);   // after the selection: unchanged
    EXPECT_EQ(m.Selection(), 1);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, DeletingWithoutSelectionKeepsNone)
{
    TabStripModel m = WithItems(3);
    m.Delete(1);
    EXPECT_EQ(m.Selection(), -1);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, BadIndexesChangeNothing)
{
    TabStripModel m = WithItems(3, 1);
    EXPECT_EQ(m.Delete(3), kErrBadIndex);
    EXPECT_EQ(m.Delete(-1), kErrBadIndex);
    EXPECT_EQ(m.Select(3), kErrBadIndex);
    EXPECT_EQ(m.Select(-2), kErrBadIndex);
    EXPECT_EQ(m.SetLabel(5, u"x"), kErrBadIndex);
    EXPECT_EQ(m.Count(), 3);
    EXPECT_EQ(m.Selection(), 1);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, SelectMovesTheFlag)
{
    TabStripModel m = WithItems(3, 0);
    EXPECT_EQ(m.Select(2), kOk);
    ExpectFlagsMatchSelection(m);
}

TEST(TabModel, FindByDataGivesTheFirstMatch)
{
    TabStripModel m;
    m.Insert(0, u"a", 5);
    m.Insert(1, u"b", 6);
    m.Insert(2, u"c", 5);
    EXPECT_EQ(m.FindByData(5), 0);
    EXPECT_EQ(m.FindByData(6), 1);
    EXPECT_EQ(m.FindByData(7), -1);
}

TEST(TabModel, SetLabelCutsAndForgetsTheMeasuredWidth)
{
    TabStripModel m = WithItems(1);
    m.Item(0)->labelWidth = 40;
    EXPECT_EQ(m.SetLabel(0, std::u16string(40, u'z')), kOk);
    EXPECT_EQ(m.Item(0)->label.size(), 30u);
    EXPECT_EQ(m.Item(0)->labelWidth, -1);
}
