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

ScratchDir::~ScratchDir()
{
    std::wstring from = m_path;
    from.push_back(L'\0');   // the list ends with two NULs
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationW(&op);
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
