// The settings block's defaults and limits, and the window position record.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/para_table.h"
#include "app/position_record.h"

namespace {

const para::WorkArea kWork{0, 0, 1280, 770};

para::Values LoadFrom(const std::map<std::string, int>& ini)
{
    para::Values v = para::Defaults(kWork);
    para::Load(
        v,
        [&](const char* key) {
            auto it = ini.find(key);
            return it == ini.end() ? -1 : it->second;
        },
        kWork);
    return v;
}

}  // namespace

TEST(SettingsDefaults, FreshInstallation)
{
    para::Values v = LoadFrom({});
    EXPECT_EQ(v[PARA_TOOLBAR], 1);
    EXPECT_EQ(v[PARA_STATUS_BAR], 1);
    EXPECT_EQ(v[PARA_WORD_WRAP], 1);
    EXPECT_EQ(v[PARA_TAB_STOPS], 32);
    EXPECT_EQ(v[PARA_CLOCK_SHOW], 0);
    EXPECT_EQ(v[PARA_FLOAT_WND_SHOW], 0);
    EXPECT_EQ(v[PARA_CLOCK_RADIUS], 60);
    EXPECT_EQ(v[PARA_CLOCK_TRANSPARENCY], 40);
    EXPECT_EQ(v[PARA_FLOAT_WND_TRANS], 40);
    EXPECT_EQ(v[PARA_CLOCK_X], 1280 - 150);
    EXPECT_EQ(v[PARA_CLOCK_Y], 140);
    EXPECT_EQ(v[PARA_FLOAT_WND_X], 1280 - 150);
    EXPECT_EQ(v[PARA_FLOAT_WND_Y], 140);
}

TEST(SettingsDefaults, PositionsFollowAnOffsetWorkArea)
{
    para::Values v = para::Defaults({100, 30, 900, 600});
    EXPECT_EQ(v[PARA_CLOCK_X], 750);
    EXPECT_EQ(v[PARA_CLOCK_Y], 170);
}

TEST(SettingsDefaults, OnALargerScaleTheClockStillStartsOnTheScreen)
{
    // At 96 DPI the distances are the classic 150 and 140 pixels; at 192 DPI
    // the clock is 240 pixels wide, so 150 would leave 90 of them off-screen.
    EXPECT_EQ(para::Defaults(kWork, 96)[PARA_CLOCK_X], 1280 - 150);
    const para::Values v = para::Defaults(kWork, 192);
    EXPECT_EQ(v[PARA_CLOCK_X], 1280 - 300);
    EXPECT_EQ(v[PARA_CLOCK_Y], 280);
    EXPECT_EQ(v[PARA_FLOAT_WND_X], 1280 - 300);
    EXPECT_EQ(v[PARA_FLOAT_WND_Y], 280);
    EXPECT_EQ(para::Defaults(kWork, 144)[PARA_CLOCK_X], 1280 - 225);
    EXPECT_EQ(para::Defaults(kWork, 0)[PARA_CLOCK_X], 1280 - 150);   // an unknown DPI counts as 96
}

TEST(SettingsKeys, NamesFollowTheIndexes)
{
    EXPECT_STREQ(para::KeyName(PARA_TOOLBAR), "PARA_TOOLBAR");
    EXPECT_STREQ(para::KeyName(PARA_CUR_VIEW), "PARA_CUR_VIEW");
    EXPECT_STREQ(para::KeyName(PARA_CLOCK_TRANSPARENCY), "PARA_CLOCK_TRANSPARENCY");
    EXPECT_STREQ(para::KeyName(PARA_HTML_ADD_BLANK), "PARA_HTML_ADD_BLANK");
    EXPECT_EQ(para::KeyName(21), nullptr);
    EXPECT_EQ(para::KeyName(-1), nullptr);
}

TEST(SettingsLimits, RadiusAndTransparencies)
{
    EXPECT_EQ(LoadFrom({{"PARA_CLOCK_RADIUS", 10}})[PARA_CLOCK_RADIUS], 50);
    EXPECT_EQ(LoadFrom({{"PARA_CLOCK_RADIUS", 500}})[PARA_CLOCK_RADIUS], 200);
    EXPECT_EQ(LoadFrom({{"PARA_FLOAT_WND_TRANS", 95}})[PARA_FLOAT_WND_TRANS], 80);
    EXPECT_EQ(LoadFrom({{"PARA_TRANSPARENCY", 95}})[PARA_TRANSPARENCY], 95);
    EXPECT_EQ(LoadFrom({{"PARA_TRANSPARENCY", 300}})[PARA_TRANSPARENCY], 100);
    EXPECT_EQ(LoadFrom({{"PARA_CLOCK_TRANSPARENCY", -7}})[PARA_CLOCK_TRANSPARENCY], 0);
}

TEST(SettingsLimits, WindowPositionsStayOnTheWorkArea)
{
    EXPECT_EQ(LoadFrom({{"PARA_CLOCK_X", -5}})[PARA_CLOCK_X], 0);
    EXPECT_EQ(LoadFrom({{"PARA_CLOCK_X", 5000}})[PARA_CLOCK_X], 1270);
    EXPECT_EQ(LoadFrom({{"PARA_FLOAT_WND_Y", 5000}})[PARA_FLOAT_WND_Y], 760);
    para::Values v = para::Defaults(kWork);
    v[PARA_CLOCK_X] = 40;
    para::ApplyLimits(v, {0, 0, 5, 5});   // a work area smaller than the margin
    EXPECT_EQ(v[PARA_CLOCK_X], 0);
}

TEST(SettingsLoading, MinusOneMeansMissing)
{
    EXPECT_EQ(LoadFrom({{"PARA_CUR_VIEW", -1}})[PARA_CUR_VIEW], 0);
    EXPECT_EQ(LoadFrom({{"PARA_CUR_VIEW", 3}})[PARA_CUR_VIEW], 3);
    EXPECT_EQ(LoadFrom({{"PARA_TOOLBAR", 0}})[PARA_TOOLBAR], 0);
    EXPECT_EQ(LoadFrom({{"PARA_TAB_STOPS", -2}})[PARA_TAB_STOPS], -2);   // no limit
}

TEST(PositionRecord, RoundTrip)
{
    PositionRecord r{2, 3, -1, -1, -8, -8, 100, 120, 900, 700};
    std::string text = FormatPositionRecord(r);
    EXPECT_EQ(text, "2,3,-1,-1,-8,-8,100,120,900,700");
    auto back = ParsePositionRecord(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->flags, 2u);
    EXPECT_EQ(back->showCmd, 3u);
    EXPECT_EQ(back->minX, -1);
    EXPECT_EQ(back->maxY, -8);
    EXPECT_EQ(back->bottom, 700);
}

TEST(PositionRecord, AnythingButTenNumbersIsNoRecord)
{
    EXPECT_FALSE(ParsePositionRecord(""));
    EXPECT_FALSE(ParsePositionRecord("0,1,-1,-1,-8,-8,100,120,900"));   // nine
    EXPECT_FALSE(ParsePositionRecord("0,1,-1,-1,-8,-8,100,120,900,"));
    EXPECT_FALSE(ParsePositionRecord("0;1;-1;-1;-8;-8;100;120;900;700"));
    EXPECT_FALSE(ParsePositionRecord("a,1,-1,-1,-8,-8,100,120,900,700"));
    EXPECT_FALSE(ParsePositionRecord("0,1,-1,-1,-8,-8,100,120,900,x"));
}

TEST(PositionRecord, ScanfLeniencyIsKept)
{
    // Blanks before a number and text after the tenth number are accepted.
    auto r = ParsePositionRecord(" 0, 1,-1,-1,-8,-8,100,120,900,700,55 trailing");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->bottom, 700);
}

TEST(PositionRecord, MinimisedShowCommandsStartNormal)
{
    EXPECT_EQ(CorrectShowCommand(2), 1u);
    EXPECT_EQ(CorrectShowCommand(6), 1u);
    EXPECT_EQ(CorrectShowCommand(7), 1u);
    EXPECT_EQ(CorrectShowCommand(3), 3u);
    EXPECT_EQ(CorrectShowCommand(1), 1u);
}

TEST(PositionRecord, OnlyAPlacementOnTheDesktopIsUsed)
{
    const ScreenBox screen{0, 0, 1280, 800};
    EXPECT_TRUE(IsUsablePlacement({0, 1, -1, -1, -8, -8, 100, 120, 900, 700}, screen));
    EXPECT_TRUE(IsUsablePlacement({0, 1, 0, 0, 0, 0, -500, -300, 40, 40}, screen));     // a corner shows
    EXPECT_FALSE(IsUsablePlacement({0, 1, 0, 0, 0, 0, 5000, 5000, 5600, 5400}, screen)); // off every screen
    EXPECT_FALSE(IsUsablePlacement({0, 1, 0, 0, 0, 0, 900, 700, 100, 120}, screen));      // turned inside out
    EXPECT_FALSE(IsUsablePlacement({0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, screen));              // no size
    EXPECT_FALSE(IsUsablePlacement({0, 99, 0, 0, 0, 0, 100, 120, 900, 700}, screen));     // unknown show command
    EXPECT_FALSE(IsUsablePlacement({0, 1, 0, 0, 0, 0, -2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647},
                                   screen));                                                  // no overflow, too big
}

TEST(SettingsLimits, ExtremeWorkAreasDoNotOverflow)
{
    para::Values v = para::Defaults({0, 0, 1280, 800});
    v[PARA_CLOCK_X] = 2147483647;
    v[PARA_CLOCK_Y] = -2147483647 - 1;
    para::ApplyLimits(v, {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647});
    EXPECT_EQ(v[PARA_CLOCK_X], 2147483647);
    EXPECT_EQ(v[PARA_CLOCK_Y], 0);
    para::ApplyLimits(v, {2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1});
    EXPECT_EQ(v[PARA_CLOCK_X], 0);
}
