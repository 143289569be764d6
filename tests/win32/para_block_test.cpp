// The settings block on a real INI file.
#include <gtest/gtest.h>

#include "app/para_block.h"
#include "tests/win32/test_files.h"

namespace {

// Points the settings at a scratch INI file for one test.
class ParaBlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ini = m_dir.File(L"Jotstack.ini");
        lstrcpynW(g_szIniPath, m_ini.c_str(), MAX_PATH);
        lstrcpynW(m_block.m_szSection, L"ParaBlock", 64);
        m_block.m_pszIniPath = g_szIniPath;
    }
    void TearDown() override { g_szIniPath[0] = L'\0'; }

    void WriteIni(const std::string& text) { ASSERT_TRUE(WriteBytes(m_ini, text)); }

    ScratchDir m_dir;
    std::wstring m_ini;
    CParaBlock m_block;
};

}  // namespace

TEST_F(ParaBlockTest, MissingFileGivesDefaults)
{
    m_block.Load();
    EXPECT_EQ(m_block.GetPara(PARA_TOOLBAR), 1);
    EXPECT_EQ(m_block.GetPara(PARA_TAB_STOPS), 32);
    EXPECT_EQ(m_block.GetPara(PARA_CLOCK_RADIUS), 60);
    EXPECT_FALSE(FileExists(m_ini));
}

TEST_F(ParaBlockTest, StoredValuesLoadWithinLimits)
{
    WriteIni("[ParaBlock]\r\nPARA_CLOCK_RADIUS=10\r\nPARA_FLOAT_WND_TRANS=95\r\n"
             "PARA_TRANSPARENCY=95\r\nPARA_CUR_VIEW=-1\r\nPARA_CLOCK_X=-5\r\nPARA_WORD_WRAP=0\r\n");
    m_block.Load();
    EXPECT_EQ(m_block.GetPara(PARA_CLOCK_RADIUS), 50);
    EXPECT_EQ(m_block.GetPara(PARA_FLOAT_WND_TRANS), 80);
    EXPECT_EQ(m_block.GetPara(PARA_TRANSPARENCY), 95);
    EXPECT_EQ(m_block.GetPara(PARA_CUR_VIEW), 0);
    EXPECT_EQ(m_block.GetPara(PARA_CLOCK_X), 0);
    EXPECT_EQ(m_block.GetPara(PARA_WORD_WRAP), 0);
}

TEST_F(ParaBlockTest, OddValuesGetSoundDefaults)
{
    WriteIni("[ParaBlock]\r\nPARA_CLOCK_RADIUS=abc\r\nPARA_TAB_STOPS=\r\nPARA_CLOCK_Y=99999999999\r\n");
    m_block.Load();
    EXPECT_GE(m_block.GetPara(PARA_CLOCK_RADIUS), 50);
    EXPECT_LE(m_block.GetPara(PARA_CLOCK_RADIUS), 200);
    para::WorkArea work = PrimaryWorkArea();
    EXPECT_GE(m_block.GetPara(PARA_CLOCK_Y), 0);
    EXPECT_LE(m_block.GetPara(PARA_CLOCK_Y), std::max(0, work.bottom - work.top - 10));
}

TEST_F(ParaBlockTest, SetParaWritesThroughOnlyThatKey)
{
    WriteIni("[Position]\r\nWindowPos=0,1,-1,-1,-8,-8,10,10,500,400\r\n[ParaBlock]\r\nPARA_TOOLBAR=0\r\n");
    m_block.Load();
    m_block.SetPara(PARA_TOP_MOST, 1);
    EXPECT_EQ(m_block.GetPara(PARA_TOP_MOST), 1);
    EXPECT_EQ(::GetPrivateProfileIntW(L"ParaBlock", L"PARA_TOP_MOST", -1, g_szIniPath), 1);
    EXPECT_EQ(::GetPrivateProfileIntW(L"ParaBlock", L"PARA_TOOLBAR", -1, g_szIniPath), 0);
    EXPECT_EQ(::GetPrivateProfileIntW(L"ParaBlock", L"PARA_STATUS_BAR", -1, g_szIniPath), -1);
    EXPECT_EQ(IniReadString(L"Position", L"WindowPos", L""), L"0,1,-1,-1,-8,-8,10,10,500,400");
}

TEST_F(ParaBlockTest, ExtensionRule)
{
    EXPECT_EQ(ReplaceExtension(L"C:\\a\\Jotstack.exe", L".ini"), L"C:\\a\\Jotstack.ini");
    EXPECT_EQ(ReplaceExtension(L"C:\\a.d\\Jotstack", L".ini"), L"C:\\a.d\\Jotstack.ini");
    EXPECT_EQ(ReplaceExtension(L"C:\\a\\x.y.exe", L".txt"), L"C:\\a\\x.y.txt");
}
