// Printing from the real Jotstack.exe to a real printer under Wine: the CUPS
// PDF printer that scripts/print-e2e.sh sets up. Each test leaves the PDF
// of its job and what it must contain (<name>.pdf, <name>.expect) in
// $JOT_PRINT_CHECK_DIR; the script reads them back with pdfinfo and
// pdftotext. Without that folder the tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <fstream>
#include <set>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"

namespace {

std::wstring Env(const wchar_t* name)
{
    wchar_t buf[1024] = {};
    DWORD n = ::GetEnvironmentVariableW(name, buf, 1024);
    return n && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

// A Unix folder as Wine sees it.
std::wstring WinePath(const std::wstring& unix)
{
    std::wstring p = L"Z:" + unix;
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    return p;
}

std::set<std::wstring> PdfFiles(const std::wstring& dir)
{
    std::set<std::wstring> files;
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*.pdf").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return files;
    do
        files.insert(fd.cFileName);
    while (::FindNextFileW(h, &fd));
    ::FindClose(h);
    return files;
}

// Waits for a PDF that was not there before and whose size has settled.
std::wstring WaitForNewPdf(const std::wstring& dir, const std::set<std::wstring>& before,
                           DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        for (const auto& f : PdfFiles(dir)) {
            if (before.count(f))
                continue;
            std::wstring path = dir + L"\\" + f;
            size_t last = 0;
            for (int i = 0; i < 20; ++i) {
                ::Sleep(300);
                size_t size = ReadBytes(path).size();
                if (size > 0 && size == last)
                    return path;
                last = size;
            }
        }
        ::Sleep(200);
    }
    return L"";
}

std::wstring PageText(int lines)
{
    std::wstring text;
    for (int i = 1; i <= lines; ++i) {
        wchar_t line[64];
        swprintf(line, 64, L"Line %04d of the printed page", i);
        text += line;
        if (i < lines)
            text += L"\r\n";
    }
    return text;
}

// Lines of the page font (宋体, 16 pixels on a 96-dpi screen) that one
// sheet of the default printer holds, from the printer's own metrics.
int LinesPerSheet()
{
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgW(&pd) || !pd.hDC)
        return -1;
    HDC dc = pd.hDC;
    HDC screen = ::GetDC(nullptr);
    int screenDpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    LOGFONTW lf{};
    lf.lfHeight = ::MulDiv(-16, ::GetDeviceCaps(dc, LOGPIXELSY), screenDpi);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = 134;
    lf.lfPitchAndFamily = 2;
    lstrcpyW(lf.lfFaceName, L"宋体");
    HFONT font = ::CreateFontIndirectW(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    int perSheet = ::GetDeviceCaps(dc, VERTRES) / (tm.tmHeight + tm.tmExternalLeading);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::DeleteDC(dc);
    if (pd.hDevMode)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        ::GlobalFree(pd.hDevNames);
    return perSheet;
}

// Sheets that `lines` short lines take.
int ExpectedSheets(int lines)
{
    const int perSheet = LinesPerSheet();
    return perSheet > 0 ? (lines + perSheet - 1) / perSheet : -1;
}

std::string PageLine(int number)
{
    char line[64];
    snprintf(line, sizeof line, "Line %04d of the printed page", number);
    return line;
}

// Print dialog controls: the "pages" choice and its from and to boxes.
constexpr int kAllPages = 0x0420;   // rad1
constexpr int kPageRange = 0x0422;  // rad3
constexpr int kFromPage = 0x0480;   // edt1
constexpr int kToPage = 0x0481;     // edt2

class PrintE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (JotstackUnderTest().empty())
            GTEST_SKIP() << "JOTSTACK_EXE is not set";
        m_check = Env(L"JOT_PRINT_CHECK_DIR");
        m_pdfs = Env(L"JOT_PDF_DIR");
        if (m_check.empty() || m_pdfs.empty())
            GTEST_SKIP() << "no PDF printer (scripts/print-e2e.sh sets one up)";
    }

    // Copies the job's PDF next to what it must contain.
    // `absent`: texts that must not be printed.
    void Expect(const std::wstring& pdf, const std::string& name, int pages,
                const std::vector<std::string>& texts, const std::vector<std::string>& absent = {})
    {
        std::wstring base = WinePath(m_check) + L"\\" + std::wstring(name.begin(), name.end());
        ASSERT_TRUE(::CopyFileW(pdf.c_str(), (base + L".pdf").c_str(), FALSE));
        std::ofstream out(std::string(base.begin(), base.end()) + ".expect", std::ios::binary);
        out << "pages " << pages << "\n";
        for (const auto& t : texts)
            out << "text " << t << "\n";
        for (const auto& t : absent)
            out << "notext " << t << "\n";
    }

    ScratchDir m_dir;
    std::wstring m_check;
    std::wstring m_pdfs;
};

}  // namespace

TEST_F(PrintE2E, PrintCommandPrintsThePageTextOnAsManySheetsAsItNeeds)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    // 150 lines: more than two sheets of A4 or Letter in a 12-point font.
    app.TypeIntoCurrentPage(PageText(150));
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);

    app.PostCommand(ID_FILE_PRINT);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"打印", 15000);
    ASSERT_NE(dlg, nullptr) << "no print dialog";
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"Jotstack"), nullptr) << "an error message came up";
    int sheets = ExpectedSheets(150);
    EXPECT_GE(sheets, 2);
    Expect(pdf, "print_command", sheets, {"Line 0001 of the printed page", "Line 0150 of the printed page"});
}

TEST_F(PrintE2E, LongLinesAreWrappedAtThePrintableWidth)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    // One line of 60 words, far wider than a sheet; the last word must print.
    std::wstring text;
    for (int i = 1; i <= 60; ++i)
        text += L"word" + std::to_wstring(i) + L" ";
    text += L"THE-END";
    app.TypeIntoCurrentPage(text);
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);
    app.Command(ID_FILE_PRINT_DIRECT);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    Expect(pdf, "long_lines", 1, {"word1 ", "word60", "THE-END"});
}

TEST_F(PrintE2E, PreviewShowsPagesAndPrintsFromItsBar)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(PageText(150));
    app.Command(ID_FILE_PRINT_PREVIEW);
    HWND preview = ::FindWindowExW(app.MainWindow(), nullptr, L"JotstackPrintPreview", nullptr);
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(::IsWindowVisible(preview));
    HWND next = ::FindWindowExW(preview, nullptr, L"Button", L"下一页(&N)");
    HWND prev = ::FindWindowExW(preview, nullptr, L"Button", L"上一页(&V)");
    HWND close = ::FindWindowExW(preview, nullptr, L"Button", L"关闭(&C)");
    ASSERT_TRUE(next && prev && close);
    EXPECT_FALSE(::IsWindowEnabled(prev));
    EXPECT_TRUE(::IsWindowEnabled(next));
    ::SendMessageW(preview, WM_COMMAND, ::GetDlgCtrlID(next), reinterpret_cast<LPARAM>(next));
    EXPECT_TRUE(::IsWindowEnabled(prev));
    ::SendMessageW(preview, WM_COMMAND, ::GetDlgCtrlID(close), reinterpret_cast<LPARAM>(close));
    EXPECT_FALSE(::IsWindow(preview));

    // Print from the preview's own bar.
    app.Command(ID_FILE_PRINT_PREVIEW);
    preview = ::FindWindowExW(app.MainWindow(), nullptr, L"JotstackPrintPreview", nullptr);
    ASSERT_NE(preview, nullptr);
    HWND print = ::FindWindowExW(preview, nullptr, L"Button", L"打印(&P)...");
    ASSERT_NE(print, nullptr);
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);
    ::PostMessageW(preview, WM_COMMAND, ::GetDlgCtrlID(print), reinterpret_cast<LPARAM>(print));
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"打印", 15000);
    ASSERT_NE(dlg, nullptr);
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty());
    EXPECT_EQ(::FindWindowExW(app.MainWindow(), nullptr, L"JotstackPrintPreview", nullptr), nullptr);
    Expect(pdf, "from_preview", ExpectedSheets(150), {"Line 0075 of the printed page"});
}

TEST_F(PrintE2E, PageRangeFromThePrintDialogPrintsJustThosePages)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    const int perSheet = LinesPerSheet();
    ASSERT_GT(perSheet, 0);
    // Four full sheets and a few lines on a fifth.
    app.TypeIntoCurrentPage(PageText(perSheet * 4 + 5));
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);

    app.PostCommand(ID_FILE_PRINT);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"打印", 15000);
    ASSERT_NE(dlg, nullptr) << "no print dialog";
    HWND from = ::GetDlgItem(dlg, kFromPage);
    HWND to = ::GetDlgItem(dlg, kToPage);
    ASSERT_TRUE(from && to);
    EXPECT_TRUE(::IsWindowEnabled(from)) << "the dialog offers no page range";
    ::SendMessageW(::GetDlgItem(dlg, kAllPages), BM_SETCHECK, BST_UNCHECKED, 0);
    ::SendMessageW(::GetDlgItem(dlg, kPageRange), BM_SETCHECK, BST_CHECKED, 0);
    ::SendMessageW(from, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"2"));
    ::SendMessageW(to, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"3"));
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"Jotstack"), nullptr) << "an error message came up";
    // Sheet 2 starts with line perSheet + 1, sheet 3 ends with line 3 * perSheet.
    Expect(pdf, "page_range", 2, {PageLine(perSheet + 1), PageLine(2 * perSheet), PageLine(3 * perSheet)},
           {PageLine(1), PageLine(perSheet), PageLine(3 * perSheet + 1), PageLine(4 * perSheet + 5)});
}

TEST_F(PrintE2E, PageRangeWrittenBackwardsOrPastTheEndStillPrintsTheAskedPages)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    const int perSheet = LinesPerSheet();
    ASSERT_GT(perSheet, 0);
    // Three sheets.
    app.TypeIntoCurrentPage(PageText(perSheet * 3));
    const std::wstring dir = WinePath(m_pdfs);
    // "3 to 2" prints pages 3 and 2; "2 to 9" prints pages 2 and 3, the
    // pages there are of the asked ones.
    const struct {
        const wchar_t* from;
        const wchar_t* to;
        const char* name;
    } ranges[] = {{L"3", L"2", "range_backwards"}, {L"2", L"9", "range_past_end"}};
    for (const auto& range : ranges) {
        std::set<std::wstring> before = PdfFiles(dir);
        app.PostCommand(ID_FILE_PRINT);
        HWND dlg = app.WaitForOwnWindow(L"#32770", L"打印", 15000);
        ASSERT_NE(dlg, nullptr) << "no print dialog";
        ::SendMessageW(::GetDlgItem(dlg, kAllPages), BM_SETCHECK, BST_UNCHECKED, 0);
        ::SendMessageW(::GetDlgItem(dlg, kPageRange), BM_SETCHECK, BST_CHECKED, 0);
        ::SendMessageW(::GetDlgItem(dlg, kFromPage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(range.from));
        ::SendMessageW(::GetDlgItem(dlg, kToPage), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(range.to));
        ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        std::wstring pdf = WaitForNewPdf(dir, before, 60000);
        ASSERT_FALSE(pdf.empty()) << "no PDF from the printer for " << range.name;
        Expect(pdf, range.name, 2, {PageLine(perSheet + 1), PageLine(3 * perSheet)}, {PageLine(perSheet)});
    }
}

TEST_F(PrintE2E, ChineseTextPrintsAsTextThatCanBeReadBack)
{
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start());
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.TypeIntoCurrentPage(L"中文打印测试\r\n农历腊月初八 宋体 ABC\r\n记事本第三行");
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);
    app.Command(ID_FILE_PRINT_DIRECT);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    EXPECT_EQ(app.FindOwnWindow(L"#32770", L"Jotstack"), nullptr) << "an error message came up";
    Expect(pdf, "chinese", 1, {"中文打印测试", "农历腊月初八", "记事本第三行"});
}

TEST_F(PrintE2E, APageOfTenThousandNeverShownBeforePrintsJustItsText)
{
    Notebook pages = ManyPages(10000);
    pages[6543].second.clear();
    for (int i = 1; i <= 40; ++i) {
        const std::string line = PageLine(i);
        pages[6543].second += std::wstring(line.begin(), line.end()) + L"\r\n";
    }
    ASSERT_TRUE(WriteBytes(m_dir.File(L"Jotstack.txt"), StorageBytes(pages)));
    JotstackProcess app(m_dir);
    ASSERT_TRUE(app.Start(60000));
    app.Command(ID_SHOW_MAIN_WINDOW);
    app.SelectTab(6543);
    const std::wstring dir = WinePath(m_pdfs);
    std::set<std::wstring> before = PdfFiles(dir);
    app.Command(ID_FILE_PRINT_DIRECT);
    std::wstring pdf = WaitForNewPdf(dir, before, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    Expect(pdf, "big_notebook_page", 1, {"Line 0001 of the printed page", "Line 0040 of the printed page"},
           {"second line"});
}
