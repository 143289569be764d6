// The document tree that the tree builder makes: elements and text only
// (comments and the doctype leave no trace). Nodes live in the document's
// arenas and point at each other; nothing is freed before the document.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "html/tokenizer.h"

namespace html {

enum class Namespace : std::uint8_t { kHtml, kSvg, kMathMl };

// Tag names: the ones the tree builder knows by name have fixed numbers;
// others are numbered per document as they come.
namespace tag {
enum : std::uint32_t {
#define JOT_HTML_TAG(id, text) id,
#include "html/tag_names.inc"
#undef JOT_HTML_TAG
    kFirstUnknown
};
}  // namespace tag

struct Node {
    enum Kind : std::uint8_t { kDocument, kElement, kText };
    Kind kind = kDocument;
    Namespace ns = Namespace::kHtml;
    bool open = false;            // on the stack of open elements
    bool htmlIntegration = false; // foreign element whose content is HTML
    std::uint16_t depth = 0;      // distance from the document
    std::uint32_t tag = 0;
    std::uint32_t data = UINT32_MAX;  // text or attribute list index
    Node* parent = nullptr;
    Node* first = nullptr;
    Node* last = nullptr;
    Node* next = nullptr;
    Node* prev = nullptr;

    bool Is(std::uint32_t t) const { return kind == kElement && ns == Namespace::kHtml && tag == t; }
};

class Document {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    Node* Root() { return &m_blocks.front()[0]; }
    const Node* Root() const { return &m_blocks.front()[0]; }

    // Valid until the document changes (views into its one block of text).
    std::u16string_view Text(const Node* text) const
    {
        const TextSpan& span = m_texts[text->data];
        return std::u16string_view(m_textChars.data() + span.offset, span.length);
    }
    // An attribute's value; only kept for the elements whose attributes
    // matter to links (a, base, formatting elements, input, font).
    const std::u16string* Attribute(const Node* element, std::string_view name) const;
    std::string TagName(const Node* element) const;
    std::size_t NodeCount() const { return m_nodeCount; }
    // Whether a <base> element was ever made: most documents have none, and
    // then nobody needs to look for one.
    bool HasBaseElement() const { return m_hasBase; }

    // For the tree builder.
    std::uint32_t InternTag(const std::string& name);
    Node* NewElement(std::uint32_t tag, Namespace ns, const std::vector<html::Attribute>* attributes);
    // The same taking the attributes over instead of copying them.
    Node* NewElement(std::uint32_t tag, Namespace ns, std::vector<html::Attribute>&& attributes);
    // A new element like original, sharing its attribute list (lists never
    // change once made): the adoption agency and the reconstruction of
    // formatting elements clone elements again and again.
    Node* CloneElement(const Node* original);
    Node* NewText(std::u16string_view text);
    void AppendText(Node* text, std::u16string_view more);
    const std::vector<html::Attribute>* Attributes(const Node* element) const;

private:
    Node* NewNode();

    // Nodes in blocks: stable addresses, few allocations.
    static constexpr std::size_t kBlockSize = 2048;
    std::vector<std::unique_ptr<Node[]>> m_blocks;
    std::size_t m_nodeCount = 0;
    bool m_hasBase = false;
    // All texts in one block, each a span of it: no allocation per text
    // node. A text that grows while it is not the last one moves to the
    // end with room to spare, so that repeated growth stays linear.
    struct TextSpan {
        std::size_t offset;
        std::size_t length;
        std::size_t capacity;
    };
    std::u16string m_textChars;
    std::vector<TextSpan> m_texts;
    std::deque<std::vector<html::Attribute>> m_attributes;
    std::unordered_map<std::string, std::uint32_t> m_tagIds;
    std::vector<std::string> m_unknownNames;
};

// Parses a whole document as a browser does when markup is written into an
// empty document (scripting on, nothing run, nothing loaded).
// The markup is taken over (moved in) to spare a copy of large payloads.
void Parse(std::u16string markup, Document& document);

// Deeper elements are attached to an ancestor, as browsers do, so that a
// walk over the tree never goes deeper than this.
constexpr std::uint16_t kMaxTreeDepth = 512;

}  // namespace html
