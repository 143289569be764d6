// The tree builder's state and steps, shared by its source files:
// tree_builder_stack.cpp (the stack of open elements, its scopes and its
// index), tree_builder_core.cpp (insertion, the list of active formatting
// elements and the adoption agency algorithm),
// tree_builder.cpp (dispatch, the document, head and body modes, foreign
// content) and tree_builder_tables.cpp (tables, select, template, frames).
// Internal to html/; users call html::Parse (html/dom.h).
#pragma once

#include <algorithm>
#include <array>
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

// No place on the stack of open elements.
constexpr std::uint32_t kNowhere = UINT32_MAX;

// What an entry of the stack of open elements is to its index
// (tree_builder_stack.cpp): a boundary of which scopes, special, and
// whether it ends the search of <li>, <dd> and <dt>.
enum : std::uint8_t {
    kBoundsDefault = 1, kBoundsListItem = 2, kBoundsButton = 4, kBoundsTable = 8, kSpecial = 16, kStopsListItem = 32,
};
std::uint8_t WorkOutStackFlags(const Node* n);
// The same for HTML elements by tag, worked out once (unknown tags are none).
extern const std::array<std::uint8_t, kFirstUnknown> kStackFlagsOfHtml;

inline std::uint8_t StackFlags(const Node* n)
{
    if (n->ns == Namespace::kHtml) return n->tag < kFirstUnknown ? kStackFlagsOfHtml[n->tag] : 0;
    return WorkOutStackFlags(n);
}

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

inline bool IsScopeBoundary(const Node* n, Scope scope)
{
    if (scope == Scope::kSelect) {
        return !(n->ns == Namespace::kHtml && OneOf(n->tag, kOptgroup, kOption));
    }
    if (n->ns == Namespace::kHtml) {
        if (OneOf(n->tag, kHtml, kTable, kTemplate)) return true;
        if (scope == Scope::kTable) return false;
        if (OneOf(n->tag, kApplet, kCaption, kTd, kTh, kMarquee, kObject)) return true;
        if (scope == Scope::kListItem && OneOf(n->tag, kOl, kUl)) return true;
        if (scope == Scope::kButton && n->tag == kButton) return true;
        return false;
    }
    if (scope == Scope::kTable) return false;
    if (n->ns == Namespace::kMathMl) return OneOf(n->tag, kMi, kMo, kMn, kMs, kMtext, kAnnotationXml);
    return OneOf(n->tag, kForeignObject, kDesc, kTitle);
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

// Hostile markup can open elements without end and keep formatting
// elements active without end; every step that looks through the stack of
// open elements or the list of active formatting elements would then cost
// as much as the whole page. Beyond these bounds a new ordinary element is
// still inserted but not opened (what follows goes beside it, much as the
// depth limit does), and a new formatting entry pushes out the earliest one
// after the last marker (as Noah's Ark does with equal ones). No real page
// comes near either.
constexpr std::size_t kMaxOpenElements = kMaxTreeDepth;
constexpr std::size_t kMaxFormattingAfterMarker = 256;

class TreeBuilder {
public:
    TreeBuilder(std::u16string markup, Document& document)
        : m_doc(document), m_nodeBudget(2 * markup.size() + 100000), m_tokenizer(std::move(markup)),
          m_topOfTag(kFirstUnknown, kNowhere)
    {
    }

    void Run();

private:
    // ---- Stack of open elements ------------------------------------------
    Node* Current() const { return m_stack.back(); }

    void Push(Node* n)
    {
        n->open = true;
        m_stack.push_back(n);
        IndexEntry(m_stack.size() - 1);
    }
    void Pop()
    {
        m_stack.back()->open = false;
        UnindexEntry(m_stack.size() - 1);
        m_stack.pop_back();
    }
    void EraseFromStack(std::size_t i);
    void InsertIntoStack(std::size_t i, Node* n);
    // Puts clone (of the element at i) in its original's place.
    void ReplaceInStack(std::size_t i, Node* clone);
    // SIZE_MAX when n is not open.
    std::size_t StackIndex(const Node* n) const;
    // The topmost open HTML element with tag t, or kNowhere.
    std::uint32_t Topmost(std::uint32_t t) const { return t < m_topOfTag.size() ? m_topOfTag[t] : kNowhere; }
    bool AnyOpen(std::uint32_t t) const { return Topmost(t) != kNowhere; }
    void PopUntil(std::uint32_t t);
    void PopUntilHeading();

    bool InScope(std::uint32_t t, Scope scope = Scope::kDefault) const;
    bool NodeInScope(const Node* target) const;
    bool HeadingInScope() const;
    // The index's answers: where the topmost open HTML element with tag a
    // or b is, and the topmost special element (or the topmost one that
    // ends the search of <li>, <dd> and <dt>: not address, div or p);
    // kNowhere when there is none.
    std::uint32_t TopmostOf(std::uint32_t a, std::uint32_t b = kNone) const;
    std::uint32_t TopmostSpecial(bool listItemStop = false) const;
    // The topmost open SVG or MathML element with tag t whose entries up
    // to the top are all SVG or MathML, or kNowhere.
    std::uint32_t TopmostInForeignRun(std::uint32_t t) const;

    // The index: entry i is new on top of it, or leaves from its top.
    void IndexEntry(std::size_t i)
    {
        const Node* n = m_stack[i];
        const auto at = static_cast<std::uint32_t>(i);
        std::vector<std::uint32_t>& top = n->ns == Namespace::kHtml ? m_topOfTag : m_topForeignOfTag;
        if (top.size() <= n->tag) top.resize(n->tag + 1, kNowhere);
        m_sameTagBelow.push_back(top[n->tag]);
        top[n->tag] = at;
        if (n->ns != Namespace::kHtml && (i == 0 || m_stack[i - 1]->ns == Namespace::kHtml)) {
            m_foreignRunStarts.push_back(at);
        }
        const std::uint8_t f = StackFlags(n);
        if (f == 0) return;
        if (f & kBoundsDefault) m_boundaries[static_cast<int>(Scope::kDefault)].push_back(at);
        if (f & kBoundsListItem) m_boundaries[static_cast<int>(Scope::kListItem)].push_back(at);
        if (f & kBoundsButton) m_boundaries[static_cast<int>(Scope::kButton)].push_back(at);
        if (f & kBoundsTable) m_boundaries[static_cast<int>(Scope::kTable)].push_back(at);
        if (f & kSpecial) m_specials.push_back(at);
        if (f & kStopsListItem) m_listItemStops.push_back(at);
    }
    // Entry i is the top of every list it is in.
    void UnindexEntry(std::size_t i)
    {
        const Node* n = m_stack[i];
        if (n->ns == Namespace::kHtml) {
            m_topOfTag[n->tag] = m_sameTagBelow.back();
        } else {
            m_topForeignOfTag[n->tag] = m_sameTagBelow.back();
            if (!m_foreignRunStarts.empty() && m_foreignRunStarts.back() == i) m_foreignRunStarts.pop_back();
        }
        m_sameTagBelow.pop_back();
        const std::uint8_t f = StackFlags(n);
        if (f == 0) return;
        if (f & kBoundsDefault) m_boundaries[static_cast<int>(Scope::kDefault)].pop_back();
        if (f & kBoundsListItem) m_boundaries[static_cast<int>(Scope::kListItem)].pop_back();
        if (f & kBoundsButton) m_boundaries[static_cast<int>(Scope::kButton)].pop_back();
        if (f & kBoundsTable) m_boundaries[static_cast<int>(Scope::kTable)].pop_back();
        if (f & kSpecial) m_specials.pop_back();
        if (f & kStopsListItem) m_listItemStops.pop_back();
    }
    // Whether the entry at i (kNowhere: none) is in scope.
    bool AboveBoundary(std::uint32_t i, Scope scope) const;
#ifdef JOT_CHECK_STACK_INDEX
    void CheckIndex() const;
#endif

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
    // Whether a new element goes on the stack of open elements: always
    // below the bound, and beyond it for the elements that change the
    // insertion mode or the tokenizer's state or that end at once.
    bool Opens(std::uint32_t tag, Namespace ns) const
    {
        return m_stack.size() < kMaxOpenElements || OpensBeyondLimit(tag, ns);
    }
    static bool OpensBeyondLimit(std::uint32_t tag, Namespace ns);

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

    bool TemplateOpen() const { return AnyOpen(kTemplate); }

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
    // multiplying them without bound (256 of them for every character of
    // text foster-parented out of a table, say). Real pages, with a few
    // unclosed formatting elements made again in every paragraph, stay well
    // below two nodes per character.
    std::size_t m_nodeBudget;
    Tokenizer m_tokenizer;
    Mode m_mode = Mode::kInitial;
    Mode m_originalMode = Mode::kInBody;
    std::vector<Mode> m_templateModes;
    std::vector<Node*> m_stack;
    // The stack's index (tree_builder_stack.cpp): per tag the topmost open
    // HTML element (and SVG or MathML one), per entry the next one below
    // with its tag, and where the boundaries of each scope, the special
    // elements, the elements that stop the search of <li>, <dd> and <dt>
    // and the runs of foreign elements are.
    std::vector<std::uint32_t> m_topOfTag;
    std::vector<std::uint32_t> m_topForeignOfTag;   // the same for SVG and MathML
    std::vector<std::uint32_t> m_sameTagBelow;      // of its namespace's kind
    std::vector<std::uint32_t> m_foreignRunStarts;  // foreign entries above an HTML one
    std::vector<std::uint32_t> m_boundaries[4];   // default, list item, button, table
    std::vector<std::uint32_t> m_specials;
    std::vector<std::uint32_t> m_listItemStops;
    std::vector<Node*> m_formatting;  // null entries are markers
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
