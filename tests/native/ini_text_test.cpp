// Reading and rewriting an INI file in one go: what the private-profile
// functions would read, in every encoding they accept, with the rest of the
// file left as it was.
#include <gtest/gtest.h>

#include "notes/ini_text.h"

using ini::IniText;

namespace {

std::string Utf16Le(std::u16string_view text)
{
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

const std::string kFile =
    "[ParaBlock]\r\nPARA_CUR_VIEW=2\r\n"
    "[View0]\r\nPARA_START_CHAR=5\r\nPARA_END_CHAR=9\r\nPARA_FIRST_LINE=1\r\n"
    "[Font]\r\nFaceName=\xCB\xCE\xCC\xE5\r\nHeight=-16\r\n";

}  // namespace

TEST(IniTextReading, ReadsAsTheProfileFunctionsDo)
{
    IniText text("; comment\r\n[ParaBlock]\r\n  PARA_TOOLBAR = 0 \r\nPARA_X=\r\nPARA_Y=-12abc\r\nPARA_Z=+7\r\n"
                 "[parablock]\r\nPARA_TOOLBAR=1\r\n[View3]\nPARA_START_CHAR=4");
    EXPECT_EQ(text.Int("ParaBlock", "para_toolbar"), 0) << "names ignore case; the first section counts";
    EXPECT_EQ(text.Int("PARABLOCK", "PARA_X"), std::nullopt) << "an empty value reads as missing";
    EXPECT_EQ(text.Int("ParaBlock", "PARA_Y"), -12);
    EXPECT_EQ(text.Int("ParaBlock", "PARA_Z"), 7);
    EXPECT_EQ(text.Int("View3", "PARA_START_CHAR"), 4) << "LF alone and no end at the last line";
    EXPECT_EQ(text.Int("View4", "PARA_START_CHAR"), std::nullopt);
    EXPECT_EQ(text.Int("ParaBlock", "MISSING"), std::nullopt);
}

TEST(IniTextReading, HugeAndOverflowingNumbersAreClamped)
{
    IniText text("[S]\r\nA=99999999999999999999\r\nB=-99999999999999999999\r\n");
    EXPECT_EQ(text.Int("S", "A"), 2147483647);
    EXPECT_EQ(text.Int("S", "B"), -2147483647 - 1);
}

TEST(IniTextWriting, ReplacesAndAppendsSectionsAndLeavesTheRestByteForByte)
{
    IniText text(kFile);
    text.ReplaceSections({{"View0", {{"PARA_START_CHAR", "1"}, {"PARA_END_CHAR", "2"}, {"PARA_FIRST_LINE", "3"}}},
                          {"View1", {{"PARA_START_CHAR", "4"}}}});
    EXPECT_EQ(text.Bytes(),
              "[ParaBlock]\r\nPARA_CUR_VIEW=2\r\n"
              "[View0]\r\nPARA_START_CHAR=1\r\nPARA_END_CHAR=2\r\nPARA_FIRST_LINE=3\r\n"
              "[Font]\r\nFaceName=\xCB\xCE\xCC\xE5\r\nHeight=-16\r\n"
              "[View1]\r\nPARA_START_CHAR=4\r\n");
    EXPECT_EQ(text.Int("View1", "PARA_START_CHAR"), 4);
    EXPECT_EQ(*text.Value("Font", "FaceName"), "\xCB\xCE\xCC\xE5") << "ANSI bytes untouched";
}

TEST(IniTextWriting, AHeaderOnTheLastLineWithoutAnEndGetsOne)
{
    IniText text("[A]\r\nx=1\r\n[View0]");
    text.ReplaceSections({{"view0", {{"K", "2"}}}});
    EXPECT_EQ(text.Bytes(), "[A]\r\nx=1\r\n[View0]\r\nK=2\r\n");
    IniText noEnd("[A]\r\nx=1");
    noEnd.ReplaceSections({{"B", {{"K", "3"}}}});
    EXPECT_EQ(noEnd.Bytes(), "[A]\r\nx=1\r\n[B]\r\nK=3\r\n");
}

TEST(IniTextWriting, Utf16FilesStayUtf16)
{
    const std::string bytes = Utf16Le(u"[Font]\r\nFaceName=宋体\r\n[View0]\r\nPARA_START_CHAR=1\r\n");
    IniText text(bytes);
    EXPECT_EQ(text.Int("View0", "PARA_START_CHAR"), 1);
    text.ReplaceSections({{"View0", {{"PARA_START_CHAR", "8"}}}});
    EXPECT_EQ(text.Bytes(), Utf16Le(u"[Font]\r\nFaceName=宋体\r\n[View0]\r\nPARA_START_CHAR=8\r\n"));
    // An odd byte at the end survives.
    IniText odd(bytes + "Z");
    EXPECT_EQ(odd.Bytes(), bytes + "Z");
}

TEST(IniTextWriting, Utf8MarkIsKept)
{
    IniText text("\xEF\xBB\xBF[View0]\r\nPARA_START_CHAR=1\r\n");
    EXPECT_EQ(text.Int("View0", "PARA_START_CHAR"), 1);
    text.ReplaceSections({{"View0", {{"PARA_START_CHAR", "2"}}}});
    EXPECT_EQ(text.Bytes(), "\xEF\xBB\xBF[View0]\r\nPARA_START_CHAR=2\r\n");
}

TEST(IniTextWriting, EmptyFileGetsTheSections)
{
    IniText text("");
    text.ReplaceSections({{"View0", {{"A", "1"}}}, {"View0", {{"A", "2"}}}});
    EXPECT_EQ(text.Bytes(), "[View0]\r\nA=1\r\n") << "the first of two new sections of one name";
}

TEST(IniTextScale, TenThousandSectionsAreReadAndRewrittenInOnePass)
{
    std::string file = "[ParaBlock]\r\nPARA_CUR_VIEW=9999\r\n";
    for (int i = 0; i < 10000; ++i)
        file += "[View" + std::to_string(i) + "]\r\nPARA_START_CHAR=" + std::to_string(i) + "\r\n";
    IniText text(file);
    std::vector<std::pair<std::string, IniText::Keys>> all;
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(text.Int("View" + std::to_string(i), "PARA_START_CHAR"), i);
        all.push_back({"View" + std::to_string(i), {{"PARA_START_CHAR", std::to_string(i + 1)}}});
    }
    text.ReplaceSections(all);
    IniText back(text.Bytes());
    EXPECT_EQ(back.Int("View0", "PARA_START_CHAR"), 1);
    EXPECT_EQ(back.Int("View9999", "PARA_START_CHAR"), 10000);
    EXPECT_EQ(back.Int("ParaBlock", "PARA_CUR_VIEW"), 9999);
}
