// A tiny stand-in for code page 936: ASCII plus a few GBK pairs, enough to
// tell ANSI files from UTF-16 ones in tests.
#pragma once

#include <map>

#include "notes/code_page.h"

class FakeGbkCodePage : public CodePage {
public:
    FakeGbkCodePage()
    {
        m_pairs[{0xD6, 0xD0}] = u'中';
        m_pairs[{0xCE, 0xC4}] = u'文';
        m_pairs[{0xC8, 0xD5}] = u'日';
        m_pairs[{0xB3, 0xA3}] = u'常';
    }
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        std::u16string out;
        for (size_t i = 0; i < bytes.size(); ++i) {
            unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80) {
                out += static_cast<char16_t>(b);
            } else if (i + 1 < bytes.size()) {
                auto it = m_pairs.find({b, static_cast<unsigned char>(bytes[i + 1])});
                out += it != m_pairs.end() ? it->second : u'\uFFFD';
                ++i;
            } else {
                out += u'?';
            }
        }
        return out;
    }
    std::string FromUtf16(std::u16string_view text) const override
    {
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80) {
                out += static_cast<char>(c);
                continue;
            }
            bool found = false;
            for (const auto& [pair, unit] : m_pairs) {
                if (unit == c) {
                    out += static_cast<char>(pair.first);
                    out += static_cast<char>(pair.second);
                    found = true;
                    break;
                }
            }
            if (!found)
                out += '?';
        }
        return out;
    }

private:
    std::map<std::pair<unsigned char, unsigned char>, char16_t> m_pairs;
};
