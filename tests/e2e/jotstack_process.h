// Drives a real Jotstack.exe from outside: a private copy in a scratch
// folder (so its storage and INI files are the test's own), started with
// CreateProcess and driven with window messages.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/win32/test_files.h"

struct VisiblePage {
    std::wstring name;
    std::wstring text;
};

class JotstackProcess {
public:
    // Copies Jotstack.exe into dir.
    explicit JotstackProcess(const ScratchDir& dir);
    // Copies Jotstack.exe into any existing folder (deep, odd names, small disks).
    explicit JotstackProcess(const std::wstring& dir);
    // Copies another build of the program (the other flavour) into dir, as
    // Jotstack.exe.
    JotstackProcess(const std::wstring& dir, const std::wstring& exe);
    ~JotstackProcess();

    std::wstring StoragePath() const { return m_dir + L"\\Jotstack.txt"; }
    std::wstring BackupPath() const { return m_dir + L"\\Jotstack.bak.txt"; }
    std::wstring IniPath() const { return m_dir + L"\\Jotstack.ini"; }
    std::wstring ExePath() const { return m_exe; }

    // Starts the program and waits until it sits hidden in the tray.
    bool Start(DWORD timeoutMs = 30000);
    // The same in two steps, for starts that ask something on the way.
    bool Launch();
    bool WaitUntilInTray(DWORD timeoutMs = 30000);
    // Starts another copy of the same executable and waits for its end;
    // returns its exit code, or -1 when it did not end in time.
    int RunSecondCopy(DWORD timeoutMs = 30000);
    bool WaitForExit(DWORD timeoutMs);
    void Kill();
    bool IsRunning() const;
    DWORD ExitCode() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }

    HWND MainWindow() const { return m_main; }
    HWND MdiClient() const;
    HWND TabStrip() const;
    HWND ActiveChild() const;
    HWND ActiveEdit() const;
    bool TrayIconExists() const;
    // Private bytes of the running program (0 when unknown).
    size_t PrivateBytes() const;

    // Pages as the tab strip counts them, and the selected one.
    int PageCount() const;
    int CurrentTab() const;
    // Pages that have a window now (child frames in the MDI client).
    int PageWindowCount() const;
    // Selects tab i through the strip's select-and-notify message.
    void SelectTab(int index) const;
    // Every page, in tab order (selects each tab in turn).
    std::vector<VisiblePage> Pages() const;
    // Replaces the text of the current page and marks it modified.
    void TypeIntoCurrentPage(const std::wstring& text) const;
    void Command(UINT id) const;
    void PostCommand(UINT id) const;

    // A top-level window of this process with that class (e.g. "#32770").
    HWND FindOwnWindow(const wchar_t* className, const wchar_t* title = nullptr) const;
    HWND WaitForOwnWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) const;

private:
    HWND FindMainWindow() const;

    std::wstring m_dir;
    std::wstring m_exe;
    PROCESS_INFORMATION m_pi{};
    HWND m_main = nullptr;
};

// Path of the Jotstack.exe under test (environment JOTSTACK_EXE, a Unix
// path is mapped to Wine's Z: drive).
std::wstring JotstackUnderTest();
// The 32-bit Jotstack.exe that the 64-bit tests run beside their own where
// the machine can (environment JOTSTACK_EXE_X86); empty otherwise.
std::wstring JotstackX86UnderTest();
std::wstring ReadWindowText(HWND hwnd);
// Handles this thread's messages for ms milliseconds (at least one round).
void PumpMessagesFor(DWORD ms);
// Text of n characters c in lines of 78 (the edit control under Wine wraps
// a single long line in quadratic time, which real notes do not have).
std::wstring TextInLines(size_t n, wchar_t c);
// A visible top-level window of process pid with that class (and title,
// when given); the wait pumps this thread's messages meanwhile.
HWND FindProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title = nullptr);
HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, const wchar_t* title, DWORD timeoutMs);
std::wstring ReadIni(const std::wstring& ini, const wchar_t* section, const wchar_t* key);

// The storage file's separator before each page, and a storage file of
// pages (name, text) as the program writes it.
extern const std::wstring kStorageSeparator;
using Notebook = std::vector<std::pair<std::wstring, std::wstring>>;
std::string StorageBytes(const Notebook& pages);
// A notebook of `count` pages "页0", "页1", ... with a short text each
// ("第i页的笔记", a line end, "second line").
Notebook ManyPages(int count);
