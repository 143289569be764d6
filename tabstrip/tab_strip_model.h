// The items of the tab strip and the rules that keep the selection on the
// same item while items come and go.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tabstrip/tab_geometry.h"

namespace tabstrip {

// Return codes of the item operations.
inline constexpr int kOk = 0;
inline constexpr int kErrNoMemory = -1;
inline constexpr int kErrBadIndex = -2;

enum class DisplayState : uint8_t {
    Hidden = 0,           // scrolled out to the left
    SliverSelected = 1,   // just the edge shows at the left, and it is the selection
    Sliver = 2,           // just the edge shows at the left
    Full = 3,             // the selected tab or the last tab
    Covered = 4,          // shown, its right end under the next tab
};

struct TabItem {
    std::u16string label;        // already cut (CutItemLabel)
    uintptr_t data = 0;          // the caller's value, never interpreted
    TabRect rect{};              // bounding box in client pixels
    TabOutline outline{};        // six corners for painting and hit testing
    DisplayState state = DisplayState::Hidden;
    bool selected = false;       // only on the current selection
    bool highlighted = false;    // nothing in this program sets it
    int labelWidth = -1;         // label width in the bold font, px; -1: measure again
};

class TabStripModel {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsValid(int index) const { return index >= 0 && index < Count(); }

    // Inserts before position index (0 ... Count()). The label is cut; the
    // selection follows its item. Returns the new index, kErrBadIndex or
    // kErrNoMemory.
    int Insert(int index, std::u16string_view label, uintptr_t data);
    // Removes an item; a removed selection passes to the item after it, or
    // to the one before when it was the last; none when no item is left.
    // Returns kOk or kErrBadIndex.
    int Delete(int index);
    // Moves the selection to index. kOk or kErrBadIndex (nothing changes).
    int Select(int index);
    // Current selection, -1 for none.
    int Selection() const { return m_selection; }
    // Replaces a label (cut as on insert). kOk or kErrBadIndex.
    int SetLabel(int index, std::u16string_view label);
    // First item whose data equals data, or -1.
    int FindByData(uintptr_t data) const;

    const TabItem* Item(int index) const { return IsValid(index) ? &m_items[size_t(index)] : nullptr; }
    TabItem* Item(int index) { return IsValid(index) ? &m_items[size_t(index)] : nullptr; }
    std::vector<TabItem>& Items() { return m_items; }
    const std::vector<TabItem>& Items() const { return m_items; }

    // Index of the leftmost fully shown tab (the scroll position). The
    // layout keeps it within 0 ... max(0, Count() - 1).
    int FirstVisible() const { return m_firstVisible; }
    void SetFirstVisible(int index) { m_firstVisible = index; }

private:
    std::vector<TabItem> m_items;
    int m_selection = -1;
    int m_firstVisible = 0;
};

}  // namespace tabstrip
