// jotlinks: what a browser drop inserts into a page, from a file that holds
// a clipboard "HTML Format" payload (UTF-8, header lines and all).
//
//   jotlinks FILE           one address per link (the "URL" choice)
//   jotlinks --text FILE    link text, TAB, address (the "文字＋URL" choice)
//
// Output is UTF-8 with lines ending in CR LF. Usage errors and unreadable
// files: one line on stderr, exit status 2. Any content gives output.

#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "html/cf_html.h"
#include "html/link_lines.h"
#include "html/utf8.h"

namespace {

constexpr int kExitUsage = 2;

int Fail(const char* message, const char* detail = "")
{
    std::fprintf(stderr, "jotlinks: %s%s\n", message, detail);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv)
{
    bool text = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--text") == 0 && !text) {
            text = true;
        } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
            return Fail("unknown option ", argv[i]);
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            return Fail("usage: jotlinks [--text] FILE");
        }
    }
    if (path == nullptr) {
        return Fail("usage: jotlinks [--text] FILE");
    }
    std::FILE* f = std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb");
    if (f == nullptr) {
        return Fail("cannot read ", path);
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
    if (f == stdin) _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.append(buffer, n);
    }
    const bool readError = std::ferror(f) != 0;
    if (f != stdin) std::fclose(f);
    if (readError) {
        return Fail("cannot read ", path);
    }
    const std::u16string lines = html::LinkLines(
        html::DecodeClipboardHtml(bytes), text ? html::LinkMode::kTextAndAddresses : html::LinkMode::kAddresses);
    const std::string out = html::Utf16ToUtf8(lines);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
