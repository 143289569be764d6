// The HTML engine on browser clipboard payloads with 2,000 links: a plain
// list of them (about 200 KB; goal: under 2 ms) and the same list with a
// comment count beside each link (about 250 KB); a large page for
// throughput (bytes per second are reported); and hostile payloads of
// about 2 MB (goal: each well under a second).
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

// Hostile payloads of about 2 MB, the kind that once made a drop take
// seconds to minutes: each must convert (as jotlinks does, text and
// addresses) well within a second.
std::string Repeat(const std::string& unit, std::size_t bytes)
{
    std::string s;
    s.reserve(bytes + unit.size());
    while (s.size() < bytes) s += unit;
    return s;
}

// Copies of unit whose "#" stands for a running number, to about bytes.
std::string Numbered(const std::string& unit, std::size_t bytes)
{
    const std::size_t at = unit.find('#');
    std::string s;
    for (int i = 0; s.size() < bytes; ++i) s += unit.substr(0, at) + std::to_string(i) + unit.substr(at + 1);
    return s;
}

constexpr std::size_t kHostileBytes = 2000000;

std::string HostilePayload(int kind)
{
    const std::size_t half = kHostileBytes / 2;
    std::string body;
    switch (kind) {
    case 0:   // one start tag with 200,000 distinct attributes
        body = "<a href=\"x\"" + Numbered(" a#=1", kHostileBytes) + ">t</a>";
        break;
    case 1:   // the same attribute name again and again
        body = "<a href=\"x\"" + Repeat(" a", kHostileBytes) + ">t</a>";
        break;
    case 2:   // an anchor with 100,000 attributes made again in every paragraph
        body = "<p><a href=\"h\"" + Numbered(" a#=1", half) + ">x</p>" + Repeat("<p>y", half);
        break;
    case 3:   // Noah's Ark over lists of a thousand attributes
        body = Numbered("<b" + Numbered(" a#=1", 9000) + " z=#>", kHostileBytes);
        break;
    case 4:   // 300 nested anchors over the rest of the page
        body = Repeat("<a href=x>x<object>", 6000) + Repeat("word ", kHostileBytes - 6000);
        break;
    case 5:   // a <p> in button scope asked for behind 100,000 open elements
        body = "<p><button>" + Repeat("<span>", 600000) + Repeat("</p>", kHostileBytes - 600000);
        break;
    case 6:   // list items among 50,000 open <div>s
        body = "<li><button>" + Repeat("<div>", 250000) + Repeat("<li></li>", kHostileBytes - 250000);
        break;
    case 7:   // formatting elements by the hundred thousand, then anchors
        body = Numbered("<i id=#>", 600000) + Repeat("<a></a>", kHostileBytes - 600000);
        break;
    case 8:   // </b> again and again with the <b> behind a table
        body = "<b><table>" + Numbered("<i id=#>", 600000) + Repeat("</b>", kHostileBytes - 600000);
        break;
    case 9:   // a <b> with 100,000 <div>s above it, closed again and again
        body = "<b>" + Repeat("<div>", 500000) + Repeat("</b>", kHostileBytes - 500000);
        break;
    case 10:  // SVG elements 100,000 deep, then end tags of other names
        body = "<svg>" + Repeat("<g>", 300000) + Repeat("</q>", kHostileBytes - 300000);
        break;
    default:  // a very long href full of dot segments
        body = "<a href=\"" + Repeat("a/./b/../", kHostileBytes) + "\">t</a>";
        break;
    }
    return Header() + body + "<a href=\"last\">last</a>";
}

void BM_HostilePayload(benchmark::State& state)
{
    const std::string bytes = HostilePayload(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::u16string out = html::LinkLines(html::DecodeClipboardHtml(bytes), html::LinkMode::kTextAndAddresses);
        benchmark::DoNotOptimize(out);
    }
    state.counters["payload_KB"] = static_cast<double>(bytes.size()) / 1024.0;
}
BENCHMARK(BM_HostilePayload)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);

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
