// The notes storage file on disk: where it lives, its preparation at
// start-up, reading it whole, and writing it so that no moment leaves the
// user without notes.
//
// A save writes the new content to "<storage>.tmp" in the same folder,
// flushes it to the disk and only then rotates: the old backup goes, the
// storage file becomes the backup, the temporary file becomes the storage
// file. The old backup is only set aside ("<backup>.prev") until the new
// file is in place, so a rotation that fails puts everything back. A
// temporary file found at start-up means a save was cut short: before the
// rotation (storage file present: the temporary file is dropped) or during
// it (storage file missing: the temporary file is complete and becomes the
// storage file); a ".prev" file becomes the backup again when the backup is
// missing and is dropped otherwise.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "notes/code_page.h"
#include "notes/save_failure.h"

namespace notesfile {

// The storage path: the executable's path with ".txt" (or the same name in
// the user's notes folder, see NotesPathWithExtension).
std::wstring StoragePath();
// The backup of a storage path: extension removed, ".bak.txt" appended.
std::wstring BackupPath(const std::wstring& storagePath);
// The temporary file a save writes first.
std::wstring TempPath(const std::wstring& path);
// Where the old backup waits while a save rotates the files.
std::wstring PreviousBackupPath(const std::wstring& backupPath);

enum class Prepared { Ok, CannotCreate };

// Finishes or discards a save that was cut short, removes a read-only
// attribute and creates a missing file empty.
Prepared PrepareStorageFile(const std::wstring& path);

enum class ReadResult { Ok, Missing, Failed };

// What a file looked like at one moment: its size and last write time.
struct FileStamp {
    long long size = -1;
    unsigned long long written = 0;   // FILETIME units
    bool operator==(const FileStamp& o) const { return size == o.size && written == o.written; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// The stamp of the file at path now (size -1 when it does not exist).
FileStamp StampOf(const std::wstring& path);

// Reads the whole file (others may read it meanwhile, but not write).
// Failed means the file exists but could not be read, or changed while it
// was read (a program outside Windows' sharing rules wrote to it): the
// caller must not treat that as the notebook. With stamp, the stamp of the
// content read.
ReadResult ReadWholeFile(const std::wstring& path, std::string& bytes, FileStamp* stamp = nullptr);

// Reads the whole file as another program left it: a file written in the
// last moments may be in the middle of a rewrite (emptied and not yet
// filled again), so it is taken only when it stays the same for settleMs
// after the read; Failed otherwise, to be tried again.
ReadResult ReadSettledFile(const std::wstring& path, std::string& bytes, DWORD settleMs = 100);

// The size of a file, or -1 when it does not exist.
long long FileSize(const std::wstring& path);

// Writes bytes to path through a temporary file. With a backup path the
// existing file at path becomes the backup (the old backup is replaced).
// Returns 0 on success, else the system error; on failure the file at path
// and the backup are as they were, byte for byte.
DWORD WriteFileSafely(const std::wstring& path, const std::string& bytes,
                      const std::wstring* backupPath);
// The same for bytes made while they are written: produce(put) hands them
// over in pieces through put, which returns false once writing failed (and
// produce then stops). A big notebook is never held twice in memory.
using ByteSink = std::function<bool(std::string_view)>;
using ByteProducer = std::function<void(const ByteSink& put)>;
DWORD WriteFileSafely(const std::wstring& path, const ByteProducer& produce, const std::wstring* backupPath);

// What a system error of a failed save means to the user.
SaveFailure ClassifySaveError(DWORD error);

// The system's ANSI code page (code page 936 on a Chinese system).
class SystemCodePage : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override;
    std::string FromUtf16(std::u16string_view text) const override;
    bool IsLeadByte(unsigned char byte) const override;
};

}  // namespace notesfile
