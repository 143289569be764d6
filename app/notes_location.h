// Where the notes and settings live. A portable copy keeps them beside the
// executable (Jotstack.txt, Jotstack.bak.txt, Jotstack.ini), as always. An
// installed copy in a folder the user cannot write to (C:\Program Files)
// keeps them in the user's roaming application-data folder instead
// ("%APPDATA%\Jotstack"), under the same names. Windows used to redirect
// such saves silently to a per-user VirtualStore copy; a copy found there
// is offered for taking over, never taken silently.
// Portable: the Win32 side probes the folder, asks and copies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace notesplace {

// The folder under the user's application data that holds the notes of an
// installed copy.
inline constexpr wchar_t kUserFolderName[] = L"Jotstack";

enum class Where {
    BesideProgram,   // the executable's folder
    UserFolder,      // <application data>\Jotstack
};

struct Place {
    Where where = Where::BesideProgram;
    // The path whose extension is replaced to name every file: the
    // executable's own path, or the same file name in the user folder.
    std::wstring base;
    // The folder the files are in.
    std::wstring folder;
};

// The folder of a path (everything before its last '\\' or '/'), and its
// file name.
std::wstring FolderOf(std::wstring_view path);
std::wstring FileNameOf(std::wstring_view path);

// Where the files of the executable at exePath go: beside it when its
// folder is writable; otherwise in appData\Jotstack (under the executable's
// file name, so a renamed executable keeps its own files), unless the
// system gave no application-data folder, or its path is too long for the
// files to be named whole (then beside the program, where saving will fail
// honestly). maxPath: the longest file path the program can use.
Place ChoosePlace(std::wstring_view exePath, bool programFolderWritable, std::wstring_view appData,
                  size_t maxPath);

// "C:\Program Files (x86)\Jotstack\Jotstack.exe" with ".txt" and local
// application data "C:\Users\u\AppData\Local" gives
// "C:\Users\u\AppData\Local\VirtualStore\Program Files (x86)\Jotstack\Jotstack.txt":
// where Windows redirected the saves of a program without a manifest. Empty
// for paths that Windows never redirected: not on a drive letter (UNC
// paths, relative paths) or without a local application-data folder.
std::wstring VirtualStorePath(std::wstring_view exePath, std::wstring_view localAppData,
                              std::wstring_view extension);

// What is known of a file: whether it exists and its last write time
// (FILETIME units).
struct FileFacts {
    bool exists = false;
    uint64_t written = 0;
};

// Whether to offer the VirtualStore copy: it exists, is newer than the file
// the program would use (or that file is missing), and is not the very
// version the user already said no to (declinedWritten, 0 when none).
bool ShouldOfferVirtualStoreCopy(const FileFacts& virtualStore, const FileFacts& ours,
                                 uint64_t declinedWritten);

// The name the replaced notes are kept under when the VirtualStore copy is
// taken over: "Jotstack.txt" at 2026-12-11 13:15:00 gives
// "Jotstack-接管前-20261211-131500.txt".
std::wstring KeptVersionName(std::wstring_view storageFileName, int year, int month, int day,
                             int hour, int minute, int second);

// ---- What the user is told -------------------------------------------------

// The first start with the notes in the user folder.
std::wstring UserFolderNotice(std::wstring_view folder, std::wstring_view programFolder);
// The Yes/No question about the VirtualStore copy. oursExists: whether the
// program has notes of its own that would be kept aside.
std::wstring VirtualStoreQuestion(std::wstring_view copyPath, std::wstring_view writtenText,
                                  std::wstring_view storagePath, bool oursExists);
// After a takeover: where the notes now come from and where the replaced
// version was kept (empty keptPath: there was none).
std::wstring VirtualStoreTakenOver(std::wstring_view storagePath, std::wstring_view keptPath);
// A takeover that could not be done: nothing was changed.
std::wstring VirtualStoreNotTaken(std::wstring_view copyPath, std::wstring_view storagePath);

}  // namespace notesplace
