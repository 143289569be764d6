#include "notes/garbled_text.h"

namespace garbled {

Repair RepairSelection(std::u16string_view selected, const CodePage& codePage)
{
    if (selected.empty())
        return {Outcome::EmptySelection, {}};
    std::string bytes = codePage.FromUtf16(selected);
    // The conversion stops at a NUL, as the text would when handed over as
    // a C string.
    if (size_t nul = bytes.find('\0'); nul != std::string::npos)
        bytes.resize(nul);
    size_t lead = 0;
    while (lead < bytes.size() && !codePage.IsLeadByte(static_cast<unsigned char>(bytes[lead])))
        ++lead;
    if (lead == bytes.size())
        return {Outcome::NoLeadByte, {}};
    if (lead == 0) {
        bytes[0] = ' ';
        return {Outcome::Repaired, codePage.ToUtf16(bytes)};
    }
    std::string_view all = bytes;
    std::u16string text = codePage.ToUtf16(all.substr(0, lead));
    text += codePage.ToUtf16(all.substr(lead + 1));
    return {Outcome::Repaired, std::move(text)};
}

}  // namespace garbled
