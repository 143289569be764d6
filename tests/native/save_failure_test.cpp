// What the user hears of a failed save, and how often.
#include <gtest/gtest.h>

#include "notes/save_failure.h"

namespace {

bool Contains(const std::u16string& text, std::u16string_view part)
{
    return text.find(part) != std::u16string::npos;
}

}  // namespace

TEST(SaveFailureMessage, NamesTheCauseTheFileAndWhatHappensNext)
{
    std::u16string full = SaveFailureMessage(SaveFailure::DiskFull, SaveOccasion::Exit, u"C:\\a\\Jotstack.txt");
    EXPECT_TRUE(Contains(full, u"笔记未能保存"));
    EXPECT_TRUE(Contains(full, u"磁盘已满"));
    EXPECT_TRUE(Contains(full, u"C:\\a\\Jotstack.txt"));
    EXPECT_TRUE(Contains(full, u"程序没有退出"));

    std::u16string hide = SaveFailureMessage(SaveFailure::Locked, SaveOccasion::Hide, u"x");
    EXPECT_TRUE(Contains(hide, u"其他程序占用"));
    EXPECT_TRUE(Contains(hide, u"下次保存时会再试"));
    EXPECT_FALSE(Contains(hide, u"程序没有退出"));

    EXPECT_TRUE(Contains(SaveFailureMessage(SaveFailure::NoRights, SaveOccasion::Hide, u""), u"权限"));
    EXPECT_TRUE(Contains(SaveFailureMessage(SaveFailure::Other, SaveOccasion::PowerCommand, u""), u"没有关机"));
    EXPECT_FALSE(SaveFailureReason(SaveFailure::Other).empty());
}

TEST(SaveFailureMessage, NothingEnglishReachesTheUser)
{
    for (SaveFailure f : {SaveFailure::DiskFull, SaveFailure::Locked, SaveFailure::NoRights, SaveFailure::Other})
        for (SaveOccasion o : {SaveOccasion::Hide, SaveOccasion::Exit, SaveOccasion::PowerCommand}) {
            std::u16string text = SaveFailureMessage(f, o, u"");
            for (char16_t c : text)
                EXPECT_FALSE((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
                    << "Latin letter in the message of failure " << static_cast<int>(f);
        }
}

TEST(SaveFailureStreak, TellsOncePerRunOfFailures)
{
    SaveFailureStreak streak;
    EXPECT_FALSE(streak.Failing());
    EXPECT_TRUE(streak.Failed(false));    // first hide after the cause appeared
    EXPECT_FALSE(streak.Failed(false));   // the minimise that follows the close
    EXPECT_FALSE(streak.Failed(false));   // every later hide
    EXPECT_TRUE(streak.Failing());
    EXPECT_TRUE(streak.Failed(true));     // the user asked: always told
    streak.Succeeded();
    EXPECT_FALSE(streak.Failing());
    EXPECT_TRUE(streak.Failed(false));    // a new run starts
}

TEST(EmergencyCopy, NameCarriesDateAndTime)
{
    EXPECT_EQ(EmergencyCopyName(2026, 12, 10, 4, 5, 6), u"Jotstack-20261210-040506.txt");
    std::u16string notice = EmergencyCopyNotice(u"C:\\users\\x\\Jotstack-1.txt");
    EXPECT_TRUE(Contains(notice, u"C:\\users\\x\\Jotstack-1.txt"));
    EXPECT_FALSE(EndSessionBlockReason().empty());
}
