// The URL parser on any base and href (split at the first line feed): no
// crash, no line break or tab in a result, and a parsed address reads back
// as itself (serialising is stable).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/url.h"
#include "html/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t lf = bytes.find('\n');
    const std::u16string baseText = html::Utf8ToUtf16(lf == std::string::npos ? std::string() : bytes.substr(0, lf));
    const std::u16string href = html::Utf8ToUtf16(lf == std::string::npos ? bytes : bytes.substr(lf + 1));

    std::optional<html::Url> base;
    if (lf != std::string::npos) base = html::ParseUrl(baseText);
    const std::u16string resolved = html::ResolveHref(href, base);
    if (resolved.find_first_of(u"\t\r\n") != std::u16string::npos) std::abort();

    if (const std::optional<html::Url> url = html::ParseUrl(href, base ? &*base : nullptr)) {
        const std::u16string once = url->Serialize();
        if (once != resolved) std::abort();
        const std::optional<html::Url> again = html::ParseUrl(once);
        if (!again || again->Serialize() != once) std::abort();
    }
    return 0;
}
