// The tree builder's state and steps, shared by its source files:
// tree_builder_core.cpp (the stack of open elements, insertion, the list of
// active formatting elements and the adoption agency algorithm),
// tree_builder.cpp (dispatch, the document, head and body modes, foreign
// content) and tree_builder_tables.cpp (tables, select, template, frames).
// Internal to html/; users call html::Parse (html/dom.h).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "html/dom.h"

namespace html::detail {

using namespace tag;

enum class Mode : std::uint8_t {
    kInitial, kBeforeHtml, kBeforeHead, kInHead, kAfterHead, kInBody, kText, kInTable,
    kInTableText, kInCaption, kInColumnGroup, kInTableBody, kInRow, kInCell, kInSelect,
    kInSelectInTable, kInTemplate, kAfterBody, kInFrameset, kAfterFrameset, kAfterAfterBody,
    kAfterAfterFrameset,
};

enum class Scope { kDefault, kListItem, kButton, kTable, kSelect };

inline bool IsSpace(char16_t c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; }

inline bool AllSpace(std::u16string_view s)
{
    return std::all_of(s.begin(), s.end(), IsSpace);
}

inline std::size_t LeadingSpace(std::u16string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i;
}

template <typename... T>
inline bool OneOf(std::uint32_t t, T... tags)
{
    return ((t == static_cast<std::uint32_t>(tags)) || ...);
}

inline bool IsHeading(std::uint32_t t) { return t >= kH1 && t <= kH6; }

inline bool IsSpecialHtml(std::uint32_t t)
{
    switch (t) {
    case kAddress: case kApplet: case kArea: case kArticle: case kAside: case kBase:
    case kBasefont: case kBgsound: case kBlockquote: case kBody: case kBr: case kButton:
    case kCaption: case kCenter: case kCol: case kColgroup: case kDd: case kDetails: case kDir:
    case kDiv: case kDl: case kDt: case kEmbed: case kFieldset: case kFigcaption: case kFigure:
    case kFooter: case kForm: case kFrame: case kFrameset: case kH1: case kH2: case kH3:
    case kH4: case kH5: case kH6: case kHead: case kHeader: case kHgroup: case kHr: case kHtml:
    case kIframe: case kImg: case kInput: case kKeygen: case kLi: case kLink: case kListing:
    case kMain: case kMarquee: case kMenu: case kMeta: case kNav: case kNoembed: case kNoframes:
    case kNoscript: case kObject: case kOl: case kP: case kParam: case kPlaintext: case kPre:
    case kScript: case kSearch: case kSection: case kSelect: case kSource: case kStyle:
    case kSummary: case kTable: case kTbody: case kTd: case kTemplate: case kTextarea:
    case kTfoot: case kTh: case kThead: case kTitle: case kTr: case kTrack: case kUl: case kWbr:
    case kXmp:
        return true;
    default:
        return false;
    }
}

inline bool IsSpecial(const Node* n)
{
    switch (n->ns) {
    case Namespace::kHtml: return IsSpecialHtml(n->tag);
    case Namespace::kMathMl: return OneOf(n->tag, kMi, kMo, kMn, kMs, kMtext, kAnnotationXml);
    case Namespace::kSvg: return OneOf(n->tag, kForeignObject, kDesc, kTitle);
    }
    return false;
}

inline bool IsMathTextIntegration(const Node* n)
{
    return n->ns == Namespace::kMathMl && OneOf(n->tag, kMi, kMo, kMn, kMs, kMtext);
}

inline bool IsHtmlIntegration(const Node* n)
{
    return n->htmlIntegration;
}

inline bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

class TreeBuilder {
public:
    TreeBuilder(std::u16string markup, Document& document)
        : m_doc(document), m_nodeBudget(4 * markup.size() + 100000), m_tokenizer(std::move(markup))
    {
    }

    void Run();

private:
    // ---- Stack of open elements ------------------------------------------
    Node* Current() const { return m_stack.back(); }

    void CountOpen(const Node* n, int delta);
    void Push(Node* n);
    void Pop();
    void EraseFromStack(std::size_t i);
    void InsertIntoStack(std::size_t i, Node* n);
    std::size_t StackIndex(const Node* n) const;
    int OpenCount(std::uint32_t t) const { return t < m_openCount.size() ? m_openCount[t] : 0; }
    void PopUntil(std::uint32_t t);
    void PopUntilHeading();

    bool IsScopeBoundary(const Node* n, Scope scope) const;

    bool InScope(std::uint32_t t, Scope scope = Scope::kDefault) const;
    bool NodeInScope(const Node* target) const;
    bool HeadingInScope() const;

    void GenerateImpliedEndTags(std::uint32_t except = kNone);
    void GenerateAllImpliedEndTags();
    void ClosePElement();
    void ClosePIfInButtonScope();
    void ClearBackTo(std::uint32_t a, std::uint32_t b = kNone, std::uint32_t c = kNone);

    // ---- Inserting nodes -------------------------------------------------
    struct Place {
        Node* parent;
        Node* before;
    };

    Place AppropriatePlace(Node* overrideTarget = nullptr);

    static void Detach(Node* n);
    static void InsertAt(const Place& place, Node* n);

    std::uint32_t TagId(const Token& t);

    Node* CreateElement(const Token& t, Namespace ns);
    Node* CloneElement(const Node* original);

    Node* InsertElement(const Token& t, Namespace ns = Namespace::kHtml);
    // The same for an <a> start tag in HTML content: its attributes move
    // into the element (nothing reads them from the token afterwards).
    Node* InsertAnchor(Token& t);
    Node* InsertSynthetic(const char* name);

    void InsertText(std::u16string_view text);

    // ---- Active formatting elements ---------------------------------------
    void PushFormatting(Node* n);
    static bool SameAttributes(const std::vector<Attribute>& a, const std::vector<Attribute>& b);
    // Equal lists have equal digests; n has attributes.
    std::uint64_t AttributeDigest(const Node* n)
    {
        if (n->data < m_digests.size() && m_digests[n->data] != 0) return m_digests[n->data];
        return WorkOutDigest(n);
    }
    std::uint64_t WorkOutDigest(const Node* n);
    std::size_t FormattingIndex(const Node* n) const;
    void ClearFormattingToMarker();
    void ReconstructFormatting();

    // Returns false when the "any other end tag" steps must run instead.
    bool AdoptionAgency(std::uint32_t subject);

    void AnyOtherEndTag(const Token& t);

    // ---- Modes ------------------------------------------------------------
    void ResetInsertionMode();

    void GenericText(const Token& t, Tokenizer::State state);

    bool TemplateOpen() const { return OpenCount(kTemplate) > 0; }

    void Dispatch(Token& t);

    void Process(Token& t, Mode mode);
    void Process(Token& t) { Process(t, m_mode); }

    // Handles leading white space of a text token with `space`; the rest of
    // the token (if any) is left in t for the mode's "anything else".
    template <typename F>
    bool SplitSpace(Token& t, F space);

    void Initial(Token& t);
    static bool QuirkyPublicId(const Token& t);

    void BeforeHtml(Token& t);

    void BeforeHead(Token& t);

    void InHead(Token& t);

    void AfterHead(Token& t);

    void InBodyText(std::u16string_view text);

    void InBody(Token& t);

    void InBodyStart(Token& t);

    void InBodyEnd(Token& t);

    void InText(Token& t);

    void FosterInBody(Token& t);

    void InTable(Token& t);

    void InTableText(Token& t);

    void InCaption(Token& t);

    void InColumnGroup(Token& t);

    void InTableBody(Token& t);

    void InRow(Token& t);

    void CloseCell();

    void InCell(Token& t);

    void InSelect(Token& t);

    void InSelectInTable(Token& t);

    void InTemplate(Token& t);

    void AfterBody(Token& t);

    void InFrameset(Token& t);

    void AfterFrameset(Token& t);

    void AfterAfterBody(Token& t);

    void AfterAfterFrameset(Token& t);

    static bool BreaksOutOfForeign(const Token& t);

    void ForeignContent(Token& t);

    Document& m_doc;
    // Reconstructed formatting elements are the only nodes that do not come
    // from a tag of their own; this cap keeps hostile markup from
    // multiplying them without bound.
    std::size_t m_nodeBudget;
    Tokenizer m_tokenizer;
    Mode m_mode = Mode::kInitial;
    Mode m_originalMode = Mode::kInBody;
    std::vector<Mode> m_templateModes;
    std::vector<Node*> m_stack;
    std::vector<Node*> m_formatting;  // null entries are markers
    std::vector<int> m_openCount;     // HTML elements on the stack, per tag
    std::vector<std::uint64_t> m_digests;  // per attribute list, 0 until needed
    Node* m_head = nullptr;
    Node* m_form = nullptr;
    bool m_framesetOk = true;
    bool m_fosterParenting = false;
    bool m_quirks = false;
    bool m_ignoreNextLf = false;
    bool m_stopped = false;
    std::u16string m_pendingTableText;
};

template <typename F>
bool TreeBuilder::SplitSpace(Token& t, F space)
{
    const std::size_t n = LeadingSpace(t.text);
    if (n > 0) {
        space(std::u16string_view(t.text).substr(0, n));
        t.text.erase(0, n);
    }
    return !t.text.empty();
}

}  // namespace html::detail
