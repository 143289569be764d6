// The tokenizer's two lanes on any input: plain tags read in one go and the
// state machine must give exactly the same tokens.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "html/tokenizer.h"
#include "html/utf8.h"

namespace {

bool SameToken(const html::Token& a, const html::Token& b)
{
    if (a.type != b.type || a.name != b.name || a.selfClosing != b.selfClosing || a.text != b.text ||
        a.attributes.size() != b.attributes.size())
        return false;
    for (std::size_t i = 0; i < a.attributes.size(); ++i) {
        if (a.attributes[i].name != b.attributes[i].name || a.attributes[i].value != b.attributes[i].value) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string input = html::Utf8ToUtf16(std::string(reinterpret_cast<const char*>(data), size));
    html::Tokenizer fast(input, true);
    html::Tokenizer slow(input, false);
    for (;;) {
        const html::Token& a = fast.Next();
        const html::Token& b = slow.Next();
        if (!SameToken(a, b)) std::abort();
        if (a.type == html::Token::kEof) break;
    }
    return 0;
}
