// Everything the tab strip control decides, without a window: the item
// operations with their layouts, the scroll commands its buttons post to it,
// click processing, button looks and auto-repeat, and the contents of the
// notifications it sends. The window class only turns messages into calls
// and the results into painting, timers and WM_NOTIFY.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>
#include <string_view>

#include "tabstrip/tab_buttons.h"
#include "tabstrip/tab_label.h"
#include "tabstrip/tab_layout.h"
#include "tabstrip/tab_strip_model.h"

namespace tabstrip {

// Command ids the buttons post to the control itself (WM_COMMAND).
inline constexpr int kCmdPrevious = 5031;
inline constexpr int kCmdNext = 5032;
inline constexpr int kCmdFirst = 5033;
inline constexpr int kCmdLast = 5034;

// Notification codes (the values of the common-control codes).
inline constexpr int kNotifySelChange = 0;
inline constexpr int kNotifyClick = -2;
inline constexpr int kNotifyDblClick = -3;
inline constexpr int kNotifyRClick = -5;
inline constexpr int kNotifyRDblClick = -6;

int CommandOfButton(ScrollButton b);
LayoutMode LayoutModeOfButton(ScrollButton b);

// The body of a notification, after its NMHDR.
struct NotifyRecord {
    int item = 0;                                       // index, or hit-test result
    char16_t label[kNotifyLabelBuffer] = {};            // CutNotifyLabel, terminated
    uintptr_t data = 0;
    TabRect rect{};
    TabPoint point{};                                   // mouse notifications only
    int selected = 0;
    int highlighted = 0;
};

// What the window does after click processing (besides capturing the mouse,
// which it always does).
struct ClickOutcome {
    bool repaint = false;
    bool startTimer = false;
    int postCommand = 0;            // a kCmd... id to post to itself, or 0
    bool notifySelection = false;   // send code 0 for the clicked item with the point
};

struct CommandOutcome {
    bool handled = false;   // one of the four scroll commands
    bool notify = false;    // send code 0 for the current selection
};

class TabStripLogic {
public:
    explicit TabStripLogic(TextWidthFn measure = {}) : m_measure(std::move(measure)) {}

    // --- Item operations; return codes kOk / kErrNoMemory / kErrBadIndex.
    // Each successful change lays the strip out (Fit); the window repaints.
    int InsertItem(int index, std::u16string_view label, uintptr_t data);
    // Appends items in order and lays out once: a strip of thousands of
    // tabs is filled in one pass instead of one layout per tab.
    int AppendItems(const std::vector<std::pair<std::u16string, uintptr_t>>& items);
    int DeleteItem(int index);
    int SetCurSel(int index);
    int SetItemText(int index, std::u16string_view label);
    int GetCurSel() const { return m_model.Selection(); }
    int GetItemCount() const { return m_model.Count(); }
    const TabItem* Item(int index) const { return m_model.Item(index); }
    int FindItemByData(uintptr_t data) const { return m_model.FindByData(data); }
    const TabStripModel& Model() const { return m_model; }

    // --- Size, style and layout.
    // Every client size change; lays out (Fit) when both sides are non-zero.
    void SetClientSize(StripSize size);
    StripSize ClientSize() const { return m_size; }
    void SetButtonsPresent(bool firstAndLast) { m_buttons.SetPresent(firstAndLast); }
    void LayOut(LayoutMode mode, int index);
    // Forgets all measured widths (the font changed).
    void RemeasureAll();

    // --- Mouse.
    int HitTest(TabPoint p) const;
    // Click processing for a button-down or double click with hit result
    // `hit` at tick `now`. A stale item index (the parent changed the items
    // while handling NM_CLICK) counts as nothing.
    ClickOutcome Click(int hit, uint32_t now);
    ButtonEffects MouseMove(TabPoint p, bool leftButtonDown);
    ButtonEffects MouseLeave() { return m_buttons.MouseLeave(); }
    ButtonEffects LeftButtonUp() { return m_buttons.Release(); }
    // Auto-repeat timer tick: true when a held button scrolled the strip.
    bool RepeatTick(uint32_t now);
    const ScrollButtons& Buttons() const { return m_buttons; }

    // --- Commands and messages that select.
    CommandOutcome ScrollCommand(int id);
    // The select-and-notify message: true when the index was valid and the
    // selection notification is due.
    bool SelectAndNotify(int index);

    // The notification body for `item` (all zero but the item when it is
    // not a valid index) with the mouse point (zero for non-mouse causes).
    NotifyRecord MakeNotification(int item, TabPoint point) const;

private:
    TextWidthFn m_measure;
    TabStripModel m_model;
    ScrollButtons m_buttons;
    StripSize m_size;
};

}  // namespace tabstrip
