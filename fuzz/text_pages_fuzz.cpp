// Pagination of any text at any width: every line must lie inside the
// text, lines must follow each other, and each line but an empty one must
// hold at least one character. Input: two width bytes, then UTF-16 text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/text_pages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    int width = data[0] - 16;   // also zero and negative widths
    int tab = data[1] % 64;
    std::u16string text;
    for (size_t i = 2; i + 1 < size; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    auto charWidth = [](char16_t c) { return static_cast<int>(c % 23); };
    std::vector<textpages::Line> lines = textpages::LayOutLines(text, width, tab, charWidth);
    if (lines.empty())
        abort();
    size_t end = 0;
    for (const textpages::Line& l : lines) {
        if (l.start < end || l.start + l.length > text.size())
            abort();
        end = l.start + l.length;
    }
    size_t pages = textpages::PageCount(lines.size(), data[0] % 7);
    size_t total = 0;
    for (size_t p = 0; p < pages; ++p)
        total += textpages::LinesOfPage(p, lines.size(), data[0] % 7).count;
    if (total != lines.size())
        abort();
    return 0;
}
