#include "app/VariantsWork.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "model/LENIProject.h"
#include "report/ProjectCompare.h"
#include "report/SavingsAdvisor.h"

#include <cstdio>

namespace {

bool Read(CLENIProject& project, const std::string& path, const char* command) {
    if (project.ReadProject(path)) return true;
    Log().Printf(LOG_ERROR, "%s: the project file could not be read, nothing written:\n%s", command, path.c_str());
    return false;
}

int Write(const std::string& path, const std::string& text, const char* command) {
    std::string reason;
    if (!WriteFileSafely(fs::u8path(path), text, &reason)) {
        Log().Printf(LOG_ERROR, "%s: the file could not be written:\n%s\n%s", command, path.c_str(), reason.c_str());
        return BATCH_WRITE_FAILED;
    }
    return BATCH_DONE;
}

} // namespace

int RunAdvise(const AdviseJob& job) {
    CLENIProject project;
    if (!Read(project, job.projectFile, "advise")) return BATCH_READ_FAILED;
    const SavingsAdvice advice = AdviseSavings(project);
    if (const int failed = Write(job.adviceFile, GetAdviceCsv(advice, project), "advise")) return failed;
    std::printf("LENI %.2f kWh/(m\xC2\xB2 year) now, %.2f with every zone's best option (%d zones), advice in %s\n",
                advice.leniBefore, advice.leniAllBest, advice.zonesImproved, job.adviceFile.c_str());
    std::fflush(stdout);
    return BATCH_DONE;
}

int RunCompare(const CompareJob& job) {
    CLENIProject a, b;
    if (!Read(a, job.projectA, "compare") || !Read(b, job.projectB, "compare")) return BATCH_READ_FAILED;
    ProjectComparison comparison;
    if (!CompareProjects(a, b, comparison)) {
        Log().Printf(LOG_ERROR, "compare: the projects could not be calculated, nothing written");
        return BATCH_READ_FAILED;
    }
    if (const int failed = Write(job.csvFile, GetComparisonCsv(comparison), "compare")) return failed;
    int added = 0, removed = 0, changed = 0;
    for (const CompareRow& row : comparison.rows) {
        if (row.level != COMPARE_ROOM) continue;
        const std::string status = row.Status();
        added += status == "added";
        removed += status == "removed";
        changed += status == "changed";
    }
    const CompareRow& building = comparison.rows.front();
    std::printf("LENI %.2f in A, %.2f in B; rooms: %d changed, %d added, %d removed; comparison in %s\n",
                building.a.steps[0].GetLENI(), building.b.steps[0].GetLENI(), changed, added, removed,
                job.csvFile.c_str());
    std::fflush(stdout);
    return BATCH_DONE;
}
