// Display-scale arithmetic: exact at 96 DPI, rounded like MulDiv elsewhere,
// sound for DPIs the system should never report, and font heights that go
// to the INI file and back without creeping.
#include <gtest/gtest.h>

#include "framework/dpi_scale.h"

using namespace dpiscale;

TEST(DpiScale, EveryLengthStaysWhatItIsAt96Dpi)
{
    for (int n : {-250, -1, 0, 1, 7, 15, 16, 40, 57, 250, 1000000})
        EXPECT_EQ(Scale(n, 96), n) << n;
}

TEST(DpiScale, CommonScalesRoundToTheNearestPixel)
{
    EXPECT_EQ(Scale(250, 144), 375);
    EXPECT_EQ(Scale(250, 192), 500);
    EXPECT_EQ(Scale(250, 240), 625);   // 250 %
    EXPECT_EQ(Scale(57, 144), 86);     // 85.5 rounds away from zero
    EXPECT_EQ(Scale(-57, 144), -86);
    EXPECT_EQ(Scale(15, 120), 19);     // 18.75
    EXPECT_EQ(Scale(1, 168), 2);       // 1.75
}

TEST(DpiScale, ADpiTheSystemShouldNeverReportCountsAs96)
{
    for (int bad : {0, -96, 1, 47, 961, 1 << 30})
        EXPECT_EQ(Scale(250, bad), 250) << bad;
    EXPECT_EQ(SaneDpi(48), 48);
    EXPECT_EQ(SaneDpi(960), 960);
    EXPECT_EQ(SaneDpi(0), 96);
}

TEST(DpiScale, HugeLengthsSaturateInsteadOfWrapping)
{
    EXPECT_EQ(Scale(2000000000, 192), 2147483647);
    EXPECT_EQ(Scale(-2000000000, 192), -2147483647 - 1);
}

TEST(DpiScale, UnscaleUndoesScaleAtEveryLargerDpi)
{
    int worst = 0;
    for (int dpi = 96; dpi <= 480; ++dpi)
        for (int n = -300; n <= 300; ++n)
            if (Unscale(Scale(n, dpi), dpi) != n)
                ++worst;
    EXPECT_EQ(worst, 0) << "lengths that did not come back";
}

TEST(DpiScale, RescaleBetweenMonitors)
{
    EXPECT_EQ(Rescale(375, 144, 192), 500);
    EXPECT_EQ(Rescale(500, 192, 96), 250);
    EXPECT_EQ(Rescale(375, 144, 144), 375);
    EXPECT_EQ(Rescale(375, 0, 96), 375);   // an unknown DPI counts as 96
}

TEST(FontHeight, TheSignMeansWhatItMeantAndZeroStaysNone)
{
    EXPECT_EQ(ScaleFontHeight(-16, 96), -16);
    EXPECT_EQ(ScaleFontHeight(-16, 144), -24);
    EXPECT_EQ(ScaleFontHeight(-16, 192), -32);
    EXPECT_EQ(ScaleFontHeight(20, 144), 30);
    EXPECT_EQ(ScaleFontHeight(0, 192), 0);
    EXPECT_EQ(UnscaleFontHeight(0, 192), 0);
}

TEST(FontHeight, TinyHeightsNeverVanish)
{
    EXPECT_EQ(UnscaleFontHeight(-1, 192), -1);
    EXPECT_EQ(UnscaleFontHeight(1, 480), 1);
    EXPECT_EQ(ScaleFontHeight(-1, 48), -1);
}

TEST(FontHeight, AFontChosenAtAnotherDpiIsStoredAsAt96AndComesBackTheSame)
{
    // The font dialog at 144 DPI gives -21 for 10.5 points; the INI keeps
    // -14, which shows as -21 again at 144 and as -14 at 96.
    EXPECT_EQ(UnscaleFontHeight(-21, 144), -14);
    EXPECT_EQ(ScaleFontHeight(UnscaleFontHeight(-21, 144), 144), -21);
    for (int h = -200; h <= -1; ++h)
        EXPECT_EQ(UnscaleFontHeight(ScaleFontHeight(h, 192), 192), h) << h;
}

TEST(ImageScale, ThreeDrawnSizesCoverEveryScale)
{
    EXPECT_EQ(ImageScaleFor(96), ImageScale::x100);
    EXPECT_EQ(ImageScaleFor(119), ImageScale::x100);
    EXPECT_EQ(ImageScaleFor(120), ImageScale::x150);   // 125 %
    EXPECT_EQ(ImageScaleFor(144), ImageScale::x150);
    EXPECT_EQ(ImageScaleFor(167), ImageScale::x150);
    EXPECT_EQ(ImageScaleFor(168), ImageScale::x200);   // 175 %
    EXPECT_EQ(ImageScaleFor(192), ImageScale::x200);
    EXPECT_EQ(ImageScaleFor(240), ImageScale::x200);   // 250 %: the 2x images, unstretched
    EXPECT_EQ(ImageScaleFor(0), ImageScale::x100);
}

TEST(ImageScale, ToolbarButtonImageSizes)
{
    EXPECT_EQ(ImageLength(16, ImageScale::x100), 16);
    EXPECT_EQ(ImageLength(15, ImageScale::x100), 15);
    EXPECT_EQ(ImageLength(16, ImageScale::x150), 24);
    EXPECT_EQ(ImageLength(15, ImageScale::x150), 23);
    EXPECT_EQ(ImageLength(16, ImageScale::x200), 32);
    EXPECT_EQ(ImageLength(15, ImageScale::x200), 30);
}
