#include "calc/CalcLog.h"

#include "calc/ZoneFactors.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace {

class CalcLogTest : public ::testing::Test {
  protected:
    ~CalcLogTest() override { StopCalcLogger(); }
    RecordingMessageBoxes boxes;
    LogRecorder log;
    TempDir dir{"calclog"};
};

} // namespace

TEST_F(CalcLogTest, ScriptedSequenceGivesExactFile) {
    std::string path = GetCalcLogPath(dir.path().string(), GetBuildingCalcLogFileName("Villa"));
    ASSERT_TRUE(StartCalcLogger(path));
    EXPECT_TRUE(IsCalcLoggerOpen());
    CalcLogPrintf("CalculateAnnualLENI starting for project <%s>\n", "Villa");
    CalcLogPrintf("  Floor %s Area=%7.2fsqmt (%d instances of this floor)", "Ground", 150.0, 3);
    CalcLogPrintf("    Daylight hours Td = %.1f, Daylight absence hours Tn = %.1f time=%s", 2250.0, 250.0,
                  GetTimeStepName(3).c_str());
    ZoneFcInputs zone;
    zone.bConstantIllumination = true;
    zone.dZoneLuxReal = 600;
    double fc = GetZoneFc(zone, 0.8);
    zone.bConstantIllumination = false;
    zone.bConstantLumenOutput = true;
    GetZoneFc(zone, 0.7);
    zone.bConstantLumenOutput = false;
    GetZoneFc(zone, 0.7);
    CalcLogPrintf("    Zone %s 'AND' CLO=%d CIC=%d Fcc=%.3f", "Desk 50%", 0, 1, 1.0);
    CalcLogPrintf("    Zone %s 'AND' energy for lighting = %.3fkWh = Zone 'AND' Power[%.3f]*Fc[%.3f]*Fo[%.3f]"
                  "*TotalOperatingHours[%d]/1000.0 ",
                  "Desk", 360.0 * fc * 2500 / 1000.0, 360.0, fc, 1.0, 2500);
    CalcLogPrintf("%s", "a%%b%c");
    CalcLogPrintf("100%% done");
    CalcLogPrintf("two\nlines\n");
    CalcLogPrintf("%s",
                  "Caf\xc3\xa9 \xe2\x82\xac \xe4\xb8\xad"); // é and € exist in Windows-1252, 中 does not
    CalcLogPrintf("%s", "");
    CalcLogPrintf("Building %s LENI %7.2fkWh", GetTimeStepName(0).c_str(), 943.8 / 50.0);
    StopCalcLogger();
    EXPECT_FALSE(IsCalcLoggerOpen());
    CalcLogPrintf("after the end"); // no log open: nothing happens

    EXPECT_EQ(path, (dir.path() / "LENI_CALC_LOG_Villa.TXT").string());
    EXPECT_EQ(
        ReadFileText(path),
        "CalculateAnnualLENI starting for project <Villa>\n"
        "  Floor Ground Area= 150.00sqmt (3 instances of this floor)\n"
        "    Daylight hours Td = 2250.0, Daylight absence hours Tn = 250.0 time=March\n"
        "        Fc con CIC Fc[ 0.900] = 1.0 - ((0.5*m_Fcc[ 1.000])*(1.0 - kRoomMF[ 0.800])  \n"
        "        Fc=[ 0.750] (because CLO or CIC and Fcod=[0.833])\n"
        "        Fc con CLO Fc[ 0.850] =  (1 + kRoomMF[6.3f]) / 2.0\n"
        "        Fc=[ 0.708] (because CLO or CIC and Fcod=[0.833])\n"
        "        Fc No CLO No CIC Fc[ 1.000]\n"
        "    Zone Desk 50  'AND' CLO=0 CIC=1 Fcc=1.000\n"
        "    Zone Desk 'AND' energy for lighting = 675.000kWh = Zone 'AND' Power[360.000]*Fc[0.750]*Fo[1.000]"
        "*TotalOperatingHours[2500]/1000.0 \n"
        "a b c\n"
        "100  done\n"
        "two\nlines\n"
        "Caf\xe9 \x80 ?\n"
        "\n"
        "Building Annual LENI   18.88kWh\n");
    EXPECT_TRUE(log.messages.empty()) << log.All();
}

TEST_F(CalcLogTest, LengthLimits) {
    std::string path = GetCalcLogPath(dir.path().string(), "limits.txt");
    ASSERT_TRUE(StartCalcLogger(path));
    std::string format779(779, 'f');
    std::string format780(780, 'f');
    CalcLogPrintf(format779.c_str(), 0); // a format without conversions; the argument is ignored
    CalcLogPrintf(format780.c_str(), 0);
    EXPECT_EQ(log.Count("CalcLogPrintf but unicode string too long:780 wchars.", LOG_ERROR), 1) << log.All();
    // The format limit counts characters, not bytes: 779 two-byte characters pass, 780 do not.
    std::string wide779;
    for (int i = 0; i < 779; ++i)
        wide779 += "\xc3\xa9";
    std::string wide780 = wide779 + "\xc3\xa9";
    CalcLogPrintf(wide779.c_str(), 0);
    CalcLogPrintf(wide780.c_str(), 0);
    EXPECT_EQ(log.Count("too long:780 wchars.", LOG_ERROR), 2) << log.All();
    log.Clear();

    CalcLogPrintf("%s", std::string(779, 'x').c_str());
    EXPECT_TRUE(log.messages.empty());
    CalcLogPrintf("%s", std::string(780, 'y').c_str());
    EXPECT_EQ(log.Count("CalcLogPrintf line of 780 characters too long", LOG_ERROR), 1) << log.All();
    CalcLogPrintf("end");
    StopCalcLogger();

    EXPECT_EQ(ReadFileText(path), format779 + "\n" + std::string(779, '\xe9') + "\n" + std::string(779, 'x') +
                                      "\n"
                                      "\n"
                                      "end\n");
}

TEST_F(CalcLogTest, SecondOpenWritesIntoTheOpenLog) {
    std::string first = GetCalcLogPath(dir.path().string(), GetFloorCalcLogFileName("Ground"));
    std::string second =
        GetCalcLogPath(dir.path().string(), GetSubLeniCalcLogFileName("Ground", "Kitchen", 3));
    ASSERT_TRUE(StartCalcLogger(first));
    CalcLogPrintf("one");
    EXPECT_FALSE(StartCalcLogger(second));
    EXPECT_EQ(log.Count("StartCalcLogger but pCalcLogFile not null", LOG_ERROR), 1);
    EXPECT_TRUE(IsCalcLoggerOpen());
    CalcLogPrintf("two");
    StopCalcLogger();
    StopCalcLogger(); // closing twice is harmless

    EXPECT_EQ(ReadFileText(dir / "LENI_CALC_LOG_FLOOR_Ground.TXT"), "one\ntwo\n");
    EXPECT_FALSE(FileExists((dir / "SUB_LENI_CALC_LOG_Ground_Kitchen_March_.TXT").string()));
}

TEST_F(CalcLogTest, NewRunReplacesTheOldFile) {
    std::string path = GetCalcLogPath(dir.path().string(), GetBuildingCalcLogFileName("Villa"));
    WriteFileText(path, "an old and much longer log\nwith two lines\n");
    ASSERT_TRUE(StartCalcLogger(path));
    CalcLogPrintf("new");
    StopCalcLogger();
    EXPECT_EQ(ReadFileText(path), "new\n");
}

TEST_F(CalcLogTest, UnwritableFolderReportsAndCalculationGoesOn) {
    std::string path = GetCalcLogPath((dir / "missing").string(), "LENI_CALC_LOG_Villa.TXT");
    EXPECT_FALSE(StartCalcLogger(path));
    EXPECT_FALSE(IsCalcLoggerOpen());
    EXPECT_EQ(log.Count("Could not open Calc Logger <" + path + ">", LOG_ERROR), 1) << log.All();

    ZoneFcInputs zone;
    zone.bConstantIllumination = true;
    zone.dZoneLuxReal = 600;
    EXPECT_NEAR(GetZoneFc(zone, 0.8), 0.75, 1e-12);
    CalcLogPrintf("nowhere");
    StopCalcLogger();
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(CalcLogNamesTest, TimeStepNamesAndFileNames) {
    const char* const names[] = {"Annual", "January", "February",  "March",   "April",    "May",     "June",
                                 "July",   "August",  "September", "October", "November", "December"};
    for (unsigned step = 0; step <= 12; ++step)
        EXPECT_EQ(GetTimeStepName(step), names[step]);
    EXPECT_EQ(GetTimeStepName(13), "ERROR IN TIMESTEP");
    EXPECT_EQ(GetTimeStepName(0xFFFFFFFFu), "ERROR IN TIMESTEP");

    EXPECT_EQ(GetBuildingCalcLogFileName("Villa"), "LENI_CALC_LOG_Villa.TXT");
    EXPECT_EQ(GetFloorCalcLogFileName("Ground"), "LENI_CALC_LOG_FLOOR_Ground.TXT");
    EXPECT_EQ(GetSubLeniCalcLogFileName("Ground", "Kitchen", 3),
              "SUB_LENI_CALC_LOG_Ground_Kitchen_March_.TXT");
    EXPECT_EQ(GetSubLeniCalcLogFileName("F1", "R1", 0), "SUB_LENI_CALC_LOG_F1_R1_Annual_.TXT");
}

TEST_F(CalcLogTest, DiscardedLinesAreNotWrittenButTooLongOnesAreStillReported) {
    const std::string path = GetCalcLogPath(dir.path().string(), "discard.txt");
    ASSERT_TRUE(StartCalcLogger(path));
    CalcLogPrintf("kept %d", 1);
    {
        CCalcLogDiscard discard;
        EXPECT_TRUE(IsCalcLogDiscarding());
        // Lines, each with whether it is too long (over 779 characters once formatted).
        const struct {
            std::function<void()> print;
            bool tooLong;
        } cases[] = {
            {[] { CalcLogPrintf("short %s %d %.3f %7.2f", "name", 12, 3.5, -1e16); }, false},
            {[] { CalcLogPrintf("%s", std::string(779, 'x').c_str()); }, false},
            {[] { CalcLogPrintf("%s", std::string(780, 'x').c_str()); }, true},
            {[] { CalcLogPrintf("a%sb", std::string(778, 'x').c_str()); }, true},
            {[] { CalcLogPrintf("%800s", "x"); }, true},
            {[] { CalcLogPrintf("%.3f %.3f %.3f", 1e300, 1e300, 1e300); }, true}, // 917 characters
            {[] { CalcLogPrintf("%.3f %.3f", 1e300, 1e300); }, false},            // 611
            {[] { CalcLogPrintf("%f %f %f %f %f", 1e150, 1e150, 1e150, 1e150, 1e150); }, true},
            {[] { CalcLogPrintf("%.3f %ld", -HUGE_VAL, 7L); }, false},
            {[] { CalcLogPrintf("%s", std::string(400, '\xe9').c_str()); }, false}, // converted: 400
        };
        for (const auto& c : cases) {
            log.Clear();
            c.print();
            EXPECT_EQ(log.Count("characters too long", LOG_ERROR), c.tooLong ? 1 : 0) << log.All();
        }
    }
    EXPECT_FALSE(IsCalcLogDiscarding());
    CalcLogPrintf("kept %d", 2);
    StopCalcLogger();
    EXPECT_EQ(ReadFileText(path), "kept 1\nkept 2\n");

    // A log opened while its lines are discarded replaces nothing and leaves no file behind.
    {
        CCalcLogDiscard discard;
        ASSERT_TRUE(StartCalcLogger(path));
        CalcLogPrintf("dropped %d", 3);
        StopCalcLogger();
    }
    EXPECT_EQ(ReadFileText(path), "kept 1\nkept 2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// Lines are written without the C library's formatter: every conversion the log uses must give
// the bytes printf gives in the C locale, rounding of exact ties and signs of zero included.
TEST_F(CalcLogTest, LinesWrittenDirectlyEqualPrintfInTheCLocale) {
    const std::string path = (dir.path() / "direct.TXT").string();
    ASSERT_TRUE(StartCalcLogger(path));
    std::vector<double> values = {0.0,   -0.0,   0.125,      -0.125,  2.675,    1.005,   0.5,
                                  1.5,   2.5,    -2.5,       0.0005,  -0.0004,  1e-300,  -1e-300,
                                  9.995, 99.995, 123456.785, 1e16,    -1e16,    9.99e16, 4503599627370497.5,
                                  0.1,   0.2,    0.3,        1.0 / 3, -2.0 / 3, 8760.0,  2250.0};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-1e6, 1e6);
    std::uniform_int_distribution<int> ties(-20000, 20000);
    for (int i = 0; i < 3000; ++i) {
        values.push_back(wide(random));
        values.push_back(ties(random) / 8.0); // exact binary ties at 1, 2 and 3 decimals
        values.push_back(ties(random) / 1000.0);
    }
    const char* const doubleFormats[] = {"%.3f", "%.2f",      "%.1f",   "%6.3f", "%7.2f", "%6.1f",
                                         "%f",   "x=%-9.2f|", "%09.3f", "%.0f",  "%3.0f"};
    const int ints[] = {0, 7, -7, 2147483647, -2147483647 - 1, 8760};
    std::string expected;
    char buffer[512];
    auto expect = [&](int n) { expected.append(buffer, static_cast<size_t>(n)).append("\n"); };
    for (const char* format : doubleFormats)
        for (double value : values) {
            CalcLogPrintf(format, value);
            expect(std::snprintf(buffer, sizeof buffer, format, value));
        }
    for (int value : ints) {
        CalcLogPrintf("%d|%5d|%-5d|%05d", value, value, value, value);
        expect(std::snprintf(buffer, sizeof buffer, "%d|%5d|%-5d|%05d", value, value, value, value));
        CalcLogPrintf("%ld %lld", static_cast<long>(value) * 3, static_cast<long long>(value) * 1000003);
        expect(std::snprintf(buffer, sizeof buffer, "%ld %lld", static_cast<long>(value) * 3,
                             static_cast<long long>(value) * 1000003));
    }
    CalcLogPrintf("<%s> <%8s> <%-8s> <%c> <%3c>", "Room 1", "ab", "ab", 'Z', 'q');
    expect(
        std::snprintf(buffer, sizeof buffer, "<%s> <%8s> <%-8s> <%c> <%3c>", "Room 1", "ab", "ab", 'Z', 'q'));
    StopCalcLogger();
    EXPECT_EQ(ReadFileText(path), expected);
}

// A log kept in memory and written on a helper reads exactly as one written as it goes: its own
// lines, copied text and text it refers to (whose owner the caller lets go at once); and a second
// log of the same name started at once waits for the first, so the file ends with the second.
TEST_F(CalcLogTest, KeptLogWritesTheSameFileAsAPlainOne) {
    const std::string path = GetCalcLogPath(dir.path().string(), GetBuildingCalcLogFileName("Kept"));
    for (const bool kept : {false, true}) {
        SCOPED_TRACE(kept ? "kept" : "plain");
        std::optional<CCalcLogKept> keep;
        if (kept) keep.emplace();
        ASSERT_TRUE(StartCalcLogger(path));
        EXPECT_EQ(IsCalcLogKept(), kept);
        CalcLogPrintf("first %d", 1);
        WriteCalcLogText("copied\n");
        {
            auto owner = std::make_shared<std::string>("shared 1\nshared 2\n");
            WriteCalcLogShared(owner, *owner);
        }
        CalcLogPrintf("100%% last %.2f", 2.5);
        StopCalcLogger();
        EXPECT_FALSE(IsCalcLogKept());
        WaitForCalcLogs();
        EXPECT_EQ(ReadFileText(path), "first 1\ncopied\nshared 1\nshared 2\n100  last 2.50\n");

        ASSERT_TRUE(StartCalcLogger(path));
        CalcLogPrintf("again");
        StopCalcLogger();
        ASSERT_TRUE(StartCalcLogger(path));
        CalcLogPrintf("third");
        StopCalcLogger();
        WaitForCalcLogs();
        EXPECT_EQ(ReadFileText(path), "third\n");
    }
    EXPECT_FALSE(log.Contains("could not write"));
}
