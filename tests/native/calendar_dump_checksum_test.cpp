// Guards every printed value of the calendar: the full `jotcal days`
// dump of 1901-01-01 .. 2100-12-31 (dates, lunar months and days, solar terms,
// labels, information lines) must keep the checksum it had before any speed
// work was done on the engine. The moon-phase and solar-term lines of every
// month are guarded the same way, since they print minutes.
//
// If this fails after a deliberate change of results, compare the output of
// `jotcal days 1901-01-01 2100-12-31` before and after, explain every
// difference, and only then update the constants.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "calendar/lunar_year.h"
#include "calendar/plain_text.h"

namespace {

// Taken from the straightforward engine, before any optimisation.
constexpr std::uint64_t kDaysDumpChecksum = 0xc13e5acce9fd7cf3ULL;
constexpr std::uint64_t kMonthLinesChecksum = 0xe3d6f602bbdd8c4bULL;

// FNV-1a, 64 bits.
class Fnv1a {
public:
    void Add(const std::string& bytes)
    {
        for (unsigned char c : bytes) {
            m_hash ^= c;
            m_hash *= 0x100000001b3ULL;
        }
        m_size += bytes.size();
    }
    std::uint64_t Hash() const { return m_hash; }
    std::uint64_t Size() const { return m_size; }

private:
    std::uint64_t m_hash = 0xcbf29ce484222325ULL;
    std::uint64_t m_size = 0;
};

TEST(CalendarDumpChecksum, DaysOf1901To2100)
{
    Fnv1a sum;
    int lines = 0;
    cal::LunarYear ly;
    for (int y = cal::kFirstCalendarYear; y <= cal::kLastCalendarYear; ++y) {
        ASSERT_TRUE(cal::BuildLunarYear(ly, y));
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= cal::DaysInMonth(y, m); ++d) {
                sum.Add(cal::ToUtf8(cal::FormatDayRecord(ly, m, d)) + "\n");
                ++lines;
            }
        }
    }
    std::printf("days dump: %d lines, %llu bytes, FNV-1a %016llx\n", lines,
                static_cast<unsigned long long>(sum.Size()), static_cast<unsigned long long>(sum.Hash()));
    EXPECT_EQ(lines, 73049);
    EXPECT_EQ(sum.Size(), 7929137u);
    EXPECT_EQ(sum.Hash(), kDaysDumpChecksum);
}

TEST(CalendarDumpChecksum, MonthLinesOf1901To2100)
{
    Fnv1a sum;
    cal::LunarYear ly;
    for (int y = cal::kFirstCalendarYear; y <= cal::kLastCalendarYear; ++y) {
        ASSERT_TRUE(cal::BuildLunarYear(ly, y));
        for (int m = 1; m <= 12; ++m) {
            const cal::SolarMonth& sm = cal::GetSolarMonth(ly, m);
            sum.Add(cal::ToUtf8(cal::FormatSolarTerms(sm)) + "\n" + cal::ToUtf8(cal::FormatMoonPhases(sm, ly)) + "\n");
        }
        for (double t : ly.terms) {
            sum.Add(cal::ToUtf8(cal::FormatInstant(t)) + "\n");
        }
        for (double t : ly.newMoons) {
            sum.Add(cal::ToUtf8(cal::FormatInstant(t)) + "\n");
        }
    }
    std::printf("month lines, terms and new moons: %llu bytes, FNV-1a %016llx\n",
                static_cast<unsigned long long>(sum.Size()), static_cast<unsigned long long>(sum.Hash()));
    EXPECT_EQ(sum.Hash(), kMonthLinesChecksum);
}

}  // namespace
