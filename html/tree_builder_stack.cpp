// The stack of open elements and its scopes. Beside the stack an index is
// kept up to date with every change to it, so that the questions asked on
// almost every tag ("is there a <p> in button scope?", "where is this
// element?") are answered without a walk down the stack: markup that keeps
// hundreds of elements open and then repeats a tag that asks such a
// question would otherwise cost the depth of the stack for each repeat.
#include "html/tree_builder.h"

#ifdef JOT_CHECK_STACK_INDEX
#include <cstdlib>
#endif

namespace html::detail {

std::uint8_t WorkOutStackFlags(const Node* n)
{
    std::uint8_t f = 0;
    // The default scope's boundaries bound the list item and button scopes
    // too; the table scope's are among them.
    if (IsScopeBoundary(n, Scope::kDefault)) {
        f |= kBoundsDefault | kBoundsListItem | kBoundsButton;
        if (IsScopeBoundary(n, Scope::kTable)) f |= kBoundsTable;
    }
    if (n->ns == Namespace::kHtml && OneOf(n->tag, kOl, kUl)) f |= kBoundsListItem;
    if (n->Is(kButton)) f |= kBoundsButton;
    if (IsSpecial(n)) {
        f |= kSpecial;
        if (!(n->ns == Namespace::kHtml && OneOf(n->tag, kAddress, kDiv, kP))) f |= kStopsListItem;
    }
    return f;
}

// Worked out once for the HTML elements the tree builder knows by name
// (the others are none of these); every push and pop asks.
const std::array<std::uint8_t, kFirstUnknown> kStackFlagsOfHtml = [] {
    std::array<std::uint8_t, kFirstUnknown> of{};
    Node n;
    n.kind = Node::kElement;
    for (std::uint32_t t = 0; t < kFirstUnknown; ++t) {
        n.tag = t;
        of[t] = WorkOutStackFlags(&n);
    }
    return of;
}();

namespace {

// a or b, whichever is nearer the top; kNowhere loses.
std::uint32_t Higher(std::uint32_t a, std::uint32_t b)
{
    if (a == kNowhere) return b;
    if (b == kNowhere) return a;
    return std::max(a, b);
}

}  // namespace

// The entries above a change in the middle of the stack are taken out of
// the index and put back (the changes are near the top: the adoption
// agency, a misnested <a> or </form>).
void TreeBuilder::EraseFromStack(std::size_t i)
{
    for (std::size_t k = m_stack.size(); k-- > i;) UnindexEntry(k);
    m_stack[i]->open = false;
    m_stack.erase(m_stack.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t k = i; k < m_stack.size(); ++k) IndexEntry(k);
}

void TreeBuilder::InsertIntoStack(std::size_t i, Node* n)
{
    for (std::size_t k = m_stack.size(); k-- > i;) UnindexEntry(k);
    n->open = true;
    m_stack.insert(m_stack.begin() + static_cast<std::ptrdiff_t>(i), n);
    for (std::size_t k = i; k < m_stack.size(); ++k) IndexEntry(k);
}

void TreeBuilder::ReplaceInStack(std::size_t i, Node* clone)
{
    // A clone has its original's tag and namespace: the index stays right.
    m_stack[i]->open = false;
    m_stack[i] = clone;
    clone->open = true;
}

std::size_t TreeBuilder::StackIndex(const Node* n) const
{
#ifdef JOT_CHECK_STACK_INDEX
    CheckIndex();
#endif
    if (!n->open) return SIZE_MAX;
    if (m_stack.back() == n) return m_stack.size() - 1;
    // Down the elements of its tag.
    const std::vector<std::uint32_t>& top = n->ns == Namespace::kHtml ? m_topOfTag : m_topForeignOfTag;
    for (std::uint32_t i = top[n->tag]; i != kNowhere; i = m_sameTagBelow[i]) {
        if (m_stack[i] == n) return i;
    }
    return SIZE_MAX;
}

void TreeBuilder::PopUntil(std::uint32_t t)
{
    while (!m_stack.empty()) {
        const bool done = Current()->Is(t);
        Pop();
        if (done) break;
    }
}

void TreeBuilder::PopUntilHeading()
{
    while (!m_stack.empty()) {
        const bool done = Current()->ns == Namespace::kHtml && IsHeading(Current()->tag);
        Pop();
        if (done) break;
    }
}

#ifdef JOT_CHECK_STACK_INDEX
// For the fuzzing build: the index against one built afresh from the stack.
void TreeBuilder::CheckIndex() const
{
    std::vector<std::uint32_t> top(m_topOfTag.size(), kNowhere);
    std::vector<std::uint32_t> topForeign(m_topForeignOfTag.size(), kNowhere);
    std::vector<std::uint32_t> bounds[4], specials, stops, runs;
    for (std::size_t i = 0; i < m_stack.size(); ++i) {
        const Node* n = m_stack[i];
        const auto at = static_cast<std::uint32_t>(i);
        if (!n->open) std::abort();
        std::vector<std::uint32_t>& t = n->ns == Namespace::kHtml ? top : topForeign;
        if (n->tag >= t.size() || m_sameTagBelow[i] != t[n->tag]) std::abort();
        t[n->tag] = at;
        if (n->ns != Namespace::kHtml && (i == 0 || m_stack[i - 1]->ns == Namespace::kHtml)) runs.push_back(at);
        for (int s = 0; s < 4; ++s) {
            if (IsScopeBoundary(n, static_cast<Scope>(s))) bounds[s].push_back(at);
        }
        if (IsSpecial(n)) {
            specials.push_back(at);
            if (!(n->ns == Namespace::kHtml && OneOf(n->tag, kAddress, kDiv, kP))) stops.push_back(at);
        }
    }
    if (m_sameTagBelow.size() != m_stack.size() || top != m_topOfTag || topForeign != m_topForeignOfTag ||
        specials != m_specials || stops != m_listItemStops || runs != m_foreignRunStarts) {
        std::abort();
    }
    for (int s = 0; s < 4; ++s) {
        if (bounds[s] != m_boundaries[s]) std::abort();
    }
}
#endif

bool TreeBuilder::AboveBoundary(std::uint32_t i, Scope scope) const
{
#ifdef JOT_CHECK_STACK_INDEX
    CheckIndex();
#endif
    // The element at the bottom (<html>) bounds every scope.
    const std::vector<std::uint32_t>& b = m_boundaries[static_cast<int>(scope)];
    return i != kNowhere && (b.empty() || i >= b.back());
}

bool TreeBuilder::InScope(std::uint32_t t, Scope scope) const
{
    if (!AnyOpen(t)) return false;
    if (scope == Scope::kSelect) {
        // Everything but <option> and <optgroup> bounds it: a short walk.
        for (std::size_t i = m_stack.size(); i-- > 0;) {
            const Node* n = m_stack[i];
            if (n->Is(t)) return true;
            if (IsScopeBoundary(n, scope)) return false;
        }
        return false;
    }
    // The topmost element of the tag, unless a boundary comes first (a
    // boundary of that tag is the element itself).
    return AboveBoundary(m_topOfTag[t], scope);
}

bool TreeBuilder::NodeInScope(const Node* target) const
{
    const std::size_t i = StackIndex(target);
    return i != SIZE_MAX && AboveBoundary(static_cast<std::uint32_t>(i), Scope::kDefault);
}

bool TreeBuilder::HeadingInScope() const
{
    std::uint32_t top = kNowhere;
    for (std::uint32_t t = kH1; t <= kH6; ++t) top = Higher(top, Topmost(t));
    return AboveBoundary(top, Scope::kDefault);
}

std::uint32_t TreeBuilder::TopmostOf(std::uint32_t a, std::uint32_t b) const
{
    return b == kNone ? Topmost(a) : Higher(Topmost(a), Topmost(b));
}

std::uint32_t TreeBuilder::TopmostInForeignRun(std::uint32_t t) const
{
#ifdef JOT_CHECK_STACK_INDEX
    CheckIndex();
#endif
    const std::uint32_t i = t < m_topForeignOfTag.size() ? m_topForeignOfTag[t] : kNowhere;
    if (i == kNowhere || m_foreignRunStarts.empty() || i < m_foreignRunStarts.back()) return kNowhere;
    // The run must reach the top.
    return m_stack.back()->ns != Namespace::kHtml ? i : kNowhere;
}

std::uint32_t TreeBuilder::TopmostSpecial(bool listItemStop) const
{
#ifdef JOT_CHECK_STACK_INDEX
    CheckIndex();
#endif
    const std::vector<std::uint32_t>& v = listItemStop ? m_listItemStops : m_specials;
    return v.empty() ? kNowhere : v.back();
}

}  // namespace html::detail
