#include "html/dom.h"

namespace html {

namespace {

const char* const kKnownTagNames[] = {
#define JOT_HTML_TAG(id, text) text,
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

// The known names, built once for all documents.
const std::unordered_map<std::string, std::uint32_t>& KnownTagIds()
{
    static const std::unordered_map<std::string, std::uint32_t> ids = [] {
        std::unordered_map<std::string, std::uint32_t> m;
        for (std::uint32_t i = 1; i < tag::kFirstUnknown; ++i) m.emplace(kKnownTagNames[i], i);
        return m;
    }();
    return ids;
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
    const auto& known = KnownTagIds();
    auto k = known.find(name);
    if (k != known.end()) {
        return k->second;
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
    if (attributes != nullptr && !attributes->empty() && ns == Namespace::kHtml && KeepsAttributes(t)) {
        n.data = static_cast<std::uint32_t>(m_attributes.size());
        m_attributes.push_back(*attributes);
    }
    return &n;
}

Node* Document::NewText(std::u16string text)
{
    Node& n = *NewNode();
    n.kind = Node::kText;
    n.data = static_cast<std::uint32_t>(m_texts.size());
    m_texts.push_back(std::move(text));
    return &n;
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
