// The tokenizer reads plain tags in one go and everything else through the
// standard's state machine. Both must give exactly the same tokens, for
// plain tags and for every near miss that has to fall back.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "html/tokenizer.h"
#include "html/utf8.h"

namespace {

// A token as text, every field that the tree builder reads.
std::string Describe(const html::Token& t)
{
    std::string s = std::to_string(static_cast<int>(t.type)) + "|" + t.name + "|" + (t.selfClosing ? "/" : "") + "|" +
                    html::Utf16ToUtf8(t.text) + "|";
    for (const html::Attribute& a : t.attributes) s += a.name + "=" + html::Utf16ToUtf8(a.value) + ";";
    return s;
}

std::vector<std::string> Tokens(const std::u16string& input, bool plainTagLane)
{
    html::Tokenizer tokenizer(input, plainTagLane);
    std::vector<std::string> out;
    for (;;) {
        const html::Token& t = tokenizer.Next();
        out.push_back(Describe(t));
        if (t.type == html::Token::kEof) break;
    }
    return out;
}

void ExpectSameTokens(const std::string& markup)
{
    const std::u16string input = html::Utf8ToUtf16(markup);
    EXPECT_EQ(Tokens(input, true), Tokens(input, false)) << markup;
}

TEST(HtmlTokenizerLanes, PlainTagsGiveTheSameTokensAsTheStateMachine)
{
    for (const char* markup : {
             "<li><a href=\"/articles/story-1.html?from=list&amp;n=1\">Story <b>1</b></a></li>",
             "<A HREF='X' Class=\"y\">text</A >", "<br/><br /><img src=\"a\" alt=''/>",
             "<a href = \"x\" href=\"dup\" title>t</a>", "<input disabled value=\"&notit; &amp=1 &#65\">",
             "<a href=\"tab\there\nline\">x</a>", "</p><p>", "<x-y:z data-a=\"1\">" }) {
        ExpectSameTokens(markup);
    }
}

TEST(HtmlTokenizerLanes, NearMissesFallBackToTheStateMachine)
{
    for (const char* markup : {
             "<a href=unquoted>x</a>", "<a href=\"x\"y=1>", "<a/b>", "<a b/c>", "</a x=1>", "</a/>", "<a href=\"open",
             "<a", "<a ", "<a href", "<a href=", "<a\xE4\xB8\xAD" "b>", "<a x\xE4\xB8\xAD=1>", "<a =x>", "<a \"q=1 <b=2>",
             "<a\x01>", "<", "</", "</>", "<!---->", "<?pi>", "< a>", "<1>" }) {
        ExpectSameTokens(markup);
    }
    ExpectSameTokens(std::string("<a x=\"a\0b\">", 11));
    ExpectSameTokens(std::string("<a\0b>", 5));
}

TEST(HtmlTokenizerLanes, RandomTagSoupGivesTheSameTokens)
{
    const std::vector<std::string> pieces = {
        "<", "</", ">", "/>", "/", " ", "\t", "\n", "=", "\"", "'", "&", "&amp;", "&amp", "&#x41;", "&lt", "a", "A",
        "href", "HREF", "li", "b", "x-y", "\xE4\xB8\xAD", std::string(1, '\0'), "!", "?", "-", "<!--", "-->",
        "<script>", "</script>", "<textarea>", "<title>", "<plaintext>", "<svg>", "<![CDATA[", "]]>", "\r\n", "\r"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 3000; ++round) {
        std::string markup;
        const int n = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < n; ++i) markup += pieces[random() % pieces.size()];
        ExpectSameTokens(markup);
        if (HasFailure()) return;
    }
}

}  // namespace

namespace {

// The attributes of the first tag in markup, by both lanes (which must agree).
std::vector<std::pair<std::string, std::string>> FirstTagAttributes(const std::string& markup)
{
    const std::u16string input = html::Utf8ToUtf16(markup);
    std::vector<std::pair<std::string, std::string>> lanes[2];
    for (int lane = 0; lane < 2; ++lane) {
        html::Tokenizer tokenizer(input, lane == 0);
        const html::Token& t = tokenizer.Next();
        for (const html::Attribute& a : t.attributes) lanes[lane].emplace_back(a.name, html::Utf16ToUtf8(a.value));
    }
    EXPECT_EQ(lanes[0], lanes[1]);
    return lanes[0];
}

TEST(HtmlTokenizerAttributes, FirstOfEqualNamesCountsHoweverManyAttributesATagHas)
{
    for (int n : {1, 2, 15, 16, 17, 18, 40, 1000}) {
        // Every name once, then each again (upper case is the same name)
        // and once more, with other values, in a shuffled order.
        std::string markup = "<p";
        std::vector<std::pair<std::string, std::string>> expected;
        for (int i = 0; i < n; ++i) {
            markup += " a" + std::to_string(i) + "=\"v" + std::to_string(i) + "\"";
            expected.emplace_back("a" + std::to_string(i), "v" + std::to_string(i));
        }
        for (int i = n; i-- > 0;) markup += " A" + std::to_string(i) + "=late";
        for (int i = 0; i < n; i += 3) markup += " a" + std::to_string(i) + "='later'";
        markup += ">";
        EXPECT_EQ(FirstTagAttributes(markup), expected) << n;
        // The same with new names among the repeats: they are kept, in order.
        std::string mixed = "<p";
        std::vector<std::pair<std::string, std::string>> mixedExpected;
        for (int i = 0; i < n; ++i) {
            mixed += " a" + std::to_string(i % 7) + "=" + std::to_string(i);
            if (i < 7) mixedExpected.emplace_back("a" + std::to_string(i), std::to_string(i));
        }
        mixed += ">";
        EXPECT_EQ(FirstTagAttributes(mixed), mixedExpected) << n;
    }
}

TEST(HtmlTokenizerAttributes, EachTagStartsWithNoNames)
{
    // Two tags of just as many attributes, one after the other: the names
    // of the first do not count against the second.
    for (int n : {15, 16, 17, 100}) {
        std::string first = "<p";
        std::string second = "<q";
        for (int i = 0; i < n; ++i) {
            first += " x" + std::to_string(i);
            second += " y" + std::to_string(n - 1 - i);   // another order
        }
        first += " x0=dup>";
        second += " y3=dup x0=new>";
        const std::u16string input = html::Utf8ToUtf16(first + second);
        for (bool lane : {true, false}) {
            html::Tokenizer tokenizer(input, lane);
            EXPECT_EQ(tokenizer.Next().attributes.size(), static_cast<std::size_t>(n));
            const html::Token& q = tokenizer.Next();
            ASSERT_EQ(q.attributes.size(), static_cast<std::size_t>(n + 1)) << n;
            EXPECT_EQ(q.attributes.back().name, "x0");
            EXPECT_EQ(html::Utf16ToUtf8(q.attributes.back().value), "new");
        }
    }
}

TEST(HtmlTokenizerAttributes, LongAndNonAsciiNamesAreComparedWhole)
{
    const std::string prefix(5000, 'n');
    std::string markup = "<p";
    for (int i = 0; i < 40; ++i) markup += " " + prefix + std::to_string(i % 20) + "=" + std::to_string(i);
    markup += " \xE4\xB8\xAD=1 \xE4\xB8\xADx=2 \xE4\xB8\xAD=3 " + prefix + "=4 " + prefix + "=5>";
    const auto attributes = FirstTagAttributes(markup);
    ASSERT_EQ(attributes.size(), 23u);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(attributes[i].second, std::to_string(i));
    EXPECT_EQ(attributes[20], std::make_pair(std::string("\xE4\xB8\xAD"), std::string("1")));
    EXPECT_EQ(attributes[21], std::make_pair(std::string("\xE4\xB8\xADx"), std::string("2")));
    EXPECT_EQ(attributes[22], std::make_pair(prefix, std::string("4")));
}

}  // namespace
