// Where the notes live: beside a portable copy, in the user's application
// data for a copy in a folder the user cannot write to, and where Windows
// used to redirect the saves of a program without a manifest.
#include <gtest/gtest.h>

#include "app/notes_location.h"

using namespace notesplace;

namespace {

constexpr size_t kMaxPath = 260;
const std::wstring kAppData = L"C:\\Users\\李明\\AppData\\Roaming";
const std::wstring kLocal = L"C:\\Users\\李明\\AppData\\Local";

}  // namespace

TEST(NotesPlace, APortableCopyKeepsEverythingBesideTheProgram)
{
    const Place p = ChoosePlace(L"E:\\工具\\Jotstack\\Jotstack.exe", true, kAppData, kMaxPath);
    EXPECT_EQ(p.where, Where::BesideProgram);
    EXPECT_EQ(p.base, L"E:\\工具\\Jotstack\\Jotstack.exe");
    EXPECT_EQ(p.folder, L"E:\\工具\\Jotstack");
}

TEST(NotesPlace, AnUnwritableFolderSendsTheFilesToTheUserFolder)
{
    const Place p = ChoosePlace(L"C:\\Program Files (x86)\\Jotstack\\Jotstack.exe", false, kAppData, kMaxPath);
    EXPECT_EQ(p.where, Where::UserFolder);
    EXPECT_EQ(p.folder, kAppData + L"\\Jotstack");
    // The executable's file name: ".txt", ".bak.txt", ".ini" replace ".exe".
    EXPECT_EQ(p.base, kAppData + L"\\Jotstack\\Jotstack.exe");
}

TEST(NotesPlace, ARenamedExecutableKeepsItsOwnFilesInTheUserFolder)
{
    const Place p = ChoosePlace(L"C:\\Program Files\\Jotstack\\Notes.exe", false, kAppData + L"\\", kMaxPath);
    EXPECT_EQ(p.base, kAppData + L"\\Jotstack\\Notes.exe");
    EXPECT_EQ(p.folder, kAppData + L"\\Jotstack");
}

TEST(NotesPlace, WithoutAnApplicationDataFolderTheProgramStaysWhereItIs)
{
    // Saving will then fail with a clear message instead of going astray.
    EXPECT_EQ(ChoosePlace(L"C:\\Program Files\\Jotstack\\Jotstack.exe", false, L"", kMaxPath).where,
              Where::BesideProgram);
    EXPECT_EQ(ChoosePlace(L"C:\\Program Files\\Jotstack\\Jotstack.exe", false, L"\\", kMaxPath).where,
              Where::BesideProgram);
}

TEST(NotesPlace, AUserFolderTooDeepForWholeFileNamesIsNotUsed)
{
    const std::wstring deep = L"C:\\" + std::wstring(230, L'a');
    const Place p = ChoosePlace(L"C:\\Program Files\\Jotstack\\Jotstack.exe", false, deep, kMaxPath);
    EXPECT_EQ(p.where, Where::BesideProgram);
    const std::wstring fits = L"C:\\" + std::wstring(200, L'a');
    EXPECT_EQ(ChoosePlace(L"C:\\Program Files\\Jotstack\\Jotstack.exe", false, fits, kMaxPath).where,
              Where::UserFolder);
}

TEST(NotesPlace, FolderAndFileNameOfPaths)
{
    EXPECT_EQ(FolderOf(L"C:\\a\\b.exe"), L"C:\\a");
    EXPECT_EQ(FileNameOf(L"C:\\a\\b.exe"), L"b.exe");
    EXPECT_EQ(FolderOf(L"b.exe"), L"");
    EXPECT_EQ(FileNameOf(L"b.exe"), L"b.exe");
    EXPECT_EQ(FolderOf(L"\\\\server\\share\\b.exe"), L"\\\\server\\share");
}

TEST(VirtualStore, TheRedirectedCopyOfAProgramFilesInstallation)
{
    EXPECT_EQ(VirtualStorePath(L"C:\\Program Files (x86)\\Jotstack\\Jotstack.exe", kLocal, L".txt"),
              kLocal + L"\\VirtualStore\\Program Files (x86)\\Jotstack\\Jotstack.txt");
    EXPECT_EQ(VirtualStorePath(L"D:\\软件\\记事\\Jotstack.exe", kLocal + L"\\", L".txt"),
              kLocal + L"\\VirtualStore\\软件\\记事\\Jotstack.txt");
}

TEST(VirtualStore, ProgramInTheRootOfADrive)
{
    EXPECT_EQ(VirtualStorePath(L"C:\\Jotstack.exe", kLocal, L".txt"), kLocal + L"\\VirtualStore\\Jotstack.txt");
}

TEST(VirtualStore, TheLongPathFormNamesTheSameCopy)
{
    EXPECT_EQ(VirtualStorePath(L"\\\\?\\C:\\Program Files\\J\\Jotstack.exe", kLocal, L".txt"),
              kLocal + L"\\VirtualStore\\Program Files\\J\\Jotstack.txt");
}

TEST(VirtualStore, PathsWindowsNeverRedirectedHaveNone)
{
    EXPECT_EQ(VirtualStorePath(L"\\\\server\\share\\Jotstack.exe", kLocal, L".txt"), L"");
    EXPECT_EQ(VirtualStorePath(L"\\\\?\\UNC\\server\\share\\Jotstack.exe", kLocal, L".txt"), L"");
    EXPECT_EQ(VirtualStorePath(L"Jotstack.exe", kLocal, L".txt"), L"");
    EXPECT_EQ(VirtualStorePath(L"C:\\Program Files\\Jotstack.exe", L"", L".txt"), L"");
}

TEST(VirtualStoreOffer, OnlyANewerCopyIsOffered)
{
    const FileFacts none{};
    const FileFacts old{true, 1000};
    const FileFacts newer{true, 2000};
    EXPECT_TRUE(ShouldOfferVirtualStoreCopy(newer, old, 0));
    EXPECT_FALSE(ShouldOfferVirtualStoreCopy(old, newer, 0));
    EXPECT_FALSE(ShouldOfferVirtualStoreCopy(old, old, 0));   // taken over before: same time
    EXPECT_FALSE(ShouldOfferVirtualStoreCopy(none, old, 0));
    EXPECT_FALSE(ShouldOfferVirtualStoreCopy(none, none, 0));
}

TEST(VirtualStoreOffer, AnyCopyIsNewerThanNotesThatDoNotExistYet)
{
    EXPECT_TRUE(ShouldOfferVirtualStoreCopy(FileFacts{true, 5}, FileFacts{}, 0));
}

TEST(VirtualStoreOffer, TheVersionTheUserDeclinedIsNotOfferedAgainUntilItChanges)
{
    const FileFacts ours{true, 1000};
    EXPECT_FALSE(ShouldOfferVirtualStoreCopy(FileFacts{true, 2000}, ours, 2000));
    EXPECT_TRUE(ShouldOfferVirtualStoreCopy(FileFacts{true, 3000}, ours, 2000));
}

TEST(KeptVersion, TheStampGoesBeforeTheExtension)
{
    EXPECT_EQ(KeptVersionName(L"Jotstack.txt", 2026, 12, 11, 13, 5, 9), L"Jotstack-接管前-20261211-130509.txt");
    EXPECT_EQ(KeptVersionName(L"Notes", 2026, 1, 2, 3, 4, 5), L"Notes-接管前-20260102-030405");
}

TEST(Messages, TheNoticeNamesBothFoldersAndTheQuestionBothFiles)
{
    const std::wstring notice = UserFolderNotice(L"C:\\U\\Jotstack", L"C:\\Program Files\\Jotstack");
    EXPECT_NE(notice.find(L"C:\\U\\Jotstack"), std::wstring::npos);
    EXPECT_NE(notice.find(L"C:\\Program Files\\Jotstack"), std::wstring::npos);
    EXPECT_NE(notice.find(L"不能写入"), std::wstring::npos);

    const std::wstring q = VirtualStoreQuestion(L"C:\\V\\Jotstack.txt", L"2026/12/11 13:05", L"C:\\U\\Jotstack.txt", true);
    EXPECT_NE(q.find(L"C:\\V\\Jotstack.txt"), std::wstring::npos);
    EXPECT_NE(q.find(L"C:\\U\\Jotstack.txt"), std::wstring::npos);
    EXPECT_NE(q.find(L"2026/12/11 13:05"), std::wstring::npos);
    EXPECT_NE(q.find(L"不会丢失"), std::wstring::npos);
    EXPECT_EQ(VirtualStoreQuestion(L"a", L"t", L"b", false).find(L"不会丢失"), std::wstring::npos);

    EXPECT_NE(VirtualStoreTakenOver(L"C:\\U\\Jotstack.txt", L"C:\\U\\k.txt").find(L"C:\\U\\k.txt"),
              std::wstring::npos);
    EXPECT_EQ(VirtualStoreTakenOver(L"C:\\U\\Jotstack.txt", L"").find(L"另存为"), std::wstring::npos);
}
