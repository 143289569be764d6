// Hostile clipboard payloads: huge, deep, broken or malformed input must
// give sound output in bounded time and memory, never a crash.
#include <gtest/gtest.h>

#include <string>

#include "html/cf_html.h"
#include "html/dom.h"
#include "html/link_lines.h"
#include "html/utf8.h"

namespace {

std::u16string Convert(const std::string& bytes, bool text = false)
{
    return html::LinkLines(html::DecodeClipboardHtml(bytes),
                           text ? html::LinkMode::kTextAndAddresses : html::LinkMode::kAddresses);
}

// Every line ends in CR LF and holds no other line break; in text mode
// exactly one TAB separates text and address.
void ExpectWellFormed(const std::u16string& out, bool text)
{
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find(u"\r\n", start);
        ASSERT_NE(end, std::u16string::npos) << "last line without CR LF";
        const std::u16string_view line(out.data() + start, end - start);
        EXPECT_EQ(line.find_first_of(u"\r\n"), std::u16string_view::npos);
        if (text) {
            EXPECT_NE(line.find(u'\t'), std::u16string_view::npos);
        }
        start = end + 2;
    }
}

std::size_t LineCount(const std::u16string& out)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == u'\r' && out[i + 1] == u'\n') ++n;
    }
    return n;
}

TEST(HtmlHostile, FiftyMegabytesOfNestedTags)
{
    std::string bytes;
    bytes.reserve(50u << 20);
    while (bytes.size() < (50u << 20)) bytes += "<div><span>";
    bytes += "<a href=\"http://h/deep\">deep</a>";
    const std::u16string out = Convert(bytes, true);
    // Beyond the depth limit browsers hang new nodes on an ancestor, so the
    // link's text lands beside it; the link itself comes out.
    EXPECT_EQ(out, u"\thttp://h/deep\r\n");
}

TEST(HtmlHostile, HundredThousandUnclosedAnchors)
{
    std::string bytes = "SourceURL:http://h/\r\n<p>";
    for (int i = 0; i < 100000; ++i) bytes += "<a href=\"" + std::to_string(i) + "\">t" + std::to_string(i);
    const std::u16string out = Convert(bytes, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 100000u);
    EXPECT_EQ(out.substr(0, 15), u"t0\thttp://h/0\r\n");
}

TEST(HtmlHostile, OneTagWithTwoHundredThousandAttributes)
{
    // About 1.9 MB; the first of two equal names counts, however far apart.
    std::string bytes = "SourceURL:http://h/d/\r\n<p><a href=\"first\"";
    for (int i = 0; i < 200000; ++i) bytes += " a" + std::to_string(i) + "=1";
    bytes += " HREF=\"second\" href='third'>t</a>";
    EXPECT_EQ(Convert(bytes, true), u"t\thttp://h/d/first\r\n");

    // The same name again and again, and new names between repeats.
    std::string repeats = "<a href=x";
    for (int i = 0; i < 300000; ++i) repeats += i % 3 == 0 ? " n" + std::to_string(i) : std::string(" href=y");
    repeats += ">t</a>";
    EXPECT_EQ(Convert(repeats, true), u"t\tx\r\n");
}

std::string ManyAttributes(int n, const std::string& last = "")
{
    std::string s;
    for (int i = 0; i < n; ++i) s += " a" + std::to_string(i) + "=v";
    return s + last;
}

TEST(HtmlHostile, AnchorWithManyAttributesMadeAgainInEveryParagraph)
{
    // The anchor is made again in every paragraph (reconstructed), and
    // each clone keeps the anchor's address.
    std::string bytes = "SourceURL:http://h/\r\n<p><a href=\"h\"" + ManyAttributes(100000) + ">x</p>";
    for (int i = 0; i < 100000; ++i) bytes += "<p>y";
    const std::u16string out = Convert(bytes, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 100001u);
    EXPECT_TRUE(out.starts_with(u"x\thttp://h/h\r\ny\thttp://h/h\r\n"));
    EXPECT_TRUE(out.ends_with(u"\r\ny\thttp://h/h\r\n"));
}

// How many <font>s the text of the last paragraph is nested in: the
// formatting elements that were made again for it.
std::size_t ReconstructedFonts(const std::string& markup)
{
    html::Document doc;
    html::Parse(html::Utf8ToUtf16(markup), doc);
    const html::Node* body = doc.Root()->first->last;
    std::size_t fonts = 0;
    for (const html::Node* f = body->last->first; f != nullptr && f->Is(html::tag::kFont); f = f->first) ++fonts;
    return fonts;
}

TEST(HtmlHostile, NoahsArkOverElementsWithThousandsOfAttributes)
{
    // Ten equal <font>s (the same attributes, in two orders): only three
    // are kept and made again in the next paragraph.
    std::string forward = "<font" + ManyAttributes(3000) + ">";
    std::string backward = "<font";
    for (int i = 3000; i-- > 0;) backward += " a" + std::to_string(i) + "=v";
    backward += ">";
    std::string equal = "<p>";
    for (int i = 0; i < 5; ++i) equal += forward + backward;
    EXPECT_EQ(ReconstructedFonts(equal + "</p><p>x"), 3u);

    // Lists that differ in one value, or in having one attribute more, are
    // all kept.
    std::string differing = "<p>";
    for (int i = 0; i < 10; ++i) differing += "<font" + ManyAttributes(3000, " z=" + std::to_string(i)) + ">";
    differing += "<font" + ManyAttributes(3000) + "><font" + ManyAttributes(3001) + ">";
    EXPECT_EQ(ReconstructedFonts(differing + "</p><p>x"), 12u);
}

TEST(HtmlHostile, DeeplyNestedTablesAndTemplates)
{
    std::string tables;
    for (int i = 0; i < 100000; ++i) tables += "<table><tr><td>";
    tables += "<a href=\"x\">in</a>";
    EXPECT_EQ(Convert(tables), u"x\r\n");

    std::string templates;
    for (int i = 0; i < 100000; ++i) templates += "<template>";
    templates += "<a href=\"hidden\">h</a>";
    EXPECT_EQ(Convert(templates), u"");

    std::string objects;   // markers let anchors nest inside anchors
    for (int i = 0; i < 20000; ++i) objects += "<a href=\"" + std::to_string(i) + "\">x<object>";
    const std::u16string out = Convert(objects, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 20000u);
}

TEST(HtmlHostile, NestedAnchorsDoNotRepeatTheWholePageInEveryLine)
{
    // 300 anchors, each inside the one before (objects let them nest),
    // then nearly 2 MB of text: every link's text would hold all of it.
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes += "<a href=\"" + std::to_string(i) + "\">x<object>";
    while (bytes.size() < 1900000) bytes += "word ";
    const std::u16string out = Convert(bytes, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 300u);
    const std::size_t firstLine = out.find(u'\t');
    EXPECT_GT(firstLine, 16000u);      // the text, cut short of the whole page
    EXPECT_LE(firstLine, 16384u);
    EXPECT_NE(out[firstLine - 1], u' ');
    EXPECT_LT(out.size(), 300u * 16400u);
    EXPECT_NE(out.substr(0, firstLine).find(u"xxxword word"), std::u16string::npos);
    // Beyond the depth limit anchors hang beside their text, as before.
    EXPECT_TRUE(out.ends_with(u"\r\n\t299\r\n"));
}

TEST(HtmlHostile, CutLinkTextKeepsSurrogatePairsWhole)
{
    // "a" and then characters outside the BMP: the cut would fall between
    // the two halves of one of them.
    std::string bytes = "<a href=x>a";
    for (int i = 0; i < 20000; ++i) bytes += "\xF0\xA0\x80\x80";
    bytes += "</a>";
    const std::u16string out = Convert(bytes, true);
    const std::size_t tab = out.find(u'\t');
    ASSERT_NE(tab, std::u16string::npos);
    EXPECT_EQ(tab % 2, 1u);            // "a" and whole pairs
    EXPECT_TRUE(out[tab - 1] >= 0xDC00 && out[tab - 1] <= 0xDFFF);
    EXPECT_GT(tab, 16000u);
}

TEST(HtmlHostile, AnchorOverManyEmptyElementsStopsLookingForText)
{
    // The text of a link is looked for in a bounded number of nodes.
    std::string bytes = "<a href=x>head";
    for (int i = 0; i < 100000; ++i) bytes += "<i></i>";
    bytes += "tail</a><a href=y>next</a>";
    EXPECT_EQ(Convert(bytes, true), u"head\tx\r\nnext\ty\r\n");
}

std::string Repeat(const std::string& unit, std::size_t times)
{
    std::string s;
    s.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i) s += unit;
    return s;
}

// Numbered copies of unit, whose "{}" stands for the number.
std::string Numbered(const std::string& unit, int times)
{
    const std::size_t at = unit.find("{}");
    std::string s;
    for (int i = 0; i < times; ++i) s += unit.substr(0, at) + std::to_string(i) + unit.substr(at + 2);
    return s;
}

TEST(HtmlHostile, ManyOpenElementsAndATagThatAsksAboutThemAgainAndAgain)
{
    // Elements opened by the hundred thousand, then one tag repeated that
    // looks for an element in scope, for a list item, for the end of a
    // formatting element...: all of it inside a table cell, so that the
    // table's end closes it all and the link after it is an ordinary one.
    const struct {
        std::string open;
        std::string repeat;
    } cases[] = {
        {"<p><button>" + Repeat("<span>", 100000), "</p>"},
        {"<ruby>" + Repeat("<span>", 100000), "<rt>"},
        {"<li><button>" + Repeat("<div>", 100000), "<li></li>"},
        {"<li><ul>" + Repeat("<span>", 100000), "</li>"},
        {"<dd><button>" + Repeat("<div>", 100000), "<dd></dd>"},
        {"<div><object>" + Repeat("<span>", 100000), "</div>"},
        {Repeat("<div>", 100000), "x</body>"},
        {"<b>" + Repeat("<div>", 100000), "</b>"},
        {"<b>" + Repeat("<span><div>", 50000), "</b>"},
        {Repeat("<span>", 100000), "</x>"},
        {"<svg>" + Repeat("<g>", 100000), "</g2>"},
        {Numbered("<i id={}>", 100000), "<a></a>"},
        {"<b><object>" + Numbered("<p><i id={}></p>", 50000), "</b>"},
        {"<b>" + Numbered("<i id={}>", 100000), "<table>x</table>"},
        {Repeat("<div>", 400) + "<table>", "x<i></i>"},
    };
    for (const auto& c : cases) {
        const std::size_t times = 1500000 / c.repeat.size();
        const std::string bytes = "<table><tr><td>" + c.open + Repeat(c.repeat, times) + "</table><a href=\"x\">y</a>";
        const std::u16string out = Convert(bytes, true);
        const std::size_t anchors = c.repeat.find("<a>") != std::string::npos ? times : 0;
        const bool right = LineCount(out) == anchors + 1 && (out == u"y\tx\r\n" || out.ends_with(u"\r\ny\tx\r\n"));
        EXPECT_TRUE(right) << c.open.substr(0, 20) << " " << c.repeat << ": " << LineCount(out) << " lines";
    }
}

TEST(HtmlHostile, ElementsBeyondTheOpenLimitStillComeOut)
{
    // Beyond the limit elements are no longer opened, but they are in the
    // document: anchors come out, their text beside them, as beyond the
    // depth limit.
    std::string bytes = "SourceURL:http://h/\r\n" + Repeat("<span>", 1000);
    for (int i = 0; i < 1000; ++i) bytes += "<a href=\"" + std::to_string(i) + "\">t</a>";
    bytes += Repeat("</span>", 1000) + "<a href=\"last\">l</a>";
    const std::u16string out = Convert(bytes, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 1001u);
    EXPECT_TRUE(out.starts_with(u"\thttp://h/0\r\n\thttp://h/1\r\n"));
    EXPECT_TRUE(out.ends_with(u"\thttp://h/999\r\nl\thttp://h/last\r\n"));

    // Formatting elements beyond the limit are not made again either.
    html::Document doc;
    html::Parse(html::Utf8ToUtf16(Repeat("<b>", 100000) + "<p>x</p>" + Repeat("<p>y</p>", 1000)), doc);
    EXPECT_LT(doc.NodeCount(), 20000u + 100000u);
}

TEST(HtmlHostile, FormattingElementsCannotMultiplyWithoutBound)
{
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += "<b id=" + std::to_string(i) + ">";
    for (int i = 0; i < 3000; ++i) bytes += "<table><td>x</table>x</b>";
    html::Document doc;
    html::Parse(html::Utf8ToUtf16(bytes), doc);
    EXPECT_LT(doc.NodeCount(), 2 * bytes.size() + 100001);
}

TEST(HtmlHostile, InvalidUtf8NulsAndControlCharacters)
{
    std::string bytes = "SourceURL:http://h/\r\n<a href=\"\xff\x01x\">\xc3\x28\x80</a>";
    bytes += std::string("<a href=a\0b>c</a>", 18);
    const std::u16string out = Convert(bytes, true);
    ExpectWellFormed(out, true);
    EXPECT_EQ(LineCount(out), 1u);   // the data ends at the NUL

    std::string controls = "<a href=\"x\">a\x0b\x0c\x1b" "b</a><a href=\"&#0;&#x0d;&#10;\">c</a>";
    const std::u16string out2 = Convert(controls, true);
    ExpectWellFormed(out2, true);
    EXPECT_EQ(LineCount(out2), 2u);
}

TEST(HtmlHostile, TruncatedHeaderAndSourceUrlThatIsNoAddress)
{
    EXPECT_EQ(Convert("Version:0.9\r\nStartHTML:000"), u"");
    EXPECT_EQ(Convert("Version:0.9\r\nSourceURL:http://h"), u"");
    EXPECT_EQ(Convert("SourceURL:<a href=x>y</a>"), u"x\r\n");
    EXPECT_EQ(Convert("SourceURL:::://\r\n<a href=\"x\">y</a>"), u"x\r\n");
    EXPECT_EQ(Convert("SourceURL:javascript:alert(1)\r\n<a href=\"x\">y</a><a href=\"#f\">z</a>"),
              u"x\r\njavascript:alert(1)#f\r\n");
    EXPECT_EQ(Convert(""), u"");
}

}  // namespace
