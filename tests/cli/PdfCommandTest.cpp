// The batch commands "pdf" and "csv" run as a user runs them: their exit codes, and their numbers
// (the PDF read back with pdftotext) against the results export of the same project.

#include "base/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace {

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

struct ProgramRun {
    int code = -1;
    std::string out;
};

// The program with these arguments in dir, without a display; standard output and error are kept.
ProgramRun Orvantis(const TempDir& dir, const std::string& args) {
    const fs::path out = dir / "stdout.txt";
    const std::string cmd = "cd " + Quote(dir.path().string()) + " && env -u DISPLAY -u WAYLAND_DISPLAY " +
                            "QT_QPA_PLATFORM= " + Quote(ORVANTIS_EXE) + " " + args + " >" +
                            Quote(out.string()) + " 2>&1 </dev/null";
    ProgramRun run;
    const int status = std::system(cmd.c_str());
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFileText(out);
    return run;
}

// The sample building with every print flag set.
fs::path CopySample(const TempDir& dir) {
    fs::copy(fs::path(ORVANTIS_SOURCE_DIR) / "examples" / "sample", dir / "sample",
             fs::copy_options::recursive);
    const fs::path project = dir / "sample" / "SAMPLE.LENI1XML";
    std::string text = ReadFileText(project);
    for (size_t at; (at = text.find("<PrintMe>false</PrintMe>")) != std::string::npos;)
        text.replace(at, 24, "<PrintMe>true</PrintMe>");
    WriteFileText(project, text);
    return project;
}

std::string Text(const TiXmlElement* parent, const std::string& dottedPath) {
    const TiXmlElement* e = parent;
    std::stringstream parts(dottedPath);
    std::string part;
    while (e && std::getline(parts, part, '.'))
        e = e->FirstChildElement(part.c_str());
    return e && e->GetText() ? e->GetText() : "";
}

std::string Printed(const TiXmlElement* parent, const std::string& dottedPath) {
    return FormatDouble("%.2f", ParseDouble(Text(parent, dottedPath)));
}

// The words of every line of the text, blanks collapsed, so the layout's spacing does not matter.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::stringstream words(line);
        std::string word, joined;
        while (words >> word)
            joined += (joined.empty() ? "" : " ") + word;
        if (!joined.empty()) lines.push_back(joined);
    }
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& wanted) {
    for (const std::string& line : lines)
        if (line == wanted) return true;
    return false;
}

} // namespace

TEST(PdfCommandTest, ExitCodes) {
    TempDir dir{"pdf codes"};
    const fs::path project = CopySample(dir);
    WriteFileText(dir / "broken.LENI1XML", "this is not XML <<<");
    struct Case {
        const char* what;
        std::string args;
        int code;
        const char* pdf; // must not exist afterwards, or empty
    };
    const std::vector<Case> cases = {
        {"too few arguments", "pdf " + Quote(project.string()) + " out.pdf", 2, "out.pdf"},
        {"too many arguments", "pdf " + Quote(project.string()) + " out.pdf log.txt more", 2, "out.pdf"},
        {"missing project", "pdf missing.LENI1XML out.pdf log.txt", 8, "out.pdf"},
        {"unreadable project", "pdf broken.LENI1XML out.pdf log.txt", 3, "out.pdf"},
        {"folder of the PDF missing", "pdf " + Quote(project.string()) + " no/such/out.pdf log.txt", 4, ""},
        {"command word in capitals", "PDF " + Quote(project.string()) + " upper.pdf log6.txt", 0, ""},
    };
    for (const Case& c : cases) {
        const ProgramRun run = Orvantis(dir, c.args);
#ifdef ORVANTIS_EXE_HAS_GUI
        EXPECT_EQ(run.code, c.code) << c.what << "\n" << run.out;
        if (*c.pdf) {
            EXPECT_FALSE(fs::exists(dir / c.pdf)) << c.what;
        }
#else
        // Without the desktop part the command cannot paint: it says so and fails.
        if (c.code == 0 || c.code == 4) {
            EXPECT_EQ(run.code, 4) << c.what;
            EXPECT_NE(run.out.find("built without Qt 6"), std::string::npos) << run.out;
        }
#endif
    }
#ifdef ORVANTIS_EXE_HAS_GUI
    EXPECT_TRUE(fs::exists(dir / "upper.pdf"));
    EXPECT_NE(ReadFileText(dir / "log.txt").find("pdf: the PDF file could not be written:"),
              std::string::npos);
#endif
}

#ifdef ORVANTIS_EXE_HAS_GUI
TEST(PdfCommandTest, NumbersEqualTheResultsExport) {
    ASSERT_EQ(std::system("pdftotext -v >/dev/null 2>&1"), 0)
        << "pdftotext (poppler-utils) is needed: make deps";
    TempDir dir{"pdf numbers"};
    const fs::path project = CopySample(dir);
    const ProgramRun report = Orvantis(dir, "report " + Quote(project.string()) + " R.XML report.log");
    ASSERT_EQ(report.code, 0) << report.out;
    const ProgramRun pdf = Orvantis(dir, "pdf " + Quote(project.string()) + " report.pdf pdf.log");
    ASSERT_EQ(pdf.code, 0) << pdf.out << ReadFileText(dir / "pdf.log");
    EXPECT_EQ(pdf.out, "Report written to report.pdf\n");
    ASSERT_EQ(
        std::system(
            ("cd " + Quote(dir.path().string()) + " && pdftotext -layout report.pdf report.txt").c_str()),
        0);
    const std::vector<std::string> lines = Lines(ReadFileText(dir / "report.txt"));

    TiXmlDocument results, copy;
    ASSERT_TRUE(results.LoadFile((dir / "R.XML").string().c_str()));
    ASSERT_TRUE(copy.LoadFile((dir / "R_(CON_RISULTATI).XML").string().c_str()));
    const TiXmlElement* r = results.RootElement();
    const std::string wl = Printed(r, "EnergyForLightingWl"),
                      wp = Printed(r, "EnergyForStandbyAndChargingWp");
    const double w =
        ParseDouble(Text(r, "EnergyForLightingWl")) + ParseDouble(Text(r, "EnergyForStandbyAndChargingWp"));
    const std::string total = FormatDouble("%.2f", w);

    std::vector<std::string> expected = {
        "PROJECT: SAMPLE",
        "Year to be built: 2026",
        "Location: Milano",
        "Number of floors: " + Text(r, "NumberOfFloors"),
        "Annual Building Energy: " + total + " kWh (Wl " + wl + " kWh + Wp " + wp + " kWh)",
        "Annual Building LENI: " + Printed(r, "AnnualLENI") + " kWh/(m\u00b2 year)",
        // The results table's building row and the year's row under the chart.
        "SAMPLE 568.00 3322.00 " + wl + " " + wp + " " + Printed(r, "AnnualLENI"),
        "Annual " + wl + " " + wp + " " + total + " " + Printed(r, "AnnualLENI"),
    };
    const char* const months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
    for (int m = 1; m <= 12; ++m) {
        const std::string at = "MonthlyCalculation.M" + std::to_string(m) + ".";
        const double mw = ParseDouble(Text(r, at + "Wl")) + ParseDouble(Text(r, at + "Wp"));
        expected.push_back(std::string(months[m - 1]) + " " + Printed(r, at + "Wl") + " " +
                           Printed(r, at + "Wp") + " " + FormatDouble("%.2f", mw) + " " +
                           Printed(r, at + "SpecificEnergy"));
    }
    // Every floor of the project copy with results: its floor page and its table row (one instance).
    for (const TiXmlElement* f =
             copy.RootElement()->FirstChildElement("FloorList")->FirstChildElement("Floor");
         f; f = f->NextSiblingElement("Floor")) {
        const TiXmlElement* fr = f->FirstChildElement("Results");
        ASSERT_TRUE(fr);
        const std::string name = f->Attribute("floorname") ? f->Attribute("floorname") : "";
        const std::string fwl = Printed(fr, "Annual.Wl"), fwp = Printed(fr, "Annual.Wp");
        const std::string fw =
            FormatDouble("%.2f", ParseDouble(Text(fr, "Annual.Wl")) + ParseDouble(Text(fr, "Annual.Wp")));
        expected.push_back("Annual Floor Energy: " + fw + " kWh (Wl " + fwl + " kWh + Wp " + fwp + " kWh)");
        expected.push_back("Floor Area: " + Printed(fr, "Area") + " m\u00b2");
        std::string row = name;
        if (std::string(f->Attribute("count") ? f->Attribute("count") : "1") != "1")
            row += std::string(" (one of ") + f->Attribute("count") + ")";
        expected.push_back(row + " " + Printed(fr, "Area") + " " + Printed(fr, "InstalledPower") + " " + fwl +
                           " " + fwp + " " + Printed(fr, "Annual.LENIResult"));
        // Its block of the floors' monthly energies: the months, then the year.
        expected.push_back(name + " (" + Printed(fr, "Area") + " m\u00b2)");
        for (int m = 0; m < 12; ++m) {
            const std::string at = "M" + std::to_string(m + 1) + ".";
            const double mw = ParseDouble(Text(fr, at + "Wl")) + ParseDouble(Text(fr, at + "Wp"));
            expected.push_back(std::string(months[m]) + " " + Printed(fr, at + "Wl") + " " +
                               Printed(fr, at + "Wp") + " " + FormatDouble("%.2f", mw) + " " +
                               Printed(fr, at + "LENIResult"));
        }
        expected.push_back("Annual " + fwl + " " + fwp + " " + fw + " " + Printed(fr, "Annual.LENIResult"));
    }
    // The room schedule: a row per room of each floor with the numbers of the copy's room results,
    // and for a room of one zone its factors give back its energy:
    // Wl = Pn x Fc x Fo x (td x Fd + tn) / 1000, within what the factors' two digits leave open.
    int scheduleRows = 0;
    for (const TiXmlElement* f =
             copy.RootElement()->FirstChildElement("FloorList")->FirstChildElement("Floor");
         f; f = f->NextSiblingElement("Floor"))
        for (const TiXmlElement* room = f->FirstChildElement("RoomList")->FirstChildElement("Room"); room;
             room = room->NextSiblingElement("Room")) {
            const TiXmlElement* rr = room->FirstChildElement("Results");
            ASSERT_TRUE(rr);
            const double area = ParseDouble(Text(rr, "Area")), power = ParseDouble(Text(rr, "InstalledPower"));
            const std::string td = room->Attribute("td"), tn = room->Attribute("tn");
            const std::string middle = " " + Printed(rr, "Area") + " " + Printed(rr, "InstalledPower") + " " +
                                       FormatDouble("%.2f", power / area) + " " + td + " " + tn + " ";
            const std::string end = " " + Printed(rr, "Annual.Wl") + " " + Printed(rr, "Annual.Wp") + " " +
                                    Printed(rr, "Annual.LENIResult");
            std::string found;
            for (const std::string& line : lines)
                if (line.rfind(std::string(room->Attribute("roomname")) + " ", 0) == 0 &&
                    line.find(middle) != std::string::npos && line.size() > end.size() &&
                    line.compare(line.size() - end.size(), end.size(), end) == 0)
                    found = line;
            ASSERT_FALSE(found.empty()) << "no schedule row: " << middle << "..." << end;
            ++scheduleRows;
            std::stringstream factors(found.substr(found.find(middle) + middle.size()));
            double fo = 0, fc = 0, fd = 0;
            factors >> fo >> fc >> fd;
            EXPECT_EQ(fc, 1.0) << found; // no zone of the sample holds its illuminance constant
            const TiXmlElement* zones = room->FirstChildElement("ZoneList");
            if (zones->FirstChildElement("Zone")->NextSiblingElement("Zone")) continue;
            const double wl = power * fc * fo * (std::stod(td) * fd + std::stod(tn)) / 1000.0;
            const double slack = power * (std::stod(td) + std::stod(tn)) / 1000.0 * 0.01;
            EXPECT_NEAR(wl, ParseDouble(Text(rr, "Annual.Wl")), slack) << found;
        }
    EXPECT_EQ(scheduleRows, 7);
    // The luminaire schedule's luminaires together have the building's installed power.
    const std::string installed = Printed(copy.RootElement(), "Results.InstalledPower");
    bool allLuminaires = false;
    for (const std::string& line : lines)
        if (line.rfind("All luminaires ", 0) == 0)
            allLuminaires = line.size() > installed.size() &&
                            line.compare(line.size() - installed.size(), installed.size(), installed) == 0;
    EXPECT_TRUE(allLuminaires) << installed << "\n" << ReadFileText(dir / "report.txt");
    // Every page's footer counts the pages.
    std::string count;
    for (const std::string& line : lines)
        if (line.rfind("SAMPLE ", 0) == 0 && line.find(" Page 1 of ") != std::string::npos)
            count = line.substr(line.find(" Page 1 of ") + 11);
    ASSERT_FALSE(count.empty()) << ReadFileText(dir / "report.txt");
    for (int n = 1; n <= std::stoi(count); ++n)
        EXPECT_NE(ReadFileText(dir / "report.txt").find("Page " + std::to_string(n) + " of " + count),
                  std::string::npos)
            << n;
    for (const std::string& line : expected)
        EXPECT_TRUE(HasLine(lines, line)) << "missing: " << line << "\n" << ReadFileText(dir / "report.txt");
}
#endif

namespace {

// The records of an RFC 4180 text: fields split at commas outside quotes, "" read as a quote,
// records ended by CR LF.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        std::string& field = records.back().back();
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            records.emplace_back(1);
        } else {
            field += c;
        }
    }
    if (records.back().size() == 1 && records.back()[0].empty()) records.pop_back();
    return records;
}

} // namespace

TEST(CsvCommandTest, NumbersEqualTheResultsExport) {
    TempDir dir{"csv numbers"};
    const fs::path project = CopySample(dir);
    // A room name that needs quoting: a comma and quotes.
    std::string text = ReadFileText(project);
    text.replace(text.find("roomname=\"Office_A\""), 19, "roomname=\"Office &quot;A&quot;, west\"");
    WriteFileText(project, text);
    WriteFileText(dir / "broken.LENI1XML", "this is not XML <<<");
    const struct {
        std::string args;
        int code;
    } codes[] = {
        {"csv " + Quote(project.string()) + " out.csv", 2},
        {"csv missing.LENI1XML out.csv log.txt", 8},
        {"csv broken.LENI1XML out.csv log.txt", 3},
        {"csv " + Quote(project.string()) + " no/such/out.csv log.txt", 4},
    };
    for (const auto& c : codes) {
        EXPECT_EQ(Orvantis(dir, c.args).code, c.code) << c.args;
        EXPECT_FALSE(fs::exists(dir / "out.csv")) << c.args;
    }
    const ProgramRun report = Orvantis(dir, "report " + Quote(project.string()) + " R.XML report.log");
    ASSERT_EQ(report.code, 0) << report.out;
    const ProgramRun csv = Orvantis(dir, "CSV " + Quote(project.string()) + " out.csv csv.log");
    ASSERT_EQ(csv.code, 0) << csv.out << ReadFileText(dir / "csv.log");
    EXPECT_EQ(csv.out, "Results written to out.csv\n");
    const std::string raw = ReadFileText(dir / "out.csv");
    EXPECT_NE(raw.find(",\"Office \"\"A\"\", west\","), std::string::npos) << raw.substr(0, 2000);
    const std::vector<std::vector<std::string>> records = ParseCsv(raw);
    ASSERT_GT(records.size(), 1u);
    const std::vector<std::string>& head = records[0];
    for (const auto& record : records)
        ASSERT_EQ(record.size(), head.size()) << record[0];
    auto field = [&](const std::vector<std::string>& record, const std::string& name) {
        const auto at = std::find(head.begin(), head.end(), name);
        return at == head.end() ? std::string("no column " + name) : record[size_t(at - head.begin())];
    };

    TiXmlDocument results, copy;
    ASSERT_TRUE(results.LoadFile((dir / "R.XML").string().c_str()));
    ASSERT_TRUE(copy.LoadFile((dir / "R_(CON_RISULTATI).XML").string().c_str()));
    const TiXmlElement* r = results.RootElement();
    const std::vector<std::string>& building = records[1];
    EXPECT_EQ(field(building, "Level"), "Building");
    EXPECT_EQ(field(building, "Building"), "SAMPLE");
    const std::pair<const char*, const char*> buildingFigures[] = {
        {"Location", "Location"},
        {"Dominant building type", "DominantBuildingType"},
        {"Latitude", "Latitude"},
        {"Longitude", "Longitude"},
        {"Year to be built", "YearToBeBuilt"},
        {"Year built", "YearBuilt"},
        {"Total building height (m)", "TotalBuildingHeight"},
        {"Total windows area (m\u00b2)", "TotalWindowsArea"},
        {"Number of floors", "NumberOfFloors"},
        {"Fo", "AverageFo"},
        {"Installed standby power Ppc (W)", "InstalledStandbyPowerPpc"},
        {"Installed charging power Pem (W)", "InstalledChargingPowerPem"},
        {"Annual LENI (kWh/(m\u00b2 year))", "AnnualLENI"},
        {"Annual Wl (kWh)", "EnergyForLightingWl"},
        {"Annual Wp (kWh)", "EnergyForStandbyAndChargingWp"},
    };
    for (const auto& figure : buildingFigures)
        EXPECT_EQ(field(building, figure.first), Text(r, figure.second)) << figure.first;
    const char* const months[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
    // A floor's or room's results in the project copy against its row: the year and each month.
    auto sameResults = [&](const std::vector<std::string>& record, const TiXmlElement* res, const std::string& what) {
        EXPECT_EQ(field(record, "Area (m\u00b2)"), Text(res, "Area")) << what;
        EXPECT_EQ(field(record, "Installed lighting power Pn (W)"), Text(res, "InstalledPower")) << what;
        EXPECT_EQ(field(record, "Annual Wl (kWh)"), Text(res, "Annual.Wl")) << what;
        EXPECT_EQ(field(record, "Annual Wp (kWh)"), Text(res, "Annual.Wp")) << what;
        EXPECT_EQ(field(record, "Annual LENI (kWh/(m\u00b2 year))"), Text(res, "Annual.LENIResult")) << what;
        for (int m = 1; m <= 12; ++m) {
            const std::string at = "M" + std::to_string(m) + ".";
            EXPECT_EQ(field(record, std::string(months[m - 1]) + " Wl (kWh)"), Text(res, at + "Wl")) << what;
            EXPECT_EQ(field(record, std::string(months[m - 1]) + " Wp (kWh)"), Text(res, at + "Wp")) << what;
            EXPECT_EQ(field(record, std::string(months[m - 1]) + " LENI (kWh/m\u00b2)"),
                      Text(res, at + "LENIResult"))
                << what;
        }
    };
    for (int m = 1; m <= 12; ++m) {
        const std::string at = "MonthlyCalculation.M" + std::to_string(m) + ".";
        EXPECT_EQ(field(building, std::string(months[m - 1]) + " Wl (kWh)"), Text(r, at + "Wl"));
        EXPECT_EQ(field(building, std::string(months[m - 1]) + " LENI (kWh/m\u00b2)"), Text(r, at + "SpecificEnergy"));
    }
    // Then each floor, each of its rooms and each room's zones, in the project's order.
    size_t next = 2;
    for (const TiXmlElement* f = copy.RootElement()->FirstChildElement("FloorList")->FirstChildElement("Floor"); f;
         f = f->NextSiblingElement("Floor")) {
        ASSERT_LT(next, records.size());
        EXPECT_EQ(field(records[next], "Level"), "Floor");
        EXPECT_EQ(field(records[next], "Floor"), f->Attribute("floorname"));
        EXPECT_EQ(field(records[next], "Floor instances"), f->Attribute("count"));
        sameResults(records[next++], f->FirstChildElement("Results"), f->Attribute("floorname"));
        for (const TiXmlElement* room = f->FirstChildElement("RoomList")->FirstChildElement("Room"); room;
             room = room->NextSiblingElement("Room")) {
            ASSERT_LT(next, records.size());
            const std::vector<std::string>& record = records[next++];
            EXPECT_EQ(field(record, "Level"), "Room");
            EXPECT_EQ(field(record, "Room"), room->Attribute("roomname"));
            EXPECT_EQ(field(record, "Room type"), room->Attribute("type"));
            EXPECT_EQ(field(record, "Daylight hours td (h)"), room->Attribute("td"));
            sameResults(record, room->FirstChildElement("Results"), room->Attribute("roomname"));
            for (const TiXmlElement* zone = room->FirstChildElement("ZoneList")->FirstChildElement("Zone"); zone;
                 zone = zone->NextSiblingElement("Zone")) {
                ASSERT_LT(next, records.size());
                EXPECT_EQ(field(records[next], "Level"), "Zone");
                EXPECT_EQ(field(records[next++], "Zone"), zone->Attribute("zonename"));
            }
        }
    }
    EXPECT_EQ(next, records.size());
}

// Floor pictures come from drawings at any path the platform allows; a drawing that would lie
// beyond it stops the run with a message rather than giving a PDF without its picture and 0.
TEST(PdfCommandTest, FloorPicturesAtPathsUpToThePlatformsLongest) {
#if !defined(ORVANTIS_EXE_HAS_GUI) || defined(_WIN32)
    GTEST_SKIP() << "pdf needs the desktop part, and long paths a system that has them";
#endif
    TempDir dir{"pdf long"};
    CopySample(dir);
    fs::path deep = dir.path();
    while (deep.string().size() < 3800)
        deep /= std::string(200, 'd');
    fs::create_directories(deep);
    fs::rename(dir / "sample", deep / "sample");
    const fs::path project = deep / "sample" / "SAMPLE.LENI1XML";
    ASSERT_GT((deep / "sample" / "Typical.DXF").string().size(), 3800u);

    ProgramRun run = Orvantis(dir, "pdf " + Quote(project.string()) + " deep.pdf log.txt");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(fs::exists(dir / "deep.pdf"));
    std::string log = ReadFileText(dir / "log.txt");
    EXPECT_EQ(log.find("could not be read"), std::string::npos) << log;
    EXPECT_EQ(log.find("too long"), std::string::npos) << log;

    // The floor "Top" renamed so that its drawing's path passes 4095 bytes.
    const std::string longName(250, 'T');
    std::string text = ReadFileText(project);
    const size_t at = text.find("floorname=\"Top\"");
    ASSERT_NE(at, std::string::npos);
    WriteFileText(project, text.replace(at, 15, "floorname=\"" + longName + "\""));
    run = Orvantis(dir, "pdf " + Quote(project.string()) + " beyond.pdf log2.txt");
    EXPECT_EQ(run.code, 3) << run.out;
    EXPECT_FALSE(fs::exists(dir / "beyond.pdf"));
    log = ReadFileText(dir / "log2.txt");
    EXPECT_NE(log.find("the drawing of floor <" + longName + "> would be at a path of"), std::string::npos) << log;
    EXPECT_NE(log.find("more than the 4095 this system allows; no PDF written"), std::string::npos) << log;
}
