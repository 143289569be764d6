#include "html/utf8.h"

#include <cstdint>
#include <cstring>

namespace html {

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
    }
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

std::u16string Utf8ToUtf16(std::string_view bytes)
{
    // Never more UTF-16 units than bytes (a 4-byte sequence gives two
    // units, a bad byte one): the result is written into room made once.
    const std::size_t n = bytes.size();
    std::u16string out(n, u'\0');
    char16_t* dst = out.data();
    const unsigned char* const in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            // ASCII: most of any page; eight bytes at a time while they
            // are all ASCII.
            while (i + 8 <= n) {
                std::uint64_t v;
                std::memcpy(&v, in + i, sizeof v);
                if ((v & 0x8080808080808080ull) != 0) break;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
                // Each byte widened to a unit with shifts and masks: four
                // units per 64-bit word.
                for (int half = 0; half < 2; ++half) {
                    std::uint64_t w = half == 0 ? (v & 0xFFFFFFFFull) : (v >> 32);
                    w = (w | (w << 16)) & 0x0000FFFF0000FFFFull;
                    w = (w | (w << 8)) & 0x00FF00FF00FF00FFull;
                    std::memcpy(dst + 4 * half, &w, sizeof w);
                }
#else
                for (int k = 0; k < 8; ++k) dst[k] = in[i + k];
#endif
                dst += 8;
                i += 8;
            }
            while (i < n && in[i] < 0x80) *dst++ = in[i++];
            continue;
        }
        int needed = 0;
        char32_t cp = 0;
        unsigned char lower = 0x80;
        unsigned char upper = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            needed = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (b == 0xE0) lower = 0xA0;
            if (b == 0xED) upper = 0x9F;
            needed = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (b == 0xF0) lower = 0x90;
            if (b == 0xF4) upper = 0x8F;
            needed = 3;
            cp = b & 0x07;
        } else {
            *dst++ = 0xFFFD;
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < needed; ++k, ++j) {
            if (j >= n) {
                ok = false;
                break;
            }
            const unsigned char c = in[j];
            if (c < lower || c > upper) {
                ok = false;
                break;
            }
            lower = 0x80;
            upper = 0xBF;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            // The maximal subpart ends before the offending byte, which is
            // looked at again on its own.
            *dst++ = 0xFFFD;
        } else if (cp < 0x10000) {
            // The lead bytes' bounds leave no surrogate and nothing above
            // U+10FFFF.
            *dst++ = static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            *dst++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *dst++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
        i = j;
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace html
