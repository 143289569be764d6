// Rules of the page manager that need no window: name checks, the target of
// a move and the selection after a delete. Portable.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pages {

enum class NameCheck { Ok, Empty, Duplicate };

struct NameResult {
    NameCheck check;
    std::u16string name;   // trimmed
};

// Checks a name typed into the name dialog against the names shown in the
// list. skipIndex is the entry being renamed (-1 for a new page); equal is
// the platform's case-sensitive locale-aware comparison.
NameResult CheckPageName(std::u16string_view typed, const std::vector<std::u16string>& names,
                         int skipIndex,
                         const std::function<bool(std::u16string_view, std::u16string_view)>& equal);

enum class Move { Top, Up, Down, Bottom };

// The index the selected page is exchanged with, or nothing when the move
// does nothing (fewer than two pages, no selection, already there).
std::optional<int> MoveTarget(Move move, int from, int count);

// The list entry selected after deleting entry `deleted` (the list now has
// countAfter entries): the same index, or the last one when it ran off the end.
int SelectionAfterDelete(int deleted, int countAfter);

// Where the first `lines` lines of a text end (just after the LF of the
// last of them; CR LF and a lone LF both end a line): the text's length
// when it has no more lines than that.
size_t EndOfLines(std::u16string_view text, size_t lines);

}  // namespace pages
