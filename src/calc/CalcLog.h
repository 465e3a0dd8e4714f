#pragma once
// The calculation log of a building, a floor or a room: the names of its files and of its time
// steps. The lines are written through the writer below.

#include "base/CalcLogWriter.h"

#include <string>

// "Annual" for 0, "January" ... "December" for 1 ... 12, otherwise "ERROR IN TIMESTEP".
std::string GetTimeStepName(unsigned timeStep);

// Log file names, created in the project folder. Characters unsafe in a file name become "_"
// in the file name only.
std::string GetBuildingCalcLogFileName(const std::string& projectName);
std::string GetFloorCalcLogFileName(const std::string& floorName);
std::string GetSubLeniCalcLogFileName(const std::string& floorName, const std::string& roomName,
                                      unsigned timeStep);
// folder joined with a file name by the platform's separator.
std::string GetCalcLogPath(const std::string& folder, const std::string& fileName);
