// The notes storage file from untrusted bytes. Properties:
// - parsing never crashes and always yields at least one page;
// - decode → encode → decode gives the same pages (a save of what was
//   loaded loses nothing of it), and encoding those again the same bytes;
// - nothing the file holds is dropped silently: every code unit of the
//   decoded text is in a page name, a page text, a separator or the one
//   line end that closes a record header.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "notes/code_page.h"
#include "notes/storage_codec.h"

namespace {

// A double-byte code page in the manner of code page 936: ASCII single
// bytes, a lead byte 0x81..0xFE takes the next byte along.
class DoubleByteCodePage : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        std::u16string out;
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x81 || b == 0xFF) {
                out += static_cast<char16_t>(b < 0x80 ? b : u'?');
            } else if (i + 1 < bytes.size()) {
                unsigned trail = static_cast<unsigned char>(bytes[++i]);
                out += static_cast<char16_t>(0x4E00 + ((b - 0x81) * 256 + trail) % 20000);
            } else {
                out += u'?';
            }
        }
        return out;
    }
    std::string FromUtf16(std::u16string_view text) const override
    {
        std::string out;
        for (char16_t c : text)
            out += c < 0x80 ? static_cast<char>(c) : '?';
        return out;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DoubleByteCodePage ansi;

    const std::vector<storage::Page> pages = storage::ParseFile(bytes, ansi);
    FuzzCheck(!pages.empty());
    for (const storage::Page& page : pages) {
        FuzzCheck(!page.name.empty());
        FuzzCheck(page.name == storage::NormalizePageName(page.name));
        FuzzCheck(page.name.find(u'\r') == std::u16string::npos);
        FuzzCheck(page.text.find(u'\0') == std::u16string::npos);
    }

    // Saving what was loaded and loading it again changes nothing.
    const std::string saved = storage::Encode(pages, storage::Form::Storage);
    FuzzCheck(storage::HasByteOrderMark(saved));
    const std::vector<storage::Page> again = storage::ParseFile(saved, ansi);
    FuzzCheck(again.size() == pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        FuzzCheck(again[i].name == pages[i].name);
        FuzzCheck(again[i].text == pages[i].text);
    }
    FuzzCheck(storage::Encode(again, storage::Form::Storage) == saved);

    // The one-by-one encoder writes the same bytes as the batch one.
    storage::Encoder encoder(storage::Form::Storage);
    for (const storage::Page& page : pages)
        encoder.AddPage(page.name, page.text);
    FuzzCheck(encoder.Bytes() == saved);

    // Every unit of the decoded text is accounted for.
    const std::u16string text = storage::DecodeText(bytes, ansi);
    const std::vector<storage::Page> records = storage::SplitRecords(text);
    FuzzCheck(!records.empty());
    size_t held = 0;
    for (const storage::Page& r : records)
        held += r.name.size() + r.text.size();
    const size_t separators = records.size() - (text.substr(0, storage::kSeparatorLength) ==
                                                        storage::StorageSeparator()
                                                    ? 0
                                                    : 1);
    const size_t structure = separators * storage::kSeparatorLength;
    FuzzCheck(held + structure <= text.size());
    FuzzCheck(text.size() - held - structure <= 2 * separators);   // CR LF after each header at most

    // The export form is written for any page set without trouble.
    const std::string exported = storage::Encode(pages, storage::Form::Export);
    FuzzCheck(exported.size() >= 2);
    return 0;
}
