#pragma once
// The work of the batch command "report" once its arguments are checked and its log file is set.

#include "app/BatchCommands.h"

// Reads the project file, calculates the building, writes the results export file and the project
// copy with results, and prints the annual LENI. Returns BATCH_DONE, BATCH_READ_FAILED (nothing
// written) or BATCH_WRITE_FAILED; every failure's reason goes to the log.
int RunReport(const ReportJob& job);
