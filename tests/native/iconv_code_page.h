// Code page 936 through the host's iconv, for tests of the code that works
// on the system's ANSI code page. Like the Windows conversion, a byte
// sequence that is not GBK becomes '?' and is not an error.
#pragma once

#include <iconv.h>

#include <cerrno>

#include "notes/code_page.h"

class IconvGbkCodePage : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        std::u16string out;
        iconv_t cd = iconv_open("UTF-16LE", "CP936");
        size_t i = 0;
        while (i < bytes.size()) {
            // One character at a time: 1 or 2 bytes.
            size_t len = (Lead(bytes[i]) && i + 1 < bytes.size()) ? 2 : 1;
            char in[2] = {bytes[i], len == 2 ? bytes[i + 1] : '\0'};
            char buf[8];
            char* pin = in;
            char* pout = buf;
            size_t inLeft = len, outLeft = sizeof buf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &pin, &inLeft, &pout, &outLeft) == static_cast<size_t>(-1) || inLeft) {
                out += u'?';
            } else {
                for (char* p = buf; p + 1 < pout; p += 2)
                    out += static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                 (static_cast<unsigned char>(p[1]) << 8));
            }
            i += len;
        }
        iconv_close(cd);
        return out;
    }
    std::string FromUtf16(std::u16string_view text) const override
    {
        std::string out;
        iconv_t cd = iconv_open("CP936", "UTF-16LE");
        for (char16_t c : text) {
            char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
            char buf[8];
            char* pin = in;
            char* pout = buf;
            size_t inLeft = 2, outLeft = sizeof buf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &pin, &inLeft, &pout, &outLeft) == static_cast<size_t>(-1))
                out += '?';
            else
                out.append(buf, pout);
        }
        iconv_close(cd);
        return out;
    }
    bool IsLeadByte(unsigned char b) const override { return Lead(static_cast<char>(b)); }

private:
    static bool Lead(char c)
    {
        unsigned char b = static_cast<unsigned char>(c);
        return b >= 0x81 && b <= 0xFE;
    }
};
