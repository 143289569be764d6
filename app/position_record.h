// The main window's position record: section "Position", key "WindowPos",
// ten numbers "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" with the fields of the
// system's window placement. Portable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct PositionRecord {
    unsigned flags = 0;      // 2 (restore to maximised) or 0
    unsigned showCmd = 0;
    int minX = 0, minY = 0;  // minimised position
    int maxX = 0, maxY = 0;  // maximised position
    int left = 0, top = 0, right = 0, bottom = 0;   // normal rectangle
};

// Reads a record; anything but ten numbers in the format gives nothing.
// Numbers are read as the C library's scanf reads "%u" and "%d" (leading
// blanks and a sign allowed, text after the tenth number ignored).
std::optional<PositionRecord> ParsePositionRecord(std::string_view text);

std::string FormatPositionRecord(const PositionRecord& record);

// A record saved while minimised must not start the window minimised:
// SW_SHOWMINIMIZED, SW_MINIMIZE and SW_SHOWMINNOACTIVE become SW_SHOWNORMAL.
unsigned CorrectShowCommand(unsigned showCmd);

// The desktop the record is checked against (the virtual screen), pixels.
struct ScreenBox {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Whether a record can be applied without losing the window: a known show
// command, a normal rectangle of positive size no larger than a few
// screens, with at least a corner of 32 x 32 pixels on the desktop. A
// damaged INI file must not park the notepad where nobody can reach it.
bool IsUsablePlacement(const PositionRecord& record, const ScreenBox& screen);
