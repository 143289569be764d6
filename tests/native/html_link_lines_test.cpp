// From clipboard HTML to the lines a browser drop inserts.
#include <gtest/gtest.h>

#include <string>

#include "html/cf_html.h"
#include "html/link_lines.h"
#include "html/utf8.h"

namespace {

std::string Clipboard(const std::string& sourceUrl, const std::string& fragment)
{
    std::string header = "Version:0.9\r\nStartHTML:00000000\r\nEndHTML:00000000\r\nStartFragment:00000000\r\nEndFragment:00000000\r\n";
    if (!sourceUrl.empty()) header += "SourceURL:" + sourceUrl + "\r\n";
    return header + "<html><body>\r\n<!--StartFragment-->" + fragment + "<!--EndFragment-->\r\n</body>\r\n</html>";
}

std::string Lines(const std::string& bytes, bool text)
{
    return html::Utf16ToUtf8(html::LinkLines(html::DecodeClipboardHtml(bytes),
                                             text ? html::LinkMode::kTextAndAddresses : html::LinkMode::kAddresses));
}

TEST(HtmlLinkLines, ThreeLinksGiveThreeLinesInDocumentOrder)
{
    const std::string cb = Clipboard("", "<a href=\"http://a/1\">One</a> <b><a href=\"http://a/2\">Two</a></b><p><a href=\"http://a/3\">Three</a>");
    EXPECT_EQ(Lines(cb, false), "http://a/1\r\nhttp://a/2\r\nhttp://a/3\r\n");
    EXPECT_EQ(Lines(cb, true), "One\thttp://a/1\r\nTwo\thttp://a/2\r\nThree\thttp://a/3\r\n");
}

TEST(HtmlLinkLines, RelativeLinksResolveAgainstTheSourceAddress)
{
    const std::string cb = Clipboard("http://site/folder/", "<a href=\"file.html\">f</a><a href=\"#name\">n</a>");
    EXPECT_EQ(Lines(cb, false), "http://site/folder/file.html\r\nhttp://site/folder/#name\r\n");
}

TEST(HtmlLinkLines, BaseElementComesBeforeTheSourceAddress)
{
    const std::string cb = Clipboard("http://site/a/page.html", "<base href=\"/other/\"><a href=\"x\">x</a>");
    EXPECT_EQ(Lines(cb, false), "http://site/other/x\r\n");
}

TEST(HtmlLinkLines, JavascriptOrDataBaseLeavesTheSourceAddressInCharge)
{
    const std::string js = Clipboard("https://www.example.cn/news/1697",
                                     "<base href=\"javascript:void(0)\"><a href=\"../1698#top\">t</a>"
                                     "<a href=\"#cite_note-34\">c</a><a href=\"https://o/\">o</a>");
    EXPECT_EQ(Lines(js, false),
              "https://www.example.cn/1698#top\r\nhttps://www.example.cn/news/1697#cite_note-34\r\nhttps://o/\r\n");

    const std::string data = Clipboard("https://www.example.cn/docs/guide/page.html",
                                       "<base href=\"data:text/html,foo\"><a href=\"x\">x</a>");
    EXPECT_EQ(Lines(data, false), "https://www.example.cn/docs/guide/x\r\n");

    // The scheme is the parsed one: case, surrounding spaces and tabs inside
    // do not hide it.
    for (const char* href : {" JavaScript:void(0) ", "java&#9;script:x", "DATA:,"}) {
        const std::string cb = Clipboard("http://h/a/b", std::string("<base href=\"") + href + "\"><a href=\"c\">c</a>");
        EXPECT_EQ(Lines(cb, false), "http://h/a/c\r\n") << href;
    }
}

TEST(HtmlLinkLines, OnlyTheFirstBaseWithAnAddressCounts)
{
    // Once the first one is set aside, the source address stands; a later
    // good base does not step in.
    const std::string cb = Clipboard("http://h/a/b", "<base target=\"_top\"><base href=\"javascript:void(0)\">"
                                                     "<base href=\"http://other/\"><a href=\"c\">c</a>");
    EXPECT_EQ(Lines(cb, false), "http://h/a/c\r\n");
    // An address that cannot be parsed is set aside the same way.
    EXPECT_EQ(Lines(Clipboard("http://h/a/b", "<base href=\"http://[::\"><base href=\"/z/\"><a href=\"c\">c</a>"), false),
              "http://h/a/c\r\n");
}

TEST(HtmlLinkLines, JavascriptBaseWithoutSourceAddressLeavesLinksAsWritten)
{
    const std::string cb = Clipboard("", "<base href=\"javascript:void(0)\"><a href=\"../1698#top\">t</a>"
                                         "<a href=\"#cite_note-34\">c</a>");
    EXPECT_EQ(Lines(cb, false), "../1698#top\r\n#cite_note-34\r\n");
    EXPECT_EQ(Lines(Clipboard("", "<base href=\"data:text/html,foo\"><a href=\"x\">x</a>"), false), "x\r\n");
    // A base that is a real address still counts without a source address.
    EXPECT_EQ(Lines(Clipboard("", "<base href=\"http://h/d/\"><a href=\"x\">x</a>"), false), "http://h/d/x\r\n");
}

TEST(HtmlLinkLines, WithoutSourceAddressLinksStayAsWritten)
{
    const std::string cb = Clipboard("", "<a href=\" rel/x.html \">r</a><a href=\"HTTP://H\">h</a>");
    EXPECT_EQ(Lines(cb, false), "rel/x.html\r\nhttp://h/\r\n");
}

TEST(HtmlLinkLines, SourceUrlAfterTheFirstTagIsIgnored)
{
    const std::string bytes = "Version:0.9\r\n<html>SourceURL:http://late/\r\n<a href=\"x\">x</a></html>";
    EXPECT_EQ(Lines(bytes, false), "x\r\n");
    EXPECT_EQ(html::FindSourceUrl(u"SourceURL:http://h/\r\n<p>"), std::u16string(u"http://h/"));
    EXPECT_FALSE(html::FindSourceUrl(u"SourceURL:http://h/").has_value());
    EXPECT_FALSE(html::FindSourceUrl(u"SourceURL:http://h/<p>").has_value());
}

TEST(HtmlLinkLines, AnchorWithoutAddressGivesAnEmptyAddress)
{
    const std::string cb = Clipboard("http://h/", "<a name=\"x\">Named</a>");
    EXPECT_EQ(Lines(cb, false), "\r\n");
    EXPECT_EQ(Lines(cb, true), "Named\t\r\n");
    EXPECT_EQ(Lines(Clipboard("", "<p>no links</p>"), true), "");
}

TEST(HtmlLinkLines, LinkTextIsOneRenderedLine)
{
    const std::string cb = Clipboard("", "<a href=\"u\">\n  Line one<br>line\ttwo<div>block</div><script>x()</script><style>p{}</style>end </a>");
    EXPECT_EQ(Lines(cb, true), "Line one line two block end\tu\r\n");
}

TEST(HtmlLinkLines, SourceUrlThatIsNotAnAddressLeavesLinksAsWritten)
{
    const std::string cb = Clipboard("not a url", "<a href=\"x.html\">x</a><a href=\"http://h/y\">y</a>");
    EXPECT_EQ(Lines(cb, false), "x.html\r\nhttp://h/y\r\n");
}

TEST(HtmlLinkLines, InvalidUtf8AndNulAreSafe)
{
    std::string cb = Clipboard("http://h/", "<a href=\"a\xff\xfe.html\">bad \xc3(</a>");
    // U+FFFD is kept as it is (non-ASCII), so the address reads back as written.
    EXPECT_EQ(Lines(cb, true), "bad \xEF\xBF\xBD(\thttp://h/a\xEF\xBF\xBD\xEF\xBF\xBD.html\r\n");
    // The clipboard's data ends at its first NUL.
    std::string withNul = Clipboard("", "<a href=\"1\">1</a>");
    withNul += std::string("\0<a href=\"2\">2</a>", 18);
    EXPECT_EQ(Lines(withNul, false), "1\r\n");
}

TEST(HtmlLinkLines, Utf8DecoderReplacesEachMaximalInvalidSubpart)
{
    EXPECT_EQ(html::Utf8ToUtf16("a\xF0\x9F\x98\x80z"), std::u16string(u"a\U0001F600z"));
    EXPECT_EQ(html::Utf8ToUtf16("\xF0\x9F\x98"), std::u16string(u"\xFFFD"));
    EXPECT_EQ(html::Utf8ToUtf16("\xED\xA0\x80"), std::u16string(u"\xFFFD\xFFFD\xFFFD"));
    EXPECT_EQ(html::Utf8ToUtf16("\xC0\xAF"), std::u16string(u"\xFFFD\xFFFD"));
    EXPECT_EQ(html::Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

TEST(HtmlLinkLines, CharacterReferencesFollowTheStandard)
{
    const std::string cb = Clipboard("", "<a href=\"?a=1&copy=2&amp;b&#x41;\">&copy;&copy &notin; &notit; &#128; &#0; &#x1F600;</a>");
    EXPECT_EQ(Lines(cb, true), "\xC2\xA9\xC2\xA9 \xE2\x88\x89 \xC2\xACit; \xE2\x82\xAC \xEF\xBF\xBD \xF0\x9F\x98\x80\t?a=1&copy=2&bA\r\n");
}

}  // namespace
