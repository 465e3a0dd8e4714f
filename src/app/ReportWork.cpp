#include "app/ReportWork.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "report/ResultsExport.h"

#include <cstdio>

int RunReport(const ReportJob& job) {
    CLENIProject project;
    // The products come from the project file alone; batch runs do not load the global database.
    if (!project.ReadProject(job.projectFile)) {
        // Results of a half-read project would be sent on as if they described the building.
        Log().Printf(LOG_ERROR, "report: the project file could not be read, no results written:\n%s",
                     job.projectFile.c_str());
        return BATCH_READ_FAILED;
    }

    InstallProjectResultsProvider();
    // The model stays as read until both files are written: the project copy's results are
    // those the results file's passes worked out.
    CReportRoomMemo memo;
    CReportGeometryMemo geometry;
    LeniTimeStepResult annual;
    // Both files are made whole in temporaries first and only then renamed together: a run
    // killed on the way leaves the old results beside the old copy, never a mix.
    CSafeWriteBatch batch;
    bool exported = ExportResults(project, job.resultsFile, &annual);
    bool saved = project.Save(job.copyFile, true);
    std::string reason;
    if (exported && saved && !batch.Commit(&reason)) {
        Log().Printf(LOG_ERROR, "report: the results could not be put in place: %s", reason.c_str());
        exported = saved = false;
    }
    if (!exported || !saved) {
        // Neither is put in place when one of them cannot be.
        Log().Printf(LOG_ERROR,
                     "report: the results were not all written (results file %s, project copy %s); "
                     "no file was replaced",
                     exported ? "ready" : "NOT written", saved ? "ready" : "NOT written");
        return BATCH_WRITE_FAILED;
    }
    std::printf("Annual LENI %.2f kWh/(m\xC2\xB2 year), results in %s\n", annual.GetLENI(),
                job.resultsFile.c_str());
    std::fflush(stdout);
    return BATCH_DONE;
}
