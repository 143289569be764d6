// What the user is told when the notes could not be written, and when.
// Portable; the Win32 side classifies the system error and shows the text.
#pragma once

#include <string>
#include <string_view>

enum class SaveFailure {
    DiskFull,   // no room left on the disk
    Locked,     // another program holds the storage file
    NoRights,   // the folder or the file may not be written
    Other,
};

// Why the program was saving when the save failed; it decides what the
// message promises the user.
enum class SaveOccasion {
    Hide,      // close, Esc, minimise, Ctrl+S: the program keeps running
    Exit,      // "退出": the program stays instead of ending
    PowerCommand,   // shut down, restart, hibernate: not carried out
};

// The whole message: that the notes could not be saved, why, where, and
// what happens now.
std::u16string SaveFailureMessage(SaveFailure failure, SaveOccasion occasion,
                                  std::u16string_view storagePath);

// The short reason alone ("磁盘已满" ...).
std::u16string_view SaveFailureReason(SaveFailure failure);

// Tells once per run of failed saves: the first failure after a success
// (or after start-up) is shown, repeats are not, unless the user asked for
// it (exit, Ctrl+S). A success ends the run.
class SaveFailureStreak {
public:
    // Records a failure; returns whether to show the message.
    bool Failed(bool userAsked);
    void Succeeded() { m_failing = false; }
    bool Failing() const { return m_failing; }

private:
    bool m_failing = false;
};

// The shutdown-block reason shown by Windows when not even the emergency
// copy could be written.
std::u16string_view EndSessionBlockReason();

// The start-up notice naming the emergency copy written at the last logoff.
std::u16string EmergencyCopyNotice(std::u16string_view copyPath);

// The emergency copy's file name for a local time: "Jotstack-YYYYMMDD-HHMMSS.txt".
std::u16string EmergencyCopyName(int year, int month, int day, int hour, int minute, int second);
