// `orvantis advise` and `orvantis compare` beside `orvantis report` on the 1000-room bench building
// (50 floors x 20 rooms x 2 zones x 4 windows), in one run: the median wall time of each and the
// ratios to one report; the advisor within 10 reports, the comparison (of a copy of the building)
// within 2.5.
// usage: orvantis_bench_variants [--runs N] [--work DIR]

#include "BuildingGenerator.h"
#include "ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    int runs = 3;
    fs::path work = fs::temp_directory_path() / "orvantis-bench-variants";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (a == "--work" && i + 1 < argc) {
            work = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [--work DIR]\n", argv[0]);
            return 2;
        }
    }
    fs::remove_all(work);
    fs::create_directories(work);
    const BuildingShape shape{50, 20, 2, 4, 1};
    const std::string xml = GenerateBuildingXml(shape, "B1000");
    std::ofstream(work / "B1000.LENI1XML", std::ios::binary) << xml;
    std::ofstream(work / "B1000_copy.LENI1XML", std::ios::binary) << xml;

    struct Command {
        const char* name;
        std::vector<std::string> args;
        double bound; // times one report; 0 for the report itself
        std::vector<double> walls;
    };
    std::vector<Command> commands = {
        {"report", {ORVANTIS_EXE, "report", "B1000.LENI1XML", "results.xml", "report.log"}, 0.0, {}},
        {"advise", {ORVANTIS_EXE, "advise", "B1000.LENI1XML", "advice.csv", "advise.log"}, 10.0, {}},
        {"compare",
         {ORVANTIS_EXE, "compare", "B1000.LENI1XML", "B1000_copy.LENI1XML", "compare.csv", "compare.log"},
         2.5,
         {}},
    };
    std::printf("orvantis advise and compare beside report: 1000 rooms, %d runs each\n", runs);
    bool ok = true;
    for (int i = 0; i < runs; ++i)
        for (Command& c : commands) {
            const ChildRun run = RunChild(c.args, {}, work.string(), (work / "stdout.txt").string());
            std::printf("  %-8s #%d  wall %8.3f s   cpu %8.3f s   peak %7ld KB\n", c.name, i + 1, run.wallSeconds,
                        run.cpuSeconds, run.peakKb);
            std::fflush(stdout);
            if (run.exitCode != 0) {
                std::printf("  !! %s exited with %d\n", c.name, run.exitCode);
                ok = false;
            }
            c.walls.push_back(run.wallSeconds);
        }
    const double report = Median(commands[0].walls);
    std::printf("  report median %.3f s\n", report);
    for (size_t i = 1; i < commands.size(); ++i) {
        const double ratio = Median(commands[i].walls) / report;
        const bool pass = ratio <= commands[i].bound;
        std::printf("  %-8s median %.3f s = %.2f x report (required <= %.1f x): %s\n", commands[i].name,
                    Median(commands[i].walls), ratio, commands[i].bound, pass ? "PASS" : "FAIL");
        ok = ok && pass;
    }
    return ok ? 0 : 1;
}
