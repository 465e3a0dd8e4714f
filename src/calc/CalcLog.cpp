#include "calc/CalcLog.h"

#include "base/FileUtils.h"

std::string GetTimeStepName(unsigned timeStep) {
    static const char* const kNames[] = {"Annual",  "January",  "February", "March",  "April",
                                         "May",     "June",     "July",     "August", "September",
                                         "October", "November", "December"};
    if (timeStep < sizeof kNames / sizeof kNames[0]) return kNames[timeStep];
    return "ERROR IN TIMESTEP";
}

// Names come from files and from the user: a separator or ".." in them must not lead the log out
// of the project folder, so the name parts go through MakeSafeFileName (empty stays empty).
static std::string SafePart(const std::string& name) {
    return name.empty() ? name : MakeSafeFileName(name);
}

std::string GetBuildingCalcLogFileName(const std::string& projectName) {
    return "LENI_CALC_LOG_" + SafePart(projectName) + ".TXT";
}

std::string GetFloorCalcLogFileName(const std::string& floorName) {
    return "LENI_CALC_LOG_FLOOR_" + SafePart(floorName) + ".TXT";
}

std::string GetSubLeniCalcLogFileName(const std::string& floorName, const std::string& roomName,
                                      unsigned timeStep) {
    return "SUB_LENI_CALC_LOG_" + SafePart(floorName) + "_" + SafePart(roomName) + "_" +
           GetTimeStepName(timeStep) + "_" + ".TXT";
}

std::string GetCalcLogPath(const std::string& folder, const std::string& fileName) {
    return (fs::u8path(folder) / fs::u8path(fileName)).u8string();
}
