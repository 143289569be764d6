// The window-free decisions of drag and drop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/drop_rules.h"

namespace {

using namespace droprules;

// Hard lines of a text, as an edit control without word wrap has them.
class TextLines : public EditLines {
public:
    explicit TextLines(std::u16string text) : m_text(std::move(text))
    {
        m_starts.push_back(0);
        for (std::size_t i = 0; i + 1 < m_text.size(); ++i) {
            if (m_text[i] == u'\r' && m_text[i + 1] == u'\n') m_starts.push_back(static_cast<int>(i + 2));
        }
    }
    int LineCount() const override { return static_cast<int>(m_starts.size()); }
    int LineFromChar(int c) const override
    {
        int line = 0;
        while (line + 1 < LineCount() && m_starts[line + 1] <= c) ++line;
        return line;
    }
    int LineIndex(int line) const override { return m_starts[line]; }

private:
    std::u16string m_text;
    std::vector<int> m_starts;
};

TEST(DropRules, TextGoesToTheStartOfTheLineAfterTheCaret)
{
    const TextLines edit(u"one\r\ntwo\r\nthree");
    EXPECT_EQ(InsertionOffset(edit, 1), 5);    // in "one" -> before "two"
    EXPECT_EQ(InsertionOffset(edit, 5), 10);   // start of "two" -> before "three"
    EXPECT_EQ(InsertionOffset(edit, 12), 12);  // last line: at the caret itself
    EXPECT_EQ(InsertionOffset(TextLines(u""), 0), 0);
}

TEST(DropRules, DroppedTextGetsLineEndAndOptionalBlankLine)
{
    EXPECT_EQ(PageText(u"x", false), u"x\r\n");
    EXPECT_EQ(PageText(u"x", true), u"\r\nx\r\n");
    EXPECT_EQ(AppendedText(u"x", false, false), u"x");
    EXPECT_EQ(AppendedText(u"http://h/", true, false), u"http://h/\r\n");
    EXPECT_EQ(AppendedText(u"x", true, true), u"\r\nx\r\n");
}

TEST(DropRules, AppendedContentStartsOnANewLine)
{
    EXPECT_FALSE(NeedsLineBreakBeforeAppend(u""));
    EXPECT_FALSE(NeedsLineBreakBeforeAppend(u"a\r\n"));
    EXPECT_TRUE(NeedsLineBreakBeforeAppend(u"a"));
    EXPECT_TRUE(NeedsLineBreakBeforeAppend(u"a\r\nb"));
}

TEST(DropRules, HtmlChoicesProduceLinksTextOrTheRawPayload)
{
    const std::string cb = "Version:0.9\r\nSourceURL:http://h/d/\r\n<html><body><a href=\"x\">X</a></body></html>";
    EXPECT_EQ(HtmlDropText(cb, kUrl, false), u"http://h/d/x\r\n");
    EXPECT_EQ(HtmlDropText(cb, kTextAndUrl, false), u"X\thttp://h/d/x\r\n");
    EXPECT_EQ(HtmlDropText(cb, kUrl, true), u"\r\nhttp://h/d/x\r\n");
    // Raw HTML is the clipboard data exactly, header lines included.
    EXPECT_EQ(HtmlDropText(cb, kRawHtml, false),
              u"Version:0.9\r\nSourceURL:http://h/d/\r\n<html><body><a href=\"x\">X</a></body></html>");
    EXPECT_EQ(HtmlDropText(cb + std::string("\0garbage", 8), kRawHtml, false).size(), cb.size());
}

TEST(DropRules, FileListIsOnePathPerLine)
{
    EXPECT_EQ(FileListText({u"C:\\a.txt", u"D:\\目录\\b"}), u"C:\\a.txt\r\nD:\\目录\\b\r\n");
    EXPECT_EQ(FileListText({}), u"");
}

TEST(DropRules, SelectionTestIncludesBothEnds)
{
    EXPECT_TRUE(WithinSelection(3, 3, 7));
    EXPECT_TRUE(WithinSelection(7, 3, 7));
    EXPECT_FALSE(WithinSelection(2, 3, 7));
    EXPECT_FALSE(WithinSelection(8, 3, 7));
    EXPECT_FALSE(WithinSelection(3, 3, 3));   // no selection
}

TEST(DropRules, MovingASelectionWithinItsPage)
{
    // Selection [10, 15) of 5 characters.
    EXPECT_FALSE(MoveTarget(10, 15, 12, 5).has_value());   // onto itself: nothing
    EXPECT_FALSE(MoveTarget(10, 15, 15, 5).has_value());
    EXPECT_EQ(MoveTarget(10, 15, 4, 5), 4);                // before: the drop point stands
    EXPECT_EQ(MoveTarget(10, 15, 20, 5), 15);              // after: shifted by the moved text
    EXPECT_EQ(MoveTarget(0, 3, 2 + 3 + 1, 100), 0);        // never below 0
}

TEST(DropRules, StoredChoiceOnlyWhenNotAsking)
{
    EXPECT_FALSE(StoredChoice(0, 2).has_value());
    EXPECT_EQ(StoredChoice(1, 2), 2);
    EXPECT_EQ(StoredChoice(1, 3), 3);
    EXPECT_EQ(StoredChoice(1, 9), 0);   // a damaged INI value falls back to URL
}

TEST(DropRules, FloatingWindowTransparency)
{
    EXPECT_FALSE(FloatAlpha(0).has_value());
    EXPECT_EQ(FloatAlpha(80), 51);
    EXPECT_EQ(FloatAlpha(40), 153);
    EXPECT_EQ(FloatAlpha(95), 51);          // capped at 80
    EXPECT_FALSE(FloatAlpha(0x100).has_value());  // low 8 bits only
}

}  // namespace
