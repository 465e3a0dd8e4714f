// Writing the project file: formats, round trip, results, safe saving.

#include "ModelTestSupport.h"
#include "base/ProjectFileXml.h"
#include "model/LENIProject.h"
#include "model/ProjectFileResults.h"
#include "model/ProjectFileTestModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

bool XmllintAccepts(const fs::path& file, std::string& output) {
    const fs::path out = file.string() + ".lint";
    const int rc =
        std::system(("xmllint --noout '" + file.string() + "' > '" + out.string() + "' 2>&1").c_str());
    output = ReadFileText(out);
    fs::remove(out);
    return rc == 0;
}

bool HaveXmllint() {
    return std::system("command -v xmllint > /dev/null 2>&1") == 0;
}

// Leaves the provider as it was found, whatever the test installs.
struct ProviderGuard {
    ~ProviderGuard() { SetProjectResultsProvider(nullptr); }
};

} // namespace

TEST(ProjectFileWrite, ReducesNameDescriptionAndLocationToPrintableAscii) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Scuola \xC3\xA8 bella", "Scuola e bella"},
        {"Citt\xC3\xA0", "Citta"},
        {"\xC3\x9C"
         "bung",
         "_bung"},
        {"caf\xC3\xA9 t\xC3\xB2", "cafe to"},
        {"tab\there~", "tab_here~"},
        {"\xE2\x82\xAC 5", "_ 5"}, // euro sign: one character, one '_'
        {"bad \xFF byte", "bad _ byte"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReduceToPrintableAscii(c.in), c.out) << c.in;
}

TEST(ProjectFileWrite, FullProjectMatchesTheReferenceFile) {
    QuietLog log;
    TempDir dir;
    const CLENIProject project = BuildFullProject();
    const fs::path path = dir / "full.LENI1XML";
    ASSERT_TRUE(project.Save(path.string(), false));
    const std::string expected = ReadFileText(TestDataDir() / "model/projfile/full_project.LENI1XML");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ReadFileText(path), expected);
    EXPECT_EQ(log.Count("Saving 2 floors of the project Scuola \xC3\xA8 bella\n", LOG_INFO), 1);
    EXPECT_EQ(log.Count("", LOG_ERROR), 0) << log.All();
}

// The writer puts every stored field into the file and the reference file pins their formats,
// so a second file identical to the first proves that reading gave every field back.
TEST(ProjectFileWrite, RoundTripIsByteIdenticalAndKeepsTheModel) {
    TempDir dir;
    const fs::path first = dir / "first.LENI1XML";
    const fs::path second = dir / "second.LENI1XML";
    ASSERT_TRUE(BuildFullProject().Save(first.string(), false));

    CLENIProject read;
    {
        QuietLog log;
        ASSERT_TRUE(read.ReadProject(first.string())) << log.All();
        EXPECT_EQ(log.Count("", LOG_ERROR), 0) << log.All();
    }
    ASSERT_TRUE(read.Save(second.string(), false));
    EXPECT_EQ(ReadFileText(first), ReadFileText(second));

    // The documented reductions, and what the file does not hold but reading restores.
    EXPECT_EQ(read.GetName(), "Scuola e bella");
    EXPECT_EQ(read.GetDescription(), "_bung");
    EXPECT_EQ(read.GetLocation(), "Citta");
    EXPECT_EQ(read.GetProjectFolder(), dir.path().string());
    EXPECT_FALSE(read.GetProducts().IsChanged());
    const CLENIRoom* room = read.FindRoom("Piano terra", "Aula \xC3\xA8 1");
    ASSERT_NE(room, nullptr);
    EXPECT_DOUBLE_EQ(room->FindZone("Z1")->GetRealIlluminance(), 437);
    EXPECT_EQ(room->GetFloorName(), "Piano terra");
    EXPECT_DOUBLE_EQ(room->GetHeight(), 3.2);
    EXPECT_EQ(read.GetFloors()[0].GetAtria()[0].m_csName, "Corte  interna");
}

TEST(ProjectFileWrite, FileIsPlainAsciiThatAnotherParserAccepts) {
    TempDir dir;
    const fs::path path = dir / "p.LENI1XML";
    CLENIProject project = BuildFullProject();
    // Characters that a naive writer gets wrong: markup, references typed by the user, control
    // characters, Windows-1252 letters outside Latin-1.
    CLENIFloor floor("F <&> \"q\" 'a' &#x41; \xE2\x82\xAC\x01", 3);
    CLENIAtrium atrium;
    atrium.m_csName = "A&#x";
    atrium.SetPolygon({Point(0, 0), Point(1, 0), Point(1, 1)});
    floor.AddAtrium(atrium);
    project.AppendFloor(floor);
    ASSERT_TRUE(project.Save(path.string(), false));

    const std::string text = ReadFileText(path);
    for (unsigned char c : text)
        ASSERT_TRUE(c < 0x80) << "byte " << static_cast<int>(c);
    EXPECT_NE(text.find("roomname=\"Aula &#xE8; 1\""), std::string::npos);
    // The euro sign as the character every XML reader knows, not as its Windows-1252 byte.
    EXPECT_NE(text.find("&#x20AC;"), std::string::npos);
    EXPECT_EQ(text.find("&#x80;"), std::string::npos);

    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(path.string()));
    ASSERT_EQ(read.GetFloorCount(), 3);
    // The control character cannot be carried by XML and becomes '?'; everything else is kept.
    EXPECT_EQ(read.GetFloors()[2].GetName(), "F <&> \"q\" 'a' &#x41; \xE2\x82\xAC?");
    EXPECT_EQ(read.GetFloors()[2].GetAtria()[0].m_csName, "A&#x");
    EXPECT_EQ(read.GetProducts().GetProducts()[1].GetDesc(), "Emergenza \xC3\xA8");

    if (!HaveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    std::string lint;
    EXPECT_TRUE(XmllintAccepts(path, lint)) << lint;
}

TEST(ProjectFileWrite, RoomsWithoutNameOrTypeAndUnnamedAtriaAreSkipped) {
    QuietLog log;
    TempDir dir;
    CLENIProject project = BuildFullProject();
    // A floor may have lost its name; it is written and read back as it is.
    CLENIFloor floor("", 3);
    CLENIRoom untyped;
    untyped.InitFromPolygon("NoType", {Point(0, 0), Point(1, 0), Point(1, 1)}, 3);
    floor.AddRoom(untyped);
    CLENIAtrium unnamed;
    unnamed.SetPolygon({Point(0, 0), Point(1, 0), Point(1, 1)});
    floor.AddAtrium(unnamed);
    project.AppendFloor(floor);
    const fs::path path = dir / "p.LENI1XML";
    ASSERT_TRUE(project.Save(path.string(), false));
    EXPECT_EQ(log.Count("CLENIRoom::WTX called with empty name <NoType> or type <>", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("CLENIRoom::WATX called with empty atrio name <>", LOG_ERROR), 1);
    const std::string text = ReadFileText(path);
    EXPECT_EQ(text.find("NoType"), std::string::npos);
    EXPECT_NE(text.find("<Floor floorname=\"\" hi=\"3.00\" count=\"1\">"), std::string::npos);
    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(path.string())) << log.All();
    ASSERT_EQ(read.GetFloorCount(), 3);
    EXPECT_EQ(read.GetFloors()[2].GetName(), "");
}

TEST(ProjectFileWrite, AttributeHelpersReportMissingElement) {
    QuietLog log;
    SetDoubleAttribute(nullptr, "x", "%.4f", 1.5);
    SetBoolAttribute(nullptr, "active", true);
    EXPECT_EQ(log.Count("SetDoubleAttribute 1.5000 with null pointer(s).", LOG_ERROR), 1);
    EXPECT_EQ(log.Count("SetBoolAttribute with null input.", LOG_ERROR), 1);
}

TEST(ProjectFileWrite, WithResultsWritesProjectFloorAndRoomResults) {
    ProviderGuard guard;
    QuietLog log;
    TempDir dir;
    const CLENIProject project = BuildFullProject();
    SetProjectResultsProvider([](const CLENIProject& p, LENIProjectResults& r) {
        // 100 m2 of building using 1500 kWh of light and 30.66 kWh of standby in the year,
        // January 120 + 2.555 kWh; floors and rooms with no area.
        r.building.area = 100;
        r.building.installedPower = 850.5;
        r.building.steps[0].Wl = 1500;
        r.building.steps[0].Wp = 30.66;
        r.building.steps[1].Wl = 120;
        r.building.steps[1].Wp = 2.555;
        r.floors.resize(p.GetFloorCount());
        r.floors[0].area = 64;
        r.floors[0].steps[12].Wl = 6.4;
        r.rooms.resize(p.GetFloorCount());
        r.rooms[0].resize(1); // fewer rooms than the floor holds: the others get zeros
        r.rooms[0][0].area = 48;
        r.rooms[0][0].steps[0].Wl = 960;
        return true;
    });
    const fs::path path = dir / "r.LENI1XML";
    ASSERT_TRUE(project.Save(path.string(), true));
    const std::string text = ReadFileText(path);

    const std::string building = "    <Results>\n"
                                 "        <Area>100.0000000</Area>\n"
                                 "        <InstalledPower>850.5000000</InstalledPower>\n"
                                 "        <Annual>\n"
                                 "            <Wl>1500.0000000</Wl>\n"
                                 "            <Wp>30.6600000</Wp>\n"
                                 "            <LENIResult>15.3066000</LENIResult>\n"
                                 "        </Annual>\n"
                                 "        <M1>\n"
                                 "            <Wl>120.0000000</Wl>\n"
                                 "            <Wp>2.5550000</Wp>\n"
                                 "            <LENIResult>1.2255500</LENIResult>\n"
                                 "        </M1>\n";
    const size_t at = text.find(building);
    ASSERT_NE(at, std::string::npos) << text.substr(0, 1500);
    // Right after the project's print flag, before the products.
    EXPECT_LT(text.find("<PrintMe>true</PrintMe>"), at);
    EXPECT_LT(at, text.find("<Products>"));
    EXPECT_NE(text.find("<M12>\n                    <Wl>6.4000000</Wl>\n                    "
                        "<Wp>0.0000000</Wp>\n                    <LENIResult>0.1000000</LENIResult>"),
              std::string::npos);
    EXPECT_NE(text.find("<Area>48.0000000</Area>"), std::string::npos);
    EXPECT_NE(text.find("<LENIResult>20.0000000</LENIResult>"), std::string::npos);

    // One Results per project, floor and room, none per zone; 13 steps each.
    size_t count = 0;
    for (size_t p = text.find("<Results>"); p != std::string::npos; p = text.find("<Results>", p + 1))
        ++count;
    EXPECT_EQ(count, 1u + 2u + 3u);
    EXPECT_EQ(log.Count("AddYearAndMonthResultsToXml Area = 100.000", LOG_INFO), 1);
    EXPECT_EQ(log.Count("AddYearAndMonthResultsToXml Area =  0.000", LOG_INFO), 3);
    EXPECT_EQ(log.Count("XML of room Aula \xC3\xA8 1", LOG_INFO), 1);
    EXPECT_EQ(log.Count("XML of room ", LOG_INFO), 3);

    // A file with results reads like one without.
    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(path.string()));
    EXPECT_EQ(read.GetFloorCount(), 2);
    EXPECT_EQ(log.Count("", LOG_ERROR), 0) << log.All();
}

TEST(ProjectFileWrite, WithResultsButNoCalculationWritesNoNumbers) {
    ProviderGuard guard;
    TempDir dir;
    const CLENIProject project = BuildFullProject();
    const fs::path plain = dir / "plain.LENI1XML";
    const fs::path without = dir / "without.LENI1XML";
    ASSERT_TRUE(project.Save(plain.string(), false));
    ASSERT_TRUE(project.Save(without.string(), true));
    SetProjectResultsProvider([](const CLENIProject&, LENIProjectResults&) { return false; });
    const fs::path failed = dir / "failed.LENI1XML";
    ASSERT_TRUE(project.Save(failed.string(), true));
    EXPECT_EQ(ReadFileText(without), ReadFileText(plain));
    EXPECT_EQ(ReadFileText(failed), ReadFileText(plain));
}

TEST(ProjectFileWrite, SaveProjectChecksFolderNameAndBuildingType) {
    TempDir dir;
    struct Case {
        const char* what;
        std::string folder;
        std::string name;
        bool withType;
        const char* message;
    } cases[] = {
        {"missing folder", (dir / "nowhere").string(), "P", true, "Project directory does not exist:\n"},
        {"no name", dir.path().string(), "", true, "Project has no name\n"},
        {"no building type", dir.path().string(), "P", false, "Project has no dominant building type\n"},
    };
    for (const Case& c : cases) {
        QuietLog log;
        CLENIProject project;
        project.SetProjectFolder(c.folder);
        project.SetName(c.name);
        if (c.withType) project.SetDominantBuildingType("Offices");
        EXPECT_FALSE(project.SaveProject(false)) << c.what;
        EXPECT_EQ(log.Count(c.message, LOG_ERROR), 1) << c.what << "\n" << log.All();
        EXPECT_EQ(log.Count("CLENIProject::Save, <" + c.name + ">", LOG_INFO), 1) << c.what;
        EXPECT_TRUE(fs::is_empty(dir.path())) << c.what;
    }

    CLENIProject project = BuildFullProject();
    project.SetProjectFolder(dir.path().string() + "/");
    project.SetName("Scuola");
    ASSERT_TRUE(project.SaveProject(false));
    EXPECT_TRUE(fs::is_regular_file(dir / "Scuola.LENI1XML"));
}

TEST(ProjectFileWrite, FailedSaveIsReportedAndKeepsTheOldFile) {
    TempDir dir;
    const CLENIProject project = BuildFullProject();
    const fs::path path = dir / "p.LENI1XML";
    const std::string old = "old contents\n";
    WriteFileText(path, old);

    // Writing stops after 64 bytes, as on a full disk; this holds for root as well.
    {
        QuietLog log;
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64;
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        const bool ok = project.Save(path.string(), false);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_FALSE(ok);
        EXPECT_EQ(
            log.Count("Could not save the project file:\n" + path.string() + "\nFile too large", LOG_ERROR),
            1)
            << log.All();
        EXPECT_EQ(ReadFileText(path), old);
    }

    // A folder that is a regular file.
    {
        QuietLog log;
        const fs::path inside = path / "q.LENI1XML";
        EXPECT_FALSE(project.Save(inside.string(), false));
        EXPECT_EQ(log.Count("Could not save the project file:\n" + inside.string() + "\nNot a directory",
                            LOG_ERROR),
                  1)
            << log.All();
        EXPECT_EQ(ReadFileText(path), old);
    }

    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}

TEST(ProjectFileWrite, SaveIntoReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const fs::path path = dir / "p.LENI1XML";
    WriteFileText(path, "old");
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    QuietLog log;
    EXPECT_FALSE(BuildFullProject().Save(path.string(), false));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(
        log.Count("Could not save the project file:\n" + path.string() + "\nPermission denied", LOG_ERROR),
        1);
    EXPECT_EQ(ReadFileText(path), "old");
}

// The floors are written one at a time and put into the file as indented text: line breaks, tabs
// and other bytes inside their values must stay character references, never raw lines.
TEST(ProjectFileWrite, FloorValuesWithLineBreaksStayOnTheirLine) {
    TempDir dir;
    CLENIProject project = BuildFullProject();
    const int floorCount = project.GetFloorCount() + 1;
    CLENIFloor second("Secondo\npiano", 3.5);
    CLENIRoom room = MakeRoom("Line\r\nbreak\tand \xC3\xA9", Rect(0, 0, 4, 3));
    room.SetRoomType("[Offices]Corridor");
    second.AddRoom(room);
    ASSERT_TRUE(project.AppendFloor(second));
    const fs::path file = dir / "breaks.LENI1XML";
    ASSERT_TRUE(project.Save(file.string(), false));

    const std::string text = ReadFileText(file);
    EXPECT_NE(text.find("floorname=\"Secondo&#x0A;piano\""), std::string::npos);
    EXPECT_NE(text.find("roomname=\"Line&#x0D;&#x0A;break&#x09;and &#xE9;\""), std::string::npos);
    const size_t begin = text.find("    <FloorList>\n"), end = text.find("    </FloorList>\n");
    ASSERT_NE(begin, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    int floors = 0;
    for (size_t line = text.find('\n', begin) + 1; line < end; line = text.find('\n', line) + 1) {
        EXPECT_EQ(text.compare(line, 8, "        "), 0) << text.substr(line, 60);
        if (text.compare(line, 15, "        <Floor ") == 0) ++floors;
    }
    EXPECT_EQ(floors, floorCount);

    CLENIProject read;
    QuietLog log;
    ASSERT_TRUE(read.ReadProject(file.string())) << log.All();
    ASSERT_EQ(read.GetFloorCount(), floorCount);
    EXPECT_EQ(read.GetFloors().back().GetName(), "Secondo\npiano");
    EXPECT_EQ(read.GetFloors().back().GetRooms().at(0).GetName(), "Line\r\nbreak\tand \xC3\xA9");
}

// The price, emission factor and target are three elements after the project's print flag,
// written only when set: the file of a project without them keeps its bytes, and a file with
// them reads the rest of the model exactly as before.
TEST(ProjectFileWrite, PriceEmissionAndTargetAreStoredOnlyWhenSet) {
    TempDir dir;
    CLENIProject project = BuildFullProject();
    const fs::path without = dir / "without.LENI1XML", with = dir / "with.LENI1XML", again = dir / "again.LENI1XML";
    ASSERT_TRUE(project.Save(without.string(), false));
    project.SetEnergyPrice(0.25);
    project.SetCO2Factor(0.4);
    project.SetLeniTarget(12.5);
    ASSERT_TRUE(project.Save(with.string(), false));

    const std::string added = "    <EnergyPrice>0.2500000</EnergyPrice>\n    <CO2Factor>0.4000000</CO2Factor>\n"
                              "    <LENITarget>12.5000000</LENITarget>\n";
    std::string expected = ReadFileText(without);
    const size_t after = expected.find("\n", expected.find("<PrintMe>")) + 1;
    expected.insert(after, added);
    EXPECT_EQ(ReadFileText(with), expected);

    struct Case {
        fs::path file;
        bool set;
    };
    for (const Case& c : {Case{with, true}, Case{without, false}}) {
        QuietLog log;
        CLENIProject read;
        ASSERT_TRUE(read.ReadProject(c.file.string())) << log.All();
        EXPECT_EQ(log.Count("", LOG_ERROR), 0) << log.All();
        EXPECT_EQ(read.GetEnergyPrice(), c.set ? std::optional<double>(0.25) : std::nullopt);
        EXPECT_EQ(read.GetCO2Factor(), c.set ? std::optional<double>(0.4) : std::nullopt);
        EXPECT_EQ(read.GetLeniTarget(), c.set ? std::optional<double>(12.5) : std::nullopt);
        ASSERT_TRUE(read.Save(again.string(), false));
        EXPECT_EQ(ReadFileText(again), ReadFileText(c.file));
        // Everything else reads as from the file without them.
        read.SetEnergyPrice(std::nullopt);
        read.SetCO2Factor(std::nullopt);
        read.SetLeniTarget(std::nullopt);
        ASSERT_TRUE(read.Save(again.string(), false));
        EXPECT_EQ(ReadFileText(again), ReadFileText(without));
    }

    // A negative price is no price: reported and left unset; an empty element is unset.
    std::string damaged = ReadFileText(with);
    damaged.replace(damaged.find("<EnergyPrice>0.2500000"), 22, "<EnergyPrice>-1");
    damaged.replace(damaged.find("<LENITarget>12.5000000"), 22, "<LENITarget>");
    WriteFileText(again, damaged);
    QuietLog log;
    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(again.string()));
    EXPECT_FALSE(read.GetEnergyPrice());
    EXPECT_FALSE(read.GetLeniTarget());
    EXPECT_EQ(read.GetCO2Factor(), std::optional<double>(0.4));
    EXPECT_EQ(log.Count("EnergyPrice -1 is negative in the project file, left unset", LOG_ERROR), 1) << log.All();
}
