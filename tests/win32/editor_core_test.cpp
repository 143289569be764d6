// The page editor's portable cores with the real Windows functions behind
// them: the locale-aware comparison of find and replace, and the garbled-
// text repair with the system's ANSI code page (936 under LANG=zh_CN).
#include <gtest/gtest.h>

#include <windows.h>

#include "notes/garbled_text.h"
#include "notes/platform_comparer.h"
#include "notes/storage_file.h"

using findtext::CountOccurrences;
using findtext::Search;
using findtext::Selection;

TEST(PlatformComparerTest, CaseInsensitiveMatchesOtherCase)
{
    PlatformComparer noCase(false), withCase(true);
    EXPECT_TRUE(noCase.Equal(u"Hello", u"hELLO"));
    EXPECT_FALSE(withCase.Equal(u"Hello", u"hELLO"));
    EXPECT_TRUE(withCase.Equal(u"中文", u"中文"));
    EXPECT_FALSE(noCase.Equal(u"中文", u"中午"));
}

TEST(PlatformComparerTest, CountsAndSearchesWithTheLocale)
{
    PlatformComparer noCase(false), withCase(true);
    const std::u16string text = u"Word word WORD 单词 word";
    EXPECT_EQ(CountOccurrences(text, u"word", noCase), 4u);
    EXPECT_EQ(CountOccurrences(text, u"word", withCase), 2u);
    EXPECT_EQ(Search(text, Selection{0, 0}, u"单词", true, withCase), 15u);
    EXPECT_EQ(Search(text, Selection{0, 0}, u"WORD", true, withCase), 10u);
}

TEST(PlatformComparerTest, FirstUnitFilterAgreesWithEqualForEveryAsciiPair)
{
    PlatformComparer noCase(false);
    for (char16_t f = 0x20; f < 0x7F; ++f)
        for (char16_t t = 0x20; t < 0x7F; ++t) {
            char16_t a[1] = {t}, b[1] = {f};
            if (noCase.Equal({a, 1}, {b, 1})) {
                EXPECT_TRUE(noCase.FirstUnitMayMatch(t, f)) << int(t) << " " << int(f);
            }
        }
}

TEST(GarbledRepairWin32, RepairsTextShiftedByHalfACharacterInCodePage936)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "the ANSI code page is not 936";
    notesfile::SystemCodePage acp;
    // "中文" (D6D0 CEC4) after a stray B0, then 'A': B0D6 D0CE C441.
    std::u16string garbled = acp.ToUtf16("\xB0\xD6\xD0\xCE\xC4\x41");
    garbled::Repair r = garbled::RepairSelection(garbled, acp);
    ASSERT_EQ(r.outcome, garbled::Outcome::Repaired);
    EXPECT_TRUE(r.text == u" 中文A");
    r = garbled::RepairSelection(u"ok" + garbled, acp);
    ASSERT_EQ(r.outcome, garbled::Outcome::Repaired);
    EXPECT_TRUE(r.text == u"ok中文A");
    EXPECT_EQ(garbled::RepairSelection(u"plain ascii", acp).outcome, garbled::Outcome::NoLeadByte);
}

TEST(GarbledRepairWin32, LeadBytesOfTheSystemCodePage)
{
    if (::GetACP() != 936)
        GTEST_SKIP() << "the ANSI code page is not 936";
    notesfile::SystemCodePage acp;
    EXPECT_TRUE(acp.IsLeadByte(0x81));
    EXPECT_TRUE(acp.IsLeadByte(0xFE));
    EXPECT_FALSE(acp.IsLeadByte(0x41));
    EXPECT_FALSE(acp.IsLeadByte(0x80));
}
