// The storage file codec on a big notebook: 50 pages of 200,000 characters
// in lines of 78, encoded and parsed back.
#include <benchmark/benchmark.h>

#include "notes/code_page.h"
#include "notes/storage_codec.h"

namespace {

class AsciiCodePage : public CodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override
    {
        return std::u16string(bytes.begin(), bytes.end());
    }
    std::string FromUtf16(std::u16string_view text) const override
    {
        return std::string(text.begin(), text.end());
    }
};

std::vector<storage::Page> BigNotebook()
{
    std::vector<storage::Page> pages;
    for (int p = 0; p < 50; ++p) {
        std::u16string body;
        while (body.size() < 200000) {
            body.append(78, static_cast<char16_t>(u'一' + p));
            body += u"\r\n";
        }
        body.resize(200000);
        pages.push_back({u"页" + std::u16string(1, static_cast<char16_t>(u'0' + p % 10)), body});
    }
    return pages;
}

void BM_EncodeNotebook(benchmark::State& state)
{
    const auto pages = BigNotebook();
    for (auto _ : state)
        benchmark::DoNotOptimize(storage::Encode(pages, storage::Form::Storage));
    state.SetBytesProcessed(state.iterations() * 50 * 200000 * 2);
}
BENCHMARK(BM_EncodeNotebook)->Unit(benchmark::kMillisecond);

void BM_ParseNotebook(benchmark::State& state)
{
    const std::string bytes = storage::Encode(BigNotebook(), storage::Form::Storage);
    const AsciiCodePage ansi;
    for (auto _ : state)
        benchmark::DoNotOptimize(storage::ParseFile(bytes, ansi));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseNotebook)->Unit(benchmark::kMillisecond);

}  // namespace
