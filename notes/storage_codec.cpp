#include "notes/storage_codec.h"

#include <bit>

#include "notes/code_page.h"

namespace storage {

namespace {

constexpr char16_t kStorageSeparator[] = u"\f\f\f\f\a\a\a\a\b\b\b\b";
constexpr char16_t kExportSeparator[] = u"============";

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

}  // namespace

std::u16string_view StorageSeparator()
{
    return {kStorageSeparator, kSeparatorLength};
}

std::u16string_view ExportSeparator()
{
    return {kExportSeparator, kSeparatorLength};
}

bool HasByteOrderMark(std::string_view bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

std::u16string DecodeText(std::string_view bytes, const CodePage& ansi)
{
    std::u16string text;
    if (HasByteOrderMark(bytes)) {
        // A file of nothing but the mark is an empty UTF-16 file (read as
        // ANSI its two bytes would turn into two garbage characters).
        const size_t n = bytes.size() - 2;
        text.resize((n + 1) / 2);
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned lo = static_cast<unsigned char>(bytes[2 + 2 * i]);
            unsigned hi = 2 + 2 * i + 1 < bytes.size()
                              ? static_cast<unsigned char>(bytes[2 + 2 * i + 1])
                              : 0u;
            text[i] = static_cast<char16_t>(lo | (hi << 8));
        }
    } else {
        text = ansi.ToUtf16(bytes);
    }
    for (char16_t& c : text)
        if (c == u'\0')
            c = u' ';
    return text;
}

std::vector<Page> SplitRecords(std::u16string_view text)
{
    const std::u16string_view sep = StorageSeparator();
    std::vector<Page> records;
    size_t pos = 0;
    std::u16string name;
    for (;;) {
        size_t found = text.find(sep, pos);
        if (found == std::u16string_view::npos)
            break;
        // Only a separator at the very start has no record before it.
        if (found != 0)
            records.push_back({name, std::u16string(text.substr(pos, found - pos))});
        size_t nameStart = found + sep.size();
        size_t cr = text.find(u'\r', nameStart);
        if (cr == std::u16string_view::npos) {
            name = std::u16string(text.substr(nameStart));
            pos = text.size();
        } else {
            name = std::u16string(text.substr(nameStart, cr - nameStart));
            pos = cr + 1;
            if (pos < text.size() && text[pos] == u'\n')
                ++pos;
        }
    }
    records.push_back({name, std::u16string(text.substr(pos))});
    return records;
}

std::u16string TrimBlanks(std::u16string_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return std::u16string(text.substr(b, e - b));
}

std::u16string NormalizePageName(std::u16string_view name)
{
    std::u16string trimmed = TrimBlanks(name);
    return trimmed.empty() ? std::u16string(kDefaultPageName) : trimmed;
}

std::vector<Page> ParseFile(std::string_view bytes, const CodePage& ansi)
{
    if (bytes.empty())
        return {Page{kDefaultPageName, {}}};
    std::vector<Page> pages = SplitRecords(DecodeText(bytes, ansi));
    for (Page& p : pages)
        p.name = NormalizePageName(p.name);
    return pages;
}

Encoder::Encoder(Form form) : m_form(form)
{
    m_bytes.append("\xFF\xFE", 2);
}

void Encoder::Append(std::u16string_view units)
{
    if constexpr (std::endian::native == std::endian::little) {
        // The units are already in the file's byte order.
        m_bytes.append(reinterpret_cast<const char*>(units.data()), units.size() * 2);
        return;
    }
    const size_t at = m_bytes.size();
    m_bytes.resize(at + units.size() * 2);
    char* out = m_bytes.data() + at;
    for (char16_t c : units) {
        *out++ = static_cast<char>(c & 0xFF);
        *out++ = static_cast<char>(c >> 8);
    }
}

void Encoder::AddPage(std::u16string_view name, std::u16string_view text)
{
    const std::u16string_view sep = m_form == Form::Export ? ExportSeparator() : StorageSeparator();
    Append(sep);
    Append(name);
    if (m_form == Form::Export)
        Append(sep);
    Append(u"\r\n");
    Append(text);
}

std::string Encode(const std::vector<Page>& pages, Form form)
{
    Encoder encoder(form);
    for (const Page& p : pages)
        encoder.AddPage(p.name, p.text);
    return std::move(encoder.Bytes());
}

}  // namespace storage
