// Scratch folders and file helpers for the Win32 tests.
#pragma once

#include <windows.h>

#include <string>

// A fresh folder under the temporary directory, removed with its files.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};

std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
std::string Utf16Bytes(const std::wstring& text, bool mark = true);
