// Clicks, scroll commands, the select-and-notify message and the contents
// of the notifications.
#include <gtest/gtest.h>

#include <string>

#include "tabstrip/tab_strip_logic.h"

using namespace tabstrip;

namespace {

constexpr int kH = 20;

int SevenPerUnit(std::u16string_view s)
{
    return static_cast<int>(s.size()) * 7;
}

TabStripLogic Tabs(int n, int selection = -1)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(true);
    logic.SetClientSize({600, kH});
    for (int i = 0; i < n; ++i)
        logic.InsertItem(i, u"tt", uintptr_t(0x1000 + i));
    if (selection >= 0)
        logic.SetCurSel(selection);
    return logic;
}

std::u16string LabelOf(const NotifyRecord& rec)
{
    return std::u16string(rec.label);
}

void ExpectZeroBody(const NotifyRecord& rec)
{
    EXPECT_EQ(LabelOf(rec), u"");
    EXPECT_EQ(rec.data, 0u);
    EXPECT_EQ(rec.rect, TabRect{});
    EXPECT_EQ(rec.point, TabPoint{});
    EXPECT_EQ(rec.selected, 0);
    EXPECT_EQ(rec.highlighted, 0);
}

}  // namespace

TEST(TabLogic, FirstCommandOnAnEmptyStripStillNotifiesWithNoItem)
{
    TabStripLogic logic = Tabs(0);
    const CommandOutcome out = logic.ScrollCommand(kCmdFirst);
    EXPECT_TRUE(out.handled);
    EXPECT_TRUE(out.notify);
    const NotifyRecord rec = logic.MakeNotification(logic.GetCurSel(), {5, 5});
    EXPECT_EQ(rec.item, -1);
    ExpectZeroBody(rec);
}

TEST(TabLogic, LastCommandNotifiesEvenWhenNothingChanges)
{
    TabStripLogic logic = Tabs(0);
    EXPECT_TRUE(logic.ScrollCommand(kCmdLast).notify);
    EXPECT_EQ(logic.GetCurSel(), -1);
    TabStripLogic three = Tabs(3, 2);
    EXPECT_TRUE(three.ScrollCommand(kCmdLast).notify);
    EXPECT_EQ(three.GetCurSel(), 2);
}

TEST(TabLogic, PreviousCommand)
{
    TabStripLogic logic = Tabs(3, 2);
    EXPECT_TRUE(logic.ScrollCommand(kCmdPrevious).notify);
    EXPECT_EQ(logic.GetCurSel(), 1);
    logic.SetCurSel(0);
    EXPECT_FALSE(logic.ScrollCommand(kCmdPrevious).notify);
    EXPECT_EQ(logic.GetCurSel(), 0);
    // With no selection the move fails but the notification (item -1) goes out.
    TabStripLogic none = Tabs(3);
    EXPECT_TRUE(none.ScrollCommand(kCmdPrevious).notify);
    EXPECT_EQ(none.GetCurSel(), -1);
}

TEST(TabLogic, NextCommand)
{
    TabStripLogic logic = Tabs(3, 1);
    EXPECT_TRUE(logic.ScrollCommand(kCmdNext).notify);
    EXPECT_EQ(logic.GetCurSel(), 2);
    EXPECT_FALSE(logic.ScrollCommand(kCmdNext).notify);
    EXPECT_EQ(logic.GetCurSel(), 2);
    // No selection: next selects the first tab.
    TabStripLogic none = Tabs(3);
    EXPECT_TRUE(none.ScrollCommand(kCmdNext).notify);
    EXPECT_EQ(none.GetCurSel(), 0);
    TabStripLogic empty = Tabs(0);
    EXPECT_FALSE(empty.ScrollCommand(kCmdNext).notify);
}

TEST(TabLogic, FirstCommandSelectsAndScrollsToTheStart)
{
    TabStripLogic logic = Tabs(30, 29);
    logic.LayOut(LayoutMode::Last, -1);
    ASSERT_GT(logic.Model().FirstVisible(), 0);
    EXPECT_TRUE(logic.ScrollCommand(kCmdFirst).notify);
    EXPECT_EQ(logic.GetCurSel(), 0);
    EXPECT_EQ(logic.Model().FirstVisible(), 0);
}

TEST(TabLogic, OtherCommandsAreNotOurs)
{
    TabStripLogic logic = Tabs(3, 1);
    EXPECT_FALSE(logic.ScrollCommand(5035).handled);
    EXPECT_FALSE(logic.ScrollCommand(0).handled);
    EXPECT_EQ(logic.GetCurSel(), 1);
}

TEST(TabLogic, SelectAndNotifyIgnoresBadIndexes)
{
    TabStripLogic logic = Tabs(3, 0);
    EXPECT_TRUE(logic.SelectAndNotify(2));
    EXPECT_EQ(logic.GetCurSel(), 2);
    EXPECT_FALSE(logic.SelectAndNotify(3));
    EXPECT_FALSE(logic.SelectAndNotify(-1));
    EXPECT_EQ(logic.GetCurSel(), 2);
}

TEST(TabLogic, ClickOnAnotherTabSelectsItAndNotifies)
{
    TabStripLogic logic = Tabs(3, 0);
    const ClickOutcome out = logic.Click(2, 0);
    EXPECT_TRUE(out.notifySelection);
    EXPECT_TRUE(out.repaint);
    EXPECT_EQ(out.postCommand, 0);
    EXPECT_FALSE(out.startTimer);
    EXPECT_EQ(logic.GetCurSel(), 2);
    EXPECT_TRUE(logic.Item(2)->selected);
    EXPECT_FALSE(logic.Item(0)->selected);
}

TEST(TabLogic, ClickOnTheCurrentTabChangesNothing)
{
    TabStripLogic logic = Tabs(3, 1);
    const ClickOutcome out = logic.Click(1, 0);
    EXPECT_FALSE(out.notifySelection);
    EXPECT_FALSE(out.repaint);
    EXPECT_EQ(logic.GetCurSel(), 1);
}

TEST(TabLogic, ClickOnNothingOrAStaleIndexChangesNothing)
{
    TabStripLogic logic = Tabs(3, 1);
    EXPECT_FALSE(logic.Click(kHitNothing, 0).notifySelection);
    // The parent deleted items while handling NM_CLICK.
    EXPECT_FALSE(logic.Click(7, 0).notifySelection);
    EXPECT_FALSE(logic.Click(-5, 0).notifySelection);
    EXPECT_EQ(logic.GetCurSel(), 1);
    EXPECT_EQ(logic.Buttons().PressedPart(), kHitNothing);
}

TEST(TabLogic, ClickOnAnAbsentButtonDoesNothing)
{
    TabStripLogic logic(SevenPerUnit);
    logic.SetButtonsPresent(false);
    logic.SetClientSize({600, kH});
    logic.InsertItem(0, u"a", 0);
    const ClickOutcome out = logic.Click(kHitFirst, 0);
    EXPECT_EQ(out.postCommand, 0);
    EXPECT_FALSE(out.startTimer);
}

TEST(TabLogic, NotificationCarriesTheItem)
{
    TabStripLogic logic = Tabs(2, 1);
    logic.SetItemText(1, u"读书笔记");
    const NotifyRecord rec = logic.MakeNotification(1, {100, 7});
    EXPECT_EQ(rec.item, 1);
    EXPECT_EQ(LabelOf(rec), u"读书笔记");
    EXPECT_EQ(rec.data, 0x1001u);
    EXPECT_EQ(rec.rect, logic.Item(1)->rect);
    EXPECT_EQ(rec.point, (TabPoint{100, 7}));
    EXPECT_EQ(rec.selected, 1);
    EXPECT_EQ(rec.highlighted, 0);
    EXPECT_EQ(logic.MakeNotification(0, {}).selected, 0);
}

TEST(TabLogic, NotificationCutsATwentyNineUnitLabel)
{
    TabStripLogic logic = Tabs(0);
    logic.InsertItem(0, u"12345678901234567890123456789", 0);
    EXPECT_EQ(LabelOf(logic.MakeNotification(0, {})), u"12345678901234567890123456...");
    logic.SetItemText(0, u"1234567890123456789012345678");
    EXPECT_EQ(LabelOf(logic.MakeNotification(0, {})), u"1234567890123456789012345678");
}

TEST(TabLogic, NotificationForButtonsAndNothingIsZero)
{
    TabStripLogic logic = Tabs(2, 0);
    for (int item : {kHitFirst, kHitPrevious, kHitNext, kHitLast, kHitNothing, 2, 1000}) {
        const NotifyRecord rec = logic.MakeNotification(item, {30, 9});
        EXPECT_EQ(rec.item, item);
        ExpectZeroBody(rec);
    }
}

TEST(TabLogic, OperationsReturnTheTextsCodes)
{
    TabStripLogic logic = Tabs(2);
    EXPECT_EQ(logic.InsertItem(2, u"x", 0), 2);
    EXPECT_EQ(logic.InsertItem(4, u"x", 0), kErrBadIndex);
    EXPECT_EQ(logic.DeleteItem(3), kErrBadIndex);
    EXPECT_EQ(logic.SetCurSel(3), kErrBadIndex);
    EXPECT_EQ(logic.SetItemText(-1, u"x"), kErrBadIndex);
    EXPECT_EQ(logic.SetCurSel(2), kOk);
    EXPECT_EQ(logic.DeleteItem(0), kOk);
    EXPECT_EQ(logic.GetCurSel(), 1);
    EXPECT_EQ(logic.FindItemByData(0x1001), 0);
}

TEST(TabLogic, ResizeToZeroDoesNotLayOut)
{
    TabStripLogic logic = Tabs(3);
    const TabRect before = logic.Item(0)->rect;
    logic.SetClientSize({0, 0});
    EXPECT_EQ(logic.Item(0)->rect, before);
    logic.SetClientSize({600, 30});
    EXPECT_EQ(logic.Item(0)->rect.left, ButtonBlockWidth(30));
}

TEST(TabLogic, AppendingManyTabsAtOnceLaysThemOutAsOneByOne)
{
    TabStripLogic one = Tabs(0);
    TabStripLogic many = Tabs(0);
    std::vector<std::pair<std::u16string, uintptr_t>> items;
    for (int i = 0; i < 300; ++i) {
        std::u16string label(static_cast<size_t>(1 + i % 7), u'页');
        one.InsertItem(i, label, uintptr_t(i + 1));
        items.emplace_back(label, uintptr_t(i + 1));
    }
    EXPECT_EQ(many.AppendItems(items), kOk);
    ASSERT_EQ(many.GetItemCount(), 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(many.Item(i)->data, one.Item(i)->data);
        EXPECT_EQ(many.Item(i)->label, one.Item(i)->label);
        EXPECT_EQ(many.Item(i)->rect.left, one.Item(i)->rect.left) << i;
        EXPECT_EQ(many.Item(i)->state, one.Item(i)->state) << i;
    }
    EXPECT_EQ(many.GetCurSel(), one.GetCurSel());
}
