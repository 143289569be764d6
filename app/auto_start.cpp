#include "app/auto_start.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "app/para_block.h"
#include "app/registry_key.h"
#include "app/shell_paths.h"

namespace {

// Releases a COM interface with its scope.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (m_p)
            m_p->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return m_p; }
    T** Out() { return &m_p; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_p); }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

std::wstring StartupFolder(HWND owner)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(owner, CSIDL_STARTUP, &list)) || !list)
        return {};
    wchar_t path[MAX_PATH] = {};
    BOOL ok = ::SHGetPathFromIDListW(list, path);
    ::CoTaskMemFree(list);
    return ok ? std::wstring(path) : std::wstring();
}

std::wstring ShortcutPath(const AutoStartPlace& place)
{
    if (place.startupFolder.empty())
        return {};
    std::wstring folder = place.startupFolder;
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + shellpaths::ShortcutFileName(place.exePath);
}

bool IsFile(const std::wstring& path)
{
    DWORD attr = ::GetFileAttributesW(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateShortcut(const std::wstring& link, const std::wstring& target)
{
    ComRef<IShellLinkW> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  shellLink.OutVoid())) ||
        !shellLink)
        return;
    shellLink->SetPath(target.c_str());
    shellLink->SetWorkingDirectory(shellpaths::FolderOf(target).c_str());
    ComRef<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.OutVoid())) || !file)
        return;
    file->Save(link.c_str(), TRUE);
}

void DeleteShortcut(const std::wstring& link, HWND owner)
{
    // Only a file: a folder of that name is somebody else's business.
    if (!IsFile(link))
        return;
    std::vector<wchar_t> from(link.begin(), link.end());
    from.push_back(L'\0');
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.hwnd = owner;
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ::SHFileOperationW(&op);
}

// The views of the Run key: the native one first, where the value is written.
// Both flags are ignored by 32-bit Windows and for keys that are not split.
constexpr REGSAM kRunKeyViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

bool RunValueExists(const AutoStartPlace& place, REGSAM view)
{
    // Reading needs no write access: a user without rights still sees the
    // machine-wide value.
    CRegistryKey key(place.root);
    std::wstring value;
    return key.Open(place.root, place.runKey, KEY_QUERY_VALUE | view) && key.ReadString(place.valueName, value);
}

}  // namespace

AutoStartPlace DefaultAutoStartPlace(HWND owner)
{
    AutoStartPlace place;
    place.exePath = ModulePath();
    place.startupFolder = StartupFolder(owner);
    place.owner = owner;
    return place;
}

BOOL IsAutoStartOn(const AutoStartPlace& place)
{
    for (REGSAM view : kRunKeyViews)
        if (RunValueExists(place, view))
            return TRUE;
    std::wstring link = ShortcutPath(place);
    return !link.empty() && IsFile(link);
}

void SetStartupShortcut(const AutoStartPlace& place, BOOL create)
{
    std::wstring link = ShortcutPath(place);
    if (link.empty())
        return;
    if (create)
        CreateShortcut(link, place.exePath);
    else
        DeleteShortcut(link, place.owner);
}

void ToggleAutoStart(const AutoStartPlace& place)
{
    if (IsAutoStartOn(place)) {
        for (REGSAM view : kRunKeyViews) {
            CRegistryKey key(place.root);
            if (key.Open(place.root, place.runKey, KEY_ALL_ACCESS | view))
                key.DeleteValue(place.valueName);
        }
        SetStartupShortcut(place, FALSE);
        return;
    }
    CRegistryKey key(place.root);
    key.Open(place.root, place.runKey, KEY_ALL_ACCESS | kRunKeyViews[0]);
    if (!key.WriteString(place.valueName, shellpaths::RunValueForPath(place.exePath)))
        SetStartupShortcut(place, TRUE);
}

BOOL IsAutoStartOn()
{
    return IsAutoStartOn(DefaultAutoStartPlace(nullptr));
}

void SetStartupShortcut(BOOL create)
{
    SetStartupShortcut(DefaultAutoStartPlace(nullptr), create);
}
