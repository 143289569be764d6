// The HTML standard's tokenizer: turns markup into start tags, end tags,
// comments, a doctype and runs of characters. Character references are
// decoded here, and the states for raw text, RCDATA, script data, PLAINTEXT
// and CDATA sections follow the standard. The tree builder switches the
// state after the start tags that need it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "html/attribute_names.h"

namespace html {

struct Token {
    enum Type { kText, kStartTag, kEndTag, kComment, kDoctype, kEof };
    Type type = kEof;
    std::string name;            // tag or doctype name
    mutable std::uint32_t id = 0;  // the tag's number in the document (0: not yet looked up)
    std::vector<Attribute> attributes;
    bool selfClosing = false;
    bool forceQuirks = false;    // doctype
    bool hasPublicId = false;    // doctype
    std::u16string publicId;     // doctype
    std::u16string text;         // characters or comment data

    const std::u16string* Find(std::string_view attributeName) const;
    // Empties the token for reuse (keeps its buffers).
    void Reset(Type newType);
};

class Tokenizer {
public:
    enum State : std::uint8_t {
        kData, kRcdata, kRawtext, kScriptData, kPlaintext, kTagOpen, kEndTagOpen, kTagName,
        kRcdataLt, kRcdataEndTagOpen, kRcdataEndTagName, kRawtextLt, kRawtextEndTagOpen,
        kRawtextEndTagName, kScriptLt, kScriptEndTagOpen, kScriptEndTagName, kScriptEscapeStart,
        kScriptEscapeStartDash, kScriptEscaped, kScriptEscapedDash, kScriptEscapedDashDash,
        kScriptEscapedLt, kScriptEscapedEndTagOpen, kScriptEscapedEndTagName,
        kScriptDoubleEscapeStart, kScriptDoubleEscaped, kScriptDoubleEscapedDash,
        kScriptDoubleEscapedDashDash, kScriptDoubleEscapedLt, kScriptDoubleEscapeEnd,
        kBeforeAttrName, kAttrName, kAfterAttrName, kBeforeAttrValue, kAttrValueDq,
        kAttrValueSq, kAttrValueUnquoted, kAfterAttrValueQuoted, kSelfClosingStartTag,
        kBogusComment, kMarkupDeclarationOpen, kCommentStart, kCommentStartDash, kComment,
        kCommentLt, kCommentLtBang, kCommentLtBangDash, kCommentLtBangDashDash, kCommentEndDash,
        kCommentEnd, kCommentEndBang, kDoctype, kCdataSection,
    };

    // Takes the input over (no copy: payloads can be large). CR LF and lone
    // CR become LF. Plain tags are read in one go unless `plainTagLane` is
    // false (then every tag goes through the state machine; the tokens are
    // the same either way).
    explicit Tokenizer(std::u16string input, bool plainTagLane = true);

    // The next token; kEof at the end and ever after. Runs of characters
    // come as one kText token (which may hold NUL characters). The token
    // is the tokenizer's own (no hand-over of buffers): the caller may
    // change it, and it is only good until the next call.
    Token& Next();

    void SwitchTo(State state) { m_state = state; }
    // Whether "<![CDATA[" opens a CDATA section (the current node is foreign).
    void SetCdataAllowed(bool allowed) { m_cdataAllowed = allowed; }

private:
    int Get();
    void Unget() { --m_pos; }
    bool Lookahead(std::u16string_view ascii, bool ignoreCase) const;
    void EmitChar(char32_t c);
    void EmitCurrentTag();
    // Reads a plain tag after "<" in one go; false (and nothing read) when
    // the tag needs the state machine.
    bool ReadPlainTag();
    void EmitComment();
    bool AppropriateEndTag() const { return m_tag.type == Token::kEndTag && m_tag.name == m_lastStartTag; }
    void StartAttribute();
    void FinishAttribute();
    // Consumes a character reference after "&" and appends what it stands
    // for (or "&" when it is none) to out.
    void ConsumeCharacterReference(std::u16string& out, bool inAttribute);
    void ReadDoctype();

    std::u16string m_input;
    std::size_t m_pos = 0;
    State m_state = kData;
    State m_returnState = kData;
    bool m_cdataAllowed = false;
    bool m_plainTagLane = true;

    std::u16string m_text;        // characters waiting to be returned
    Token m_textToken;            // what returns them
    Token m_eofToken;
    Token m_tag;                  // tag or comment being built
    bool m_haveTag = false;       // m_tag is complete and waits behind m_text
    bool m_eofSeen = false;
    std::string m_lastStartTag;
    std::u16string m_buffer;      // temporary buffer of the standard
    Attribute m_attr;
    bool m_inAttr = false;
    AttributeNames m_names;       // the duplicate rule for m_tag's attributes
};

void AppendAsciiLower(std::string& name, char32_t c);

}  // namespace html
