#include "calendar/plain_text.h"

#include <cmath>

#include "calendar/lunar_year.h"
#include "calendar/time_scales.h"

namespace cal {

namespace {

// printf's "%0*d" for non-negative values.
void AppendPadded(std::wstring& out, int value, int width)
{
    std::wstring digits = std::to_wstring(value);
    if (value >= 0 && static_cast<int>(digits.size()) < width) {
        out.append(width - digits.size(), L'0');
    }
    out += digits;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::wstring FormatDate(int year, int month, int day)
{
    std::wstring out;
    AppendPadded(out, year, 4);
    out += L'-';
    AppendPadded(out, month, 2);
    out += L'-';
    AppendPadded(out, day, 2);
    return out;
}

std::wstring FormatInstant(double jd)
{
    const DateTime t = CalendarDate(jd);
    std::wstring out = FormatDate(t.year, t.month, t.day);
    out += L' ';
    AppendPadded(out, t.hour, 2);
    out += L':';
    AppendPadded(out, t.minute, 2);
    out += L':';
    AppendPadded(out, static_cast<int>(std::trunc(t.second)), 2);
    return out;
}

std::wstring FormatDayRecord(const LunarYear& ly, int month, int day)
{
    const CalendarDay& cd = GetCalendarDay(GetSolarMonth(ly, month), day);
    const LunarMonth& lm = GetLunarMonth(ly, cd.lunarMonth);
    std::wstring out = FormatDate(ly.year, month, day);
    out += L'\t';
    out += std::to_wstring(lm.number);
    out += L'\t';
    out += lm.leap ? L'1' : L'0';
    out += L'\t';
    out += std::to_wstring(cd.lunarDay + 1);
    out += L'\t';
    out += std::to_wstring(cd.termIndex);
    out += L'\t';
    out += DayLabel(ly, month, day);
    out += L'\t';
    out += FormatDayInfo(ly, month, day, 0);
    return out;
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low < 0xE000) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace cal
