// From a browser's clipboard HTML to lines for a note: one line per link in
// document order, "address" (addresses only) or "text<TAB>address", each
// ending in CR LF. Link text is what a browser renders for the link, on one
// line; addresses are resolved against <base href> and the header's
// "SourceURL:".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/dom.h"
#include "html/url.h"

namespace html {

struct Link {
    std::u16string text;      // rendered text on one line
    std::u16string address;   // resolved; empty when the anchor has no href
};

// The HTML anchors of a parsed document in tree order (template contents
// are not part of the document and are skipped).
std::vector<Link> ExtractLinks(const Document& document, const std::optional<Url>& base);

// The element's text as a browser renders it, on one line: script, style
// and hidden content left out, line breaks and block boundaries as one
// space, runs of white space collapsed, no space at either end. Very long
// texts are cut (see link_lines.cpp).
std::u16string RenderedTextOneLine(const Document& document, const Node* element);

// The base address of links: the first <base href> resolved against the
// source address, else the source address, else none. A first <base href>
// that is no address, or a data: or javascript: one, counts as none.
std::optional<Url> DocumentBase(const Document& document, const std::optional<std::u16string>& sourceUrl);

enum class LinkMode { kAddresses = 0, kTextAndAddresses = 2 };

// The whole conversion of clipboard text (header lines included; a leading
// U+FEFF is ignored). The text is taken over to spare a copy.
std::u16string LinkLines(std::u16string clipboardText, LinkMode mode);

}  // namespace html
