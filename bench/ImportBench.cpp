// Importing a folder of 1000 photometric files (EULUMDAT and IESNA, half each) into a database
// file at once, against the baseline of importing them one at a time into the program's database,
// which writes its file after each product. Fails when the folder import takes more than 2 s of
// processor time (the wall-clock time is printed beside it: on a shared machine it counts the
// other jobs' turns too).

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "products/LumSysDataBase.h"
#include "products/ProductImport.h"

#include <chrono>
#include <ctime>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

const int kFiles = 1000;
const double kLimitSeconds = 2.0;

std::string Ldt(int i) {
    std::string text = "Maker\n1\n1\n36\n10\n19\n5\n\nPanel " + std::to_string(i) + "\nL-" + std::to_string(i) +
                       "\n\n\n\n600\n600\n50\n600\n600\n0\n0\n0\n0\n100\n1\n0\n1\n1\nLED\n3000\n4000\n90\n" +
                       std::to_string(20 + i % 40) + "\n";
    for (int k = 0; k < 10; ++k) text += "0.5\n";
    for (int c = 0; c < 36; ++c) text += std::to_string(c * 10) + "\n";
    for (int g = 0; g < 19; ++g) text += std::to_string(g * 5) + "\n";
    for (int c = 0; c < 10; ++c)
        for (int g = 0; g < 19; ++g) text += std::to_string(300 - 15 * g) + "\n";
    return text;
}

std::string Ies(int i) {
    std::string text = "IESNA:LM-63-2002\n[LUMCAT] I-" + std::to_string(i) + "\n[LUMINAIRE] Downlight " +
                       std::to_string(i) + "\nTILT=NONE\n1 1000 1 19 5 1 2 0.2 0.2 0\n1 1 " +
                       std::to_string(10 + i % 30) + "\n";
    for (int g = 0; g < 19; ++g) text += std::to_string(g * 5) + " ";
    text += "\n0 22.5 45 67.5 90\n";
    for (int c = 0; c < 5; ++c) {
        for (int g = 0; g < 19; ++g) text += std::to_string(400 - 20 * g) + " ";
        text += "\n";
    }
    return text;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / ("orvantis_import_bench_" + std::to_string(getpid()));
    const fs::path folder = root / "lamps";
    fs::create_directories(folder);
    std::vector<std::string> files;
    for (int i = 0; i < kFiles; ++i) {
        const bool ldt = i % 2 == 0;
        const fs::path path = folder / ((ldt ? "lamp" : "down") + std::to_string(i) + (ldt ? ".ldt" : ".ies"));
        WriteFileSafely(path, ldt ? Ldt(i) : Ies(i));
        files.push_back(path.string());
    }
    Log().SetToFile((root / "log.txt").string());
    Log().SetMode(LOGMODE_BATCH);

    auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    CLumSysDataBase database;
    database.SetFilePath((root / "db.xml").string());
    ProductImportSummary summary;
    ImportProductFiles(database, CollectProductFiles({folder.string()}, summary), summary);
    database.WriteToFile();
    const double folderSeconds = Seconds(start);
    const double folderCpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    start = std::chrono::steady_clock::now();
    CLumSysDataBase& global = CLumSysDataBase::Global();
    global.SetFilePath((root / "global.xml").string());
    int oneByOne = 0;
    for (const std::string& path : files) oneByOne += global.ImportProductFile(path);
    const double baselineSeconds = Seconds(start);

    std::printf("folder of %d photometric files, at once: %.3f s processor, %.3f s wall (%zu imported; limit %.1f s)\n",
                kFiles, folderCpuSeconds, folderSeconds, summary.imported.size(), kLimitSeconds);
    std::printf("baseline, one file at a time into the program's database: %.3f s (%d imported)\n", baselineSeconds,
                oneByOne);
    std::error_code ec;
    fs::remove_all(root, ec);
    const bool ok = folderCpuSeconds <= kLimitSeconds && summary.imported.size() == static_cast<size_t>(kFiles);
    if (!ok) std::printf("FAILED: %s\n", summary.Text().c_str());
    return ok ? 0 : 1;
}
