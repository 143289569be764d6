#include "app/emergency_copy.h"

#include <shlobj.h>

#include <vector>

#include "framework/app.h"
#include "framework/handles.h"
#include "notes/jotstack_doc.h"
#include "notes/save_failure.h"
#include "notes/storage_file.h"

namespace emergency {

namespace {

const wchar_t kNoticeExtension[] = L".notice";

std::wstring FromU16(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

bool WriteUtf16File(const std::wstring& path, const std::wstring& text)
{
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return notesfile::WriteFileSafely(path, bytes, nullptr) == 0;
}

std::wstring ReadUtf16File(const std::wstring& path)
{
    std::string bytes;
    if (notesfile::ReadWholeFile(path, bytes) != notesfile::ReadResult::Ok || bytes.size() < 2 ||
        bytes.compare(0, 2, "\xFF\xFE", 2) != 0)
        return {};
    std::wstring text((bytes.size() - 2) / sizeof(wchar_t), L'\0');
    memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(wchar_t));
    return text;
}

}  // namespace

std::wstring Folder()
{
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base)) ||
        !base[0])
        return {};
    return std::wstring(base) + L"\\Jotstack";
}

std::wstring WriteCopy(CJotstackDoc& doc, const std::wstring& storagePath)
{
    const std::wstring folder = Folder();
    if (folder.empty())
        return {};
    ::CreateDirectoryW(folder.c_str(), nullptr);
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::wstring name = FromU16(EmergencyCopyName(now.wYear, now.wMonth, now.wDay, now.wHour,
                                                        now.wMinute, now.wSecond));
    std::wstring path = folder + L"\\" + name;
    // Two logoffs within one second must not overwrite the first copy.
    for (int n = 2; ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && n < 100; ++n)
        path = folder + L"\\" + name.substr(0, name.size() - 4) + L"-" + std::to_wstring(n) + L".txt";
    if (doc.WriteCopy(path) != 0)
        return {};
    // The notice names the storage file it stands for: another Jotstack in
    // another folder must not announce this copy.
    WriteUtf16File(path + kNoticeExtension, storagePath);
    return path;
}

void TellAboutCopies(HWND owner, const std::wstring& storagePath)
{
    const std::wstring folder = Folder();
    if (folder.empty())
        return;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = folder + L"\\*" + kNoticeExtension;
    std::vector<std::wstring> notices;
    HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            notices.push_back(folder + L"\\" + data.cFileName);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);

    CWinApp* app = AfxGetApp();
    for (const std::wstring& notice : notices) {
        if (::lstrcmpiW(ReadUtf16File(notice).c_str(), storagePath.c_str()) != 0)
            continue;
        const std::wstring copy = notice.substr(0, notice.size() - (std::size(kNoticeExtension) - 1));
        // Removed first, so that the user hears of it once even when the
        // program is ended while the message is up.
        ::DeleteFileW(notice.c_str());
        std::u16string_view copyU16(reinterpret_cast<const char16_t*>(copy.data()), copy.size());
        ::MessageBoxW(owner, FromU16(EmergencyCopyNotice(copyU16)).c_str(),
                      app ? app->m_strAppName.c_str() : L"Jotstack", MB_OK | MB_ICONINFORMATION);
    }
}

}  // namespace emergency
