// Find and replace in a page's text, without any window: the search that
// wraps around once, the occurrence count, the visit count that tells the
// user when the whole page has been gone through, and Replace All computed in
// one pass. The platform supplies the string comparison (TextComparer); the
// view supplies the edit control. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace findtext {

// How two stretches of text of equal length are compared: the platform's
// locale-aware comparison, with or without case.
class TextComparer {
public:
    virtual ~TextComparer() = default;
    // Whether a and b (same length) are equal under this comparison.
    virtual bool Equal(std::u16string_view a, std::u16string_view b) const = 0;
    // A cheap test run before Equal at every candidate position: false means
    // a candidate starting with textUnit cannot match a find string starting
    // with findUnit. The default lets every candidate through.
    virtual bool FirstUnitMayMatch(char16_t textUnit, char16_t findUnit) const { return true; }
};

// A selection in the edit control: start <= end, both character indices.
struct Selection {
    size_t start = 0;
    size_t end = 0;
    bool Empty() const { return start == end; }
    bool operator==(const Selection&) const = default;
};

// Whether the selected text equals the find string (as Search compares).
bool SelectionMatches(std::u16string_view text, Selection sel, std::u16string_view find,
                      const TextComparer& cmp);

// The number of non-overlapping occurrences of find in text, scanning from
// the start; 0 for an empty find string or one longer than the text.
size_t CountOccurrences(std::u16string_view text, std::u16string_view find,
                        const TextComparer& cmp);

// One Search from the current selection: down from the selection (past it
// when it already holds the find string) or up from just before it, wrapping
// around the end of the text once. Up from position 0 fails without
// wrapping; an empty find string never matches. Returns the position of the
// match, or npos.
inline constexpr size_t npos = std::u16string_view::npos;
size_t Search(std::u16string_view text, Selection sel, std::u16string_view find, bool down,
              const TextComparer& cmp);

// What Replace All did: the new text, the caret after the last replacement
// (or the old selection when nothing was replaced), the number of
// replacements and of successful searches (each counts as a visit).
struct ReplaceAllResult {
    bool found = false;   // false: the first search found nothing
    std::u16string text;
    Selection selection;
    size_t replacements = 0;
    size_t searches = 0;
};

// Replace All as the user sees it: if the selection does not hold the find
// string, search down for it first (nothing found: found = false). Then,
// with N = the number of occurrences in the page, replace the selection and
// search forward (wrapping around once per search) until N replacements are
// made or a search fails. N bounds the loop: a replacement that contains the
// find string would otherwise be found again for ever.
//
// The result is exactly that loop's, but computed in one pass: the text
// behind the caret is never moved until a search wraps around.
ReplaceAllResult ReplaceAll(std::u16string_view text, Selection sel, std::u16string_view find,
                            std::u16string_view replacement, const TextComparer& cmp);

// The per-view bookkeeping of the find dialog: the match count (taken when
// the dialog first asks, or when its case option changes), the visits since
// it was last reset, and whether this dialog has found anything yet.
class FindSession {
public:
    static constexpr long kNotCounted = -1;

    // The Find or Replace command opens the dialog: count again, start over.
    void Restart();
    // Before each request of the dialog. Returns true when the occurrences
    // must be counted again (then call SetMatchCount).
    bool NeedsCount(bool matchCase, bool lastMatchCase) const;
    void SetMatchCount(size_t count) { m_matchCount = static_cast<long>(count); }
    // A change of direction starts the visits over.
    void DirectionAsked(bool down, bool lastDown);
    // A search selected a match. Returns true when this visit completes the
    // round through the page ("已完成对文档的搜索。"); the visits then start over.
    bool Visit();
    void SetFoundOnce() { m_bFoundOnce = true; }
    bool FoundOnce() const { return m_bFoundOnce; }
    long MatchCount() const { return m_matchCount; }
    long VisitCount() const { return m_visitCount; }

private:
    long m_matchCount = 0;
    long m_visitCount = 0;
    bool m_bFoundOnce = false;
};

// Case-sensitive comparison unit by unit (tests, tools and the fast path of
// the platform comparer).
class ExactComparer : public TextComparer {
public:
    bool Equal(std::u16string_view a, std::u16string_view b) const override { return a == b; }
    bool FirstUnitMayMatch(char16_t t, char16_t f) const override { return t == f; }
};

}  // namespace findtext
