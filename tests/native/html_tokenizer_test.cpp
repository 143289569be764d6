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
