// Pagination of plain text for printing: the text is cut into printed lines
// at its line ends and, where a line is wider than the printable width, at
// the last blank that fits (or, in a word longer than the width, at the
// last character that fits); the lines are then dealt out to pages.
// Portable: widths come from the caller (the printer's font metrics).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace textpages {

// One printed line: a stretch of the text, without its line end.
struct Line {
    size_t start = 0;
    size_t length = 0;
    bool operator==(const Line&) const = default;
};

// Width of one UTF-16 unit in device units (a surrogate pair is measured
// at its first unit, the second counts 0).
using CharWidth = std::function<int(char16_t)>;

// Cuts text into printed lines no wider than width. A tab advances to the
// next multiple of tabWidth (<= 0: a tab is as wide as a blank). A line
// end is CR LF, LF or a lone CR. Width <= 0 is taken as "one character per
// line at least": every line holds at least one character, so the layout
// always ends. An empty text is one empty line.
std::vector<Line> LayOutLines(std::u16string_view text, int width, int tabWidth,
                              const CharWidth& charWidth);

// The number of pages for lineCount lines at linesPerPage (at least 1 line
// per page); at least one page, so an empty page still prints a sheet.
size_t PageCount(size_t lineCount, size_t linesPerPage);

// The lines of page `page` (from 0): [first, first + count).
struct PageLines {
    size_t first = 0;
    size_t count = 0;
};
PageLines LinesOfPage(size_t page, size_t lineCount, size_t linesPerPage);

// The pages a print job prints, in order, for the range "from" to "to"
// asked in the print dialog, of a document with pages minPage..maxPage.
// Both ends are brought into the document, so a range past its end still
// prints the pages of it that were asked for (at least the last one); a
// range written backwards prints backwards. Empty only when maxPage <
// minPage.
std::vector<unsigned> PagesToPrint(unsigned from, unsigned to, unsigned minPage, unsigned maxPage);

}  // namespace textpages
