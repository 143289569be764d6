// Times the real program under Wine: start until the icon is in the tray
// (against the same program without its application manifest, and Wine's
// own notepad.exe until its window shows), private memory
// after start, and loading and saving a big notebook (50 pages of 200,000
// characters). Prints one line per measurement; no pass or fail.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/wine_timing.h"
#include "tests/e2e/jotstack_process.h"

namespace {

using winebench::Median;
using winebench::Now;

size_t PrivateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (!::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc)))
        return 0;
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

struct WindowSearch {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && ::IsWindowVisible(hwnd)) {
        s->found = true;
        return FALSE;
    }
    return TRUE;
}

// Wine's notepad.exe from start until its window is visible.
double NotepadStart(size_t& privateBytes)
{
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    wchar_t cmd[] = L"notepad.exe";
    double t0 = Now();
    if (!::CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    double t = -1;
    for (int i = 0; i < 3000; ++i) {
        WindowSearch s{pi.dwProcessId, false};
        ::EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&s));
        if (s.found) {
            t = Now() - t0;
            break;
        }
        ::Sleep(2);
    }
    ::Sleep(300);
    privateBytes = PrivateBytes(pi.hProcess);
    ::TerminateProcess(pi.hProcess, 0);
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return t;
}

std::wstring BigNotebook(std::string& bytes)
{
    std::wstring text;
    const std::wstring sep = L"\f\f\f\f\a\a\a\a\b\b\b\b";
    for (int p = 0; p < 50; ++p) {
        text += sep + L"页" + std::to_wstring(p) + L"\r\n";
        std::wstring body;
        while (body.size() < 200000) {
            body.append(78, static_cast<wchar_t>(L'一' + p));
            body += L"\r\n";
        }
        body.resize(200000);
        if (body.back() == L'\r')
            body.back() = L'x';
        text += body;
    }
    bytes = Utf16Bytes(text);
    return text;
}

BOOL CALLBACK FirstLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    *reinterpret_cast<WORD*>(found) = language;
    return FALSE;
}

// A copy of the program without its application manifest (resource 1 of
// type RT_MANIFEST), as it was before it had one: the same code started
// without common controls 6, DPI awareness and the rest.
std::wstring CopyWithoutManifest(const std::wstring& exe, const std::wstring& folder)
{
    const std::wstring copy = folder + L"\\Jotstack-without-manifest.exe";
    if (!::CopyFileW(exe.c_str(), copy.c_str(), FALSE))
        return {};
    WORD language = 0;
    if (HMODULE image = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        ::EnumResourceLanguagesW(image, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), FirstLanguage,
                                 reinterpret_cast<LONG_PTR>(&language));
        ::FreeLibrary(image);
    }
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update)
        return {};
    const bool removed =
        ::UpdateResourceW(update, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1), language, nullptr, 0) != FALSE;
    if (!::EndUpdateResourceW(update, FALSE) || !removed)
        return {};
    return copy;
}

// Start to tray icon of a copy of exe in a fresh folder, in ms (-1: failed).
double StartToTray(const std::wstring& exe, size_t* privateBytes)
{
    ScratchDir dir;
    JotstackProcess app(dir.Path(), exe);
    const double t0 = Now();
    if (!app.Start(60000))
        return -1;
    const double t = Now() - t0;
    if (privateBytes) {
        ::Sleep(300);
        *privateBytes = app.PrivateBytes();
    }
    app.Kill();
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    ScratchDir plainDir;
    const std::wstring plain = CopyWithoutManifest(JotstackUnderTest(), plainDir.Path());
    std::vector<double> ours, theirs, unmanifested;
    size_t ourPrivate = 0, theirPrivate = 0, plainPrivate = 0;
    for (int i = 0; i < runs; ++i) {
        const double t = StartToTray(JotstackUnderTest(), &ourPrivate);
        if (t < 0) {
            std::printf("start failed\n");
            return 1;
        }
        ours.push_back(t);
        // The same program without its manifest, taking turns on the same run.
        if (!plain.empty())
            unmanifested.push_back(StartToTray(plain, &plainPrivate));
        theirs.push_back(NotepadStart(theirPrivate));
    }
    std::printf("start to tray icon (Jotstack.exe, empty notebook): median %.0f ms over %d runs\n",
                Median(ours), runs);
    if (!unmanifested.empty())
        std::printf("  the same without its manifest (taking turns):   median %.0f ms over %d runs, %.1f MiB\n",
                    Median(unmanifested), runs, plainPrivate / 1048576.0);
    else
        std::printf("  (no copy without the manifest could be made)\n");
    std::printf("start to visible window (Wine notepad.exe):       median %.0f ms over %d runs\n",
                Median(theirs), runs);
    std::printf("private memory after start: Jotstack %.1f MiB, notepad %.1f MiB\n",
                ourPrivate / 1048576.0, theirPrivate / 1048576.0);

    std::string bytes;
    BigNotebook(bytes);
    std::vector<double> load, save, copy;
    size_t bigPrivate = 0;
    for (int i = 0; i < std::min(runs, 3); ++i) {
        ScratchDir dir;
        JotstackProcess app(dir);
        WriteBytes(app.StoragePath(), bytes);
        double t0 = Now();
        if (!app.Start(300000)) {
            std::printf("start with the big notebook failed\n");
            return 1;
        }
        load.push_back(Now() - t0);
        bigPrivate = app.PrivateBytes();
        app.SelectTab(49);
        ::SendMessageW(app.ActiveEdit(), EM_SETMODIFY, TRUE, 0);
        t0 = Now();
        app.Command(0xE103);   // Save
        save.push_back(Now() - t0);
        t0 = Now();
        ::CopyFileW(app.StoragePath().c_str(), (app.StoragePath() + L".copy").c_str(), FALSE);
        copy.push_back(Now() - t0);
        app.Kill();
    }
    std::printf("big notebook (50 pages x 200,000 characters, %.1f MiB):\n", bytes.size() / 1048576.0);
    std::printf("  start to tray icon with it (load): median %.0f ms\n", Median(load));
    std::printf("  save (backup rotation + write):    median %.0f ms\n", Median(save));
    std::printf("  CopyFile of the same file in Wine: median %.0f ms\n", Median(copy));
    std::printf("  private memory with it loaded: %.1f MiB\n", bigPrivate / 1048576.0);
    return 0;
}
