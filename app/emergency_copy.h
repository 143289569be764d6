// The emergency copy of the notes: when Windows ends the logon and the
// storage file cannot be written, all pages go in the storage form to the
// user's local application-data folder ("Jotstack" there), and the next
// start tells the user once where that copy is.
#pragma once

#include <windows.h>

#include <string>

class CJotstackDoc;

namespace emergency {

// "<local application data>\Jotstack", or empty when the system gives none.
std::wstring Folder();

// Writes the copy and leaves a notice for the next start of the program
// whose storage file is storagePath. Returns the copy's path, or empty when
// it could not be written.
std::wstring WriteCopy(CJotstackDoc& doc, const std::wstring& storagePath);

// Shows (once) every notice left for this storage file and removes it.
void TellAboutCopies(HWND owner, const std::wstring& storagePath);

}  // namespace emergency
