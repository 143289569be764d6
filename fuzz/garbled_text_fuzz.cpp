// The garbled-text repair on any selection, with a small double-byte code
// page: it must never crash and must report Repaired only with a result.
// Input: UTF-16 little-endian text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "notes/garbled_text.h"

namespace {

// Lead bytes 0x81..0xFE; a pair decodes to U+4E00 + its value, a lone
// lead byte or an invalid trail byte to '?'. Above 0x7F only the CJK
// block round-trips.
class TinyDbcs : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        std::u16string out;
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (!IsLeadByte(b)) {
                out += b < 0x80 ? char16_t(b) : u'?';
            } else if (i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i + 1]) >= 0x40) {
                unsigned char t = static_cast<unsigned char>(bytes[++i]);
                out += static_cast<char16_t>(0x4E00 + ((b - 0x81) << 8) + t);
            } else {
                out += u'?';
            }
        }
        return out;
    }
    std::string FromUtf16(std::u16string_view text) const override
    {
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c >= 0x4E00 && c < 0x4E00 + (0x7E << 8)) {
                unsigned v = c - 0x4E00;
                unsigned char lead = static_cast<unsigned char>(0x81 + (v >> 8));
                unsigned char trail = static_cast<unsigned char>(v & 0xFF);
                if (trail < 0x40) {
                    out += '?';
                    continue;
                }
                out += static_cast<char>(lead);
                out += static_cast<char>(trail);
            } else {
                out += '?';
            }
        }
        return out;
    }
    bool IsLeadByte(unsigned char b) const override { return b >= 0x81 && b <= 0xFE; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    garbled::Repair r = garbled::RepairSelection(text, TinyDbcs());
    if (text.empty() && r.outcome != garbled::Outcome::EmptySelection)
        abort();
    // A repair drops one byte, so the result is never longer than the text.
    if (r.outcome == garbled::Outcome::Repaired && r.text.size() > text.size() * 2)
        abort();
    return 0;
}
