// The HTML standard's tree construction: insertion modes, the stack of open
// elements, the list of active formatting elements with the adoption agency
// algorithm, foster parenting for tables, templates and foreign content.
// Parsing runs with scripting on (as in a browser) and without a fragment
// context. Forms, quirks and the like only matter as far as they change
// the shape of the tree.
#include <algorithm>

#include "html/dom.h"

namespace html {

namespace {

using namespace tag;

enum class Mode : std::uint8_t {
    kInitial, kBeforeHtml, kBeforeHead, kInHead, kAfterHead, kInBody, kText, kInTable,
    kInTableText, kInCaption, kInColumnGroup, kInTableBody, kInRow, kInCell, kInSelect,
    kInSelectInTable, kInTemplate, kAfterBody, kInFrameset, kAfterFrameset, kAfterAfterBody,
    kAfterAfterFrameset,
};

enum class Scope { kDefault, kListItem, kButton, kTable, kSelect };

bool IsSpace(char16_t c) { return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; }

bool AllSpace(std::u16string_view s)
{
    return std::all_of(s.begin(), s.end(), IsSpace);
}

std::size_t LeadingSpace(std::u16string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i;
}

template <typename... T>
bool OneOf(std::uint32_t t, T... tags)
{
    return ((t == static_cast<std::uint32_t>(tags)) || ...);
}

bool IsHeading(std::uint32_t t) { return t >= kH1 && t <= kH6; }

bool IsSpecialHtml(std::uint32_t t)
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

bool IsSpecial(const Node* n)
{
    switch (n->ns) {
    case Namespace::kHtml: return IsSpecialHtml(n->tag);
    case Namespace::kMathMl: return OneOf(n->tag, kMi, kMo, kMn, kMs, kMtext, kAnnotationXml);
    case Namespace::kSvg: return OneOf(n->tag, kForeignObject, kDesc, kTitle);
    }
    return false;
}

bool IsMathTextIntegration(const Node* n)
{
    return n->ns == Namespace::kMathMl && OneOf(n->tag, kMi, kMo, kMn, kMs, kMtext);
}

bool IsHtmlIntegration(const Node* n)
{
    return n->htmlIntegration;
}

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b)
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

    void Run()
    {
        Token token;
        while (!m_stopped) {
            const Node* adjusted = m_stack.empty() ? nullptr : m_stack.back();
            m_tokenizer.SetCdataAllowed(adjusted != nullptr && adjusted->ns != Namespace::kHtml);
            m_tokenizer.Next(token);
            if (token.type == Token::kText && m_ignoreNextLf) {
                if (!token.text.empty() && token.text[0] == u'\n') {
                    token.text.erase(0, 1);
                }
            }
            m_ignoreNextLf = false;
            if (token.type == Token::kText && token.text.empty()) {
                continue;
            }
            Dispatch(token);
            if (token.type == Token::kEof) {
                break;
            }
        }
    }

private:
    // ---- Stack of open elements ------------------------------------------
    Node* Current() const { return m_stack.back(); }

    void CountOpen(const Node* n, int delta)
    {
        if (n->ns != Namespace::kHtml) return;
        if (m_openCount.size() <= n->tag) m_openCount.resize(n->tag + 1, 0);
        m_openCount[n->tag] += delta;
    }
    void Push(Node* n)
    {
        n->open = true;
        CountOpen(n, 1);
        m_stack.push_back(n);
    }
    void Pop()
    {
        Node* n = m_stack.back();
        n->open = false;
        CountOpen(n, -1);
        m_stack.pop_back();
    }
    void EraseFromStack(std::size_t i)
    {
        m_stack[i]->open = false;
        CountOpen(m_stack[i], -1);
        m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(i));
    }
    void InsertIntoStack(std::size_t i, Node* n)
    {
        n->open = true;
        CountOpen(n, 1);
        m_stack.insert(m_stack.begin() + static_cast<std::ptrdiff_t>(i), n);
    }
    std::size_t StackIndex(const Node* n) const
    {
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            if (m_stack[i] == n) return i;
        }
        return SIZE_MAX;
    }
    int OpenCount(std::uint32_t t) const { return t < m_openCount.size() ? m_openCount[t] : 0; }
    void PopUntil(std::uint32_t t)
    {
        while (!m_stack.empty()) {
            const bool done = Current()->Is(t);
            Pop();
            if (done) break;
        }
    }
    void PopUntilHeading()
    {
        while (!m_stack.empty()) {
            const bool done = Current()->ns == Namespace::kHtml && IsHeading(Current()->tag);
            Pop();
            if (done) break;
        }
    }

    bool IsScopeBoundary(const Node* n, Scope scope) const
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

    bool InScope(std::uint32_t t, Scope scope = Scope::kDefault) const
    {
        if (OpenCount(t) == 0) return false;
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            const Node* n = m_stack[i];
            if (n->Is(t)) return true;
            if (IsScopeBoundary(n, scope)) return false;
        }
        return false;
    }
    bool NodeInScope(const Node* target) const
    {
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            const Node* n = m_stack[i];
            if (n == target) return true;
            if (IsScopeBoundary(n, Scope::kDefault)) return false;
        }
        return false;
    }
    bool HeadingInScope() const
    {
        int open = 0;
        for (std::uint32_t t = kH1; t <= kH6; ++t) open += OpenCount(t);
        if (open == 0) return false;
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            const Node* n = m_stack[i];
            if (n->ns == Namespace::kHtml && IsHeading(n->tag)) return true;
            if (IsScopeBoundary(n, Scope::kDefault)) return false;
        }
        return false;
    }

    void GenerateImpliedEndTags(std::uint32_t except = kNone)
    {
        while (!m_stack.empty()) {
            const Node* n = Current();
            if (n->ns != Namespace::kHtml || n->tag == except ||
                !OneOf(n->tag, kDd, kDt, kLi, kOptgroup, kOption, kP, kRb, kRp, kRt, kRtc)) {
                return;
            }
            Pop();
        }
    }
    void GenerateAllImpliedEndTags()
    {
        while (!m_stack.empty()) {
            const Node* n = Current();
            if (n->ns != Namespace::kHtml ||
                !OneOf(n->tag, kDd, kDt, kLi, kOptgroup, kOption, kP, kRb, kRp, kRt, kRtc, kCaption,
                       kColgroup, kTbody, kTd, kTfoot, kTh, kThead, kTr)) {
                return;
            }
            Pop();
        }
    }
    void ClosePElement()
    {
        GenerateImpliedEndTags(kP);
        PopUntil(kP);
    }
    void ClosePIfInButtonScope()
    {
        if (InScope(kP, Scope::kButton)) ClosePElement();
    }
    void ClearBackTo(std::uint32_t a, std::uint32_t b = kNone, std::uint32_t c = kNone)
    {
        while (m_stack.size() > 1) {
            const Node* n = Current();
            if (n->ns == Namespace::kHtml && (OneOf(n->tag, a, b, c, kTemplate, kHtml))) return;
            Pop();
        }
    }

    // ---- Inserting nodes -------------------------------------------------
    struct Place {
        Node* parent;
        Node* before;
    };

    Place AppropriatePlace(Node* overrideTarget = nullptr)
    {
        Node* target = overrideTarget != nullptr ? overrideTarget : Current();
        Place place{target, nullptr};
        if (m_fosterParenting && target->Is(kTable) + target->Is(kTbody) + target->Is(kTfoot) +
                                         target->Is(kThead) + target->Is(kTr) > 0) {
            std::size_t lastTemplate = SIZE_MAX, lastTable = SIZE_MAX;
            for (std::size_t i = m_stack.size(); i-- > 0;) {
                if (lastTemplate == SIZE_MAX && m_stack[i]->Is(kTemplate)) lastTemplate = i;
                if (lastTable == SIZE_MAX && m_stack[i]->Is(kTable)) lastTable = i;
            }
            if (lastTemplate != SIZE_MAX && (lastTable == SIZE_MAX || lastTemplate > lastTable)) {
                place = {m_stack[lastTemplate], nullptr};
            } else if (lastTable == SIZE_MAX) {
                place = {m_stack[0], nullptr};
            } else if (m_stack[lastTable]->parent != nullptr) {
                place = {m_stack[lastTable]->parent, m_stack[lastTable]};
            } else {
                place = {m_stack[lastTable - 1], nullptr};
            }
        }
        // Browsers flatten absurdly deep trees: deeper nodes go to an ancestor.
        while (place.parent->depth >= kMaxTreeDepth && place.parent->parent != nullptr) {
            place = {place.parent->parent, nullptr};
        }
        return place;
    }

    static void Detach(Node* n)
    {
        Node* p = n->parent;
        if (p == nullptr) return;
        (n->prev ? n->prev->next : p->first) = n->next;
        (n->next ? n->next->prev : p->last) = n->prev;
        n->parent = n->prev = n->next = nullptr;
    }
    static void InsertAt(const Place& place, Node* n)
    {
        Detach(n);
        n->parent = place.parent;
        n->depth = static_cast<std::uint16_t>(place.parent->depth + 1);
        if (place.before == nullptr) {
            n->prev = place.parent->last;
            (place.parent->last ? place.parent->last->next : place.parent->first) = n;
            place.parent->last = n;
        } else {
            n->next = place.before;
            n->prev = place.before->prev;
            (place.before->prev ? place.before->prev->next : place.parent->first) = n;
            place.before->prev = n;
        }
    }

    std::uint32_t TagId(const Token& t)
    {
        if (t.id == 0) t.id = m_doc.InternTag(t.name);
        return t.id;
    }

    Node* CreateElement(const Token& t, Namespace ns)
    {
        Node* n = m_doc.NewElement(TagId(t), ns, &t.attributes);
        if (ns == Namespace::kMathMl && n->tag == kAnnotationXml) {
            const std::u16string* enc = t.Find("encoding");
            n->htmlIntegration = enc != nullptr && (EqualsIgnoreCase(*enc, u"text/html") ||
                                                    EqualsIgnoreCase(*enc, u"application/xhtml+xml"));
        } else if (ns == Namespace::kSvg) {
            n->htmlIntegration = OneOf(n->tag, kForeignObject, kDesc, kTitle);
        }
        return n;
    }
    Node* CloneElement(const Node* original)
    {
        Node* n = m_doc.NewElement(original->tag, original->ns, m_doc.Attributes(original));
        n->htmlIntegration = original->htmlIntegration;
        return n;
    }

    Node* InsertElement(const Token& t, Namespace ns = Namespace::kHtml)
    {
        Node* n = CreateElement(t, ns);
        InsertAt(AppropriatePlace(), n);
        Push(n);
        return n;
    }
    Node* InsertSynthetic(const char* name)
    {
        Token t;
        t.type = Token::kStartTag;
        t.name = name;
        return InsertElement(t);
    }

    void InsertText(std::u16string_view text)
    {
        if (text.empty()) return;
        const Place place = AppropriatePlace();
        if (place.parent->kind == Node::kDocument) return;
        Node* before = place.before != nullptr ? place.before->prev : place.parent->last;
        if (before != nullptr && before->kind == Node::kText) {
            m_doc.MutableText(before).append(text);
            return;
        }
        InsertAt(place, m_doc.NewText(std::u16string(text)));
    }

    // ---- Active formatting elements ---------------------------------------
    void PushFormatting(Node* n)
    {
        // Noah's Ark: at most three equal entries after the last marker
        // (only the most recent entries are compared, to keep this cheap).
        int equal = 0;
        std::size_t earliest = SIZE_MAX;
        const std::vector<Attribute>* attrs = m_doc.Attributes(n);
        std::size_t looked = 0;
        for (std::size_t i = m_formatting.size(); i-- > 0 && looked < 256; ++looked) {
            const Node* e = m_formatting[i];
            if (e == nullptr) break;
            if (e->tag != n->tag || e->ns != n->ns) continue;
            const std::vector<Attribute>* other = m_doc.Attributes(e);
            const bool same = (attrs == nullptr || attrs->empty())
                                  ? (other == nullptr || other->empty())
                                  : (other != nullptr && SameAttributes(*attrs, *other));
            if (same) {
                ++equal;
                earliest = i;
            }
        }
        if (equal >= 3) {
            m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(earliest));
        }
        m_formatting.push_back(n);
    }
    static bool SameAttributes(const std::vector<Attribute>& a, const std::vector<Attribute>& b)
    {
        if (a.size() != b.size()) return false;
        for (const Attribute& x : a) {
            const auto it = std::find_if(b.begin(), b.end(), [&](const Attribute& y) { return y.name == x.name; });
            if (it == b.end() || it->value != x.value) return false;
        }
        return true;
    }
    std::size_t FormattingIndex(const Node* n) const
    {
        for (std::size_t i = m_formatting.size(); i-- > 0;) {
            if (m_formatting[i] == n) return i;
        }
        return SIZE_MAX;
    }
    void ClearFormattingToMarker()
    {
        while (!m_formatting.empty()) {
            const Node* e = m_formatting.back();
            m_formatting.pop_back();
            if (e == nullptr) break;
        }
    }
    void ReconstructFormatting()
    {
        if (m_formatting.empty()) return;
        std::size_t i = m_formatting.size() - 1;
        if (m_formatting[i] == nullptr || m_formatting[i]->open) return;
        while (i > 0) {
            --i;
            if (m_formatting[i] == nullptr || m_formatting[i]->open) {
                ++i;
                break;
            }
        }
        for (; i < m_formatting.size(); ++i) {
            if (m_doc.NodeCount() > m_nodeBudget) return;
            Node* clone = CloneElement(m_formatting[i]);
            InsertAt(AppropriatePlace(), clone);
            Push(clone);
            m_formatting[i] = clone;
        }
    }

    // Returns false when the "any other end tag" steps must run instead.
    bool AdoptionAgency(std::uint32_t subject)
    {
        if (Current()->Is(subject) && FormattingIndex(Current()) == SIZE_MAX) {
            Pop();
            return true;
        }
        for (int outer = 0; outer < 8; ++outer) {
            std::size_t fi = SIZE_MAX;
            for (std::size_t i = m_formatting.size(); i-- > 0;) {
                if (m_formatting[i] == nullptr) break;
                if (m_formatting[i]->Is(subject)) {
                    fi = i;
                    break;
                }
            }
            if (fi == SIZE_MAX) return false;
            Node* formattingElement = m_formatting[fi];
            if (!formattingElement->open) {
                m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(fi));
                return true;
            }
            if (!NodeInScope(formattingElement)) return true;
            const std::size_t feIndex = StackIndex(formattingElement);
            Node* furthestBlock = nullptr;
            for (std::size_t i = feIndex + 1; i < m_stack.size(); ++i) {
                if (IsSpecial(m_stack[i])) {
                    furthestBlock = m_stack[i];
                    break;
                }
            }
            if (furthestBlock == nullptr) {
                while (Current() != formattingElement) Pop();
                Pop();
                m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(FormattingIndex(formattingElement)));
                return true;
            }
            Node* commonAncestor = m_stack[feIndex - 1];
            std::size_t bookmark = FormattingIndex(formattingElement);
            Node* lastNode = furthestBlock;
            std::size_t ni = StackIndex(furthestBlock);
            for (int inner = 1;; ++inner) {
                --ni;
                Node* node = m_stack[ni];
                if (node == formattingElement) break;
                std::size_t li = FormattingIndex(node);
                if (inner > 3 && li != SIZE_MAX) {
                    m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(li));
                    if (li < bookmark) --bookmark;
                    li = SIZE_MAX;
                }
                if (li == SIZE_MAX) {
                    EraseFromStack(ni);
                    continue;
                }
                Node* clone = CloneElement(node);
                m_formatting[li] = clone;
                node->open = false;
                CountOpen(node, -1);
                m_stack[ni] = clone;
                clone->open = true;
                CountOpen(clone, 1);
                node = clone;
                if (lastNode == furthestBlock) bookmark = li + 1;
                InsertAt({node, nullptr}, lastNode);
                lastNode = node;
            }
            InsertAt(AppropriatePlace(commonAncestor), lastNode);
            Node* fresh = CloneElement(formattingElement);
            while (furthestBlock->first != nullptr) {
                InsertAt({fresh, nullptr}, furthestBlock->first);
            }
            InsertAt({furthestBlock, nullptr}, fresh);
            const std::size_t oldIndex = FormattingIndex(formattingElement);
            m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(oldIndex));
            if (oldIndex < bookmark) --bookmark;
            m_formatting.insert(m_formatting.begin() + static_cast<std::ptrdiff_t>(std::min(bookmark, m_formatting.size())), fresh);
            EraseFromStack(StackIndex(formattingElement));
            InsertIntoStack(StackIndex(furthestBlock) + 1, fresh);
        }
        return true;
    }

    void AnyOtherEndTag(const Token& t)
    {
        const std::uint32_t id = TagId(t);
        if (OpenCount(id) == 0) return;  // the walk below would find nothing
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            Node* n = m_stack[i];
            if (n->Is(id)) {
                GenerateImpliedEndTags(id);
                while (Current() != n) Pop();
                Pop();
                return;
            }
            if (IsSpecial(n)) return;
        }
    }

    // ---- Modes ------------------------------------------------------------
    void ResetInsertionMode()
    {
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            const Node* n = m_stack[i];
            const bool last = i == 0;
            if (n->ns != Namespace::kHtml) {
                if (last) { m_mode = Mode::kInBody; return; }
                continue;
            }
            switch (n->tag) {
            case kSelect:
                for (std::size_t j = i; j-- > 0;) {
                    if (m_stack[j]->Is(kTemplate)) break;
                    if (m_stack[j]->Is(kTable)) { m_mode = Mode::kInSelectInTable; return; }
                }
                m_mode = Mode::kInSelect;
                return;
            case kTd: case kTh:
                if (!last) { m_mode = Mode::kInCell; return; }
                break;
            case kTr: m_mode = Mode::kInRow; return;
            case kTbody: case kThead: case kTfoot: m_mode = Mode::kInTableBody; return;
            case kCaption: m_mode = Mode::kInCaption; return;
            case kColgroup: m_mode = Mode::kInColumnGroup; return;
            case kTable: m_mode = Mode::kInTable; return;
            case kTemplate: m_mode = m_templateModes.empty() ? Mode::kInBody : m_templateModes.back(); return;
            case kHead:
                if (!last) { m_mode = Mode::kInHead; return; }
                break;
            case kBody: m_mode = Mode::kInBody; return;
            case kFrameset: m_mode = Mode::kInFrameset; return;
            case kHtml: m_mode = m_head == nullptr ? Mode::kBeforeHead : Mode::kAfterHead; return;
            default: break;
            }
            if (last) { m_mode = Mode::kInBody; return; }
        }
        m_mode = Mode::kInBody;
    }

    void GenericText(const Token& t, Tokenizer::State state)
    {
        InsertElement(t);
        m_tokenizer.SwitchTo(state);
        m_originalMode = m_mode;
        m_mode = Mode::kText;
    }

    bool TemplateOpen() const { return OpenCount(kTemplate) > 0; }

    void Dispatch(Token& t)
    {
        if (!m_stack.empty()) {
            const Node* n = Current();
            const bool foreign = n->ns != Namespace::kHtml;
            if (foreign && t.type != Token::kEof) {
                const bool start = t.type == Token::kStartTag;
                const bool text = t.type == Token::kText;
                bool html = false;
                if (IsMathTextIntegration(n) && ((start && t.name != "mglyph" && t.name != "malignmark") || text)) html = true;
                if (n->ns == Namespace::kMathMl && n->tag == kAnnotationXml && start && t.name == "svg") html = true;
                if (IsHtmlIntegration(n) && (start || text)) html = true;
                if (!html) {
                    ForeignContent(t);
                    return;
                }
            }
        }
        Process(t);
    }

    void Process(Token& t, Mode mode)
    {
        const Mode saved = m_mode;
        (void)saved;
        switch (mode) {
        case Mode::kInitial: Initial(t); break;
        case Mode::kBeforeHtml: BeforeHtml(t); break;
        case Mode::kBeforeHead: BeforeHead(t); break;
        case Mode::kInHead: InHead(t); break;
        case Mode::kAfterHead: AfterHead(t); break;
        case Mode::kInBody: InBody(t); break;
        case Mode::kText: InText(t); break;
        case Mode::kInTable: InTable(t); break;
        case Mode::kInTableText: InTableText(t); break;
        case Mode::kInCaption: InCaption(t); break;
        case Mode::kInColumnGroup: InColumnGroup(t); break;
        case Mode::kInTableBody: InTableBody(t); break;
        case Mode::kInRow: InRow(t); break;
        case Mode::kInCell: InCell(t); break;
        case Mode::kInSelect: InSelect(t); break;
        case Mode::kInSelectInTable: InSelectInTable(t); break;
        case Mode::kInTemplate: InTemplate(t); break;
        case Mode::kAfterBody: AfterBody(t); break;
        case Mode::kInFrameset: InFrameset(t); break;
        case Mode::kAfterFrameset: AfterFrameset(t); break;
        case Mode::kAfterAfterBody: AfterAfterBody(t); break;
        case Mode::kAfterAfterFrameset: AfterAfterFrameset(t); break;
        }
    }
    void Process(Token& t) { Process(t, m_mode); }

    // Handles leading white space of a text token with `space`; the rest of
    // the token (if any) is left in t for the mode's "anything else".
    template <typename F>
    bool SplitSpace(Token& t, F space)
    {
        const std::size_t n = LeadingSpace(t.text);
        if (n > 0) {
            space(std::u16string_view(t.text).substr(0, n));
            t.text.erase(0, n);
        }
        return !t.text.empty();
    }

    void Initial(Token& t)
    {
        if (t.type == Token::kText && !SplitSpace(t, [](std::u16string_view) {})) return;
        if (t.type == Token::kComment) return;
        if (t.type == Token::kDoctype) {
            m_quirks = t.forceQuirks || t.name != "html" || QuirkyPublicId(t);
            m_mode = Mode::kBeforeHtml;
            return;
        }
        m_quirks = true;
        m_mode = Mode::kBeforeHtml;
        Process(t);
    }
    static bool QuirkyPublicId(const Token& t)
    {
        if (!t.hasPublicId) return false;
        static const char16_t* const kPrefixes[] = {
            u"-//w3o//dtd w3 html strict 3.0//en//", u"-/w3c/dtd html 4.0 transitional/en", u"html",
            u"-//w3c//dtd html 4.01 frameset//", u"-//w3c//dtd html 4.01 transitional//",
            u"-//w3c//dtd html 3", u"-//w3c//dtd html 2", u"-//ietf//dtd html", u"-//netscape comm. corp.//",
            u"-//microsoft//dtd internet explorer", u"-//w3c//dtd w3 html//", u"-//w3c//dtd html experimental",
            u"-//sq//dtd html 2.0", u"-//webtechs//dtd mozilla html",
        };
        std::u16string lower = t.publicId;
        for (char16_t& c : lower) if (c >= 'A' && c <= 'Z') c += 32;
        for (const char16_t* p : kPrefixes) {
            if (lower.rfind(p, 0) == 0) return true;
        }
        return false;
    }

    void BeforeHtml(Token& t)
    {
        if (t.type == Token::kDoctype || t.type == Token::kComment) return;
        if (t.type == Token::kText && !SplitSpace(t, [](std::u16string_view) {})) return;
        if (t.type == Token::kStartTag && t.name == "html") {
            Node* n = CreateElement(t, Namespace::kHtml);
            InsertAt({m_doc.Root(), nullptr}, n);
            Push(n);
            m_mode = Mode::kBeforeHead;
            return;
        }
        if (t.type == Token::kEndTag && t.name != "head" && t.name != "body" && t.name != "html" && t.name != "br") return;
        Token html;
        html.type = Token::kStartTag;
        html.name = "html";
        Node* n = CreateElement(html, Namespace::kHtml);
        InsertAt({m_doc.Root(), nullptr}, n);
        Push(n);
        m_mode = Mode::kBeforeHead;
        Process(t);
    }

    void BeforeHead(Token& t)
    {
        if (t.type == Token::kText && !SplitSpace(t, [](std::u16string_view) {})) return;
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
        if (t.type == Token::kStartTag && t.name == "head") {
            m_head = InsertElement(t);
            m_mode = Mode::kInHead;
            return;
        }
        if (t.type == Token::kEndTag && t.name != "head" && t.name != "body" && t.name != "html" && t.name != "br") return;
        m_head = InsertSynthetic("head");
        m_mode = Mode::kInHead;
        Process(t);
    }

    void InHead(Token& t)
    {
        if (t.type == Token::kText && !SplitSpace(t, [this](std::u16string_view s) { InsertText(s); })) return;
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kStartTag) {
            switch (id) {
            case kHtml: InBody(t); return;
            case kBase: case kBasefont: case kBgsound: case kLink: case kMeta:
                InsertElement(t);
                Pop();
                return;
            case kTitle: GenericText(t, Tokenizer::kRcdata); return;
            case kNoscript: case kNoframes: case kStyle: GenericText(t, Tokenizer::kRawtext); return;
            case kScript: GenericText(t, Tokenizer::kScriptData); return;
            case kTemplate:
                InsertElement(t);
                m_formatting.push_back(nullptr);
                m_framesetOk = false;
                m_mode = Mode::kInTemplate;
                m_templateModes.push_back(Mode::kInTemplate);
                return;
            case kHead: return;
            default: break;
            }
        } else if (t.type == Token::kEndTag) {
            if (id == kHead) {
                Pop();
                m_mode = Mode::kAfterHead;
                return;
            }
            if (id == kTemplate) {
                if (!TemplateOpen()) return;
                GenerateAllImpliedEndTags();
                PopUntil(kTemplate);
                ClearFormattingToMarker();
                if (!m_templateModes.empty()) m_templateModes.pop_back();
                ResetInsertionMode();
                return;
            }
            if (id != kBody && id != kHtml && id != kBr) return;
        }
        Pop();  // the head
        m_mode = Mode::kAfterHead;
        Process(t);
    }

    void AfterHead(Token& t)
    {
        if (t.type == Token::kText && !SplitSpace(t, [this](std::u16string_view s) { InsertText(s); })) return;
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kStartTag) {
            switch (id) {
            case kHtml: InBody(t); return;
            case kBody:
                InsertElement(t);
                m_framesetOk = false;
                m_mode = Mode::kInBody;
                return;
            case kFrameset:
                InsertElement(t);
                m_mode = Mode::kInFrameset;
                return;
            case kBase: case kBasefont: case kBgsound: case kLink: case kMeta: case kNoframes:
            case kScript: case kStyle: case kTemplate: case kTitle: {
                if (m_head == nullptr) break;
                Push(m_head);
                InHead(t);
                const std::size_t i = StackIndex(m_head);
                if (i != SIZE_MAX) EraseFromStack(i);
                return;
            }
            case kHead: return;
            default: break;
            }
        } else if (t.type == Token::kEndTag) {
            if (id == kTemplate) { InHead(t); return; }
            if (id != kBody && id != kHtml && id != kBr) return;
        }
        InsertSynthetic("body");
        m_mode = Mode::kInBody;
        Process(t);
    }

    void InBodyText(std::u16string text)
    {
        text.erase(std::remove(text.begin(), text.end(), u'\0'), text.end());
        if (text.empty()) return;
        ReconstructFormatting();
        InsertText(text);
        if (!AllSpace(text)) m_framesetOk = false;
    }

    void InBody(Token& t)
    {
        switch (t.type) {
        case Token::kText: InBodyText(t.text); return;
        case Token::kComment: case Token::kDoctype: return;
        case Token::kEof:
            if (!m_templateModes.empty()) { InTemplate(t); return; }
            m_stopped = true;
            return;
        case Token::kStartTag: InBodyStart(t); return;
        case Token::kEndTag: InBodyEnd(t); return;
        }
    }

    void InBodyStart(Token& t)
    {
        const std::uint32_t id = TagId(t);
        switch (id) {
        case kHtml: return;
        case kBase: case kBasefont: case kBgsound: case kLink: case kMeta: case kNoframes:
        case kScript: case kStyle: case kTemplate: case kTitle:
            InHead(t);
            return;
        case kBody:
            if (m_stack.size() < 2 || !m_stack[1]->Is(kBody) || TemplateOpen()) return;
            m_framesetOk = false;
            return;
        case kFrameset: {
            if (m_stack.size() < 2 || !m_stack[1]->Is(kBody) || !m_framesetOk) return;
            Detach(m_stack[1]);
            while (m_stack.size() > 1) Pop();
            InsertElement(t);
            m_mode = Mode::kInFrameset;
            return;
        }
        case kAddress: case kArticle: case kAside: case kBlockquote: case kCenter: case kDetails:
        case kDialog: case kDir: case kDiv: case kDl: case kFieldset: case kFigcaption: case kFigure:
        case kFooter: case kHeader: case kHgroup: case kMain: case kMenu: case kNav: case kOl:
        case kP: case kSearch: case kSection: case kSummary: case kUl:
            ClosePIfInButtonScope();
            InsertElement(t);
            return;
        case kH1: case kH2: case kH3: case kH4: case kH5: case kH6:
            ClosePIfInButtonScope();
            if (Current()->ns == Namespace::kHtml && IsHeading(Current()->tag)) Pop();
            InsertElement(t);
            return;
        case kPre: case kListing:
            ClosePIfInButtonScope();
            InsertElement(t);
            m_ignoreNextLf = true;
            m_framesetOk = false;
            return;
        case kForm:
            if (m_form != nullptr && !TemplateOpen()) return;
            ClosePIfInButtonScope();
            {
                Node* n = InsertElement(t);
                if (!TemplateOpen()) m_form = n;
            }
            return;
        case kLi: case kDd: case kDt: {
            m_framesetOk = false;
            for (std::size_t i = m_stack.size(); i-- > 0;) {
                Node* n = m_stack[i];
                const bool match = id == kLi ? n->Is(kLi) : (n->Is(kDd) || n->Is(kDt));
                if (match) {
                    GenerateImpliedEndTags(n->tag);
                    PopUntil(n->tag);
                    break;
                }
                if (IsSpecial(n) && !(n->Is(kAddress) || n->Is(kDiv) || n->Is(kP))) break;
            }
            ClosePIfInButtonScope();
            InsertElement(t);
            return;
        }
        case kPlaintext:
            ClosePIfInButtonScope();
            InsertElement(t);
            m_tokenizer.SwitchTo(Tokenizer::kPlaintext);
            return;
        case kButton:
            if (InScope(kButton)) {
                GenerateImpliedEndTags();
                PopUntil(kButton);
            }
            ReconstructFormatting();
            InsertElement(t);
            m_framesetOk = false;
            return;
        case kA: {
            for (std::size_t i = m_formatting.size(); i-- > 0;) {
                Node* e = m_formatting[i];
                if (e == nullptr) break;
                if (e->Is(kA)) {
                    if (!AdoptionAgency(kA)) AnyOtherEndTag(t);
                    const std::size_t fi = FormattingIndex(e);
                    if (fi != SIZE_MAX) m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(fi));
                    const std::size_t si = StackIndex(e);
                    if (e->open && si != SIZE_MAX) EraseFromStack(si);
                    break;
                }
            }
            ReconstructFormatting();
            PushFormatting(InsertElement(t));
            return;
        }
        case kB: case kBig: case kCode: case kEm: case kFont: case kI: case kS: case kSmall:
        case kStrike: case kStrong: case kTt: case kU:
            ReconstructFormatting();
            PushFormatting(InsertElement(t));
            return;
        case kNobr:
            ReconstructFormatting();
            if (InScope(kNobr)) {
                Token end;
                end.type = Token::kEndTag;
                end.name = "nobr";
                if (!AdoptionAgency(kNobr)) AnyOtherEndTag(end);
                ReconstructFormatting();
            }
            PushFormatting(InsertElement(t));
            return;
        case kApplet: case kMarquee: case kObject:
            ReconstructFormatting();
            InsertElement(t);
            m_formatting.push_back(nullptr);
            m_framesetOk = false;
            return;
        case kTable:
            if (!m_quirks) ClosePIfInButtonScope();
            InsertElement(t);
            m_framesetOk = false;
            m_mode = Mode::kInTable;
            return;
        case kArea: case kBr: case kEmbed: case kImg: case kKeygen: case kWbr:
            ReconstructFormatting();
            InsertElement(t);
            Pop();
            m_framesetOk = false;
            return;
        case kInput: {
            ReconstructFormatting();
            InsertElement(t);
            Pop();
            const std::u16string* type = t.Find("type");
            if (type == nullptr || !EqualsIgnoreCase(*type, u"hidden")) m_framesetOk = false;
            return;
        }
        case kParam: case kSource: case kTrack:
            InsertElement(t);
            Pop();
            return;
        case kHr:
            ClosePIfInButtonScope();
            InsertElement(t);
            Pop();
            m_framesetOk = false;
            return;
        case kImage:
            t.name = "img";
            t.id = kImg;
            InBodyStart(t);
            return;
        case kTextarea:
            InsertElement(t);
            m_ignoreNextLf = true;
            m_tokenizer.SwitchTo(Tokenizer::kRcdata);
            m_originalMode = m_mode;
            m_framesetOk = false;
            m_mode = Mode::kText;
            return;
        case kXmp:
            ClosePIfInButtonScope();
            ReconstructFormatting();
            m_framesetOk = false;
            GenericText(t, Tokenizer::kRawtext);
            return;
        case kIframe:
            m_framesetOk = false;
            GenericText(t, Tokenizer::kRawtext);
            return;
        case kNoembed: case kNoscript:
            GenericText(t, Tokenizer::kRawtext);
            return;
        case kSelect:
            ReconstructFormatting();
            InsertElement(t);
            m_framesetOk = false;
            m_mode = (m_mode == Mode::kInTable || m_mode == Mode::kInCaption || m_mode == Mode::kInTableBody ||
                      m_mode == Mode::kInRow || m_mode == Mode::kInCell)
                         ? Mode::kInSelectInTable
                         : Mode::kInSelect;
            return;
        case kOptgroup: case kOption:
            if (Current()->Is(kOption)) Pop();
            ReconstructFormatting();
            InsertElement(t);
            return;
        case kRb: case kRtc:
            if (InScope(kRuby)) GenerateImpliedEndTags();
            InsertElement(t);
            return;
        case kRp: case kRt:
            if (InScope(kRuby)) GenerateImpliedEndTags(kRtc);
            InsertElement(t);
            return;
        case kMath: case kSvg:
            ReconstructFormatting();
            InsertElement(t, id == kMath ? Namespace::kMathMl : Namespace::kSvg);
            if (t.selfClosing) Pop();
            return;
        case kCaption: case kCol: case kColgroup: case kFrame: case kHead: case kTbody: case kTd:
        case kTfoot: case kTh: case kThead: case kTr:
            return;
        default:
            ReconstructFormatting();
            InsertElement(t);
            return;
        }
    }

    void InBodyEnd(Token& t)
    {
        const std::uint32_t id = TagId(t);
        switch (id) {
        case kTemplate: InHead(t); return;
        case kBody:
            if (!InScope(kBody)) return;
            m_mode = Mode::kAfterBody;
            return;
        case kHtml:
            if (!InScope(kBody)) return;
            m_mode = Mode::kAfterBody;
            Process(t);
            return;
        case kAddress: case kArticle: case kAside: case kBlockquote: case kButton: case kCenter:
        case kDetails: case kDialog: case kDir: case kDiv: case kDl: case kFieldset: case kFigcaption:
        case kFigure: case kFooter: case kHeader: case kHgroup: case kListing: case kMain: case kMenu:
        case kNav: case kOl: case kPre: case kSearch: case kSection: case kSummary: case kUl:
            if (!InScope(id)) return;
            GenerateImpliedEndTags();
            PopUntil(id);
            return;
        case kForm:
            if (!TemplateOpen()) {
                Node* node = m_form;
                m_form = nullptr;
                if (node == nullptr || !NodeInScope(node)) return;
                GenerateImpliedEndTags();
                EraseFromStack(StackIndex(node));
            } else {
                if (!InScope(kForm)) return;
                GenerateImpliedEndTags();
                PopUntil(kForm);
            }
            return;
        case kP:
            if (!InScope(kP, Scope::kButton)) InsertSynthetic("p");
            ClosePElement();
            return;
        case kLi:
            if (!InScope(kLi, Scope::kListItem)) return;
            GenerateImpliedEndTags(kLi);
            PopUntil(kLi);
            return;
        case kDd: case kDt:
            if (!InScope(id)) return;
            GenerateImpliedEndTags(id);
            PopUntil(id);
            return;
        case kH1: case kH2: case kH3: case kH4: case kH5: case kH6:
            if (!HeadingInScope()) return;
            GenerateImpliedEndTags();
            PopUntilHeading();
            return;
        case kA: case kB: case kBig: case kCode: case kEm: case kFont: case kI: case kNobr: case kS:
        case kSmall: case kStrike: case kStrong: case kTt: case kU:
            if (!AdoptionAgency(id)) AnyOtherEndTag(t);
            return;
        case kApplet: case kMarquee: case kObject:
            if (!InScope(id)) return;
            GenerateImpliedEndTags();
            PopUntil(id);
            ClearFormattingToMarker();
            return;
        case kBr: {
            Token br;
            br.type = Token::kStartTag;
            br.name = "br";
            InBodyStart(br);
            return;
        }
        default:
            AnyOtherEndTag(t);
            return;
        }
    }

    void InText(Token& t)
    {
        if (t.type == Token::kText) {
            InsertText(t.text);
            return;
        }
        if (t.type == Token::kEof) {
            Pop();
            m_mode = m_originalMode;
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag) {
            Pop();
            m_mode = m_originalMode;
        }
    }

    void FosterInBody(Token& t)
    {
        m_fosterParenting = true;
        InBody(t);
        m_fosterParenting = false;
    }

    void InTable(Token& t)
    {
        if (t.type == Token::kText) {
            const Node* n = Current();
            if (n->Is(kTable) || n->Is(kTbody) || n->Is(kTemplate) || n->Is(kTfoot) || n->Is(kThead) || n->Is(kTr)) {
                m_pendingTableText.clear();
                m_originalMode = m_mode;
                m_mode = Mode::kInTableText;
                Process(t);
                return;
            }
            FosterInBody(t);
            return;
        }
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        if (t.type == Token::kEof) { InBody(t); return; }
        const std::uint32_t id = TagId(t);
        if (t.type == Token::kStartTag) {
            switch (id) {
            case kCaption:
                ClearBackTo(kTable);
                m_formatting.push_back(nullptr);
                InsertElement(t);
                m_mode = Mode::kInCaption;
                return;
            case kColgroup:
                ClearBackTo(kTable);
                InsertElement(t);
                m_mode = Mode::kInColumnGroup;
                return;
            case kCol:
                ClearBackTo(kTable);
                InsertSynthetic("colgroup");
                m_mode = Mode::kInColumnGroup;
                Process(t);
                return;
            case kTbody: case kTfoot: case kThead:
                ClearBackTo(kTable);
                InsertElement(t);
                m_mode = Mode::kInTableBody;
                return;
            case kTd: case kTh: case kTr:
                ClearBackTo(kTable);
                InsertSynthetic("tbody");
                m_mode = Mode::kInTableBody;
                Process(t);
                return;
            case kTable:
                if (!InScope(kTable, Scope::kTable)) return;
                PopUntil(kTable);
                ResetInsertionMode();
                Process(t);
                return;
            case kStyle: case kScript: case kTemplate: InHead(t); return;
            case kInput: {
                const std::u16string* type = t.Find("type");
                if (type == nullptr || !EqualsIgnoreCase(*type, u"hidden")) break;
                InsertElement(t);
                Pop();
                return;
            }
            case kForm:
                if (TemplateOpen() || m_form != nullptr) return;
                m_form = InsertElement(t);
                Pop();
                return;
            default: break;
            }
        } else {
            switch (id) {
            case kTable:
                if (!InScope(kTable, Scope::kTable)) return;
                PopUntil(kTable);
                ResetInsertionMode();
                return;
            case kBody: case kCaption: case kCol: case kColgroup: case kHtml: case kTbody: case kTd:
            case kTfoot: case kTh: case kThead: case kTr:
                return;
            case kTemplate: InHead(t); return;
            default: break;
            }
        }
        FosterInBody(t);
    }

    void InTableText(Token& t)
    {
        if (t.type == Token::kText) {
            for (char16_t c : t.text) {
                if (c != 0) m_pendingTableText.push_back(c);
            }
            return;
        }
        if (!AllSpace(m_pendingTableText)) {
            Token text;
            text.type = Token::kText;
            text.text = m_pendingTableText;
            FosterInBody(text);
        } else {
            InsertText(m_pendingTableText);
        }
        m_pendingTableText.clear();
        m_mode = m_originalMode;
        Process(t);
    }

    void InCaption(Token& t)
    {
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        const bool endCaption = t.type == Token::kEndTag && id == kCaption;
        const bool closes = (t.type == Token::kStartTag && OneOf(id, kCaption, kCol, kColgroup, kTbody, kTd, kTfoot, kTh, kThead, kTr)) ||
                            (t.type == Token::kEndTag && id == kTable);
        if (endCaption || closes) {
            if (!InScope(kCaption, Scope::kTable)) return;
            GenerateImpliedEndTags();
            PopUntil(kCaption);
            ClearFormattingToMarker();
            m_mode = Mode::kInTable;
            if (closes) Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kBody, kCol, kColgroup, kHtml, kTbody, kTd, kTfoot, kTh, kThead, kTr)) return;
        InBody(t);
    }

    void InColumnGroup(Token& t)
    {
        if (t.type == Token::kText && !SplitSpace(t, [this](std::u16string_view s) { InsertText(s); })) return;
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kStartTag && id == kHtml) { InBody(t); return; }
        if (t.type == Token::kStartTag && id == kCol) {
            InsertElement(t);
            Pop();
            return;
        }
        if (t.type == Token::kEndTag && id == kColgroup) {
            if (!Current()->Is(kColgroup)) return;
            Pop();
            m_mode = Mode::kInTable;
            return;
        }
        if (t.type == Token::kEndTag && id == kCol) return;
        if ((t.type == Token::kStartTag || t.type == Token::kEndTag) && id == kTemplate) { InHead(t); return; }
        if (t.type == Token::kEof) { InBody(t); return; }
        if (!Current()->Is(kColgroup)) return;
        Pop();
        m_mode = Mode::kInTable;
        Process(t);
    }

    void InTableBody(Token& t)
    {
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kStartTag && id == kTr) {
            ClearBackTo(kTbody, kTfoot, kThead);
            InsertElement(t);
            m_mode = Mode::kInRow;
            return;
        }
        if (t.type == Token::kStartTag && (id == kTh || id == kTd)) {
            ClearBackTo(kTbody, kTfoot, kThead);
            InsertSynthetic("tr");
            m_mode = Mode::kInRow;
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kTbody, kTfoot, kThead)) {
            if (!InScope(id, Scope::kTable)) return;
            ClearBackTo(kTbody, kTfoot, kThead);
            Pop();
            m_mode = Mode::kInTable;
            return;
        }
        if ((t.type == Token::kStartTag && OneOf(id, kCaption, kCol, kColgroup, kTbody, kTfoot, kThead)) ||
            (t.type == Token::kEndTag && id == kTable)) {
            if (!InScope(kTbody, Scope::kTable) && !InScope(kThead, Scope::kTable) && !InScope(kTfoot, Scope::kTable)) return;
            ClearBackTo(kTbody, kTfoot, kThead);
            Pop();
            m_mode = Mode::kInTable;
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kBody, kCaption, kCol, kColgroup, kHtml, kTd, kTh, kTr)) return;
        InTable(t);
    }

    void InRow(Token& t)
    {
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kStartTag && (id == kTh || id == kTd)) {
            ClearBackTo(kTr);
            InsertElement(t);
            m_mode = Mode::kInCell;
            m_formatting.push_back(nullptr);
            return;
        }
        if (t.type == Token::kEndTag && id == kTr) {
            if (!InScope(kTr, Scope::kTable)) return;
            ClearBackTo(kTr);
            Pop();
            m_mode = Mode::kInTableBody;
            return;
        }
        if ((t.type == Token::kStartTag && OneOf(id, kCaption, kCol, kColgroup, kTbody, kTfoot, kThead, kTr)) ||
            (t.type == Token::kEndTag && id == kTable)) {
            if (!InScope(kTr, Scope::kTable)) return;
            ClearBackTo(kTr);
            Pop();
            m_mode = Mode::kInTableBody;
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kTbody, kTfoot, kThead)) {
            if (!InScope(id, Scope::kTable) || !InScope(kTr, Scope::kTable)) return;
            ClearBackTo(kTr);
            Pop();
            m_mode = Mode::kInTableBody;
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kBody, kCaption, kCol, kColgroup, kHtml, kTd, kTh)) return;
        InTable(t);
    }

    void CloseCell()
    {
        GenerateImpliedEndTags();
        while (!m_stack.empty()) {
            const bool done = Current()->Is(kTd) || Current()->Is(kTh);
            Pop();
            if (done) break;
        }
        ClearFormattingToMarker();
        m_mode = Mode::kInRow;
    }

    void InCell(Token& t)
    {
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if (t.type == Token::kEndTag && (id == kTd || id == kTh)) {
            if (!InScope(id, Scope::kTable)) return;
            GenerateImpliedEndTags();
            PopUntil(id);
            ClearFormattingToMarker();
            m_mode = Mode::kInRow;
            return;
        }
        if (t.type == Token::kStartTag && OneOf(id, kCaption, kCol, kColgroup, kTbody, kTd, kTfoot, kTh, kThead, kTr)) {
            if (!InScope(kTd, Scope::kTable) && !InScope(kTh, Scope::kTable)) return;
            CloseCell();
            Process(t);
            return;
        }
        if (t.type == Token::kEndTag && OneOf(id, kBody, kCaption, kCol, kColgroup, kHtml)) return;
        if (t.type == Token::kEndTag && OneOf(id, kTable, kTbody, kTfoot, kThead, kTr)) {
            if (!InScope(id, Scope::kTable)) return;
            CloseCell();
            Process(t);
            return;
        }
        InBody(t);
    }

    void InSelect(Token& t)
    {
        if (t.type == Token::kText) {
            std::u16string text = t.text;
            text.erase(std::remove(text.begin(), text.end(), u'\0'), text.end());
            InsertText(text);
            return;
        }
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        if (t.type == Token::kEof) { InBody(t); return; }
        const std::uint32_t id = TagId(t);
        if (t.type == Token::kStartTag) {
            switch (id) {
            case kHtml: InBody(t); return;
            case kOption:
                if (Current()->Is(kOption)) Pop();
                InsertElement(t);
                return;
            case kOptgroup:
                if (Current()->Is(kOption)) Pop();
                if (Current()->Is(kOptgroup)) Pop();
                InsertElement(t);
                return;
            case kHr:
                if (Current()->Is(kOption)) Pop();
                if (Current()->Is(kOptgroup)) Pop();
                InsertElement(t);
                Pop();
                return;
            case kSelect:
                if (!InScope(kSelect, Scope::kSelect)) return;
                PopUntil(kSelect);
                ResetInsertionMode();
                return;
            case kInput: case kKeygen: case kTextarea:
                if (!InScope(kSelect, Scope::kSelect)) return;
                PopUntil(kSelect);
                ResetInsertionMode();
                Process(t);
                return;
            case kScript: case kTemplate: InHead(t); return;
            default: return;
            }
        }
        switch (id) {
        case kOptgroup:
            if (Current()->Is(kOption) && m_stack.size() > 1 && m_stack[m_stack.size() - 2]->Is(kOptgroup)) Pop();
            if (Current()->Is(kOptgroup)) Pop();
            return;
        case kOption:
            if (Current()->Is(kOption)) Pop();
            return;
        case kSelect:
            if (!InScope(kSelect, Scope::kSelect)) return;
            PopUntil(kSelect);
            ResetInsertionMode();
            return;
        case kTemplate: InHead(t); return;
        default: return;
        }
    }

    void InSelectInTable(Token& t)
    {
        const std::uint32_t id = (t.type == Token::kStartTag || t.type == Token::kEndTag) ? TagId(t) : kNone;
        if ((t.type == Token::kStartTag || t.type == Token::kEndTag) &&
            OneOf(id, kCaption, kTable, kTbody, kTfoot, kThead, kTr, kTd, kTh)) {
            if (t.type == Token::kEndTag && !InScope(id, Scope::kTable)) return;
            PopUntil(kSelect);
            ResetInsertionMode();
            Process(t);
            return;
        }
        InSelect(t);
    }

    void InTemplate(Token& t)
    {
        if (t.type == Token::kText || t.type == Token::kComment || t.type == Token::kDoctype) { InBody(t); return; }
        if (t.type == Token::kEof) {
            if (!TemplateOpen()) { m_stopped = true; return; }
            PopUntil(kTemplate);
            ClearFormattingToMarker();
            if (!m_templateModes.empty()) m_templateModes.pop_back();
            ResetInsertionMode();
            Process(t);
            return;
        }
        const std::uint32_t id = TagId(t);
        if (OneOf(id, kBase, kBasefont, kBgsound, kLink, kMeta, kNoframes, kScript, kStyle, kTemplate, kTitle) &&
            (t.type == Token::kStartTag || id == kTemplate)) {
            InHead(t);
            return;
        }
        if (t.type == Token::kEndTag) return;
        Mode next = Mode::kInBody;
        if (OneOf(id, kCaption, kColgroup, kTbody, kTfoot, kThead)) next = Mode::kInTable;
        else if (id == kCol) next = Mode::kInColumnGroup;
        else if (id == kTr) next = Mode::kInTableBody;
        else if (id == kTd || id == kTh) next = Mode::kInRow;
        if (!m_templateModes.empty()) m_templateModes.pop_back();
        m_templateModes.push_back(next);
        m_mode = next;
        Process(t);
    }

    void AfterBody(Token& t)
    {
        if (t.type == Token::kText && AllSpace(t.text)) { InBody(t); return; }
        if (t.type == Token::kComment || t.type == Token::kDoctype) return;
        if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
        if (t.type == Token::kEndTag && t.name == "html") { m_mode = Mode::kAfterAfterBody; return; }
        if (t.type == Token::kEof) { m_stopped = true; return; }
        m_mode = Mode::kInBody;
        Process(t);
    }

    void InFrameset(Token& t)
    {
        if (t.type == Token::kText) {
            std::u16string spaces;
            for (char16_t c : t.text) if (IsSpace(c)) spaces.push_back(c);
            InsertText(spaces);
            return;
        }
        if (t.type == Token::kEof) { m_stopped = true; return; }
        if (t.type == Token::kStartTag && t.name == "frameset") { InsertElement(t); return; }
        if (t.type == Token::kEndTag && t.name == "frameset") {
            if (m_stack.size() > 1) Pop();
            if (!Current()->Is(kFrameset)) m_mode = Mode::kAfterFrameset;
            return;
        }
        if (t.type == Token::kStartTag && t.name == "frame") { InsertElement(t); Pop(); return; }
        if (t.type == Token::kStartTag && t.name == "noframes") { InHead(t); return; }
        if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
    }

    void AfterFrameset(Token& t)
    {
        if (t.type == Token::kEof) { m_stopped = true; return; }
        if (t.type == Token::kEndTag && t.name == "html") { m_mode = Mode::kAfterAfterFrameset; return; }
        if (t.type == Token::kStartTag && t.name == "noframes") { InHead(t); return; }
        if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
        if (t.type == Token::kText) InFrameset(t);
    }

    void AfterAfterBody(Token& t)
    {
        if (t.type == Token::kComment) return;
        if (t.type == Token::kDoctype || (t.type == Token::kText && AllSpace(t.text)) ||
            (t.type == Token::kStartTag && t.name == "html")) {
            InBody(t);
            return;
        }
        if (t.type == Token::kEof) { m_stopped = true; return; }
        m_mode = Mode::kInBody;
        Process(t);
    }

    void AfterAfterFrameset(Token& t)
    {
        if (t.type == Token::kEof) { m_stopped = true; return; }
        if (t.type == Token::kStartTag && t.name == "noframes") { InHead(t); return; }
        if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
        if (t.type == Token::kText) InFrameset(t);
    }

    static bool BreaksOutOfForeign(const Token& t)
    {
        static const char* const kNames[] = {
            "b", "big", "blockquote", "body", "br", "center", "code", "dd", "div", "dl", "dt", "em",
            "embed", "h1", "h2", "h3", "h4", "h5", "h6", "head", "hr", "i", "img", "li", "listing",
            "menu", "meta", "nobr", "ol", "p", "pre", "ruby", "s", "small", "span", "strong", "strike",
            "sub", "sup", "table", "tt", "u", "ul", "var",
        };
        for (const char* n : kNames) {
            if (t.name == n) return true;
        }
        return t.name == "font" && (t.Find("color") || t.Find("face") || t.Find("size"));
    }

    void ForeignContent(Token& t)
    {
        switch (t.type) {
        case Token::kText: {
            std::u16string text = t.text;
            std::replace(text.begin(), text.end(), u'\0', u'\xFFFD');
            InsertText(text);
            if (!AllSpace(text)) m_framesetOk = false;
            return;
        }
        case Token::kComment: case Token::kDoctype: case Token::kEof: return;
        case Token::kStartTag:
            if (BreaksOutOfForeign(t)) {
                while (Current()->ns != Namespace::kHtml && !IsMathTextIntegration(Current()) &&
                       !IsHtmlIntegration(Current())) {
                    Pop();
                }
                Process(t);
                return;
            }
            InsertElement(t, Current()->ns);
            if (t.selfClosing) Pop();
            return;
        case Token::kEndTag: {
            if (t.name == "br" || t.name == "p") {
                while (Current()->ns != Namespace::kHtml && !IsMathTextIntegration(Current()) &&
                       !IsHtmlIntegration(Current())) {
                    Pop();
                }
                Process(t);
                return;
            }
            const std::uint32_t id = TagId(t);
            for (std::size_t i = m_stack.size(); i-- > 0;) {
                Node* n = m_stack[i];
                if (i == 0) return;
                if (n->tag == id) {
                    while (Current() != n) Pop();
                    Pop();
                    return;
                }
                if (m_stack[i - 1]->ns == Namespace::kHtml) {
                    Process(t);
                    return;
                }
            }
            return;
        }
        }
    }

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
    Node* m_head = nullptr;
    Node* m_form = nullptr;
    bool m_framesetOk = true;
    bool m_fosterParenting = false;
    bool m_quirks = false;
    bool m_ignoreNextLf = false;
    bool m_stopped = false;
    std::u16string m_pendingTableText;
};

}  // namespace

void Parse(std::u16string markup, Document& document)
{
    TreeBuilder builder(std::move(markup), document);
    builder.Run();
}

}  // namespace html
