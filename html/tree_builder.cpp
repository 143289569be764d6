// The HTML standard's tree construction: insertion modes, the stack of open
// elements, the list of active formatting elements with the adoption agency
// algorithm, foster parenting for tables, templates and foreign content.
// Parsing runs with scripting on (as in a browser) and without a fragment
// context. Forms, quirks and the like only matter as far as they change
// the shape of the tree.
#include <algorithm>

#include "html/tree_builder.h"

namespace html::detail {

void TreeBuilder::GenericText(const Token& t, Tokenizer::State state)
{
    InsertElement(t);
    m_tokenizer.SwitchTo(state);
    m_originalMode = m_mode;
    m_mode = Mode::kText;
}

void TreeBuilder::Dispatch(Token& t)
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

void TreeBuilder::Process(Token& t, Mode mode)
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

void TreeBuilder::Initial(Token& t)
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

bool TreeBuilder::QuirkyPublicId(const Token& t)
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

void TreeBuilder::BeforeHtml(Token& t)
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

void TreeBuilder::BeforeHead(Token& t)
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

void TreeBuilder::InHead(Token& t)
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

void TreeBuilder::AfterHead(Token& t)
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

void TreeBuilder::InBodyText(std::u16string_view text)
{
    // NULs are dropped; only then is a copy needed.
    std::u16string withoutNuls;
    if (text.find(u'\0') != std::u16string_view::npos) {
        withoutNuls.assign(text);
        withoutNuls.erase(std::remove(withoutNuls.begin(), withoutNuls.end(), u'\0'), withoutNuls.end());
        text = withoutNuls;
    }
    if (text.empty()) return;
    ReconstructFormatting();
    InsertText(text);
    if (!AllSpace(text)) m_framesetOk = false;
}

void TreeBuilder::InBody(Token& t)
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

void TreeBuilder::InBodyStart(Token& t)
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
        // The topmost <li> (or <dd> or <dt>) closes, unless a special
        // element other than address, div and p comes first.
        const std::uint32_t i = id == kLi ? TopmostOf(kLi) : TopmostOf(kDd, kDt);
        if (i != kNowhere && i >= TopmostSpecial(true)) {
            const std::uint32_t tag = m_stack[i]->tag;
            GenerateImpliedEndTags(tag);
            PopUntil(tag);
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
                if (e->open) EraseFromStack(StackIndex(e));
                break;
            }
        }
        ReconstructFormatting();
        PushFormatting(InsertAnchor(t));
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
        if (InsertElement(t)->open) m_formatting.push_back(nullptr);
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
        if (InsertElement(t, id == kMath ? Namespace::kMathMl : Namespace::kSvg)->open && t.selfClosing) Pop();
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

void TreeBuilder::InBodyEnd(Token& t)
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

void TreeBuilder::InText(Token& t)
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

bool TreeBuilder::BreaksOutOfForeign(const Token& t)
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

void TreeBuilder::ForeignContent(Token& t)
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
        if (InsertElement(t, Current()->ns)->open && t.selfClosing) Pop();
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
        // The topmost SVG or MathML element of the tag closes if it is in
        // the run of them at the top; else the HTML rules apply.
        const std::uint32_t i = TopmostInForeignRun(TagId(t));
        if (i == kNowhere) {
            Process(t);
            return;
        }
        Node* n = m_stack[i];
        while (Current() != n) Pop();
        Pop();
        return;
    }
    }
}

}  // namespace html::detail

namespace html {

void Parse(std::u16string markup, Document& document)
{
    detail::TreeBuilder builder(std::move(markup), document);
    builder.Run();
}

}  // namespace html
