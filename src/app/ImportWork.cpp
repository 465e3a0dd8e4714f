#include "app/ImportWork.h"

#include "app/BatchCommands.h"
#include "base/FileUtils.h"
#include "base/Logger.h"
#include "products/ProductImport.h"

#include <cstdio>

int RunImport(const ImportJob& job) {
    for (const std::string& source : job.sources)
        if (!FileExists(source) && !DirectoryExists(source)) {
            Log().Printf(LOG_ERROR, "import: <%s> does not exist; nothing imported", source.c_str());
            return BATCH_INPUT_MISSING;
        }
    CLumSysDataBase database;
    if (FileExists(job.databaseFile)) {
        // A database that cannot be read is left as it is rather than replaced by the import.
        if (!database.ReadFromFile(job.databaseFile)) return BATCH_READ_FAILED;
    } else {
        Log().Printf(LOG_INFO, "import: creating the luminaire database <%s>\n", job.databaseFile.c_str());
        database.SetFilePath(job.databaseFile);
    }

    ProductImportSummary summary;
    const std::vector<std::string> files = CollectProductFiles(job.sources, summary);
    ImportProductFiles(database, files, summary);
    const std::string text = summary.Text();
    Log().Printf(LOG_INFO, "import into <%s>: %s\n", job.databaseFile.c_str(), text.c_str());
    if (!database.WriteToFile()) return BATCH_WRITE_FAILED;
    std::printf("%s\n", text.c_str());
    return summary.refused.empty() ? BATCH_DONE : BATCH_IMPORT_REFUSED;
}
