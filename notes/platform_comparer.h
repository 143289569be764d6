// The platform's locale-aware string comparison (CompareStringW with the
// user's locale), with or without case, as the find dialog asks for it.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "notes/find_replace.h"

// The platform's locale-aware comparison. Identical text is always equal,
// so CompareString runs only where the units differ.
class PlatformComparer : public findtext::TextComparer {
public:
    explicit PlatformComparer(bool matchCase) : m_bMatchCase(matchCase) {}

    bool Equal(std::u16string_view a, std::u16string_view b) const override;

    // With case, the first character must be the same. Without, the first
    // characters must compare equal on their own; the verdict for each text
    // character is remembered, so a long page costs one comparison per
    // distinct character instead of one per position.
    bool FirstUnitMayMatch(char16_t t, char16_t f) const override;

private:
    bool m_bMatchCase;
    mutable char16_t m_cachedFor = 0;
    mutable std::array<uint8_t, 65536> m_cache{};   // 0 unknown, 1 may match, 2 cannot
};

