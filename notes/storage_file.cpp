#include "notes/storage_file.h"

#include <climits>

#include "app/para_block.h"
#include "framework/handles.h"

namespace notesfile {

std::wstring StoragePath()
{
    return ModulePathWithExtension(L".txt");
}

std::wstring BackupPath(const std::wstring& storagePath)
{
    return ReplaceExtension(storagePath, L".bak.txt");
}

std::wstring TempPath(const std::wstring& path)
{
    return path + L".tmp";
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

namespace {

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeWritable(const std::wstring& path)
{
    DWORD attrs = ::GetFileAttributesW(path.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(path.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
}

}  // namespace

Prepared PrepareStorageFile(const std::wstring& path)
{
    const std::wstring temp = TempPath(path);
    if (Exists(temp)) {
        if (Exists(path)) {
            ::DeleteFileW(temp.c_str());
        } else {
            MakeWritable(temp);
            ::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
        }
    }
    if (Exists(path)) {
        MakeWritable(path);
        return Prepared::Ok;
    }
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || Exists(path))
        return Prepared::Ok;
    return Prepared::CannotCreate;
}

ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    bytes.clear();
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD err = ::GetLastError();
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                          : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > INT_MAX / 2)
        return ReadResult::Failed;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return ReadResult::Failed;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr))
            return ReadResult::Failed;
        if (got == 0)
            break;   // the file shrank meanwhile: keep what was there
        done += got;
    }
    bytes.resize(done);
    return ReadResult::Ok;
}

DWORD WriteFileSafely(const std::wstring& path, const std::string& bytes,
                      const std::wstring* backupPath)
{
    const std::wstring temp = TempPath(path);
    {
        UniqueFile file(::CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return ::GetLastError();
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            DWORD written = 0;
            if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) ||
                written == 0) {
                DWORD err = ::GetLastError();
                file.Reset();
                ::DeleteFileW(temp.c_str());
                return err ? err : ERROR_WRITE_FAULT;
            }
            done += written;
        }
        // The content must be on the disk before the old file is let go.
        if (!::FlushFileBuffers(file.Get())) {
            DWORD err = ::GetLastError();
            file.Reset();
            ::DeleteFileW(temp.c_str());
            return err ? err : ERROR_WRITE_FAULT;
        }
    }

    bool rotated = false;
    if (backupPath && Exists(path)) {
        MakeWritable(*backupPath);
        rotated = ::ReplaceFileW(path.c_str(), temp.c_str(), backupPath->c_str(),
                                 REPLACEFILE_WRITE_THROUGH, nullptr, nullptr) != FALSE;
        if (!rotated) {
            // Some systems refuse to replace an existing backup: rotate by hand.
            ::DeleteFileW(backupPath->c_str());
            if (::MoveFileExW(path.c_str(), backupPath->c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                rotated = ::MoveFileExW(temp.c_str(), path.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
                if (!rotated) {
                    DWORD err = ::GetLastError();
                    // Put the old file back where it was.
                    ::MoveFileExW(backupPath->c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH);
                    ::DeleteFileW(temp.c_str());
                    return err ? err : ERROR_WRITE_FAULT;
                }
            }
        }
    } else {
        MakeWritable(path);
        rotated = ::MoveFileExW(temp.c_str(), path.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!rotated) {
        DWORD err = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        return err ? err : ERROR_WRITE_FAULT;
    }
    return 0;
}

std::u16string SystemCodePage::ToUtf16(std::string_view bytes) const
{
    // ReadWholeFile refuses files beyond INT_MAX / 2 bytes, so one call does.
    if (bytes.empty() || bytes.size() > INT_MAX)
        return {};
    const int n = static_cast<int>(bytes.size());
    int len = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    std::u16string out(static_cast<size_t>(std::max(len, 0)), u'\0');
    if (len > 0)
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, reinterpret_cast<wchar_t*>(out.data()), len);
    return out;
}

std::string SystemCodePage::FromUtf16(std::u16string_view text) const
{
    if (text.empty())
        return {};
    auto* src = reinterpret_cast<const wchar_t*>(text.data());
    int len = ::WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
    std::string out(static_cast<size_t>(std::max(len, 0)), '\0');
    if (len > 0)
        ::WideCharToMultiByte(CP_ACP, 0, src, static_cast<int>(text.size()), out.data(), len, nullptr,
                              nullptr);
    return out;
}

bool SystemCodePage::IsLeadByte(unsigned char byte) const
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace notesfile
