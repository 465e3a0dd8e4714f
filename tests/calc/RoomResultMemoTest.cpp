// Room results kept across calculations (the desktop session): after any edit, a calculation must
// leave exactly what a fresh one leaves (energies to the last bit, building and floor logs,
// general-log messages), work out again only the rooms the edit touched, and keep no more than its
// budget. The model is the identity project: two floors, atria and a courtyard, roof lights, every
// window type and one no calculation knows.

#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomContentKey.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "support/TestSupport.h"
#include "tables/FdssnaTables.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

const char* const kGlobalOnly = "GLB-ONLY"; // a product the project lacks and the global database has

// Everything a calculation leaves, as one text; with floors false, the building's alone.
std::string Calculate(const CLENIProject& project, const std::vector<unsigned>& steps = {0u, 1u},
                      bool floors = true) {
    LogRecorder log;
    std::string out;
    char line[160];
    auto number = [&](const char* what, double value) {
        std::snprintf(line, sizeof line, "%s %a\n", what, value);
        out += line;
    };
    for (unsigned step : steps) {
        const LeniTimeStepResult building = CalculateAnnualLENI(project, step);
        number("building Wl", building.Wl);
        number("building Wp", building.Wp);
        out += ReadFileText(
            GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName(project.GetName())));
        for (const CLENIFloor& floor : project.GetFloors()) {
            if (!floors) break;
            const LeniTimeStepResult r = CalculateLENIofFloor(project, floor.GetName(), step);
            number("floor Wl", r.Wl);
            out += ReadFileText(
                GetCalcLogPath(project.GetProjectFolder(), GetFloorCalcLogFileName(floor.GetName())));
        }
        {
            CRoomPassMemo memo;
            CCalcLogQuiet quiet;
            number("quiet Wl", GetLightingEnergy(project, step));
        }
        if (floors) {
            CCalcLogDiscard discard;
            number("discarding Wl", CalculateAnnualLENI(project, step).Wl);
        }
    }
    for (const auto& [level, text] : log.messages)
        out += std::to_string(level) + " " + text + "\n";
    return out;
}

// Where the values of an XML text stand: attribute values and element texts (not blank ones).
std::vector<std::pair<size_t, size_t>> ValuesOf(const std::string& xml) {
    std::vector<std::pair<size_t, size_t>> values;
    for (size_t i = 0; i < xml.size(); ++i) {
        if (xml.compare(i, 2, "=\"") == 0) {
            const size_t end = xml.find('"', i + 2);
            if (end == std::string::npos) break;
            values.emplace_back(i + 2, end - i - 2);
            i = end;
        } else if (xml[i] == '>' && i + 1 < xml.size() && xml[i + 1] != '<' &&
                   !std::isspace(static_cast<unsigned char>(xml[i + 1]))) {
            const size_t end = xml.find('<', i + 1);
            if (end == std::string::npos || xml.compare(end, 2, "</") != 0) continue;
            values.emplace_back(i + 1, end - i - 1);
            i = end - 1;
        }
    }
    return values;
}

bool IsNumberText(const std::string& text) {
    size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i])))
            digits = true;
        else if (text[i] == '.' && !point && digits)
            point = true;
        else
            return false;
    }
    return digits && text.back() != '.';
}

class RoomResultMemoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path source = TestDataDir() / "calc" / "identity" / "IDENTITY.LENI1XML";
        ASSERT_TRUE(fs::exists(source));
        file = dir / "IDENTITY.LENI1XML";
        original = ReadFileText(source);
        ResetGlobals();
    }
    void TearDown() override {
        CLumSysDataBase::ResetGlobal();
        SetFdssnaTables(CFdssnaTables::MakeDefault());
    }
    // The global database with its one product, and the built-in daylight tables.
    static void ResetGlobals() {
        CLumSysDataBase::ResetGlobal();
        SetFdssnaTables(CFdssnaTables::MakeDefault());
        CLumTypeData global;
        global.SetRefId(kGlobalOnly);
        global.SetMaxPow(20.0);
        global.SetStandbyPow(0.3);
        CLumSysDataBase::Global().AddLumData(global);
    }

    // The project as the text has it (whatever a damaged text leaves), the first zone of the top
    // floor's first room also listing the product only the global database has.
    void Load(CLENIProject& project, const std::string& text) {
        WriteFileText(file, text);
        project.ReadProject(file.string());
        if (project.GetFloorCount() == 0) return;
        CLENIFloor& top = *project.GetFloorByIndex(project.GetFloorCount() - 1);
        if (top.GetRoomCount() == 0 || top.GetRoomByIndex(0)->GetZoneCount() == 0) return;
        CLENIRoom& room = *top.GetRoomByIndex(0);
        CLENIZone* zone = room.FindZone(room.GetZones()[0].GetName());
        zone->GetLumList().AddLuminaire(kGlobalOnly);
        zone->GetLumList().SetLuminaireCount(kGlobalOnly, 2);
    }
    static CLENIRoom& FindRoom(CLENIProject& project, const std::string& name) {
        for (const CLENIFloor& floor : project.GetFloors())
            if (CLENIRoom* room = project.FindRoom(floor.GetName(), name)) return *room;
        throw std::runtime_error("no room " + name);
    }

    TempDir dir{"orvantis-room-memo"};
    fs::path file;
    std::string original;
};

struct Edit {
    const char* name;
    std::function<void(CLENIProject&)> apply;
};

// A window handed out for changing, changed later through the pointer.
CLENIWindow& WindowAt(CLENIRoom& room, size_t i) {
    const CLENIWindow& window = room.GetWindows().at(i);
    return *room.FindWindow(window.m_iWallId, window.m_iWindowId);
}

CLENIWindow* WindowFacing(CLENIProject& project, const std::string& atrium) {
    for (int f = 0; f < project.GetFloorCount(); ++f) {
        CLENIFloor& floor = *project.GetFloorByIndex(f);
        for (int r = 0; r < static_cast<int>(floor.GetRooms().size()); ++r)
            for (const CLENIWindow& window : floor.GetRooms()[static_cast<size_t>(r)].GetWindows())
                if (window.m_csAtriumName == atrium)
                    return floor.GetRoomByIndex(r)->FindWindow(window.m_iWallId, window.m_iWindowId);
    }
    return nullptr;
}

TEST_F(RoomResultMemoTest, AfterEachKindOfEditTheResultsAreThoseOfAFreshCalculation) {
    auto firstZone = [](CLENIRoom& room) { return room.FindZone(room.GetZones()[0].GetName()); };
    auto firstProduct = [](CLENIProject& p, CLENIRoom& room) {
        std::string refId;
        int count = 0;
        room.GetZones()[0].GetLumList().GetLuminaireAtIndex(0, refId, count);
        return p.GetProducts().GetLumDataFromRefId(refId);
    };
    const std::vector<Edit> edits = {
        {"zone luminaire count",
         [&](CLENIProject& p) {
             CLENIZone* zone = firstZone(FindRoom(p, "R00_001"));
             std::string refId;
             int count = 0;
             zone->GetLumList().GetLuminaireAtIndex(0, refId, count);
             zone->GetLumList().SetLuminaireCount(refId, count + 3);
         }},
        {"power of a product of the project",
         [&](CLENIProject& p) {
             CLumTypeData product = firstProduct(p, FindRoom(p, "R00_001"));
             product.SetMaxPow(product.GetMaxPow() + 5.0);
             p.GetProducts().ReplaceLumData(product);
         }},
        {"power of a product only the global database has",
         [&](CLENIProject&) {
             CLumTypeData product = CLumSysDataBase::Global().GetLumDataFromRefId(kGlobalOnly);
             product.SetMaxPow(31.0);
             CLumSysDataBase::Global().ReplaceLumData(product);
         }},
        {"product gone from both databases",
         [&](CLENIProject& p) {
             p.GetProducts().DeleteObject(firstProduct(p, FindRoom(p, "R00_001")).GetRefId());
         }},
        {"window width", [&](CLENIProject& p) { WindowAt(FindRoom(p, "R00_001"), 0).m_dWidth -= 0.3; }},
        {"window sill", [&](CLENIProject& p) { WindowAt(FindRoom(p, "R00_003"), 0).m_dSillHeight += 0.2; }},
        {"window type",
         [&](CLENIProject& p) {
             CLENIWindow& w = WindowAt(FindRoom(p, "R00_001"), 0);
             w.m_iVertWinType = w.m_iVertWinType == VWT_VERTICAL ? VWT_VERTICAL_SLOPED : VWT_VERTICAL;
         }},
        {"window faces another atrium",
         [&](CLENIProject& p) { WindowFacing(p, "CRT_0")->m_csAtriumName = "ATR_0"; }},
        {"atrium made a courtyard",
         [&](CLENIProject& p) {
             CLENIAtrium atrium = *p.GetFloorByName("F00")->FindAtrium("ATR_0");
             atrium.m_iKind = ATRIUM_COURTYARD;
             p.ReplaceAtrium(atrium, "ATR_0", "F00");
         }},
        {"height of the room's floor", [&](CLENIProject& p) { p.GetFloorByName("F00")->SetHeight(3.6); }},
        {"instances of the floor above",
         [&](CLENIProject& p) { p.GetFloorByName("F01")->SetInstanceCount(4); }},
        {"latitude", [&](CLENIProject& p) { p.SetLatitude(p.GetLatitude() + 6.0); }},
        {"Hdir/Hglob", [&](CLENIProject& p) { p.SetHdirHglob(p.GetHdirHglob() + 0.1); }},
        {"daylight hours of a room", [&](CLENIProject& p) { FindRoom(p, "R00_003").SetTd(1800); }},
        {"maintained illuminance of a zone",
         [&](CLENIProject& p) {
             CLENIZone* zone = firstZone(FindRoom(p, "R00_003"));
             EXPECT_TRUE(zone->SetZoneIlluminance(zone->GetZoneIlluminance() == 500.0 ? 750.0 : 500.0));
         }},
        {"constant illuminance control of a zone",
         [&](CLENIProject& p) {
             CLENIZone* zone = firstZone(FindRoom(p, "R00_001"));
             zone->SetConstantIlluminanceControl(!zone->GetConstantIlluminanceControl());
         }},
        {"zone renamed", [&](CLENIProject& p) { firstZone(FindRoom(p, "R00_003"))->SetName("Renamed"); }},
        {"room outline",
         [&](CLENIProject& p) {
             CLENIRoom& room = FindRoom(p, "R00_003");
             Polygon outline = room.GetPolygon();
             outline[1].x += 0.4;
             outline[2].x += 0.4;
             room.SetPolygon(outline);
         }},
        {"roof light width",
         [&](CLENIProject& p) { FindRoom(p, "R00_003").FindRoofLight(0)->m_dYWidth += 0.5; }},
        {"room's floor name finds no floor",
         [&](CLENIProject& p) { FindRoom(p, "R00_003").SetFloorName("F77"); }},
        {"daylight supply tables",
         [&](CLENIProject&) {
             CFdssnaTables tables = CFdssnaTables::MakeDefault();
             for (auto& facade : tables.m_dTable)
                 for (auto& row : facade)
                     for (int c = kFdssnaFirstValueColumn; c < kFdssnaColumns; ++c)
                         row[c] *= 0.8;
             SetFdssnaTables(tables);
         }},
    };

    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        std::string before, remembered, fresh;
        {
            CLENIProject project;
            Load(project, original);
            before = Calculate(project);
        }
        {
            CLENIProject project;
            Load(project, original);
            CRoomResultMemo session;
            EXPECT_EQ(Calculate(project), before); // the first calculation of a session
            edit.apply(project);
            remembered = Calculate(project);
        }
        {
            CLENIProject project;
            Load(project, original);
            edit.apply(project);
            fresh = Calculate(project);
        }
        EXPECT_NE(fresh, before) << "the edit changes nothing the test can see";
        EXPECT_EQ(remembered, fresh);
        ResetGlobals();
    }
}

// A window and a zone handed out for changing before a calculation and changed through the
// pointers after it: the next calculation sees the change.
TEST_F(RoomResultMemoTest, PartsHandedOutBeforeACalculationAndChangedAfterIt) {
    auto change = [](CLENIWindow& window, CLENIZone& zone) {
        window.m_dWidth -= 0.3;
        zone.SetConstantIlluminanceControl(!zone.GetConstantIlluminanceControl());
    };
    std::string before, remembered, fresh;
    {
        CLENIProject project;
        Load(project, original);
        CRoomResultMemo session;
        CLENIWindow& window = WindowAt(FindRoom(project, "R00_001"), 0);
        CLENIRoom& room = FindRoom(project, "R00_003");
        CLENIZone& zone = *room.FindZone(room.GetZones()[0].GetName());
        before = Calculate(project);
        EXPECT_EQ(Calculate(project), before);
        change(window, zone);
        remembered = Calculate(project);
    }
    {
        CLENIProject project;
        Load(project, original);
        CLENIRoom& room = FindRoom(project, "R00_003");
        change(WindowAt(FindRoom(project, "R00_001"), 0), *room.FindZone(room.GetZones()[0].GetName()));
        fresh = Calculate(project);
    }
    EXPECT_NE(fresh, before);
    EXPECT_EQ(remembered, fresh);
}

// Whatever value of the project file changes, the rooms' keys see it unless a fresh calculation
// gives the same as before: the keys leave out nothing the calculation reads from the file.
TEST_F(RoomResultMemoTest, EveryValueOfTheProjectFileChangedInTurn) {
    CLENIProject base;
    Load(base, original);
    const std::vector<unsigned> steps = {1u};
    const std::string before = Calculate(base, steps, false);

    int changed = 0, seen = 0;
    for (const auto& [at, length] : ValuesOf(original)) {
        const std::string text = original.substr(at, length);
        std::string mutated;
        if (IsNumberText(text))
            mutated = text + "7"; // 3.00 -> 3.007, 2250 -> 22507, 1 -> 17
        else if (text == "true" || text == "false")
            mutated = text == "true" ? "false" : "true";
        else
            mutated = text + "x";
        const std::string file = original.substr(0, at) + mutated + original.substr(at + length);
        ++seen;

        CLENIProject project;
        Load(project, file);
        const std::string fresh = Calculate(project, steps, false);
        if (fresh == before) continue;
        ++changed;
        std::string remembered, inPlace;
        {
            CRoomResultMemo session;
            CLENIProject unchanged;
            Load(unchanged, original);
            Calculate(unchanged, steps, false); // the session knows the rooms as they were
            remembered = Calculate(project, steps, false);
            // The same room objects now hold the changed values: each is checked against the key
            // it was last found by, not looked up afresh.
            unchanged = project;
            inPlace = Calculate(unchanged, steps, false);
        }
        EXPECT_EQ(remembered, fresh) << "changed <" << text << "> to <" << mutated << "> at " << at;
        EXPECT_EQ(inPlace, fresh) << "in place: changed <" << text << "> to <" << mutated << "> at " << at;
    }
    EXPECT_GT(seen, 300);
    EXPECT_GT(changed, 100);
    std::printf("%d values changed in turn, %d of them change the calculation\n", seen, changed);
}

TEST_F(RoomResultMemoTest, AfterAnEditOnlyTheEditedRoomIsWorkedOutAgain) {
    CLENIProject project;
    Load(project, original);
    CRoomResultMemo session;
    const std::string first = Calculate(project, {0u});
    const CRoomResultMemo::Stats cold = CRoomResultMemo::GetActiveStats();
    EXPECT_EQ(cold.rooms, 3u);
    EXPECT_GT(cold.misses, 0u);

    EXPECT_EQ(Calculate(project, {0u}), first);
    const CRoomResultMemo::Stats again = CRoomResultMemo::GetActiveStats();
    EXPECT_EQ(again.misses, cold.misses) << "nothing changed, nothing worked out";
    EXPECT_GT(again.hits, cold.hits);

    WindowAt(FindRoom(project, "R00_001"), 0).m_dWidth -= 0.3;
    Calculate(project, {0u});
    const CRoomResultMemo::Stats edited = CRoomResultMemo::GetActiveStats();
    EXPECT_EQ(edited.rooms, 4u); // the room as it was stays (an undo finds it)
    // The building's log, the floor's, a quiet and a discarding pass: the edited room is worked out
    // once, for the building's log; the others take what that left.
    EXPECT_EQ(edited.misses - again.misses, 1u);

    // Undone: everything is known.
    WindowAt(FindRoom(project, "R00_001"), 0).m_dWidth += 0.3;
    EXPECT_EQ(Calculate(project, {0u}), first);
    EXPECT_EQ(CRoomResultMemo::GetActiveStats().misses, edited.misses);
}

TEST_F(RoomResultMemoTest, KeepsWithinItsBudgetAndStaysRight) {
    CLENIProject project;
    Load(project, original);
    const size_t budget = 40 * 1024;
    std::vector<std::string> fresh;
    for (int i = 0; i < 6; ++i) {
        project.SetLatitude(40.0 + i);
        fresh.push_back(Calculate(project, {0u}));
    }
    CRoomResultMemo session(budget);
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 6; ++i) {
            project.SetLatitude(40.0 + i);
            EXPECT_EQ(Calculate(project, {0u}), fresh[i]) << i;
            EXPECT_LE(CRoomResultMemo::GetActiveStats().bytes, budget);
        }
    EXPECT_GT(CRoomResultMemo::GetActiveStats().rooms, 0u);
}

TEST_F(RoomResultMemoTest, AReportScopeAndANestedSessionLeaveItAlone) {
    CLENIProject project;
    Load(project, original);
    CRoomResultMemo session;
    {
        CRoomResultMemo nested; // does nothing: the first one stays in use
        CReportRoomMemo report;
        Calculate(project, {0u});
    }
    EXPECT_EQ(CRoomResultMemo::GetActiveStats().rooms, 0u);
    EXPECT_EQ(CRoomResultMemo::GetActiveStats().misses, 0u);
    Calculate(project, {0u});
    EXPECT_EQ(CRoomResultMemo::GetActiveStats().rooms, 3u);
}

TEST(RoomContentKeyTest, RoomsOfEqualContentShareTheirKeyAndAnyFieldTellsThemApart) {
    CLENIProject project;
    project.AddFloor("F0", 3.0, 0, "");
    CLENIRoom room;
    room.InitFromPolygon("R", {Point(0, 0), Point(4, 0), Point(4, 3), Point(0, 3)}, 3.0);
    room.SetFloorName("F0");
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dWidth = 1.0;
    window.m_dHeight = 1.2;
    room.AddWindow(window);
    const CLENIRoom copy = room;
    EXPECT_EQ(GetRoomContentKey(room, project), GetRoomContentKey(copy, project));

    // Fields no calculation reads today go in as well: a later one that does is then covered.
    std::vector<std::function<void(CLENIRoom&)>> changes = {
        [](CLENIRoom& r) { r.SetPrintMe(!r.GetPrintMe()); },
        [](CLENIRoom& r) { r.SetName("S"); },
        [](CLENIRoom& r) { WindowAt(r, 0).m_dTD65SA += 0.1; },
        [](CLENIRoom& r) { WindowAt(r, 0).m_iSlopeType += 1; },
        [](CLENIRoom& r) { WindowAt(r, 0).m_dStart += 0.1; },
        [](CLENIRoom& r) { r.SetShadingType(SHADING_LIGHT_GUIDES); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        CLENIRoom changed = room;
        changes[i](changed);
        EXPECT_NE(GetRoomContentKey(changed, project), GetRoomContentKey(room, project)) << i;
    }
    // Texts carry their lengths: "ab" + "c" is not "a" + "bc".
    CLENIRoom a = room, b = room;
    a.SetName("ab");
    a.SetRoomType("c");
    b.SetName("a");
    b.SetRoomType("bc");
    EXPECT_NE(GetRoomContentKey(a, project), GetRoomContentKey(b, project));
}

} // namespace
