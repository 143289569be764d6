// jotcal: the Chinese calendar of Jotstack in a terminal, UTF-8 output.
//
//   jotcal days FROM TO          one tab-separated line per day (YYYY-MM-DD, inclusive)
//   jotcal terms YEAR            the 25 solar terms of the year's calendar
//   jotcal moons YEAR            the 15 new moons of the year's calendar
//   jotcal month YEAR MONTH      the month's solar-term line and moon-phase line
//   jotcal pillars DATE HOUR     the four pillars of a date at a double-hour 0..12
//   jotcal moon DATE             phase fraction, illuminated fraction and the calendar
//                                dialog's moon line, for 00:00 Beijing time of the date
//
// Dates and years lie in 1901..2100. Bad arguments: one line on stderr, exit 2.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "calendar/calendar_navigation.h"
#include "calendar/lunar_year.h"
#include "calendar/moon_phase.h"
#include "calendar/plain_text.h"

namespace {

constexpr int kExitBadArguments = 2;

const char kUsage[] =
    "usage: jotcal days FROM TO | terms YEAR | moons YEAR | month YEAR MONTH | pillars DATE HOUR_INDEX | moon DATE";

struct Date {
    int year;
    int month;
    int day;
};

[[noreturn]] void Fail(const std::string& message)
{
    std::fprintf(stderr, "jotcal: %s\n", message.c_str());
    std::exit(kExitBadArguments);
}

bool ParseNumber(std::string_view text, int& value)
{
    if (text.empty() || text.size() > 9) {
        return false;
    }
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    value = v;
    return true;
}

int ParseYear(const char* text)
{
    int year = 0;
    if (!ParseNumber(text, year) || year < cal::kFirstCalendarYear || year > cal::kLastCalendarYear) {
        Fail(std::string("year must be 1901..2100: ") + text);
    }
    return year;
}

int ParseRange(const char* text, int low, int high, const char* what)
{
    int value = 0;
    if (!ParseNumber(text, value) || value < low || value > high) {
        Fail(std::string(what) + " must be " + std::to_string(low) + ".." + std::to_string(high) + ": " + text);
    }
    return value;
}

// YYYY-MM-DD, a real date within 1901-01-01 .. 2100-12-31.
Date ParseDate(const char* text)
{
    const std::string_view s(text);
    Date d{};
    if (s.size() != 10 || s[4] != '-' || s[7] != '-' || !ParseNumber(s.substr(0, 4), d.year) ||
        !ParseNumber(s.substr(5, 2), d.month) || !ParseNumber(s.substr(8, 2), d.day)) {
        Fail(std::string("date must be YYYY-MM-DD: ") + text);
    }
    if (d.year < cal::kFirstCalendarYear || d.year > cal::kLastCalendarYear || d.month < 1 || d.month > 12 ||
        d.day < 1 || d.day > cal::DaysInMonth(d.year, d.month)) {
        Fail(std::string("no such date in 1901-01-01..2100-12-31: ") + text);
    }
    return d;
}

void RequireArgumentCount(int argc, int expected)
{
    if (argc != expected) {
        Fail(kUsage);
    }
}

// Output is collected and written as bytes: no newline translation anywhere.
class Output {
public:
    void Line(const std::wstring& text)
    {
        m_buffer += cal::ToUtf8(text);
        m_buffer += '\n';
        if (m_buffer.size() > (1u << 20)) {
            Flush();
        }
    }

    void Flush()
    {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), stdout);
        m_buffer.clear();
    }

    ~Output() { Flush(); }

private:
    std::string m_buffer;
};

const cal::LunarYear& YearData(int year)
{
    static cal::LunarYear ly;
    if (ly.year != year) {
        if (!cal::BuildLunarYear(ly, year)) {
            std::fprintf(stderr, "jotcal: the calendar of %d could not be built\n", year);
            std::exit(1);
        }
    }
    return ly;
}

void PrintDays(const Date& from, const Date& to, Output& out)
{
    for (int year = from.year; year <= to.year; ++year) {
        const cal::LunarYear& ly = YearData(year);
        const int firstMonth = year == from.year ? from.month : 1;
        const int lastMonth = year == to.year ? to.month : 12;
        for (int month = firstMonth; month <= lastMonth; ++month) {
            const int firstDay = year == from.year && month == from.month ? from.day : 1;
            const int lastDay = year == to.year && month == to.month ? to.day : cal::DaysInMonth(year, month);
            for (int day = firstDay; day <= lastDay; ++day) {
                out.Line(cal::FormatDayRecord(ly, month, day));
            }
        }
    }
}

void PrintTerms(int year, Output& out)
{
    const cal::LunarYear& ly = YearData(year);
    for (int i = 0; i < static_cast<int>(ly.terms.size()); ++i) {
        out.Line(std::to_wstring(i) + L'\t' + cal::SolarTermName((i + 18) % 24) + L'\t' +
                 cal::FormatInstant(ly.terms[i]));
    }
}

void PrintMoons(int year, Output& out)
{
    const cal::LunarYear& ly = YearData(year);
    for (int i = 0; i < static_cast<int>(ly.newMoons.size()); ++i) {
        out.Line(std::to_wstring(i) + L'\t' + cal::FormatInstant(ly.newMoons[i]));
    }
}

void PrintMonth(int year, int month, Output& out)
{
    const cal::LunarYear& ly = YearData(year);
    const cal::SolarMonth& sm = cal::GetSolarMonth(ly, month);
    out.Line(cal::FormatSolarTerms(sm));
    out.Line(cal::FormatMoonPhases(sm, ly));
}

void PrintPillars(const Date& date, int hourIndex, Output& out)
{
    const cal::LunarYear& ly = YearData(date.year);
    out.Line(cal::FormatFourPillars(cal::ComputeFourPillars(ly, date.month, date.day, hourIndex)));
}

// One tab-separated line: the date, the phase fraction (0 new, 0.5 full), the
// illuminated fraction of the disc, and the line the calendar dialog shows.
void PrintMoon(const Date& date, Output& out)
{
    double illuminated = 0.0;
    const double phase = cal::MoonPhaseForDate(date.year, date.month, date.day, &illuminated);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "\t%.6f\t%.6f\t", phase, illuminated);
    wchar_t iso[16];
    std::swprintf(iso, 16, L"%04d-%02d-%02d", date.year, date.month, date.day);
    out.Line(iso + std::wstring(numbers, numbers + std::char_traits<char>::length(numbers)) +
             cal::MoonLine(phase, illuminated));
}

}  // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (argc < 2) {
        Fail(kUsage);
    }
    const std::string_view command(argv[1]);
    Output out;
    if (command == "days") {
        RequireArgumentCount(argc, 4);
        const Date from = ParseDate(argv[2]);
        const Date to = ParseDate(argv[3]);
        if (std::make_tuple(from.year, from.month, from.day) > std::make_tuple(to.year, to.month, to.day)) {
            Fail(std::string("FROM is after TO: ") + argv[2] + " " + argv[3]);
        }
        PrintDays(from, to, out);
    } else if (command == "terms") {
        RequireArgumentCount(argc, 3);
        PrintTerms(ParseYear(argv[2]), out);
    } else if (command == "moons") {
        RequireArgumentCount(argc, 3);
        PrintMoons(ParseYear(argv[2]), out);
    } else if (command == "month") {
        RequireArgumentCount(argc, 4);
        const int year = ParseYear(argv[2]);
        PrintMonth(year, ParseRange(argv[3], 1, 12, "MONTH"), out);
    } else if (command == "pillars") {
        RequireArgumentCount(argc, 4);
        const Date date = ParseDate(argv[2]);
        PrintPillars(date, ParseRange(argv[3], 0, 12, "HOUR_INDEX"), out);
    } else if (command == "moon") {
        RequireArgumentCount(argc, 3);
        PrintMoon(ParseDate(argv[2]), out);
    } else {
        Fail(std::string("unknown command ") + argv[1] + "; " + kUsage);
    }
    return 0;
}
