// The HTML engine on browser clipboard payloads with 2,000 links: a plain
// list of them (about 200 KB; goal: under 2 ms) and the same list with a
// comment count beside each link (about 250 KB); and a large page for
// throughput (bytes per second are reported).
#include <benchmark/benchmark.h>

#include <string>

#include "html/cf_html.h"
#include "html/link_lines.h"
#include "html/url.h"

namespace {

std::string Header()
{
    return "Version:0.9\r\nStartHTML:00000000\r\nEndHTML:00000000\r\nStartFragment:00000000\r\n"
           "EndFragment:00000000\r\nSourceURL:https://news.example.com/section/index.html\r\n";
}

// A news-list shaped selection: list items with a link, markup around it,
// and with `comments` a count beside each link.
std::string ClipboardWithLinks(int links, bool comments)
{
    std::string body = "<html><body>\r\n<!--StartFragment--><div class=\"list\"><ul>";
    for (int i = 0; i < links; ++i) {
        const std::string n = std::to_string(i);
        body += "<li><a href=\"/articles/story-" + n + ".html?from=list&amp;n=" + n + "\">Story " + n +
                " about <b>news</b> today</a>" + (comments ? " <span>评论 " + n + "</span>" : std::string()) +
                "</li>\n";
    }
    body += "</ul></div><!--EndFragment-->\r\n</body>\r\n</html>";
    return Header() + body;
}

// A whole article page: paragraphs, tables, scripts, now and then a link.
std::string LargePage(std::size_t bytes)
{
    std::string body = "<!DOCTYPE html><html><head><title>t</title><style>p{margin:0}</style></head><body>";
    int i = 0;
    while (body.size() < bytes) {
        const std::string n = std::to_string(i++);
        body += "<p>Paragraph " + n + " with <em>some</em> text, &amp; entities &#x4E2D;&#25991; and a "
                "<a href=\"../p/" + n + "\">link " + n + "</a>.</p><table><tr><td>cell</td><td>" + n +
                "</td></tr></table><script>var x" + n + " = '<a href=nope>';</script>\n";
    }
    return Header() + body + "</body></html>";
}

void RunClipboard(benchmark::State& state, const std::string& bytes)
{
    for (auto _ : state) {
        std::u16string out = html::LinkLines(html::DecodeClipboardHtml(bytes), html::LinkMode::kTextAndAddresses);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["payload_KB"] = static_cast<double>(bytes.size()) / 1024.0;
}

void BM_ClipboardWith2000Links(benchmark::State& state)
{
    RunClipboard(state, ClipboardWithLinks(2000, false));
}
BENCHMARK(BM_ClipboardWith2000Links)->Unit(benchmark::kMillisecond);

void BM_ClipboardWith2000LinksAndComments(benchmark::State& state)
{
    RunClipboard(state, ClipboardWithLinks(2000, true));
}
BENCHMARK(BM_ClipboardWith2000LinksAndComments)->Unit(benchmark::kMillisecond);

void BM_LargePageThroughput(benchmark::State& state)
{
    const std::string bytes = LargePage(8u << 20);
    for (auto _ : state) {
        std::u16string out = html::LinkLines(html::DecodeClipboardHtml(bytes), html::LinkMode::kAddresses);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LargePageThroughput)->Unit(benchmark::kMillisecond);

void BM_ResolveRelativeHref(benchmark::State& state)
{
    const std::optional<html::Url> base = html::ParseUrl(u"https://news.example.com/section/a/index.html?x=1");
    for (auto _ : state) {
        std::u16string out = html::ResolveHref(u"../../articles/2026/story-123.html?from=list#top", base);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_ResolveRelativeHref);

}  // namespace
