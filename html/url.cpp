#include "html/url.h"

#include <algorithm>
#include <cstdint>

namespace html {

namespace {

constexpr int kEnd = -1;

bool IsAlpha(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsHex(int c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(int c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }
char16_t Lower(char16_t c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

int DefaultPort(std::u16string_view scheme)
{
    if (scheme == u"http" || scheme == u"ws") return 80;
    if (scheme == u"https" || scheme == u"wss") return 443;
    if (scheme == u"ftp") return 21;
    return -1;
}

bool IsSpecialScheme(std::u16string_view s)
{
    return s == u"http" || s == u"https" || s == u"ws" || s == u"wss" || s == u"ftp" || s == u"file";
}

enum EncodeSet { kC0, kFragment, kQuery, kSpecialQuery, kPath, kUserinfo };

bool InSetSlow(char16_t c, EncodeSet set)
{
    if (c < 0x20 || c == 0x7F) return true;
    if (set == kC0) return false;
    if (set == kFragment) return c == ' ' || c == '"' || c == '<' || c == '>' || c == '`';
    const bool query = c == ' ' || c == '"' || c == '#' || c == '<' || c == '>';
    if (set == kQuery) return query;
    if (set == kSpecialQuery) return query || c == '\'';
    const bool path = query || c == '?' || c == '^' || c == '`' || c == '{' || c == '}';
    if (set == kPath) return path;
    return path || c == '/' || c == ':' || c == ';' || c == '=' || c == '@' || c == '[' || c == '\\' ||
           c == ']' || c == '|';
}

// One bit per encode set for each ASCII character: every character of
// every address goes through this test.
struct EncodeTable {
    std::uint8_t bits[128] = {};
    EncodeTable()
    {
        for (int c = 0; c < 128; ++c) {
            for (int set = kC0; set <= kUserinfo; ++set) {
                if (InSetSlow(static_cast<char16_t>(c), static_cast<EncodeSet>(set))) bits[c] |= 1u << set;
            }
        }
    }
};
const EncodeTable kEncodeTable;

bool InSet(char16_t c, EncodeSet set)
{
    // Outside ASCII nothing is encoded: the address stays readable.
    return c < 0x80 && (kEncodeTable.bits[c] >> set & 1u) != 0;
}

void AppendEncoded(std::u16string& out, char16_t c, EncodeSet set)
{
    if (!InSet(c, set)) {
        out.push_back(c);
        return;
    }
    static const char kHex[] = "0123456789ABCDEF";
    out.push_back('%');
    out.push_back(static_cast<char16_t>(kHex[(c >> 4) & 0xF]));
    out.push_back(static_cast<char16_t>(kHex[c & 0xF]));
}

// Appends the characters from `from` on that need no encoding and are not
// `stop`, in one go; gives the position of the first one not taken.
std::ptrdiff_t AppendPlainRun(std::u16string& out, std::u16string_view in, std::ptrdiff_t from, EncodeSet set,
                              char16_t stop)
{
    std::size_t q = static_cast<std::size_t>(from);
    while (q < in.size()) {
        const char16_t d = in[q];
        if ((stop != 0 && d == stop) || InSet(d, set)) break;
        ++q;
    }
    out.append(in.substr(static_cast<std::size_t>(from), q - static_cast<std::size_t>(from)));
    return static_cast<std::ptrdiff_t>(q);
}

std::u16string PercentDecode(std::u16string_view s)
{
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && IsHex(s[i + 1]) && IsHex(s[i + 2])) {
            out.push_back(static_cast<char16_t>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2])));
            i += 2;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

bool IsForbiddenHost(char16_t c)
{
    switch (c) {
    case 0: case '\t': case '\n': case '\r': case ' ': case '#': case '/': case ':': case '<':
    case '>': case '?': case '@': case '[': case '\\': case ']': case '^': case '|':
        return true;
    default:
        return false;
    }
}

bool IsForbiddenDomain(char16_t c)
{
    return IsForbiddenHost(c) || (c <= 0x1F) || c == '%' || c == 0x7F;
}

// One IPv4 part: decimal, 0x hex or 0 octal; nothing when invalid.
std::optional<std::uint64_t> ParseIpv4Number(std::u16string_view s)
{
    if (s.empty()) return std::nullopt;
    int radix = 10;
    if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        radix = 16;
        s.remove_prefix(2);
    } else if (s.size() >= 2 && s[0] == '0') {
        radix = 8;
        s.remove_prefix(1);
    }
    if (s.empty()) return 0;
    std::uint64_t v = 0;
    for (char16_t c : s) {
        int d;
        if (radix == 16 && IsHex(c)) d = HexValue(c);
        else if (IsDigit(c) && c - '0' < radix) d = c - '0';
        else return std::nullopt;
        v = v * radix + d;
        if (v > 0xFFFFFFFFull * 256) v = 0xFFFFFFFFull * 256;  // already too big; keep it bounded
    }
    return v;
}

bool EndsInNumber(std::u16string_view host)
{
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '.') {
            parts.push_back(host.substr(start, i - start));
            start = i + 1;
        }
    }
    if (parts.back().empty()) {
        if (parts.size() == 1) return false;
        parts.pop_back();
    }
    const std::u16string_view last = parts.back();
    if (!last.empty() && std::all_of(last.begin(), last.end(), [](char16_t c) { return IsDigit(c); })) return true;
    return ParseIpv4Number(last).has_value();
}

std::optional<std::u16string> ParseIpv4(std::u16string_view host)
{
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= host.size(); ++i) {
        if (i == host.size() || host[i] == '.') {
            parts.push_back(host.substr(start, i - start));
            start = i + 1;
        }
    }
    if (parts.back().empty() && parts.size() > 1) parts.pop_back();
    if (parts.size() > 4) return std::nullopt;
    std::vector<std::uint64_t> numbers;
    for (std::u16string_view p : parts) {
        auto n = ParseIpv4Number(p);
        if (!n) return std::nullopt;
        numbers.push_back(*n);
    }
    for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
        if (numbers[i] > 255) return std::nullopt;
    }
    std::uint64_t limit = 1;
    for (std::size_t i = numbers.size() - 1; i < 4; ++i) limit *= 256;
    if (numbers.back() >= limit) return std::nullopt;
    std::uint64_t ipv4 = numbers.back();
    for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
        std::uint64_t m = numbers[i];
        for (std::size_t k = i; k < 3; ++k) m *= 256;
        ipv4 += m;
    }
    std::u16string out;
    for (int i = 3; i >= 0; --i) {
        const std::string part = std::to_string((ipv4 >> (8 * i)) & 0xFF);
        out.append(part.begin(), part.end());
        if (i > 0) out.push_back('.');
    }
    return out;
}

std::optional<std::u16string> ParseIpv6(std::u16string_view in)
{
    std::uint16_t address[8] = {};
    int pieceIndex = 0;
    int compress = -1;
    std::size_t p = 0;
    auto at = [&](std::size_t i) -> int { return i < in.size() ? in[i] : kEnd; };
    if (at(p) == ':') {
        if (at(p + 1) != ':') return std::nullopt;
        p += 2;
        compress = ++pieceIndex;
    }
    while (at(p) != kEnd) {
        if (pieceIndex == 8) return std::nullopt;
        if (at(p) == ':') {
            if (compress != -1) return std::nullopt;
            ++p;
            compress = ++pieceIndex;
            continue;
        }
        int value = 0, length = 0;
        while (length < 4 && IsHex(at(p))) {
            value = value * 16 + HexValue(at(p));
            ++p;
            ++length;
        }
        if (at(p) == '.') {
            if (length == 0) return std::nullopt;
            p -= length;
            if (pieceIndex > 6) return std::nullopt;
            int numbersSeen = 0;
            while (at(p) != kEnd) {
                int ipv4Piece = -1;
                if (numbersSeen > 0) {
                    if (at(p) == '.' && numbersSeen < 4) ++p;
                    else return std::nullopt;
                }
                if (!IsDigit(at(p))) return std::nullopt;
                while (IsDigit(at(p))) {
                    const int n = at(p) - '0';
                    if (ipv4Piece == -1) ipv4Piece = n;
                    else if (ipv4Piece == 0) return std::nullopt;
                    else ipv4Piece = ipv4Piece * 10 + n;
                    if (ipv4Piece > 255) return std::nullopt;
                    ++p;
                }
                address[pieceIndex] = static_cast<std::uint16_t>(address[pieceIndex] * 0x100 + ipv4Piece);
                ++numbersSeen;
                if (numbersSeen == 2 || numbersSeen == 4) ++pieceIndex;
            }
            if (numbersSeen != 4) return std::nullopt;
            break;
        }
        if (at(p) == ':') {
            ++p;
            if (at(p) == kEnd) return std::nullopt;
        } else if (at(p) != kEnd) {
            return std::nullopt;
        }
        address[pieceIndex++] = static_cast<std::uint16_t>(value);
    }
    if (compress != -1) {
        int swaps = pieceIndex - compress;
        pieceIndex = 7;
        while (pieceIndex != 0 && swaps > 0) {
            std::swap(address[pieceIndex], address[compress + swaps - 1]);
            --pieceIndex;
            --swaps;
        }
    } else if (pieceIndex != 8) {
        return std::nullopt;
    }
    // Serialise with the longest run of zeros (two or more) compressed.
    int bestStart = -1, bestLen = 1;
    for (int i = 0; i < 8;) {
        if (address[i] != 0) { ++i; continue; }
        int j = i;
        while (j < 8 && address[j] == 0) ++j;
        if (j - i > bestLen) { bestStart = i; bestLen = j - i; }
        i = j;
    }
    std::u16string out = u"[";
    bool ignore0 = false;
    for (int i = 0; i < 8; ++i) {
        if (ignore0 && address[i] == 0) continue;
        ignore0 = false;
        if (bestStart == i) {
            out += i == 0 ? u"::" : u":";
            ignore0 = true;
            continue;
        }
        static const char kHex[] = "0123456789abcdef";
        std::u16string piece;
        unsigned v = address[i];
        do {
            piece.insert(piece.begin(), static_cast<char16_t>(kHex[v & 0xF]));
            v >>= 4;
        } while (v != 0);
        out += piece;
        if (i != 7) out.push_back(':');
    }
    out.push_back(']');
    return out;
}

std::optional<std::u16string> ParseHost(std::u16string_view input, bool special)
{
    if (!input.empty() && input[0] == '[') {
        if (input.back() != ']') return std::nullopt;
        return ParseIpv6(input.substr(1, input.size() - 2));
    }
    if (!special) {
        std::u16string out;
        for (char16_t c : input) {
            if (IsForbiddenHost(c)) return std::nullopt;
            AppendEncoded(out, c, kC0);
        }
        return out;
    }
    std::u16string domain = PercentDecode(input);
    // Domain-to-ASCII without punycode: ASCII letters fold to lower case;
    // other characters are kept for the reader.
    for (char16_t& c : domain) {
        c = Lower(c);
        if (c == 0x3002 || c == 0xFF0E || c == 0xFF61) c = '.';
    }
    if (domain.empty()) return std::nullopt;
    for (char16_t c : domain) {
        if (IsForbiddenDomain(c)) return std::nullopt;
    }
    if (EndsInNumber(domain)) return ParseIpv4(domain);
    return domain;
}

bool IsWindowsDriveLetter(std::u16string_view s, bool normalizedOnly = false)
{
    return s.size() == 2 && IsAlpha(s[0]) && (s[1] == ':' || (!normalizedOnly && s[1] == '|'));
}

bool StartsWithWindowsDriveLetter(std::u16string_view s, std::size_t p)
{
    if (s.size() - p < 2 || !IsAlpha(s[p]) || (s[p + 1] != ':' && s[p + 1] != '|')) return false;
    if (s.size() - p == 2) return true;
    const char16_t c = s[p + 2];
    return c == '/' || c == '\\' || c == '?' || c == '#';
}

void ShortenPath(Url& url)
{
    if (url.scheme == u"file" && url.path.size() == 1 && IsWindowsDriveLetter(url.path[0], true)) return;
    if (!url.path.empty()) url.path.pop_back();
}

bool IsSingleDot(std::u16string_view s)
{
    return s == u"." || (s.size() == 3 && s[0] == '%' && s[1] == '2' && (s[2] == 'e' || s[2] == 'E'));
}

bool IsDoubleDot(std::u16string_view s)
{
    // "..", ".%2e", "%2e." or "%2e%2e", any case.
    auto dot = [&](std::size_t& i) {
        if (i < s.size() && s[i] == '.') {
            ++i;
            return true;
        }
        if (i + 2 < s.size() && s[i] == '%' && s[i + 1] == '2' && Lower(s[i + 2]) == 'e') {
            i += 3;
            return true;
        }
        return false;
    };
    if (s.size() < 2 || s.size() > 6) return false;
    std::size_t i = 0;
    return dot(i) && dot(i) && i == s.size();
}

enum class St {
    kSchemeStart, kScheme, kNoScheme, kSpecialRelativeOrAuthority, kPathOrAuthority, kRelative,
    kRelativeSlash, kSpecialAuthoritySlashes, kSpecialAuthorityIgnoreSlashes, kAuthority, kHost,
    kPort, kFile, kFileSlash, kFileHost, kPathStart, kPath, kOpaquePath, kQuery, kFragment,
};

}  // namespace

bool Url::IsSpecial() const { return IsSpecialScheme(scheme); }

namespace {

// The scheme and, when there is a host, the authority: everything before
// the path.
void AppendOrigin(const Url& url, std::u16string& out)
{
    out += url.scheme;
    out += u':';
    if (url.host) {
        out += u"//";
        if (!url.username.empty() || !url.password.empty()) {
            out += url.username;
            if (!url.password.empty()) {
                out += u':';
                out += url.password;
            }
            out += u'@';
        }
        out += *url.host;
        if (url.port >= 0) {
            const std::string p = std::to_string(url.port);
            out.push_back(':');
            out.append(p.begin(), p.end());
        }
    }
}

}  // namespace

std::u16string Url::Serialize() const
{
    std::size_t length = scheme.size() + 8 + (host ? host->size() : 0) + (query ? query->size() : 0) +
                         (fragment ? fragment->size() : 0);
    for (const std::u16string& segment : path) length += segment.size() + 1;
    std::u16string out;
    out.reserve(length);
    AppendOrigin(*this, out);
    if (opaquePath) {
        out += path.empty() ? u"" : path[0];
    } else {
        if (!host && path.size() > 1 && path[0].empty()) out += u"/.";
        for (const std::u16string& segment : path) {
            out += u'/';
            out += segment;
        }
    }
    if (query) {
        out += u'?';
        out += *query;
    }
    if (fragment) {
        out += u'#';
        out += *fragment;
    }
    return out;
}

std::optional<Url> ParseUrl(std::u16string_view raw, const Url* base)
{
    // Leading and trailing C0 controls and spaces go; tabs and line breaks
    // go wherever they are.
    std::size_t a = 0, b = raw.size();
    while (a < b && raw[a] <= 0x20) ++a;
    while (b > a && raw[b - 1] <= 0x20) --b;
    std::u16string_view in = raw.substr(a, b - a);
    std::u16string cleaned;   // only made when there is something to take out
    if (std::any_of(in.begin(), in.end(), [](char16_t c) { return c == '\t' || c == '\n' || c == '\r'; })) {
        cleaned.reserve(in.size());
        for (char16_t c : in) {
            if (c != '\t' && c != '\n' && c != '\r') cleaned.push_back(c);
        }
        in = cleaned;
    }

    Url url;
    bool special = false;   // url.IsSpecial(), kept up to date with the scheme
    St state = St::kSchemeStart;
    std::u16string buffer;
    bool atSignSeen = false, insideBrackets = false, passwordTokenSeen = false;
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(in.size());
    for (std::ptrdiff_t p = 0;; ++p) {
        const int c = p < n ? in[static_cast<std::size_t>(p)] : kEnd;
        auto remaining = [&](std::ptrdiff_t k) -> int { return p + k < n ? in[static_cast<std::size_t>(p + k)] : kEnd; };
        switch (state) {
        case St::kSchemeStart:
            if (IsAlpha(c)) {
                buffer.push_back(Lower(static_cast<char16_t>(c)));
                state = St::kScheme;
            } else {
                state = St::kNoScheme;
                --p;
            }
            break;
        case St::kScheme:
            if (IsAlpha(c) || IsDigit(c) || c == '+' || c == '-' || c == '.') {
                buffer.push_back(Lower(static_cast<char16_t>(c)));
            } else if (c == ':') {
                url.scheme = buffer;
                special = IsSpecialScheme(url.scheme);
                buffer.clear();
                if (url.scheme == u"file") {
                    state = St::kFile;
                } else if (special && base != nullptr && base->scheme == url.scheme) {
                    state = St::kSpecialRelativeOrAuthority;
                } else if (special) {
                    state = St::kSpecialAuthoritySlashes;
                } else if (remaining(1) == '/') {
                    state = St::kPathOrAuthority;
                    ++p;
                } else {
                    url.opaquePath = true;
                    url.path.assign(1, u"");
                    state = St::kOpaquePath;
                }
            } else {
                buffer.clear();
                state = St::kNoScheme;
                p = -1;
            }
            break;
        case St::kNoScheme:
            if (base == nullptr || (base->opaquePath && c != '#')) return std::nullopt;
            special = IsSpecialScheme(base->scheme);
            if (base->opaquePath && c == '#') {
                url.scheme = base->scheme;
                url.path = base->path;
                url.opaquePath = true;
                url.query = base->query;
                url.fragment = u"";
                state = St::kFragment;
            } else if (base->scheme != u"file") {
                state = St::kRelative;
                --p;
            } else {
                state = St::kFile;
                --p;
            }
            break;
        case St::kSpecialRelativeOrAuthority:
            if (c == '/' && remaining(1) == '/') {
                state = St::kSpecialAuthorityIgnoreSlashes;
                ++p;
            } else {
                state = St::kRelative;
                --p;
            }
            break;
        case St::kPathOrAuthority:
            if (c == '/') {
                state = St::kAuthority;
            } else {
                state = St::kPath;
                --p;
            }
            break;
        case St::kRelative:
            url.scheme = base->scheme;
            special = IsSpecialScheme(url.scheme);
            if (c == '/') {
                state = St::kRelativeSlash;
            } else if (special && c == '\\') {
                state = St::kRelativeSlash;
            } else {
                url.username = base->username;
                url.password = base->password;
                url.host = base->host;
                url.port = base->port;
                url.path = base->path;
                url.query = base->query;
                if (c == '?') {
                    url.query = u"";
                    state = St::kQuery;
                } else if (c == '#') {
                    url.fragment = u"";
                    state = St::kFragment;
                } else if (c != kEnd) {
                    url.query.reset();
                    ShortenPath(url);
                    state = St::kPath;
                    --p;
                }
            }
            break;
        case St::kRelativeSlash:
            if (special && (c == '/' || c == '\\')) {
                state = St::kSpecialAuthorityIgnoreSlashes;
            } else if (c == '/') {
                state = St::kAuthority;
            } else {
                url.username = base->username;
                url.password = base->password;
                url.host = base->host;
                url.port = base->port;
                state = St::kPath;
                --p;
            }
            break;
        case St::kSpecialAuthoritySlashes:
            if (c == '/' && remaining(1) == '/') {
                state = St::kSpecialAuthorityIgnoreSlashes;
                ++p;
            } else {
                state = St::kSpecialAuthorityIgnoreSlashes;
                --p;
            }
            break;
        case St::kSpecialAuthorityIgnoreSlashes:
            if (c != '/' && c != '\\') {
                state = St::kAuthority;
                --p;
            }
            break;
        case St::kAuthority:
            if (c == '@') {
                if (atSignSeen) buffer.insert(0, u"%40");
                atSignSeen = true;
                for (char16_t ch : buffer) {
                    if (ch == ':' && !passwordTokenSeen) {
                        passwordTokenSeen = true;
                        continue;
                    }
                    AppendEncoded(passwordTokenSeen ? url.password : url.username, ch, kUserinfo);
                }
                buffer.clear();
            } else if (c == kEnd || c == '/' || c == '?' || c == '#' || (special && c == '\\')) {
                if (atSignSeen && buffer.empty()) return std::nullopt;
                p -= static_cast<std::ptrdiff_t>(buffer.size()) + 1;
                buffer.clear();
                state = St::kHost;
            } else {
                buffer.push_back(static_cast<char16_t>(c));
            }
            break;
        case St::kHost:
            if (c == ':' && !insideBrackets) {
                if (buffer.empty()) return std::nullopt;
                auto host = ParseHost(buffer, special);
                if (!host) return std::nullopt;
                url.host = *host;
                buffer.clear();
                state = St::kPort;
            } else if (c == kEnd || c == '/' || c == '?' || c == '#' || (special && c == '\\')) {
                --p;
                if (special && buffer.empty()) return std::nullopt;
                auto host = ParseHost(buffer, special);
                if (!host) return std::nullopt;
                url.host = *host;
                buffer.clear();
                state = St::kPathStart;
            } else {
                if (c == '[') insideBrackets = true;
                if (c == ']') insideBrackets = false;
                buffer.push_back(static_cast<char16_t>(c));
            }
            break;
        case St::kPort:
            if (IsDigit(c)) {
                buffer.push_back(static_cast<char16_t>(c));
            } else if (c == kEnd || c == '/' || c == '?' || c == '#' || (special && c == '\\')) {
                if (!buffer.empty()) {
                    long value = 0;
                    for (char16_t d : buffer) {
                        value = value * 10 + (d - '0');
                        if (value > 65535) return std::nullopt;
                    }
                    url.port = value == DefaultPort(url.scheme) ? -1 : static_cast<int>(value);
                    buffer.clear();
                }
                state = St::kPathStart;
                --p;
            } else {
                return std::nullopt;
            }
            break;
        case St::kFile:
            url.scheme = u"file";
            special = true;
            url.host = u"";
            if (c == '/' || c == '\\') {
                state = St::kFileSlash;
            } else if (base != nullptr && base->scheme == u"file") {
                url.host = base->host;
                url.path = base->path;
                url.query = base->query;
                if (c == '?') {
                    url.query = u"";
                    state = St::kQuery;
                } else if (c == '#') {
                    url.fragment = u"";
                    state = St::kFragment;
                } else if (c != kEnd) {
                    url.query.reset();
                    if (!StartsWithWindowsDriveLetter(in, static_cast<std::size_t>(p))) ShortenPath(url);
                    else url.path.clear();
                    state = St::kPath;
                    --p;
                }
            } else {
                state = St::kPath;
                --p;
            }
            break;
        case St::kFileSlash:
            if (c == '/' || c == '\\') {
                state = St::kFileHost;
            } else {
                if (base != nullptr && base->scheme == u"file") {
                    url.host = base->host;
                    if (!StartsWithWindowsDriveLetter(in, static_cast<std::size_t>(p)) && !base->path.empty() &&
                        IsWindowsDriveLetter(base->path[0], true)) {
                        url.path.push_back(base->path[0]);
                    }
                }
                state = St::kPath;
                --p;
            }
            break;
        case St::kFileHost:
            if (c == kEnd || c == '/' || c == '\\' || c == '?' || c == '#') {
                --p;
                if (IsWindowsDriveLetter(buffer)) {
                    state = St::kPath;
                } else if (buffer.empty()) {
                    url.host = u"";
                    state = St::kPathStart;
                } else {
                    auto host = ParseHost(buffer, true);
                    if (!host) return std::nullopt;
                    url.host = *host == u"localhost" ? u"" : *host;
                    buffer.clear();
                    state = St::kPathStart;
                }
            } else {
                buffer.push_back(static_cast<char16_t>(c));
            }
            break;
        case St::kPathStart:
            if (special) {
                state = St::kPath;
                if (c != '/' && c != '\\') --p;
            } else if (c == '?') {
                url.query = u"";
                state = St::kQuery;
            } else if (c == '#') {
                url.fragment = u"";
                state = St::kFragment;
            } else if (c != kEnd) {
                state = St::kPath;
                if (c != '/') --p;
            }
            break;
        case St::kPath:
            if (c == kEnd || c == '/' || (special && c == '\\') || c == '?' || c == '#') {
                const bool slash = c == '/' || (special && c == '\\');
                if (IsDoubleDot(buffer)) {
                    ShortenPath(url);
                    if (!slash) url.path.emplace_back();
                } else if (IsSingleDot(buffer) && !slash) {
                    url.path.emplace_back();
                } else if (!IsSingleDot(buffer)) {
                    if (url.scheme == u"file" && url.path.empty() && IsWindowsDriveLetter(buffer)) {
                        buffer[1] = ':';
                    }
                    url.path.push_back(std::move(buffer));
                }
                buffer.clear();
                if (c == '?') {
                    url.query = u"";
                    state = St::kQuery;
                } else if (c == '#') {
                    url.fragment = u"";
                    state = St::kFragment;
                }
            } else {
                AppendEncoded(buffer, static_cast<char16_t>(c), kPath);
                // The plain characters that follow, in one go.
                std::ptrdiff_t q = p + 1;
                while (q < n) {
                    const char16_t d = in[static_cast<std::size_t>(q)];
                    if (d == '/' || d == '\\' || d == '?' || d == '#' || d == '%' || InSet(d, kPath)) break;
                    ++q;
                }
                buffer.append(in.substr(static_cast<std::size_t>(p + 1), static_cast<std::size_t>(q - p - 1)));
                p = q - 1;
            }
            break;
        case St::kOpaquePath:
            if (c == '?') {
                url.query = u"";
                state = St::kQuery;
            } else if (c == '#') {
                url.fragment = u"";
                state = St::kFragment;
            } else if (c != kEnd) {
                AppendEncoded(url.path[0], static_cast<char16_t>(c), kC0);
            }
            break;
        case St::kQuery:
            if (c == '#' || c == kEnd) {
                if (c == '#') {
                    url.fragment = u"";
                    state = St::kFragment;
                }
            } else {
                const EncodeSet set = special ? kSpecialQuery : kQuery;
                AppendEncoded(*url.query, static_cast<char16_t>(c), set);
                p = AppendPlainRun(*url.query, in, p + 1, set, u'#') - 1;
            }
            break;
        case St::kFragment:
            if (c != kEnd) {
                AppendEncoded(*url.fragment, static_cast<char16_t>(c), kFragment);
                p = AppendPlainRun(*url.fragment, in, p + 1, kFragment, 0) - 1;
            }
            break;
        }
        if (c == kEnd && p >= n) break;
    }
    return url;
}

namespace {

// Characters that a path, query or fragment keeps as they are, in every
// part (no percent-encoding, no "\\" turned into "/", nothing dropped).
// "%" is among them; "%2e" is looked at separately.
struct VerbatimChars {
    bool ok[128] = {};
    VerbatimChars()
    {
        for (char c = '0'; c <= '9'; ++c) ok[static_cast<unsigned char>(c)] = true;
        for (char c = 'a'; c <= 'z'; ++c) ok[static_cast<unsigned char>(c)] = true;
        for (char c = 'A'; c <= 'Z'; ++c) ok[static_cast<unsigned char>(c)] = true;
        for (const char* p = "-._~!$&()*+,;=:@/?#%"; *p != 0; ++p) ok[static_cast<unsigned char>(*p)] = true;
    }
};

// The common link in a selection, "/path?query#fragment" under an http or
// https page, needs no parser: the result is the base's origin followed by
// the href as written. Anything that the parser would change (dot
// segments, characters it encodes, "//", "\\", spaces) is left to it.
bool IsVerbatimPathAbsolute(std::u16string_view href)
{
    if (href.empty() || href[0] != u'/') return false;
    if (href.size() > 1 && href[1] == u'/') return false;
    static const VerbatimChars verbatim;
    bool inPath = true;
    for (std::size_t i = 0; i < href.size(); ++i) {
        const char16_t c = href[i];
        if (c >= 128 || !verbatim.ok[c]) return false;
        if (!inPath) continue;
        if (c == u'?' || c == u'#') {
            inPath = false;
        } else if (c == u'.' && href[i - 1] == u'/') {
            return false;   // possibly "." or ".."
        } else if (c == u'%' && i + 2 < href.size() && href[i + 1] == u'2' && (href[i + 2] == u'e' || href[i + 2] == u'E')) {
            return false;   // possibly an encoded dot segment
        }
    }
    return true;
}

}  // namespace

HrefResolver::HrefResolver(const std::optional<Url>& base) : m_base(base)
{
    if (base && base->host && !base->opaquePath && (base->scheme == u"http" || base->scheme == u"https")) {
        m_fast = true;
        AppendOrigin(*base, m_origin);
    }
}

void HrefResolver::Append(std::u16string& out, std::u16string_view href) const
{
    std::size_t a = 0, b = href.size();
    while (a < b && href[a] <= 0x20) ++a;
    while (b > a && href[b - 1] <= 0x20) --b;
    const std::u16string_view trimmed = href.substr(a, b - a);
    if (m_fast && IsVerbatimPathAbsolute(trimmed)) {
        out += m_origin;
        out.append(trimmed);
        return;
    }
    const std::optional<Url> url = ParseUrl(trimmed, m_base ? &*m_base : nullptr);
    if (url) {
        out += url->Serialize();
        return;
    }
    // As written, but without the tabs and line breaks that the parser
    // ignores too: a link stays on its one line.
    for (char16_t c : trimmed) {
        if (c != u'\t' && c != u'\n' && c != u'\r') out.push_back(c);
    }
}

void AppendResolvedHref(std::u16string& out, std::u16string_view href, const std::optional<Url>& base)
{
    HrefResolver(base).Append(out, href);
}

std::u16string ResolveHref(std::u16string_view href, const std::optional<Url>& base)
{
    std::u16string out;
    AppendResolvedHref(out, href, base);
    return out;
}

// Only for tests: the same without the shortcut for common links.
std::u16string ResolveHrefByParser(std::u16string_view href, const std::optional<Url>& base)
{
    std::size_t a = 0, b = href.size();
    while (a < b && href[a] <= 0x20) ++a;
    while (b > a && href[b - 1] <= 0x20) --b;
    const std::u16string_view trimmed = href.substr(a, b - a);
    const std::optional<Url> url = ParseUrl(trimmed, base ? &*base : nullptr);
    if (url) return url->Serialize();
    std::u16string written;
    for (char16_t c : trimmed) {
        if (c != u'\t' && c != u'\n' && c != u'\r') written.push_back(c);
    }
    return written;
}

}  // namespace html
