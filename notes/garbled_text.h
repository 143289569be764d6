// Repair of text that arrived shifted by one byte: a stray half of a
// double-byte character in front makes every following character decode
// from the wrong pair of bytes. The repair drops that byte (or, when it is
// the very first byte, turns it into a space) and decodes the rest again.
// Portable; the code page is the system's ANSI code page on Windows.
#pragma once

#include <string>
#include <string_view>

#include "notes/code_page.h"

namespace garbled {

enum class Outcome {
    EmptySelection,   // "抱歉，请先选择包含所有乱码的区域，乱码必须是选择区的首字。"
    NoLeadByte,       // "抱歉，乱码必须是选择区的首字。"
    Repaired,
};

struct Repair {
    Outcome outcome;
    std::u16string text;   // the replacement for the selection when Repaired
};

// Repairs the selected text: it is converted to the code page, the first
// lead byte is found and removed (a first byte becomes a space), and the
// bytes are decoded again on either side of it. Characters the code page
// cannot hold come back as its default character.
Repair RepairSelection(std::u16string_view selected, const CodePage& codePage);

}  // namespace garbled
