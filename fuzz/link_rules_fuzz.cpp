// The browser command line is built from a registry value that any program
// may have written, and the link's error text from any shell result: both
// must take every input without harm.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/link_rules.h"
#include "app/shell_paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // UTF-16 code units from pairs of bytes; the first unit splits command
    // and target.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    size_t split = text.empty() ? 0 : text[0] % (text.size() + 1);
    std::wstring command = text.substr(0, split);
    std::wstring target = text.substr(split);

    std::wstring line = hyperlink::BrowserCommandLine(command, target);
    if (line.size() > command.size() + target.size() + 1)
        __builtin_trap();

    long long code = 0;
    for (size_t i = 0; i < size && i < 8; ++i)
        code = (code << 8) | data[i];
    if (hyperlink::ErrorText(code).empty())
        __builtin_trap();

    shellpaths::RunValueForPath(text);
    shellpaths::ShortcutFileName(text);
    shellpaths::GuidePath(text);
    shellpaths::FolderOf(text);
    return 0;
}
