#pragma once
// The room schedule of the report: per room the figures behind its energy (hours, the factors of
// its zones, power and energies), from the same results as the results table. Its columns are one
// list, so the PDF table and the CSV export show the same figures in the same order.

#include "model/ProjectFileResults.h"

#include <string>
#include <vector>

class CLENIProject;

// The factors of one zone for the year: occupancy Fo, constant illuminance Fc, and Fd, the share of
// the zone's daytime lighting power left after daylight (its own luminaires count with Fd = 1, the
// luminaires of the openings it bills with their Fd; 1 when the zone has no lighting power).
struct ZoneScheduleFigures {
    std::string name;
    double area = 0.0;  // m2
    double power = 0.0; // W, its own luminaires and those of the openings it bills
    double Fo = 1.0, Fc = 1.0, Fd = 1.0;
};

struct RoomScheduleRow {
    size_t floorIndex = 0;
    std::string floor, room, roomType;
    double area = 0.0;           // m2
    double installedPower = 0.0; // W
    double powerDensity = 0.0;   // W/m2, 0 for a room without area
    int td = 0, tn = 0;          // h, the year
    bool hasZones = false;       // the factors below are the zones' area-weighted means
    double Fo = 0.0, Fc = 0.0, Fd = 0.0;
    double Wl = 0.0, Wp = 0.0; // kWh, the year
    double LENI = 0.0;         // kWh/(m2 year)
    // Where the project sets a price, an emission factor, a target: the year's cost, CO2 (kg) and
    // "pass" or "FAIL"; NaN and empty where it does not.
    double cost = 0.0, CO2 = 0.0;
    std::string targetMark;
    std::vector<ZoneScheduleFigures> zones;
};

// Every room of every floor (one instance), in list order, with results[floor][room] of the project.
std::vector<RoomScheduleRow> GetRoomSchedule(const CLENIProject& project, const LENIProjectResults& results);

// One column of the schedule: its head and unit, and either a number (value, printed with format
// on the page; NaN where the row has none, printed "-") or a text.
struct RoomScheduleColumn {
    const char* head;
    const char* unit;
    const char* format;                              // of a number column; null for a text
    double width;                                    // share of the page's width; 0: as its texts
    double (*value)(const RoomScheduleRow& row);     // of a number column
    std::string (*text)(const RoomScheduleRow& row); // of a text column
};
// The columns for the project: cost, CO2 and the target mark follow where it sets their value.
std::vector<RoomScheduleColumn> GetRoomScheduleColumns(const CLENIProject& project);
// The column's text on the page: the text, or the number in the column's format ("-" for none).
std::string FormatScheduleCell(const RoomScheduleColumn& column, const RoomScheduleRow& row);
