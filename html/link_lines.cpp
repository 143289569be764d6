#include "html/link_lines.h"

#include "html/cf_html.h"

namespace html {

namespace {

bool IsCollapsible(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Elements whose content a browser does not render as text.
bool IsHidden(const Node* n)
{
    if (n->ns != Namespace::kHtml) return false;
    switch (n->tag) {
    case tag::kScript: case tag::kStyle: case tag::kTemplate: case tag::kNoscript:
    case tag::kNoembed: case tag::kNoframes: case tag::kIframe: case tag::kTextarea:
    case tag::kHead: case tag::kTitle: case tag::kSelect:
        return true;
    default:
        return false;
    }
}

// Elements laid out as blocks (or table parts): their edges break the line.
bool IsBlock(const Node* n)
{
    if (n->ns != Namespace::kHtml) return false;
    switch (n->tag) {
    case tag::kAddress: case tag::kArticle: case tag::kAside: case tag::kBlockquote: case tag::kBody:
    case tag::kCenter: case tag::kDd: case tag::kDetails: case tag::kDialog: case tag::kDir: case tag::kDiv:
    case tag::kDl: case tag::kDt: case tag::kFieldset: case tag::kFigcaption: case tag::kFigure:
    case tag::kFooter: case tag::kForm: case tag::kH1: case tag::kH2: case tag::kH3: case tag::kH4:
    case tag::kH5: case tag::kH6: case tag::kHeader: case tag::kHgroup: case tag::kHr: case tag::kHtml:
    case tag::kLi: case tag::kListing: case tag::kMain: case tag::kMenu: case tag::kNav: case tag::kOl:
    case tag::kP: case tag::kPlaintext: case tag::kPre: case tag::kSearch: case tag::kSection:
    case tag::kSummary: case tag::kTable: case tag::kTbody: case tag::kThead: case tag::kTfoot:
    case tag::kTr: case tag::kTd: case tag::kTh: case tag::kCaption: case tag::kUl: case tag::kXmp:
    case tag::kBr: case tag::kOption: case tag::kOptgroup:
        return true;
    default:
        return false;
    }
}

// Next node in tree order within `top`; children are skipped when
// `descend` is false.
const Node* NextInTree(const Node* n, const Node* top, bool descend)
{
    if (descend && n->first != nullptr) return n->first;
    while (n != top) {
        if (n->next != nullptr) return n->next;
        n = n->parent;
    }
    return nullptr;
}

}  // namespace

namespace {

// Anchors can nest (markers such as <object> let them), and each one's
// text holds all the anchors inside it: a page of nested anchors would
// repeat its whole text once per level. So a link's text ends after this
// many characters, and its walk after this many nodes; no real link comes
// near either.
constexpr std::size_t kMaxLinkTextLength = 16384;
constexpr std::size_t kMaxLinkTextNodes = 65536;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// White space collapsed as the text comes: runs become one space, none at
// either end. Writes to the end of a string that may already hold other
// lines, at most kMaxLinkTextLength characters.
class OneLine {
public:
    explicit OneLine(std::u16string& out) : m_out(out), m_start(out.size()), m_limit(m_start + kMaxLinkTextLength) {}
    void Space() { m_pendingSpace = m_out.size() != m_start; }
    bool Full() const { return m_full; }
    void Append(std::u16string_view text)
    {
        std::size_t i = 0;
        while (i < text.size()) {
            if (IsCollapsible(text[i])) {
                Space();
                ++i;
                continue;
            }
            std::size_t j = i + 1;
            while (j < text.size() && !IsCollapsible(text[j])) ++j;
            if (m_pendingSpace) m_out.push_back(u' ');
            m_pendingSpace = false;
            if (m_out.size() + (j - i) >= m_limit) [[unlikely]] {
                // Cut, but not between the halves of a surrogate pair.
                std::size_t keep = m_limit - m_out.size();
                if (keep > 0 && keep < j - i && IsHighSurrogate(text[i + keep - 1])) --keep;
                m_out.append(text.substr(i, keep));
                while (m_out.size() > m_start && m_out.back() == u' ') m_out.pop_back();
                m_full = true;
                return;
            }
            m_out.append(text.substr(i, j - i));
            i = j;
        }
    }

private:
    std::u16string& m_out;
    std::size_t m_start;
    std::size_t m_limit;
    bool m_pendingSpace = false;
    bool m_full = false;
};

// The rendered text of element appended to out.
void AppendRenderedText(const Document& document, const Node* element, std::u16string& out)
{
    OneLine line(out);
    // In tree order along the node links: no list of pending nodes, which
    // for a node with many children would cost as much as all of them
    // even when the text is cut short.
    std::size_t visited = 0;
    const Node* n = element->first;
    while (n != nullptr && !line.Full() && ++visited <= kMaxLinkTextNodes) {
        bool block = false;
        if (n->kind == Node::kText) {
            line.Append(document.Text(n));
        } else if (n->kind == Node::kElement && !IsHidden(n)) {
            block = IsBlock(n);
            if (block) line.Space();
            if (n->first != nullptr) {
                n = n->first;
                continue;
            }
        }
        // On to the next node, closing n and the elements that end with it
        // (which were entered, so are not hidden).
        if (block) line.Space();
        while (n->next == nullptr) {
            n = n->parent;
            if (n == element) return;
            if (IsBlock(n)) line.Space();
        }
        n = n->next;
    }
}

}  // namespace

std::u16string RenderedTextOneLine(const Document& document, const Node* element)
{
    std::u16string out;
    AppendRenderedText(document, element, out);
    return out;
}

std::optional<Url> DocumentBase(const Document& document, const std::optional<std::u16string>& sourceUrl)
{
    std::optional<Url> source;
    if (sourceUrl) source = ParseUrl(*sourceUrl);
    if (!document.HasBaseElement()) return source;
    const Node* n = document.Root()->first;
    while (n != nullptr) {
        const bool isTemplate = n->Is(tag::kTemplate);
        if (n->Is(tag::kBase)) {
            if (const std::u16string* href = document.Attribute(n, "href")) {
                // Relative to the source address, never to itself. A base
                // that cannot be parsed, or that is a data: or javascript:
                // address (pages put <base href="javascript:void(0)"> for
                // their scripts), leaves the source address in charge, as
                // in browsers.
                std::optional<Url> base = ParseUrl(*href, source ? &*source : nullptr);
                if (!base || base->scheme == u"data" || base->scheme == u"javascript") return source;
                return base;
            }
        }
        n = NextInTree(n, document.Root(), !isTemplate);
    }
    return source;
}

std::vector<Link> ExtractLinks(const Document& document, const std::optional<Url>& base)
{
    std::vector<Link> links;
    const Node* n = document.Root()->first;
    while (n != nullptr) {
        const bool isTemplate = n->Is(tag::kTemplate);
        if (n->Is(tag::kA)) {
            Link link;
            link.text = RenderedTextOneLine(document, n);
            if (const std::u16string* href = document.Attribute(n, "href")) {
                link.address = ResolveHref(*href, base);
            }
            links.push_back(std::move(link));
        }
        n = NextInTree(n, document.Root(), !isTemplate);
    }
    return links;
}

std::u16string LinkLines(std::u16string clipboardText, LinkMode mode)
{
    if (!clipboardText.empty() && clipboardText[0] == u'\xFEFF') {
        clipboardText.erase(0, 1);
    }
    const std::optional<std::u16string> source = FindSourceUrl(clipboardText);
    Document document;
    Parse(std::move(clipboardText), document);
    const std::optional<Url> base = DocumentBase(document, source);
    // The lines are written straight into the result: no list of links,
    // no string per link text.
    std::u16string out;
    const HrefResolver resolver(base);
    const Node* n = document.Root()->first;
    while (n != nullptr) {
        const bool isTemplate = n->Is(tag::kTemplate);
        if (n->Is(tag::kA)) {
            if (mode != LinkMode::kAddresses) {
                AppendRenderedText(document, n, out);
                out.push_back(u'\t');
            }
            if (const std::u16string* href = document.Attribute(n, "href")) {
                resolver.Append(out, *href);
            }
            out += u"\r\n";
        }
        n = NextInTree(n, document.Root(), !isTemplate);
    }
    return out;
}

}  // namespace html
