#include "tests/win32/test_files.h"

#include <shellapi.h>

#include <atomic>

ScratchDir::ScratchDir()
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    m_path = std::wstring(temp) + L"jotstack-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++);
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

namespace {

// Deletes a folder and everything in it, by long-path names so that no
// entry deeper than MAX_PATH is ever cut. (The shell's delete under Wine
// cuts such paths and then deletes in the current folder instead.)
void DeleteTree(const std::wstring& longPath)
{
    WIN32_FIND_DATAW data{};
    HANDLE find = ::FindFirstFileW((longPath + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L".." || name.empty())
                continue;
            const std::wstring child = longPath + L"\\" + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                DeleteTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(longPath.c_str());
}

}  // namespace

ScratchDir::~ScratchDir()
{
    // Only ever a folder this object made under the temporary directory.
    if (m_path.find(L"jotstack-test-") == std::wstring::npos || m_path.size() < 4 || m_path[1] != L':')
        return;
    DeleteTree(L"\\\\?\\" + m_path);
}

std::string ReadBytes(const std::wstring& path)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (::ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        bytes.append(buf, got);
    ::CloseHandle(h);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    ::CloseHandle(h);
    return ok;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Utf16Bytes(const std::wstring& text, bool mark)
{
    std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
    for (wchar_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
    }
    return out;
}
