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
