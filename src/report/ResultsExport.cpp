#include "report/ResultsExport.h"

#include "base/Platform.h"

#include "base/CalcMode.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/OrderedParallel.h"
#include "base/ProjectFileXml.h"
#include "base/TextUtils.h"
#include "base/XmlUtils.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <optional>

const char* const kResultsExportRoot = "LENI_DB_V1";

namespace {

// Slab thickness added to every storey's height.
constexpr double kSlabThickness = 0.3;

TiXmlElement* AddElement(TiXmlNode* parent, const char* name) {
    auto* element = new TiXmlElement(name);
    parent->LinkEndChild(element);
    return element;
}

} // namespace

double GetTotalBuildingHeight(const CLENIProject& project) {
    double height = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        height += (floor.GetHeight() + kSlabThickness) * floor.GetInstanceCount();
    return height;
}

double GetTotalWindowsArea(const CLENIProject& project) {
    double area = 0.0;
    for (const CLENIFloor& floor : project.GetFloors()) {
        double floorArea = 0.0;
        for (const CLENIRoom& room : floor.GetRooms()) {
            double windows = 0.0, roofLights = 0.0;
            for (const CLENIWindow& window : room.GetWindows())
                windows += window.m_dWidth * window.m_dHeight;
            for (const CLENIRoofLight& roofLight : room.GetRoofLights())
                roofLights += roofLight.m_dXLength * roofLight.m_dYWidth;
            floorArea += windows + 2.0 * roofLights;
        }
        area += floor.GetInstanceCount() * floorArea;
    }
    return area;
}

int GetNumberOfFloors(const CLENIProject& project) {
    // A damaged file may give instance counts whose sum no int holds.
    long long count = 0;
    for (const CLENIFloor& floor : project.GetFloors())
        count += floor.GetInstanceCount();
    return static_cast<int>(std::min<long long>(count, INT_MAX));
}

double GetInstalledBuildingPower(const CLENIProject& project, int energyUse) {
    double power = 0.0;
    for (const CLENIFloor& floor : project.GetFloors())
        power += floor.GetInstanceCount() * GetInstalledPower(floor, energyUse, project.GetProducts());
    return power;
}

std::string FormatFileCreationDate(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return StrPrintf("%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool ExportResults(const CLENIProject& project, const std::string& path, LeniTimeStepResult* annual) {
    // The model stays as it is while the thirteen passes run.
    CReportGeometryMemo geometry;
    LeniTimeStepResult months[kLeniTimeSteps];
    for (unsigned step = 1; step < kLeniTimeSteps; ++step) {
        // Each pass replaces the building's log; only the annual one below is kept, so the monthly
        // lines are not written at all (the reference calculation still writes them).
        std::optional<CCalcLogDiscard> discard;
        if (!IsReferenceCalculation()) discard.emplace();
        months[step] = CalculateAnnualLENI(project, step);
    }
    const LeniTimeStepResult year = CalculateAnnualLENI(project, 0);
    if (annual) *annual = year;

    const double standby = GetInstalledBuildingPower(project, Standby);
    const double charging = GetInstalledBuildingPower(project, Charging);

    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    TiXmlElement* root = AddElement(&doc, kResultsExportRoot);
    AddXmlTextElement(root, "Name", project.GetName());
    AddXmlTextElement(root, "Descr", project.GetDescription());
    AddXmlTextElement(root, "Location", project.GetLocation());
    AddXmlTextElement(root, "DominantBuildingType", project.GetDominantBuildingType());
    AddXmlTextElement(root, "Latitude", project.GetLatitude());
    AddXmlTextElement(root, "Longitude", project.GetLongitude());
    AddXmlTextElement(root, "YearToBeBuilt", project.GetYearToBeBuilt());
    AddXmlTextElement(root, "YearBuilt", project.GetYearBuilt());
    AddXmlTextElement(root, "FileCreationDate", FormatFileCreationDate(std::time(nullptr)));
    AddXmlTextElement(root, "TotalBuildingHeight", GetTotalBuildingHeight(project));
    AddXmlTextElement(root, "TotalWindowsArea", GetTotalWindowsArea(project));
    AddXmlTextElement(root, "NumberOfFloors", GetNumberOfFloors(project));
    AddXmlTextElement(root, "AverageFo", GetAverageFo(project));
    AddXmlTextElement(root, "InstalledStandbyPowerPpc", standby);
    AddXmlTextElement(root, "InstalledChargingPowerPem", charging);
    AddXmlTextElement(root, "AnnualLENI", year.GetLENI());
    AddXmlTextElement(root, "EnergyForLightingWl", year.Wl);
    AddXmlTextElement(root, "EnergyForStandbyAndChargingWp", year.Wp);
    // Cost and CO2 only where the project sets a price or an emission factor: a file without
    // them keeps the elements and bytes it always had.
    const std::optional<double>& price = project.GetEnergyPrice();
    const std::optional<double>& co2 = project.GetCO2Factor();
    auto addCostAndCO2 = [&](TiXmlElement* parent, const char* costName, const char* co2Name,
                             const LeniTimeStepResult& r) {
        if (price) AddXmlTextElement(parent, costName, (r.Wl + r.Wp) * *price);
        if (co2) AddXmlTextElement(parent, co2Name, (r.Wl + r.Wp) * *co2);
    };
    addCostAndCO2(root, "AnnualCost", "AnnualCO2", year);
    TiXmlElement* monthly = AddElement(root, "MonthlyCalculation");
    for (unsigned step = 1; step < kLeniTimeSteps; ++step) {
        TiXmlElement* month = AddElement(monthly, StrPrintf("M%u", step).c_str());
        AddXmlTextElement(month, "SpecificEnergy", months[step].GetLENI());
        AddXmlTextElement(month, "Wl", months[step].Wl);
        AddXmlTextElement(month, "Wp", months[step].Wp);
        addCostAndCO2(month, "Cost", "CO2", months[step]);
    }

    std::string reason;
    if (!WriteFileSafely(fs::u8path(path), DocumentToFileText(doc), &reason)) {
        Log().Printf(LOG_ERROR, "Could not write the results file:\n%s\n%s", path.c_str(), reason.c_str());
        return false;
    }
    return true;
}

bool CalculateProjectResults(const CLENIProject& project, LENIProjectResults& results) {
    // These numbers repeat what the calculations with logs have shown; they add nothing to a log.
    CCalcLogQuiet quiet;
    const CLumSysDataBase& db = project.GetProducts();
    results = LENIProjectResults();
    results.building.installedPower = GetInstalledPower(project, Lighting);
    results.building.area = GetArea(project);
    // Rooms are independent: those of all floors are worked out side by side in one go, then
    // summed floor by floor in list order.
    std::vector<const CLENIRoom*> rooms;
    for (const CLENIFloor& floor : project.GetFloors())
        for (const CLENIRoom& room : floor.GetRooms())
            rooms.push_back(&room);
    std::vector<LENIObjectResults> allRoomResults(rooms.size());
    RunInOrder(rooms.size(), [&](size_t i) {
        const CLENIRoom& room = *rooms[i];
        LENIObjectResults& r = allRoomResults[i];
        r.area = room.GetArea();
        r.installedPower = GetInstalledPower(room, Lighting, db);
        for (int step = 0; step < kLeniTimeSteps; ++step) {
            const unsigned u = static_cast<unsigned>(step);
            r.steps[step].timeStep = step;
            r.steps[step].area = r.area;
            r.steps[step].Wp = GetParasiticEnergy(room, u, db);
            r.steps[step].Wl = GetRoomLightingEnergyOnce(room, project, u);
        }
    });
    size_t next = 0;
    for (const CLENIFloor& floor : project.GetFloors()) {
        LENIObjectResults floorResults;
        floorResults.area = floor.GetArea();
        floorResults.installedPower = GetInstalledPower(floor, Lighting, db);
        const auto first = allRoomResults.begin() + static_cast<std::ptrdiff_t>(next);
        next += floor.GetRooms().size();
        std::vector<LENIObjectResults> roomResults(
            std::make_move_iterator(first),
            std::make_move_iterator(first + static_cast<std::ptrdiff_t>(floor.GetRooms().size())));
        for (const LENIObjectResults& r : roomResults)
            for (int step = 0; step < kLeniTimeSteps; ++step) {
                floorResults.steps[step].Wp += r.steps[step].Wp;
                floorResults.steps[step].Wl += r.steps[step].Wl;
            }
        for (int step = 0; step < kLeniTimeSteps; ++step) {
            floorResults.steps[step].timeStep = step;
            floorResults.steps[step].area = floorResults.area;
            LeniTimeStepResult& b = results.building.steps[step];
            b.timeStep = step;
            b.area = results.building.area;
            b.Wl += floor.GetInstanceCount() * floorResults.steps[step].Wl;
            b.Wp += floor.GetInstanceCount() * floorResults.steps[step].Wp;
        }
        results.floors.push_back(floorResults);
        results.rooms.push_back(std::move(roomResults));
    }
    return true;
}

void InstallProjectResultsProvider() {
    SetProjectResultsProvider(CalculateProjectResults);
}
