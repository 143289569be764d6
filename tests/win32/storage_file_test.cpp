// The storage file on a real disk: preparation, reading, the safe write with
// its backup rotation, and the recovery of a save that was cut short.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "notes/storage_codec.h"
#include "notes/storage_file.h"
#include "tests/win32/test_files.h"

using notesfile::PrepareStorageFile;
using notesfile::Prepared;
using notesfile::WriteFileSafely;

TEST(StoragePaths, BackupAndTemporaryNames)
{
    EXPECT_EQ(notesfile::BackupPath(L"C:\\apps\\Jotstack.txt"), L"C:\\apps\\Jotstack.bak.txt");
    EXPECT_EQ(notesfile::BackupPath(L"C:\\a.b\\noext"), L"C:\\a.b\\noext.bak.txt");
    EXPECT_EQ(notesfile::TempPath(L"C:\\apps\\Jotstack.txt"), L"C:\\apps\\Jotstack.txt.tmp");
}

TEST(StoragePreparation, MissingFileIsCreatedEmpty)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(notesfile::FileSize(path), 0);
}

TEST(StoragePreparation, ReadOnlyAttributeIsRemovedOthersKept)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, "x"));
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    DWORD attrs = ::GetFileAttributesW(path.c_str());
    EXPECT_FALSE(attrs & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attrs & FILE_ATTRIBUTE_HIDDEN);
}

TEST(StoragePreparation, UncreatableFileIsReported)
{
    ScratchDir dir;
    EXPECT_EQ(PrepareStorageFile(dir.File(L"no such folder\\Jotstack.txt")), Prepared::CannotCreate);
}

TEST(StoragePreparation, TempFileBesideTheStorageFileIsDropped)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    ASSERT_TRUE(WriteBytes(notesfile::TempPath(path), "half-writ"));
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
}

TEST(StoragePreparation, TempFileWithoutStorageFileBecomesIt)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(notesfile::BackupPath(path), "old"));
    ASSERT_TRUE(WriteBytes(notesfile::TempPath(path), "new complete"));
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    EXPECT_EQ(ReadBytes(path), "new complete");
    EXPECT_EQ(ReadBytes(notesfile::BackupPath(path)), "old");
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
}

TEST(StorageReading, WholeFileOrMissing)
{
    ScratchDir dir;
    std::string bytes;
    EXPECT_EQ(notesfile::ReadWholeFile(dir.File(L"none.txt"), bytes), notesfile::ReadResult::Missing);
    std::string big(3 * 1024 * 1024, 'a');
    ASSERT_TRUE(WriteBytes(dir.File(L"big.txt"), big));
    EXPECT_EQ(notesfile::ReadWholeFile(dir.File(L"big.txt"), bytes), notesfile::ReadResult::Ok);
    EXPECT_EQ(bytes.size(), big.size());
}

TEST(StorageReading, FileLockedByAWriterIsAFailureNotAnEmptyNotebook)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, "notes"));
    HANDLE writer = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    std::string bytes;
    EXPECT_EQ(notesfile::ReadWholeFile(path, bytes), notesfile::ReadResult::Failed);
    ::CloseHandle(writer);
}

TEST(StorageWriting, FirstSaveRotatesTheOldFileIntoTheBackup)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "generation 1"));
    ASSERT_TRUE(WriteBytes(backup, "generation 0"));
    EXPECT_EQ(WriteFileSafely(path, "generation 2", &backup), 0u);
    EXPECT_EQ(ReadBytes(path), "generation 2");
    EXPECT_EQ(ReadBytes(backup), "generation 1");
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
}

TEST(StorageWriting, WithoutBackupTheBackupIsUntouched)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "\xFF\xFE"));
    ASSERT_TRUE(WriteBytes(backup, "keep me"));
    EXPECT_EQ(WriteFileSafely(path, "new", nullptr), 0u);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ReadBytes(backup), "keep me");
}

TEST(StorageWriting, FailedWriteLeavesFileAndBackupAsTheyWere)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "current"));
    ASSERT_TRUE(WriteBytes(backup, "previous"));
    // A folder in the way of the temporary file makes the write fail.
    ASSERT_TRUE(::CreateDirectoryW(notesfile::TempPath(path).c_str(), nullptr));
    EXPECT_NE(WriteFileSafely(path, "never", &backup), 0u);
    EXPECT_EQ(ReadBytes(path), "current");
    EXPECT_EQ(ReadBytes(backup), "previous");
    ::RemoveDirectoryW(notesfile::TempPath(path).c_str());
}

TEST(StorageWriting, ReadOnlyBackupDoesNotStopTheRotation)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "one"));
    ASSERT_TRUE(WriteBytes(backup, "zero"));
    ::SetFileAttributesW(backup.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(WriteFileSafely(path, "two", &backup), 0u);
    EXPECT_EQ(ReadBytes(path), "two");
    EXPECT_EQ(ReadBytes(backup), "one");
}

TEST(StorageWriting, LockedStorageFileLeavesFileAndBackupAsTheyWere)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "current"));
    ASSERT_TRUE(WriteBytes(backup, "previous"));
    {
        // Held open without any sharing, as an editor or a scanner might.
        HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        DWORD err = WriteFileSafely(path, "never", &backup);
        ::CloseHandle(lock);
        EXPECT_NE(err, 0u);
        EXPECT_EQ(notesfile::ClassifySaveError(err), SaveFailure::Locked) << err;
    }
    EXPECT_EQ(ReadBytes(path), "current");
    EXPECT_EQ(ReadBytes(backup), "previous");
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
    EXPECT_FALSE(FileExists(notesfile::PreviousBackupPath(backup)));
    // Once the other program lets go, the same save goes through.
    EXPECT_EQ(WriteFileSafely(path, "new", &backup), 0u);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ReadBytes(backup), "current");
    EXPECT_FALSE(FileExists(notesfile::PreviousBackupPath(backup)));
}

TEST(StorageWriting, LockedFileWithoutABackupToKeepIsReportedAsInUse)
{
    // A storage file with nothing worth a backup is replaced directly; a
    // lock on it must still be told as a lock, not as missing rights.
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, ""));
    HANDLE lock = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    DWORD err = WriteFileSafely(path, "never", nullptr);
    ::CloseHandle(lock);
    EXPECT_EQ(notesfile::ClassifySaveError(err), SaveFailure::Locked) << err;
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
}

TEST(StorageWriting, BackupNameTakenByAFolderStillSaves)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    ASSERT_TRUE(WriteBytes(path, "current"));
    ASSERT_TRUE(::CreateDirectoryW(backup.c_str(), nullptr));
    EXPECT_EQ(WriteFileSafely(path, "new", &backup), 0u);
    EXPECT_EQ(ReadBytes(path), "new");
    DWORD attrs = ::GetFileAttributesW(backup.c_str());
    EXPECT_TRUE(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY));
    ::RemoveDirectoryW(backup.c_str());
}

TEST(StoragePreparation, BackupSetAsideByACutSaveComesBack)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    std::wstring prev = notesfile::PreviousBackupPath(backup);
    // Cut after the old backup was set aside, before the storage file moved.
    ASSERT_TRUE(WriteBytes(path, "current"));
    ASSERT_TRUE(WriteBytes(prev, "previous"));
    ASSERT_TRUE(WriteBytes(notesfile::TempPath(path), "half"));
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    EXPECT_EQ(ReadBytes(path), "current");
    EXPECT_EQ(ReadBytes(backup), "previous");
    EXPECT_FALSE(FileExists(prev));
    EXPECT_FALSE(FileExists(notesfile::TempPath(path)));
}

TEST(StoragePreparation, CutJustBeforeTheNewFileMovedInFinishesTheSave)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::wstring backup = notesfile::BackupPath(path);
    std::wstring prev = notesfile::PreviousBackupPath(backup);
    ASSERT_TRUE(WriteBytes(backup, "current"));
    ASSERT_TRUE(WriteBytes(prev, "previous"));
    ASSERT_TRUE(WriteBytes(notesfile::TempPath(path), "new"));
    EXPECT_EQ(PrepareStorageFile(path), Prepared::Ok);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(ReadBytes(backup), "current");
    EXPECT_FALSE(FileExists(prev));
}

TEST(SaveErrors, SystemErrorsMeanWhatTheUserIsTold)
{
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_DISK_FULL), SaveFailure::DiskFull);
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_HANDLE_DISK_FULL), SaveFailure::DiskFull);
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_SHARING_VIOLATION), SaveFailure::Locked);
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_ACCESS_DENIED), SaveFailure::NoRights);
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_WRITE_PROTECT), SaveFailure::NoRights);
    EXPECT_EQ(notesfile::ClassifySaveError(ERROR_GEN_FAILURE), SaveFailure::Other);
}

TEST(StorageReading, FileReplacedWhileBeingReadIsReadWholeOrNotAtAll)
{
    // Another program saving the file over and over (as this program's own
    // save does: a temporary file renamed over it) while it is read: every
    // read gives one whole version, or fails and is tried again.
    ScratchDir dir;
    const std::wstring path = dir.File(L"Jotstack.txt");
    const std::string a(300000, 'a'), b(200001, 'b');
    ASSERT_TRUE(WriteBytes(path, a));
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            WriteFileSafely(path, i % 2 ? a : b, nullptr);
    });
    int whole = 0, failed = 0;
    for (int i = 0; i < 200; ++i) {
        std::string bytes;
        notesfile::ReadResult r = notesfile::ReadWholeFile(path, bytes);
        if (r == notesfile::ReadResult::Ok) {
            EXPECT_TRUE(bytes == a || bytes == b) << "a mixed read of " << bytes.size() << " bytes";
            ++whole;
        } else {
            ++failed;
        }
    }
    stop = true;
    writer.join();
    EXPECT_GT(whole, 0);
    std::printf("%d whole reads, %d refused while the file was being replaced\n", whole, failed);
}

TEST(StorageReading, FileEmptiedForARewriteIsNotTakenForTheNotebook)
{
    // Another program rewrites the file in place: it has just emptied it
    // and fills it a moment later. The empty file is not the notebook; once
    // the file holds still its new content is.
    ScratchDir dir;
    const std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, ""));
    std::thread writer([&] {
        ::Sleep(30);
        WriteBytes(path, "refilled notes");
    });
    std::string bytes = "stale";
    EXPECT_EQ(notesfile::ReadSettledFile(path, bytes, 500), notesfile::ReadResult::Failed);
    EXPECT_TRUE(bytes.empty());
    writer.join();
    EXPECT_EQ(notesfile::ReadSettledFile(path, bytes, 50), notesfile::ReadResult::Ok);
    EXPECT_EQ(bytes, "refilled notes");
}

TEST(StorageReading, FileUnchangedForLongIsReadAtOnce)
{
    // An old file cannot be in the middle of a rewrite: no second look, so
    // a change right after the read does not refuse it.
    ScratchDir dir;
    const std::wstring path = dir.File(L"Jotstack.txt");
    ASSERT_TRUE(WriteBytes(path, "old notes"));
    HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= 3600ull * 10000000;   // an hour ago
    FILETIME hourAgo{t.LowPart, t.HighPart};
    ASSERT_TRUE(::SetFileTime(h, nullptr, nullptr, &hourAgo));
    ::CloseHandle(h);
    EXPECT_EQ(notesfile::StampOf(path).written, t.QuadPart);

    std::thread writer([&] {
        ::Sleep(100);
        WriteBytes(path, "new notes");
    });
    std::string bytes;
    EXPECT_EQ(notesfile::ReadSettledFile(path, bytes, 1000), notesfile::ReadResult::Ok);
    EXPECT_EQ(bytes, "old notes");
    writer.join();
}

TEST(StorageReading, StampFollowsSizeAndWriting)
{
    ScratchDir dir;
    const std::wstring path = dir.File(L"Jotstack.txt");
    EXPECT_EQ(notesfile::StampOf(path).size, -1);
    ASSERT_TRUE(WriteBytes(path, "12345"));
    const notesfile::FileStamp first = notesfile::StampOf(path);
    EXPECT_EQ(first.size, 5);
    std::string bytes;
    notesfile::FileStamp read;
    ASSERT_EQ(notesfile::ReadWholeFile(path, bytes, &read), notesfile::ReadResult::Ok);
    EXPECT_EQ(read, first);
    ::Sleep(20);
    ASSERT_TRUE(WriteBytes(path, "54321"));
    EXPECT_NE(notesfile::StampOf(path), first) << "same size, written again";
}

TEST(StorageWriting, LargeContentRoundTripsThroughTheCodec)
{
    ScratchDir dir;
    std::wstring path = dir.File(L"Jotstack.txt");
    std::vector<storage::Page> pages;
    for (int i = 0; i < 20; ++i)
        pages.push_back({std::u16string{u'页', static_cast<char16_t>(u'0' + i % 10)},
                         std::u16string(200000, static_cast<char16_t>(u'a' + i))});
    std::string bytes = storage::Encode(pages, storage::Form::Storage);
    ASSERT_EQ(WriteFileSafely(path, bytes, nullptr), 0u);
    std::string back;
    ASSERT_EQ(notesfile::ReadWholeFile(path, back), notesfile::ReadResult::Ok);
    EXPECT_EQ(back, bytes);
}

TEST(SystemCodePageTest, Gb2312TextConverts)
{
    notesfile::SystemCodePage acp;
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs the Chinese ANSI code page";
    EXPECT_EQ(acp.ToUtf16("\xD6\xD0\xCE\xC4"), u"中文");
    EXPECT_EQ(acp.FromUtf16(u"中文"), "\xD6\xD0\xCE\xC4");
}
