#pragma once
// The results export file "LENI_DB_V1": the project's descriptive data, a few totals of the
// building and its annual and monthly results, for the central collection of building results.
// Also the numbers of the project file written with results.

#include "model/LeniTimeStepResult.h"
#include "model/ProjectFileResults.h"

#include <ctime>
#include <string>

class CLENIProject;

extern const char* const kResultsExportRoot; // "LENI_DB_V1"

// Totals computed only for the export.
double GetTotalBuildingHeight(const CLENIProject& project); // sum of (floor height + 0.3) x instances
double GetTotalWindowsArea(const CLENIProject& project);    // windows, plus each roof light twice
int GetNumberOfFloors(const CLENIProject& project);         // sum of the instance counts
// Sum of instance count x the floor's installed power of that energy use (Standby, Charging, ...).
double GetInstalledBuildingPower(const CLENIProject& project, int energyUse);

// "%04d-%02d-%02d" of the local date at the given time.
std::string FormatFileCreationDate(std::time_t when);

// Calculates the year and the twelve months (each with the building's calculation log; the year
// last, so the log left beside the project is the year's) and writes the file safely. A file that
// cannot be written is reported and gives false. annual, when given, receives the year's result.
bool ExportResults(const CLENIProject& project, const std::string& path,
                   LeniTimeStepResult* annual = nullptr);

// Results of the building, every floor (one instance) and every room for the 13 time steps,
// calculated without writing any calculation log.
bool CalculateProjectResults(const CLENIProject& project, LENIProjectResults& results);
// Makes the project file written with results take its numbers from CalculateProjectResults.
void InstallProjectResultsProvider();
