// Opening the 1000-room building (50 floors x 20 rooms x 2 zones x 4 windows, a DXF plan of each
// floor in the project folder) in the desktop program, until the main window is shown with the
// floor of the selected tab drawn, within 0.2 s. Beside it in the same run, the baseline: the same
// opening followed by reading every other floor's drawing, as opening did when it read them all.
// Each is timed in a new main window, alternately; the figure judged is the median wall time, which
// needs an otherwise idle machine; the processor time of all threads is shown beside it.
// usage: orvantis_bench_open [--runs N] [--dxf-kb N] [--work DIR]

#include "BuildingGenerator.h"
#include "ChildProcess.h"
#include "base/FileUtils.h"
#include "model/LENIProject.h"
#include "ui/editor/DxfTabDlg.h"
#include "ui/shell/DesktopMain.h"
#include "ui/shell/LENIBView.h"
#include "ui/shell/MainFrame.h"

#include <QApplication>
#include <QPixmap>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kRequiredMs = 200.0;

// Opens the project in a new main window and shows it with the selected floor drawn; with
// everyFloor, every floor's drawing is read as well. The wall time in ms; drawn tells whether the
// shown floor had its drawing.
double OpenOnce(const fs::path& project, bool everyFloor, bool& drawn, double& cpuMs) {
    std::unique_ptr<CMainFrame> frame = StartDesktop();
    QApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    frame->OpenProjectFromOutside(project.string());
    frame->show();
    CLENIBView& view = *frame->GetView();
    if (everyFloor)
        for (int i = 0; i < view.GetTabCount(); ++i)
            view.GetPage(i);
    CDxfTabDlg* page = view.GetCurrDxfTabDlg();
    drawn = page && page->HasDrawing() && !page->grab().isNull();
    QApplication::processEvents();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
    frame->close();
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int runs = 5;
    size_t dxfKb = 256;
    fs::path work = fs::temp_directory_path() / "orvantis-bench-open";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--dxf-kb" && i + 1 < argc)
            dxfKb = static_cast<size_t>(std::max(1, std::atoi(argv[++i])));
        else if (arg == "--work" && i + 1 < argc)
            work = argv[++i];
    }
    fs::remove_all(work);
    // The program's preferences and luminaire database in the work folder, not the user's.
    setenv("XDG_DATA_HOME", (work / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (work / "Documents").c_str(), 1);
    const fs::path folder = work / "B1000";
    fs::create_directories(folder);
    fs::create_directories(work / "Documents");
    const BuildingShape shape{50, 20, 2, 4, 1};
    const fs::path file = folder / "B1000.LENI1XML";
    std::ofstream(file, std::ios::binary) << GenerateBuildingXml(shape, "B1000");
    CLENIProject project;
    if (!project.ReadProject(file.string())) {
        std::printf("could not read %s\n", file.string().c_str());
        return 2;
    }
    const std::string plan = GenerateDxfPlan(dxfKb * 1024);
    for (const CLENIFloor& floor : project.GetFloors())
        std::ofstream(folder / (MakeSafeFileName(floor.GetName()) + ".DXF"), std::ios::binary) << plan;

    QApplication app(argc, argv);
    std::printf("\n== opening %s: %zu floors, a %.0f KB plan each, %d rooms ==\n", file.string().c_str(),
                project.GetFloors().size(), plan.size() / 1024.0, shape.floors * shape.roomsPerFloor);
    bool drawn = true;
    bool ignored = false;
    double cpu = 0.0, everyCpu = 0.0;
    OpenOnce(file, false, ignored, cpu); // the first start fills the luminaire database; not timed
    std::vector<double> shown, everyFloor, shownCpu;
    for (int run = 0; run < runs; ++run) {
        bool ok = false;
        shown.push_back(OpenOnce(file, false, ok, cpu));
        shownCpu.push_back(cpu);
        drawn = drawn && ok;
        everyFloor.push_back(OpenOnce(file, true, ok, everyCpu));
        drawn = drawn && ok;
        std::printf("  run %d: shown floor read %7.1f ms (cpu %6.1f ms), every floor read %7.1f ms (cpu %6.1f ms)\n",
                    run + 1, shown.back(), cpu, everyFloor.back(), everyCpu);
    }
    const double median = Median(shown);
    const double baseline = Median(everyFloor);
    const bool fast = median <= kRequiredMs;
    std::printf("  main window shown with its floor drawn: median %.1f ms (required <= %.0f ms: %s, cpu %.1f ms); "
                "every floor read (the baseline) %.1f ms, ratio %.2f; the floor drawn: %s\n",
                median, kRequiredMs, fast ? "PASS" : "FAIL", Median(shownCpu), baseline,
                baseline > 0.0 ? median / baseline : 0.0, drawn ? "yes" : "NO");
    std::error_code error;
    fs::remove_all(work, error);
    return fast && drawn ? 0 : 1;
}
