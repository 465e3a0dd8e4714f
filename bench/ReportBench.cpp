// Whole-process benchmark of `orvantis report` on generated buildings, the fast calculation side
// by side with the reference calculation (ORVANTIS_REFERENCE_CALC=1) in one run:
//  - speed: 10 floors x 20 rooms x 2 zones x 3 windows, median of the runs of each, and the ratio;
//  - identity: the results file, the project copy with results, the calculation log and the
//    general log (its clock aside) of both calculations compared byte for byte;
//  - scale: 100, 300, 1000 and 4000 rooms (x 20 rooms x 2 zones x 4 windows), median wall time,
//    the time per room and the peak memory against the project file; 1000 rooms within 0.3 s and
//    8 times the file's size, 4000 within 1.2 s.
// usage: orvantis_bench_report [--runs N] [--work DIR] [--identity-all] [--no-reference]

#include "BuildingGenerator.h"
#include "ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Options {
    int runs = 3;
    fs::path work = fs::temp_directory_path() / "orvantis-bench-report";
    bool identityAll = false; // the reference calculation on the scale buildings too (long)
    bool reference = true;
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The general log without its clock: the date of the first line and each message's time stamp.
std::string WithoutTimes(const std::string& log) {
    std::string out;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("CLogger::SetToFile", 0) == 0)
            line = line.substr(0, line.find(" on Date:"));
        else if (line.rfind("[", 0) == 0 && line.find("]:") != std::string::npos)
            line = line.substr(line.find("]:") + 2);
        out += line + "\n";
    }
    return out;
}

// Byte for byte, except that the results file names the day it was written: two runs either
// side of midnight may differ there and nowhere else.
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) return true;
    auto withoutDay = [](const std::string& text) {
        const size_t begin = text.find("<FileCreationDate>"), end = text.find("</FileCreationDate>");
        return begin == std::string::npos || end == std::string::npos
                   ? text
                   : text.substr(0, begin) + text.substr(end);
    };
    return withoutDay(a) == withoutDay(b) && withoutDay(a) != a;
}

struct Building {
    std::string name;
    BuildingShape shape;
    int Rooms() const { return shape.floors * shape.roomsPerFloor; }
};

// A fresh folder holding only the project file.
fs::path PrepareRun(const Options& options, const Building& b, const std::string& tag) {
    const fs::path folder = options.work / (b.name + "-" + tag);
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ofstream(folder / (b.name + ".LENI1XML"), std::ios::binary) << GenerateBuildingXml(b.shape, b.name);
    return folder;
}

ChildRun Report(const Options& options, const Building& b, const std::string& tag, bool reference) {
    const fs::path folder = PrepareRun(options, b, tag);
    ChildRun run = RunChild({ORVANTIS_EXE, "report", b.name + ".LENI1XML", "results.xml", "general.log"},
                            {reference ? "ORVANTIS_REFERENCE_CALC=1" : "ORVANTIS_REFERENCE_CALC=0"},
                            folder.string(), (folder / "stdout.txt").string());
    if (run.exitCode != 0) std::printf("  !! %s exited with %d\n", tag.c_str(), run.exitCode);
    return run;
}

// Lists what differs between the outputs of two runs; empty when they are identical.
std::string CompareOutputs(const Options& options, const Building& b, const std::string& tagA,
                           const std::string& tagB) {
    const fs::path a = options.work / (b.name + "-" + tagA), c = options.work / (b.name + "-" + tagB);
    std::string differs;
    for (const std::string& name : {std::string("results.xml"), std::string("results_(CON_RISULTATI).xml"),
                                    "LENI_CALC_LOG_" + b.name + ".TXT"}) {
        const std::string left = ReadAll(a / name);
        if (left.empty() || !SameFile(left, ReadAll(c / name))) differs += " " + name;
    }
    if (WithoutTimes(ReadAll(a / "general.log")) != WithoutTimes(ReadAll(c / "general.log")))
        differs += " general.log";
    return differs;
}

void PrintRun(const char* what, int i, const ChildRun& run) {
    std::printf("  %-10s #%d  wall %9.3f s   cpu %9.3f s   peak %7ld KB\n", what, i + 1, run.wallSeconds,
                run.cpuSeconds, run.peakKb);
    std::fflush(stdout);
}

bool SpeedAndIdentity(const Options& options) {
    const Building b{"B10X20X2X3", {10, 20, 2, 3, 1}};
    std::printf(
        "\n== report speed: %d floors x %d rooms x %d zones x %d windows (%d rooms), %d runs each ==\n",
        b.shape.floors, b.shape.roomsPerFloor, b.shape.zonesPerRoom, b.shape.windowsPerRoom, b.Rooms(),
        options.runs);
    std::vector<double> fast, reference;
    for (int i = 0; i < options.runs; ++i) {
        const ChildRun f = Report(options, b, "fast" + std::to_string(i), false);
        PrintRun("fast", i, f);
        fast.push_back(f.wallSeconds);
        if (!options.reference) continue;
        const ChildRun r = Report(options, b, "reference" + std::to_string(i), true);
        PrintRun("reference", i, r);
        reference.push_back(r.wallSeconds);
    }
    bool ok = true;
    std::printf("  median fast %.3f s", Median(fast));
    if (options.reference) {
        const double ratio = Median(reference) / Median(fast);
        std::printf(", median reference %.3f s, reference / fast = %.0fx (required >= 100x): %s\n",
                    Median(reference), ratio, ratio >= 100.0 ? "PASS" : "FAIL");
        ok = ratio >= 100.0;
        const std::string differs = CompareOutputs(options, b, "fast0", "reference0");
        std::printf(
            "  identity of fast and reference outputs (results, project copy, calculation log, general "
            "log): %s%s\n",
            differs.empty() ? "IDENTICAL" : "DIFFER:", differs.c_str());
        ok = ok && differs.empty();
    } else {
        std::printf("\n");
    }
    for (int i = 1; i < options.runs; ++i) {
        const std::string differs = CompareOutputs(options, b, "fast0", "fast" + std::to_string(i));
        if (!differs.empty()) {
            std::printf("  fast runs differ from one another:%s\n", differs.c_str());
            ok = false;
        }
    }
    return ok;
}

bool Scale(const Options& options) {
    const Building buildings[] = {
        {"B100", {5, 20, 2, 4, 1}},
        {"B300", {15, 20, 2, 4, 1}},
        {"B1000", {50, 20, 2, 4, 1}},
        {"B4000", {200, 20, 2, 4, 1}},
    };
    std::printf("\n== report scale: F floors x 20 rooms x 2 zones x 4 windows, %d runs each ==\n",
                options.runs);
    bool ok = true;
    std::vector<std::string> summary;
    for (const Building& b : buildings) {
        std::vector<double> walls, cpus;
        long peakKb = 0;
        for (int i = 0; i < options.runs; ++i) {
            const ChildRun run = Report(options, b, "fast" + std::to_string(i), false);
            PrintRun(b.name.c_str(), i, run);
            walls.push_back(run.wallSeconds);
            cpus.push_back(run.cpuSeconds);
            peakKb = std::max(peakKb, run.peakKb);
        }
        const double fileKb =
            fs::file_size(options.work / (b.name + "-fast0") / (b.name + ".LENI1XML")) / 1024.0;
        const double wall = Median(walls);
        char line[200];
        std::snprintf(line, sizeof line,
                      "  %5d rooms: median wall %7.3f s, %6.2f ms per room (cpu %6.2f ms per room)",
                      b.Rooms(), wall, 1000.0 * wall / b.Rooms(), 1000.0 * Median(cpus) / b.Rooms());
        std::string text = line;
        std::snprintf(line, sizeof line, ", peak %.1f x the file", peakKb / fileKb);
        text += line;
        if (b.Rooms() == 1000) {
            const bool pass = wall <= 0.3 && peakKb <= 8.0 * fileKb;
            text += pass ? "  (required <= 0.3 s, <= 8x: PASS)" : "  (required <= 0.3 s, <= 8x: FAIL)";
            ok = ok && pass;
        } else if (b.Rooms() == 4000) {
            text += wall <= 1.2 ? "  (required <= 1.2 s: PASS)" : "  (required <= 1.2 s: FAIL)";
            ok = ok && wall <= 1.2;
        }
        if (options.identityAll) {
            const ChildRun r = Report(options, b, "reference0", true);
            PrintRun("reference", 0, r);
            const std::string differs = CompareOutputs(options, b, "fast0", "reference0");
            text += differs.empty() ? "  identical to reference" : "  DIFFERS from reference:" + differs;
            ok = ok && differs.empty();
        }
        summary.push_back(text);
    }
    for (const std::string& s : summary)
        std::printf("%s\n", s.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            options.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--work" && i + 1 < argc)
            options.work = argv[++i];
        else if (a == "--identity-all")
            options.identityAll = true;
        else if (a == "--no-reference")
            options.reference = false;
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--work DIR] [--identity-all] [--no-reference]\n",
                         argv[0]);
            return 2;
        }
    }
    fs::create_directories(options.work);
    std::printf("orvantis report benchmark: program %s, work folder %s\n", ORVANTIS_EXE,
                options.work.c_str());
    const bool speed = SpeedAndIdentity(options);
    const bool scale = Scale(options);
    std::printf("\nreport benchmark: %s\n", speed && scale ? "PASS" : "FAIL");
    return speed && scale ? 0 : 1;
}
