#include "tabstrip/tab_label.h"

namespace tabstrip {

namespace {

bool IsHighSurrogate(char16_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

// How many units to keep before "...": one fewer when the last kept unit
// would leave the first half of a pair alone.
std::size_t KeepBeforeEllipsis(std::u16string_view label, std::size_t keep)
{
    if (keep > 0 && IsHighSurrogate(label[keep - 1]))
        --keep;
    return keep;
}

std::u16string KeepWithEllipsis(std::u16string_view label, std::size_t keep)
{
    std::u16string cut(label.substr(0, KeepBeforeEllipsis(label, keep)));
    cut += u"...";
    return cut;
}

// Labels up to 28 units pass; from 29 on they lose their tail, although 29
// would still fit the field: the notification always did it this way.
bool NotifyNeedsCut(std::u16string_view label)
{
    return label.size() > kNotifyLabelBuffer - 2;
}

}  // namespace

std::u16string CutItemLabel(std::u16string_view label)
{
    if (label.size() <= kMaxItemLabel)
        return std::u16string(label);
    return KeepWithEllipsis(label, kMaxItemLabel - 3);
}

std::u16string CutNotifyLabel(std::u16string_view label)
{
    if (!NotifyNeedsCut(label))
        return std::u16string(label);
    return KeepWithEllipsis(label, kNotifyLabelBuffer - 4);
}

void CutNotifyLabelInto(std::u16string_view label, char16_t (&out)[kNotifyLabelBuffer])
{
    std::size_t n = 0;
    if (!NotifyNeedsCut(label)) {
        for (; n < label.size(); ++n)
            out[n] = label[n];
    } else {
        const std::size_t keep = KeepBeforeEllipsis(label, kNotifyLabelBuffer - 4);
        for (; n < keep; ++n)
            out[n] = label[n];
        for (int dot = 0; dot < 3; ++dot)
            out[n++] = u'.';
    }
    while (n < kNotifyLabelBuffer)
        out[n++] = 0;
}

}  // namespace tabstrip
