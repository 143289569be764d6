// Real failures for the end-to-end tests: the host's own tools, started from
// Wine ("start /unix"), mount a tiny disk and take the write rights from a
// folder. Everything here is skipped gracefully where the host refuses.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/jotstack_process.h"

namespace hosttools {

// The host path of a Wine path (empty outside Wine).
inline std::string UnixPath(const std::wstring& path)
{
    using Fn = char*(CDECL*)(LPCWSTR);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto fn = kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(
                           ::GetProcAddress(kernel, "wine_get_unix_file_name")))
                     : nullptr;
    if (!fn)
        return {};
    char* unix = fn(path.c_str());
    if (!unix)
        return {};
    std::string out = unix;
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return out;
}

// Runs a host program (absolute path) with arguments and waits; true when
// it ran and returned 0. Wine's "start /unix /wait" passes the exit code on.
inline bool Run(const std::vector<std::string>& args)
{
    std::wstring cmd = L"start.exe /wait /unix";
    for (const std::string& a : args) {
        std::wstring w(a.begin(), a.end());
        cmd += L" \"" + w + L"\"";
    }
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &si, &pi))
        return false;
    ::WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return code == 0;
}

// Waits up to timeoutMs for a condition. Wine's "start /wait /unix" does
// not always wait for the host program, so every effect is checked.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 15000)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(50);
    }
}

// Size of the disk a folder is on, in bytes (0 when unknown).
inline unsigned long long DiskSize(const std::wstring& folder)
{
    ULARGE_INTEGER avail{}, total{}, free{};
    if (!::GetDiskFreeSpaceExW((folder + L"\\").c_str(), &avail, &total, &free))
        return 0;
    return total.QuadPart;
}

// Whether a new file can be made in a folder (the probe is removed again).
inline bool CanCreateIn(const std::wstring& folder)
{
    const std::wstring probe = folder + L"\\~probe.tmp";
    HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    ::DeleteFileW(probe.c_str());
    return true;
}

// A small RAM disk mounted on a folder for the life of the object.
class SmallDisk {
public:
    SmallDisk(const std::wstring& folder, int kilobytes) : m_folder(folder)
    {
        ::CreateDirectoryW(folder.c_str(), nullptr);
        m_unix = UnixPath(folder);
        const unsigned long long limit = 4ull * kilobytes * 1024;
        m_mounted = !m_unix.empty() &&
                    Run({"/bin/mount", "-t", "tmpfs", "-o", "size=" + std::to_string(kilobytes) + "k",
                         "tmpfs", m_unix}) &&
                    WaitUntil([&] { return DiskSize(folder) != 0 && DiskSize(folder) <= limit; });
    }
    ~SmallDisk()
    {
        if (m_mounted) {
            const unsigned long long small = DiskSize(m_folder);
            Run({"/bin/umount", "-l", m_unix});
            WaitUntil([&] { return DiskSize(m_folder) != small; });
        }
        ::RemoveDirectoryW(m_folder.c_str());
    }
    bool Mounted() const { return m_mounted; }

private:
    std::wstring m_folder;
    std::string m_unix;
    bool m_mounted = false;
};

// Takes the right to create, rename or delete entries of a folder (the
// immutable attribute binds root too) for the life of the object.
class LockedFolder {
public:
    explicit LockedFolder(const std::wstring& folder) : m_folder(folder), m_unix(UnixPath(folder))
    {
        m_locked = !m_unix.empty() && Run({"/usr/bin/chattr", "+i", m_unix}) &&
                   WaitUntil([&] { return !CanCreateIn(m_folder); });
        if (!m_locked && !m_unix.empty())
            Run({"/usr/bin/chattr", "-i", m_unix});
    }
    ~LockedFolder() { Release(); }
    void Release()
    {
        if (m_locked) {
            Run({"/usr/bin/chattr", "-i", m_unix});
            WaitUntil([&] { return CanCreateIn(m_folder); });
        }
        m_locked = false;
    }
    bool Locked() const { return m_locked; }

private:
    std::wstring m_folder;
    std::string m_unix;
    bool m_locked = false;
};

}  // namespace hosttools
