// The tree builder's machinery: implied end tags, where nodes are inserted
// (foster parenting, the depth limit), the list of active formatting
// elements and the adoption agency algorithm.
#include <algorithm>
#include <functional>

#include "html/tree_builder.h"

namespace html::detail {

void TreeBuilder::Run()
{
    while (!m_stopped) {
        const Node* adjusted = m_stack.empty() ? nullptr : m_stack.back();
        m_tokenizer.SetCdataAllowed(adjusted != nullptr && adjusted->ns != Namespace::kHtml);
        Token& token = m_tokenizer.Next();
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

void TreeBuilder::GenerateImpliedEndTags(std::uint32_t except)
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

void TreeBuilder::GenerateAllImpliedEndTags()
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

void TreeBuilder::ClosePElement()
{
    GenerateImpliedEndTags(kP);
    PopUntil(kP);
}

void TreeBuilder::ClosePIfInButtonScope()
{
    if (InScope(kP, Scope::kButton)) ClosePElement();
}

void TreeBuilder::ClearBackTo(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    while (m_stack.size() > 1) {
        const Node* n = Current();
        if (n->ns == Namespace::kHtml && (OneOf(n->tag, a, b, c, kTemplate, kHtml))) return;
        Pop();
    }
}

TreeBuilder::Place TreeBuilder::AppropriatePlace(Node* overrideTarget)
{
    Node* target = overrideTarget != nullptr ? overrideTarget : Current();
    Place place{target, nullptr};
    if (m_fosterParenting && target->Is(kTable) + target->Is(kTbody) + target->Is(kTfoot) +
                                     target->Is(kThead) + target->Is(kTr) > 0) {
        // The last template or table, whichever is nearer the top, decides.
        std::size_t lastTemplate = SIZE_MAX, lastTable = SIZE_MAX;
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            if (m_stack[i]->Is(kTemplate)) {
                lastTemplate = i;
                break;
            }
            if (m_stack[i]->Is(kTable)) {
                lastTable = i;
                break;
            }
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

void TreeBuilder::Detach(Node* n)
{
    Node* p = n->parent;
    if (p == nullptr) return;
    (n->prev ? n->prev->next : p->first) = n->next;
    (n->next ? n->next->prev : p->last) = n->prev;
    n->parent = n->prev = n->next = nullptr;
}

void TreeBuilder::InsertAt(const Place& place, Node* n)
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

std::uint32_t TreeBuilder::TagId(const Token& t)
{
    if (t.id == 0) t.id = m_doc.InternTag(t.name);
    return t.id;
}

Node* TreeBuilder::CreateElement(const Token& t, Namespace ns)
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

Node* TreeBuilder::CloneElement(const Node* original)
{
    return m_doc.CloneElement(original);
}

bool TreeBuilder::OpensBeyondLimit(std::uint32_t tag, Namespace ns)
{
    if (ns != Namespace::kHtml) return false;
    switch (tag) {
    // Void elements (popped again at once).
    case kArea: case kBase: case kBasefont: case kBgsound: case kBr: case kCol: case kEmbed:
    case kFrame: case kHr: case kImg: case kInput: case kKeygen: case kLink: case kMeta:
    case kParam: case kSource: case kTrack: case kWbr:
    // Text of their own (the end tag pops them).
    case kTitle: case kTextarea: case kStyle: case kScript: case kNoscript: case kNoframes:
    case kXmp: case kIframe: case kNoembed: case kPlaintext:
    // Insertion modes of their own.
    case kHtml: case kHead: case kBody: case kFrameset: case kTemplate: case kSelect: case kTable:
    case kCaption: case kColgroup: case kTbody: case kThead: case kTfoot: case kTr: case kTd: case kTh:
        return true;
    default:
        return false;
    }
}

Node* TreeBuilder::InsertElement(const Token& t, Namespace ns)
{
    Node* n = CreateElement(t, ns);
    InsertAt(AppropriatePlace(), n);
    if (Opens(n->tag, ns)) Push(n);
    return n;
}

Node* TreeBuilder::InsertAnchor(Token& t)
{
    Node* n = m_doc.NewElement(TagId(t), Namespace::kHtml, std::move(t.attributes));
    InsertAt(AppropriatePlace(), n);
    if (Opens(n->tag, Namespace::kHtml)) Push(n);
    return n;
}

Node* TreeBuilder::InsertSynthetic(const char* name)
{
    // Always opened: what comes next expects it on the stack ("</p>" pops
    // up to the <p> made for it).
    Token t;
    t.type = Token::kStartTag;
    t.name = name;
    Node* n = CreateElement(t, Namespace::kHtml);
    InsertAt(AppropriatePlace(), n);
    Push(n);
    return n;
}

void TreeBuilder::InsertText(std::u16string_view text)
{
    if (text.empty()) return;
    const Place place = AppropriatePlace();
    if (place.parent->kind == Node::kDocument) return;
    Node* before = place.before != nullptr ? place.before->prev : place.parent->last;
    if (before != nullptr && before->kind == Node::kText) {
        m_doc.AppendText(before, text);
        return;
    }
    InsertAt(place, m_doc.NewText(text));
}

void TreeBuilder::PushFormatting(Node* n)
{
    if (!n->open) return;   // not opened, so never to be made again
    // Noah's Ark: at most three equal entries after the last marker (of
    // which there are at most kMaxFormattingAfterMarker, so all are seen).
    // Clones share their original's list, and lists with other digests
    // differ: few lists are compared in full.
    int equal = 0;
    std::size_t earliest = SIZE_MAX;
    std::size_t looked = 0;
    // Worked out when first needed: most pushes meet no entry like n.
    std::uint64_t digest = 0;
    for (std::size_t i = m_formatting.size(); i-- > 0 && looked < kMaxFormattingAfterMarker; ++looked) {
        const Node* e = m_formatting[i];
        if (e == nullptr) break;
        if (e->tag != n->tag || e->ns != n->ns) continue;
        // No attributes at all is no list at all.
        bool same = e->data == n->data;
        if (!same && e->data != UINT32_MAX && n->data != UINT32_MAX) {
            if (digest == 0) digest = AttributeDigest(n);
            same = AttributeDigest(e) == digest && SameAttributes(*m_doc.Attributes(e), *m_doc.Attributes(n));
        }
        if (same) {
            ++equal;
            earliest = i;
        }
    }
    if (equal >= 3) {
        m_formatting.erase(m_formatting.begin() + static_cast<std::ptrdiff_t>(earliest));
    } else if (looked == kMaxFormattingAfterMarker) {
        // As many entries after the last marker as there may be.
        m_formatting.erase(m_formatting.end() - static_cast<std::ptrdiff_t>(kMaxFormattingAfterMarker));
    }
    m_formatting.push_back(n);
}

std::uint64_t TreeBuilder::WorkOutDigest(const Node* n)
{
    if (m_digests.size() <= n->data) m_digests.resize(n->data + 1, 0);
    std::uint64_t& digest = m_digests[n->data];
    if (digest == 0) [[unlikely]] {
        // A sum, so that the order of the attributes does not matter.
        for (const Attribute& a : *m_doc.Attributes(n)) {
            std::uint64_t h = std::hash<std::string_view>()(a.name) * 0x9E3779B97F4A7C15ull ^
                              std::hash<std::u16string_view>()(a.value);
            h ^= h >> 31;
            h *= 0xBF58476D1CE4E5B9ull;
            h ^= h >> 29;
            digest += h;
        }
        digest |= 1;   // 0 stands for "not yet worked out"
    }
    return digest;
}

bool TreeBuilder::SameAttributes(const std::vector<Attribute>& a, const std::vector<Attribute>& b)
{
    if (a.size() != b.size()) return false;
    if (a.size() <= 8) {
        for (const Attribute& x : a) {
            const auto it = std::find_if(b.begin(), b.end(), [&](const Attribute& y) { return y.name == x.name; });
            if (it == b.end() || it->value != x.value) return false;
        }
        return true;
    }
    // Names are unique within a list: side by side in name order, equal
    // lists match entry for entry.
    const auto sorted = [](const std::vector<Attribute>& list) {
        std::vector<const Attribute*> out;
        out.reserve(list.size());
        for (const Attribute& x : list) out.push_back(&x);
        std::sort(out.begin(), out.end(), [](const Attribute* p, const Attribute* q) { return p->name < q->name; });
        return out;
    };
    const std::vector<const Attribute*> x = sorted(a);
    const std::vector<const Attribute*> y = sorted(b);
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i]->name != y[i]->name || x[i]->value != y[i]->value) return false;
    }
    return true;
}

std::size_t TreeBuilder::FormattingIndex(const Node* n) const
{
    // The elements looked for are open above the last marker's element,
    // so their entries come after the marker.
    for (std::size_t i = m_formatting.size(); i-- > 0;) {
        if (m_formatting[i] == n) return i;
        if (m_formatting[i] == nullptr) break;
    }
    return SIZE_MAX;
}

void TreeBuilder::ClearFormattingToMarker()
{
    while (!m_formatting.empty()) {
        const Node* e = m_formatting.back();
        m_formatting.pop_back();
        if (e == nullptr) break;
    }
}

void TreeBuilder::ReconstructFormatting()
{
    if (m_formatting.empty()) return;
    std::size_t i = m_formatting.size() - 1;
    if (m_formatting[i] == nullptr || m_formatting[i]->open || m_stack.size() >= kMaxOpenElements) return;
    while (i > 0) {
        --i;
        if (m_formatting[i] == nullptr || m_formatting[i]->open) {
            ++i;
            break;
        }
    }
    for (; i < m_formatting.size(); ++i) {
        if (m_doc.NodeCount() > m_nodeBudget || m_stack.size() >= kMaxOpenElements) return;
        Node* clone = CloneElement(m_formatting[i]);
        InsertAt(AppropriatePlace(), clone);
        Push(clone);
        m_formatting[i] = clone;
    }
}

bool TreeBuilder::AdoptionAgency(std::uint32_t subject)
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
            ReplaceInStack(ni, clone);
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

void TreeBuilder::AnyOtherEndTag(const Token& t)
{
    // The topmost element of the tag, unless a special one comes first.
    const std::uint32_t id = TagId(t);
    const std::uint32_t i = TopmostOf(id);
    if (i == kNowhere || i < TopmostSpecial()) return;
    Node* n = m_stack[i];
    GenerateImpliedEndTags(id);
    while (Current() != n) Pop();
    Pop();
}

void TreeBuilder::ResetInsertionMode()
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

}  // namespace html::detail
