#include "notes/storage_file.h"

#include <climits>

#include "app/para_block.h"
#include "framework/handles.h"

namespace notesfile {

std::wstring StoragePath()
{
    return NotesPathWithExtension(L".txt");
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

bool IsFolder(const std::wstring& path)
{
    DWORD attrs = ::GetFileAttributesW(path.c_str());
    return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool Move(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

DWORD LastErrorOr(DWORD fallback)
{
    DWORD err = ::GetLastError();
    return err ? err : fallback;
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
    // A backup set aside by a save that was cut short: it is still the
    // backup when no newer one took its place.
    const std::wstring prev = PreviousBackupPath(BackupPath(path));
    if (Exists(prev) && !IsFolder(prev)) {
        const std::wstring backup = BackupPath(path);
        if (!Exists(backup)) {
            Move(prev, backup);
        } else {
            MakeWritable(prev);
            ::DeleteFileW(prev.c_str());
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

namespace {

unsigned long long Ticks(const FILETIME& t)
{
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

bool StampOfHandle(HANDLE file, FileStamp& stamp)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info))
        return false;
    stamp.size = (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp.written = Ticks(info.ftLastWriteTime);
    return true;
}

}  // namespace

FileStamp StampOf(const std::wstring& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        stamp.size = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        stamp.written = Ticks(data.ftLastWriteTime);
    }
    return stamp;
}

ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes, FileStamp* stamp)
{
    bytes.clear();
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD err = ::GetLastError();
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                          : ReadResult::Failed;
    }
    FileStamp before;
    if (!StampOfHandle(file.Get(), before) || before.size > INT_MAX / 2)
        return ReadResult::Failed;
    try {
        bytes.resize(static_cast<size_t>(before.size));
    } catch (const std::bad_alloc&) {
        return ReadResult::Failed;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    // Windows keeps writers out while the file is open here, but a program
    // outside its sharing rules (or a network share) may not: a file that
    // shrank, grew or was written during the read gave a mix of two
    // versions or a cut page, never the notebook.
    FileStamp after;
    if (done != bytes.size() || !StampOfHandle(file.Get(), after) || after != before) {
        bytes.clear();
        return ReadResult::Failed;
    }
    if (stamp)
        *stamp = before;
    return ReadResult::Ok;
}

ReadResult ReadSettledFile(const std::wstring& path, std::string& bytes, DWORD settleMs)
{
    FileStamp stamp;
    ReadResult read = ReadWholeFile(path, bytes, &stamp);
    if (read != ReadResult::Ok)
        return read;
    // Only a file written within the last two seconds (or dated ahead of
    // the clock) can be in the middle of a rewrite; older ones cost nothing.
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    constexpr unsigned long long kRecent = 2ull * 10000000;   // 2 s in FILETIME units
    if (stamp.written + kRecent < Ticks(now))
        return read;
    ::Sleep(settleMs);
    if (StampOf(path) != stamp) {
        bytes.clear();
        return ReadResult::Failed;
    }
    return read;
}

namespace {

// Writes and flushes bytes into a new file at temp. Returns 0 or the error;
// on error the temporary file is gone.
DWORD WriteTempFile(const std::wstring& temp, const ByteProducer& produce)
{
    UniqueFile file(::CreateFileW(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        DWORD err = ::GetLastError();
        return err ? err : ERROR_WRITE_FAULT;
    }
    DWORD err = 0;
    produce([&](std::string_view bytes) {
        size_t done = 0;
        while (!err && done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            DWORD written = 0;
            if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
                err = ::GetLastError();
                if (!err)
                    err = ERROR_DISK_FULL;   // a short write without an error: no room left
            }
            done += written;
        }
        return err == 0;
    });
    // The content must be on the disk before the old file is let go.
    if (!err && !::FlushFileBuffers(file.Get())) {
        err = ::GetLastError();
        if (!err)
            err = ERROR_WRITE_FAULT;
    }
    file.Reset();
    if (err)
        ::DeleteFileW(temp.c_str());
    return err;
}

// A rename onto or away from a file that another program holds open is
// refused as "access denied" by some systems; the user must hear that the
// file is in use, not that rights are missing. A file that cannot even be
// opened for deletion with every kind of sharing allowed is held by someone.
DWORD ExplainMoveError(DWORD err, const std::wstring& path)
{
    if (err != ERROR_ACCESS_DENIED)
        return err;
    UniqueFile probe(::CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe && ::GetLastError() == ERROR_SHARING_VIOLATION)
        return ERROR_SHARING_VIOLATION;
    return err;
}

}  // namespace

std::wstring PreviousBackupPath(const std::wstring& backupPath)
{
    return backupPath + L".prev";
}

DWORD WriteFileSafely(const std::wstring& path, const std::string& bytes,
                      const std::wstring* backupPath)
{
    return WriteFileSafely(path, [&](const ByteSink& put) { put(bytes); }, backupPath);
}

DWORD WriteFileSafely(const std::wstring& path, const ByteProducer& produce, const std::wstring* backupPath)
{
    const std::wstring temp = TempPath(path);
    if (DWORD err = WriteTempFile(temp, produce))
        return err;

    // Every step from here can be undone until the new content is in place:
    // the old backup is only set aside (".prev") and deleted at the very end,
    // so a rotation that fails half-way puts back what was there. A backup
    // name taken by a folder is left alone; the save then goes without one.
    const bool rotate = backupPath && Exists(path) && !IsFolder(*backupPath);
    if (!rotate) {
        MakeWritable(path);
        if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            DWORD err = ExplainMoveError(LastErrorOr(ERROR_WRITE_FAULT), path);
            ::DeleteFileW(temp.c_str());
            return err;
        }
        return 0;
    }

    const std::wstring& backup = *backupPath;
    const std::wstring prev = PreviousBackupPath(backup);
    if (Exists(prev) && !IsFolder(prev)) {
        MakeWritable(prev);
        ::DeleteFileW(prev.c_str());
    }
    const bool hadBackup = Exists(backup);
    if (hadBackup && !Move(backup, prev)) {
        DWORD err = LastErrorOr(ERROR_WRITE_FAULT);
        ::DeleteFileW(temp.c_str());
        return err;
    }
    if (!Move(path, backup)) {
        DWORD err = ExplainMoveError(LastErrorOr(ERROR_WRITE_FAULT), path);
        if (hadBackup)
            Move(prev, backup);
        ::DeleteFileW(temp.c_str());
        return err;
    }
    if (!Move(temp, path)) {
        DWORD err = LastErrorOr(ERROR_WRITE_FAULT);
        Move(backup, path);
        if (hadBackup)
            Move(prev, backup);
        ::DeleteFileW(temp.c_str());
        return err;
    }
    if (hadBackup) {
        MakeWritable(prev);
        ::DeleteFileW(prev.c_str());
    }
    return 0;
}

SaveFailure ClassifySaveError(DWORD error)
{
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SaveFailure::DiskFull;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return SaveFailure::Locked;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NOT_READY:
        return SaveFailure::NoRights;
    default:
        return SaveFailure::Other;
    }
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
