// The system's ANSI code page as the portable code sees it: conversions to
// and from UTF-16. The Win32 layer implements it with MultiByteToWideChar;
// tests use a small table of their own.
#pragma once

#include <string>
#include <string_view>

class CodePage {
public:
    virtual ~CodePage() = default;
    // Bytes in the code page to UTF-16; invalid sequences become whatever
    // the code page's conversion makes of them (never an error).
    virtual std::u16string ToUtf16(std::string_view bytes) const = 0;
    // UTF-16 to bytes in the code page; unmappable characters become '?'.
    virtual std::string FromUtf16(std::u16string_view text) const = 0;
    // Whether the byte starts a double-byte character in this code page
    // (always false for a single-byte code page).
    virtual bool IsLeadByte(unsigned char byte) const { return false; }
};
