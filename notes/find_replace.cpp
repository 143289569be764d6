#include "notes/find_replace.h"

namespace findtext {

namespace {

bool MatchAt(std::u16string_view text, size_t pos, std::u16string_view find,
             const TextComparer& cmp)
{
    return cmp.FirstUnitMayMatch(text[pos], find[0]) &&
           cmp.Equal(text.substr(pos, find.size()), find);
}

// First match at a candidate from `from` on (the whole find string fits).
size_t FirstMatchFrom(std::u16string_view text, size_t from, std::u16string_view find,
                      const TextComparer& cmp)
{
    if (find.empty() || find.size() > text.size())
        return npos;
    size_t last = text.size() - find.size();
    for (size_t pos = from; pos <= last; ++pos) {
        if (MatchAt(text, pos, find, cmp))
            return pos;
    }
    return npos;
}

// Last match at a candidate from 0 up to and including `upTo`.
size_t LastMatchUpTo(std::u16string_view text, size_t upTo, std::u16string_view find,
                     const TextComparer& cmp)
{
    for (size_t pos = upTo + 1; pos-- > 0;) {
        if (MatchAt(text, pos, find, cmp))
            return pos;
    }
    return npos;
}

// One pass of Search from `start` (no wrapping).
size_t SearchPass(std::u16string_view text, size_t start, std::u16string_view find, bool down,
                  const TextComparer& cmp)
{
    size_t n = find.size();
    size_t len = text.size();
    if (start > len || len - start < n) {
        // Going up, a start too near the end moves back to where it fits.
        if (!down && len >= n)
            start = len - n;
        else
            return npos;
    }
    return down ? FirstMatchFrom(text, start, find, cmp) : LastMatchUpTo(text, start, find, cmp);
}

}  // namespace

bool SelectionMatches(std::u16string_view text, Selection sel, std::u16string_view find,
                      const TextComparer& cmp)
{
    if (sel.Empty() || sel.end > text.size() || sel.end - sel.start != find.size())
        return false;
    return cmp.Equal(text.substr(sel.start, find.size()), find);
}

size_t CountOccurrences(std::u16string_view text, std::u16string_view find,
                        const TextComparer& cmp)
{
    size_t count = 0;
    for (size_t pos = FirstMatchFrom(text, 0, find, cmp); pos != npos;
         pos = FirstMatchFrom(text, pos + find.size(), find, cmp))
        ++count;
    return count;
}

size_t Search(std::u16string_view text, Selection sel, std::u16string_view find, bool down,
              const TextComparer& cmp)
{
    if (find.empty())
        return npos;
    if (!down && sel.start == 0)
        return npos;
    size_t start = sel.start;
    if (!down)
        --start;
    else if (!sel.Empty() && SelectionMatches(text, sel, find, cmp))
        ++start;
    size_t found = SearchPass(text, start, find, down, cmp);
    if (found != npos)
        return found;
    // Once round the end of the text.
    if (down)
        return SearchPass(text, 0, find, true, cmp);
    if (text.empty())
        return npos;
    return SearchPass(text, text.size() - 1, find, false, cmp);
}

ReplaceAllResult ReplaceAll(std::u16string_view text, Selection sel, std::u16string_view find,
                            std::u16string_view replacement, const TextComparer& cmp)
{
    ReplaceAllResult result;
    result.selection = sel;
    size_t n = find.size();
    size_t first = sel.start;
    if (!SelectionMatches(text, sel, find, cmp)) {
        first = Search(text, sel, find, true, cmp);
        if (first == npos) {
            result.text = std::u16string(text);
            return result;
        }
        ++result.searches;
    }
    result.found = true;
    const size_t limit = CountOccurrences(text, find, cmp);

    // The text is kept in two parts: `done`, everything before the caret,
    // which the loop has finished with, and `rest`, an untouched stretch of
    // `source` behind it. Searching down from the caret only ever looks at
    // `rest`, so a replacement appends to `done` and shortens `rest`; the
    // two are joined again only when a search wraps around.
    std::u16string source;   // owns the text after the first wrap
    std::u16string done;
    done.reserve(text.size() + (replacement.size() > n ? (replacement.size() - n) * limit : 0));
    std::u16string_view rest = text;
    size_t match = first;   // in `rest`
    size_t caret = first;
    for (;;) {
        done.append(rest.substr(0, match));
        done.append(replacement);
        rest.remove_prefix(match + n);
        caret = done.size();
        if (++result.replacements >= limit)
            break;
        match = FirstMatchFrom(rest, 0, find, cmp);
        if (match == npos) {
            // Nothing more behind the caret: round to the start, once.
            done.append(rest);
            source = std::move(done);
            done = std::u16string();
            done.reserve(source.size());
            rest = source;
            match = FirstMatchFrom(rest, 0, find, cmp);
            if (match == npos)
                break;
        }
        ++result.searches;
    }
    done.append(rest);
    result.text = std::move(done);
    result.selection = Selection{caret, caret};
    return result;
}

// ---- FindSession ------------------------------------------------------------

void FindSession::Restart()
{
    m_matchCount = kNotCounted;
    m_bFoundOnce = false;
    m_visitCount = 0;
}

bool FindSession::NeedsCount(bool matchCase, bool lastMatchCase) const
{
    return m_matchCount == kNotCounted || matchCase != lastMatchCase;
}

void FindSession::DirectionAsked(bool down, bool lastDown)
{
    if (down != lastDown)
        m_visitCount = 0;
}

bool FindSession::Visit()
{
    if (++m_visitCount > m_matchCount) {
        m_visitCount = 0;
        return true;
    }
    return false;
}

}  // namespace findtext
