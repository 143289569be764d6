// Differential test of our HTML tree builder against Debian's libgumbo, a
// conforming HTML5 parser: for each fragment, the anchors (document order,
// raw href, rendered one-line text) must come out the same from both trees.
#include <gtest/gtest.h>

#ifdef JOT_HAVE_GUMBO

#include <gumbo.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "html/dom.h"
#include "html/link_lines.h"
#include "html/utf8.h"

namespace {

struct Anchor {
    bool hasHref = false;
    std::string href;
    std::string text;
    bool operator==(const Anchor& o) const { return hasHref == o.hasHref && href == o.href && text == o.text; }
};

std::string Describe(const std::vector<Anchor>& anchors)
{
    std::string s;
    for (const Anchor& a : anchors) {
        s += "[" + (a.hasHref ? "href=" + a.href : std::string("no href")) + " | " + a.text + "]\n";
    }
    return s;
}

// ---- gumbo side: the same rendering rules over gumbo's tree --------------
bool GumboHidden(const GumboNode* n)
{
    if (n->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    switch (n->v.element.tag) {
    case GUMBO_TAG_SCRIPT: case GUMBO_TAG_STYLE: case GUMBO_TAG_TEMPLATE: case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_NOEMBED: case GUMBO_TAG_NOFRAMES: case GUMBO_TAG_IFRAME: case GUMBO_TAG_TEXTAREA:
    case GUMBO_TAG_HEAD: case GUMBO_TAG_TITLE: case GUMBO_TAG_SELECT:
        return true;
    default:
        return false;
    }
}

bool GumboBlock(const GumboNode* n)
{
    if (n->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    static const char* const kBlocks[] = {
        "address", "article", "aside", "blockquote", "body", "center", "dd", "details", "dialog", "dir",
        "div", "dl", "dt", "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4",
        "h5", "h6", "header", "hgroup", "hr", "html", "li", "listing", "main", "menu", "nav", "ol", "p",
        "plaintext", "pre", "search", "section", "summary", "table", "tbody", "thead", "tfoot", "tr", "td",
        "th", "caption", "ul", "xmp", "br", "option", "optgroup",
    };
    const char* name = gumbo_normalized_tagname(n->v.element.tag);
    for (const char* b : kBlocks) {
        if (std::strcmp(b, name) == 0) return true;
    }
    return false;
}

void GumboText(const GumboNode* n, std::string& raw)
{
    if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE || n->type == GUMBO_NODE_CDATA) {
        raw += n->v.text.text;
        return;
    }
    if (n->type != GUMBO_NODE_ELEMENT) return;  // template contents are not rendered
    if (GumboHidden(n)) return;
    const bool block = GumboBlock(n);
    if (block) raw += ' ';
    for (unsigned i = 0; i < n->v.element.children.length; ++i) {
        GumboText(static_cast<const GumboNode*>(n->v.element.children.data[i]), raw);
    }
    if (block) raw += ' ';
}

std::string Collapse(const std::string& raw)
{
    std::string out;
    bool pending = false;
    for (char c : raw) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            pending = !out.empty();
            continue;
        }
        if (pending) out += ' ';
        pending = false;
        out += c;
    }
    return out;
}

void GumboAnchors(const GumboNode* n, std::vector<Anchor>& out)
{
    if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT) return;
    const GumboVector* children = n->type == GUMBO_NODE_DOCUMENT ? &n->v.document.children : &n->v.element.children;
    if (n->type == GUMBO_NODE_ELEMENT && n->v.element.tag == GUMBO_TAG_A &&
        n->v.element.tag_namespace == GUMBO_NAMESPACE_HTML) {
        Anchor a;
        if (const GumboAttribute* href = gumbo_get_attribute(&n->v.element.attributes, "href")) {
            a.hasHref = true;
            a.href = href->value;
        }
        std::string raw;
        for (unsigned i = 0; i < children->length; ++i) GumboText(static_cast<const GumboNode*>(children->data[i]), raw);
        a.text = Collapse(raw);
        out.push_back(a);
    }
    for (unsigned i = 0; i < children->length; ++i) {
        GumboAnchors(static_cast<const GumboNode*>(children->data[i]), out);
    }
}

std::vector<Anchor> GumboSide(const std::string& markup)
{
    GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, markup.data(), markup.size());
    std::vector<Anchor> anchors;
    GumboAnchors(output->document, anchors);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return anchors;
}

// ---- our side -------------------------------------------------------------
std::vector<Anchor> OurSide(const std::string& markup)
{
    html::Document doc;
    html::Parse(html::Utf8ToUtf16(markup), doc);
    std::vector<Anchor> anchors;
    const html::Node* n = doc.Root()->first;
    std::vector<const html::Node*> stack;
    for (const html::Node* c = doc.Root()->last; c; c = c->prev) stack.push_back(c);
    while (!stack.empty()) {
        n = stack.back();
        stack.pop_back();
        if (n->kind != html::Node::kElement) continue;
        if (n->Is(html::tag::kA)) {
            Anchor a;
            if (const std::u16string* href = doc.Attribute(n, "href")) {
                a.hasHref = true;
                a.href = html::Utf16ToUtf8(*href);
            }
            a.text = html::Utf16ToUtf8(html::RenderedTextOneLine(doc, n));
            anchors.push_back(a);
        }
        if (n->Is(html::tag::kTemplate)) continue;
        for (const html::Node* c = n->last; c; c = c->prev) stack.push_back(c);
    }
    return anchors;
}

void ExpectSameAnchors(const std::string& markup)
{
    const std::vector<Anchor> ours = OurSide(markup);
    const std::vector<Anchor> theirs = GumboSide(markup);
    EXPECT_TRUE(ours == theirs) << "markup: " << markup << "\nours:\n" << Describe(ours) << "gumbo:\n" << Describe(theirs);
}

// Clipboard-shaped fragments as browsers write them, and broken markup.
const char* const kFragments[] = {
    "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000200\r\nSourceURL:http://x/\r\n<html><body>\r\n<!--StartFragment--><a href=\"a.html\">A</a><!--EndFragment-->\r\n</body>\r\n</html>",
    "<a href=1>one</a><a href=2>two</a><a href=3>three</a>",
    "<a href=1>one<a href=2>two</a>",
    "<a href=1><b>bold<a href=2>second</b>tail</a>",
    "<b><a href=1>x<p>y</b>z</a>",
    "<a href=1><div>block</div></a>",
    "<a href=1>a<table><tr><td>cell</td></tr></table>b</a>",
    "<table><a href=1>foster</a><tr><td><a href=2>in cell</a></td></tr></table>",
    "<table><tr><a href=1>x</a><td>y</td></tr></table>",
    "<table><tbody><a href=1><tr><td>c</td></tr></a></tbody></table>",
    "<template><a href=1>hidden</a></template><a href=2>shown</a>",
    "<a href=1>before<template>inner</template>after</a>",
    "<a href=1>x<script>var a='<a href=2>';</script>y</a>",
    "<a href=1>x<style>a{}</style>y</a>",
    "<title><a href=1>not a link</a></title><a href=2>link</a>",
    "<textarea><a href=1>not a link</a></textarea><a href=2>link</a>",
    "<xmp><a href=1>raw</a></xmp><a href=2>ok</a>",
    "<iframe><a href=1>raw</a></iframe><a href=2>ok</a>",
    "<!-- <a href=1>comment</a> --><a href=2>ok</a>",
    "<svg><a href=1>svg link</a></svg><a href=2>html</a>",
    "<svg><foreignObject><a href=1>inside</a></foreignObject></svg>",
    "<math><mtext><a href=1>mt</a></mtext></math>",
    "<svg><![CDATA[<a href=1>]]></svg><a href=2>x</a>",
    "<![CDATA[<a href=1>x]]><a href=2>y</a>",
    "<a href='&amp;&lt;&copy&notit;&#x41;&#65;&#x110000;&#128;'>refs &amp; &notin; &notit; &copy2</a>",
    "<a href=\"?a=1&b=2&copy=3\">amp</a>",
    "<a href=x>one<br>two<p>three</p>four</a>",
    "<p><a href=1>para<p>next</a>",
    "<ul><li><a href=1>item<li>next</a></ul>",
    "<select><option><a href=1>opt</a></select><a href=2>after</a>",
    "<nobr><a href=1>a<nobr>b</a></nobr>",
    "<a href=1><font color=red>red<a href=2>green</font></a>",
    "<a href=1>x</b></i></a><a href=2>y</a>",
    "<a href=1>\n  spaced \t out\n</a>",
    "<a href=1>&nbsp;nb&nbsp;</a>",
    "<div><a href=1>one</div><a href=2>two</a>",
    "<a href=1><button>btn</button></a>",
    "<a href=1><h1>h<h2>h2</a>",
    "<form><a href=1>f<form>g</a></form>",
    "<b><b><b><b><a href=1>deep</a></b></b></b></b>",
    "<a href=1><i><u><s>1<div>2</a>3</s></u></i>",
    "<table><caption><a href=1>cap</a></caption><colgroup><col></colgroup><tr><th><a href=2>th</a></table>",
    "<table><td><a href=1>implied</td><td><a href=2>b</table>",
    "<a href=1>outer<table><td><a href=2>inner</a></td></table>rest</a>",
    "<plaintext><a href=1>plain",
    "<a href=1>unterminated",
    "<a href=\"unterminated",
    "<a href=1 href=2>dup</a>",
    "<A HREF=UPPER>Upper</A>",
    "<a\thref\n=\n'x'\f>ws</a>",
    "<frameset><a href=1>x</a></frameset>",
    "<a href=1><object><a href=2>o</a></object></a>",
    "<marquee><a href=1>m</a></marquee>",
    "<ruby><a href=1>r<rt>t</rt></a></ruby>",
    "<dl><dt><a href=1>t<dd>d</a></dl>",
    "<pre>\n<a href=1>pre</a></pre>",
    "<a href=1>x</p>y</a>",
    "<image src=x><a href=1>img</a>",
    "<a href=1>a<hr>b</a>",
    "<a href=javascript:alert(1)>js</a><a href=mailto:x@y>mail</a>",
};

TEST(HtmlDifferential, ClipboardAndBrokenFragmentsMatchGumbo)
{
    for (const char* f : kFragments) {
        ExpectSameAnchors(f);
    }
}

// Random markup from a small vocabulary, deliberately misnested and left open.
std::string RandomMarkup(std::mt19937& rng)
{
    static const char* const kPieces[] = {
        "<a href=1>", "<a href='2'>", "<a>", "</a>", "<b>", "</b>", "<i>", "</i>", "<p>", "</p>",
        "<div>", "</div>", "<table>", "</table>", "<tr>", "</tr>", "<td>", "</td>", "<th>",
        "<tbody>", "</tbody>", "<caption>", "</caption>", "<li>", "<ul>", "</ul>", "<span>", "</span>",
        "<font color=red>", "</font>", "<nobr>", "</nobr>", "<em>", "</em>", "<strong>", "</strong>",
        "<h1>", "</h1>", "<h2>", "<br>", "<hr>", "<template>", "</template>", "<select>", "<option>",
        "</select>", "<button>", "</button>", "<form>", "</form>", "<svg>", "</svg>", "<math>",
        "<mtext>", "</math>", "<foreignObject>", "<dd>", "<dt>", "<blockquote>", "</blockquote>",
        "<center>", "<u>", "</u>", "<s>", "<small>", "<big>", "<tt>", "<code>", "</code>",
        "<script>x</script>", "<style>y</style>", "<!-- c -->", "text", " ", "\n", "&amp;", "&lt;",
        "<img>", "<input type=hidden>", "<input>", "<colgroup>", "<col>", "<thead>", "<tfoot>",
        "<pre>", "</pre>", "<object>", "</object>", "<applet>", "<marquee>", "<ruby>", "<rt>", "<rp>",
        "<address>", "<listing>", "<body>", "</body>", "<html>", "</html>", "<head>", "</head>",
        "<title>t</title>", "<textarea>a</textarea>", "<iframe>i</iframe>", "x", "y", "z",
    };
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kPieces / sizeof kPieces[0] - 1);
    std::uniform_int_distribution<int> length(1, 40);
    std::string s;
    const int n = length(rng);
    bool foreign = false;
    for (int i = 0; i < n; ++i) {
        const std::string piece = kPieces[pick(rng)];
        // "</p>" inside SVG or MathML breaks out of it in today's standard;
        // gumbo 0.10 predates that rule, so the two cannot be compared there.
        if (foreign && piece == "</p>") continue;
        foreign = foreign || piece == "<svg>" || piece == "<math>";
        s += piece;
    }
    return s;
}

// gumbo 0.10 follows the standard of its day; a few corners changed since
// (the breakout of "</p>" in foreign content above, and formatting elements
// reconstructed for white space foster-parented out of a table). Those show
// up as rare differences; anything more than a handful is a fault of ours.
TEST(HtmlDifferential, RandomMisnestedMarkupMatchesGumbo)
{
    const int runs = 6000;
    std::mt19937 rng(20261210);
    int mismatches = 0;
    for (int i = 0; i < runs; ++i) {
        const std::string markup = RandomMarkup(rng);
        const std::vector<Anchor> ours = OurSide(markup);
        const std::vector<Anchor> theirs = GumboSide(markup);
        if (!(ours == theirs)) {
            if (++mismatches <= 3) {
                std::printf("differs from gumbo: %s\nours:\n%sgumbo:\n%s", markup.c_str(), Describe(ours).c_str(),
                            Describe(theirs).c_str());
            }
        }
    }
    std::printf("%d of %d random documents differ from gumbo\n", mismatches, runs);
    EXPECT_LE(mismatches, runs / 1000);
}

}  // namespace

#endif  // JOT_HAVE_GUMBO
