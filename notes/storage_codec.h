// The notes storage file in memory: turning its bytes into pages and pages
// into bytes. Portable; the Win32 document reads and writes the file.
//
// Written form: UTF-16LE with the mark FF FE, then per page a 12-unit
// separator (U+000C x4, U+0007 x4, U+0008 x4), the page name, CR LF and the
// page text, with nothing between records. The export form (Save As) uses
// twelve '=' as separator and repeats it after the name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CodePage;

namespace storage {

inline constexpr size_t kSeparatorLength = 12;
std::u16string_view StorageSeparator();
std::u16string_view ExportSeparator();

// The name a page gets when its stored name is blank.
inline constexpr char16_t kDefaultPageName[] = u"日常";

struct Page {
    std::u16string name;
    std::u16string text;
};

// Whether the bytes start with the UTF-16LE byte-order mark.
bool HasByteOrderMark(std::string_view bytes);

// The file's text: UTF-16LE after a byte-order mark (a trailing odd byte
// becomes one unit of its own), otherwise the bytes converted from the ANSI
// code page. NUL units become spaces, so a stray zero cannot cut a page.
std::u16string DecodeText(std::string_view bytes, const CodePage& ansi);

// Splits decoded text into records, in file order. Text before the first
// separator is a record with an empty name; the last record is always
// there, also with empty text. Names are returned as stored (untrimmed).
std::vector<Page> SplitRecords(std::u16string_view text);

// The pages a file holds: decoding and splitting, with every name trimmed
// and blank names replaced by the default. An empty file gives one empty
// page with the default name.
std::vector<Page> ParseFile(std::string_view bytes, const CodePage& ansi);

// A page name as stored: leading and trailing blanks (space, tab, CR, LF,
// vertical tab, form feed) removed; the default name when nothing is left.
std::u16string NormalizePageName(std::u16string_view name);
// The trimming alone.
std::u16string TrimBlanks(std::u16string_view text);

enum class Form { Storage, Export };

// The bytes of a file holding the pages in this order.
std::string Encode(const std::vector<Page>& pages, Form form);
// The same, for pages handed over one by one (name and text as UTF-16).
class Encoder {
public:
    explicit Encoder(Form form);
    void AddPage(std::u16string_view name, std::u16string_view text);
    std::string& Bytes() { return m_bytes; }

private:
    void Append(std::u16string_view units);
    Form m_form;
    std::string m_bytes;
};

}  // namespace storage
