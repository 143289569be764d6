// CRegistryKey: one open registry key, closed with the object.
#pragma once

#include <windows.h>

#include <string>

#include "framework/cmdtarget.h"

class CRegistryKey : public CObject {
public:
    // Stores the root key; Open replaces it by the opened key.
    explicit CRegistryKey(HKEY root);
    ~CRegistryKey() override;
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // RegOpenKeyEx; true on success.
    BOOL Open(HKEY root, const std::wstring& subKey, REGSAM access = KEY_ALL_ACCESS);
    // A REG_SZ value of at most 255 characters; the string is left alone on
    // failure (also for a value of another type).
    BOOL ReadString(const std::wstring& name, std::wstring& value);
    // Writes a REG_SZ value with its terminating null.
    BOOL WriteString(const std::wstring& name, const std::wstring& text);
    BOOL DeleteValue(const std::wstring& name);
    void Close();

    HKEY m_hKey = nullptr;
    std::wstring m_strSubKey;
    LONG m_lResult = ERROR_SUCCESS;

private:
    bool IsOpenedKey() const;
    HKEY m_hRoot;
};
