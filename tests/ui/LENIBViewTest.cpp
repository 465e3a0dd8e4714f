// The project document through the main window: new, floors, tab order, save, reopen, save as,
// the calculation checks, recent files and the save prompt.

#include "ui/shell/LENIBView.h"
#include "app/LENIBApp.h"
#include "tables/BuildingTypeData.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DxfSizeDlg.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/NameDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/print/ReportPrinter.h"
#include "ui/results/LeniResultDlg.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QComboBox>
#include <algorithm>

#include <QCloseEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

std::vector<std::string> FloorNames(const CLENIProject& project) {
    std::vector<std::string> names;
    for (const CLENIFloor& floor : project.GetFloors())
        names.push_back(floor.GetName());
    return names;
}

std::vector<std::string> TabTexts(CMainFrame& f) {
    std::vector<std::string> texts;
    for (int i = 0; i < f.GetTabCtrl()->count(); ++i)
        texts.push_back(f.GetTabCtrl()->tabText(i).toStdString());
    return texts;
}

// A small plan: one 8 x 6 m outline on layer WALLS.
const char* const kPlanDxf =
    "0\nSECTION\n2\nENTITIES\n0\nLWPOLYLINE\n8\nWALLS\n90\n4\n70\n1\n10\n0\n20\n0\n10\n8\n20\n"
    "0\n10\n8\n20\n6\n10\n0\n20\n6\n0\nENDSEC\n0\nEOF\n";

class LENIBViewTest : public GuiTest {
  protected:
    CLENIBDoc& Doc() { return Frame().GetDocument(); }
    CLENIProject& Project() { return Doc().GetProject(); }
    fs::path ProjectFile(const std::string& name) { return ProjectsDir() / name / (name + ".LENI1XML"); }
    // Answers the three questions of adding a DXF floor: size OK, height, no import.
    void ScriptAddDxf(const char* height, int importAnswer) {
        script.Next<CDxfSizeDlg>([](CDxfSizeDlg& d) { d.accept(); });
        script.Next<CFloorDlg>([height](CFloorDlg& d) {
            d.GetHeightField()->setText(height);
            d.accept();
        });
        boxes.answers.push_back(importAnswer);
    }
};

TEST_F(LENIBViewTest, NewProjectCreatesItsFolderAndShowsItsNameModified) {
    NewProject("Alpha");
    EXPECT_TRUE(fs::is_directory(ProjectsDir() / "Alpha"));
    EXPECT_EQ(Project().GetName(), "Alpha");
    EXPECT_EQ(fs::path(Project().GetProjectFolder()), ProjectsDir() / "Alpha");
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Alpha[*] - ORVANTIS");
    EXPECT_TRUE(Frame().isWindowModified());
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"NO DXF"});
    EXPECT_EQ(App().GetProjectsDir(), ProjectsDir().string());
    Frame().UpdateCommandUi();
    for (int id : {ID_SAVE_PROJECT, ID_SAVE_AS, ID_PROJECT_PROPERTIES, ID_BUILDING_CALCULATION})
        EXPECT_TRUE(Frame().FindCommand(id)->isEnabled()) << id;
    EXPECT_FALSE(Frame().FindCommand(ID_FLOOR_CALCULATION)->isEnabled());

    // Cancel in the dialog leaves the empty, untitled document.
    script.Cancel();
    boxes.answers.push_back(IDNO); // do not save Alpha
    Frame().RunCommand(ID_NEW_PROJECT);
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_FALSE(Doc().IsProjectOpen());
}

TEST_F(LENIBViewTest, SimpleFloorsWriteTheirDrawingIntoTheProjectFolderAndGetATab) {
    NewProject("Alpha");
    // A file of the floor's name beside the project folders is the user's and stays untouched.
    WriteFileText(ProjectsDir() / "FLOOR_001.DXF", "mine");
    AddSimpleFloor("FLOOR_001", 12, 5, 3.2, true);
    ASSERT_TRUE(script.AllUsed());
    EXPECT_EQ(ReadFileText(ProjectsDir() / "FLOOR_001.DXF"), "mine");
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Alpha" / "FLOOR_001.DXF"));
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"FLOOR_001"});
    ASSERT_EQ(Project().GetFloorCount(), 1);
    const CLENIFloor& floor = Project().GetFloors()[0];
    EXPECT_DOUBLE_EQ(floor.GetHeight(), 3.2);
    ASSERT_EQ(floor.GetRoomCount(), 1);
    const CLENIRoom& room = floor.GetRooms()[0];
    EXPECT_NEAR(room.GetArea(), 60.0, 1e-9);
    ASSERT_EQ(room.GetZones().size(), 1u);
    EXPECT_EQ(room.GetZones()[0].GetName(), "ZONE_01_(" + room.GetName() + ")");
    EXPECT_TRUE(boxes.Contains("Added a new floor <FLOOR_001> to project <Alpha>.\n"));

    // The next free name of the series, even when a later one is taken.
    AddSimpleFloor("FLOOR_003");
    script.Next<CSimpleFloorDlg>([](CSimpleFloorDlg& d) {
        EXPECT_EQ(d.GetNameField()->text().toStdString(), "FLOOR_002");
        EXPECT_EQ(d.GetXField()->text().toStdString(), "10.0m");
        d.reject();
    });
    Frame().RunCommand(ID_ADD_SIMPLE_FLOOR);
    EXPECT_EQ(TabTexts(Frame()), (std::vector<std::string>{"FLOOR_001", "FLOOR_003"}));
    EXPECT_EQ(Frame().GetTabCtrl()->currentIndex(), 1);
}

TEST_F(LENIBViewTest, AddingADxfFloorCopiesTheFileAndReportsWhatWasAdded) {
    NewProject("Alpha");
    const fs::path plan = dir / "plan.dxf";
    WriteFileText(plan, kPlanDxf);
    script.File(plan.string());
    ScriptAddDxf("2.80 m", IDNO);
    ASSERT_TRUE(Frame().RunCommand(ID_ADD_DXF_FLOOR));
    EXPECT_TRUE(script.AllUsed());
    EXPECT_EQ(script.fileTitles, std::vector<std::string>{"Add DXF file to project..."});
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Alpha" / "plan.DXF"));
    ASSERT_EQ(Project().GetFloorCount(), 1);
    EXPECT_DOUBLE_EQ(Project().GetFloors()[0].GetHeight(), 2.8);
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"plan"});
    EXPECT_TRUE(Frame().GetView()->GetPage(0)->HasDrawing());
    EXPECT_TRUE(boxes.Contains("Import rooms, zones and windows on special layers?\n\nRooms on LENI_ROOM\n"));
    EXPECT_TRUE(boxes.Contains("Added a new floor <plan> to project <Alpha>.\n"));
    EXPECT_EQ(App().GetDxfReadDir(), dir.path().string());

    // The same floor again is refused before any dialog opens.
    boxes.boxes.clear();
    const size_t dialogs = script.shown.size();
    Frame().DropFiles({plan.string()});
    EXPECT_EQ(script.shown.size(), dialogs);
    EXPECT_TRUE(boxes.Contains("A floor with the name <plan>\nalready exists in this project"));

    // A dropped drawing runs the same dialogs; Cancel at the import question adds nothing.
    const fs::path second = dir / "second.DXF";
    WriteFileText(second, kPlanDxf);
    ScriptAddDxf("3", IDCANCEL);
    Frame().DropFiles({second.string()});
    EXPECT_EQ(Project().GetFloorCount(), 1);
    ScriptAddDxf("3", IDNO);
    Frame().DropFiles({second.string()});
    EXPECT_EQ(FloorNames(Project()), (std::vector<std::string>{"plan", "second"}));
}

TEST_F(LENIBViewTest, MovingATabReordersTheFloorsAndMarksTheProjectModified) {
    NewProject("Alpha");
    AddSimpleFloor("Ground");
    AddSimpleFloor("First");
    AddSimpleFloor("Top");
    ASSERT_TRUE(Doc().Save());
    ASSERT_FALSE(Doc().IsModified());

    Frame().GetTabCtrl()->tabBar()->moveTab(2, 0);
    EXPECT_EQ(TabTexts(Frame()), (std::vector<std::string>{"Top", "Ground", "First"}));
    EXPECT_EQ(FloorNames(Project()), (std::vector<std::string>{"Top", "Ground", "First"}));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_TRUE(Frame().isWindowModified());
    // Each page still draws its own floor after the floors moved in memory.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Frame().GetView()->GetPage(i)->GetFloorName(), TabTexts(Frame())[i]);
}

TEST_F(LENIBViewTest, AddSimpleFloorShowsTheNewRoomAndItsZoneAsDrawingOneDoes) {
    NewProject("Alpha");
    const std::string building = Project().GetDominantBuildingType();
    script.Next<CSimpleFloorDlg>([](CSimpleFloorDlg& d) {
        d.GetNameField()->setText("Ground");
        d.GetXField()->setText("10");
        d.GetYField()->setText("8");
        d.accept();
    });
    std::string proposedType;
    script.Next<CRoomPropsDlg>([&](CRoomPropsDlg& d) {
        EXPECT_EQ(d.GetNameField()->text().toStdString(), "ROOM_000");
        proposedType = d.GetRoomTypeList()->currentText().toStdString();
        d.GetNameField()->setText("Office_A");
        d.GetTdField()->setText("2000");
        d.GetTnField()->setText("400");
        d.accept();
    });
    boxes.answers.push_back(IDYES); // a single zone
    script.Next<CZonePropsDlg>([](CZonePropsDlg& d) {
        EXPECT_EQ(d.GetNameField()->text().toStdString(), "ZONE_01_(Office_A)");
        d.GetOccupancyList()->setCurrentText(CZonePropsDlg::kCalcFromFa);
        d.GetFaField()->setText("0.35");
        d.accept();
    });
    Frame().RunCommand(ID_ADD_SIMPLE_FLOOR);
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    EXPECT_EQ(proposedType, CBuildingTypeData::GetFirstRoomTypeOfBuildingType(building));
    const CLENIRoom* room = Project().FindRoom("Ground", "Office_A");
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->GetTd(), 2000);
    EXPECT_EQ(room->GetTn(), 400);
    ASSERT_EQ(room->GetZones().size(), 1u);
    EXPECT_EQ(room->GetZones()[0].GetFa(), 0.35);

    // Cancel keeps the proposed room: the floor was made for it.
    script.Next<CSimpleFloorDlg>([](CSimpleFloorDlg& d) {
        d.GetNameField()->setText("Top");
        d.accept();
    });
    script.Cancel();
    boxes.answers.push_back(IDNO);
    Frame().RunCommand(ID_ADD_SIMPLE_FLOOR);
    EXPECT_TRUE(script.AllUsed()) << BoxTexts();
    ASSERT_NE(Project().FindRoom("Top", "ROOM_000"), nullptr);
    EXPECT_EQ(Project().FindRoom("Top", "ROOM_000")->GetRoomType(), proposedType);
}

TEST_F(LENIBViewTest, SavedProjectReopensWithTheSameTabsAndModel) {
    NewProject("Alpha");
    AddSimpleFloor("Ground", 10, 8, 3, true);
    AddSimpleFloor("Top", 6, 4, 2.7);
    Project().GetFloorByName("Ground")->SetInstanceCount(3);
    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_PROJECT));
    EXPECT_FALSE(Doc().IsModified());
    const std::string saved = ReadFileText(ProjectFile("Alpha"));
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(App().GetRecentFile(0), ProjectFile("Alpha").string());

    // Open it again through the recent-file item.
    Frame().UpdateRecentFileItems();
    EXPECT_EQ(Frame().FindCommand(ID_RECENT_FIRST)->text().toStdString(),
              "&1: " + ShortenRecentPath(ProjectFile("Alpha").string()));
    EXPECT_TRUE(Frame().FindCommand(ID_RECENT_FIRST)->isVisible());
    EXPECT_FALSE(Frame().FindCommand(ID_RECENT_FIRST + 1)->isVisible());
    ASSERT_TRUE(Frame().RunCommand(ID_RECENT_FIRST));
    EXPECT_EQ(TabTexts(Frame()), (std::vector<std::string>{"Ground", "Top"}));
    EXPECT_EQ(Frame().GetTabCtrl()->currentIndex(), 1);
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetInstanceCount(), 3);
    EXPECT_EQ(Project().GetFloorByName("Ground")->GetRooms()[0].GetZones().size(), 1u);
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Alpha[*] - ORVANTIS");
    EXPECT_FALSE(Doc().IsModified());
    // Written again, the file is the same.
    ASSERT_TRUE(Doc().Save());
    EXPECT_EQ(ReadFileText(ProjectFile("Alpha")), saved);

    // A floor whose drawing went missing stays in the project without a tab.
    fs::remove(ProjectsDir() / "Alpha" / "Top.DXF");
    Frame().DropFiles({ProjectFile("Alpha").string()});
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"Ground"});
    EXPECT_EQ(Project().GetFloorCount(), 2);
    EXPECT_TRUE(boxes.Contains("CLENIBView::LPD, Dxf Floor file:\n"));
}

// Opening reads the drawing of the floor shown only; another floor's is read when its tab is shown
// or something asks for its page (the printout's floor pictures), each with its own floor's model.
TEST_F(LENIBViewTest, OpeningReadsTheShownFloorsDrawingAndTheOthersWhenAskedFor) {
    NewProject("Tower");
    AddSimpleFloor("Ground", 10, 8, 3, true);
    AddSimpleFloor("Middle", 6, 4, 3);
    AddSimpleFloor("Top", 5, 5, 3);
    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_PROJECT));
    Frame().DropFiles({ProjectFile("Tower").string()});
    CLENIBView& view = *Frame().GetView();
    EXPECT_EQ(TabTexts(Frame()), (std::vector<std::string>{"Ground", "Middle", "Top"}));
    EXPECT_EQ(Frame().GetTabCtrl()->currentIndex(), 2);
    EXPECT_EQ((std::vector<bool>{view.IsPageRead(0), view.IsPageRead(1), view.IsPageRead(2)}),
              (std::vector<bool>{false, false, true}));

    Frame().GetTabCtrl()->setCurrentIndex(1);
    EXPECT_TRUE(view.IsPageRead(1));
    EXPECT_FALSE(view.IsPageRead(0));
    const CDxfFile* ground = GetViewDrawings(&view)("GROUND");
    EXPECT_TRUE(view.IsPageRead(0));
    for (int i = 0; i < 3; ++i) {
        const CDxfTabDlg* page = view.GetPage(i);
        ASSERT_TRUE(page->HasDrawing());
        EXPECT_EQ(page->GetFloorName(), TabTexts(Frame())[i]);
    }
    EXPECT_EQ(ground, view.GetPage(0)->GetDxfFile());
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(LENIBViewTest, SaveAsRefusesTheSameNameAndReplacesAnExistingFolderAfterYes) {
    NewProject("Alpha");
    AddSimpleFloor("Ground");
    ASSERT_TRUE(Doc().Save());

    auto name = [this](const char* text) {
        script.Next<CNameDlg>([text](CNameDlg& d) {
            d.GetNameField()->setText(text);
            d.accept();
        });
    };
    name("ALPHA");
    Frame().RunCommand(ID_SAVE_AS);
    EXPECT_TRUE(boxes.Contains("The new project name is the same as the old one!"));
    EXPECT_EQ(Project().GetName(), "Alpha");

    // An existing project folder: No keeps it, Yes and Yes again (to the list of what would go)
    // replace all it holds.
    fs::create_directories(ProjectsDir() / "Beta" / "sub");
    WriteFileText(ProjectsDir() / "Beta" / "old.txt", "old");
    WriteFileText(ProjectsDir() / "Beta" / "Beta.LENI1XML", "an older Beta");
    name("Beta");
    boxes.answers.push_back(IDNO);
    Frame().RunCommand(ID_SAVE_AS);
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Beta" / "old.txt"));
    EXPECT_EQ(Project().GetName(), "Alpha");
    name("Beta");
    boxes.answers.push_back(IDYES);
    boxes.answers.push_back(IDNO);
    Frame().RunCommand(ID_SAVE_AS);
    EXPECT_TRUE(boxes.Contains("These files and folders of the project Beta will be DELETED:\n"));
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Beta" / "old.txt"));
    EXPECT_EQ(Project().GetName(), "Alpha");

    name("Beta");
    boxes.answers.push_back(IDYES);
    boxes.answers.push_back(IDYES);
    Frame().RunCommand(ID_SAVE_AS);
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(ProjectsDir() / "Beta"))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Beta.LENI1XML", "Ground.DXF"}));
    EXPECT_EQ(Project().GetName(), "Beta");
    EXPECT_EQ(Frame().windowTitle().toStdString(), "Beta[*] - ORVANTIS");
    EXPECT_TRUE(fs::exists(ProjectFile("Alpha")));

    // Names that would leave the projects folder never reach the file system.
    for (const char* bad : {"..", ".", "a/b", " . "}) {
        boxes.boxes.clear();
        name(bad);
        Frame().RunCommand(ID_SAVE_AS);
        EXPECT_TRUE(boxes.Contains("Please don't use these characters in the name:")) << bad;
        EXPECT_EQ(Project().GetName(), "Beta") << bad;
    }
    EXPECT_TRUE(fs::exists(ProjectsDir() / "Alpha"));
}

TEST_F(LENIBViewTest, SaveAsNeverDeletesItsOwnFolderNorAFolderThatIsNoProject) {
    auto saveAs = [this](const char* text) {
        script.Next<CNameDlg>([text](CNameDlg& d) {
            d.GetNameField()->setText(text);
            d.accept();
        });
        boxes.boxes.clear();
        for (int i = 0; i < 3; ++i)
            boxes.answers.push_back(IDYES); // whatever is asked
        Frame().RunCommand(ID_SAVE_AS);
        boxes.answers.clear();
    };
    // "Alpha." lives in the folder "Alpha_": a copy named "Alpha_" would go to the same folder.
    NewProject("Alpha.");
    AddSimpleFloor("Ground");
    ASSERT_TRUE(Doc().Save());
    const fs::path own = ProjectsDir() / "Alpha_";
    ASSERT_TRUE(fs::exists(own / "Ground.DXF"));
    saveAs("Alpha_");
    EXPECT_TRUE(boxes.Contains("holds this project itself, so a copy cannot replace it."));
    EXPECT_TRUE(fs::exists(own / "Ground.DXF"));
    EXPECT_EQ(Project().GetName(), "Alpha.");

    // A folder of that name holding anything but its own project stays as it is.
    fs::create_directories(ProjectsDir() / "Photos");
    WriteFileText(ProjectsDir() / "Photos" / "holiday.jpg", "precious");
    saveAs("Photos");
    EXPECT_TRUE(boxes.Contains("holds no project named Photos, so it is not replaced."));
    EXPECT_EQ(ReadFileText(ProjectsDir() / "Photos" / "holiday.jpg"), "precious");
    EXPECT_EQ(Project().GetName(), "Alpha.");
    EXPECT_TRUE(fs::exists(own / "Ground.DXF"));
}

TEST_F(LENIBViewTest, BuildingCalculationChecksTheFloorsInOrder) {
    NewProject("Alpha");
    boxes.boxes.clear();
    Frame().RunCommand(ID_BUILDING_CALCULATION);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "There needs to be at least one floor\nin the project to do a calculation.\n"
              "Please use the \"Floor DXF +\" icon\n");

    AddSimpleFloor("Ground", 10, 10, 3, true);
    AddSimpleFloor("Top", 10, 10, 3, true);
    CLENIRoofLight roofLight;
    CLENIFloor* ground = Project().GetFloorByName("Ground");
    ground->GetRoomByIndex(0)->AddRoofLight(roofLight);
    ground->SetInstanceCount(2);
    boxes.boxes.clear();
    Frame().RunCommand(ID_BUILDING_CALCULATION);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Roof lights have to be on the top floor\n\nThe top floor is the rightmost tab.\n"
              "The floor <Ground> has a rooflight but is not the rightmost tab.\nTabs can be "
              "dragged with the mouse.");

    // Dragging Ground to the right makes it the top floor; it stands for two storeys.
    Frame().GetTabCtrl()->tabBar()->moveTab(0, 1);
    boxes.boxes.clear();
    Frame().RunCommand(ID_BUILDING_CALCULATION);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Some multiple instance floors have roof lights.\nPlease correct this error\n");

    Project().GetFloorByName("Ground")->SetInstanceCount(1);
    boxes.boxes.clear();
    std::string area, result;
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        area = d.GetAreaLine();
        result = d.GetResultLine();
        d.accept();
    });
    Frame().RunCommand(ID_BUILDING_CALCULATION);
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
    EXPECT_EQ(result.rfind("LENI=", 0), 0u) << result;
    EXPECT_EQ(area, "Area: 200.00 m\u00b2");
}

TEST_F(LENIBViewTest, SpecialLayersOfAnAddedDrawingBecomeRoomsAndZones) {
    NewProject("Alpha");
    const fs::path plan = dir / "zoned.dxf";
    WriteFileText(
        plan,
        "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n3\n"
        "0\nLAYER\n2\nLENI_ROOM\n70\n0\n62\n3\n0\nLAYER\n2\nLENI_ZONE\n70\n0\n62\n1\n"
        "0\nLAYER\n2\nWALLS\n70\n0\n62\n7\n0\nENDTAB\n0\nENDSEC\n"
        "0\nSECTION\n2\nENTITIES\n"
        "0\nLWPOLYLINE\n8\nLENI_ROOM\n90\n4\n70\n1\n10\n0\n20\n0\n10\n8\n20\n0\n10\n8\n20\n6\n10\n0\n20\n6\n"
        "0\nLWPOLYLINE\n8\nLENI_ZONE\n90\n4\n70\n1\n10\n0\n20\n0\n10\n4\n20\n0\n10\n4\n20\n6\n10\n0\n20\n6\n"
        "0\nLWPOLYLINE\n8\nWALLS\n90\n2\n70\n0\n10\n0\n20\n0\n10\n8\n20\n0\n0\nENDSEC\n0\nEOF\n");
    ScriptAddDxf("3", IDYES);
    Frame().GetView()->AddDxfFloor(plan.string());
    ASSERT_EQ(Project().GetFloorCount(), 1);
    const CLENIFloor& floor = Project().GetFloors()[0];
    ASSERT_EQ(floor.GetRoomCount(), 1) << BoxTexts() << log.All();
    EXPECT_NEAR(floor.GetRooms()[0].GetArea(), 48.0, 1e-9);
    EXPECT_EQ(floor.GetRooms()[0].GetZones().size(), 1u);
    EXPECT_TRUE(
        boxes.Contains("Added a new floor <zoned> to project <Alpha>.\nIt had 2 entities on special "
                       "layers.\nThere were 1 rooms and 1 zones.\nThere were 0 windows and 0 rooflights.\n"
                       "There were 0 atriums.\n"))
        << BoxTexts();
    EXPECT_FALSE(boxes.Contains("There were errors on the special LENI layers"));
}

// The building worked out by hand for the energy calculation, opened in the window.
class HandBuildingTest : public LENIBViewTest {
  protected:
    void SetUp() override {
        LENIBViewTest::SetUp();
        const fs::path folder = ProjectsDir() / "HAND";
        fs::create_directories(folder);
        fs::copy_file(fs::path(ORVANTIS_TEST_DATA) / "energy" / "hand" / "HAND.LENI1XML",
                      folder / "HAND.LENI1XML");
        WriteFileText(folder / "Ground.DXF", kPlanDxf);
        Frame().DropFiles({(folder / "HAND.LENI1XML").string()});
        ASSERT_EQ(TabTexts(Frame()), std::vector<std::string>{"Ground"});
    }
};

TEST_F(HandBuildingTest, CalculationsShowTheAnnualLeniWorkedOutByHand) {
    // Wl = 324 + 123.419 + 53.724 = 501.143 kWh, Wp = 30.66 kWh, 20 m2: LENI 26.590.
    boxes.boxes.clear();
    std::vector<std::string> building, floor;
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        building = {d.GetEnergyLine(), d.GetAreaLine(), d.GetResultLine()};
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_BUILDING_CALCULATION));
    EXPECT_EQ(building, (std::vector<std::string>{"Annual Building Energy: 531.80 kWh", "Area: 20.00 m\u00b2",
                                                  "LENI=26.59 kWh/(m\u00b2 year)"}));
    script.Next<CLeniResultDlg>([&](CLeniResultDlg& d) {
        floor = {d.GetEnergyLine(), d.GetAreaLine(), d.GetResultLine()};
        d.accept();
    });
    ASSERT_TRUE(Frame().RunCommand(ID_FLOOR_CALCULATION));
    EXPECT_EQ(floor, (std::vector<std::string>{"Annual Floor Energy: 531.80 kWh", "Floor Area: 20.00 m\u00b2",
                                               "LENIsub=26.59 kWh/(m\u00b2 year)"}));
    EXPECT_TRUE(boxes.boxes.empty()) << BoxTexts();
}

TEST_F(HandBuildingTest, SaveWithCalculationAndTheResultsFileCarryTheNumbers) {
    ASSERT_TRUE(Frame().RunCommand(ID_SAVE_WITH_CALCULATION));
    EXPECT_NE(ReadFileText(ProjectFile("HAND")).find("<Results"), std::string::npos);

    const fs::path results = dir / "HAND_NUVA_DB.XML";
    script.File(results.string());
    boxes.boxes.clear();
    ASSERT_TRUE(Frame().RunCommand(ID_CREATE_NUVA_DB));
    EXPECT_EQ(script.fileTitles.back(), "Create NUVA DB XML file...");
    EXPECT_EQ(script.fileStarts.back(), (dir / "Documents" / "HAND_NUVA_DB.XML").string());
    EXPECT_NE(ReadFileText(results).find("<AnnualLENI>26.5901559</AnnualLENI>"), std::string::npos);
    ASSERT_EQ(boxes.boxes.size(), 1u) << BoxTexts();
    EXPECT_EQ(boxes.boxes[0].text, "Please send the file:\n " + results.string() +
                                       "\nto\n results@orvantis.example\nwith ORVANTIS in the subject line.");

    // Cancel writes nothing; an empty project gets its message and no dialog.
    fs::remove(results);
    Frame().RunCommand(ID_CREATE_NUVA_DB);
    EXPECT_FALSE(fs::exists(results));
    boxes.answers.push_back(IDNO);
    NewProject("Empty");
    const size_t fileDialogs = script.fileTitles.size();
    boxes.boxes.clear();
    Frame().RunCommand(ID_CREATE_NUVA_DB);
    EXPECT_EQ(script.fileTitles.size(), fileDialogs);
    EXPECT_EQ(boxes.boxes.at(0).text, "Cannot create DB XML file, no project, or empty project.");
}

TEST_F(LENIBViewTest, RecentFilesKeepTheirOrderForAKnownFileAndPutANewOneFirst) {
    for (const char* name : {"C", "B", "A"}) {
        NewProject(name);
        ASSERT_TRUE(Doc().Save());
    }
    auto recent = [] {
        std::vector<std::string> names;
        for (int i = 0; i < 6 && !App().GetRecentFile(i).empty(); ++i)
            names.push_back(fs::path(App().GetRecentFile(i)).stem().string());
        return names;
    };
    ASSERT_EQ(recent(), (std::vector<std::string>{"A", "B", "C"}));
    script.File(ProjectFile("B").string());
    Frame().RunCommand(ID_OPEN_PROJECT);
    // A project without floors opens, showing so in its one tab.
    EXPECT_EQ(Project().GetName(), "B") << log.All();
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"NO DXF"});
    EXPECT_TRUE(Doc().IsProjectOpen());
    EXPECT_EQ(recent(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(script.fileTitles.back(), "Open LENI comprehensive method project");
    EXPECT_EQ(script.fileStarts.back(), ProjectsDir().string());
    NewProject("D");
    ASSERT_TRUE(Doc().Save());
    EXPECT_EQ(recent(), (std::vector<std::string>{"D", "A", "B", "C"}));

    // An entry beyond the list only logs; a file gone since shows its message.
    Doc().OpenRecentFile(4);
    EXPECT_TRUE(log.Contains("***WARNING*** OpenMRUFile (4) strange filename <>"));
    fs::remove(ProjectFile("A"));
    boxes.boxes.clear();
    Doc().OpenRecentFile(1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "This file\n" + ProjectFile("A").string() + "\nhas been deleted or moved");
    EXPECT_EQ(Project().GetName(), "D");
}

TEST_F(LENIBViewTest, AModifiedProjectIsOfferedForSavingBeforeNewOpenAndClose) {
    NewProject("Alpha");
    AddSimpleFloor("Ground");
    ASSERT_TRUE(Doc().IsModified());

    // Cancel keeps everything.
    boxes.boxes.clear();
    boxes.answers.push_back(IDCANCEL);
    Frame().RunCommand(ID_NEW_PROJECT);
    EXPECT_EQ(boxes.boxes.at(0).text, "Save the current project (Alpha)?");
    EXPECT_EQ(Project().GetFloorCount(), 1);
    EXPECT_TRUE(script.AllUsed());

    boxes.answers.push_back(IDCANCEL);
    Frame().RunCommand(ID_OPEN_PROJECT);
    EXPECT_EQ(boxes.boxes.back().text, "Save the current project(Alpha)?");
    EXPECT_EQ(Project().GetName(), "Alpha");

    QCloseEvent close;
    boxes.answers.push_back(IDCANCEL);
    QApplication::sendEvent(&Frame(), &close);
    EXPECT_FALSE(close.isAccepted());

    // Yes saves, then the command goes on.
    boxes.answers.push_back(IDYES);
    Frame().RunCommand(ID_OPEN_PROJECT);
    EXPECT_TRUE(fs::exists(ProjectFile("Alpha")));
    EXPECT_EQ(Doc().GetTitle(), "Untitled");

    // Nothing modified: no question.
    boxes.boxes.clear();
    QCloseEvent closeAgain;
    QApplication::sendEvent(&Frame(), &closeAgain);
    EXPECT_TRUE(closeAgain.isAccepted());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(LENIBViewTest, AProjectFileThatCannotBeReadLeavesAnEmptyDocumentThatCannotOverwriteIt) {
    fs::create_directories(ProjectsDir() / "Broken");
    const std::string damaged =
        "<?xml version=\"1.0\" ?>\n<NUVA_LENI_V3><Name>Broken</Name><FloorList><Floor";
    WriteFileText(ProjectFile("Broken"), damaged);
    Frame().DropFiles({ProjectFile("Broken").string()});
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_FALSE(Doc().IsProjectOpen());
    Frame().UpdateCommandUi();
    EXPECT_FALSE(Frame().FindCommand(ID_SAVE_PROJECT)->isEnabled());
    EXPECT_FALSE(Frame().RunCommand(ID_SAVE_PROJECT));
    EXPECT_EQ(ReadFileText(ProjectFile("Broken")), damaged);
}

TEST_F(LENIBViewTest, RemovingFloorsKeepsOneEmptyTab) {
    NewProject("Alpha");
    AddSimpleFloor("Ground");
    AddSimpleFloor("Top");
    boxes.answers.push_back(IDNO);
    Frame().RunCommand(ID_REMOVE_DXF_FLOOR);
    EXPECT_EQ(Project().GetFloorCount(), 2);
    EXPECT_EQ(boxes.boxes.back().text, "Remove this DXF floor:\nTop\nfrom the project?");

    boxes.answers.push_back(IDYES);
    Frame().RunCommand(ID_REMOVE_DXF_FLOOR);
    EXPECT_EQ(FloorNames(Project()), std::vector<std::string>{"Ground"});
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"Ground"});
    boxes.answers.push_back(IDYES);
    Frame().RunCommand(ID_REMOVE_DXF_FLOOR);
    EXPECT_EQ(Project().GetFloorCount(), 0);
    EXPECT_EQ(TabTexts(Frame()), std::vector<std::string>{"NO DXF FLOOR LOADED"});
    EXPECT_FALSE(Frame().GetView()->GetPage(0)->HasDrawing());
    boxes.boxes.clear();
    Frame().RunCommand(ID_REMOVE_DXF_FLOOR);
    EXPECT_EQ(boxes.boxes.at(0).text, "There are no DXF floors to remove");
}

} // namespace
