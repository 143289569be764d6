// How the strip shortens labels: once when a label is stored, and again
// when it is copied into the fixed-size field of a notification.
// Lengths are counted in UTF-16 code units, as the Windows API counts them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabstrip {

// Longest label an item stores.
inline constexpr std::size_t kMaxItemLabel = 30;
// Size of the label field of a notification, terminator included.
inline constexpr std::size_t kNotifyLabelBuffer = 30;

// The label as an item stores it: unchanged up to 30 units, else its first
// 27 units followed by "...". A cut never splits a surrogate pair: when the
// last kept unit would be a lone high surrogate it goes too (26 + "...").
std::u16string CutItemLabel(std::u16string_view label);

// The label as a notification carries it: unchanged up to 28 units, else its
// first 26 units followed by "..." (25 when a pair would be split). The
// result always fits kNotifyLabelBuffer with its terminator.
std::u16string CutNotifyLabel(std::u16string_view label);

// The same cut written into out[0 .. kNotifyLabelBuffer) with its
// terminator, allocating nothing (it runs while a notification is built).
void CutNotifyLabelInto(std::u16string_view label, char16_t (&out)[kNotifyLabelBuffer]);

}  // namespace tabstrip
