#pragma once
// The work of the batch command "csv": the project's results as a CSV table for spreadsheets.

#include "app/BatchCommands.h"

#include <string>

struct CsvJob {
    std::string projectFile;
    std::string csvFile;
};

// Reads the project, calculates it (no calculation log is written) and writes the table safely.
// Returns BATCH_DONE, BATCH_READ_FAILED (nothing written) or BATCH_WRITE_FAILED.
int RunCsv(const CsvJob& job);
