// The settings block: 21 integer settings kept in section "ParaBlock" of the
// INI file beside the executable (or in the user's notes folder, see
// app/notes_location.h), written through at once on every change.
#pragma once

#include <windows.h>

#include <string>

#include "app/para_table.h"
#include "framework/cmdtarget.h"

// The INI file's path: the notes base path with ".ini", normally the
// executable's path with ".ini" (shared by every part of the program that
// writes to the INI file).
extern wchar_t g_szIniPath[MAX_PATH];

class CParaBlock : public CObject {
public:
    CParaBlock();
    ~CParaBlock() override = default;   // writes nothing

    // Reads every key, then brings the values into their limits.
    void Load();
    // The stored value; callers pass only the PARA_ constants.
    int GetPara(int index) const { return m_values[static_cast<size_t>(index)]; }
    // Stores the value and writes it to the INI file at once (a failed write
    // is ignored; the value in memory changes anyway).
    void SetPara(int index, int value);

    para::Values m_values{};
    wchar_t m_szSection[64] = {};
    const wchar_t* m_pszIniPath = nullptr;
};

extern CParaBlock g_paraBlock;

// Fills g_szIniPath and gives g_paraBlock its section and path. Called once
// at start-up before Load. Returns false (and leaves the path empty) when
// the executable's path is too long for the INI path to be kept whole.
bool InitParaFile();

// The primary monitor's work area now.
para::WorkArea PrimaryWorkArea();

// The executable's full path (empty when the system cannot tell).
std::wstring ModulePath();
// The executable's path with its extension replaced (the rule of
// PathRenameExtension: ".ini" replaces the text after the last dot of the
// file name, or is appended).
std::wstring ModulePathWithExtension(const wchar_t* extension);
// The notes and settings files are named by the same rule after a base
// path: the executable's own path for a portable copy, the same file name
// in the user's application-data folder for one in a folder the user
// cannot write to (app/notes_folder.h sets it once at start-up, before
// InitParaFile).
void SetNotesBase(const std::wstring& base);
std::wstring NotesPathWithExtension(const wchar_t* extension);
// The same rule for any path.
std::wstring ReplaceExtension(const std::wstring& path, const wchar_t* extension);

// Private-profile helpers on g_szIniPath.
int IniReadInt(const wchar_t* section, const wchar_t* key, int defaultValue);
std::wstring IniReadString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                           DWORD bufferChars = 256);
void IniWriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value);
void IniWriteInt(const wchar_t* section, const wchar_t* key, int value);
