#include "html/tokenizer.h"

#include <algorithm>
#include <cstring>

#include "html/entity_table.h"
#include "html/utf8.h"

namespace html {

namespace {

constexpr int kEofChar = -1;

bool IsAsciiAlpha(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(int c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(int c) { return IsAsciiAlpha(c) || IsAsciiDigit(c); }
bool IsAsciiHex(int c) { return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsTagSpace(int c) { return c == '\t' || c == '\n' || c == '\f' || c == ' '; }
int ToLower(int c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Numeric references to these C1 controls mean the windows-1252 character.
const char16_t kC1Replacements[32] = {
    0x20AC, 0x81, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D, 0x017D, 0x8F, 0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D, 0x017E, 0x0178,
};

// strcmp's order between a table name and a key that is no C string.
int CompareName(const char* name, std::string_view key)
{
    std::size_t i = 0;
    for (; i < key.size() && name[i] != 0; ++i) {
        const unsigned char a = static_cast<unsigned char>(name[i]);
        const unsigned char b = static_cast<unsigned char>(key[i]);
        if (a != b) return a < b ? -1 : 1;
    }
    if (i < key.size()) return -1;
    return name[i] != 0 ? 1 : 0;
}

// The table's range of names for each first character: a search looks
// only there.
struct FirstCharRanges {
    std::uint32_t begin[128] = {};
    std::uint32_t end[128] = {};
    FirstCharRanges()
    {
        for (std::size_t i = 0; i < kNamedReferenceCount; ++i) {
            const unsigned char c = static_cast<unsigned char>(kNamedReferences[i].name[0]) & 0x7F;
            if (end[c] == 0) begin[c] = static_cast<std::uint32_t>(i);
            end[c] = static_cast<std::uint32_t>(i + 1);
        }
    }
};

// The longest named reference that prefixes text, or null.
const NamedReference* MatchNamedReference(std::string_view text, std::size_t& length)
{
    if (text.empty()) return nullptr;
    static const FirstCharRanges ranges;
    const unsigned char first = static_cast<unsigned char>(text[0]) & 0x7F;
    const NamedReference* begin = kNamedReferences + ranges.begin[first];
    const NamedReference* end = kNamedReferences + ranges.end[first];
    for (std::size_t len = text.size(); len > 0 && begin != end; --len) {
        const std::string_view prefix = text.substr(0, len);
        const NamedReference* it = std::lower_bound(
            begin, end, prefix, [](const NamedReference& r, std::string_view key) { return CompareName(r.name, key) < 0; });
        if (it != end && CompareName(it->name, prefix) == 0) {
            length = len;
            return it;
        }
        // Shorter prefixes sort no later than this one.
        end = it;
    }
    return nullptr;
}

}  // namespace

const std::u16string* Token::Find(std::string_view attributeName) const
{
    for (const Attribute& a : attributes) {
        if (a.name == attributeName) {
            return &a.value;
        }
    }
    return nullptr;
}

void Token::Reset(Type newType)
{
    type = newType;
    name.clear();
    id = 0;
    attributes.clear();
    selfClosing = false;
    forceQuirks = false;
    hasPublicId = false;
    publicId.clear();
    text.clear();
}

void AppendAsciiLower(std::string& name, char32_t c)
{
    if (c < 0x80) {
        name.push_back(static_cast<char>(ToLower(static_cast<int>(c))));
    } else {
        std::u16string one;
        AppendCodePoint(one, c);
        name += Utf16ToUtf8(one);
    }
}

Tokenizer::Tokenizer(std::u16string input, bool plainTagLane)
    : m_input(std::move(input)), m_plainTagLane(plainTagLane)
{
    // Line ends normalised in place: the text only shrinks. Runs without
    // CR move in one go.
    char16_t* const data = m_input.data();
    const std::size_t n = m_input.size();
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        std::size_t cr = i;
        // Four units at a time while none of them is CR.
        for (; cr + 4 <= n; cr += 4) {
            std::uint64_t v;
            std::memcpy(&v, data + cr, sizeof v);
            v ^= 0x000D000D000D000Dull;
            if (((v - 0x0001000100010001ull) & ~v & 0x8000800080008000ull) != 0) break;
        }
        while (cr < n && data[cr] != u'\r') ++cr;
        if (out != i) std::char_traits<char16_t>::move(data + out, data + i, cr - i);
        out += cr - i;
        if (cr == n) break;
        data[out++] = u'\n';
        i = cr + 1;
        if (i < n && data[i] == u'\n') ++i;
    }
    m_input.resize(out);
}

int Tokenizer::Get()
{
    if (m_pos >= m_input.size()) {
        ++m_pos;
        return kEofChar;
    }
    return m_input[m_pos++];
}

bool Tokenizer::Lookahead(std::u16string_view ascii, bool ignoreCase) const
{
    if (m_input.size() - std::min(m_pos, m_input.size()) < ascii.size()) {
        return false;
    }
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        int c = m_input[m_pos + i];
        if (ignoreCase) {
            c = ToLower(c);
        }
        if (c != ascii[i]) {
            return false;
        }
    }
    return true;
}

void Tokenizer::EmitChar(char32_t c)
{
    m_text.push_back(static_cast<char16_t>(c));
}

void Tokenizer::StartAttribute()
{
    FinishAttribute();
    m_attr = Attribute();
    m_inAttr = true;
}

void Tokenizer::FinishAttribute()
{
    if (!m_inAttr) {
        return;
    }
    m_inAttr = false;
    m_names.Add(m_tag.attributes, std::move(m_attr));
}

void Tokenizer::EmitCurrentTag()
{
    FinishAttribute();
    if (m_tag.type == Token::kStartTag) {
        m_lastStartTag = m_tag.name;
    } else {
        m_tag.attributes.clear();
        m_tag.selfClosing = false;
    }
    m_haveTag = true;
}

void Tokenizer::EmitComment()
{
    m_haveTag = true;
}

void Tokenizer::ConsumeCharacterReference(std::u16string& out, bool inAttribute)
{
    const std::size_t start = m_pos;  // just after "&"
    int c = Get();
    if (c == '#') {
        int d = Get();
        bool hex = false;
        if (d == 'x' || d == 'X') {
            hex = true;
        } else {
            Unget();
        }
        std::uint32_t value = 0;
        bool any = false;
        for (;;) {
            d = Get();
            int digit;
            if (IsAsciiDigit(d)) {
                digit = d - '0';
            } else if (hex && IsAsciiHex(d)) {
                digit = ToLower(d) - 'a' + 10;
            } else {
                Unget();
                break;
            }
            any = true;
            value = std::min<std::uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (!any) {
            m_pos = start;
            out.push_back(u'&');
            return;
        }
        if (Get() != ';') {
            Unget();
        }
        char32_t cp = value;
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            cp = 0xFFFD;
        } else if (cp >= 0x80 && cp <= 0x9F) {
            cp = kC1Replacements[cp - 0x80];
        }
        AppendCodePoint(out, cp);
        return;
    }
    Unget();
    if (!IsAsciiAlnum(c)) {
        out.push_back(u'&');
        return;
    }
    // The references that pages use all the time, written with their ";",
    // need no search: no other name starts with them.
    struct Common {
        std::u16string_view name;
        char16_t value;
    };
    static constexpr Common kCommon[] = {
        {u"amp;", u'&'}, {u"lt;", u'<'}, {u"gt;", u'>'}, {u"quot;", u'"'}, {u"nbsp;", u'\xA0'}, {u"apos;", u'\''},
    };
    const std::u16string_view rest(m_input.data() + m_pos, m_input.size() - m_pos);
    for (const Common& common : kCommon) {
        if (rest.starts_with(common.name)) {
            m_pos += common.name.size();
            out.push_back(common.value);
            return;
        }
    }
    // The longest name is 32 characters with its ";".
    std::string candidate;
    for (std::size_t i = m_pos; i < m_input.size() && candidate.size() < 33; ++i) {
        const char16_t ch = m_input[i];
        if (!IsAsciiAlnum(ch) && ch != ';') {
            break;
        }
        candidate.push_back(static_cast<char>(ch));
        if (ch == ';') {
            break;
        }
    }
    std::size_t length = 0;
    const NamedReference* ref = MatchNamedReference(candidate, length);
    if (ref == nullptr) {
        out.push_back(u'&');
        return;
    }
    const bool endsWithSemicolon = candidate[length - 1] == ';';
    if (inAttribute && !endsWithSemicolon && length < candidate.size()) {
        const char next = candidate[length];
        if (next == '=' || IsAsciiAlnum(next)) {
            out.push_back(u'&');
            return;
        }
    }
    if (inAttribute && !endsWithSemicolon && m_pos + length < m_input.size() &&
        m_input[m_pos + length] == u'=') {
        out.push_back(u'&');
        return;
    }
    m_pos += length;
    AppendCodePoint(out, ref->first);
    if (ref->second != 0) {
        AppendCodePoint(out, ref->second);
    }
}

void Tokenizer::ReadDoctype()
{
    // Only the name, the public identifier and the quirks flag matter to
    // the tree builder; the doctype ends at the first ">".
    m_tag.Reset(Token::kDoctype);
    std::size_t end = m_input.find(u'>', m_pos);
    const bool closed = end != std::u16string::npos;
    if (!closed) {
        end = m_input.size();
    }
    const std::u16string_view body(m_input.data() + m_pos, end - m_pos);
    m_pos = closed ? end + 1 : m_input.size();
    std::size_t i = 0;
    while (i < body.size() && IsTagSpace(body[i])) ++i;
    if (i == body.size()) {
        m_tag.forceQuirks = true;
    }
    while (i < body.size() && !IsTagSpace(body[i])) {
        AppendAsciiLower(m_tag.name, body[i] == 0 ? 0xFFFD : body[i]);
        ++i;
    }
    while (i < body.size() && IsTagSpace(body[i])) ++i;
    std::u16string keyword;
    for (std::size_t k = i; k < body.size() && k < i + 6; ++k) keyword.push_back(static_cast<char16_t>(ToLower(body[k])));
    if (keyword == u"public") {
        std::size_t q = body.find_first_of(u"\"'", i + 6);
        if (q == std::u16string_view::npos) {
            m_tag.forceQuirks = true;
        } else {
            const std::size_t close = body.find(body[q], q + 1);
            m_tag.hasPublicId = true;
            m_tag.publicId = std::u16string(body.substr(q + 1, close == std::u16string_view::npos ? std::u16string_view::npos : close - q - 1));
            if (close == std::u16string_view::npos) m_tag.forceQuirks = true;
        }
    }
    if (!closed) {
        m_tag.forceQuirks = true;
    }
    m_haveTag = true;
}

Token& Tokenizer::Next()
{
    while (!m_haveTag && !m_eofSeen) {
        const int c = Get();
        switch (m_state) {
        case kData:
            if (c == '&') {
                ConsumeCharacterReference(m_text, false);
            } else if (c == '<') {
                if (!m_plainTagLane || !ReadPlainTag()) m_state = kTagOpen;
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                // Plain characters in bulk: the common case by far.
                const std::size_t from = m_pos - 1;
                std::size_t to = from + 1;
                while (to < m_input.size() && m_input[to] != u'&' && m_input[to] != u'<') ++to;
                m_text.append(m_input, from, to - from);
                m_pos = to;
            }
            break;
        case kRcdata:
            if (c == '&') {
                ConsumeCharacterReference(m_text, false);
            } else if (c == '<') {
                m_state = kRcdataLt;
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                EmitChar(c == 0 ? 0xFFFD : c);
            }
            break;
        case kRawtext:
        case kScriptData:
        case kPlaintext:
            if (c == '<' && m_state != kPlaintext) {
                m_state = m_state == kRawtext ? kRawtextLt : kScriptLt;
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                EmitChar(c == 0 ? 0xFFFD : c);
            }
            break;
        case kTagOpen:
            if (c == '!') {
                m_state = kMarkupDeclarationOpen;
            } else if (c == '/') {
                m_state = kEndTagOpen;
            } else if (IsAsciiAlpha(c)) {
                m_tag.Reset(Token::kStartTag);
                Unget();
                m_state = kTagName;
            } else if (c == '?') {
                m_tag.Reset(Token::kComment);
                Unget();
                m_state = kBogusComment;
            } else {
                EmitChar('<');
                Unget();
                m_state = kData;
            }
            break;
        case kEndTagOpen:
            if (IsAsciiAlpha(c)) {
                m_tag.Reset(Token::kEndTag);
                Unget();
                m_state = kTagName;
            } else if (c == '>') {
                m_state = kData;
            } else if (c == kEofChar) {
                EmitChar('<');
                EmitChar('/');
                m_eofSeen = true;
            } else {
                m_tag.Reset(Token::kComment);
                Unget();
                m_state = kBogusComment;
            }
            break;
        case kTagName:
            if (IsTagSpace(c)) {
                m_state = kBeforeAttrName;
            } else if (c == '/') {
                m_state = kSelfClosingStartTag;
            } else if (c == '>') {
                m_state = kData;
                EmitCurrentTag();
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else if (c >= 'a' && c <= 'z') {
                // Lower-case letters, the usual case, in one go.
                const std::size_t from = m_pos - 1;
                std::size_t to = m_pos;
                while (to < m_input.size() && ((m_input[to] >= 'a' && m_input[to] <= 'z') || (m_input[to] >= '0' && m_input[to] <= '9'))) ++to;
                m_tag.name.append(m_input.begin() + static_cast<std::ptrdiff_t>(from), m_input.begin() + static_cast<std::ptrdiff_t>(to));
                m_pos = to;
            } else {
                AppendAsciiLower(m_tag.name, c == 0 ? 0xFFFD : c);
            }
            break;
        case kRcdataLt:
        case kRawtextLt:
        case kScriptLt: {
            const State back = m_state == kRcdataLt ? kRcdata : m_state == kRawtextLt ? kRawtext : kScriptData;
            if (c == '/') {
                m_buffer.clear();
                m_state = m_state == kRcdataLt ? kRcdataEndTagOpen
                        : m_state == kRawtextLt ? kRawtextEndTagOpen : kScriptEndTagOpen;
            } else if (c == '!' && m_state == kScriptLt) {
                EmitChar('<');
                EmitChar('!');
                m_state = kScriptEscapeStart;
            } else {
                EmitChar('<');
                Unget();
                m_state = back;
            }
            break;
        }
        case kRcdataEndTagOpen:
        case kRawtextEndTagOpen:
        case kScriptEndTagOpen:
        case kScriptEscapedEndTagOpen: {
            const State back = m_state == kRcdataEndTagOpen ? kRcdata
                             : m_state == kRawtextEndTagOpen ? kRawtext
                             : m_state == kScriptEndTagOpen ? kScriptData : kScriptEscaped;
            if (IsAsciiAlpha(c)) {
                m_tag.Reset(Token::kEndTag);
                Unget();
                m_state = m_state == kRcdataEndTagOpen ? kRcdataEndTagName
                        : m_state == kRawtextEndTagOpen ? kRawtextEndTagName
                        : m_state == kScriptEndTagOpen ? kScriptEndTagName : kScriptEscapedEndTagName;
            } else {
                EmitChar('<');
                EmitChar('/');
                Unget();
                m_state = back;
            }
            break;
        }
        case kRcdataEndTagName:
        case kRawtextEndTagName:
        case kScriptEndTagName:
        case kScriptEscapedEndTagName: {
            const State back = m_state == kRcdataEndTagName ? kRcdata
                             : m_state == kRawtextEndTagName ? kRawtext
                             : m_state == kScriptEndTagName ? kScriptData : kScriptEscaped;
            if (IsTagSpace(c) && AppropriateEndTag()) {
                m_state = kBeforeAttrName;
            } else if (c == '/' && AppropriateEndTag()) {
                m_state = kSelfClosingStartTag;
            } else if (c == '>' && AppropriateEndTag()) {
                m_state = kData;
                EmitCurrentTag();
            } else if (IsAsciiAlpha(c)) {
                m_tag.name.push_back(static_cast<char>(ToLower(c)));
                m_buffer.push_back(static_cast<char16_t>(c));
            } else {
                EmitChar('<');
                EmitChar('/');
                m_text += m_buffer;
                Unget();
                m_state = back;
            }
            break;
        }
        case kScriptEscapeStart:
        case kScriptEscapeStartDash:
            if (c == '-') {
                EmitChar('-');
                m_state = m_state == kScriptEscapeStart ? kScriptEscapeStartDash : kScriptEscapedDashDash;
            } else {
                Unget();
                m_state = kScriptData;
            }
            break;
        case kScriptEscaped:
        case kScriptEscapedDash:
        case kScriptEscapedDashDash:
            if (c == '-') {
                EmitChar('-');
                m_state = m_state == kScriptEscaped ? kScriptEscapedDash : kScriptEscapedDashDash;
            } else if (c == '<') {
                m_state = kScriptEscapedLt;
            } else if (c == '>' && m_state == kScriptEscapedDashDash) {
                EmitChar('>');
                m_state = kScriptData;
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                EmitChar(c == 0 ? 0xFFFD : c);
                m_state = kScriptEscaped;
            }
            break;
        case kScriptEscapedLt:
            if (c == '/') {
                m_buffer.clear();
                m_state = kScriptEscapedEndTagOpen;
            } else if (IsAsciiAlpha(c)) {
                m_buffer.clear();
                EmitChar('<');
                Unget();
                m_state = kScriptDoubleEscapeStart;
            } else {
                EmitChar('<');
                Unget();
                m_state = kScriptEscaped;
            }
            break;
        case kScriptDoubleEscapeStart:
        case kScriptDoubleEscapeEnd:
            if (IsTagSpace(c) || c == '/' || c == '>') {
                const bool isScript = m_buffer == u"script";
                if (m_state == kScriptDoubleEscapeStart) {
                    m_state = isScript ? kScriptDoubleEscaped : kScriptEscaped;
                } else {
                    m_state = isScript ? kScriptEscaped : kScriptDoubleEscaped;
                }
                EmitChar(c);
            } else if (IsAsciiAlpha(c)) {
                m_buffer.push_back(static_cast<char16_t>(ToLower(c)));
                EmitChar(c);
            } else {
                Unget();
                m_state = m_state == kScriptDoubleEscapeStart ? kScriptEscaped : kScriptDoubleEscaped;
            }
            break;
        case kScriptDoubleEscaped:
        case kScriptDoubleEscapedDash:
        case kScriptDoubleEscapedDashDash:
            if (c == '-') {
                EmitChar('-');
                m_state = m_state == kScriptDoubleEscaped ? kScriptDoubleEscapedDash : kScriptDoubleEscapedDashDash;
            } else if (c == '<') {
                EmitChar('<');
                m_state = kScriptDoubleEscapedLt;
            } else if (c == '>' && m_state == kScriptDoubleEscapedDashDash) {
                EmitChar('>');
                m_state = kScriptData;
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                EmitChar(c == 0 ? 0xFFFD : c);
                m_state = kScriptDoubleEscaped;
            }
            break;
        case kScriptDoubleEscapedLt:
            if (c == '/') {
                m_buffer.clear();
                EmitChar('/');
                m_state = kScriptDoubleEscapeEnd;
            } else {
                Unget();
                m_state = kScriptDoubleEscaped;
            }
            break;
        case kBeforeAttrName:
            if (IsTagSpace(c)) {
            } else if (c == '/' || c == '>' || c == kEofChar) {
                Unget();
                m_state = kAfterAttrName;
            } else {
                StartAttribute();
                if (c == '=') {
                    m_attr.name.push_back('=');
                } else {
                    Unget();
                }
                m_state = kAttrName;
            }
            break;
        case kAttrName:
            if (IsTagSpace(c) || c == '/' || c == '>' || c == kEofChar) {
                Unget();
                m_state = kAfterAttrName;
            } else if (c == '=') {
                m_state = kBeforeAttrValue;
            } else {
                AppendAsciiLower(m_attr.name, c == 0 ? 0xFFFD : c);
            }
            break;
        case kAfterAttrName:
            if (IsTagSpace(c)) {
            } else if (c == '/') {
                m_state = kSelfClosingStartTag;
            } else if (c == '=') {
                m_state = kBeforeAttrValue;
            } else if (c == '>') {
                m_state = kData;
                EmitCurrentTag();
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                StartAttribute();
                Unget();
                m_state = kAttrName;
            }
            break;
        case kBeforeAttrValue:
            if (IsTagSpace(c)) {
            } else if (c == '"') {
                m_state = kAttrValueDq;
            } else if (c == '\'') {
                m_state = kAttrValueSq;
            } else if (c == '>') {
                m_state = kData;
                EmitCurrentTag();
            } else {
                Unget();
                m_state = kAttrValueUnquoted;
            }
            break;
        case kAttrValueDq:
        case kAttrValueSq: {
            const int quote = m_state == kAttrValueDq ? '"' : '\'';
            if (c == quote) {
                m_state = kAfterAttrValueQuoted;
            } else if (c == '&') {
                ConsumeCharacterReference(m_attr.value, true);
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else if (c == 0) {
                m_attr.value.push_back(u'\xFFFD');
            } else {
                // The rest of a plain value in one go.
                const std::size_t from = m_pos - 1;
                std::size_t to = m_pos;
                while (to < m_input.size() && m_input[to] != quote && m_input[to] != u'&' && m_input[to] != 0) ++to;
                // A reference follows ("?a=1&amp;b=2"): room for more, so
                // that what it stands for does not move the value again.
                if (to < m_input.size() && m_input[to] == u'&') m_attr.value.reserve(m_attr.value.size() + 2 * (to - from) + 8);
                m_attr.value.append(m_input, from, to - from);
                m_pos = to;
            }
            break;
        }
        case kAttrValueUnquoted:
            if (IsTagSpace(c)) {
                m_state = kBeforeAttrName;
            } else if (c == '&') {
                ConsumeCharacterReference(m_attr.value, true);
            } else if (c == '>') {
                m_state = kData;
                EmitCurrentTag();
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                m_attr.value.push_back(c == 0 ? u'\xFFFD' : static_cast<char16_t>(c));
            }
            break;
        case kAfterAttrValueQuoted:
            if (IsTagSpace(c)) {
                m_state = kBeforeAttrName;
            } else if (c == '/') {
                m_state = kSelfClosingStartTag;
            } else if (c == '>') {
                m_state = kData;
                EmitCurrentTag();
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                Unget();
                m_state = kBeforeAttrName;
            }
            break;
        case kSelfClosingStartTag:
            if (c == '>') {
                m_tag.selfClosing = true;
                m_state = kData;
                EmitCurrentTag();
            } else if (c == kEofChar) {
                m_eofSeen = true;
            } else {
                Unget();
                m_state = kBeforeAttrName;
            }
            break;
        case kBogusComment:
            if (c == '>') {
                m_state = kData;
                EmitComment();
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text.push_back(c == 0 ? u'\xFFFD' : static_cast<char16_t>(c));
            }
            break;
        case kMarkupDeclarationOpen:
            Unget();
            if (Lookahead(u"--", false)) {
                m_pos += 2;
                m_tag.Reset(Token::kComment);
                m_state = kCommentStart;
            } else if (Lookahead(u"doctype", true)) {
                m_pos += 7;
                m_state = kData;
                ReadDoctype();
            } else if (Lookahead(u"[CDATA[", false)) {
                m_pos += 7;
                if (m_cdataAllowed) {
                    m_state = kCdataSection;
                } else {
                    m_tag.Reset(Token::kComment);
                    m_tag.text = u"[CDATA[";
                    m_state = kBogusComment;
                }
            } else {
                m_tag.Reset(Token::kComment);
                m_state = kBogusComment;
            }
            break;
        case kCommentStart:
            if (c == '-') {
                m_state = kCommentStartDash;
            } else if (c == '>') {
                m_state = kData;
                EmitComment();
            } else {
                Unget();
                m_state = kComment;
            }
            break;
        case kCommentStartDash:
            if (c == '-') {
                m_state = kCommentEnd;
            } else if (c == '>') {
                m_state = kData;
                EmitComment();
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text.push_back('-');
                Unget();
                m_state = kComment;
            }
            break;
        case kComment:
            if (c == '<') {
                m_tag.text.push_back('<');
                m_state = kCommentLt;
            } else if (c == '-') {
                m_state = kCommentEndDash;
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text.push_back(c == 0 ? u'\xFFFD' : static_cast<char16_t>(c));
            }
            break;
        case kCommentLt:
            if (c == '!') {
                m_tag.text.push_back('!');
                m_state = kCommentLtBang;
            } else if (c == '<') {
                m_tag.text.push_back('<');
            } else {
                Unget();
                m_state = kComment;
            }
            break;
        case kCommentLtBang:
            Unget();
            m_state = c == '-' ? (++m_pos, kCommentLtBangDash) : kComment;
            break;
        case kCommentLtBangDash:
            Unget();
            m_state = c == '-' ? (++m_pos, kCommentLtBangDashDash) : kCommentEndDash;
            break;
        case kCommentLtBangDashDash:
            Unget();
            m_state = kCommentEnd;
            break;
        case kCommentEndDash:
            if (c == '-') {
                m_state = kCommentEnd;
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text.push_back('-');
                Unget();
                m_state = kComment;
            }
            break;
        case kCommentEnd:
            if (c == '>') {
                m_state = kData;
                EmitComment();
            } else if (c == '!') {
                m_state = kCommentEndBang;
            } else if (c == '-') {
                m_tag.text.push_back('-');
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text += u"--";
                Unget();
                m_state = kComment;
            }
            break;
        case kCommentEndBang:
            if (c == '-') {
                m_tag.text += u"--!";
                m_state = kCommentEndDash;
            } else if (c == '>') {
                m_state = kData;
                EmitComment();
            } else if (c == kEofChar) {
                EmitComment();
                m_eofSeen = true;
            } else {
                m_tag.text += u"--!";
                Unget();
                m_state = kComment;
            }
            break;
        case kDoctype:
            Unget();
            m_state = kData;
            break;
        case kCdataSection:
            if (c == kEofChar) {
                m_eofSeen = true;
            } else if (c == ']' && Lookahead(u"]>", false)) {
                m_pos += 2;
                m_state = kData;
            } else {
                EmitChar(c);
            }
            break;
        }
    }
    if (!m_text.empty()) {
        // The buffers change places: m_text gets the last text's, emptied.
        m_textToken.Reset(Token::kText);
        m_textToken.text.swap(m_text);
        return m_textToken;
    }
    if (m_haveTag) {
        m_haveTag = false;
        // Given as it is; it is reset when the next tag starts.
        return m_tag;
    }
    m_eofToken.Reset(Token::kEof);
    return m_eofToken;
}

}  // namespace html
