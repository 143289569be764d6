// The hyperlink's error texts, the browser command line taken from the
// ".htm" association, and how a link shrinks to its text.
#include <gtest/gtest.h>

#include "app/link_rules.h"

TEST(LinkErrorText, KnownCodesHaveTheirOwnText)
{
    EXPECT_EQ(hyperlink::ErrorText(0), L"The operating system is out\nof memory or resources.");
    EXPECT_EQ(hyperlink::ErrorText(2), L"The specified file was not found.");
    EXPECT_EQ(hyperlink::ErrorText(26), L"A sharing violation occurred. ");
    EXPECT_EQ(hyperlink::ErrorText(31),
              L"There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(hyperlink::ErrorText(32), L"The specified dynamic-link library was not found.");
}

TEST(LinkErrorText, OtherCodesNameTheCode)
{
    EXPECT_EQ(hyperlink::ErrorText(1), L"Unknown Error (1) occurred.");
    EXPECT_EQ(hyperlink::ErrorText(33), L"Unknown Error (33) occurred.");
    EXPECT_EQ(hyperlink::ErrorText(-5), L"Unknown Error (-5) occurred.");
}

TEST(BrowserCommandLine, CutsAtTheQuotedPlaceholder)
{
    EXPECT_EQ(hyperlink::BrowserCommandLine(L"\"C:\\Browser\\b.exe\" -nohome \"%1\" -x", L"http://a/"),
              L"\"C:\\Browser\\b.exe\" -nohome  http://a/");
}

TEST(BrowserCommandLine, CutsAtABarePlaceholderWhenNoQuotedOne)
{
    EXPECT_EQ(hyperlink::BrowserCommandLine(L"b.exe %1", L"u"), L"b.exe  u");
}

TEST(BrowserCommandLine, KeepsACommandWithoutPlaceholderWhole)
{
    EXPECT_EQ(hyperlink::BrowserCommandLine(L"b.exe -new", L"u"), L"b.exe -new u");
    EXPECT_EQ(hyperlink::BrowserCommandLine(L"", L"u"), L" u");
}

TEST(FitLinkToText, LeftAlignedKeepsTopLeft)
{
    hyperlink::Rect r = hyperlink::FitToText({10, 20, 210, 40}, 0, 80, 12);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 90);
    EXPECT_EQ(r.bottom, 32);
}

TEST(FitLinkToText, CentredShrinksBothSides)
{
    hyperlink::Rect r = hyperlink::FitToText({0, 0, 100, 30}, hyperlink::kStyleCenter | hyperlink::kStyleCenterImage, 40, 10);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.right, 70);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.bottom, 20);
}

TEST(FitLinkToText, RightAlignedKeepsTheRightEdge)
{
    hyperlink::Rect r = hyperlink::FitToText({0, 0, 100, 30}, hyperlink::kStyleRight, 40, 10);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.right, 100);
}

TEST(FitLinkToText, ATextWiderThanTheControlGrowsIt)
{
    hyperlink::Rect r = hyperlink::FitToText({0, 0, 50, 10}, 0, 120, 10);
    EXPECT_EQ(r.right, 120);
}
