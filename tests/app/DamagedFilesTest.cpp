// Every reader of outside files on the damaged corpus in tests/data/damaged: each file gives the
// reader's message, a bounded run and a state the program can go on with. The cases are listed in
// each folder's EXPECTED.tsv (written by make_damaged.py), so adding one needs no change here.

#include "base/TextUtils.h"
#include "calc/EnergyCalc.h"
#include "dxf/DxfFile.h"
#include "model/LENIProject.h"
#include "products/LumSysDataBase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace {

struct Case {
    std::string file;
    std::vector<std::string> columns; // after the file name
};

fs::path DamagedDir(const std::string& reader) {
    return TestDataDir() / "damaged" / reader;
}

std::vector<Case> ReadCases(const std::string& reader) {
    std::vector<Case> cases;
    for (const std::string& line : ReadLines(DamagedDir(reader) / "EXPECTED.tsv")) {
        if (line.empty() || line[0] == '#') continue;
        Case c;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            c.columns.push_back(line.substr(start, tab - start));
        c.columns.push_back(line.substr(start));
        c.file = c.columns.front();
        c.columns.erase(c.columns.begin());
        cases.push_back(c);
    }
    return cases;
}

// Seconds since construction.
class Stopwatch {
  public:
    double Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }

  private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// A damaged file is read in a few seconds at most, also under the sanitizers.
constexpr double kBoundSeconds = 10.0 * kTimeBoundScale;

bool IsFinite(const LeniTimeStepResult& r) {
    return std::isfinite(r.Wl) && std::isfinite(r.Wp) && std::isfinite(r.area) && std::isfinite(r.GetLENI());
}

} // namespace

TEST(DamagedFilesTest, ProjectFilesGiveTheirMessageAndACalculableProject) {
    const std::vector<Case> cases = ReadCases("project");
    ASSERT_GT(cases.size(), 40u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // The calculation writes its log beside the project: work on a copy.
        TempDir dir("damaged");
        const fs::path path = dir / c.file;
        fs::copy_file(DamagedDir("project") / c.file, path);
        const bool readable = c.columns.at(0) == "0";
        const std::string& message = c.columns.at(1);

        LogRecorder log;
        Stopwatch watch;
        CLENIProject project;
        EXPECT_EQ(project.ReadProject(path.string()), readable) << log.All();
        if (!message.empty()) {
            EXPECT_TRUE(log.Contains(message)) << log.All();
        }
        // Whatever was read can be calculated and saved, and the saved file reads again. A file
        // that did not parse leaves no folder, and the log would go to the working folder.
        if (project.GetProjectFolder().empty()) project.SetProjectFolder(dir.path().string());
        const LeniTimeStepResult annual = CalculateAnnualLENI(project, 0);
        EXPECT_TRUE(IsFinite(annual)) << annual.Wl << " " << annual.Wp << " " << annual.area;
        EXPECT_LT(watch.Seconds(), kBoundSeconds);
        if (!readable) continue;
        const fs::path saved = dir / "saved.LENI1XML";
        ASSERT_TRUE(project.Save(saved.string(), false));
        CLENIProject again;
        EXPECT_TRUE(again.ReadProject(saved.string())) << ReadFileText(saved);
        EXPECT_EQ(again.GetFloorCount(), project.GetFloorCount());
    }
}

TEST(DamagedFilesTest, LuminaireDatabaseFilesGiveTheirMessageAndUsableProducts) {
    const std::vector<Case> cases = ReadCases("lumdb");
    ASSERT_GT(cases.size(), 10u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const int expectedCount = std::atoi(c.columns.at(0).c_str());
        const std::string& message = c.columns.at(1);
        LogRecorder log;
        Stopwatch watch;
        CLumSysDataBase db;
        EXPECT_EQ(db.ReadFromFile((DamagedDir("lumdb") / c.file).string()), expectedCount >= 0) << log.All();
        EXPECT_EQ(db.GetCount(), std::max(expectedCount, 0));
        if (!message.empty()) {
            EXPECT_TRUE(log.Contains(message)) << log.All();
        }
        for (const CLumTypeData& product : db.GetProducts()) {
            EXPECT_FALSE(product.GetRefId().empty());
            for (double watts : {product.GetMaxPow(), product.GetStandbyPow(), product.GetChargePow()})
                EXPECT_TRUE(std::isfinite(watts) && watts >= 0) << product.GetRefId() << " " << watts;
        }
        EXPECT_LT(watch.Seconds(), kBoundSeconds);
    }
}

TEST(DamagedFilesTest, DxfFilesGiveTheirMessageAndAUsableDrawing) {
    const std::vector<Case> cases = ReadCases("dxf");
    ASSERT_GT(cases.size(), 10u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string& message = c.columns.at(1);
        LogRecorder log;
        RecordingMessageBoxes boxes;
        Stopwatch watch;
        CDxfFile drawing;
        EXPECT_EQ(drawing.ReadFile((DamagedDir("dxf") / c.file).string()), c.columns.at(0) == "ok")
            << log.All();
        // Some of the reader's messages are boxes of their own rather than log lines.
        if (!message.empty()) {
            EXPECT_TRUE(log.Contains(message) || boxes.Contains(message)) << log.All();
        }
        // The drawing can be measured and written: what the floor tabs and the size check do.
        Point min, max;
        drawing.GetExtents(min, max, Point(0.05, 0.05, 0.05));
        for (double v : {min.x, min.y, min.z, max.x, max.y, max.z})
            EXPECT_TRUE(std::isfinite(v)) << v;
        const Point size = drawing.GetSize();
        EXPECT_TRUE(std::isfinite(size.x) && std::isfinite(size.y));
        drawing.WriteToString();
        EXPECT_LT(watch.Seconds(), kBoundSeconds);
    }
}

TEST(DamagedFilesTest, PhotometricFilesGiveTheirMessageAndAUsableProduct) {
    const std::vector<Case> cases = ReadCases("photometric");
    ASSERT_GT(cases.size(), 10u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string& result = c.columns.at(0);
        const double watts = ParseDouble(c.columns.at(1));
        const std::string& message = c.columns.at(2);
        LogRecorder log;
        Stopwatch watch;
        CLumTypeData product;
        const bool ok = product.ImportFromPhotometricFile((DamagedDir("photometric") / c.file).string());
        if (result != "any") {
            EXPECT_EQ(ok, result == "ok") << log.All();
        }
        if (!message.empty()) {
            EXPECT_TRUE(log.Contains(message)) << log.All();
        }
        if (ok && result == "ok") {
            EXPECT_EQ(product.GetMaxPow(), watts);
        }
        EXPECT_TRUE(std::isfinite(product.GetMaxPow()) && product.GetMaxPow() >= 0) << product.GetMaxPow();
        EXPECT_LT(watch.Seconds(), kBoundSeconds);
    }
}
