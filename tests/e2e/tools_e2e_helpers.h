// Helpers of the tools' end-to-end tests: reg.exe look-ups, shortcut
// targets, dialogs of the program under test, and a stand-in browser that
// records what the shell asked it to open.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/jotstack_process.h"
#include "tests/win32/test_files.h"

struct RegQueryResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs "reg.exe query KEY /v VALUE" and collects what it prints.
inline RegQueryResult RegQuery(const std::wstring& key, const std::wstring& value)
{
    RegQueryResult result;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return result;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::wstring cmd = L"reg.exe query \"" + key + L"\" /v " + value;
    PROCESS_INFORMATION pi{};
    BOOL started = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                    nullptr, &si, &pi);
    ::CloseHandle(writeEnd);
    if (started) {
        char buf[512];
        DWORD got = 0;
        while (::ReadFile(readEnd, buf, sizeof(buf), &got, nullptr) && got)
            result.output.append(buf, got);
        ::WaitForSingleObject(pi.hProcess, 10000);
        ::GetExitCodeProcess(pi.hProcess, &result.exitCode);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(pi.hThread);
    }
    ::CloseHandle(readEnd);
    return result;
}

// The path a shell link points to, or a marker when it cannot be read.
inline std::wstring ShortcutTarget(const std::wstring& lnk)
{
    ::CoInitialize(nullptr);
    std::wstring result = L"<unreadable>";
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(lnk.c_str(), STGM_READ))) {
                wchar_t path[MAX_PATH] = {};
                link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
                result = path;
            }
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    return result;
}

inline bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        if (!::IsWindow(hwnd))
            return true;
        ::Sleep(50);
    }
    return false;
}

// The text of a message box (its static control 0xFFFF).
inline std::wstring DialogText(HWND box)
{
    return ReadWindowText(::GetDlgItem(box, 0xFFFF));
}

// Opens "窗口透明度", types the percentage and confirms.
inline bool SetTransparencyThroughDialog(const JotstackProcess& app, const std::wstring& percent)
{
    app.PostCommand(ID_TRANSPARENCY);
    HWND dlg = app.WaitForOwnWindow(L"#32770", L"窗口透明度", 10000);
    if (!dlg)
        return false;
    ::SendMessageW(::GetDlgItem(dlg, IDC_TRANSPARENCY_EDIT), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(percent.c_str()));
    ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    return WaitForWindowGone(dlg, 5000);
}

// While it lives, ".htm" files open with a command that writes the opened
// path into a file: the test's browser.
class HtmlAssociationProbe {
public:
    explicit HtmlAssociationProbe(std::wstring outFile) : m_out(std::move(outFile))
    {
        wchar_t old[256] = {};
        DWORD size = sizeof(old);
        if (::RegGetValueW(HKEY_CLASSES_ROOT, L".htm", nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
            ERROR_SUCCESS)
            m_oldClass = old;
        SetDefault(L".htm", L"JotstackTest.Guide");
        SetDefault(L"JotstackTest.Guide\\shell\\open\\command",
                   L"cmd.exe /c echo %1> \"" + m_out + L"\"");
    }
    ~HtmlAssociationProbe()
    {
        if (m_oldClass.empty())
            ::RegDeleteKeyW(HKEY_CLASSES_ROOT, L".htm");
        else
            SetDefault(L".htm", m_oldClass);
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L"JotstackTest.Guide");
        ::DeleteFileW(m_out.c_str());
    }
    HtmlAssociationProbe(const HtmlAssociationProbe&) = delete;
    HtmlAssociationProbe& operator=(const HtmlAssociationProbe&) = delete;

    // What was opened (the command's output), or empty after the timeout.
    std::string WaitForOpened(DWORD timeoutMs) const
    {
        DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < timeoutMs) {
            std::string bytes = ReadBytes(m_out);
            if (!bytes.empty() && bytes.find('\n') != std::string::npos)
                return bytes;
            ::Sleep(100);
        }
        return ReadBytes(m_out);
    }

private:
    static void SetDefault(const std::wstring& key, const std::wstring& value)
    {
        ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring m_out;
    std::wstring m_oldClass;
};
