// Printed lines and pages of a page's text.
#include "framework/text_pages.h"

#include <gtest/gtest.h>

using namespace textpages;

namespace {

// Every character 10 units wide, CJK 20.
int Width(char16_t c) { return c >= 0x2E80 ? 20 : 10; }

std::vector<std::u16string> Texts(std::u16string_view text, const std::vector<Line>& lines)
{
    std::vector<std::u16string> out;
    for (const Line& l : lines)
        out.emplace_back(text.substr(l.start, l.length));
    return out;
}

std::vector<std::u16string> Lay(std::u16string_view text, int width, int tab = 80)
{
    return Texts(text, LayOutLines(text, width, tab, Width));
}

using V = std::vector<std::u16string>;

}  // namespace

TEST(TextPagesLines, LineEndsOfEveryKind)
{
    EXPECT_EQ(Lay(u"a\r\nb\nc\rd", 1000), (V{u"a", u"b", u"c", u"d"}));
}

TEST(TextPagesLines, EmptyTextIsOneEmptyLine)
{
    EXPECT_EQ(Lay(u"", 1000), (V{u""}));
}

TEST(TextPagesLines, EmptyLinesInsideArePrinted)
{
    EXPECT_EQ(Lay(u"a\r\n\r\nb", 1000), (V{u"a", u"", u"b"}));
}

TEST(TextPagesLines, FinalLineEndAddsNoSheetLine)
{
    EXPECT_EQ(Lay(u"a\r\n", 1000), (V{u"a"}));
}

TEST(TextPagesLines, LongLineBreaksAtTheLastBlank)
{
    EXPECT_EQ(Lay(u"aaa bbb ccc", 85), (V{u"aaa bbb ", u"ccc"}));
    EXPECT_EQ(Lay(u"aaa bbb ccc", 75), (V{u"aaa ", u"bbb ccc"}));
}

TEST(TextPagesLines, WordLongerThanTheWidthBreaksAtACharacter)
{
    EXPECT_EQ(Lay(u"abcdefghij", 35), (V{u"abc", u"def", u"ghi", u"j"}));
}

TEST(TextPagesLines, WideCharactersCountTheirWidth)
{
    EXPECT_EQ(Lay(u"中文测试", 45), (V{u"中文", u"测试"}));
}

TEST(TextPagesLines, TabsAdvanceToTheNextStop)
{
    // "abcde" (50), a tab to 80, "fgh" would end at 110: cut after the tab.
    EXPECT_EQ(Lay(u"abcde\tfgh", 100, 40), (V{u"abcde\t", u"fgh"}));
    EXPECT_EQ(Lay(u"abcde\tf", 100, 40), (V{u"abcde\tf"}));
}

TEST(TextPagesLines, ZeroWidthStillProgresses)
{
    EXPECT_EQ(Lay(u"abc", 0), (V{u"a", u"b", u"c"}));
}

TEST(TextPagesLines, SurrogatePairsStayTogether)
{
    std::u16string text = u"a\U0001F600b";
    EXPECT_EQ(Lay(text, 15), (V{u"a", u"\U0001F600", u"b"}));
}

TEST(TextPagesPages, CountAndRanges)
{
    EXPECT_EQ(PageCount(0, 50), 1u);
    EXPECT_EQ(PageCount(50, 50), 1u);
    EXPECT_EQ(PageCount(51, 50), 2u);
    EXPECT_EQ(PageCount(10, 0), 10u);
    PageLines p = LinesOfPage(1, 120, 50);
    EXPECT_EQ(p.first, 50u);
    EXPECT_EQ(p.count, 50u);
    p = LinesOfPage(2, 120, 50);
    EXPECT_EQ(p.first, 100u);
    EXPECT_EQ(p.count, 20u);
    EXPECT_EQ(LinesOfPage(3, 120, 50).count, 0u);
}

TEST(TextPagesPrintRange, RangeInsideTheDocumentPrintsInOrder)
{
    EXPECT_EQ(PagesToPrint(2, 3, 1, 5), (std::vector<unsigned>{2, 3}));
    EXPECT_EQ(PagesToPrint(4, 4, 1, 5), (std::vector<unsigned>{4}));
    // "All pages" is the widest range the dialog knows.
    EXPECT_EQ(PagesToPrint(1, 0xFFFF, 1, 3), (std::vector<unsigned>{1, 2, 3}));
}

TEST(TextPagesPrintRange, RangeWrittenBackwardsPrintsBackwards)
{
    EXPECT_EQ(PagesToPrint(3, 2, 1, 5), (std::vector<unsigned>{3, 2}));
    EXPECT_EQ(PagesToPrint(9, 1, 1, 3), (std::vector<unsigned>{3, 2, 1}));
    // Down to page 0 of a document that counts from 0, and no further.
    EXPECT_EQ(PagesToPrint(2, 0, 0, 4), (std::vector<unsigned>{2, 1, 0}));
}

TEST(TextPagesPrintRange, RangePastTheEndKeepsThePagesThatExist)
{
    EXPECT_EQ(PagesToPrint(2, 9, 1, 3), (std::vector<unsigned>{2, 3}));
    // Wholly past the end: the last page rather than a blank sheet.
    EXPECT_EQ(PagesToPrint(7, 9, 1, 5), (std::vector<unsigned>{5}));
    EXPECT_EQ(PagesToPrint(0, 0, 1, 5), (std::vector<unsigned>{1}));
}

TEST(TextPagesPrintRange, DocumentWithoutPagesPrintsNothing)
{
    EXPECT_TRUE(PagesToPrint(1, 1, 1, 0).empty());
}
