#pragma once
// Reference tables of a zone's choices: the occupancy control systems with their Fa -> Fo
// curves, the maintained-illuminance levels and the lighting control techniques with their
// lighting control factors Fdc.

#include <string>
#include <vector>

class CLENITables {
  public:
    static constexpr int kOccupancyPoints = 5;
    struct OccupancySystem {
        const char* name;
        double fa[kOccupancyPoints]; // ascending
        double fo[kOccupancyPoints];
    };

    // Fdc per daylight class (weak, medium, strong) and, within a class, per illuminance column
    // (300, 500, 750 lx): index 3 * (class - 1) + column.
    static constexpr int kFdcColumns = 9;
    struct ControlTechnique {
        const char* name;
        const char* roman;
        double fdc[kFdcColumns];
    };

    static const std::vector<OccupancySystem>& GetOccupancySystems();
    // The four system names, in table order (the zone dialog's list).
    static std::vector<std::string> GetOccupancySystemNames();
    // Fo for an absence factor Fa under the occupancy control system named; the system is found by
    // the first character of its name. An unknown system is reported and gives 0.5.
    static double GetFoFromFaUsingE1(double fa, const std::string& occupancySystem);
    static constexpr const char* kDefaultOccupancySystem = "1.Manual On/Off Switch";

    // The fourteen maintained-illuminance levels in lux, ascending.
    static const std::vector<double>& GetLuxChoices();
    // True when lux lies within 0.1 lx of one of the levels.
    static bool IsValidZoneLux(double lux);
    static constexpr double kDefaultZoneLux = 500.0;

    static const std::vector<ControlTechnique>& GetControlTechniques();
    // The eight technique names in table order (the zone dialog's list).
    static std::vector<std::string> GetControlTechniqueNames();
    // Row index of a technique (whole name, case-insensitive), or -1.
    static int FindControlTechnique(const std::string& name);
    static bool IsValidControlTechnique(const std::string& name) { return FindControlTechnique(name) >= 0; }
    // Roman numeral of a technique, or an empty text when the name is none of them.
    static std::string GetControlTechniqueRoman(const std::string& name);
    static constexpr const char* kDefaultControlTechnique = "Manual";
};
