// The page manager's rules: names, moves and the selection after a delete.
#include <gtest/gtest.h>

#include "notes/page_rules.h"

namespace {

bool Same(std::u16string_view a, std::u16string_view b)
{
    return a == b;
}

}  // namespace

TEST(PageNames, BlankNameIsRefusedAndPaddingIsDropped)
{
    std::vector<std::u16string> names = {u"日常", u"工作"};
    EXPECT_EQ(pages::CheckPageName(u"  \t", names, -1, Same).check, pages::NameCheck::Empty);
    auto r = pages::CheckPageName(u"  读书 ", names, -1, Same);
    EXPECT_EQ(r.check, pages::NameCheck::Ok);
    EXPECT_EQ(r.name, u"读书");
}

TEST(PageNames, DuplicatesAreRefusedButRenamingToItselfIsFine)
{
    std::vector<std::u16string> names = {u"日常", u"Work"};
    EXPECT_EQ(pages::CheckPageName(u"日常", names, -1, Same).check, pages::NameCheck::Duplicate);
    EXPECT_EQ(pages::CheckPageName(u"日常", names, 0, Same).check, pages::NameCheck::Ok);
    EXPECT_EQ(pages::CheckPageName(u"work", names, 0, Same).check, pages::NameCheck::Ok);
    EXPECT_EQ(pages::CheckPageName(u" Work ", names, 0, Same).check, pages::NameCheck::Duplicate);
}

TEST(PageMoves, TargetsExchangeWithTheOtherEnd)
{
    EXPECT_EQ(pages::MoveTarget(pages::Move::Top, 3, 4), 0);
    EXPECT_EQ(pages::MoveTarget(pages::Move::Bottom, 0, 4), 3);
    EXPECT_EQ(pages::MoveTarget(pages::Move::Up, 2, 4), 1);
    EXPECT_EQ(pages::MoveTarget(pages::Move::Down, 2, 4), 3);
}

TEST(PageMoves, MovesThatGoNowhereDoNothing)
{
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Up, 0, 4));
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Down, 3, 4));
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Top, 0, 4));
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Bottom, 3, 4));
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Down, 0, 1));   // single page
    EXPECT_FALSE(pages::MoveTarget(pages::Move::Down, -1, 4));  // no selection
}

TEST(PageDelete, SelectionStaysOrFallsBackToTheLast)
{
    EXPECT_EQ(pages::SelectionAfterDelete(1, 3), 1);
    EXPECT_EQ(pages::SelectionAfterDelete(3, 3), 2);
    EXPECT_EQ(pages::SelectionAfterDelete(0, 0), -1);
}

TEST(PageRules, EndOfLinesCountsLineEndsAndStopsAtTheText)
{
    EXPECT_EQ(pages::EndOfLines(u"a\r\nbb\r\nccc", 0), 0u);
    EXPECT_EQ(pages::EndOfLines(u"a\r\nbb\r\nccc", 1), 3u);
    EXPECT_EQ(pages::EndOfLines(u"a\r\nbb\r\nccc", 2), 7u);
    EXPECT_EQ(pages::EndOfLines(u"a\r\nbb\r\nccc", 3), 10u) << "the last line has no end";
    EXPECT_EQ(pages::EndOfLines(u"a\nb\n", 2), 4u) << "a lone LF ends a line too";
    EXPECT_EQ(pages::EndOfLines(u"", 5), 0u);
}
