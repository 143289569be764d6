#include "app/registry_key.h"

#include <algorithm>

CRegistryKey::CRegistryKey(HKEY root) : m_hKey(root), m_hRoot(root) {}

CRegistryKey::~CRegistryKey()
{
    Close();
}

bool CRegistryKey::IsOpenedKey() const
{
    // The root handed to the constructor is predefined and is not ours to close.
    return m_hKey != nullptr && m_hKey != m_hRoot;
}

BOOL CRegistryKey::Open(HKEY root, const std::wstring& subKey, REGSAM access)
{
    Close();
    HKEY key = nullptr;
    m_lResult = ::RegOpenKeyExW(root, subKey.c_str(), 0, access, &key);
    if (m_lResult != ERROR_SUCCESS)
        return FALSE;
    m_hKey = key;
    m_hRoot = nullptr;   // from now on the held key is ours
    m_strSubKey = subKey;
    return TRUE;
}

BOOL CRegistryKey::ReadString(const std::wstring& name, std::wstring& value)
{
    if (!IsOpenedKey()) {
        m_lResult = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    wchar_t buf[256] = {};
    DWORD type = 0;
    DWORD size = sizeof(buf) - sizeof(wchar_t);   // room for our own terminator
    m_lResult = ::RegQueryValueExW(m_hKey, name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buf), &size);
    if (m_lResult != ERROR_SUCCESS)
        return FALSE;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        m_lResult = ERROR_INVALID_DATA;
        return FALSE;
    }
    // The stored data need not end in a null.
    buf[std::min<DWORD>(size / sizeof(wchar_t), 255)] = L'\0';
    value = buf;
    return TRUE;
}

BOOL CRegistryKey::WriteString(const std::wstring& name, const std::wstring& text)
{
    if (!IsOpenedKey()) {
        m_lResult = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    m_lResult = ::RegSetValueExW(m_hKey, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    return m_lResult == ERROR_SUCCESS;
}

BOOL CRegistryKey::DeleteValue(const std::wstring& name)
{
    if (!IsOpenedKey()) {
        m_lResult = ERROR_INVALID_HANDLE;
        return FALSE;
    }
    m_lResult = ::RegDeleteValueW(m_hKey, name.c_str());
    return m_lResult == ERROR_SUCCESS;
}

void CRegistryKey::Close()
{
    if (IsOpenedKey())
        ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
    m_hRoot = nullptr;
}
