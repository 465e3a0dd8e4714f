#include "tables/FdssnaTables.h"

#include "base/TextUtils.h"
#include "support/DaylightLogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Restores the built-in set after a test that installs another one.
struct FdssnaTablesGuard {
    ~FdssnaTablesGuard() { SetFdssnaTables(CFdssnaTables::MakeDefault()); }
};

const double* Values(const CFdssnaTables& t, int facade, int row) {
    return t.m_dTable[facade][row] + kFdssnaFirstValueColumn;
}

TEST(FdssnaTablesTest, BuiltInSetHoldsThePublishedRowsExactly) {
    struct Published {
        int facade;
        double hdirHglob;
        double values[kFdssnaValueCount];
    };
    const Published published[] = {
        {FACADE_SOUTH, 0.45, {0, 15.4, 46.3, 62.5, 76, 76.2, 83.4, 86.1, 90.4, 91.8, 92.4}},
        {FACADE_SOUTH, 0.71, {0, 7.6, 22.8, 36.4, 46.6, 46.2, 55.3, 59.5, 67.8, 73.6, 75.4}},
        {FACADE_EASTWEST, 0.45, {0, 13.6, 40.7, 55, 66.9, 67.1, 73.4, 75.7, 79.5, 80.8, 82.1}},
        {FACADE_NORTH, 0.45, {0, 11.7, 35.2, 47.5, 57.8, 57.9, 63.4, 65.4, 68.7, 69.8, 71.8}},
    };
    CFdssnaTables t = CFdssnaTables::MakeDefault();
    int exactRows = 0;
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int r = 0; r < kFdssnaRows; ++r)
            exactRows += t.m_bEstimate[f][r] ? 0 : 1;
    EXPECT_EQ(exactRows, 4);
    for (const Published& p : published) {
        int row = p.hdirHglob == 0.45 ? 24 : 25;
        SCOPED_TRACE(StrPrintf("%s row %d", GetCompassFacingAsText(p.facade), row));
        EXPECT_FALSE(t.m_bEstimate[p.facade][row]);
        EXPECT_EQ(t.m_dTable[p.facade][row][0], 45.0);
        EXPECT_EQ(t.m_dTable[p.facade][row][1], 500.0);
        EXPECT_EQ(t.m_dTable[p.facade][row][2], p.hdirHglob);
        for (int k = 0; k < kFdssnaValueCount; ++k)
            EXPECT_EQ(Values(t, p.facade, row)[k], p.values[k]) << "D=" << kFdssnaDaylightFactors[k];
    }
}

TEST(FdssnaTablesTest, EstimatesFollowTheDocumentedSteps) {
    CFdssnaTables t = CFdssnaTables::MakeDefault();
    // Step 1: the 0.71 rows of EastWest and North at 45 deg, 500 lx from the South row.
    EXPECT_NEAR(Values(t, FACADE_EASTWEST, 25)[1], 7.6 * 0.88, 1e-12);
    EXPECT_NEAR(Values(t, FACADE_NORTH, 25)[10], 75.4 * 0.76, 1e-12);
    // Step 2: 1000 lx at D = 1 reads the 500 lx row at D = 0.5; 100 lx at D = 0.125 reads D = 0.625.
    EXPECT_NEAR(Values(t, FACADE_SOUTH, 28)[3], 46.3, 1e-12);
    EXPECT_NEAR(Values(t, FACADE_SOUTH, 20)[1], 46.3 + 0.25 * (62.5 - 46.3), 1e-12);
    EXPECT_NEAR(Values(t, FACADE_NORTH, 20)[10], 71.8, 1e-12); // beyond 18 % the last value
    EXPECT_EQ(Values(t, FACADE_SOUTH, 20)[0], 0.0);
    // Step 3: another latitude copies the values, keeping its own axes.
    for (int k = 0; k < kFdssnaValueCount; ++k)
        EXPECT_EQ(Values(t, FACADE_EASTWEST, 5)[k], Values(t, FACADE_EASTWEST, 25)[k]);
    EXPECT_EQ(t.m_dTable[FACADE_EASTWEST][5][0], 15.0);
    EXPECT_EQ(t.m_dTable[FACADE_EASTWEST][5][2], 0.66);
    EXPECT_EQ(t.m_dTable[FACADE_NORTH][48][1], 1000.0);
    EXPECT_EQ(t.m_dTable[FACADE_NORTH][48][2], 0.40);
    EXPECT_TRUE(t.m_bEstimate[FACADE_NORTH][48]);
}

TEST(FdssnaTablesTest, FaultyFilesAreRefusedWithTheirLine) {
    const std::string good = CFdssnaTables::MakeDefault().FormatCsv();
    // The file with line n (1-based) replaced; an empty text drops the line.
    auto withLine = [&good](int n, const std::string& text) {
        std::string out;
        size_t start = 0;
        for (int line = 1; start < good.size(); ++line) {
            size_t end = good.find('\n', start) + 1;
            out += line == n ? (text.empty() ? "" : text + "\n") : good.substr(start, end - start);
            start = end;
        }
        return out;
    };
    const std::pair<std::string, const char*> cases[] = {
        {withLine(151, ""), "line 150: 149 table rows, expected 150 (3 facades of 50 rows)"},
        {good + "North,75,1000,0.48,0,1,2,3,4,5,6,7,8,9,10\n", "line 152: more than 150 table rows"},
        {withLine(4, "South,15,300,0.34,0,1,2,3,4,5,6,7,8,9"), "line 4: 14 fields, expected 15"},
        {withLine(27, "South,45,500,0.71,0,7.6,22.8,36.4,46.6,46.2,55.3,59.5,67.8,73.6,140"),
         "line 27: value 140 at D=18 outside 0..100"},
        {withLine(12, "South,35,100,0.36,0,1,2,3,4,5,6,7,8,9,10"), "line 12: latitude 35, expected 30"},
        {withLine(52, "North,15,100,0.34,0,1,2,3,4,5,6,7,8,9,10"),
         "line 52: facade <North>, expected <EastWest>"},
        {withLine(2, "South,15,100,0.34,0,1,2,inf,4,5,6,7,8,9,10"), "line 2: column 8 <inf> is not a number"},
        {withLine(1, "facade,latitude,Em,HdirHglob,0,0.25,0.5,1,1.5,2,3,5,8,12,18"),
         "line 1: header column 6 is <0.25>, expected the daylight factor 0.125"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        CFdssnaTables tables = CFdssnaTables::MakeDefault();
        LogRecorder log;
        EXPECT_FALSE(tables.ParseCsv(text, "my.csv"));
        EXPECT_GE(log.Count(std::string("CFdssnaTables::LoadCsv <my.csv> ") + message +
                                ". The built-in Fdssna tables are used.",
                            LOG_ERROR),
                  1)
            << log.All();
        EXPECT_TRUE(tables.HasEstimates()); // unchanged
    }
}

TEST(FdssnaTablesTest, StartLoadsTheTableFileOfTheAppDataFolderOnlyWhenSound) {
    FdssnaTablesGuard guard;
    TempDir dir;
    const char* old = std::getenv("XDG_DATA_HOME");
    std::string oldValue = old ? old : "";
    setenv("XDG_DATA_HOME", dir.path().string().c_str(), 1);
    fs::path folder = GetAppDataFolder();
    fs::create_directories(folder);

    LoadFdssnaTablesAtStart(); // no file: the built-in set stays, silently
    EXPECT_TRUE(GetFdssnaTables().HasEstimates());

    std::string csv = CFdssnaTables::MakeDefault().FormatCsv();
    WriteFileText(folder / "LENI_FDSSNA_TABLES.CSV", csv.substr(0, csv.size() / 2));
    {
        LogRecorder log;
        LoadFdssnaTablesAtStart();
        EXPECT_TRUE(log.Contains("The built-in Fdssna tables are used."));
        EXPECT_TRUE(GetFdssnaTables().HasEstimates());
    }
    WriteFileText(folder / "LENI_FDSSNA_TABLES.CSV", csv);
    LoadFdssnaTablesAtStart();
    EXPECT_FALSE(GetFdssnaTables().HasEstimates()); // a file counts as official
    EXPECT_EQ(Values(GetFdssnaTables(), FACADE_NORTH, 24)[2], 35.2);
    EXPECT_NEAR(Values(GetFdssnaTables(), FACADE_NORTH, 25)[1], 7.6 * 0.76, 1e-4);

    if (old)
        setenv("XDG_DATA_HOME", oldValue.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

// A set whose every value in row r of facade f is 10 f + r / 10, so a result names its rows.
CFdssnaTables RowNumberTables() {
    CFdssnaTables t = CFdssnaTables::MakeDefault();
    for (int f = 0; f < FACADE_COUNT; ++f)
        for (int r = 0; r < kFdssnaRows; ++r) {
            for (int k = 0; k < kFdssnaValueCount; ++k)
                t.m_dTable[f][r][kFdssnaFirstValueColumn + k] = 10.0 * f + r / 10.0;
            t.m_bEstimate[f][r] = false;
        }
    return t;
}

TEST(FdssnaTablesTest, LookupChoosesLatitudeBlockEmRowsAndHdirHglobMix) {
    FdssnaTablesGuard guard;
    SetFdssnaTables(RowNumberTables());
    struct Case {
        double latitude, em, hdirHglob;
        int facade;
        double percent; // 10 f + (w1 r1 + w2 r2) / 10
    };
    const Case cases[] = {
        {45.0, 500, 0.45, FACADE_SOUTH, 2.4},  // rows 24/25, lower Hdir/Hglob alone
        {45.47, 500, 0.9, FACADE_SOUTH, 2.5},  // rounds to 45; 0.9 clamped to 0.71: the odd row alone
        {45.5, 500, 0.39, FACADE_SOUTH, 3.4},  // rounds to 46: the 60 deg rows 34/35
        {45.0, 200, 0.45, FACADE_NORTH, 22.0}, // 200 lx ties 100 and 300 lx: the earlier rows 20/21
        {45.0, 5000, 0.58, FACADE_EASTWEST, 12.8 + 0.1 * 0.5}, // 1000 lx rows 28/29, Hdir/Hglob halfway
        {0.0, 100, 0.1, FACADE_SOUTH, 0.0},  // 0 deg: the first block, Hdir/Hglob clamped to 0.34
        {15.0, 10, 0.66, FACADE_SOUTH, 0.1}, // Em below 20 lx counts as 20: the 100 lx rows
        {75.0, 750, 0.44, FACADE_SOUTH, 4.6 + 0.1 * 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StrPrintf("lat %g Em %g H %g", c.latitude, c.em, c.hdirHglob));
        EXPECT_NEAR(GetDaylightSupplyFactorFdssna(c.latitude, c.em, c.hdirHglob, 2.0, c.facade) * 100.0,
                    c.percent, 1e-9);
    }
}

TEST(FdssnaTablesTest, LatitudeOutsideTheTablesGivesHalf) {
    for (double latitude : {76.0, -1.0}) {
        LogRecorder log;
        EXPECT_EQ(GetDaylightSupplyFactorFdssna(latitude, 500, 0.45, 2.0, FACADE_SOUTH), 0.5);
        EXPECT_GE(
            log.Count(StrPrintf("GetDaylightSupplyFactorFdssna latitude (%d) block error", (int)latitude),
                      LOG_ERROR),
            1);
    }
}

TEST(FdssnaTablesTest, DaylightFactorIsClampedToTheRow) {
    EXPECT_DOUBLE_EQ(FindFdssnaInRow(24, 4.0, FACADE_SOUTH), 84.75); // between 3 and 5 %
    EXPECT_DOUBLE_EQ(FindFdssnaInRow(24, -1.0, FACADE_SOUTH), 0.0);
    EXPECT_DOUBLE_EQ(GetDaylightSupplyFactorFdssna(45, 500, 0.45, 30.0, FACADE_SOUTH), 0.924); // read at 18 %
}

TEST(FdssnaTablesTest, EstimatedRowsWithWeightAreNamedInTheLog) {
    struct Case {
        int facade;
        double hdirHglob;
        bool noted;
    };
    const Case cases[] = {
        {FACADE_SOUTH, 0.6, false},     // both rows published
        {FACADE_EASTWEST, 0.45, false}, // the estimated 0.71 row has weight 0
        {FACADE_EASTWEST, 0.5, true},
    };
    for (const Case& c : cases) {
        CalcLogCapture capture;
        GetDaylightSupplyFactorFdssna(45, 500, c.hdirHglob, 1.0, c.facade);
        std::vector<std::string> lines = capture.Lines();
        ASSERT_GE(lines.size(), 7u);
        EXPECT_EQ(lines[4], "  iFirstEmRow=24 2ndEmRow=25");
        EXPECT_EQ(lines[5] ==
                      "  (rows 24 and 25 of the Fdssna table are estimates: load the official EN 15193-1 "
                      "table F.4-F.6)",
                  c.noted)
            << lines[5];
    }
}

} // namespace
