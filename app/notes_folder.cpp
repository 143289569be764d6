#include "app/notes_folder.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "app/para_block.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "notes/storage_file.h"

namespace notesfolder {

namespace {

constexpr wchar_t kSection[] = L"Storage";
constexpr wchar_t kNoticeKey[] = L"UserFolderNoticeShown";
constexpr wchar_t kDeclinedKey[] = L"DeclinedVirtualStoreCopy";

const wchar_t* Title()
{
    CWinApp* app = AfxGetApp();
    return app && !app->m_strAppName.empty() ? app->m_strAppName.c_str() : L"Jotstack";
}

std::wstring KnownFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, path)))
        return {};
    return path;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

notesplace::FileFacts Facts(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {true, (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime};
}

// A write time as the user reads dates and times.
std::wstring LocalTimeText(uint64_t written)
{
    FILETIME utc{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    FILETIME local{};
    SYSTEMTIME t{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &t))
        return {};
    wchar_t date[80] = {};
    wchar_t time[80] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, date, 80);
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, time, 80);
    return std::wstring(date) + L" " + time;
}

// Copies a file that the user folder lacks; an existing file is never
// replaced.
void BringAlong(const std::wstring& from, const std::wstring& to)
{
    if (Exists(from) && !Exists(to))
        ::CopyFileW(from.c_str(), to.c_str(), TRUE);
}

bool FlushToDisk(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && ::FlushFileBuffers(file.Get());
}

bool MoveOver(const std::wstring& from, const std::wstring& to)
{
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

// A name in the storage file's folder for the version that gives way; a
// second takeover within the same second gets "-2" and so on.
std::wstring KeptPathFor(const std::wstring& storage)
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring folder = notesplace::FolderOf(storage);
    const std::wstring name = notesplace::KeptVersionName(notesplace::FileNameOf(storage), now.wYear, now.wMonth,
                                                          now.wDay, now.wHour, now.wMinute, now.wSecond);
    const size_t dot = name.find_last_of(L'.');
    const std::wstring stem = dot == std::wstring::npos ? name : name.substr(0, dot);
    const std::wstring ext = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
    std::wstring path = folder + L"\\" + name;
    for (int n = 2; Exists(path) && n < 1000; ++n)
        path = folder + L"\\" + stem + L"-" + std::to_wstring(n) + ext;
    return path;
}

// The VirtualStore copy becomes the storage file. The program's own file
// steps aside under keptPath first; the copy arrives as "<storage>.tmp",
// which the start-up finishes like a save cut short, should the program
// end in between. Both versions survive every step that fails.
bool TakeOver(const std::wstring& copy, const std::wstring& storage, std::wstring& keptPath)
{
    const std::wstring temp = notesfile::TempPath(storage);
    if (Exists(temp) && !::DeleteFileW(temp.c_str()))
        return false;
    if (!::CopyFileW(copy.c_str(), temp.c_str(), FALSE) || !FlushToDisk(temp)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    keptPath.clear();
    if (Exists(storage)) {
        keptPath = KeptPathFor(storage);
        if (!MoveOver(storage, keptPath)) {
            ::DeleteFileW(temp.c_str());
            keptPath.clear();
            return false;
        }
    }
    if (!MoveOver(temp, storage)) {
        if (!keptPath.empty())
            MoveOver(keptPath, storage);
        ::DeleteFileW(temp.c_str());
        keptPath.clear();
        return false;
    }
    return true;
}

uint64_t FromDecimal(const std::wstring& text)
{
    uint64_t v = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return 0;
        v = v * 10 + static_cast<uint64_t>(c - L'0');
    }
    return v;
}

}  // namespace

bool IsWritable(const std::wstring& folder)
{
    if (folder.empty())
        return false;
    const std::wstring stem = folder + L"\\~Jotstack-" + std::to_wstring(::GetCurrentProcessId()) + L"-";
    for (int i = 0; i < 20; ++i) {
        const std::wstring probe = stem + std::to_wstring(i) + L".tmp";
        HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            ::CloseHandle(h);
            ::DeleteFileW(probe.c_str());   // where delete-on-close is not honoured
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

notesplace::Place Settle()
{
    const std::wstring exe = ModulePath();
    if (exe.empty())
        return {};
    const std::wstring programFolder = notesplace::FolderOf(exe);
    notesplace::Place place =
        notesplace::ChoosePlace(exe, IsWritable(programFolder), KnownFolder(CSIDL_APPDATA), MAX_PATH);
    if (place.where == notesplace::Where::UserFolder) {
        ::CreateDirectoryW(place.folder.c_str(), nullptr);
        if (!IsWritable(place.folder)) {
            // Nowhere better to go: saving beside the program fails with a
            // message that says why, and nothing is lost.
            place = notesplace::ChoosePlace(exe, true, L"", MAX_PATH);
        } else {
            for (const wchar_t* ext : {L".txt", L".bak.txt", L".ini"})
                BringAlong(ReplaceExtension(exe, ext), ReplaceExtension(place.base, ext));
        }
    }
    SetNotesBase(place.base);
    return place;
}

void OfferVirtualStoreCopy(HWND owner)
{
    const std::wstring exe = ModulePath();
    const std::wstring copy = notesplace::VirtualStorePath(exe, KnownFolder(CSIDL_LOCAL_APPDATA), L".txt");
    const std::wstring storage = notesfile::StoragePath();
    if (copy.empty() || storage.empty() || ::lstrcmpiW(copy.c_str(), storage.c_str()) == 0)
        return;
    const notesplace::FileFacts theirs = Facts(copy);
    const notesplace::FileFacts ours = Facts(storage);
    const uint64_t declined = FromDecimal(IniReadString(kSection, kDeclinedKey, L"", 64));
    if (!notesplace::ShouldOfferVirtualStoreCopy(theirs, ours, declined))
        return;
    const std::wstring question =
        notesplace::VirtualStoreQuestion(copy, LocalTimeText(theirs.written), storage, ours.exists);
    const int answer = ::MessageBoxW(owner, question.c_str(), Title(),
                                     MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND | MB_TOPMOST);
    if (answer != IDYES) {
        IniWriteString(kSection, kDeclinedKey, std::to_wstring(theirs.written));
        return;
    }
    std::wstring kept;
    if (TakeOver(copy, storage, kept)) {
        ::MessageBoxW(owner, notesplace::VirtualStoreTakenOver(storage, kept).c_str(), Title(),
                      MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    } else {
        ::MessageBoxW(owner, notesplace::VirtualStoreNotTaken(copy, storage).c_str(), Title(),
                      MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
    }
}

void TellPlaceOnce(HWND owner, const notesplace::Place& place)
{
    if (place.where != notesplace::Where::UserFolder || IniReadInt(kSection, kNoticeKey, 0) == 1)
        return;
    // Noted first, so that the user hears of it once even when the program
    // is ended while the message is up.
    IniWriteInt(kSection, kNoticeKey, 1);
    const std::wstring text = notesplace::UserFolderNotice(place.folder, notesplace::FolderOf(ModulePath()));
    ::MessageBoxW(owner, text.c_str(), Title(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

}  // namespace notesfolder
