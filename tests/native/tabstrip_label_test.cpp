// How labels are shortened when stored and when sent in a notification.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "tabstrip/tab_label.h"

using tabstrip::CutItemLabel;
using tabstrip::CutNotifyLabel;

namespace {

std::u16string Digits(size_t n)
{
    std::u16string s;
    for (size_t i = 0; i < n; ++i)
        s += char16_t(u'0' + i % 10);
    return s;
}

}  // namespace

TEST(TabLabel, ThirtyUnitsAreStoredUnchanged)
{
    EXPECT_EQ(CutItemLabel(Digits(30)), Digits(30));
}

TEST(TabLabel, ThirtyOneUnitsBecomeTwentySevenAndEllipsis)
{
    const std::u16string cut = CutItemLabel(Digits(31));
    EXPECT_EQ(cut, u"012345678901234567890123456...");
    EXPECT_EQ(cut.size(), 30u);
}

TEST(TabLabel, EmptyAndChineseLabels)
{
    EXPECT_EQ(CutItemLabel(u""), u"");
    EXPECT_EQ(CutItemLabel(u"读书笔记"), u"读书笔记");
    // Forty CJK characters: each is one UTF-16 unit.
    std::u16string forty;
    for (int i = 0; i < 40; ++i)
        forty += u'字';
    EXPECT_EQ(CutItemLabel(forty), forty.substr(0, 27) + u"...");
}

TEST(TabLabel, HugeLabelIsCutWithoutCopyingIt)
{
    const std::u16string huge(2'000'000, u'x');
    EXPECT_EQ(CutItemLabel(huge), std::u16string(27, u'x') + u"...");
}

TEST(TabLabel, CutNeverLeavesHalfASurrogatePair)
{
    // 26 units, then U+1F4DD (two units) at positions 26-27: keeping 27
    // units would keep only the pair's first half.
    const std::u16string label = Digits(26) + u"\U0001F4DD" + Digits(10);
    EXPECT_EQ(CutItemLabel(label), Digits(26) + u"...");
    // A pair that ends exactly at unit 27 stays whole.
    const std::u16string whole = Digits(25) + u"\U0001F4DD" + Digits(10);
    EXPECT_EQ(CutItemLabel(whole), Digits(25) + u"\U0001F4DD" + u"...");
}

TEST(TabLabel, NotificationPassesTwentyEightUnits)
{
    EXPECT_EQ(CutNotifyLabel(Digits(28)), Digits(28));
    EXPECT_EQ(CutNotifyLabel(u"日常"), u"日常");
}

TEST(TabLabel, NotificationCutsFromTwentyNineUnits)
{
    EXPECT_EQ(CutNotifyLabel(Digits(29)), u"01234567890123456789012345...");
    EXPECT_EQ(CutNotifyLabel(Digits(30)), u"01234567890123456789012345...");
    // A stored label never exceeds 30; the result always fits 29 + NUL.
    EXPECT_LE(CutNotifyLabel(CutItemLabel(Digits(500))).size(), tabstrip::kNotifyLabelBuffer - 1);
}

TEST(TabLabel, NotificationCutKeepsPairsWhole)
{
    const std::u16string label = Digits(25) + u"\U0001F600" + u"ab";
    EXPECT_EQ(CutNotifyLabel(label), Digits(25) + u"...");
}

TEST(TabLabel, NotificationCutIntoTheFixedFieldMatches)
{
    for (size_t n : {0u, 1u, 28u, 29u, 30u, 31u}) {
        char16_t field[tabstrip::kNotifyLabelBuffer];
        std::fill(std::begin(field), std::end(field), u'#');
        tabstrip::CutNotifyLabelInto(Digits(n), field);
        EXPECT_EQ(std::u16string(field), CutNotifyLabel(Digits(n))) << n;
        // Everything after the text is cleared, the last unit included.
        EXPECT_EQ(field[tabstrip::kNotifyLabelBuffer - 1], 0) << n;
    }
    char16_t field[tabstrip::kNotifyLabelBuffer];
    tabstrip::CutNotifyLabelInto(Digits(25) + u"\U0001F600" + u"ab", field);
    EXPECT_EQ(std::u16string(field), Digits(25) + u"...");
}
