#include "notes/drop_rules.h"

#include <algorithm>

#include "html/cf_html.h"
#include "html/link_lines.h"

namespace droprules {

namespace {
constexpr std::u16string_view kCrLf = u"\r\n";
}

int InsertionOffset(const EditLines& edit, int caret)
{
    const int line = edit.LineFromChar(caret);
    if (line + 1 < edit.LineCount()) {
        return edit.LineIndex(line + 1);
    }
    return caret;
}

std::u16string PageText(std::u16string_view text, bool addBlank)
{
    std::u16string out;
    if (addBlank) out += kCrLf;
    out += text;
    out += kCrLf;
    return out;
}

std::u16string AppendedText(std::u16string_view text, bool isLink, bool addBlank)
{
    std::u16string out;
    if (addBlank) out += kCrLf;
    out += text;
    if (isLink) out += kCrLf;
    return out;
}

std::u16string HtmlDropText(std::string_view htmlFormatBytes, int choice, bool addBlank)
{
    std::u16string payload = html::DecodeClipboardHtml(htmlFormatBytes);
    std::u16string out;
    if (choice == kRawHtml) {
        out = std::move(payload);
    } else if (choice == kUrl || choice == kTextAndUrl) {
        out = html::LinkLines(std::move(payload), choice == kUrl ? html::LinkMode::kAddresses : html::LinkMode::kTextAndAddresses);
    }
    if (addBlank) out.insert(0, kCrLf);
    return out;
}

bool NeedsLineBreakBeforeAppend(std::u16string_view pageText)
{
    return !pageText.empty() && pageText.back() != u'\n';
}

std::u16string FileListText(const std::vector<std::u16string>& paths)
{
    std::u16string out;
    for (const std::u16string& p : paths) {
        out += p;
        out += kCrLf;
    }
    return out;
}

bool WithinSelection(int charIndex, int selStart, int selEnd)
{
    return selStart < selEnd && charIndex >= selStart && charIndex <= selEnd;
}

std::optional<int> MoveTarget(int selStart, int selEnd, int dropIndex, int movedLength)
{
    if (dropIndex >= selStart && dropIndex <= selEnd) return std::nullopt;
    if (dropIndex < selStart) return dropIndex;
    return std::max(0, dropIndex - movedLength);
}

std::optional<int> StoredChoice(int askHtml, int htmlSel)
{
    if (askHtml != 1) return std::nullopt;
    return (htmlSel >= kUrl && htmlSel <= kRawHtml) ? htmlSel : kUrl;
}

std::optional<int> FloatAlpha(int percent)
{
    const int t = std::min(percent & 0xFF, 80);
    if (t == 0) return std::nullopt;
    return (100 - t) * 255 / 100;
}

}  // namespace droprules
