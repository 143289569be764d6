#include "html/dom.h"

namespace html {

namespace {

const char* const kKnownTagNames[] = {
#define JOT_HTML_TAG(id, text) text,
#include "html/tag_names.inc"
#undef JOT_HTML_TAG
};

// The same with their lengths, for comparisons without strlen.
constexpr std::string_view kKnownTagViews[] = {
#define JOT_HTML_TAG(id, text) std::string_view(text),
#include "html/tag_names.inc"
#undef JOT_HTML_TAG
};

bool KeepsAttributes(std::uint32_t t)
{
    switch (t) {
    case tag::kA: case tag::kBase: case tag::kInput: case tag::kFont: case tag::kB:
    case tag::kBig: case tag::kCode: case tag::kEm: case tag::kI: case tag::kNobr:
    case tag::kS: case tag::kSmall: case tag::kStrike: case tag::kStrong: case tag::kTt:
    case tag::kU:
        return true;
    default:
        return false;
    }
}

// The known names in an open-addressed table, built once for all
// documents: every start and end tag is looked up here.
class KnownTagTable {
public:
    KnownTagTable()
    {
        for (std::uint32_t i = 1; i < tag::kFirstUnknown; ++i) {
            const std::string_view name = kKnownTagNames[i];
            std::size_t slot = Hash(name) & kMask;
            while (m_ids[slot] != 0) slot = (slot + 1) & kMask;
            m_ids[slot] = static_cast<std::uint16_t>(i);
        }
    }

    // 0 when the name is not a known one.
    std::uint32_t Find(std::string_view name) const
    {
        for (std::size_t slot = Hash(name) & kMask;; slot = (slot + 1) & kMask) {
            const std::uint16_t id = m_ids[slot];
            if (id == 0 || name == kKnownTagViews[id]) return id;
        }
    }

private:
    static constexpr std::size_t kSlots = 512;   // well over the known names: short probes
    static constexpr std::size_t kMask = kSlots - 1;

    static std::size_t Hash(std::string_view s)
    {
        std::uint32_t h = 2166136261u;
        for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h ^ (h >> 15);
    }

    std::uint16_t m_ids[kSlots] = {};
};

const KnownTagTable& KnownTags()
{
    static const KnownTagTable table;
    return table;
}

}  // namespace

Document::Document()
{
    NewNode();   // the document itself
}

Node* Document::NewNode()
{
    if (m_nodeCount % kBlockSize == 0) {
        m_blocks.push_back(std::make_unique<Node[]>(kBlockSize));
    }
    Node* n = &m_blocks.back()[m_nodeCount % kBlockSize];
    ++m_nodeCount;
    return n;
}

std::uint32_t Document::InternTag(const std::string& name)
{
    if (const std::uint32_t known = KnownTags().Find(name)) {
        return known;
    }
    auto it = m_tagIds.find(name);
    if (it != m_tagIds.end()) {
        return it->second;
    }
    const std::uint32_t id = tag::kFirstUnknown + static_cast<std::uint32_t>(m_unknownNames.size());
    m_unknownNames.push_back(name);
    m_tagIds.emplace(name, id);
    return id;
}

std::string Document::TagName(const Node* element) const
{
    if (element->tag < tag::kFirstUnknown) {
        return kKnownTagNames[element->tag];
    }
    return m_unknownNames[element->tag - tag::kFirstUnknown];
}

Node* Document::NewElement(std::uint32_t t, Namespace ns, const std::vector<html::Attribute>* attributes)
{
    Node& n = *NewNode();
    n.kind = Node::kElement;
    n.ns = ns;
    n.tag = t;
    if (t == tag::kBase && ns == Namespace::kHtml) m_hasBase = true;
    if (attributes != nullptr && !attributes->empty() && ns == Namespace::kHtml && KeepsAttributes(t)) {
        n.data = static_cast<std::uint32_t>(m_attributes.size());
        m_attributes.push_back(*attributes);
    }
    return &n;
}

Node* Document::NewElement(std::uint32_t t, Namespace ns, std::vector<html::Attribute>&& attributes)
{
    Node* n = NewElement(t, ns, nullptr);
    if (!attributes.empty() && ns == Namespace::kHtml && KeepsAttributes(t)) {
        n->data = static_cast<std::uint32_t>(m_attributes.size());
        m_attributes.push_back(std::move(attributes));
    }
    return n;
}

Node* Document::CloneElement(const Node* original)
{
    Node* n = NewElement(original->tag, original->ns, nullptr);
    n->data = original->data;
    n->htmlIntegration = original->htmlIntegration;
    return n;
}

Node* Document::NewText(std::u16string_view text)
{
    Node& n = *NewNode();
    n.kind = Node::kText;
    n.data = static_cast<std::uint32_t>(m_texts.size());
    m_texts.push_back(TextSpan{m_textChars.size(), text.size(), text.size()});
    m_textChars.append(text);
    return &n;
}

void Document::AppendText(Node* text, std::u16string_view more)
{
    TextSpan& span = m_texts[text->data];
    if (span.offset + span.capacity == m_textChars.size()) {
        // The last text of the block (or room up to its end): grow in place.
        m_textChars.resize(span.offset + span.length);
        m_textChars.append(more);
        span.length += more.size();
        span.capacity = span.length;
        return;
    }
    if (span.length + more.size() <= span.capacity) {
        std::char_traits<char16_t>::copy(&m_textChars[span.offset + span.length], more.data(), more.size());
        span.length += more.size();
        return;
    }
    const std::size_t offset = m_textChars.size();
    const std::size_t length = span.length + more.size();
    const std::size_t capacity = 2 * length;
    m_textChars.resize(offset + capacity);
    std::char_traits<char16_t>::copy(&m_textChars[offset], &m_textChars[span.offset], span.length);
    std::char_traits<char16_t>::copy(&m_textChars[offset + span.length], more.data(), more.size());
    span = TextSpan{offset, length, capacity};
}

const std::vector<html::Attribute>* Document::Attributes(const Node* element) const
{
    if (element->kind != Node::kElement || element->data == UINT32_MAX) {
        return nullptr;
    }
    return &m_attributes[element->data];
}

const std::u16string* Document::Attribute(const Node* element, std::string_view name) const
{
    const std::vector<html::Attribute>* list = Attributes(element);
    if (list == nullptr) {
        return nullptr;
    }
    for (const html::Attribute& a : *list) {
        if (a.name == name) {
            return &a.value;
        }
    }
    return nullptr;
}

}  // namespace html
