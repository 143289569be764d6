#include "html/cf_html.h"

#include "html/utf8.h"

namespace html {

std::u16string DecodeClipboardHtml(std::string_view bytes)
{
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string_view::npos) {
        bytes = bytes.substr(0, nul);
    }
    return Utf8ToUtf16(bytes);
}

std::optional<std::u16string> FindSourceUrl(std::u16string_view text)
{
    const std::size_t lt = text.find(u'<');
    if (lt == std::u16string_view::npos) {
        return std::nullopt;
    }
    static constexpr std::u16string_view kKey = u"SourceURL:";
    const std::size_t key = text.substr(0, lt).find(kKey);
    if (key == std::u16string_view::npos) {
        return std::nullopt;
    }
    const std::size_t start = key + kKey.size();
    const std::size_t cr = text.find(u'\r', start);
    if (cr == std::u16string_view::npos) {
        return std::nullopt;
    }
    return std::u16string(text.substr(start, cr - start));
}

}  // namespace html
