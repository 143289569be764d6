// Insertion modes for tables (with foster parenting of misplaced content),
// select, template contents, after the body and framesets.
#include <algorithm>

#include "html/tree_builder.h"

namespace html::detail {

void TreeBuilder::FosterInBody(Token& t)
{
    m_fosterParenting = true;
    InBody(t);
    m_fosterParenting = false;
}

void TreeBuilder::InTable(Token& t)
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
            if (m_form->open) Pop();
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

void TreeBuilder::InTableText(Token& t)
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

void TreeBuilder::InCaption(Token& t)
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

void TreeBuilder::InColumnGroup(Token& t)
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

void TreeBuilder::InTableBody(Token& t)
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

void TreeBuilder::InRow(Token& t)
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

void TreeBuilder::CloseCell()
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

void TreeBuilder::InCell(Token& t)
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

void TreeBuilder::InSelect(Token& t)
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

void TreeBuilder::InSelectInTable(Token& t)
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

void TreeBuilder::InTemplate(Token& t)
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

void TreeBuilder::AfterBody(Token& t)
{
    if (t.type == Token::kText && AllSpace(t.text)) { InBody(t); return; }
    if (t.type == Token::kComment || t.type == Token::kDoctype) return;
    if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
    if (t.type == Token::kEndTag && t.name == "html") { m_mode = Mode::kAfterAfterBody; return; }
    if (t.type == Token::kEof) { m_stopped = true; return; }
    m_mode = Mode::kInBody;
    Process(t);
}

void TreeBuilder::InFrameset(Token& t)
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

void TreeBuilder::AfterFrameset(Token& t)
{
    if (t.type == Token::kEof) { m_stopped = true; return; }
    if (t.type == Token::kEndTag && t.name == "html") { m_mode = Mode::kAfterAfterFrameset; return; }
    if (t.type == Token::kStartTag && t.name == "noframes") { InHead(t); return; }
    if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
    if (t.type == Token::kText) InFrameset(t);
}

void TreeBuilder::AfterAfterBody(Token& t)
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

void TreeBuilder::AfterAfterFrameset(Token& t)
{
    if (t.type == Token::kEof) { m_stopped = true; return; }
    if (t.type == Token::kStartTag && t.name == "noframes") { InHead(t); return; }
    if (t.type == Token::kStartTag && t.name == "html") { InBody(t); return; }
    if (t.type == Token::kText) InFrameset(t);
}

}  // namespace html::detail
