#include "app/CsvWork.h"

#include "base/Logger.h"
#include "calc/EnergyCalc.h"
#include "model/LENIProject.h"
#include "report/ResultsCsv.h"

#include <cstdio>

int RunCsv(const CsvJob& job) {
    CLENIProject project;
    if (!project.ReadProject(job.projectFile)) {
        Log().Printf(LOG_ERROR, "csv: the project file could not be read, no CSV written:\n%s",
                     job.projectFile.c_str());
        return BATCH_READ_FAILED;
    }
    CReportGeometryMemo geometry; // the model stays as read while it is calculated
    if (!ExportResultsCsv(project, job.csvFile)) {
        Log().Printf(LOG_ERROR, "csv: the CSV file could not be written:\n%s", job.csvFile.c_str());
        return BATCH_WRITE_FAILED;
    }
    std::printf("Results written to %s\n", job.csvFile.c_str());
    std::fflush(stdout);
    return BATCH_DONE;
}
