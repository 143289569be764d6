#include "html/utf8.h"

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
    std::u16string out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    const unsigned char* const in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = in[i];
        if (b < 0x80) {
            // A run of ASCII in one go: most of any page. Never more
            // units than bytes, so the reserved room holds it.
            std::size_t j = i + 1;
            while (j < n && in[j] < 0x80) ++j;
            const std::size_t at = out.size();
            out.resize(at + (j - i));
            char16_t* dst = out.data() + at;
            for (std::size_t k = i; k < j; ++k) *dst++ = in[k];
            i = j;
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
            out.push_back(0xFFFD);
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
            const unsigned char c = static_cast<unsigned char>(bytes[j]);
            if (c < lower || c > upper) {
                ok = false;
                break;
            }
            lower = 0x80;
            upper = 0xBF;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (ok) {
            AppendCodePoint(out, cp);
        } else {
            // The maximal subpart ends before the offending byte, which is
            // looked at again on its own.
            out.push_back(0xFFFD);
        }
        i = j;
    }
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
