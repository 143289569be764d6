// An INI file read and changed in one go, as the system's private-profile
// functions understand it. Those functions read and rewrite the whole file
// for every key: with a view-state section per page, a notebook of 10,000
// pages would take minutes to restore and to save. Portable.
//
// The bytes are kept as they are: ANSI or UTF-8 text byte for byte, or
// UTF-16 after its byte-order mark. Section and key names are compared
// without regard to ASCII case, with blanks around them ignored; the first
// of two sections (or keys) of one name is the one that counts, as for the
// system. Only ASCII is ever written into the file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ini {

class IniText {
public:
    explicit IniText(std::string_view bytes);

    // The value of a key as GetPrivateProfileInt reads it: optional blanks,
    // an optional sign and decimal digits (0 when no digit follows);
    // nothing when the section or the key is missing.
    std::optional<int> Int(std::string_view section, std::string_view key) const;
    // The whole value text of a key (ASCII and Latin-1 units as bytes).
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Gives each named section exactly these key=value lines, replacing what
    // it held; a section not yet there is appended at the end, in the order
    // given. Of a name given twice, the first counts. Names and values must
    // be ASCII without line breaks.
    using Keys = std::vector<std::pair<std::string, std::string>>;
    void ReplaceSections(const std::vector<std::pair<std::string, Keys>>& sections);

    // The file as it is now, in its own encoding.
    std::string Bytes() const;

private:
    struct Line {
        size_t begin = 0;   // first unit of the line in m_text
        size_t end = 0;     // one past its last unit (without CR and LF)
        size_t next = 0;    // first unit of the next line
    };
    struct Section {
        size_t header = 0;      // index into m_lines of the [name] line
        size_t endBody = 0;     // one past its last line
    };
    enum class Encoding { Bytes, Utf16Le, Utf16Be };

    void Parse();
    const Section* Find(std::string_view section) const;
    std::optional<std::u16string> RawValue(std::string_view section, std::string_view key) const;

    Encoding m_encoding = Encoding::Bytes;
    std::string m_bom;       // the byte-order mark the file began with
    std::string m_tail;      // an odd byte at the end of a UTF-16 file
    std::u16string m_text;   // bytes widened one to one, or UTF-16 units
    std::vector<Line> m_lines;
    std::vector<Section> m_sections;
    // Lower-case name -> first section of that name.
    std::unordered_map<std::u16string, size_t> m_byName;
};

}  // namespace ini
