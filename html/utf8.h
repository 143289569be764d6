// UTF-8 and UTF-16 conversions for text from outside: invalid input never
// fails, it becomes U+FFFD as the WHATWG Encoding standard's decoder does.
#pragma once

#include <string>
#include <string_view>

namespace html {

// Decodes UTF-8 into UTF-16; each maximal invalid subpart becomes one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);

// Encodes UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Appends one code point (at most U+10FFFF; others become U+FFFD).
void AppendCodePoint(std::u16string& out, char32_t cp);

}  // namespace html
