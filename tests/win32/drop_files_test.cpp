// A page's handling of WM_DROPFILES with file lists built as the shell builds
// them (a DROPFILES block in movable global memory, wide or ANSI names).
// Under Wine no X drag reaches a page this way directly (file managers go
// through the page's OLE drop target), so the odd lists are tried here.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "notes/drag_edit.h"
#include "tests/win32/test_files.h"

namespace {

// A page on its own: the drop-aware edit in a plain parent window.
class DropPage : public CDragEdit {
public:
    bool Make(HWND parent)
    {
        return CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"", dwStyleDefault, 0, 0, 400, 300, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(1)));
    }
};

// The shell's HDROP: a DROPFILES header, then the names, each ended by a
// NUL, the list by a second NUL. The receiver frees it (DragFinish).
HGLOBAL WideDrop(POINT pt, const std::vector<std::wstring>& files)
{
    std::wstring names;
    for (const std::wstring& f : files) names += f + L'\0';
    names += L'\0';
    if (files.empty()) names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* d = static_cast<DROPFILES*>(::GlobalLock(g));
    d->pFiles = sizeof(DROPFILES);
    d->pt = pt;
    d->fWide = TRUE;
    memcpy(d + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(g);
    return g;
}

HGLOBAL AnsiDrop(POINT pt, const std::vector<std::string>& files)
{
    std::string names;
    for (const std::string& f : files) names += f + '\0';
    names += '\0';
    HGLOBAL g = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* d = static_cast<DROPFILES*>(::GlobalLock(g));
    d->pFiles = sizeof(DROPFILES);
    d->pt = pt;
    d->fWide = FALSE;
    memcpy(d + 1, names.data(), names.size());
    ::GlobalUnlock(g);
    return g;
}

class DropFilesOnAPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::CoInitialize(nullptr);
        m_parent = ::CreateWindowExW(0, L"STATIC", L"page", WS_OVERLAPPEDWINDOW, 0, 0, 420, 340, nullptr, nullptr,
                                     nullptr, nullptr);
        ASSERT_TRUE(m_parent != nullptr);
        ASSERT_TRUE(m_page.Make(m_parent));
        m_page.SetText(L"one\r\ntwo\r\nthree");
    }
    void TearDown() override
    {
        if (m_page.m_hWnd) m_page.DestroyWindow();
        if (m_parent) ::DestroyWindow(m_parent);
        ::CoUninitialize();
    }

    // Client point of a character of the page.
    POINT At(int index) const
    {
        const LRESULT pos = m_page.SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(index));
        return POINT{static_cast<short>(LOWORD(pos)) + 1, static_cast<short>(HIWORD(pos)) + 2};
    }

    void Drop(HGLOBAL drop) { m_page.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop)); }

    std::wstring Text() const { return m_page.GetText(); }

    HWND m_parent = nullptr;
    DropPage m_page;
    ScratchDir m_dir;
};

}  // namespace

TEST_F(DropFilesOnAPage, PathsGoBelowTheLineUnderTheDropPointAsOneUndoableEdit)
{
    Drop(WideDrop(At(6), {L"C:\\a\\first.txt", L"D:\\中文 目录\\second"}));
    EXPECT_EQ(Text(), L"one\r\ntwo\r\nC:\\a\\first.txt\r\nD:\\中文 目录\\second\r\nthree");
    // The inserted paths are selected.
    int s = 0, e = 0;
    m_page.GetSel(s, e);
    EXPECT_EQ(s, 10);
    EXPECT_EQ(e, 10 + 16 + 17);
    m_page.SendMessage(EM_UNDO);
    EXPECT_EQ(Text(), L"one\r\ntwo\r\nthree");
}

TEST_F(DropFilesOnAPage, AnsiNamesAreReadInTheSystemCodePage)
{
    if (::GetACP() != 936) GTEST_SKIP() << "the ANSI code page is not 936";
    Drop(AnsiDrop(At(0), {"C:\\\xD6\xD0\xCE\xC4.txt"}));   // "中文" in GBK
    EXPECT_EQ(Text(), L"one\r\nC:\\中文.txt\r\ntwo\r\nthree");
}

TEST_F(DropFilesOnAPage, ShortcutsBecomeTheirTargetsAndUnreadableOnesStayAsTheyAre)
{
    const std::wstring target = m_dir.File(L"目标.txt");
    ASSERT_TRUE(WriteBytes(target, "x"));
    const std::wstring shortcut = m_dir.File(L"good.lnk");
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link))));
    link->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(shortcut.c_str(), TRUE)));
    file->Release();
    link->Release();
    const std::wstring broken = m_dir.File(L"broken.LNK");
    ASSERT_TRUE(WriteBytes(broken, "not a shortcut"));
    const std::wstring missing = m_dir.File(L"gone.lnk");

    Drop(WideDrop(At(0), {shortcut, broken, missing}));
    EXPECT_EQ(Text(), L"one\r\n" + target + L"\r\n" + broken + L"\r\n" + missing + L"\r\ntwo\r\nthree");
}

TEST_F(DropFilesOnAPage, OnTheLastLineThePathsGoInAtTheDropPoint)
{
    Drop(WideDrop(At(13), {L"C:\\x"}));   // between "thr" and "ee"
    EXPECT_EQ(Text(), L"one\r\ntwo\r\nthrC:\\x\r\nee");
}

// A list naming no file (the shell never sends one, other programs might)
// leaves the page alone: no empty line, no change to save.
TEST_F(DropFilesOnAPage, AnEmptyListChangesNothing)
{
    m_page.SetSel(2, 2);
    Drop(WideDrop(At(6), {}));
    EXPECT_EQ(Text(), L"one\r\ntwo\r\nthree");
    EXPECT_FALSE(m_page.GetModify());
    int s = 0, e = 0;
    m_page.GetSel(s, e);
    EXPECT_EQ(s, 2);
    EXPECT_EQ(e, 2);
}
