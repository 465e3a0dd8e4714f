// The result dialogs, Define Print Pages, printing and the PDF report, driven through the main
// window and the dialogs' widgets on the hand-worked building: per storey a 50 m2 room with ten
// 36 W luminaires of 0.75 W standby and charging, td 2250 h, tn 250 h, Fo 1, so Wl = 900 kWh and
// Wp = 65.7 kWh a year, Wl = 75.24 kWh and Wp = 5.475 kWh a month.

#include "app/LENIBDoc.h"
#include "calc/CalcLog.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "ui/editor/LeniColouring.h"
#include "ui/GuiTestSupport.h"
#include "ui/editor/ContextHooks.h"
#include "ui/print/DefinePrintPagesDlg.h"
#include "ui/print/ReportPrinter.h"
#include "ui/results/LeniResultDlg.h"
#include "ui/results/MonthlyChart.h"
#include "ui/results/SubLeniResultDlg.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/editor/FloorView.h"
#include "ui/shell/LENIBView.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

class ResultDialogsTest : public GuiTest {
  protected:
    // A project "Villa" with the simple floor "Ground" (10 x 5 m, one zone) made the hand-worked room.
    CLENIProject& Villa(int instances) {
        NewProject("Villa");
        AddSimpleFloor("Ground", 10, 5, 3, true);
        CLENIProject& project = Frame().GetDocument().GetProject();
        CLumTypeData p;
        p.SetRefId("T36");
        p.SetMaxPow(36.0);
        p.SetStandbyPow(0.5);
        p.SetChargePow(0.25);
        project.GetProducts().AddLumData(p);
        CLENIFloor* floor = project.GetFloorByName("Ground");
        EXPECT_TRUE(floor);
        floor->SetInstanceCount(instances);
        CLENIRoom* room = floor->GetRoomByIndex(0);
        EXPECT_TRUE(room && room->GetZoneCount() == 1);
        room->SetRoomType("[Offices]Cellular office 1 person.(Fa=0.40)");
        room->SetTd(2250);
        room->SetTn(250);
        CLENIZone* zone = room->FindZone(room->GetZones()[0].GetName());
        zone->SetFoMode(FOMODE_ONE);
        zone->GetLumList().AddLuminaire("T36");
        zone->GetLumList().SetLuminaireCount("T36", 10);
        m_csRoom = room->GetName();
        m_csZone = zone->GetName();
        return project;
    }
    std::string m_csRoom, m_csZone;
};

std::vector<std::string> Lines(const CLeniResultDlg& d) {
    return {d.GetPowerLine(), d.GetEnergyLine(), d.GetAreaLine(), d.GetHoursLine(), d.GetResultLine()};
}

// The key pressed with Ctrl down, as the user types it.
void CtrlKey(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(&widget, &press);
}

bool MonthButtonsHidden(const CLeniResultDlg& d) {
    for (int m = 1; m <= 12; ++m)
        if (!d.GetMonthButton(m)->isHidden()) return false;
    return true;
}

std::string PdfText(const fs::path& pdf) {
    const fs::path txt = pdf.string() + ".txt";
    const std::string cmd = "pdftotext -layout '" + pdf.string() + "' '" + txt.string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "pdftotext (poppler-utils) is needed: make deps";
    return ReadFileText(txt);
}

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST_F(ResultDialogsTest, BuildingCalculationForTheYearAndMarch) {
    Villa(2);
    script.shown.clear();
    std::vector<std::string> year, march;
    bool yearButtons = false, marchButtonsHidden = false, yearChart = false, marchChart = true;
    std::string openedLog;
    SetOpenFileHook([&](const std::string& path) { openedLog = path; });
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        year = Lines(d);
        yearButtons = !MonthButtonsHidden(d);
        yearChart = d.GetChart() != nullptr && std::abs(d.GetChart()->GetStep(3).Wl - 2 * 75.24) < 1e-9;
        SaveScreenshot(d, "building_result_year");
        CtrlKey(d, Qt::Key_L);
        d.GetMonthButton(3)->click(); // runs the next handler inside
        d.accept();
    });
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        march = Lines(d);
        marchButtonsHidden = MonthButtonsHidden(d);
        marchChart = d.GetChart() != nullptr;
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_BUILDING_CALCULATION));
    SetOpenFileHook(nullptr);
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();

    EXPECT_EQ(year, (std::vector<std::string>{"Building Installed Power (Pn): 720.00 W",
                                              "Annual Building Energy: 1931.40 kWh", "Area: 100.00 m\u00b2",
                                              "Hours per year = 8760", "LENI=19.31 kWh/(m\u00b2 year)"}));
    EXPECT_TRUE(yearButtons);
    EXPECT_TRUE(yearChart);
    // 2 x (75.24 + 5.475) kWh over 100 m2.
    EXPECT_EQ(march, (std::vector<std::string>{"Building Installed Power (Pn): 720.00 W",
                                               "March Building Energy: 161.43 kWh", "Area: 100.00 m\u00b2",
                                               "Hours per month =730",
                                               "Building Monthly Specific Energy=1.61 kWh/m\u00b2 (March)"}));
    EXPECT_TRUE(marchButtonsHidden);
    EXPECT_FALSE(marchChart);
    ASSERT_EQ(script.shown.size(), 2u);
    // The title: what the figures are of, and the result.
    EXPECT_EQ(script.shown[0], "Building Villa: LENI=19.31 kWh/(m\u00b2 year)");
    EXPECT_EQ(script.shown[1], "Building Villa: Building Monthly Specific Energy=1.61 kWh/m\u00b2 (March)");
    // Ctrl+L: the building's log, which the calculation has just written.
    const CLENIProject& project = Frame().GetDocument().GetProject();
    EXPECT_EQ(openedLog, GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName("Villa")));
    EXPECT_TRUE(fs::exists(openedLog));
}

// The main window keeps the rooms' results between calculations: after an edit the building is
// calculated again with the edited room's numbers and log lines, and only that room worked out.
// Twenty luminaires instead of ten per storey: Wl = 20 x 36 W x 2500 h = 1800 kWh and
// Wp = 20 x 0.75 W x 8760 h = 131.4 kWh a storey, 3862.80 kWh for the two over 100 m2.
TEST_F(ResultDialogsTest, BuildingCalculationAgainAfterAnEdit) {
    CLENIProject& project = Villa(2);
    const std::string logPath =
        GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName("Villa"));
    std::vector<std::string> lines;
    double marchWl = 0.0;
    auto calculate = [&]() {
        script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
            lines = Lines(d);
            marchWl = d.GetChart() ? d.GetChart()->GetStep(3).Wl : 0.0;
            d.accept();
        });
        EXPECT_TRUE(Frame().RunCommand(ID_BUILDING_CALCULATION));
        EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    };
    calculate();
    EXPECT_EQ(lines[1], "Annual Building Energy: 1931.40 kWh");
    const CRoomResultMemo::Stats first = CRoomResultMemo::GetActiveStats();
    EXPECT_EQ(first.rooms, 1u);
    EXPECT_NE(ReadFileText(logPath).find("Power[360.000]"), std::string::npos);

    CLENIRoom* room = project.GetFloorByName("Ground")->FindRoom(m_csRoom);
    room->FindZone(m_csZone)->GetLumList().SetLuminaireCount("T36", 20);
    calculate();
    EXPECT_EQ(lines, (std::vector<std::string>{"Building Installed Power (Pn): 1440.00 W",
                                               "Annual Building Energy: 3862.80 kWh", "Area: 100.00 m\u00b2",
                                               "Hours per year = 8760", "LENI=38.63 kWh/(m\u00b2 year)"}));
    EXPECT_NEAR(marchWl, 2 * 150.48, 1e-9);
    const std::string log = ReadFileText(logPath);
    EXPECT_NE(log.find("Power[720.000]"), std::string::npos);
    EXPECT_EQ(log.find("Power[360.000]"), std::string::npos);
    const CRoomResultMemo::Stats edited = CRoomResultMemo::GetActiveStats();
    EXPECT_EQ(edited.rooms, 2u);
    // The year with its log, and each month for the chart.
    EXPECT_EQ(edited.misses - first.misses, 13u);

    // Back to ten: everything is known already, and the first numbers come back.
    room->FindZone(m_csZone)->GetLumList().SetLuminaireCount("T36", 10);
    calculate();
    EXPECT_EQ(lines[1], "Annual Building Energy: 1931.40 kWh");
    EXPECT_EQ(CRoomResultMemo::GetActiveStats().misses, edited.misses);
    EXPECT_NE(ReadFileText(logPath).find("Power[360.000]"), std::string::npos);
}

TEST_F(ResultDialogsTest, FloorOfThreeInstancesAndBuildingWithoutFloors) {
    Villa(3);
    std::vector<std::string> floor;
    std::string subject, allStoreys, title;
    std::string openedLog;
    SetOpenFileHook([&](const std::string& path) { openedLog = path; });
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        floor = Lines(d);
        subject = d.GetSubjectLine();
        allStoreys = d.GetAllStoreysLine();
        title = d.windowTitle().toStdString();
        CtrlKey(d, Qt::Key_L);
        CtrlKey(d, Qt::Key_K); // any other key: no log
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_FLOOR_CALCULATION));
    SetOpenFileHook(nullptr);
    // The figures of one storey, each saying so, and those of all three storeys on their own line.
    EXPECT_EQ(subject, "Floor Ground (one of 3 storeys)");
    EXPECT_EQ(title, "Floor Ground (one of 3 storeys): LENIsub=19.31 kWh/(m\u00b2 year)");
    EXPECT_EQ(floor, (std::vector<std::string>{"Floor Installed Power (Pn), one storey: 360.00 W",
                                               "Annual Floor Energy, one storey: 965.70 kWh",
                                               "Floor Area, one storey: 50.00 m\u00b2",
                                               "Hours per year = 8760", "LENIsub=19.31 kWh/(m\u00b2 year)"}));
    EXPECT_EQ(allStoreys, "All 3 storeys: Pn 1080.00 W, Annual energy 2897.10 kWh, area 150.00 m\u00b2");
    const CLENIProject& project = Frame().GetDocument().GetProject();
    EXPECT_EQ(openedLog, GetCalcLogPath(project.GetProjectFolder(), GetFloorCalcLogFileName("Ground")));

    CLENIProject empty;
    empty.SetProjectFolder(dir.path().string());
    empty.SetName("Empty");
    CLeniResultDlg building(empty, "", 0);
    EXPECT_EQ(Lines(building),
              (std::vector<std::string>{"Building Installed Power (Pn): 0.00 W",
                                        "Annual Building Energy: 0.00 kWh", "Area: 0.00 m\u00b2",
                                        "Hours per year = 8760", "LENI=0.00 kWh/(m\u00b2 year)"}));
    EXPECT_EQ(building.GetSubjectLine(), "Building Empty");
    EXPECT_EQ(building.GetAllStoreysLine(), "");

    // An unknown floor: noted in the log, the dialog closes at once.
    log.Clear();
    CLeniResultDlg unknown(project, "Attic", 0);
    EXPECT_TRUE(unknown.IsClosedAtOnce());
    EXPECT_EQ(unknown.GetEnergyLine(), "Could not find floor Attic");
    EXPECT_EQ(unknown.GetResultLine(), "");
    EXPECT_EQ(log.Count("CLENIProject::GFBN unrecognised floor: <Attic>", LOG_INFO), 1) << log.All();
}

// Where the project sets them, cost and CO2 stand beside the energy (energy x price, energy x
// factor) and the LENI is marked against the target; two storeys: 1931.40 kWh a year, 161.43 in
// March, LENI 19.31; one storey 965.70 kWh.
TEST_F(ResultDialogsTest, CostCO2AndTargetBesideTheEnergy) {
    CLENIProject& project = Villa(2);
    project.SetEnergyPrice(0.2);
    project.SetCO2Factor(0.4);
    project.SetLeniTarget(20.0);
    std::vector<std::string> shown;
    auto keep = [&](CLeniResultDlg& d) {
        shown.push_back(d.GetCostLine());
        shown.push_back(d.GetTargetLine());
        d.accept();
    };
    for (int step : {0, 3})
        script.Next<CLeniResultDlg>([&, step](CLeniResultDlg& d) {
            if (step == 0) SaveScreenshot(d, "building_result_cost_target");
            keep(d);
        });
    ShowLENIDialog(&Frame(), project, "", 0);
    ShowLENIDialog(&Frame(), project, "", 3);
    script.Next<CLeniResultDlg>(keep);
    ShowLENIDialog(&Frame(), project, "Ground", 0);
    project.SetEnergyPrice(std::nullopt);
    project.SetLeniTarget(19.0);
    std::string roomCost, roomTarget;
    script.Next<CSubLeniResultDlg>([&](CSubLeniResultDlg& d) {
        roomCost = d.GetValue("Cost and CO2:");
        roomTarget = d.GetTargetLine();
        d.accept();
    });
    ShowRoomCalculation(&Frame(), Frame().GetDocument(), "Ground", m_csRoom);
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "Annual cost: 386.28, CO2: 772.56 kg", "Target 20.00 kWh/(m\u00b2 year): pass",
                         "March cost: 32.29, CO2: 64.57 kg", "",
                         "Annual cost: 193.14, CO2: 386.28 kg (one storey)", "Target 20.00 kWh/(m\u00b2 year): pass"}));
    // One storey's room: 965.70 kWh x 0.4; LENI 19.31 above a target of 19.
    EXPECT_EQ(roomCost, "Annual CO2: 386.28 kg");
    EXPECT_EQ(roomTarget, "Target 19.00 kWh/(m\u00b2 year): FAIL");
}

TEST_F(ResultDialogsTest, RoomCalculationWithItsMonthsAndLog) {
    Villa(1);
    CLENIBDoc& doc = Frame().GetDocument();
    std::map<std::string, std::string> year, march;
    std::string yearLabel, marchLabel, openedLog;
    SetOpenFileHook([&](const std::string& path) { openedLog = path; });
    const char* labels[] = {"Room Installed Power Pn:",
                            "Room Area:",
                            "Daylight Time, td:",
                            "Daylight Absence Time, tn:",
                            "Energy  for illumination, Wl:",
                            "Charging and Standby Energy, Wp:",
                            "Total Energy, W:",
                            "Annual LENIsub:",
                            "Monthly Specific Energy:"};
    script.Next<CSubLeniResultDlg>([&](CSubLeniResultDlg& d) {
        for (const char* l : labels)
            year[l] = d.GetValue(l);
        yearLabel = d.GetResultLabel();
        SaveScreenshot(d, "room_result_year");
        d.GetMonthButton(3)->click();
        d.accept();
    });
    script.Next<CSubLeniResultDlg>([&](CSubLeniResultDlg& d) {
        for (const char* l : labels)
            march[l] = d.GetValue(l);
        marchLabel = d.GetResultLabel();
        EXPECT_EQ(d.windowTitle().toStdString(), "March Calculation: Room " + m_csRoom + " on Ground");
        EXPECT_EQ(d.GetMonthButton(1), nullptr);
        CtrlKey(d, Qt::Key_L);
        d.accept();
    });
    ShowRoomCalculation(&Frame(), doc, "Ground", m_csRoom);
    SetOpenFileHook(nullptr);
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(year["Room Installed Power Pn:"], "360.00 W");
    EXPECT_EQ(year["Room Area:"], "50.00 m\u00b2");
    EXPECT_EQ(year["Daylight Time, td:"], "2250 h");
    EXPECT_EQ(year["Daylight Absence Time, tn:"], "250 h");
    EXPECT_EQ(year["Energy  for illumination, Wl:"], "900.00 kWh");
    EXPECT_EQ(year["Charging and Standby Energy, Wp:"], "65.70 kWh");
    EXPECT_EQ(year["Total Energy, W:"], "965.70 kWh");
    EXPECT_EQ(yearLabel, "Annual LENIsub:");
    EXPECT_EQ(year["Annual LENIsub:"], "19.31 kWh/(m\u00b2 year)");
    // March: 188 + 21 hours of 360 W, 730 h of 7.5 W.
    EXPECT_EQ(march["Daylight Time, td:"], "188 h");
    EXPECT_EQ(march["Daylight Absence Time, tn:"], "21 h");
    EXPECT_EQ(march["Energy  for illumination, Wl:"], "75.24 kWh");
    EXPECT_EQ(marchLabel, "Monthly Specific Energy:");
    EXPECT_EQ(march["Monthly Specific Energy:"], "1.61 kWh/m\u00b2 (March)");
    const CLENIProject& project = doc.GetProject();
    EXPECT_EQ(openedLog,
              GetCalcLogPath(project.GetProjectFolder(), GetSubLeniCalcLogFileName("Ground", m_csRoom, 3)));
    EXPECT_TRUE(fs::exists(openedLog));

    // An unknown floor: reported, and no dialog.
    boxes.boxes.clear();
    script.shown.clear();
    ShowRoomCalculation(&Frame(), doc, "Attic", m_csRoom);
    EXPECT_TRUE(script.shown.empty());
    EXPECT_TRUE(boxes.Contains("CLENIProject::GRBN (Attic) no floor by that name")) << BoxTexts();
    EXPECT_TRUE(boxes.Contains("Room not found")) << BoxTexts();
}

TEST_F(ResultDialogsTest, RoomWithoutZones) {
    // No zones: no Wl, but the Wp of its roof light's luminaires (2 x 0.75 W x 8760 h), and a
    // sub-LENI of 0.
    CLENIProject project;
    project.SetProjectFolder(dir.path().string());
    project.SetName("Bare");
    CLumTypeData p;
    p.SetRefId("T36");
    p.SetMaxPow(36.0);
    p.SetStandbyPow(0.5);
    p.SetChargePow(0.25);
    project.GetProducts().AddLumData(p);
    CLENIFloor floor("Ground", 3.0);
    CLENIRoom room;
    room.InitFromPolygon("Store", {Point(0, 0), Point(10, 0), Point(10, 5), Point(0, 5)}, 3.0);
    CLENIRoofLight roofLight;
    roofLight.m_iId = 0;
    roofLight.m_dXLength = 2;
    roofLight.m_dYWidth = 1;
    roofLight.m_dXOrig = 4;
    roofLight.m_dYOrig = 2;
    roofLight.m_LumList.AddLuminaire("T36");
    roofLight.m_LumList.SetLuminaireCount("T36", 2);
    room.AddRoofLight(roofLight);
    floor.AddRoom(room);
    project.AppendFloor(floor);
    CSubLeniResultDlg d(project, "Ground", "Store", project.FindRoom("Ground", "Store"), 0);
    EXPECT_EQ(d.GetValue("Energy  for illumination, Wl:"), "0.00 kWh");
    EXPECT_EQ(d.GetValue("Charging and Standby Energy, Wp:"), "13.14 kWh");
    EXPECT_EQ(d.GetValue("Annual LENIsub:"), "0.00 kWh/(m\u00b2 year)");
}

// What a hand-written project file holds that drawing never makes is listed in the year's results
// of the building (all four) and of the floor (its rooms'), each once; a month's results and a
// project as drawn list nothing. The room made a bow tie on the 10 x 5 m rectangle: two
// triangles of 10 x 2.5 / 2, so the building's area is 25 m2 and the 50 m2 zone is larger.
TEST_F(ResultDialogsTest, FindingsOfTheProjectFileAreListedOnceEach) {
    CLENIProject& villa = Villa(1);
    EXPECT_EQ(CLeniResultDlg(villa, "", 0).GetFindingsText(), "");
    CLENIRoom* room = villa.FindRoom("Ground", m_csRoom);
    ASSERT_TRUE(room);
    room->SetPolygon({Point(0, 0), Point(10, 0), Point(0, 5), Point(10, 5)});
    CLENIWindow window;
    window.m_iWallId = 0;
    window.m_iWindowId = 0;
    window.m_dWidth = 30;
    window.m_dHeight = 1;
    ASSERT_TRUE(room->AddWindow(window));
    const fs::path path = dir / "Twice.LENI1XML";
    ASSERT_TRUE(villa.Save(path.string(), false));
    // The product given twice, as another program might write it.
    std::string text = ReadFileText(path);
    const size_t from = text.find("<LumTypeData"), to = text.find("</LumTypeData>");
    ASSERT_TRUE(from != std::string::npos && to != std::string::npos);
    text.insert(to + 14, text.substr(from, to + 14 - from));
    WriteFileText(path, text);
    CLENIProject read;
    ASSERT_TRUE(read.ReadProject(path.string()));

    CLeniResultDlg shown(read, "", 0);
    SaveScreenshot(shown, "building_result_findings");
    const std::string building = shown.GetFindingsText();
    const std::string floor = CLeniResultDlg(read, "Ground", 0).GetFindingsText();
    auto count = [](const std::string& in, const std::string& what) {
        int n = 0;
        for (size_t at = in.find(what); at != std::string::npos; at = in.find(what, at + 1))
            ++n;
        return n;
    };
    const struct {
        std::string what;
        int inBuilding, inFloor;
    } findings[] = {
        {"<" + m_csRoom + "> crosses itself: its area is taken as the area drawn, 25.00 m\u00b2", 1, 1},
        {"has an area of 50.00 m\u00b2, more than its room's 25.00 m\u00b2", 1, 1},
        {"the window is longer than its wall", 1, 1},
        {"the luminaire <refid = T36> twice", 1, 0},
    };
    for (const auto& f : findings) {
        EXPECT_EQ(count(building, f.what), f.inBuilding) << f.what << "\n" << building;
        EXPECT_EQ(count(floor, f.what), f.inFloor) << f.what << "\n" << floor;
    }
    EXPECT_EQ(CLeniResultDlg(read, "", 0).GetAreaLine(), "Area: 25.00 m\u00b2");
    EXPECT_EQ(CLeniResultDlg(read, "", 3).GetFindingsText(), "");
}

TEST_F(ResultDialogsTest, DefinePrintPagesThenPrintAndPreview) {
    CLENIProject& project = Villa(1);
    // Nothing flagged: Print says so and prints nothing.
    project.SetPrintMe(false);
    project.GetFloorByName("Ground")->SetPrintMe(false);
    project.FindRoom("Ground", m_csRoom)->SetPrintMe(false);
    project.FindRoom("Ground", m_csRoom)->FindZone(m_csZone)->SetPrintMe(false);
    script.shown.clear();
    ASSERT_TRUE(Frame().RunCommand(ID_PRINT));
    EXPECT_TRUE(
        boxes.Contains("You have not specified any pages to print\nFor example, use the File menu : Define "
                       "Print Pages"))
        << BoxTexts();
    EXPECT_TRUE(script.shown.empty());

    // The tree in model order; the project and a zone inside its unflagged room are checked.
    std::vector<std::string> tree;
    script.Next<CDefinePrintPagesDlg>([&](CDefinePrintPagesDlg& d) {
        QTreeWidgetItem* root = d.GetTree()->topLevelItem(0);
        QTreeWidgetItem* zone = root->child(0)->child(0)->child(0);
        tree = {root->text(0).toStdString(), root->child(0)->text(0).toStdString(),
                root->child(0)->child(0)->text(0).toStdString(), zone->text(0).toStdString()};
        root->setCheckState(0, Qt::Checked);
        zone->setCheckState(0, Qt::Checked);
        SaveScreenshot(d, "define_print_pages");
        d.accept();
    });
    Frame().GetDocument().SetModifiedFlag(false);
    ASSERT_TRUE(Frame().RunCommand(ID_DEFINE_PRINT_PAGES));
    EXPECT_EQ(tree, (std::vector<std::string>{"Villa", "Ground", m_csRoom, m_csZone}));
    EXPECT_TRUE(project.GetPrintMe());
    EXPECT_FALSE(project.GetFloorByName("Ground")->GetPrintMe());
    EXPECT_FALSE(project.FindRoom("Ground", m_csRoom)->GetPrintMe());
    EXPECT_TRUE(project.FindRoom("Ground", m_csRoom)->FindZone(m_csZone)->GetPrintMe());
    EXPECT_TRUE(Frame().GetDocument().IsModified());

    // Print to a PDF file: the project page, the contents, the zone page and the results section
    // (the table, the building's and the floor's months, the room and luminaire schedules).
    const fs::path printed = dir / "printed.pdf";
    script.Next<QPrintDialog>([&](QPrintDialog& d) {
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(QString::fromStdString(printed.string()));
        d.done(QDialog::Accepted); // OK without the dialog's own printer choice over ours
    });
    ASSERT_TRUE(Frame().RunCommand(ID_PRINT));
    const std::string text = PdfText(printed);
    EXPECT_EQ(Occurrences(text, "PROJECT:"), 8) << text;
    EXPECT_EQ(Occurrences(text, "Page 8 of 8"), 1) << text;
    EXPECT_NE(text.find("ROOM SCHEDULE"), std::string::npos) << text;
    EXPECT_NE(text.find("LUMINAIRE SCHEDULE"), std::string::npos) << text;
    EXPECT_NE(text.find("CONTENTS"), std::string::npos) << text;
    EXPECT_NE(text.find("Annual Building LENI:"), std::string::npos) << text;
    EXPECT_NE(text.find("Zone Name:"), std::string::npos) << text;
    EXPECT_NE(text.find("19.31 kWh/(m\u00b2 year)"), std::string::npos) << text;

    // The preview paints the same pages.
    int previewPages = 0;
    script.Next<QPrintPreviewDialog>([&](QPrintPreviewDialog& d) {
        d.resize(700, 900);
        d.show();
        QApplication::processEvents();
        SaveScreenshot(d, "print_preview");
        QPrinter probe;
        probe.setOutputFormat(QPrinter::PdfFormat);
        probe.setOutputFileName(QString::fromStdString((dir / "preview.pdf").string()));
        emit d.paintRequested(&probe);
        previewPages = 1;
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_PRINT_PREVIEW));
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(Occurrences(PdfText(dir / "preview.pdf"), "PROJECT:"), 8);

    // A single page from the floor page's menu: that page alone, once.
    FloorPageContext ctx;
    ctx.parent = &Frame();
    ctx.doc = &Frame().GetDocument();
    ctx.floorName = "Ground";
    const fs::path single = dir / "single.pdf";
    script.Next<QPrintDialog>([&](QPrintDialog& d) {
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(QString::fromStdString(single.string()));
        d.done(QDialog::Accepted);
    });
    log.Clear();
    PrintFloorPage(ctx, false);
    EXPECT_EQ(log.Count("Setting to single floor <Ground>", LOG_INFO), 1);
    const std::string floorText = PdfText(single);
    EXPECT_EQ(Occurrences(floorText, "PROJECT:"), 1) << floorText;
    EXPECT_NE(floorText.find("Floor LENIsub:"), std::string::npos);
    EXPECT_FALSE(HasPendingPrintPage());
}

TEST_F(ResultDialogsTest, DefinePrintPagesTicksWhatAFloorHolds) {
    CLENIProject& project = Villa(1);
    std::vector<std::string> states;
    auto ticks = [](QTreeWidgetItem* item) {
        std::string text;
        std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* i) {
            text += i->checkState(0) == Qt::Checked ? '1' : '0';
            for (int c = 0; c < i->childCount(); ++c)
                walk(i->child(c));
        };
        walk(item);
        return text;
    };
    script.Next<CDefinePrintPagesDlg>([&](CDefinePrintPagesDlg& d) {
        QTreeWidgetItem* root = d.GetTree()->topLevelItem(0);
        QTreeWidgetItem* floor = root->child(0);
        d.GetNoneButton()->click();
        states.push_back(ticks(root));
        floor->setCheckState(0, Qt::Checked); // the floor, its room and the room's zone
        states.push_back(ticks(root));
        floor->child(0)->setCheckState(0, Qt::Unchecked); // the room and its zone, not the floor
        states.push_back(ticks(root));
        d.GetAllButton()->click();
        states.push_back(ticks(root));
        root->setCheckState(0, Qt::Unchecked); // the project page only
        states.push_back(ticks(root));
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_DEFINE_PRINT_PAGES));
    EXPECT_EQ(states, (std::vector<std::string>{"0000", "0111", "0100", "1111", "0111"}));
    EXPECT_FALSE(project.GetPrintMe());
    EXPECT_TRUE(project.GetFloorByName("Ground")->GetPrintMe());
    EXPECT_TRUE(project.FindRoom("Ground", m_csRoom)->GetPrintMe());
    EXPECT_TRUE(project.FindRoom("Ground", m_csRoom)->FindZone(m_csZone)->GetPrintMe());
}

TEST_F(ResultDialogsTest, ExportReportAsPdf) {
    // Without floors there is nothing to print or export, and no dialog opens.
    NewProject("Bare");
    script.shown.clear();
    ASSERT_TRUE(Frame().RunCommand(ID_PRINT_PREVIEW));
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kExportReportPdf));
    EXPECT_EQ(Occurrences(BoxTexts(), "No project, or empty project."), 2) << BoxTexts();
    EXPECT_TRUE(script.shown.empty());
    EXPECT_TRUE(script.fileTitles.empty());
    // Printer Setup is the platform's page setup on the printer that Print uses.
    script.Next<QPageSetupDialog>([](QPageSetupDialog& d) { d.reject(); });
    ASSERT_TRUE(Frame().RunCommand(ID_PRINT_SETUP));
    ASSERT_EQ(script.shown.size(), 1u);
    EXPECT_TRUE(script.AllUsed());

    boxes.answers.push_back(IDNO);
    Villa(2);
    const fs::path pdf = dir / "villa.pdf";
    script.File(pdf.string());
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kExportReportPdf));
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("ANNUAL RESULTS"), std::string::npos) << text;
    EXPECT_NE(text.find("MONTHLY ENERGY OF THE BUILDING"), std::string::npos);
    EXPECT_NE(text.find("1800.00"), std::string::npos);
    EXPECT_NE(text.find("150.48"), std::string::npos) << text; // March's Wl, 2 x 75.24 kWh
    EXPECT_FALSE(fs::exists(pdf.string() + ".part"));
}

TEST_F(ResultDialogsTest, ColourRoomsByLeniFillsThePlan) {
    Villa(1);
    CFloorView* view = Frame().GetView()->GetPage(0)->GetFloorView();
    ASSERT_TRUE(view);
    // The room's pixels in the colour of its LENI, 19.31 on the scale up to 20.
    auto coloured = [&] {
        view->grab();
        const QImage image = view->GetImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(255, 124, 115) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(coloured(), 0);
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kColourRoomsByLeni));
    EXPECT_TRUE(Frame().FindCommand(CMainFrame::kColourRoomsByLeni)->isChecked());
    EXPECT_GT(coloured(), view->GetImage().width() * view->GetImage().height() / 20);
    // The legend along the bottom starts at the scale's pale green.
    const QImage image = view->GetImage().convertToFormat(QImage::Format_RGB32);
    int green = 0;
    for (int y = image.height() - 60; y < image.height(); ++y)
        for (int x = 0; x < 200; ++x)
            green += qGreen(image.pixel(x, y)) == 255 && qRed(image.pixel(x, y)) < 130 ? 1 : 0;
    EXPECT_GT(green, 20);
    SaveScreenshot(Frame(), "colour_rooms_by_leni");
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kColourRoomsByLeni));
    EXPECT_FALSE(Frame().FindCommand(CMainFrame::kColourRoomsByLeni)->isChecked());
    EXPECT_EQ(coloured(), 0);
    // Another project, whose floor and room have the same names, starts uncoloured.
    ASSERT_TRUE(Frame().RunCommand(CMainFrame::kColourRoomsByLeni));
    NewProject("Villa 2");
    AddSimpleFloor("Ground", 10, 5, 3, true);
    EXPECT_FALSE(IsLeniColouringOn());
    EXPECT_FALSE(Frame().FindCommand(CMainFrame::kColourRoomsByLeni)->isChecked());
}
