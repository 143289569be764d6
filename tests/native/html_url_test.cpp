// Address resolution as browsers do it, but readable: non-ASCII kept.
#include <gtest/gtest.h>

#include <string>

#include "html/url.h"
#include "html/utf8.h"

namespace {

std::string Resolve(const char* href, const char* base)
{
    std::optional<html::Url> b;
    if (base != nullptr) b = html::ParseUrl(html::Utf8ToUtf16(base));
    return html::Utf16ToUtf8(html::ResolveHref(html::Utf8ToUtf16(href), b));
}

TEST(HtmlUrl, RelativeReferencesResolveLikeBrowsers)
{
    const char* base = "http://a/b/c/d;p?q";
    // The RFC 3986 examples, as browsers give them.
    EXPECT_EQ(Resolve("g", base), "http://a/b/c/g");
    EXPECT_EQ(Resolve("./g", base), "http://a/b/c/g");
    EXPECT_EQ(Resolve("g/", base), "http://a/b/c/g/");
    EXPECT_EQ(Resolve("/g", base), "http://a/g");
    EXPECT_EQ(Resolve("//g", base), "http://g/");
    EXPECT_EQ(Resolve("?y", base), "http://a/b/c/d;p?y");
    EXPECT_EQ(Resolve("g?y", base), "http://a/b/c/g?y");
    EXPECT_EQ(Resolve("#s", base), "http://a/b/c/d;p?q#s");
    EXPECT_EQ(Resolve("g#s", base), "http://a/b/c/g#s");
    EXPECT_EQ(Resolve("", base), "http://a/b/c/d;p?q");
    EXPECT_EQ(Resolve(".", base), "http://a/b/c/");
    EXPECT_EQ(Resolve("..", base), "http://a/b/");
    EXPECT_EQ(Resolve("../g", base), "http://a/b/g");
    EXPECT_EQ(Resolve("../../../g", base), "http://a/g");
    EXPECT_EQ(Resolve("/./g", base), "http://a/g");
    EXPECT_EQ(Resolve("g.", base), "http://a/b/c/g.");
    EXPECT_EQ(Resolve("g;x=1/../y", base), "http://a/b/c/y");
    EXPECT_EQ(Resolve("http:g", base), "http://a/b/c/g");
}

TEST(HtmlUrl, SpecialSchemesTakeBackslashesAndDropDefaultPorts)
{
    EXPECT_EQ(Resolve("\\x\\y", "https://h/p/q"), "https://h/x/y");
    EXPECT_EQ(Resolve("HTTP://EXAMPLE.com:80/a/%2e%2E/b", nullptr), "http://example.com/b");
    EXPECT_EQ(Resolve("https://h:443/", nullptr), "https://h/");
    EXPECT_EQ(Resolve("https://h:8443", nullptr), "https://h:8443/");
    EXPECT_EQ(Resolve("http://user:pw@h/", nullptr), "http://user:pw@h/");
    EXPECT_EQ(Resolve("http://0x7f.1/", nullptr), "http://127.0.0.1/");
    EXPECT_EQ(Resolve("http://[0:0:0:0:0:0:0:1]/", nullptr), "http://[::1]/");
    EXPECT_EQ(Resolve("http://[2001:db8::1:0:0:1]:8080/", nullptr), "http://[2001:db8::1:0:0:1]:8080/");
}

TEST(HtmlUrl, NonAsciiStaysReadableAsciiIsEncodedAsBrowsersDo)
{
    EXPECT_EQ(Resolve("/路径/文件 名.html?查询=值 1#片段", "https://例子.测试/"),
              "https://例子.测试/路径/文件%20名.html?查询=值%201#片段");
    EXPECT_EQ(Resolve("a\"b<c>", "http://h/"), "http://h/a%22b%3Cc%3E");
    EXPECT_EQ(Resolve(" \t http://h/x\n\ty \r\n", nullptr), "http://h/xy");
}

TEST(HtmlUrl, OtherSchemesAndOpaquePaths)
{
    EXPECT_EQ(Resolve("mailto:someone@example.com", "http://h/"), "mailto:someone@example.com");
    EXPECT_EQ(Resolve("javascript:void(0)", "http://h/"), "javascript:void(0)");
    EXPECT_EQ(Resolve("foo://host/a/../b", nullptr), "foo://host/b");
    EXPECT_EQ(Resolve("file:///C:/dir/../x.txt", nullptr), "file:///C:/x.txt");
    EXPECT_EQ(Resolve("y.txt", "file:///C:/dir/x.txt"), "file:///C:/dir/y.txt");
}

TEST(HtmlUrl, WithoutBaseOrOnFailureTheHrefStaysAsWritten)
{
    EXPECT_EQ(Resolve("  page.html ", nullptr), "page.html");
    EXPECT_EQ(Resolve("#top", nullptr), "#top");
    EXPECT_EQ(Resolve("http://", nullptr), "http://");
    EXPECT_EQ(Resolve("http://a b/", nullptr), "http://a b/");
    EXPECT_EQ(Resolve("http://h:99999/", "http://x/"), "http://h:99999/");
    EXPECT_EQ(Resolve("x", "mailto:a@b"), "x");
    EXPECT_EQ(Resolve("a\nb\tc\r", nullptr), "abc");
}

TEST(HtmlUrl, VeryLongAddressesComeOutWhole)
{
    std::string href = "http://h/";
    href.append(100000, 'a');
    EXPECT_EQ(Resolve(href.c_str(), nullptr), href);
    std::string rel(50000, 'b');
    EXPECT_EQ(Resolve(rel.c_str(), "http://h/dir/"), "http://h/dir/" + rel);
}

TEST(HtmlUrl, ShortcutForRootRelativeLinksAgreesWithTheParser)
{
    // Root-relative links under http(s) pages skip the parser; every
    // href built here from characters that matter to it must come out
    // the same both ways.
    const char* bases[] = {"http://a/b/c/d;p?q#f", "https://User:pw@Example.COM:8443/x/y",
                           "https://h:443/", "http://[::1]:80/a", "file:///c:/x/y", "mailto:a@b",
                           "foo://h/p", "http://h/"};
    const char16_t alphabet[] = u"/./..%2e%2E?#a:@\\ \t'\"<>`{}|^[]~&=;+$!*,()Z9\u00e9\u4e2d\r\n%";
    const std::size_t letters = sizeof(alphabet) / sizeof(alphabet[0]) - 1;
    std::uint32_t seed = 12345;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (const char* baseText : bases) {
        const std::optional<html::Url> base = html::ParseUrl(html::Utf8ToUtf16(baseText));
        ASSERT_TRUE(base.has_value()) << baseText;
        for (int round = 0; round < 20000; ++round) {
            std::u16string href = u"/";
            const std::size_t length = next() % 12;
            for (std::size_t i = 0; i < length; ++i) href.push_back(alphabet[next() % letters]);
            if (round % 3 == 0) href.insert(0, u" ");
            EXPECT_EQ(html::ResolveHref(href, base), html::ResolveHrefByParser(href, base))
                << baseText << " " << html::Utf16ToUtf8(href);
        }
    }
    const std::optional<html::Url> base = html::ParseUrl(u"https://news.example.com/section/index.html");
    for (const char16_t* href : {u"/", u"/a/b/", u"/a//b", u"/a/./b", u"/a/../b", u"/a/%2e%2E/b", u"/.",
                                 u"/a?", u"/a#", u"/a?b#c#d", u"/a?./..#/../", u"/a%20b", u"/a%2", u"/%2"}) {
        EXPECT_EQ(html::ResolveHref(href, base), html::ResolveHrefByParser(href, base)) << html::Utf16ToUtf8(href);
    }
}

}  // namespace
