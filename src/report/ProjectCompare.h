#pragma once
// Two versions of a building side by side: both calculated, their floors matched by name and their
// rooms by floor and room name, with area, installed power, Wl, Wp and LENI of each in A and in B,
// for the year and every month.

#include "model/ProjectFileResults.h"

#include <string>
#include <vector>

class CLENIProject;

enum CompareLevel { COMPARE_BUILDING, COMPARE_FLOOR, COMPARE_ROOM };

struct CompareRow {
    CompareLevel level = COMPARE_BUILDING;
    std::string floor, room;
    bool inA = false, inB = false;
    LENIObjectResults a, b; // floors for one instance, as the results file has them
    // "added" (in B only), "removed" (in A only), "changed" or "same".
    std::string Status() const;
};

struct ProjectComparison {
    // The building first, then each floor followed by its rooms: A's order, then what only B has.
    std::vector<CompareRow> rows;
};

// False when either project could not be calculated.
bool CompareProjects(const CLENIProject& a, const CLENIProject& b, ProjectComparison& comparison);

// One line per row and time step (year, then January to December): level, floor, room, status,
// period, then area, power, Wl, Wp and LENI each in A, in B and B - A; empty where a side lacks it.
std::string GetComparisonCsv(const ProjectComparison& comparison);
