// The clipboard front end on any bytes: the text stops at the first NUL,
// decoding never fails and round-trips valid UTF-8, and a source address
// never holds the CR that ends it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/cf_html.h"
#include "html/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = html::DecodeClipboardHtml(bytes);
    if (text.find(u'\0') != std::u16string::npos) std::abort();
    const std::string again = html::Utf16ToUtf8(text);
    const std::u16string twice = html::Utf8ToUtf16(again);
    if (twice != text) std::abort();      // decoding is stable on its own output
    const std::size_t nul = bytes.find('\0');
    const std::string prefix = bytes.substr(0, nul);
    if (text.find(u'\xFFFD') == std::u16string::npos && again != prefix) std::abort();
    if (const auto source = html::FindSourceUrl(text)) {
        if (source->find(u'\r') != std::u16string::npos) std::abort();
        if (text.find(u"SourceURL:") > text.find(u'<')) std::abort();
    }
    return 0;
}
