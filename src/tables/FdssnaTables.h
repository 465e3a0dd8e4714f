#pragma once
// The daylight supply factors without sun shading, Fdssna, of vertical windows: one table per facade
// class (South, EastWest, North) of 50 rows and 14 columns, and their lookup.
//
// Only four rows of the published tables are known to this program (latitude 45 deg, 500 lx). The
// built-in set holds those four exactly and estimates for every other row, each marked as an
// estimate (see MakeDefault). A user who has the official tables supplies them as the file
// "LENI_FDSSNA_TABLES.CSV" in the application-data folder; LoadFdssnaTablesAtStart reads it.
//
// Note: row r of a table holds, in columns 0..13, latitude, Em, Hdir/Hglob and the percentages at
// the daylight factors of kFdssnaDaylightFactors. Rows 10b..10b+9 share a latitude; within them each
// Em has two consecutive rows, the lower Hdir/Hglob first.

#include "tables/DaylightTables.h"

#include <filesystem>
#include <string>

constexpr int kFdssnaRows = 50;
constexpr int kFdssnaColumns = 14;
constexpr int kFdssnaValueCount = 11;
constexpr int kFdssnaFirstValueColumn = 3;

extern const double kFdssnaDaylightFactors[kFdssnaValueCount]; // D in percent
extern const char* const kFdssnaTableFileName;                 // "LENI_FDSSNA_TABLES.CSV"

class CFdssnaTables {
  public:
    double m_dTable[FACADE_COUNT][kFdssnaRows][kFdssnaColumns] = {};
    bool m_bEstimate[FACADE_COUNT][kFdssnaRows] = {};

    // The built-in set: the published rows and the documented estimates.
    static CFdssnaTables MakeDefault();

    // Reads a table file (see FormatCsv for its form). On any fault of shape, axes or values it
    // reports the file, the line and the fault, leaves this set unchanged and returns false.
    bool LoadCsv(const std::filesystem::path& path);
    // The same for text already read; name is used in the message.
    bool ParseCsv(const std::string& text, const std::string& name);
    // The set in the file form: a header line, then the 150 rows, South, EastWest, North.
    std::string FormatCsv() const;

    bool HasEstimates() const;
};

// The set every calculation uses (the built-in one until another is installed).
const CFdssnaTables& GetFdssnaTables();
void SetFdssnaTables(const CFdssnaTables& tables);
// At program start: installs the table file of the application-data folder when it exists and is
// sound; otherwise the built-in set stays (a faulty file has been reported).
void LoadFdssnaTablesAtStart();

// Piecewise-linear Fdssna percentage of a row at daylight factor D (percent); writes its line.
double FindFdssnaInRow(int row, double daylightFactorPcent, int facade);

struct HdirHglobRange {
    double min = 0.0;
    double max = 0.0;
    bool found = false;
};
// The lower and upper Hdir/Hglob of the rows of a (rounded) latitude.
HdirHglobRange GetHdirHglobMinMaxForLatitude(int latitude);

// Fdssna as a fraction 0..1 for latitude, Em, Hdir/Hglob, D (percent) and facade; writes its
// lines. A latitude outside 0..75 deg is reported and gives 0.5.
double GetDaylightSupplyFactorFdssna(double latitude, double em, double hdirHglob, double daylightFactorPcent,
                                     int facade);
