// The coefficient tables: row counts and the rows quoted in the calendar's
// documentation, the short series written out there in full, and agreement
// of the generated arrays with the data files they were made from.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "calendar/meeus_tables.h"

namespace {

using cal::meeus::MoonTerm;
using cal::meeus::NutationTerm;
using cal::meeus::VsopTerm;

void ExpectRow(const VsopTerm& t, double a, double b, double c, const char* what)
{
    EXPECT_EQ(t.a, a) << what;
    EXPECT_EQ(t.b, b) << what;
    EXPECT_EQ(t.c, c) << what;
}

template <std::size_t N>
void ExpectSeries(const VsopTerm (&series)[N], const std::vector<VsopTerm>& expected, const char* what)
{
    ASSERT_EQ(N, expected.size()) << what;
    for (std::size_t i = 0; i < N; ++i) {
        EXPECT_EQ(series[i].a, expected[i].a) << what << " row " << i + 1;
        EXPECT_EQ(series[i].b, expected[i].b) << what << " row " << i + 1;
        EXPECT_EQ(series[i].c, expected[i].c) << what << " row " << i + 1;
    }
}

TEST(CalendarMeeusTables, RowCounts)
{
    EXPECT_EQ(std::size(cal::meeus::kEarthL0), 64u);
    EXPECT_EQ(std::size(cal::meeus::kEarthL1), 34u);
    EXPECT_EQ(std::size(cal::meeus::kEarthL2), 20u);
    EXPECT_EQ(std::size(cal::meeus::kEarthR0), 40u);
    EXPECT_EQ(std::size(cal::meeus::kMoonLongitude), 60u);
    EXPECT_EQ(std::size(cal::meeus::kNutation), 63u);
    // The series tables point at the arrays with their true lengths.
    EXPECT_EQ(cal::meeus::kEarthL[0].count, 64);
    EXPECT_EQ(cal::meeus::kEarthL[1].count, 34);
    EXPECT_EQ(cal::meeus::kEarthL[2].count, 20);
    EXPECT_EQ(cal::meeus::kEarthR[0].count, 40);
    for (const auto* group : {cal::meeus::kEarthL, cal::meeus::kEarthB, cal::meeus::kEarthR}) {
        EXPECT_NE(group[0].terms, nullptr);
    }
}

TEST(CalendarMeeusTables, QuotedRowsOfTheLongTables)
{
    using namespace cal::meeus;
    ExpectRow(kEarthL0[0], 175347046, 0, 0, "L0 first");
    ExpectRow(kEarthL0[1], 3341656, 4.6692568, 6283.07585, "L0 second");
    ExpectRow(kEarthL0[63], 25, 3.16, 4690.48, "L0 last");
    ExpectRow(kEarthL1[0], 628331966747, 0, 0, "L1 first");
    ExpectRow(kEarthL1[33], 6, 4.67, 4690.48, "L1 last");
    ExpectRow(kEarthL2[0], 52919, 0, 0, "L2 first");
    ExpectRow(kEarthL2[19], 2, 3.75, 0.98, "L2 last");
    ExpectRow(kEarthR0[0], 100013989, 0, 0, "R0 first");
    ExpectRow(kEarthR0[39], 26, 4.59, 10447.39, "R0 last");

    const MoonTerm& moon = kMoonLongitude[0];
    EXPECT_EQ(moon.d, 0);
    EXPECT_EQ(moon.m, 0);
    EXPECT_EQ(moon.mp, 1);
    EXPECT_EQ(moon.f, 0);
    EXPECT_EQ(moon.sigmaL, 6288774);
    EXPECT_EQ(moon.sigmaR, -20905355);

    const NutationTerm& nut = kNutation[0];
    EXPECT_EQ(nut.d, 0);
    EXPECT_EQ(nut.m, 0);
    EXPECT_EQ(nut.mp, 0);
    EXPECT_EQ(nut.f, 0);
    EXPECT_EQ(nut.omega, 1);
    EXPECT_EQ(nut.psiConst, -171996);
    EXPECT_EQ(nut.psiT, -174.2);
    EXPECT_EQ(nut.epsConst, 92025);
    EXPECT_EQ(nut.epsT, 8.9);
}

TEST(CalendarMeeusTables, ShortSeriesAsWrittenOut)
{
    using namespace cal::meeus;
    ExpectSeries(kEarthL3,
                 {{289, 5.844, 6283.076}, {35, 0, 0}, {17, 5.49, 12566.15}, {3, 5.2, 155.42}, {1, 4.72, 3.52},
                  {1, 5.3, 18849.23}, {1, 5.97, 242.73}},
                 "L3");
    ExpectSeries(kEarthL4, {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}}, "L4");
    ExpectSeries(kEarthL5, {{1, 3.14, 0}}, "L5");
    ExpectSeries(kEarthB0,
                 {{280, 3.199, 84334.662}, {102, 5.422, 5507.553}, {80, 3.88, 5223.69}, {44, 3.7, 2352.87},
                  {32, 4, 1577.34}},
                 "B0");
    ExpectSeries(kEarthB1, {{9, 3.9, 5507.55}, {6, 1.73, 5223.69}}, "B1");
    ExpectSeries(kEarthB2, {{22378, 3.38509, 10213.28555}, {282, 0, 0}, {173, 5.256, 20426.571}, {27, 3.87, 30639.86}},
                 "B2");
    ExpectSeries(kEarthB3, {{647, 4.992, 10213.286}, {20, 3.14, 0}, {6, 0.77, 20426.57}, {3, 5.44, 30639.86}}, "B3");
    ExpectSeries(kEarthB4, {{14, 0.32, 10213.29}}, "B4");
    ExpectSeries(kEarthR1,
                 {{103019, 1.10749, 6283.07585}, {1721, 1.0644, 12566.1517}, {702, 3.142, 0}, {32, 1.02, 18849.23},
                  {31, 2.84, 5507.55}, {25, 1.32, 5223.69}, {18, 1.42, 1577.34}, {10, 5.91, 10977.08},
                  {9, 1.42, 6275.96}, {9, 0.27, 5486.78}},
                 "R1");
    ExpectSeries(kEarthR2,
                 {{4359, 5.7846, 6283.0758}, {124, 5.579, 12566.152}, {12, 3.14, 0}, {9, 3.63, 77713.77},
                  {6, 1.87, 5573.14}, {3, 5.47, 18849.23}},
                 "R2");
    ExpectSeries(kEarthR3, {{145, 4.273, 6283.076}, {7, 3.92, 12566.15}}, "R3");
    ExpectSeries(kEarthR4, {{4, 2.56, 6283.08}}, "R4");

    // The series tables are in order of the power of tau.
    EXPECT_EQ(kEarthL[3].terms, kEarthL3);
    EXPECT_EQ(kEarthB[4].terms, kEarthB4);
    EXPECT_EQ(kEarthR[4].terms, kEarthR4);
}

// Data rows of a CSV file of calendar/data, comment lines skipped, header
// dropped, split at commas.
std::vector<std::vector<std::string>> ReadCsv(const std::string& name)
{
    std::ifstream in(std::string(JOT_SOURCE_DIR) + "/calendar/data/" + name);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, ',')) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

TEST(CalendarMeeusTables, GeneratedArraysMatchTheDataFiles)
{
    using namespace cal::meeus;
    const auto earth = ReadCsv("earth_vsop87.csv");
    ASSERT_EQ(earth.size(), 64u + 34 + 20 + 7 + 3 + 1 + 5 + 2 + 4 + 4 + 1 + 40 + 10 + 6 + 2 + 1);
    struct Named {
        const char* name;
        const VsopSeries* series;
    };
    const Named groups[] = {{"L", kEarthL}, {"B", kEarthB}, {"R", kEarthR}};
    for (const auto& row : earth) {
        ASSERT_EQ(row.size(), 5u);
        const char letter = row[0][0];
        const int power = row[0][1] - '0';
        const int index = std::stoi(row[1]) - 1;
        for (const Named& g : groups) {
            if (g.name[0] == letter) {
                ASSERT_LT(index, g.series[power].count) << row[0];
                const VsopTerm& t = g.series[power].terms[index];
                EXPECT_EQ(t.a, std::stod(row[2])) << row[0] << " " << row[1];
                EXPECT_EQ(t.b, std::stod(row[3])) << row[0] << " " << row[1];
                EXPECT_EQ(t.c, std::stod(row[4])) << row[0] << " " << row[1];
            }
        }
    }

    const auto moon = ReadCsv("moon_longitude_47A.csv");
    ASSERT_EQ(moon.size(), std::size(kMoonLongitude));
    for (std::size_t i = 0; i < moon.size(); ++i) {
        const MoonTerm& t = kMoonLongitude[i];
        EXPECT_EQ(t.d, std::stoi(moon[i][1])) << i;
        EXPECT_EQ(t.m, std::stoi(moon[i][2])) << i;
        EXPECT_EQ(t.mp, std::stoi(moon[i][3])) << i;
        EXPECT_EQ(t.f, std::stoi(moon[i][4])) << i;
        EXPECT_EQ(t.sigmaL, std::stod(moon[i][5])) << i;
        EXPECT_EQ(t.sigmaR, std::stod(moon[i][6])) << i;
    }

    const auto nutation = ReadCsv("nutation_22A.csv");
    ASSERT_EQ(nutation.size(), std::size(kNutation));
    for (std::size_t i = 0; i < nutation.size(); ++i) {
        const NutationTerm& t = kNutation[i];
        EXPECT_EQ(t.d, std::stoi(nutation[i][1])) << i;
        EXPECT_EQ(t.m, std::stoi(nutation[i][2])) << i;
        EXPECT_EQ(t.mp, std::stoi(nutation[i][3])) << i;
        EXPECT_EQ(t.f, std::stoi(nutation[i][4])) << i;
        EXPECT_EQ(t.omega, std::stoi(nutation[i][5])) << i;
        EXPECT_EQ(t.psiConst, std::stod(nutation[i][6])) << i;
        EXPECT_EQ(t.psiT, std::stod(nutation[i][7])) << i;
        EXPECT_EQ(t.epsConst, std::stod(nutation[i][8])) << i;
        EXPECT_EQ(t.epsT, std::stod(nutation[i][9])) << i;
    }
}

TEST(CalendarMeeusTables, MoonTableUsesOnlyPowersOfEUpToTwo)
{
    for (const MoonTerm& t : cal::meeus::kMoonLongitude) {
        EXPECT_LE(t.m, 2);
        EXPECT_GE(t.m, -2);
    }
}

}  // namespace
