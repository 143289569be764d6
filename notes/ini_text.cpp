#include "notes/ini_text.h"

#include <climits>

namespace ini {

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string LowerName(std::u16string_view s)
{
    std::u16string out(s);
    for (char16_t& c : out)
        c = Lower(c);
    return out;
}

std::u16string Widen(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (char c : s)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The name of a section header line ("[name]" up to the last bracket), or
// nothing when the line is no header.
std::optional<std::u16string_view> HeaderName(std::u16string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != u'[')
        return std::nullopt;
    const size_t close = line.rfind(u']');
    if (close == std::u16string_view::npos || close == 0)
        return std::nullopt;
    return line.substr(1, close - 1);
}

}  // namespace

IniText::IniText(std::string_view bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        m_encoding = Encoding::Utf16Le;
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
               static_cast<unsigned char>(bytes[1]) == 0xFF) {
        m_encoding = Encoding::Utf16Be;
    }
    if (m_encoding == Encoding::Bytes) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
            m_bom = bytes.substr(0, 3);
            bytes.remove_prefix(3);
        }
        m_text = Widen(bytes);
    } else {
        m_bom = bytes.substr(0, 2);
        bytes.remove_prefix(2);
        const bool little = m_encoding == Encoding::Utf16Le;
        m_text.reserve(bytes.size() / 2);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            m_text.push_back(static_cast<char16_t>(little ? a | b << 8 : b | a << 8));
        }
        if (bytes.size() % 2)
            m_tail.assign(1, bytes.back());
    }
    Parse();
}

void IniText::Parse()
{
    m_lines.clear();
    m_sections.clear();
    m_byName.clear();
    size_t pos = 0;
    while (pos < m_text.size()) {
        size_t lf = m_text.find(u'\n', pos);
        Line line;
        line.begin = pos;
        line.next = lf == std::u16string::npos ? m_text.size() : lf + 1;
        line.end = lf == std::u16string::npos ? m_text.size() : lf;
        if (line.end > line.begin && m_text[line.end - 1] == u'\r')
            --line.end;
        m_lines.push_back(line);
        pos = line.next;
    }
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const std::u16string_view text(m_text.data() + m_lines[i].begin, m_lines[i].end - m_lines[i].begin);
        auto name = HeaderName(text);
        if (!name)
            continue;
        if (!m_sections.empty())
            m_sections.back().endBody = i;
        m_sections.push_back({i, m_lines.size()});
        m_byName.emplace(LowerName(*name), m_sections.size() - 1);
    }
}

const IniText::Section* IniText::Find(std::string_view section) const
{
    auto it = m_byName.find(LowerName(Widen(section)));
    return it == m_byName.end() ? nullptr : &m_sections[it->second];
}

std::optional<std::u16string> IniText::RawValue(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    const std::u16string wantedKey = Widen(key);
    for (size_t i = s->header + 1; i < s->endBody; ++i) {
        const std::u16string_view line(m_text.data() + m_lines[i].begin, m_lines[i].end - m_lines[i].begin);
        const size_t eq = line.find(u'=');
        const std::u16string_view name = Trim(line.substr(0, eq));
        if (!EqualsIgnoringCase(name, wantedKey))
            continue;
        if (eq == std::u16string_view::npos)
            return std::u16string();
        return std::u16string(Trim(line.substr(eq + 1)));
    }
    return std::nullopt;
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const
{
    auto raw = RawValue(section, key);
    if (!raw)
        return std::nullopt;
    std::string out;
    for (char16_t c : *raw)
        out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    return out;
}

std::optional<int> IniText::Int(std::string_view section, std::string_view key) const
{
    auto raw = RawValue(section, key);
    // An empty value reads as missing, as GetPrivateProfileInt has it.
    if (!raw || raw->empty())
        return std::nullopt;
    size_t i = 0;
    bool negative = false;
    if (i < raw->size() && ((*raw)[i] == u'-' || (*raw)[i] == u'+'))
        negative = (*raw)[i++] == u'-';
    long long value = 0;
    for (; i < raw->size() && (*raw)[i] >= u'0' && (*raw)[i] <= u'9'; ++i) {
        value = value * 10 + ((*raw)[i] - u'0');
        if (value > INT_MAX)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return static_cast<int>(value);
}

void IniText::ReplaceSections(const std::vector<std::pair<std::string, Keys>>& sections)
{
    auto body = [](const Keys& keys) {
        std::u16string text;
        for (const auto& [k, v] : keys) {
            text += Widen(k);
            text += u'=';
            text += Widen(v);
            text += u"\r\n";
        }
        return text;
    };
    // What replaces the body of each existing section, by header line, and
    // where that body ends.
    struct Replacement {
        std::u16string body;
        size_t endBody = 0;
    };
    std::unordered_map<size_t, Replacement> replaced;
    std::unordered_map<std::u16string, bool> newNames;
    std::u16string appended;
    for (const auto& [name, keys] : sections) {
        // A name given twice in one call: the first mention counts, for an
        // existing section as for a new one.
        if (const Section* s = Find(name)) {
            replaced.emplace(s->header, Replacement{body(keys), s->endBody});
        } else if (newNames.emplace(LowerName(Widen(name)), true).second) {
            appended += u'[';
            appended += Widen(name);
            appended += u"]\r\n";
            appended += body(keys);
        }
    }
    std::u16string out;
    out.reserve(m_text.size() + appended.size() + 64 * replaced.size());
    size_t line = 0;
    while (line < m_lines.size()) {
        out.append(m_text, m_lines[line].begin, m_lines[line].next - m_lines[line].begin);
        auto it = replaced.find(line);
        if (it == replaced.end()) {
            ++line;
            continue;
        }
        // The header may have been the file's last line, without an end.
        if (out.empty() || out.back() != u'\n')
            out += u"\r\n";
        out += it->second.body;
        line = it->second.endBody;
    }
    if (!appended.empty()) {
        if (!out.empty() && out.back() != u'\n')
            out += u"\r\n";
        out += appended;
    }
    m_text = std::move(out);
    Parse();
}

std::string IniText::Bytes() const
{
    std::string out = m_bom;
    out.reserve(m_bom.size() + m_text.size() * (m_encoding == Encoding::Bytes ? 1 : 2) + m_tail.size());
    for (char16_t c : m_text) {
        switch (m_encoding) {
        case Encoding::Bytes:
            out.push_back(static_cast<char>(c));
            break;
        case Encoding::Utf16Le:
            out.push_back(static_cast<char>(c & 0xFF));
            out.push_back(static_cast<char>(c >> 8));
            break;
        case Encoding::Utf16Be:
            out.push_back(static_cast<char>(c >> 8));
            out.push_back(static_cast<char>(c & 0xFF));
            break;
        }
    }
    out += m_tail;
    return out;
}

}  // namespace ini
