// The start-up steps that settle where the notes and settings live (the
// rules are in app/notes_location.h): probe the program's folder, move to
// the user's application-data folder when it cannot be written, bring the
// files found beside the program along, offer a VirtualStore copy left by
// Windows, and tell the user once where the notes are.
#pragma once

#include <windows.h>

#include "app/notes_location.h"

namespace notesfolder {

// Whether a new file can be made in the folder (the probe is gone again).
bool IsWritable(const std::wstring& folder);

// Decides the place and names every file of the program after it (see
// SetNotesBase). Runs before the settings are read. A user folder that
// does not exist yet is made, and the notes, backup and settings found
// beside the program are copied into it (never over files already there).
notesplace::Place Settle();

// Offers the VirtualStore copy of the storage file when there is a newer
// one than the program's (a Yes/No question; nothing happens without a
// yes). Yes: the copy becomes the storage file and the program's former
// notes are kept under another name beside it; no: the answer is noted in
// the INI file so that the same copy is not offered again. Runs after the
// INI path is known and before the storage file is prepared.
void OfferVirtualStoreCopy(HWND owner);

// The first start with the notes in the user folder says where they are;
// the INI file there remembers that it was said.
void TellPlaceOnce(HWND owner, const notesplace::Place& place);

}  // namespace notesfolder
