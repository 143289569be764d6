// The find and replace core on a page of 1,000,000 characters with 50,000
// occurrences: counting, one search, and Replace All in one pass.
#include <benchmark/benchmark.h>

#include <string>

#include "notes/find_replace.h"

namespace {

std::u16string BigPage()
{
    std::u16string line;
    for (int i = 0; i < 4; ++i)
        line += u"foo0123456789abcd";
    line += u"0123456789\r\n";
    std::u16string text;
    while (text.size() < 1000000)
        text += line;
    return text;
}

const findtext::ExactComparer kExact;

void BM_CountOccurrences(benchmark::State& state)
{
    std::u16string text = BigPage();
    for (auto _ : state)
        benchmark::DoNotOptimize(findtext::CountOccurrences(text, u"foo", kExact));
}
BENCHMARK(BM_CountOccurrences)->Unit(benchmark::kMillisecond);

void BM_SearchFromTheMiddle(benchmark::State& state)
{
    std::u16string text = BigPage();
    findtext::Selection sel{500000, 500000};
    for (auto _ : state)
        benchmark::DoNotOptimize(findtext::Search(text, sel, u"foo", true, kExact));
}
BENCHMARK(BM_SearchFromTheMiddle);

void BM_ReplaceAll(benchmark::State& state)
{
    std::u16string text = BigPage();
    for (auto _ : state) {
        auto r = findtext::ReplaceAll(text, findtext::Selection{0, 0}, u"foo", u"barbaz", kExact);
        benchmark::DoNotOptimize(r.text.data());
    }
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);

}  // namespace
