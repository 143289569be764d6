// The decisions of a drop that need no window: what text a drop inserts,
// where in the page it goes, and where a moved selection lands. The drop
// target and the drag source in notes/drag_edit.cpp apply them to the edit
// control.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace droprules {

// Choices for browser content, as the IE drag dialog offers them.
enum HtmlChoice { kCancelled = -1, kUrl = 0, kText = 1, kTextAndUrl = 2, kRawHtml = 3 };

// The line structure of an edit control, as the insertion rule needs it.
class EditLines {
public:
    virtual ~EditLines() = default;
    virtual int LineCount() const = 0;
    virtual int LineFromChar(int charIndex) const = 0;
    virtual int LineIndex(int line) const = 0;   // first character of the line
};

// Where dropped text goes: the start of the line after the caret's line, or
// the caret itself when the caret is on the last line.
int InsertionOffset(const EditLines& edit, int caret);

// Dropped plain text in page mode: a line end after it, and an empty line
// before it when "PARA_HTML_ADD_BLANK" is set.
std::u16string PageText(std::u16string_view text, bool addBlank);

// Dropped plain text appended to a page: a line end after it only when the
// drop was a link ("UniformResourceLocator" offered too).
std::u16string AppendedText(std::u16string_view text, bool isLink, bool addBlank);

// What a browser drop inserts for choices 0, 2 and 3, from the clipboard's
// "HTML Format" bytes (UTF-8; they end at the first NUL). Choice 3 is the
// whole payload, header lines included.
std::u16string HtmlDropText(std::string_view htmlFormatBytes, int choice, bool addBlank);

// Whether appended content needs a line break first: the page does not end
// at the start of a line.
bool NeedsLineBreakBeforeAppend(std::u16string_view pageText);

// The text of a shell file drop: each path and CR LF, in drop order.
std::u16string FileListText(const std::vector<std::u16string>& paths);

// Whether a character index lies in the selection, both ends included.
bool WithinSelection(int charIndex, int selStart, int selEnd);

// A selection moved within its own page: the caret position (after the
// selection has been deleted) where the moved text goes, or nothing when
// the drop point lies within the selection (nothing changes then).
std::optional<int> MoveTarget(int selStart, int selEnd, int dropIndex, int movedLength);

// The choice a drop of browser content uses without asking, or nothing
// when the dialog must ask ("PARA_ASK_HTML" 1 means do not ask).
std::optional<int> StoredChoice(int askHtml, int htmlSel);

// Floating-window transparency: the alpha for SetLayeredWindowAttributes,
// or nothing when the window is to be opaque (percent 0). Percent is taken
// in its low 8 bits and capped at 80.
std::optional<int> FloatAlpha(int percent);

}  // namespace droprules
