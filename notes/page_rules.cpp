#include "notes/page_rules.h"

#include "notes/storage_codec.h"

namespace pages {

NameResult CheckPageName(std::u16string_view typed, const std::vector<std::u16string>& names,
                         int skipIndex,
                         const std::function<bool(std::u16string_view, std::u16string_view)>& equal)
{
    NameResult result{NameCheck::Ok, storage::TrimBlanks(typed)};
    if (result.name.empty()) {
        result.check = NameCheck::Empty;
        return result;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (static_cast<int>(i) == skipIndex)
            continue;
        if (equal(names[i], result.name)) {
            result.check = NameCheck::Duplicate;
            return result;
        }
    }
    return result;
}

std::optional<int> MoveTarget(Move move, int from, int count)
{
    if (count < 2 || from < 0 || from >= count)
        return std::nullopt;
    int to = 0;
    switch (move) {
    case Move::Top:
        to = 0;
        break;
    case Move::Up:
        to = from - 1;
        break;
    case Move::Down:
        to = from + 1;
        break;
    case Move::Bottom:
        to = count - 1;
        break;
    }
    if (to < 0 || to >= count || to == from)
        return std::nullopt;
    return to;
}

int SelectionAfterDelete(int deleted, int countAfter)
{
    if (countAfter <= 0)
        return -1;
    return deleted >= countAfter ? countAfter - 1 : deleted;
}

size_t EndOfLines(std::u16string_view text, size_t lines)
{
    size_t pos = 0;
    for (size_t n = 0; n < lines; ++n) {
        const size_t lf = text.find(u'\n', pos);
        if (lf == std::u16string_view::npos)
            return text.size();
        pos = lf + 1;
    }
    return pos;
}

}  // namespace pages
