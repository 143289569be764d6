// Find and replace on any text, find string, replacement and selection:
// Replace All must agree with the literal replace-and-search loop, and no
// search may run past the text. Input: four UTF-16 fields separated by
// U+0001 (text, find, replacement, two selection bytes).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notes/find_replace.h"
#include "tests/native/replace_loop_model.h"

using namespace findtext;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    std::u16string fields[3];
    int field = 0;
    size_t i = 0;
    for (; i + 1 < size && field < 3; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 1)
            ++field;
        else
            fields[field] += c;
    }
    const std::u16string& text = fields[0];
    const std::u16string& find = fields[1];
    const std::u16string& repl = fields[2];
    size_t a = i < size ? data[i] : 0, b = i + 1 < size ? data[i + 1] : 0;
    a = text.empty() ? 0 : a % (text.size() + 1);
    b = text.empty() ? 0 : b % (text.size() + 1);
    Selection sel{a < b ? a : b, a < b ? b : a};

    const ExactComparer exact;
    const NoCaseComparer fold;
    for (const TextComparer* cmp : {static_cast<const TextComparer*>(&exact),
                                    static_cast<const TextComparer*>(&fold)}) {
        for (bool down : {true, false}) {
            size_t pos = Search(text, sel, find, down, *cmp);
            if (pos != npos && (find.empty() || pos + find.size() > text.size()))
                abort();
        }
        if (CountOccurrences(text, find, *cmp) * (find.empty() ? 1 : find.size()) > text.size() &&
            !find.empty())
            abort();
        // Keep the literal loop affordable.
        if (text.size() * (repl.size() + 1) > 20000)
            continue;
        ReplaceAllResult fast = ReplaceAll(text, sel, find, repl, *cmp);
        ReplaceAllResult slow = LiteralReplaceAll(text, sel, find, repl, *cmp);
        if (fast.text != slow.text || !(fast.selection == slow.selection) ||
            fast.replacements != slow.replacements || fast.searches != slow.searches ||
            fast.found != slow.found)
            abort();
    }
    return 0;
}
