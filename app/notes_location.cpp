#include "app/notes_location.h"

#include <cstdio>

namespace notesplace {

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

std::wstring TrimTrailingSeparators(std::wstring_view path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    return std::wstring(path);
}

// The rule every file of the program is named by (PathRenameExtension's):
// the text after the last dot of the file name is replaced, or the
// extension is appended when the name has none.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view extension)
{
    const size_t slash = path.find_last_of(L"\\/");
    const size_t nameStart = slash == std::wstring_view::npos ? 0 : slash + 1;
    const size_t dot = path.find_last_of(L'.');
    std::wstring out(path.substr(0, dot == std::wstring_view::npos || dot < nameStart ? path.size() : dot));
    out += extension;
    return out;
}

// "\\?\C:\..." names the same file as "C:\...".
std::wstring_view WithoutLongPathPrefix(std::wstring_view path)
{
    constexpr std::wstring_view prefix = L"\\\\?\\";
    if (path.substr(0, prefix.size()) == prefix && path.substr(prefix.size(), 4) != L"UNC\\")
        path.remove_prefix(prefix.size());
    return path;
}

bool StartsWithDriveLetter(std::wstring_view path)
{
    return path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
           path[1] == L':' && IsSeparator(path[2]);
}

std::wstring Join(std::wstring_view folder, std::wstring_view name)
{
    std::wstring out = TrimTrailingSeparators(folder);
    out += L'\\';
    out += name;
    return out;
}

}  // namespace

std::wstring FolderOf(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

std::wstring FileNameOf(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

Place ChoosePlace(std::wstring_view exePath, bool programFolderWritable, std::wstring_view appData,
                  size_t maxPath)
{
    Place beside{Where::BesideProgram, std::wstring(exePath), FolderOf(exePath)};
    const std::wstring name = FileNameOf(exePath);
    if (programFolderWritable || TrimTrailingSeparators(appData).empty() || name.empty())
        return beside;
    Place user;
    user.where = Where::UserFolder;
    user.folder = Join(appData, kUserFolderName);
    user.base = Join(user.folder, name);
    // The longest name a save uses: the backup set aside during a rotation.
    if (ReplaceExtension(user.base, L".bak.txt").size() + 5 >= maxPath)
        return beside;
    return user;
}

std::wstring VirtualStorePath(std::wstring_view exePath, std::wstring_view localAppData,
                              std::wstring_view extension)
{
    const std::wstring_view exe = WithoutLongPathPrefix(exePath);
    const std::wstring local = TrimTrailingSeparators(localAppData);
    if (!StartsWithDriveLetter(exe) || local.empty())
        return {};
    const std::wstring folder = FolderOf(exe);   // "C:\Program Files (x86)\Jotstack"
    std::wstring out = local + L"\\VirtualStore";
    out += folder.substr(2);                     // "\Program Files (x86)\Jotstack"
    return Join(out, ReplaceExtension(FileNameOf(exe), extension));
}

bool ShouldOfferVirtualStoreCopy(const FileFacts& virtualStore, const FileFacts& ours,
                                 uint64_t declinedWritten)
{
    if (!virtualStore.exists)
        return false;
    if (declinedWritten != 0 && virtualStore.written == declinedWritten)
        return false;
    return !ours.exists || virtualStore.written > ours.written;
}

std::wstring KeptVersionName(std::wstring_view storageFileName, int year, int month, int day,
                             int hour, int minute, int second)
{
    wchar_t stamp[40];
    std::swprintf(stamp, 40, L"-接管前-%04d%02d%02d-%02d%02d%02d", year % 10000, month % 100, day % 100,
                  hour % 100, minute % 100, second % 100);
    // The stamp goes before the extension, so the file still opens as text.
    const size_t dot = storageFileName.find_last_of(L'.');
    if (dot == std::wstring_view::npos)
        return std::wstring(storageFileName) + stamp;
    return std::wstring(storageFileName.substr(0, dot)) + stamp + std::wstring(storageFileName.substr(dot));
}

std::wstring UserFolderNotice(std::wstring_view folder, std::wstring_view programFolder)
{
    std::wstring text = L"Jotstack 所在的文件夹不能写入：\r\n";
    text += programFolder;
    text += L"\r\n\r\n因此您的笔记、笔记备份和设置保存在您自己的用户文件夹中：\r\n";
    text += folder;
    text +=
        L"\r\n\r\n请备份笔记时备份这个文件夹。把 Jotstack 放在可以写入的文件夹中（例如 U 盘上），"
        L"笔记就照旧保存在程序旁边。\r\n\r\n这个提示只显示一次。";
    return text;
}

std::wstring VirtualStoreQuestion(std::wstring_view copyPath, std::wstring_view writtenText,
                                  std::wstring_view storagePath, bool oursExists)
{
    std::wstring text = L"发现一份由 Windows 转存的旧笔记（以前的 Jotstack 在程序文件夹中保存时，"
                        L"Windows 把它悄悄存到了这里）：\r\n";
    text += copyPath;
    text += L"\r\n修改时间：";
    text += writtenText;
    text += oursExists ? L"\r\n\r\n它比现在使用的笔记新：\r\n" : L"\r\n\r\n现在还没有这份笔记：\r\n";
    text += storagePath;
    text += L"\r\n\r\n要接管这份转存的笔记吗？\r\n\r\n";
    text += oursExists ? L"“是”：使用转存的笔记；现在的笔记另存为一个备份文件，不会丢失。\r\n"
                       : L"“是”：使用转存的笔记。\r\n";
    text += L"“否”：不接管，转存的笔记原样留在那里；以后它不再改变就不再询问。";
    return text;
}

std::wstring VirtualStoreTakenOver(std::wstring_view storagePath, std::wstring_view keptPath)
{
    std::wstring text = L"已接管转存的笔记，现在的笔记是：\r\n";
    text += storagePath;
    if (!keptPath.empty()) {
        text += L"\r\n\r\n原来的笔记另存为：\r\n";
        text += keptPath;
    }
    return text;
}

std::wstring VirtualStoreNotTaken(std::wstring_view copyPath, std::wstring_view storagePath)
{
    std::wstring text = L"抱歉，未能接管转存的笔记，两份笔记都原样保留：\r\n";
    text += copyPath;
    text += L"\r\n";
    text += storagePath;
    return text;
}

}  // namespace notesplace
