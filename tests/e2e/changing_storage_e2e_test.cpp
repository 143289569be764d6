// The notes file changing while the real program starts under Wine: another
// program keeps saving it (a sync client, a second editor) or keeps adding
// pages to it, inside Windows' sharing rules or outside them (a host
// program). The program starts once the file holds still, shows one whole
// version of it (never a mix of two, never a cut page), and its next save
// keeps both what it showed and what the other program wrote last; a file
// that never holds still is refused with a message and left alone.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "res/resource.h"
#include "tests/e2e/host_tools.h"
#include "tests/e2e/e2e_fixture.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/e2e/tools_e2e_helpers.h"

namespace {

// How long the other program goes on writing once the program is started:
// about half of the two seconds the program waits for the file.
constexpr DWORD kWritingMs = 1500;

std::vector<VisiblePage> Visible(const Notebook& pages)
{
    std::vector<VisiblePage> out;
    for (const auto& [name, body] : pages)
        out.push_back({name, body});
    return out;
}

bool Same(const std::vector<VisiblePage>& a, const std::vector<VisiblePage>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].text != b[i].text)
            return false;
    return true;
}

std::string Describe(const std::vector<VisiblePage>& pages)
{
    std::string out = std::to_string(pages.size()) + " pages:";
    for (const VisiblePage& p : pages)
        out += " [" + std::to_string(p.name.size()) + " name units, " +
               std::to_string(p.text.size()) + " text units]";
    return out;
}

// What the program holds after the user replaced the first page's text.
Notebook WithFirstPage(const std::vector<VisiblePage>& shown, const std::wstring& text)
{
    Notebook pages;
    for (const VisiblePage& p : shown)
        pages.emplace_back(p.name, p.text);
    if (!pages.empty())
        pages[0].second = text;
    return pages;
}

// Writes a whole file the way many programs do: opened, truncated and
// written in place, in two pieces (others may read it between them only
// where the system lets them: the handle shares reading alone).
bool RewriteInPlace(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const DWORD half = static_cast<DWORD>(bytes.size() / 2);
    DWORD written = 0, rest = 0;
    bool ok = ::WriteFile(h, bytes.data(), half, &written, nullptr);
    ::Sleep(1);
    ok = ok && ::WriteFile(h, bytes.data() + half, static_cast<DWORD>(bytes.size()) - half, &rest, nullptr);
    ::CloseHandle(h);
    return ok && written + rest == bytes.size();
}

// Writes a whole file the careful way: a file of its own, renamed over the
// old one (the name differs from the program's own temporary file).
bool ReplaceByRename(const std::wstring& path, const std::string& bytes)
{
    const std::wstring temp = path + L".sync~";
    if (!WriteBytes(temp, bytes))
        return false;
    if (::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    ::DeleteFileW(temp.c_str());
    return false;
}

// Adds one page at the end, in two pieces through one handle.
bool AppendPage(const std::wstring& path, const std::wstring& name, const std::wstring& body)
{
    HANDLE h = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const std::string head = Utf16Bytes(kStorageSeparator + name + L"\r\n", false);
    const std::string text = Utf16Bytes(body, false);
    DWORD a = 0, b = 0;
    bool ok = ::WriteFile(h, head.data(), static_cast<DWORD>(head.size()), &a, nullptr);
    ::Sleep(1);
    ok = ok && ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &b, nullptr);
    ::CloseHandle(h);
    return ok && a == head.size() && b == text.size();
}

// Another program working on the file on a thread of its own for a while
// (a sync client catching up), or until stopped.
class OtherWriter {
public:
    // step(i) does the i-th piece of work; true when it succeeded.
    template <typename Step>
    OtherWriter(DWORD pauseMs, DWORD runMs, Step step)
        : m_thread([this, pauseMs, runMs, step] {
              const DWORD start = ::GetTickCount();
              for (int i = 0; !m_stop && ::GetTickCount() - start < runMs; ++i) {
                  if (step(i))
                      ++m_done;
                  ::Sleep(pauseMs);
              }
          })
    {
    }
    ~OtherWriter() { Stop(); }
    void Stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    int Done() const { return m_done; }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_done{0};
    std::thread m_thread;
};

// The two versions a host program writes by turns: large enough that a
// read can meet the file half-filled.
Notebook HostVersionA()
{
    return {{L"甲", TextInLines(90000, L'a')}, {L"乙", TextInLines(60000, L'b')}, {L"丙", L"short c"}};
}

Notebook HostVersionB()
{
    return {{L"丁", TextInLines(120000, L'd')}, {L"戊", L"short e"}};
}

// A host shell loop that rewrites the file (A at first) in place, A and B
// by turns, as "cat > file" does (emptied first, then filled), until
// Stop(); it always ends on B. It also ends by itself after a few thousand
// rounds or when its folder goes, so a failed test leaves nothing running.
class HostRewriter {
public:
    HostRewriter(const ScratchDir& dir, const std::string& a, const std::string& b) : m_dir(dir)
    {
        WriteBytes(dir.File(L"Jotstack.txt"), a);
        WriteBytes(dir.File(L"a.bin"), a);
        WriteBytes(dir.File(L"b.bin"), b);
        WriteBytes(dir.File(L"rewrite.sh"),
                   "cd \"$(dirname \"$0\")\" || exit 1\n"
                   "n=0\n"
                   "while [ ! -e stop ] && [ -e a.bin ] && [ $n -lt 5000 ]; do\n"
                   "  cat a.bin > Jotstack.txt; cat b.bin > Jotstack.txt; n=$((n+1))\n"
                   "done\n"
                   "echo $n > stopped.tmp && mv stopped.tmp stopped\n");
        const std::string script = hosttools::UnixPath(dir.File(L"rewrite.sh"));
        if (script.empty())
            return;
        std::wstring cmd = L"start.exe /unix /bin/sh \"" + std::wstring(script.begin(), script.end()) + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                              nullptr, &si, &pi))
            return;
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
        // Running once the file has been rewritten at least once.
        const FILETIME before = WriteTime();
        m_running = hosttools::WaitUntil(
            [&] {
                const FILETIME now = WriteTime();
                return ::CompareFileTime(&before, &now) != 0;
            },
            10000);
    }
    ~HostRewriter() { Stop(); }
    bool Running() const { return m_running; }
    void Stop()
    {
        if (m_running && !m_stopped) {
            WriteBytes(m_dir.File(L"stop"), "");
            m_stopped = hosttools::WaitUntil([&] { return FileExists(m_dir.File(L"stopped")); });
        }
    }
    bool Stopped() const { return m_stopped; }
    int Rewrites() const { return 2 * std::atoi(ReadBytes(m_dir.File(L"stopped")).c_str()); }

private:
    FILETIME WriteTime() const
    {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(m_dir.File(L"Jotstack.txt").c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    }

    const ScratchDir& m_dir;
    bool m_running = false;
    bool m_stopped = false;
};

class ChangingStorageE2E : public JotstackE2ETest {
protected:
    // Types into the first page, ends the program through "退出" and checks
    // that the file holds what the program showed with that change and the
    // backup holds what the other program wrote last.
    void SaveKeepsShownPagesAndTheLastOtherVersion(JotstackProcess& app,
                                                   const std::vector<VisiblePage>& shown,
                                                   const std::string& lastOther)
    {
        const std::wstring typed = L"typed after the file settled";
        app.SelectTab(0);
        app.TypeIntoCurrentPage(typed);
        app.PostCommand(ID_TRAY_EXIT);
        ASSERT_TRUE(app.WaitForExit(20000)) << "the program did not end";
        EXPECT_EQ(ReadBytes(app.StoragePath()), StorageBytes(WithFirstPage(shown, typed)));
        EXPECT_EQ(ReadBytes(app.BackupPath()), lastOther) << "the other program's last version is the backup";
        EXPECT_FALSE(FileExists(app.StoragePath() + L".tmp"));
    }
};

}  // namespace

TEST_F(ChangingStorageE2E, FileSavedOverAndOverByAnotherProgramOpensAsOneWholeVersion)
{
    const Notebook a = {{L"甲", TextInLines(20000, L'a')}, {L"乙", TextInLines(30000, L'b')}, {L"丙", L"short c"}};
    const Notebook b = {{L"丁", TextInLines(45000, L'd')}, {L"戊", L"short e"}};
    const std::string bytesA = StorageBytes(a), bytesB = StorageBytes(b);
    const std::wstring path = m_dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, bytesA));
    JotstackProcess app(m_dir);

    // Alternately A and B, written in place and replaced by a rename, for a
    // while; the program shows one of them whole (the last, once the file
    // holds still).
    std::atomic<int> last{0};
    OtherWriter other(2, kWritingMs, [&](int i) {
        const std::string& bytes = i % 2 ? bytesB : bytesA;
        const bool ok = (i / 2) % 2 ? ReplaceByRename(path, bytes) : RewriteInPlace(path, bytes);
        if (ok)
            last = i % 2;
        return ok;
    });
    ASSERT_TRUE(app.Start()) << "the program did not start while the file was being saved";
    other.Stop();
    EXPECT_GT(other.Done(), 10) << "the other program hardly wrote";
    EXPECT_EQ(app.FindOwnWindow(L"#32770"), nullptr) << "a message at the start";

    const std::vector<VisiblePage> shown = app.Pages();
    EXPECT_TRUE(Same(shown, Visible(a)) || Same(shown, Visible(b)))
        << "neither version whole: " << Describe(shown);
    std::printf("%d saves by the other program during the start; shown: %s\n", other.Done(),
                Describe(shown).c_str());
    const std::string lastBytes = last ? bytesB : bytesA;
    ASSERT_EQ(ReadBytes(path), lastBytes);
    SaveKeepsShownPagesAndTheLastOtherVersion(app, shown, lastBytes);
}

TEST_F(ChangingStorageE2E, PagesAddedByAnotherProgramDuringTheStartOpenWhole)
{
    Notebook written = {{L"日常", TextInLines(30000, L'x')}};
    const std::wstring path = m_dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, StorageBytes(written)));
    JotstackProcess app(m_dir);

    // Each added page differs in name and length; the writer knows which
    // pages made it into the file. A page every 40 ms, up to 200 pages.
    auto pageAt = [](int i) {
        return std::make_pair(L"追加" + std::to_wstring(i), TextInLines(500 + 300 * (i % 7), L'a' + i % 26));
    };
    std::atomic<int> added{0};
    OtherWriter other(40, kWritingMs, [&](int) {
        if (added >= 200)
            return false;
        const auto page = pageAt(added + 1);
        if (!AppendPage(path, page.first, page.second))
            return false;
        ++added;
        return true;
    });
    ASSERT_TRUE(app.Start()) << "the program did not start while pages were being added";
    other.Stop();
    ASSERT_GT(added.load(), 0);
    for (int i = 1; i <= added; ++i)
        written.push_back(pageAt(i));
    ASSERT_EQ(ReadBytes(path), StorageBytes(written)) << "the writer itself went wrong";

    // What the program shows is the first page and the pages added up to
    // some moment, each whole.
    const std::vector<VisiblePage> shown = app.Pages();
    ASSERT_GE(shown.size(), 1u);
    ASSERT_LE(shown.size(), written.size());
    const Notebook prefix(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(shown.size()));
    EXPECT_TRUE(Same(shown, Visible(prefix))) << "not whole pages: " << Describe(shown);
    std::printf("%d pages added during the start, the program shows %zu pages\n", added.load(),
                shown.size());
    SaveKeepsShownPagesAndTheLastOtherVersion(app, shown, StorageBytes(written));
}

TEST_F(ChangingStorageE2E, FileRewrittenInPlaceByAHostProgramOpensAsItsLastWholeVersion)
{
    // A host program is outside Windows' sharing rules: it empties and
    // refills the file in place while the program reads it. The program
    // waits for the file to hold still and shows the version left last.
    const std::string bytesB = StorageBytes(HostVersionB());
    JotstackProcess app(m_dir);
    {
        HostRewriter other(m_dir, StorageBytes(HostVersionA()), bytesB);
        if (!other.Running())
            GTEST_SKIP() << "the host cannot run a shell loop from Wine here";
        // It stops on its own a moment into the start, leaving B.
        std::thread stopper([&] {
            ::Sleep(kWritingMs);
            other.Stop();
        });
        const bool started = app.Start();
        stopper.join();
        ASSERT_TRUE(other.Stopped()) << "the host program did not stop";
        std::printf("%d rewrites by the host program during the start\n", other.Rewrites());
        EXPECT_GT(other.Rewrites(), 5) << "the host program hardly wrote";
        ASSERT_TRUE(started) << "the program did not start once the file held still";
    }
    EXPECT_EQ(app.FindOwnWindow(L"#32770"), nullptr) << "a message at the start";
    const std::vector<VisiblePage> shown = app.Pages();
    EXPECT_TRUE(Same(shown, Visible(HostVersionB()))) << "not the last whole version: " << Describe(shown);
    ASSERT_EQ(ReadBytes(app.StoragePath()), bytesB);
    SaveKeepsShownPagesAndTheLastOtherVersion(app, shown, bytesB);
}

TEST_F(ChangingStorageE2E, FileThatNeverHoldsStillIsRefusedWithAMessageAndLeftAlone)
{
    // A host program rewriting the file all through the start: after about
    // two seconds of trying the program says it cannot read the notes and
    // ends, rather than start on an empty or cut notebook whose next save
    // would push the real one out.
    const std::string bytesB = StorageBytes(HostVersionB());
    JotstackProcess app(m_dir);
    HostRewriter other(m_dir, StorageBytes(HostVersionA()), bytesB);
    if (!other.Running())
        GTEST_SKIP() << "the host cannot run a shell loop from Wine here";
    EXPECT_FALSE(app.Start(5000)) << "the program started on a file that never held still";
    HWND box = app.WaitForOwnWindow(L"#32770", nullptr, 15000);
    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(DialogText(box), L"抱歉，不能读取记录文件。");
    other.Stop();
    ASSERT_TRUE(other.Stopped());
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(app.WaitForExit(10000)) << "the program did not end after the message";
    EXPECT_EQ(ReadBytes(app.StoragePath()), bytesB) << "the other program's file was touched";
    EXPECT_FALSE(FileExists(app.BackupPath()));
    EXPECT_FALSE(FileExists(app.StoragePath() + L".tmp"));
}
