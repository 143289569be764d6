// Addresses as browsers parse and resolve them (the URL Standard's basic
// URL parser): schemes, authority, IPv4 and IPv6 hosts, default ports, "."
// and ".." segments, "\" in special schemes, query and fragment. One
// difference on purpose: characters outside ASCII are kept as they are,
// not percent-encoded or punycoded, because the result is for people to
// read in a note. ASCII characters are percent-encoded as the standard says.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace html {

struct Url {
    std::u16string scheme;      // lower case, without ":"
    std::u16string username;
    std::u16string password;
    std::optional<std::u16string> host;
    int port = -1;              // -1: none (or the scheme's default)
    bool opaquePath = false;    // "mailto:x", "javascript:..." and the like
    std::vector<std::u16string> path;  // segments, or one opaque string
    std::optional<std::u16string> query;
    std::optional<std::u16string> fragment;

    bool IsSpecial() const;
    std::u16string Serialize() const;
};

// Parses input, relative to base when given; nothing when it is not a
// valid address (no length limit).
std::optional<Url> ParseUrl(std::u16string_view input, const Url* base = nullptr);

// The address that a link with this href leads to when the page's address
// is base (empty: none). Without a base, or when the href cannot be parsed,
// the href is given as written, trimmed of surrounding white space and
// without tabs and line breaks.
std::u16string ResolveHref(std::u16string_view href, const std::optional<Url>& base);
// The same appended to out (no string of its own).
void AppendResolvedHref(std::u16string& out, std::u16string_view href, const std::optional<Url>& base);

// The same for many hrefs under one base: what is common to them is
// worked out once. base must outlive the resolver.
class HrefResolver {
public:
    explicit HrefResolver(const std::optional<Url>& base);
    void Append(std::u16string& out, std::u16string_view href) const;

private:
    const std::optional<Url>& m_base;
    bool m_fast = false;          // root-relative links can skip the parser
    std::u16string m_origin;      // the base up to its path, when m_fast
};
// ResolveHref without its shortcut for common links, always through the
// parser; tests compare the two.
std::u16string ResolveHrefByParser(std::u16string_view href, const std::optional<Url>& base);

}  // namespace html
