// The desktop program's "Building Calculation..." on the 1000-room building (50 floors x 20 rooms x
// 2 zones x 4 windows), as the main window runs it (the annual dialog: its figures, the building's
// calculation log and the monthly chart), with the session's room results kept:
//  - cold: the first calculation of the session;
//  - after an edit: one room changed (a zone's luminaire count, a window's size, ...), then the
//    calculation again, within 15 ms;
//  - fresh: the same changed building in a new session, side by side, and the identity of what the
//    edited session shows with what the fresh one shows: the dialog's lines, the building's
//    calculation log, the general-log messages and every step's energies to the last bit.
// The same runs first on a 100-room building (5 floors of the same rooms): the 1000-room figure
// after an edit may be at most 3 times that one, so that it grows with the edit, not the building.
// The figure judged is the median over the edits of the time the designer waits (wall time), which
// needs an otherwise idle machine: on a shared one the wall time also counts the waits for a core.
// The processor time of all threads is shown beside it, with how it compares to the same limit.
// The dialog's calculation log is written on a helper thread while the dialog is shown; the time
// until it is in its file (the dialog closed at once) is shown beside the figure judged.
// The project and its 15 MB calculation log sit in a memory folder (/dev/shm) when there is one,
// so the figures are those of the calculation; what writing that log to the disk adds (it is
// synced) is measured on its own.
// usage: orvantis_bench_recalc [--edits N] [--work DIR] [--again N]
//   --edits N: edits per building (10); --again N: the unchanged calculation N times more (to
//   profile the answer from the memo)

#include "BuildingGenerator.h"
#include "ChildProcess.h"
#include "base/Logger.h"
#include "calc/CalcLog.h"
#include "calc/EnergyCalc.h"
#include "calc/RoomPassMemo.h"
#include "model/LENIProject.h"
#include "ui/results/LeniResultDlg.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kRequiredMs = 15.0;
// After an edit, the 1000-room building at most this many times the 100-room one.
constexpr double kRequiredGrowth = 3.0;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// What the user is shown and left with after one "Building Calculation...".
struct Outcome {
    double ms = 0.0;    // the dialog made, its calculation included
    double cpuMs = 0.0; // processor time meanwhile, of every thread
    double logMs = 0.0; // until the dialog is gone and its log, written on a helper meanwhile, in its file
    std::string lines, log, messages, energies;
    bool operator==(const Outcome& o) const {
        return lines == o.lines && log == o.log && messages == o.messages && energies == o.energies;
    }
};

std::string g_Messages;

Outcome BuildingCalculation(const CLENIProject& project) {
    Outcome out;
    g_Messages.clear();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu = std::clock();
    {
        CLeniResultDlg dialog(project, "", 0);
        out.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        out.cpuMs = 1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC;
        for (const std::string& line : {dialog.GetPowerLine(), dialog.GetEnergyLine(), dialog.GetAreaLine(),
                                        dialog.GetHoursLine(), dialog.GetResultLine()})
            out.lines += line + "\n";
    }
    out.logMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    out.log =
        ReadAll(GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName(project.GetName())));
    out.messages = g_Messages;
    // The numbers behind the dialog and its chart, to the last bit (the session answers these too).
    CRoomPassMemo memo;
    CCalcLogQuiet quiet;
    for (unsigned step = 0; step < 13; ++step) {
        char text[80];
        std::snprintf(text, sizeof text, "%u %a %a\n", step, GetLightingEnergy(project, step),
                      GetParasiticEnergy(project, step));
        out.energies += text;
    }
    return out;
}

struct Edit {
    const char* what;
    std::function<void(CLENIProject&)> apply;
};

// The floor is counted from the top down when the building has fewer floors.
CLENIRoom& RoomAt(CLENIProject& project, int floor, int room) {
    const int floors = static_cast<int>(project.GetFloors().size());
    if (floor >= floors) floor = floors - 1 - floor % floors;
    return *project.GetFloorByIndex(floor)->GetRoomByIndex(room);
}

std::vector<Edit> Edits() {
    return {
        {"zone luminaire count +1 (floor 25, room 10)",
         [](CLENIProject& p) {
             CLENIRoom& room = RoomAt(p, 25, 10);
             CLENIZone& zone = *room.FindZone(room.GetZones()[0].GetName());
             std::string refId;
             int count = 0;
             zone.GetLumList().GetLuminaireAtIndex(0, refId, count);
             zone.GetLumList().SetLuminaireCount(refId, count + 1);
         }},
        {"window width -0.2 m (floor 3, room 4)",
         [](CLENIProject& p) {
             CLENIRoom& room = RoomAt(p, 3, 4);
             CLENIWindow window = room.GetWindows()[0];
             window.m_dWidth -= 0.2;
             room.ChangeWindow(window);
         }},
        {"window sill +0.1 m (floor 0, room 0)",
         [](CLENIProject& p) {
             CLENIRoom& room = RoomAt(p, 0, 0);
             CLENIWindow window = room.GetWindows()[1];
             window.m_dSillHeight += 0.1;
             room.ChangeWindow(window);
         }},
        {"daylight hours td -250 (floor 49, room 19)",
         [](CLENIProject& p) { RoomAt(p, 49, 19).SetTd(2000); }},
        {"zone illuminance real +50 lx (floor 10, room 7)",
         [](CLENIProject& p) {
             CLENIRoom& room = RoomAt(p, 10, 7);
             CLENIZone zone = room.GetZones()[1];
             zone.SetRealIlluminance(zone.GetRealIlluminance() + 50.0);
             room.ReplaceZone(zone);
         }},
    };
}

struct BuildingFigures {
    double wall = 0.0; // median after an edit
    double cpu = 0.0;
    bool identical = true;
};

BuildingFigures RunBuilding(const BuildingShape& shape, const std::string& name, const fs::path& work,
                            size_t editCount, int againCount, bool showDisk) {
    BuildingFigures figures;
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path file = work / (name + ".LENI1XML");
    std::ofstream(file, std::ios::binary) << GenerateBuildingXml(shape, name);

    Log().SetToFile((work / "general.log").string());
    Log().SetObserver(
        [](int level, const std::string& text) { g_Messages += std::to_string(level) + " " + text + "\n"; });
    CLENIProject project;
    if (!project.ReadProject(file.string())) {
        std::printf("could not read %s\n", file.string().c_str());
        figures.identical = false;
        return figures;
    }

    std::printf(
        "\n== desktop recalculation: \"Building Calculation...\" on %d floors x %d rooms x %d zones x %d "
        "windows (%d rooms) ==\n",
        shape.floors, shape.roomsPerFloor, shape.zonesPerRoom, shape.windowsPerRoom,
        shape.floors * shape.roomsPerFloor);
    std::optional<CRoomResultMemo> session;
    session.emplace();
    const Outcome cold = BuildingCalculation(project);
    std::printf("  project and logs in %s\n", work.string().c_str());
    std::printf("  first calculation of the session (cold): %8.1f ms (cpu %.1f ms)\n", cold.ms, cold.cpuMs);
    Outcome again;
    for (int i = 0; i < againCount; ++i)
        again = BuildingCalculation(project);
    std::printf("  the same again, nothing changed:          %8.1f ms (cpu %.1f ms) %s\n", again.ms,
                again.cpuMs, again == cold ? "(identical)" : "(DIFFERS)");
    bool ok = again == cold;

    std::vector<double> edited, editedCpu;
    const std::vector<Edit> edits = Edits();
    std::printf("  %-48s %12s %12s %12s %12s %10s\n", "one room changed", "after edit", "(cpu)", "(log in file)",
                "fresh", "identity");
    for (size_t i = 0; i < editCount; ++i) {
        const Edit& edit = edits[i % edits.size()];
        edit.apply(project);
        const Outcome recalc = BuildingCalculation(project);
        const CRoomResultMemo::Stats stats = CRoomResultMemo::GetActiveStats();
        session.reset(); // a new session: nothing kept
        session.emplace();
        const Outcome fresh = BuildingCalculation(project);
        const bool same = recalc == fresh && recalc.log != cold.log;
        std::printf("  %-48s %9.1f ms %9.1f ms %9.1f ms %9.1f ms %10s\n", edit.what, recalc.ms, recalc.cpuMs,
                    recalc.logMs, fresh.ms, same ? "IDENTICAL" : "DIFFER");
        if (!same)
            std::printf("    differs in:%s%s%s%s%s\n", recalc.lines != fresh.lines ? " dialog" : "",
                        recalc.log != fresh.log ? " log" : "",
                        recalc.messages != fresh.messages ? " messages" : "",
                        recalc.energies != fresh.energies ? " energies" : "",
                        recalc.log == cold.log ? " (the edit changed nothing)" : "");
        if (i == 0)
            std::printf("    (session memo: %zu room contents, %.1f MB)\n", stats.rooms,
                        stats.bytes / 1048576.0);
        ok = ok && same;
        edited.push_back(recalc.ms);
        editedCpu.push_back(recalc.cpuMs);
    }
    double worst = 0.0;
    for (double ms : edited)
        worst = std::max(worst, ms);
    figures.cpu = editedCpu.empty() ? 0.0 : Median(editedCpu);
    figures.wall = edited.empty() ? 0.0 : Median(edited);
    std::printf("  after a one-room edit: median %.1f ms wall (worst %.1f ms), processor time of all threads "
                "%.1f ms; cold %.1f ms\n",
                figures.wall, worst, figures.cpu, cold.ms);
    if (showDisk) {
        // What the disk adds: the same log written and synced in the temporary folder.
        const std::string log =
            ReadAll(GetCalcLogPath(project.GetProjectFolder(), GetBuildingCalcLogFileName(name)));
        const fs::path onDisk = fs::temp_directory_path() / "orvantis-bench-recalc-log.txt";
        const auto start = std::chrono::steady_clock::now();
        StartCalcLogger(onDisk.string());
        WriteCalcLogText(log);
        StopCalcLogger();
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::error_code error;
        fs::remove(onDisk, error);
        std::printf(
            "  (the %.1f MB calculation log written and synced to %s instead: %.1f ms more or less)\n",
            log.size() / 1048576.0, fs::temp_directory_path().string().c_str(), ms);
    }
    Log().SetObserver(nullptr);
    Log().Reset();
    std::error_code error;
    fs::remove_all(work, error); // 20 MB, perhaps in memory
    figures.identical = ok;
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    size_t editCount = 10;
    int againCount = 1;
    const fs::path memoryFolder = "/dev/shm";
    std::error_code error;
    fs::path work = (fs::is_directory(memoryFolder, error) ? memoryFolder : fs::temp_directory_path()) /
                    "orvantis-bench-recalc";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--edits" && i + 1 < argc)
            editCount = static_cast<size_t>(std::atoi(argv[++i]));
        else if (arg == "--again" && i + 1 < argc)
            againCount = std::max(1, std::atoi(argv[++i]));
        else if (arg == "--work" && i + 1 < argc)
            work = argv[++i];
    }

    const BuildingFigures small = RunBuilding({5, 20, 2, 4, 1}, "B100", work, editCount, againCount, false);
    const BuildingFigures large = RunBuilding({50, 20, 2, 4, 1}, "B1000", work, editCount, againCount, true);
    const bool fast = editCount > 0 && large.wall <= kRequiredMs;
    const double growth = small.wall > 0.0 ? large.wall / small.wall : 0.0;
    const bool flat = editCount > 0 && growth <= kRequiredGrowth;
    std::printf("\n  after a one-room edit, median wall: 1000 rooms %.1f ms (required <= %.0f ms: %s), 100 rooms "
                "%.1f ms, ratio %.2f (required <= %.0f: %s); processor time %.1f ms and %.1f ms\n",
                large.wall, kRequiredMs, fast ? "PASS" : "FAIL", small.wall, growth, kRequiredGrowth,
                flat ? "PASS" : "FAIL", large.cpu, small.cpu);
    const bool ok = small.identical && large.identical;
    std::printf("  identity with a fresh calculation (dialog, calculation log, messages, energies): %s\n",
                ok ? "IDENTICAL" : "DIFFER");
    return ok && fast && flat ? 0 : 1;
}
