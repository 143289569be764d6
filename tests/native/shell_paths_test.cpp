// Paths and values derived from the executable: the auto-start Run value,
// the Startup shortcut's name, the user guide, and the window alpha.
#include <gtest/gtest.h>

#include "app/shell_paths.h"

using namespace shellpaths;

TEST(RunValue, APathWithoutBlanksStaysBare)
{
    EXPECT_EQ(RunValueForPath(L"C:\\Tools\\Jotstack.exe"), L"C:\\Tools\\Jotstack.exe");
}

TEST(RunValue, APathWithABlankIsQuoted)
{
    // Unquoted, Windows would try "C:\Program.exe" first.
    EXPECT_EQ(RunValueForPath(L"C:\\Program Files\\Jotstack\\Jotstack.exe"),
              L"\"C:\\Program Files\\Jotstack\\Jotstack.exe\"");
    EXPECT_EQ(RunValueForPath(L"D:\\我的 工具\\Jotstack.exe"), L"\"D:\\我的 工具\\Jotstack.exe\"");
}

TEST(ShortcutName, ExtensionBecomesLnk)
{
    EXPECT_EQ(ShortcutFileName(L"C:\\Tools\\Jotstack.exe"), L"Jotstack.lnk");
    EXPECT_EQ(ShortcutFileName(L"C:\\Tools\\记事.v2.exe"), L"记事.v2.lnk");
}

TEST(ShortcutName, RenamedExecutableLooksForItsOwnName)
{
    EXPECT_EQ(ShortcutFileName(L"C:\\a.b\\Notes.EXE"), L"Notes.lnk");
    EXPECT_EQ(ShortcutFileName(L"Jotstack"), L"Jotstack.lnk");
}

TEST(FolderOf, CutsAtTheLastBackslash)
{
    EXPECT_EQ(FolderOf(L"C:\\x y\\Jotstack.htm"), L"C:\\x y");
    EXPECT_EQ(FolderOf(L"Jotstack.htm"), L"");
    EXPECT_EQ(FolderOf(L"\\\\server\\share\\g.htm"), L"\\\\server\\share");
}

TEST(GuidePath, ReplacesTheExtension)
{
    EXPECT_EQ(GuidePath(L"C:\\Tools\\Jotstack.exe"), L"C:\\Tools\\Jotstack.htm");
    EXPECT_EQ(GuidePath(L"C:\\Tools\\Jotstack.HLP"), L"C:\\Tools\\Jotstack.htm");
    EXPECT_EQ(GuidePath(L"C:\\Tools\\Notes.exe"), L"C:\\Tools\\Notes.htm");
}

TEST(GuidePath, ADotInAFolderIsNoExtension)
{
    EXPECT_EQ(GuidePath(L"C:\\v1.2\\Jotstack"), L"C:\\v1.2\\Jotstack.htm");
}

TEST(Transparency, PercentIsTheLowByteCappedAt80)
{
    EXPECT_EQ(TransparencyPercent(0), 0);
    EXPECT_EQ(TransparencyPercent(30), 30);
    EXPECT_EQ(TransparencyPercent(95), 80);
    EXPECT_EQ(TransparencyPercent(0x100 + 20), 20);
    EXPECT_EQ(TransparencyPercent(-1), 80);
}

TEST(Transparency, AlphaFollowsThePercent)
{
    EXPECT_EQ(TransparencyAlpha(0), 255);
    EXPECT_EQ(TransparencyAlpha(80), 51);
    EXPECT_EQ(TransparencyAlpha(50), 127);
    EXPECT_EQ(TransparencyAlpha(33), 170);
}
