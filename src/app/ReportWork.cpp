#include "app/ReportWork.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "report/ResultsExport.h"

#include <cstdio>

namespace {

// A device or FIFO in the system's device folders, where the program makes no files of its own.
bool IsSystemDevice(const std::string& path) {
    if (!IsWrittenInto(fs::u8path(path))) return false;
    std::error_code error;
    const std::string folder = fs::absolute(fs::u8path(path), error).parent_path().lexically_normal().string();
    for (const char* system : {"/dev", "/proc"})
        if (folder == system || folder.rfind(std::string(system) + "/", 0) == 0) return true;
    return false;
}

} // namespace

int RunReport(const ReportJob& job) {
    CLENIProject project;
    // The products come from the project file alone; batch runs do not load the global database.
    if (!project.ReadProject(job.projectFile)) {
        // Results of a half-read project would be sent on as if they described the building.
        Log().Printf(LOG_ERROR, "report: the project file could not be read, no results written:\n%s",
                     job.projectFile.c_str());
        return BATCH_READ_FAILED;
    }

    // The calculation log's name comes from the project's name: it must not take the place of
    // the project or of the results.
    const std::string calcLog =
        GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName(project.GetName()));
    struct Named {
        const char* role;
        const std::string& path;
        bool input;
    };
    for (const Named& named : {Named{"project file", job.projectFile, true}, Named{"results file", job.resultsFile, false},
                               Named{"project copy", job.copyFile, false}}) {
        const fs::path path = fs::u8path(named.path);
        if (IsWrittenInto(path) ||
            !(named.input ? IsSameFile(fs::u8path(calcLog), path) : IsSameName(fs::u8path(calcLog), path)))
            continue;
        std::fprintf(stderr, "orvantis: the calculation log <%s> is the same file as the %s <%s>; nothing written\n",
                     calcLog.c_str(), named.role, named.path.c_str());
        Log().Printf(LOG_ERROR, "report: the calculation log %s is the same file as the %s %s; nothing written",
                     calcLog.c_str(), named.role, named.path.c_str());
        return BATCH_SAME_FILE;
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
    bool saved = true;
    if (IsSystemDevice(job.resultsFile))
        // /dev/null_(CON_RISULTATI) would be a file made among the system's devices.
        Log().Printf(LOG_ERROR, "report: the results file %s is a device, no project copy written beside it",
                     job.resultsFile.c_str());
    else
        saved = project.Save(job.copyFile, true);
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
