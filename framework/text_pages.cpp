#include "framework/text_pages.h"

#include <algorithm>

namespace textpages {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::vector<Line> LayOutLines(std::u16string_view text, int width, int tabWidth,
                              const CharWidth& charWidth)
{
    std::vector<Line> lines;
    const size_t len = text.size();
    size_t lineStart = 0;
    size_t pos = 0;
    int x = 0;
    size_t lastBlankEnd = 0;   // position after the last blank in this line, 0 = none
    auto emit = [&](size_t end, size_t next) {
        lines.push_back(Line{lineStart, end - lineStart});
        lineStart = pos = next;
        x = 0;
        lastBlankEnd = 0;
    };
    while (pos < len) {
        char16_t c = text[pos];
        if (c == u'\r' || c == u'\n') {
            size_t next = pos + 1;
            if (c == u'\r' && next < len && text[next] == u'\n')
                ++next;
            emit(pos, next);
            continue;
        }
        // A surrogate pair is one character: never cut between its halves.
        size_t unitLen = (IsHighSurrogate(c) && pos + 1 < len) ? 2 : 1;
        int w;
        if (c == u'\t') {
            int blank = std::max(charWidth(u' '), 1);
            int step = tabWidth > 0 ? tabWidth : blank;
            w = step - (x % step);
        } else {
            w = std::max(charWidth(c), 0);
        }
        if (x + w > width && pos > lineStart) {
            // Too wide: cut after the last blank, else before this character.
            if (lastBlankEnd > lineStart && lastBlankEnd <= pos) {
                size_t cut = lastBlankEnd;
                emit(cut, cut);
            } else {
                emit(pos, pos);
            }
            continue;
        }
        x += w;
        pos += unitLen;
        if (c == u' ' || c == u'\t')
            lastBlankEnd = pos;
    }
    // The last line; a text ending in a line end leaves an empty last line,
    // which does not print on a sheet of its own.
    if (lineStart < len || lines.empty())
        lines.push_back(Line{lineStart, len - lineStart});
    return lines;
}

size_t PageCount(size_t lineCount, size_t linesPerPage)
{
    linesPerPage = std::max<size_t>(linesPerPage, 1);
    return std::max<size_t>(1, (lineCount + linesPerPage - 1) / linesPerPage);
}

PageLines LinesOfPage(size_t page, size_t lineCount, size_t linesPerPage)
{
    linesPerPage = std::max<size_t>(linesPerPage, 1);
    size_t first = page * linesPerPage;
    if (first >= lineCount)
        return PageLines{lineCount, 0};
    return PageLines{first, std::min(linesPerPage, lineCount - first)};
}

std::vector<unsigned> PagesToPrint(unsigned from, unsigned to, unsigned minPage, unsigned maxPage)
{
    std::vector<unsigned> pages;
    if (maxPage < minPage)
        return pages;
    from = std::clamp(from, minPage, maxPage);
    to = std::clamp(to, minPage, maxPage);
    if (from <= to) {
        for (unsigned page = from; page <= to; ++page)
            pages.push_back(page);
    } else {
        for (unsigned page = from; page > to; --page)
            pages.push_back(page);
        pages.push_back(to);
    }
    return pages;
}

}  // namespace textpages
