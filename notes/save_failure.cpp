#include "notes/save_failure.h"

#include <cstdio>

std::u16string_view SaveFailureReason(SaveFailure failure)
{
    switch (failure) {
    case SaveFailure::DiskFull:
        return u"磁盘已满。请删除一些文件，腾出空间。";
    case SaveFailure::Locked:
        return u"记录文件正被其他程序占用。请关闭占用它的程序。";
    case SaveFailure::NoRights:
        return u"没有写入记录文件或其所在文件夹的权限。";
    case SaveFailure::Other:
        break;
    }
    return u"写入记录文件时出错。";
}

std::u16string SaveFailureMessage(SaveFailure failure, SaveOccasion occasion,
                                  std::u16string_view storagePath)
{
    std::u16string text = u"抱歉，笔记未能保存！\r\n\r\n";
    text += SaveFailureReason(failure);
    text += u"\r\n记录文件：";
    text += storagePath;
    text += u"\r\n\r\n";
    if (occasion == SaveOccasion::Exit)
        text += u"为了不丢失笔记，程序没有退出，笔记仍在程序中。排除问题后请再选“退出”。";
    else if (occasion == SaveOccasion::PowerCommand)
        text += u"为了不丢失笔记，没有关机、重启或休眠，笔记仍在程序中。排除问题后请再试。";
    else
        text += u"笔记仍在程序中，下次保存时会再试。在保存成功之前请不要关机或注销。";
    return text;
}

bool SaveFailureStreak::Failed(bool userAsked)
{
    const bool first = !m_failing;
    m_failing = true;
    return first || userAsked;
}

std::u16string_view EndSessionBlockReason()
{
    return u"Jotstack 的笔记未能保存，请先排除问题（磁盘空间、文件占用或权限）并保存笔记。";
}

std::u16string EmergencyCopyNotice(std::u16string_view copyPath)
{
    std::u16string text = u"上次注销或关机时，笔记未能保存到记录文件，已另存一份到：\r\n\r\n";
    text += copyPath;
    text += u"\r\n\r\n请从这个文件中找回上次的笔记。";
    return text;
}

std::u16string EmergencyCopyName(int year, int month, int day, int hour, int minute, int second)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "Jotstack-%04d%02d%02d-%02d%02d%02d.txt", year % 10000, month % 100,
                  day % 100, hour % 100, minute % 100, second % 100);
    return std::u16string(buf, buf + std::char_traits<char>::length(buf));
}
