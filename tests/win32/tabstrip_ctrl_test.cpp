// CCustomTabCtrl as a real window: item operations, the messages that drive
// it (mouse, WM_USER + 16, the scroll commands, the repeat timer) and the
// WM_NOTIFY records its parent receives.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "tabstrip/custom_tab_ctrl.h"

namespace {

constexpr int kStripWidth = 600;
constexpr int kStripHeight = 22;
constexpr UINT kStripId = 101;

struct Received {
    HWND from;
    UINT_PTR id;
    UINT code;
    int item;
    std::wstring label;
    DWORD_PTR data;
    RECT rect;
    POINT point;
    int selected;
    int highlighted;
};

// The strip's parent: remembers every notification it gets.
class RecordingParent : public CWnd {
public:
    bool Create()
    {
        CWnd::RegisterWindowClass(L"JotTabTestParent", 0, nullptr, ::LoadCursorW(nullptr, IDC_ARROW),
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        return CreateEx(0, L"JotTabTestParent", L"tab strip test", WS_OVERLAPPEDWINDOW, 0, 0, 800,
                        200, nullptr, nullptr);
    }

    std::vector<Received> received;
    std::function<void(const CTC_NMHDR&)> onNotify;

protected:
    bool OnNotify(NMHDR* hdr, LRESULT* result) override
    {
        const auto* nm = reinterpret_cast<const CTC_NMHDR*>(hdr);
        received.push_back({hdr->hwndFrom, hdr->idFrom, hdr->code, nm->iItem, nm->szLabel,
                            nm->dwData, nm->rcItem, nm->ptHit, nm->fSelected, nm->fHighlighted});
        if (onNotify)
            onNotify(*nm);
        *result = 0;
        return true;
    }
};

LPARAM At(POINT pt)
{
    return MAKELPARAM(pt.x, pt.y);
}

bool IsZeroBody(const Received& r)
{
    const RECT zero{};
    return r.label.empty() && r.data == 0 && EqualRect(&r.rect, &zero) && r.point.x == 0 &&
           r.point.y == 0 && r.selected == 0 && r.highlighted == 0;
}

class TabStripWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Create());
        strip = std::make_unique<CCustomTabCtrl>();
        ASSERT_TRUE(strip->Create(WS_CHILD | WS_VISIBLE | CTCS_FOURBUTTONS | CTCS_TOOLTIPS,
                                  RECT{}, parent, kStripId));
        strip->MoveWindow({0, 0, kStripWidth, kStripHeight});
    }
    void TearDown() override
    {
        strip.reset();
        parent.DestroyWindow();
    }

    void AddTabs(int n)
    {
        for (int i = 0; i < n; ++i) {
            const std::wstring label = L"页" + std::to_wstring(i);
            const int at = strip->GetItemCount();
            ASSERT_EQ(strip->InsertItem(at, label.c_str(), DWORD_PTR(0x5000 + i)), at);
        }
    }

    // A point well inside tab i, away from the slanted edges it shares.
    POINT Inside(int i) const
    {
        RECT rc{};
        strip->GetItemRect(i, rc);
        return {(rc.left + rc.right) / 2, kStripHeight / 2};
    }

    static POINT OnButton(int hit)
    {
        // Hit ranges with H = 22: first 0..19, previous 20..38, next 39..58, last 59..78.
        switch (hit) {
        case CTC_HIT_FIRST: return {10, 10};
        case CTC_HIT_PREVIOUS: return {30, 10};
        case CTC_HIT_NEXT: return {48, 10};
        default: return {68, 10};
        }
    }

    void LeftClick(POINT pt)
    {
        strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
        strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
    }

    // Delivers what the strip posted to itself (the buttons' commands), and
    // nothing else: real timer ticks would make the tests depend on timing.
    void DeliverPostedCommands()
    {
        MSG msg;
        while (::PeekMessageW(&msg, strip->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            ::DispatchMessageW(&msg);
    }

    RecordingParent parent;
    std::unique_ptr<CCustomTabCtrl> strip;
};

}  // namespace

TEST_F(TabStripWindow, IsAWindowOfItsOwnClass)
{
    wchar_t name[64] = L"";
    ::GetClassNameW(strip->m_hWnd, name, 64);
    EXPECT_STREQ(name, L"CCustomTabCtrl");
    const DWORD classStyle = static_cast<DWORD>(::GetClassLongW(strip->m_hWnd, GCL_STYLE));
    EXPECT_EQ(classStyle, DWORD(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    EXPECT_TRUE(strip->GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ(strip->GetDlgCtrlID(), int(kStripId));
    EXPECT_EQ(strip->GetParent(), parent.m_hWnd);
}

TEST_F(TabStripWindow, ASecondStripRegistersNothingNew)
{
    CCustomTabCtrl second;
    EXPECT_TRUE(second.Create(WS_CHILD | CTCS_FOURBUTTONS, RECT{0, 30, 300, 52}, parent, 102));
}

TEST_F(TabStripWindow, OperationsAnswerWithTheirCodesAndNeverNotify)
{
    EXPECT_EQ(strip->InsertItem(0, L"日常", 11), 0);
    EXPECT_EQ(strip->InsertItem(1, L"工作", 22), 1);
    EXPECT_EQ(strip->InsertItem(3, L"x", 0), CTC_ERR_INDEX);
    EXPECT_EQ(strip->InsertItem(2, L"读书笔记", 33), 2);
    EXPECT_EQ(strip->GetItemCount(), 3);
    EXPECT_EQ(strip->GetCurSel(), -1);
    EXPECT_EQ(strip->SetCurSel(1), CTC_OK);
    EXPECT_EQ(strip->SetCurSel(3), CTC_ERR_INDEX);
    EXPECT_EQ(strip->GetCurSel(), 1);

    std::wstring text;
    EXPECT_EQ(strip->GetItemText(2, text), CTC_OK);
    EXPECT_EQ(text, L"读书笔记");
    EXPECT_EQ(strip->GetItemText(5, text), CTC_ERR_INDEX);
    EXPECT_EQ(strip->SetItemText(0, L"随笔"), CTC_OK);
    EXPECT_EQ(strip->GetItemText(0, text), CTC_OK);
    EXPECT_EQ(text, L"随笔");
    DWORD_PTR data = 0;
    EXPECT_EQ(strip->GetItemData(2, data), CTC_OK);
    EXPECT_EQ(data, 33u);
    EXPECT_EQ(strip->GetItemData(-1, data), CTC_ERR_INDEX);
    EXPECT_EQ(strip->FindItemByData(22), 1);
    EXPECT_EQ(strip->FindItemByData(99), -1);

    EXPECT_EQ(strip->DeleteItem(1), CTC_OK);   // the selection passes on
    EXPECT_EQ(strip->GetCurSel(), 1);
    EXPECT_EQ(strip->DeleteItem(7), CTC_ERR_INDEX);
    EXPECT_TRUE(parent.received.empty());
}

TEST_F(TabStripWindow, LongLabelsAreStoredCut)
{
    const std::wstring forty(40, L'字');
    strip->InsertItem(0, forty.c_str(), 0);
    std::wstring text;
    strip->GetItemText(0, text);
    EXPECT_EQ(text, std::wstring(27, L'字') + L"...");
    strip->InsertItem(1, nullptr, 0);   // no label at all
    strip->GetItemText(1, text);
    EXPECT_EQ(text, L"");
    const std::wstring huge(200000, L'x');
    EXPECT_EQ(strip->SetItemText(1, huge.c_str()), CTC_OK);
    strip->GetItemText(1, text);
    EXPECT_EQ(text.size(), 30u);
}

TEST_F(TabStripWindow, LeftClickOnATabSendsClickThenSelection)
{
    AddTabs(4);
    strip->SetCurSel(0);
    const POINT pt = Inside(2);
    ASSERT_EQ(strip->HitTest(pt), 2);
    LeftClick(pt);

    ASSERT_EQ(parent.received.size(), 2u);
    const Received& click = parent.received[0];
    EXPECT_EQ(click.code, UINT(NM_CLICK));
    EXPECT_EQ(click.from, strip->m_hWnd);
    EXPECT_EQ(click.id, kStripId);
    EXPECT_EQ(click.item, 2);
    EXPECT_EQ(click.point.x, pt.x);
    EXPECT_EQ(click.selected, 0);   // sent before the click is processed

    const Received& sel = parent.received[1];
    EXPECT_EQ(sel.code, CTCN_SELCHANGE);
    EXPECT_EQ(sel.item, 2);
    EXPECT_EQ(sel.label, L"页2");
    EXPECT_EQ(sel.data, 0x5002u);
    EXPECT_EQ(sel.point.x, pt.x);
    EXPECT_EQ(sel.point.y, pt.y);
    EXPECT_EQ(sel.selected, 1);
    RECT rc{};
    strip->GetItemRect(2, rc);
    EXPECT_TRUE(EqualRect(&sel.rect, &rc));
    EXPECT_EQ(strip->GetCurSel(), 2);
}

TEST_F(TabStripWindow, ClickOnTheSelectedTabOnlyReportsTheClick)
{
    AddTabs(3);
    strip->SetCurSel(1);
    LeftClick(Inside(1));
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].code, UINT(NM_CLICK));
}

TEST_F(TabStripWindow, ClickOnEmptySpaceReportsNothingHit)
{
    AddTabs(2);
    LeftClick({kStripWidth - 5, 10});
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].item, CTC_HIT_NOTHING);
    EXPECT_TRUE(IsZeroBody(parent.received[0]));
}

TEST_F(TabStripWindow, NextButtonMovesTheSelectionThroughItsCommand)
{
    AddTabs(30);   // far more than 600 pixels of tabs
    strip->SetCurSel(0);
    const POINT pt = OnButton(CTC_HIT_NEXT);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].code, UINT(NM_CLICK));
    EXPECT_EQ(parent.received[0].item, CTC_HIT_NEXT);
    EXPECT_TRUE(IsZeroBody(parent.received[0]));   // point too: item < 0
    EXPECT_EQ(strip->GetFirstVisible(), 1);         // scrolled at once

    DeliverPostedCommands();
    strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[1].code, CTCN_SELCHANGE);
    EXPECT_EQ(parent.received[1].item, 1);
    EXPECT_EQ(parent.received[1].point.x, 0);
    EXPECT_EQ(parent.received[1].point.y, 0);
    EXPECT_EQ(strip->GetCurSel(), 1);
}

TEST_F(TabStripWindow, HeldButtonRepeatsOnTimerTicksAtLeast250msApart)
{
    AddTabs(30);
    strip->SetCurSel(0);
    const POINT pt = OnButton(CTC_HIT_NEXT);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    DeliverPostedCommands();
    ASSERT_EQ(strip->GetFirstVisible(), 1);

    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);   // too soon
    EXPECT_EQ(strip->GetFirstVisible(), 1);
    ::Sleep(300);
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);
    EXPECT_EQ(strip->GetFirstVisible(), 2);
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);   // clock restarted
    EXPECT_EQ(strip->GetFirstVisible(), 2);

    // Off the button the repeat pauses; back on it, it goes on.
    strip->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At({300, 10}));
    ::Sleep(300);
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);
    EXPECT_EQ(strip->GetFirstVisible(), 2);
    strip->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(pt));
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);
    EXPECT_EQ(strip->GetFirstVisible(), 3);

    strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
    ::Sleep(300);
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);
    EXPECT_EQ(strip->GetFirstVisible(), 3);
    EXPECT_EQ(strip->GetCurSel(), 1);   // the selection moved once
    // Only the press's selection notification besides the click.
    int selections = 0;
    for (const Received& r : parent.received)
        selections += r.code == CTCN_SELCHANGE;
    EXPECT_EQ(selections, 1);
}

TEST_F(TabStripWindow, RealTimerKeepsRepeatingAfterThePointerLeftAndCameBack)
{
    AddTabs(30);
    strip->SetCurSel(0);
    const POINT pt = OnButton(CTC_HIT_NEXT);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    DeliverPostedCommands();
    // Out of the window (the leave stops the timer) and back, still held.
    strip->SendMessage(WM_MOUSELEAVE, 0, 0);
    strip->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(pt));
    const int before = strip->GetFirstVisible();
    const DWORD start = ::GetTickCount();
    while (strip->GetFirstVisible() == before && ::GetTickCount() - start < 2000) {
        MSG msg;
        while (::PeekMessageW(&msg, strip->m_hWnd, WM_TIMER, WM_TIMER, PM_REMOVE))
            ::DispatchMessageW(&msg);
        ::Sleep(20);
    }
    EXPECT_EQ(strip->GetFirstVisible(), before + 1);
    strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
}

TEST_F(TabStripWindow, LosingTheCaptureLetsGoOfTheHeldButton)
{
    AddTabs(30);
    strip->SetCurSel(0);
    const POINT pt = OnButton(CTC_HIT_NEXT);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    DeliverPostedCommands();
    ASSERT_EQ(::GetCapture(), strip->m_hWnd);
    ::SetCapture(parent.m_hWnd);   // e.g. a menu or dialog takes the mouse
    ::ReleaseCapture();
    const int position = strip->GetFirstVisible();
    // The button-up went elsewhere; hovering the button later must neither
    // show it pressed nor repeat.
    strip->SendMessage(WM_MOUSEMOVE, 0, At(pt));
    ::Sleep(300);
    strip->SendMessage(WM_TIMER, CTC_REPEAT_TIMER, 0);
    EXPECT_EQ(strip->GetFirstVisible(), position);
}

TEST_F(TabStripWindow, PreviousButtonOnTheFirstTabSendsNoSelection)
{
    AddTabs(3);
    strip->SetCurSel(0);
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(OnButton(CTC_HIT_PREVIOUS)));
    DeliverPostedCommands();
    strip->SendMessage(WM_LBUTTONUP, 0, At(OnButton(CTC_HIT_PREVIOUS)));
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].item, CTC_HIT_PREVIOUS);
}

TEST_F(TabStripWindow, FirstAndLastButtons)
{
    AddTabs(30);
    strip->SetCurSel(3);
    LeftClick(OnButton(CTC_HIT_LAST));
    DeliverPostedCommands();
    EXPECT_EQ(strip->GetCurSel(), 29);
    EXPECT_GT(strip->GetFirstVisible(), 0);
    LeftClick(OnButton(CTC_HIT_FIRST));
    DeliverPostedCommands();
    EXPECT_EQ(strip->GetCurSel(), 0);
    EXPECT_EQ(strip->GetFirstVisible(), 0);
    ASSERT_EQ(parent.received.size(), 4u);
    EXPECT_EQ(parent.received[1].item, 29);
    EXPECT_EQ(parent.received[3].item, 0);
}

TEST_F(TabStripWindow, SelectAndNotifyMessage)
{
    AddTabs(3);
    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, 2, 0);
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].code, CTCN_SELCHANGE);
    EXPECT_EQ(parent.received[0].item, 2);
    EXPECT_EQ(parent.received[0].label, L"页2");
    EXPECT_EQ(parent.received[0].selected, 1);
    EXPECT_EQ(strip->GetCurSel(), 2);

    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, 3, 0);
    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, WPARAM(-1), 0);
    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, 0x7FFFFFFF, 0);
    EXPECT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(strip->GetCurSel(), 2);
}

TEST_F(TabStripWindow, FirstCommandOnAnEmptyStripNotifiesWithNoItem)
{
    strip->SendMessage(WM_COMMAND, ID_CTC_FIRST, 0);
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].code, CTCN_SELCHANGE);
    EXPECT_EQ(parent.received[0].item, -1);
    EXPECT_TRUE(IsZeroBody(parent.received[0]));
}

TEST_F(TabStripWindow, ScrollCommands)
{
    AddTabs(3);
    strip->SetCurSel(0);
    strip->SendMessage(WM_COMMAND, ID_CTC_PREVIOUS, 0);   // already first: nothing
    EXPECT_TRUE(parent.received.empty());
    strip->SendMessage(WM_COMMAND, ID_CTC_NEXT, 0);
    strip->SendMessage(WM_COMMAND, ID_CTC_LAST, 0);
    strip->SendMessage(WM_COMMAND, ID_CTC_NEXT, 0);       // already last: nothing
    strip->SendMessage(WM_COMMAND, ID_CTC_PREVIOUS, 0);
    ASSERT_EQ(parent.received.size(), 3u);
    EXPECT_EQ(parent.received[0].item, 1);
    EXPECT_EQ(parent.received[1].item, 2);
    EXPECT_EQ(parent.received[2].item, 1);
}

TEST_F(TabStripWindow, NotificationCutsLongLabels)
{
    strip->InsertItem(0, L"12345678901234567890123456789", 0);   // 29
    strip->InsertItem(1, L"1234567890123456789012345678", 0);    // 28
    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, 0, 0);
    strip->SendMessage(WM_CTC_SELECT_AND_NOTIFY, 1, 0);
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[0].label, L"12345678901234567890123456...");
    EXPECT_EQ(parent.received[1].label, L"1234567890123456789012345678");
}

TEST_F(TabStripWindow, RightClickReportsButDoesNotSelect)
{
    AddTabs(3);
    strip->SetCurSel(0);
    const POINT pt = Inside(2);
    strip->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, At(pt));
    strip->SendMessage(WM_RBUTTONDBLCLK, MK_RBUTTON, At(pt));
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[0].code, UINT(NM_RCLICK));
    EXPECT_EQ(parent.received[0].item, 2);
    EXPECT_EQ(parent.received[0].point.x, pt.x);
    EXPECT_EQ(parent.received[1].code, UINT(NM_RDBLCLK));
    EXPECT_EQ(strip->GetCurSel(), 0);
}

TEST_F(TabStripWindow, DoubleClickSelectsThenReportsTheDoubleClick)
{
    AddTabs(3);
    strip->SetCurSel(0);
    const POINT pt = Inside(1);
    // The system's sequence: down, up, double click, up.
    strip->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(pt));
    strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
    strip->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(pt));
    strip->SendMessage(WM_LBUTTONUP, 0, At(pt));
    ASSERT_EQ(parent.received.size(), 3u);
    EXPECT_EQ(parent.received[0].code, UINT(NM_CLICK));
    EXPECT_EQ(parent.received[1].code, CTCN_SELCHANGE);
    EXPECT_EQ(parent.received[1].item, 1);
    EXPECT_EQ(parent.received[2].code, UINT(NM_DBLCLK));
    EXPECT_EQ(parent.received[2].item, 1);
    EXPECT_EQ(parent.received[2].selected, 1);
}

TEST_F(TabStripWindow, DoubleClickAloneOnAnUnselectedTab)
{
    AddTabs(3);
    strip->SetCurSel(0);
    strip->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(Inside(2)));
    strip->SendMessage(WM_LBUTTONUP, 0, At(Inside(2)));
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[0].code, CTCN_SELCHANGE);
    EXPECT_EQ(parent.received[1].code, UINT(NM_DBLCLK));
}

TEST_F(TabStripWindow, ClickingASliverScrollsItBackIntoView)
{
    AddTabs(30);
    strip->SetCurSel(0);
    for (int i = 0; i < 3; ++i)
        LeftClick(OnButton(CTC_HIT_NEXT));
    DeliverPostedCommands();
    ASSERT_EQ(strip->GetFirstVisible(), 3);
    parent.received.clear();
    // The sliver of tab 2 lies just right of the button block (x 79).
    const POINT sliver{80, 6};
    ASSERT_EQ(strip->HitTest(sliver), 2);
    LeftClick(sliver);
    EXPECT_EQ(strip->GetFirstVisible(), 2);
    EXPECT_EQ(strip->GetCurSel(), 2);
    ASSERT_EQ(parent.received.size(), 2u);
    EXPECT_EQ(parent.received[1].item, 2);
}

TEST_F(TabStripWindow, WideningTheStripBringsScrolledTabsBack)
{
    AddTabs(12);
    strip->MoveWindow({0, 0, 250, kStripHeight});
    strip->SendMessage(WM_COMMAND, ID_CTC_LAST, 0);
    LeftClick(OnButton(CTC_HIT_LAST));
    ASSERT_GT(strip->GetFirstVisible(), 0);
    strip->MoveWindow({0, 0, 2000, kStripHeight});
    EXPECT_EQ(strip->GetFirstVisible(), 0);
    // A zero size (a minimised parent) changes nothing and breaks nothing.
    strip->MoveWindow({0, 0, 0, 0});
    strip->MoveWindow({0, 0, kStripWidth, kStripHeight});
    EXPECT_EQ(strip->GetFirstVisible(), 0);
}

TEST_F(TabStripWindow, ParentMayEmptyTheStripWhileHandlingAClick)
{
    AddTabs(5);
    parent.onNotify = [&](const CTC_NMHDR& nm) {
        if (nm.hdr.code == UINT(NM_CLICK))
            while (strip->GetItemCount() > 0)
                strip->DeleteItem(0);
    };
    LeftClick(Inside(3));
    EXPECT_EQ(strip->GetItemCount(), 0);
    EXPECT_EQ(strip->GetCurSel(), -1);
    ASSERT_EQ(parent.received.size(), 1u);   // the stale tab is not selected
}

TEST_F(TabStripWindow, ParentMayDestroyTheStripWhileHandlingAClick)
{
    AddTabs(5);
    parent.onNotify = [&](const CTC_NMHDR& nm) {
        if (nm.hdr.code == UINT(NM_CLICK))
            strip->DestroyWindow();
    };
    const HWND hwnd = strip->m_hWnd;
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(Inside(3)));
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(strip->m_hWnd, nullptr);
}

TEST_F(TabStripWindow, ThousandsOfTabs)
{
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(strip->InsertItem(0, L"第几页", DWORD_PTR(i)), 0);
    // The command alone only selects (a Fit layout keeps the position);
    // the last button also scrolls to the end.
    strip->SendMessage(WM_COMMAND, ID_CTC_LAST, 0);
    EXPECT_EQ(strip->GetCurSel(), 2999);
    EXPECT_EQ(strip->GetFirstVisible(), 0);
    LeftClick(OnButton(CTC_HIT_LAST));
    DeliverPostedCommands();
    RECT last{};
    strip->GetItemRect(2999, last);
    EXPECT_LE(last.right, kStripWidth);
    strip->UpdateWindow();
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(strip->DeleteItem(strip->GetItemCount() - 1), CTC_OK);
    EXPECT_EQ(strip->GetCurSel(), -1);
}
