// Every numeric field of every dialog, through the dialog runner as the program opens them: a good
// value, the value with its unit, the other decimal sign, letters, an empty field and the values
// just outside each limit. A good value is stored exactly; anything else is refused with its
// message, the keyboard back in the field and the value kept. The same table runs under a point
// and a comma decimal locale.

#include "app/LENIBDoc.h"
#include "base/TextUtils.h"
#include "tables/BuildingTypeData.h"
#include "tables/FdssnaTables.h"
#include "model/LENIProject.h"
#include "products/LumTypeData.h"
#include "ui/GuiTestSupport.h"
#include "ui/dialogs/DialogRunner.h"
#include "ui/dialogs/FloorDlg.h"
#include "ui/dialogs/LumCntDlg.h"
#include "ui/dialogs/MultiFloorDlg.h"
#include "ui/dialogs/NewProjDlg.h"
#include "ui/dialogs/RoomPropsDlg.h"
#include "ui/dialogs/SimpleFloorDlg.h"
#include "ui/dialogs/ZonePropsDlg.h"
#include "ui/editor/DxfViewSettings.h"
#include "ui/openings/AtrioPropsDlg.h"
#include "ui/openings/RoofLightDlg.h"
#include "ui/openings/ShadingDlg.h"
#include "ui/openings/WindowDlg.h"
#include "ui/products/ObjDataDlg.h"
#include "ui/shell/MainFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Make = std::function<std::unique_ptr<CCheckedDialog>()>;
using Stored = std::function<double(CCheckedDialog&)>;

template <class Dialog> Dialog& As(CCheckedDialog& d) {
    return dynamic_cast<Dialog&>(d);
}

struct Limit {
    std::string text; // '.' stands for the decimal sign of the locale
    std::string message;
};

// One numeric field: where it is, what it takes, what it refuses.
struct NumberRow {
    Make make;
    const char* field; // its name in a refusal
    const char* range; // its range in a refusal
    bool whole;
    std::string good; // '.' stands for the decimal sign
    double value;     // what the good text stores
    const char* unit; // "" none
    Stored stored;
    std::vector<Limit> limits;
};

class TypedNumbersTest : public GuiTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        QLocale::setDefault(QLocale(QString::fromLatin1(GetParam())));
        sign = QLocale().decimalPoint().toStdString();
        other = sign == "." ? "," : ".";

        const HdirHglobRange r = GetHdirHglobMinMaxForLatitude(45);
        hdirMin = r.min;
        hdirMax = r.max;
        ResetProject();

        CLENIRoom office;
        office.InitFromPolygon("Office", {{0, 0}, {5, 0}, {5, 4}, {0, 4}}, 3.0);
        office.SetRoomType(CBuildingTypeData::GetRoomTypeString(0, 0));
        CLENIZone zone;
        zone.InitFromPolygon("Z1", {{0, 0}, {5, 0}, {5, 4}, {0, 4}});
        office.AddZone(zone);
        window.m_dWidth = 1.5;
        window.m_dHeight = 1.0;
        window.m_dSillHeight = 0.5;
        window.m_dStart = 0.25;
        window.m_iWallId = 0;
        office.AddWindow(window);
        floor.AddRoom(office);
        atrium.m_csName = "ATRIO_01_F1";
        atrium.SetPolygon({{6, 0}, {16, 0}, {16, 10}, {6, 10}});
        product.SetRefId("LUM-1");
        product.SetMaxPow(36.0);
        product.SetTypeFlags(7); // luminaire, control and emergency: every power field is typed
    }
    void TearDown() override {
        SetDialogHook(nullptr);
        QLocale::setDefault(QLocale::c());
        GuiTest::TearDown();
    }
    // '.' of a table text in the given sign.
    static std::string In(const std::string& text, const std::string& decimalSign) {
        std::string out;
        for (char c : text)
            out += c == '.' ? decimalSign : std::string(1, c);
        return out;
    }
    // The project as every case of its dialog finds it.
    void ResetProject() {
        project.Clear();
        project.SetName("Alpha");
        project.SetDominantBuildingType(CBuildingTypeData::GetBuildingTypeNames()[1]);
        project.SetLocation("Roma");
        project.SetYearBuilt(1999);
        project.SetLatitude(45.0);
        project.SetHdirHglob(hdirMin);
    }
    const CLENIRoom& Office() const { return floor.GetRooms()[0]; }
    std::vector<NumberRow> Rows();

    std::string sign, other;
    double hdirMin = 0, hdirMax = 0;
    CLENIProject project;
    CLENIFloor floor{"F1", 3.0};
    CLENIWindow window;
    CLENIAtrium atrium;
    CLumTypeData product;
};

std::vector<NumberRow> TypedNumbersTest::Rows() {
    const std::string tooBig = "Plan dimensions too big or too small";
    const std::string floorHeight = "Floor height must be from 1.00 to 200.00 meters.";
    const std::string grid = "Grid snap size must be between 0.10m and 100.00m";
    const std::string workplane = "Work surface height should be between 0.000 annd 2.000 inclusive";
    const std::string roomMf = "Maintenance factor should be between 0.000 and 1.000";
    const std::string fcc =
        "Fcc (efficiency factor of constant illumination control or\nconstant illuminance factor) "
        "must be between 0.0 and 1.0\nIf you don't know Fcc, then set Fcc=1.0.";
    const std::string gdf = "Values of Tau have to be between 0.0 and 1.0";
    const std::string kObl = "Values of K Obl... have to be between 0.0 and 1.0";
    const std::string angle0 = "All angles must be equal to or greater than 0 degrees.";
    const std::string angle90 = "All angles must be less than 90 degrees.";
    const std::string factor = ": enter a factor above 0, at most 1";
    const std::string metres500 = ": enter metres above 0, at most 500";
    const std::string hour = "tn + td = 8761. There are only\n8760 hours per year";
    const std::string mid = FormatDouble("%.2f", (hdirMin + hdirMax) / 2);

    Make projectDlg = [this] {
        ResetProject();
        return std::make_unique<CNewProjDlg>(project, PROJECT_DIALOG_PROPERTIES, ProjectsDir().string());
    };
    Make floorDlg = [] { return std::make_unique<CFloorDlg>(3.0); };
    Make instancesDlg = [] { return std::make_unique<CMultiFloorDlg>(1); };
    Make simpleDlg = [this] { return std::make_unique<CSimpleFloorDlg>(project); };
    Make gridDlg = [] { return std::make_unique<CDxfViewSettings>(1.0); };
    Make countDlg = [] { return std::make_unique<CLumCntDlg>(1); };
    Make roomDlg = [this] {
        auto d = std::make_unique<CRoomPropsDlg>(Office(), &floor, true, "Offices");
        d->GetDcajMethodList()->setCurrentIndex(1); // the user's Dcaj is read
        d->GetTdField()->setText("2000");
        d->GetTnField()->setText("1000");
        return d;
    };
    Make zoneDlg = [this] {
        auto d = std::make_unique<CZonePropsDlg>(Office().GetZones()[0], &Office(), true);
        d->GetLuxList()->setCurrentIndex(d->GetLuxList()->findText("500"));
        d->GetCicBox()->click();                   // Fcc and the overdesign lux are typed
        d->GetOccupancyList()->setCurrentIndex(1); // and the user's Fa
        return d;
    };
    Make windowDlg = [this] { return std::make_unique<CWindowDlg>(window, Office(), floor, project); };
    Make slopedDlg = [this] {
        auto d = std::make_unique<CWindowDlg>(window, Office(), floor, project);
        d->GetTypeList()->setCurrentIndex(VWT_HORIZONTAL_SLOPED);
        d->GetGammaField()->setText("30");
        d->GetLengthField()->setText("1");
        d->GetDistanceField()->setText("0");
        d->GetHeightToSlopeField()->setText("2");
        return d;
    };
    Make shadingDlg = [this] {
        auto d = std::make_unique<CShadingDlg>(window, floor);
        d->GetGdfCheck()->setChecked(true);
        return d;
    };
    Make flatDlg = [] { return std::make_unique<CRoofLightDlg>(CLENIRoofLight(), 20.0, 8.0); };
    Make shedDlg = [] {
        CLENIRoofLight r;
        r.m_iType = RL_SHED;
        r.SetOrientation(RLO_SOUTH);
        r.m_dGammaF = 60.0;
        r.m_dHg = 0.5;
        r.m_dHw = 1.0;
        return std::make_unique<CRoofLightDlg>(r, 20.0, 8.0);
    };
    Make atriumDlg = [this] { return std::make_unique<CAtrioPropsDlg>(atrium, 6.0); };
    Make productDlg = [this] { return std::make_unique<CObjDataDlg>(product, OBJDATA_EDIT, nullptr); };

    auto proj = [this](double (CLENIProject::*get)() const) {
        return [this, get](CCheckedDialog&) { return (project.*get)(); };
    };
    auto room = [](auto get) {
        return
            [get](CCheckedDialog& d) { return static_cast<double>((As<CRoomPropsDlg>(d).GetRoom().*get)()); };
    };
    auto zone = [](double (CLENIZone::*get)() const) {
        return [get](CCheckedDialog& d) { return (As<CZonePropsDlg>(d).GetZone().*get)(); };
    };
    auto win = [](double CLENIWindow::*member) {
        return [member](CCheckedDialog& d) { return As<CWindowDlg>(d).GetWindow().*member; };
    };
    auto shade = [](double CLENIWindow::*member) {
        return [member](CCheckedDialog& d) { return As<CShadingDlg>(d).GetWindow().*member; };
    };
    auto roof = [](double CLENIRoofLight::*member) {
        return [member](CCheckedDialog& d) { return As<CRoofLightDlg>(d).GetRoofLight().*member; };
    };
    auto atr = [](double CLENIAtrium::*member) {
        return [member](CCheckedDialog& d) { return As<CAtrioPropsDlg>(d).GetAtrium().*member; };
    };
    auto prod = [](double (CLumTypeData::*get)() const) {
        return [get](CCheckedDialog& d) { return (As<CObjDataDlg>(d).GetProduct().*get)(); };
    };
    const char* deg = "\xC2\xB0";

    return {
        {projectDlg,
         "Default maintenance factor MF",
         "a factor from 0 to 1",
         false,
         "0.85",
         0.85,
         "",
         proj(&CLENIProject::GetMaintenanceFactor),
         {{"-0.01", "Maintenance factor should be between 0 and 1\nA guide default is 0.70"},
          {"1.01", "Maintenance factor should be between 0 and 1\nA guide default is 0.70"}}},
        {projectDlg,
         "Latitude",
         "degrees from 0 to 90",
         false,
         "45.25",
         45.25,
         deg,
         proj(&CLENIProject::GetLatitude),
         {{"-0.1", "Latitude should be between 0.0 and 90.0."},
          {"90.1", "Latitude should be between 0.0 and 90.0."}}},
        {projectDlg,
         "Longitude",
         "degrees from -180 to 180",
         false,
         "-7.75",
         -7.75,
         "deg",
         proj(&CLENIProject::GetLongitude),
         {{"-180.1", "Longitude should be between -180.0 and 180.0.\n0\u00b0... +180\u00b0 Eastwards from "
                     "Greenwich,\n0\u00b0... -180\u00b0 Westwards from Greenwich"}}},
        {projectDlg,
         "Project Hdir/Hglob",
         "a ratio from 0 to 1",
         false,
         mid,
         ParseDouble(mid),
         "",
         proj(&CLENIProject::GetHdirHglob),
         {{FormatDouble("%.3f", hdirMax + 0.001),
           StrPrintf("For latitude 45.0\u00b0 Hdir/Hglob should be between %.2f and %.2f.", hdirMin,
                     hdirMax)}}},
        {projectDlg,
         "Year built",
         "a 4 digit year, or 0",
         true,
         "1987",
         1987,
         "",
         [this](CCheckedDialog&) { return static_cast<double>(project.GetYearBuilt()); },
         {{"999", "One of the years has to be 4 digit year\nAnd the other has to be 0"},
          {"10000", "One of the years has to be 4 digit year\nAnd the other has to be 0"}}},
        {floorDlg,
         "Floor to ceiling distance",
         "metres from 1 to 200",
         false,
         "3.55",
         3.55,
         "m",
         [](CCheckedDialog& d) { return As<CFloorDlg>(d).GetHeight(); },
         {{"0.99", floorHeight}, {"200.01", floorHeight}}},
        {instancesDlg,
         "Number of consecutive instances of the floor",
         "a whole number from 1 to 1000",
         true,
         "4",
         4,
         "",
         [](CCheckedDialog& d) { return static_cast<double>(As<CMultiFloorDlg>(d).GetInstances()); },
         {{"0", "Floors can have between 1 and 1000 instances."},
          {"1001", "Floors can have between 1 and 1000 instances."}}},
        {simpleDlg,
         "X length",
         "metres from 0.1 to 1000",
         false,
         "12.5",
         12.5,
         "m",
         [](CCheckedDialog& d) { return As<CSimpleFloorDlg>(d).GetXLength(); },
         {{"0.09", tooBig}, {"1000.1", tooBig}}},
        {simpleDlg,
         "Y width",
         "metres from 0.1 to 1000",
         false,
         "7.25",
         7.25,
         "m",
         [](CCheckedDialog& d) { return As<CSimpleFloorDlg>(d).GetYWidth(); },
         {{"0.09", tooBig}, {"1000.1", tooBig}}},
        {simpleDlg,
         "Z height",
         "metres from 1 to 200",
         false,
         "3.5",
         3.5,
         "m",
         [](CCheckedDialog& d) { return As<CSimpleFloorDlg>(d).GetZHeight(); },
         {{"0.94", "Height (0.9m) too big or too small"}, {"200.1", "Height (200.1m) too big or too small"}}},
        {gridDlg,
         "Grid snap size",
         "metres from 0.1 to 100",
         false,
         "0.25",
         0.25,
         "m",
         [](CCheckedDialog& d) { return As<CDxfViewSettings>(d).GetGridSize(); },
         {{"0.09", grid}, {"100.01", grid}}},
        {countDlg,
         "Number of luminaires",
         "a whole number from 0 to 1000000",
         true,
         "7",
         7,
         "",
         [](CCheckedDialog& d) { return static_cast<double>(As<CLumCntDlg>(d).GetCount()); },
         {{"-1", "Please enter an integer."}, {"1000001", "Please enter an integer."}}},
        {roomDlg,
         "Workplane height",
         "metres from 0 to 2",
         false,
         "0.85",
         0.85,
         "m",
         room(&CLENIRoom::GetWrkSrfHi),
         {{"-0.001", workplane}, {"2.001", workplane}}},
        {roomDlg,
         "Room maintenance factor MF",
         "a factor from 0 to 1",
         false,
         "0.75",
         0.75,
         "",
         room(&CLENIRoom::GetMaintenanceFactor),
         {{"-0.01", roomMf}, {"1.01", roomMf}}},
        {roomDlg,
         "User Dcaj",
         "per cent from 0 to 100",
         false,
         "12.5",
         12.5,
         "%",
         room(&CLENIRoom::GetUserDcaj),
         {{"-0.1", "User Dcaj should be between 0 % and 100 %"},
          {"100.1", "User Dcaj should be between 0 % and 100 %"}}},
        {roomDlg,
         "Daylight time td",
         "hours per year from 0 to 8760",
         true,
         "2250",
         2250,
         "h",
         room(&CLENIRoom::GetTd),
         {{"-1", "Daylight hours must be 0 or more"}, {"7761", hour}}},
        {roomDlg,
         "Daylight absence time tn",
         "hours per year from 0 to 8760",
         true,
         "1500",
         1500,
         "h",
         room(&CLENIRoom::GetTn),
         {{"-1", "Daylight absence hours must be 0 or more"}, {"6761", hour}}},
        {zoneDlg,
         "Overdesign zone lux",
         "lux, at least the maintained illuminance",
         false,
         "650.5",
         650.5,
         "lx",
         zone(&CLENIZone::GetRealIlluminance),
         {{"499.99", "Overdesign lux should be equal to or greater than standard lx."}}},
        {zoneDlg,
         "Fcc",
         "a factor from 0 to 1",
         false,
         "0.85",
         0.85,
         "",
         zone(&CLENIZone::GetFcc),
         {{"-0.01", fcc}, {"1.01", fcc}}},
        {zoneDlg,
         "User absence factor Fa",
         "a factor from 0 to 1",
         false,
         "0.25",
         0.25,
         "",
         zone(&CLENIZone::GetFa),
         {{"-0.01", "Absence factor should be between 0 and 1 inclusive"},
          {"1.01", "Absence factor should be between 0 and 1 inclusive"}}},
        {windowDlg,
         "Width",
         "metres above 0, at most 500",
         false,
         "1.25",
         1.25,
         "m",
         win(&CLENIWindow::m_dWidth),
         {{"0", "Window width value incorrect" + metres500},
          {"500.01", "Window width value incorrect" + metres500}}},
        {windowDlg,
         "Height",
         "metres above 0, at most 500",
         false,
         "1.25",
         1.25,
         "m",
         win(&CLENIWindow::m_dHeight),
         {{"0", "Window height value incorrect" + metres500},
          {"500.01", "Window height value incorrect" + metres500}}},
        {windowDlg,
         "Centre along the wall",
         "metres from 0 to 500",
         false,
         "1.25",
         1.25,
         "m",
         [](CCheckedDialog& d) {
             const CLENIWindow& w = As<CWindowDlg>(d).GetWindow();
             return w.m_dStart + w.m_dWidth / 2;
         },
         {{"-0.01", "Window center value incorrect: enter metres from 0 to 500"},
          {"500.01", "Window center value incorrect: enter metres from 0 to 500"}}},
        {windowDlg,
         "hLi, lintel above the floor",
         "metres up to the floor height",
         false,
         "2.25",
         2.25,
         "m",
         [](CCheckedDialog& d) { return As<CWindowDlg>(d).GetWindow().GetLintelHeight(); },
         {{"0.99",
           "Window y top (lintel) value incorrect: the lintel must be at least the window height and at "
           "most 500 m above it"},
          {"3.01", "This floor is 3.0m high. The window top (lintel)\nwould be beyond the top of the floor "
                   "at 3.0m"}}},
        {windowDlg,
         "\xCF\x84 d65 sna",
         "a factor above 0, at most 1",
         false,
         "0.75",
         0.75,
         "",
         win(&CLENIWindow::m_dTauD65),
         {{"0", "Tau value incorrect" + factor}, {"1.01", "Tau value incorrect" + factor}}},
        {windowDlg,
         "k1",
         "a factor above 0, at most 1",
         false,
         "0.75",
         0.75,
         "",
         win(&CLENIWindow::m_dK1),
         {{"0", "k1 value incorrect" + factor}, {"1.01", "k1 value incorrect" + factor}}},
        {windowDlg,
         "k2",
         "a factor above 0, at most 1",
         false,
         "0.75",
         0.75,
         "",
         win(&CLENIWindow::m_dK2),
         {{"0", "k2 value incorrect" + factor}, {"1.01", "k2 value incorrect" + factor}}},
        {windowDlg,
         "k3",
         "a factor above 0, at most 1",
         false,
         "0.75",
         0.75,
         "",
         win(&CLENIWindow::m_dK3),
         {{"0", "k3 value incorrect" + factor}, {"1.01", "k3 value incorrect" + factor}}},
        {slopedDlg,
         "Slope angle \xCE\xB3",
         "degrees below 90",
         false,
         "45.5",
         45.5,
         deg,
         win(&CLENIWindow::m_dGamma),
         {{"75", "Slope angle must be less than 75\xC2\xB0"}}},
        {slopedDlg,
         "Length of the window L",
         "metres above 0",
         false,
         "1.25",
         1.25,
         "m",
         win(&CLENIWindow::m_dSlopeLength),
         {{"0", "Length of window must be more than 0"}}},
        {slopedDlg,
         "Distance from the wall d",
         "metres from 0",
         false,
         "0.35",
         0.35,
         "m",
         win(&CLENIWindow::m_dDistToWall),
         {{"-0.01", "Distance to wall must be 0 or positive"}}},
        {slopedDlg,
         "Height of the wall to the slope h",
         "metres from 0",
         false,
         "2.25",
         2.25,
         "m",
         win(&CLENIWindow::m_dHeightToSlope),
         {{"-0.01", "Height to slope wall must be 0 or greater"}}},
        {slopedDlg,
         "\xCF\x84 d65 sa",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         win(&CLENIWindow::m_dTD65SA),
         {{"-0.01", "tdsa must be between 0 and 1"}, {"1.01", "tdsa must be between 0 and 1"}}},
        {shadingDlg,
         "Front obstruction angle",
         "degrees from 0, below 90",
         false,
         "30.5",
         30.5,
         deg,
         shade(&CLENIWindow::m_dFrontAngle),
         {{"-0.1", angle0}, {"90", angle90}}},
        {shadingDlg,
         "Overhang obstruction angle",
         "degrees from 0, below 90",
         false,
         "30.5",
         30.5,
         "deg",
         shade(&CLENIWindow::m_dOverhangAngle),
         {{"-0.1", angle0}, {"90", angle90}}},
        {shadingDlg,
         "Side obstruction angle",
         "degrees from 0, below 90",
         false,
         "30.5",
         30.5,
         deg,
         shade(&CLENIWindow::m_dSideAngle),
         {{"-0.1", angle0}, {"90", angle90}}},
        {shadingDlg,
         "\xCF\x84 GDF",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         shade(&CLENIWindow::m_dGdfTau),
         {{"-0.01", "GDF, bad tau:-0.010"}, {"1.01", "GDF, bad tau:1.010"}}},
        {shadingDlg,
         "GDF k1",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         shade(&CLENIWindow::m_dGdfK1),
         {{"-0.01", "GDF, bad k1:-0.010"}, {"1.01", "GDF, bad k1:1.010"}}},
        {shadingDlg,
         "GDF k2",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         shade(&CLENIWindow::m_dGdfK2),
         {{"1.01", "GDF, bad k2:1.010"}}},
        {shadingDlg,
         "GDF k3",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         shade(&CLENIWindow::m_dGdfK3),
         {{"1.01", "GDF, bad k3:1.010"}}},
        {flatDlg,
         "X length",
         "metres from 0.01 to 500",
         false,
         "4.25",
         4.25,
         "m",
         roof(&CLENIRoofLight::m_dXLength),
         {{"0.009", "Roof light dimensions must be between 0.010 and 500.0"},
          {"20.01", "Roof light x dimension too big for the room"}}},
        {flatDlg,
         "Y width",
         "metres from 0.01 to 500",
         false,
         "2.25",
         2.25,
         "m",
         roof(&CLENIRoofLight::m_dYWidth),
         {{"0.009", "Roof light dimensions must be between 0.010 and 500.0"},
          {"8.01", "Roof light y dimension too big for the room"}}},
        {flatDlg,
         "Origin x",
         "metres from 0, inside the room",
         false,
         "1.5",
         1.5,
         "m",
         roof(&CLENIRoofLight::m_dXOrig),
         {{"-0.01", "Roof light origin must not be less than 0.0"}}},
        {flatDlg,
         "Origin y",
         "metres from 0, inside the room",
         false,
         "1.5",
         1.5,
         "m",
         roof(&CLENIRoofLight::m_dYOrig),
         {{"-0.01", "Roof light origin must not be less than 0.0"}}},
        {flatDlg,
         "\xCF\x84"
         "D65sna",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         roof(&CLENIRoofLight::m_dTauD65Sna),
         {{"-0.01", gdf}, {"1.01", gdf}}},
        {flatDlg,
         "\xCF\x84"
         "D65sa",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         roof(&CLENIRoofLight::m_dTauD65Sa),
         {{"1.01", gdf}}},
        {flatDlg,
         "K obl1",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         roof(&CLENIRoofLight::m_dKObl1),
         {{"-0.01", kObl}, {"1.01", kObl}}},
        {flatDlg,
         "K obl2",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         roof(&CLENIRoofLight::m_dKObl2),
         {{"1.01", kObl}}},
        {flatDlg,
         "K obl3",
         "a factor from 0 to 1",
         false,
         "0.55",
         0.55,
         "",
         roof(&CLENIRoofLight::m_dKObl3),
         {{"1.01", kObl}}},
        {flatDlg,
         "\xCE\xB3W",
         "degrees from 0 to 90",
         false,
         "45.5",
         45.5,
         deg,
         roof(&CLENIRoofLight::m_dGammaW),
         {{"-0.1", "Gamma w error: enter degrees from 0 to 90"},
          {"90.1", "Gamma w error: enter degrees from 0 to 90"}}},
        {flatDlg,
         "hs",
         "metres from 0",
         false,
         "0.45",
         0.45,
         "m",
         roof(&CLENIRoofLight::m_dHs),
         {{"-0.01", "Flat Roof Light, error : hs=-0.010"}}},
        {shedDlg,
         "\xCE\xB3"
         "F",
         "degrees above 1, at most 90",
         false,
         "60.5",
         60.5,
         deg,
         roof(&CLENIRoofLight::m_dGammaF),
         {{"1", "Shed Roof Light, Gamma W error: enter \xCE\xB3"
                "F in degrees above 1, at most 90"},
          {"90.1", "Shed Roof Light, Gamma W error: enter \xCE\xB3"
                   "F in degrees above 1, at most 90"}}},
        {shedDlg,
         "hg",
         "metres above 0, below hw",
         false,
         "0.75",
         0.75,
         "m",
         roof(&CLENIRoofLight::m_dHg),
         {{"0", "Shed Roof Light, error hg = 0.00 hw = 1.00"},
          {"1", "Shed Roof Light, error hg = 1.00 hw = 1.00\nbut hg must be smaller than hw."}}},
        {shedDlg,
         "hw",
         "metres above hg",
         false,
         "1.25",
         1.25,
         "m",
         roof(&CLENIRoofLight::m_dHw),
         {{"0.5", "Shed Roof Light, error hg = 0.50 hw = 0.50\nbut hg must be smaller than hw."}}},
        {atriumDlg,
         "\xCF\x84 Atrium",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         atr(&CLENIAtrium::m_dTrans),
         {{"-0.01", "The atrium glass transmittance must be between 0 and 1"},
          {"1.01", "The atrium glass transmittance must be between 0 and 1"}}},
        {atriumDlg,
         "k1",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         atr(&CLENIAtrium::m_dK1),
         {{"-0.01", "k1  must be between 0 and 1"}, {"1.01", "k1  must be between 0 and 1"}}},
        {atriumDlg,
         "k2",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         atr(&CLENIAtrium::m_dK2),
         {{"1.01", "k2  must be between 0 and 1"}}},
        {atriumDlg,
         "k3",
         "a factor from 0 to 1",
         false,
         "0.65",
         0.65,
         "",
         atr(&CLENIAtrium::m_dK3),
         {{"1.01", "k3  must be between 0 and 1"}}},
        {productDlg,
         "Luminaire Circuit Power (Pi)",
         "watts from 0 to 1000000",
         false,
         "60.5",
         60.5,
         "W",
         prod(&CLumTypeData::GetMaxPow),
         {{"-0.01", "Please enter a non negative power"},
          {"1000000.01", "Please enter a power of at most 1000000 W"}}},
        {productDlg,
         "Luminaire Control Standby Power (Pci)",
         "watts from 0 to 1000000",
         false,
         "0.5",
         0.5,
         "W",
         prod(&CLumTypeData::GetStandbyPow),
         {{"-0.01", "Please enter a valid standby power"}}},
        {productDlg,
         "Luminaire Standby Emergency Charge Power (Pei)",
         "watts from 0 to 1000000",
         false,
         "1.5",
         1.5,
         "W",
         prod(&CLumTypeData::GetChargePow),
         {{"-0.01", "Please enter a valid charging power"}}},
    };
}

TEST_P(TypedNumbersTest, EveryNumericFieldStoresWhatIsTypedOrRefusesIt) {
    const std::vector<NumberRow> rows = Rows();
    for (const NumberRow& row : rows) {
        struct Typed {
            std::string what, text, message; // message "" when the value is stored
        };
        const std::string good = In(row.good, sign);
        auto refusal = [&row](const std::string& text) {
            return StrPrintf("%s: \"%s\" is not %s; enter %s", row.field, text.c_str(),
                             row.whole ? "a whole number" : "a number", row.range);
        };
        std::vector<Typed> typed = {
            {"good", good, ""}, {"letters", "abc", refusal("abc")}, {"empty", "", refusal("")}};
        if (*row.unit) typed.push_back({"with unit", good + " " + row.unit, ""});
        typed.push_back({"wrong unit", good + " kg", refusal(good + " kg")});
        const std::string otherSign = row.whole ? good + other + "5" : In(row.good, other);
        typed.push_back({"other decimal sign", otherSign, refusal(otherSign)});
        if (row.whole) typed.push_back({"decimals", good + sign + "5", refusal(good + sign + "5")});
        for (const Limit& limit : row.limits)
            typed.push_back({"just outside", In(limit.text, sign), limit.message});

        for (const Typed& t : typed) {
            const std::string where = std::string(row.field) + " [" + t.text + "] " + t.what;
            std::unique_ptr<CCheckedDialog> dialog = row.make();
            auto* field = dialog->findChild<QLineEdit*>(QString::fromUtf8(row.field));
            ASSERT_NE(field, nullptr) << where;
            // A text the field cannot hold cannot be typed.
            if (QString::fromStdString(t.text).size() > field->maxLength()) continue;
            const double before = row.stored(*dialog);
            EXPECT_NE(before, row.value) << where << ": the good value must differ from the stored one";
            boxes.boxes.clear();
            SetDialogHook([&](QDialog& d) {
                field->setText(QString::fromStdString(t.text));
                d.accept();
            });
            const int result = ExecDialog(*dialog);
            SetDialogHook(nullptr);
            if (t.message.empty()) {
                EXPECT_EQ(result, QDialog::Accepted) << where << "\n" << BoxTexts();
                EXPECT_EQ(row.stored(*dialog), row.value) << where;
            } else {
                EXPECT_EQ(result, QDialog::Rejected) << where;
                EXPECT_EQ(boxes.boxes.empty() ? "(no message)" : boxes.boxes.back().text, t.message) << where;
                EXPECT_EQ(row.stored(*dialog), before) << where << ": the value changed on refusal";
                if (t.message == refusal(t.text)) {
                    EXPECT_EQ(dialog->focusWidget(), field) << where;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, TypedNumbersTest, ::testing::Values("en_US", "it_IT"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "en_US" ? "PointDecimal" : "CommaDecimal";
                         });

} // namespace
