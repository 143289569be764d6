// The HTML engine on any clipboard payload: no crash, every output line
// well formed (CR LF at its end and nowhere else; one TAB in text mode),
// one line per HTML anchor, and every address the resolution of an href.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "html/cf_html.h"
#include "html/dom.h"
#include "html/link_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const bool textMode = (data[0] & 1) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::u16string text = html::DecodeClipboardHtml(bytes);
    const std::u16string out =
        html::LinkLines(text, textMode ? html::LinkMode::kTextAndAddresses : html::LinkMode::kAddresses);

    // The anchors, independently: the same document, every href resolved.
    html::Document doc;
    html::Parse(text, doc);
    const std::optional<html::Url> base = html::DocumentBase(doc, html::FindSourceUrl(text));
    std::set<std::u16string> addresses{u""};
    std::size_t anchors = 0;
    for (const html::Link& link : html::ExtractLinks(doc, base)) {
        ++anchors;
        addresses.insert(link.address);
    }

    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find(u"\r\n", start);
        if (end == std::u16string::npos) std::abort();           // unterminated line
        const std::u16string line = out.substr(start, end - start);
        if (line.find_first_of(u"\r\n") != std::u16string::npos) std::abort();
        std::u16string address = line;
        if (textMode) {
            const std::size_t tab = line.find(u'\t');
            if (tab == std::u16string::npos || line.find(u'\t', tab + 1) != std::u16string::npos) std::abort();
            address = line.substr(tab + 1);
        }
        if (addresses.count(address) == 0) std::abort();        // not from any href
        ++lines;
        start = end + 2;
    }
    if (lines != anchors) std::abort();
    return 0;
}
