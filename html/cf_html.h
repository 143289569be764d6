// The clipboard's "HTML Format": header lines ("Version:", "StartHTML:",
// "SourceURL:" ...) followed by the markup, all in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace html {

// The payload as text: UTF-8 up to the first NUL byte (the clipboard's
// terminator), invalid bytes as U+FFFD.
std::u16string DecodeClipboardHtml(std::string_view bytes);

// The page address a browser put in the header: the text between
// "SourceURL:" and the next CR, when "SourceURL:" comes before the first
// "<" of the markup. Nothing otherwise.
std::optional<std::u16string> FindSourceUrl(std::u16string_view text);

}  // namespace html
