#include "app/position_record.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace {

// One scanf-style integer conversion at pos; false when no digits follow.
// Overflow wraps like the C library's conversions to 32 bits do on the
// platforms we run on (the value is saturated to the 64-bit range first).
bool ReadNumber(std::string_view text, size_t& pos, int64_t& out)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    size_t start = pos;
    uint64_t value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        if (value < (uint64_t{1} << 62))
            value = value * 10 + static_cast<uint64_t>(text[pos] - '0');
        ++pos;
    }
    if (pos == start)
        return false;
    out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    return true;
}

}  // namespace

std::optional<PositionRecord> ParsePositionRecord(std::string_view text)
{
    int64_t n[10];
    size_t pos = 0;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',')
                return std::nullopt;
            ++pos;
        }
        if (!ReadNumber(text, pos, n[i]))
            return std::nullopt;
    }
    PositionRecord r;
    r.flags = static_cast<unsigned>(static_cast<uint32_t>(n[0]));
    r.showCmd = static_cast<unsigned>(static_cast<uint32_t>(n[1]));
    r.minX = static_cast<int>(static_cast<int32_t>(n[2]));
    r.minY = static_cast<int>(static_cast<int32_t>(n[3]));
    r.maxX = static_cast<int>(static_cast<int32_t>(n[4]));
    r.maxY = static_cast<int>(static_cast<int32_t>(n[5]));
    r.left = static_cast<int>(static_cast<int32_t>(n[6]));
    r.top = static_cast<int>(static_cast<int32_t>(n[7]));
    r.right = static_cast<int>(static_cast<int32_t>(n[8]));
    r.bottom = static_cast<int>(static_cast<int32_t>(n[9]));
    return r;
}

std::string FormatPositionRecord(const PositionRecord& r)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", r.flags, r.showCmd, r.minX,
                  r.minY, r.maxX, r.maxY, r.left, r.top, r.right, r.bottom);
    return buf;
}

unsigned CorrectShowCommand(unsigned showCmd)
{
    constexpr unsigned kShowMinimized = 2, kMinimize = 6, kShowMinNoActive = 7, kShowNormal = 1;
    if (showCmd == kShowMinimized || showCmd == kMinimize || showCmd == kShowMinNoActive)
        return kShowNormal;
    return showCmd;
}

bool IsUsablePlacement(const PositionRecord& r, const ScreenBox& screen)
{
    constexpr unsigned kMaxShowCommand = 11;   // SW_MAX
    constexpr long long kMinVisible = 32;
    if (r.showCmd > kMaxShowCommand)
        return false;
    const long long width = static_cast<long long>(r.right) - r.left;
    const long long height = static_cast<long long>(r.bottom) - r.top;
    const long long screenW = std::max(1LL, static_cast<long long>(screen.right) - screen.left);
    const long long screenH = std::max(1LL, static_cast<long long>(screen.bottom) - screen.top);
    if (width <= 0 || height <= 0 || width > 4 * screenW || height > 4 * screenH)
        return false;
    const long long overlapW = std::min<long long>(r.right, screen.right) - std::max<long long>(r.left, screen.left);
    const long long overlapH = std::min<long long>(r.bottom, screen.bottom) - std::max<long long>(r.top, screen.top);
    return overlapW >= kMinVisible && overlapH >= kMinVisible;
}
