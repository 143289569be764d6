// The tokenizer's fast lane: most tags in a page are plain ("<li>",
// "<a href=\"...\">", "</span>") and are read here in one go instead of
// character by character through the tag states. Whatever is not plain
// goes back to the state machine untouched, so both lanes give the same
// tokens.
#include "html/tokenizer.h"

#include <cstdint>
#include <cstring>

namespace html {

namespace {

bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsTagSpace(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\f' || c == u' '; }
char Lower(char16_t c) { return static_cast<char>((c >= u'A' && c <= u'Z') ? c + 32 : c); }

// Printable ASCII that a tag name takes as it is (upper case lowered).
bool IsPlainTagNameChar(char16_t c) { return c > u' ' && c < 0x7F && c != u'/' && c != u'>'; }
// The same for attribute names, which also end at "=".
bool IsPlainAttrNameChar(char16_t c) { return IsPlainTagNameChar(c) && c != u'='; }

// Whether any of the four units in v is zero.
bool AnyZeroUnit(std::uint64_t v) { return ((v - 0x0001000100010001ull) & ~v & 0x8000800080008000ull) != 0; }

// The first of quote, "&" or NUL at or after from (n when none): a value
// is read four units at a time.
std::size_t EndOfValueRun(const char16_t* in, std::size_t from, std::size_t n, char16_t quote)
{
    constexpr std::uint64_t kOnes = 0x0001000100010001ull;
    const std::uint64_t q = kOnes * quote;
    const std::uint64_t amp = kOnes * u'&';
    std::size_t i = from;
    for (; i + 4 <= n; i += 4) {
        std::uint64_t v;
        std::memcpy(&v, in + i, sizeof v);
        if (AnyZeroUnit(v) || AnyZeroUnit(v ^ q) || AnyZeroUnit(v ^ amp)) break;
    }
    while (i < n && in[i] != quote && in[i] != u'&' && in[i] != 0) ++i;
    return i;
}

}  // namespace

bool Tokenizer::ReadPlainTag()
{
    const std::size_t open = m_pos;  // just after "<"
    const std::size_t n = m_input.size();
    const char16_t* const in = m_input.data();
    std::size_t q = open;
    const bool endTag = q < n && in[q] == u'/';
    if (endTag) ++q;
    if (q >= n || !IsAsciiAlpha(in[q])) return false;

    const auto giveBack = [&] {
        m_inAttr = false;
        m_tag.Reset(Token::kStartTag);
        m_pos = open;
        return false;
    };

    m_tag.Reset(endTag ? Token::kEndTag : Token::kStartTag);
    const std::size_t nameStart = q;
    while (q < n && IsPlainTagNameChar(in[q])) ++q;
    for (std::size_t i = nameStart; i < q; ++i) m_tag.name.push_back(Lower(in[i]));

    for (;;) {
        while (q < n && IsTagSpace(in[q])) ++q;
        if (q >= n) return giveBack();
        const char16_t c = in[q];
        if (c == u'>') {
            ++q;
            break;
        }
        if (c == u'/') {
            if (q + 1 < n && in[q + 1] == u'>') {
                m_tag.selfClosing = true;
                q += 2;
                break;
            }
            return giveBack();
        }
        if (endTag || !IsPlainAttrNameChar(c)) return giveBack();

        StartAttribute();
        const std::size_t attrStart = q;
        while (q < n && IsPlainAttrNameChar(in[q])) ++q;
        for (std::size_t i = attrStart; i < q; ++i) m_attr.name.push_back(Lower(in[i]));
        if (q < n && !IsTagSpace(in[q]) && in[q] != u'=' && in[q] != u'/' && in[q] != u'>') return giveBack();

        std::size_t r = q;
        while (r < n && IsTagSpace(in[r])) ++r;
        if (r >= n || in[r] != u'=') {
            q = r;   // a name without a value
            continue;
        }
        ++r;
        while (r < n && IsTagSpace(in[r])) ++r;
        if (r >= n || (in[r] != u'"' && in[r] != u'\'')) return giveBack();
        const char16_t quote = in[r++];
        for (;;) {
            const std::size_t t = EndOfValueRun(in, r, n, quote);
            if (t >= n) return giveBack();
            m_attr.value.append(in + r, t - r);
            if (in[t] == quote) {
                r = t + 1;
                break;
            }
            if (in[t] == 0) {
                m_attr.value.push_back(u'\xFFFD');
                r = t + 1;
                continue;
            }
            m_pos = t + 1;
            ConsumeCharacterReference(m_attr.value, true);
            r = m_pos;
        }
        // A value is followed by a space, "/" or ">"; anything else is an
        // error the state machine deals with.
        if (r >= n || (!IsTagSpace(in[r]) && in[r] != u'/' && in[r] != u'>')) return giveBack();
        q = r;
    }
    m_pos = q;
    EmitCurrentTag();
    return true;
}

}  // namespace html
