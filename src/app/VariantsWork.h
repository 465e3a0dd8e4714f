#pragma once
// The work of the batch commands "advise" (the savings advisor's ranking as CSV) and "compare" (two
// versions of a building side by side as CSV) once their arguments are checked and the log is set.

#include "app/BatchCommands.h"

#include <string>

struct AdviseJob {
    std::string projectFile;
    std::string adviceFile;
};
struct CompareJob {
    std::string projectA;
    std::string projectB;
    std::string csvFile;
};

// Each returns BATCH_DONE, BATCH_READ_FAILED (nothing written) or BATCH_WRITE_FAILED; every
// failure's reason goes to the log.
int RunAdvise(const AdviseJob& job);
int RunCompare(const CompareJob& job);
