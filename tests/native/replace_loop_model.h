// Test-only models of find and replace: a comparer that folds ASCII case,
// and the replace loop exactly as a user would run it by hand in an edit
// control (replace the selection, search forward with wrap-around, stop
// after N replacements). The fast Replace All must give what this gives.
#pragma once

#include <string>
#include <string_view>

#include "notes/find_replace.h"

namespace findtext {

// ASCII letters without case; everything else unit by unit.
class NoCaseComparer : public TextComparer {
public:
    static char16_t Fold(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + 32 : c; }
    bool Equal(std::u16string_view a, std::u16string_view b) const override
    {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (Fold(a[i]) != Fold(b[i]))
                return false;
        return true;
    }
};

inline ReplaceAllResult LiteralReplaceAll(std::u16string text, Selection sel, std::u16string_view find,
                                          std::u16string_view repl, const TextComparer& cmp)
{
    ReplaceAllResult r;
    r.selection = sel;
    if (!SelectionMatches(text, sel, find, cmp)) {
        size_t pos = Search(text, sel, find, true, cmp);
        if (pos == npos) {
            r.text = text;
            return r;
        }
        sel = Selection{pos, pos + find.size()};
        ++r.searches;
    }
    r.found = true;
    size_t n = CountOccurrences(text, find, cmp);
    for (;;) {
        text.replace(sel.start, sel.end - sel.start, repl);
        sel = Selection{sel.start + repl.size(), sel.start + repl.size()};
        r.selection = sel;
        if (++r.replacements == n)
            break;
        size_t pos = Search(text, sel, find, true, cmp);
        if (pos == npos)
            break;
        ++r.searches;
        sel = Selection{pos, pos + find.size()};
    }
    r.text = text;
    return r;
}

}  // namespace findtext
