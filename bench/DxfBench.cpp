// Reading a generated ASCII DXF plan: the program's reader side by side with ezdxf
// (`ezdxf.readfile`, the Python package python3-ezdxf) in one run, median wall time of the runs
// of each, the ratio, and the reader's peak memory against the file size; then `orvantis dxftoxml`
// of the same plan (about 10 900 room outlines) side by side with reading it alone: the import on
// top of the reading must keep the whole command within 2 s, with the name-limit message logged
// once. Last, `dxftoxml` of a file of the same size holding only long polylines (100 000
// vertices each): its peak memory too must stay under 4 times the file.
// usage: orvantis_bench_dxf [--runs N] [--megabytes M] [--work DIR]

#include "BuildingGenerator.h"
#include "ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    int runs = 3;
    double megabytes = 50.0;
    fs::path work = fs::temp_directory_path() / "orvantis-bench-dxf";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--megabytes" && i + 1 < argc)
            megabytes = std::atof(argv[++i]);
        else if (a == "--work" && i + 1 < argc)
            work = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--runs N] [--megabytes M] [--work DIR]\n", argv[0]);
            return 2;
        }
    }
    fs::create_directories(work);
    const fs::path plan = work / "plan.dxf";
    {
        std::ofstream out(plan, std::ios::binary);
        out << GenerateDxfPlan(static_cast<size_t>(megabytes * 1024 * 1024));
    }
    const double fileKb = fs::file_size(plan) / 1024.0;
    std::printf("\n== DXF reading: %s, %.1f MB, %d runs each ==\n", plan.c_str(), fileKb / 1024.0, runs);

    const char* const python = "/usr/bin/python3";
    const std::string script = "import sys, ezdxf; doc = ezdxf.readfile(sys.argv[1]); "
                               "print(len(doc.modelspace()), 'entities')";
    std::vector<double> ours, theirs;
    long peakKb = 0;
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
        const ChildRun a =
            RunChild({ORVANTIS_READDXF, plan.string()}, {}, "", (work / "readdxf.txt").string());
        std::printf("  program  #%d  wall %8.3f s   peak %8ld KB%s\n", i + 1, a.wallSeconds, a.peakKb,
                    a.exitCode == 0 ? "" : "   (read FAILED)");
        std::fflush(stdout);
        ok = ok && a.exitCode == 0;
        ours.push_back(a.wallSeconds);
        peakKb = std::max(peakKb, a.peakKb);
        const ChildRun b =
            RunChild({python, "-c", script, plan.string()}, {}, "", (work / "ezdxf.txt").string());
        std::printf("  ezdxf    #%d  wall %8.3f s   peak %8ld KB%s\n", i + 1, b.wallSeconds, b.peakKb,
                    b.exitCode == 0 ? "" : "   (ezdxf FAILED)");
        std::fflush(stdout);
        ok = ok && b.exitCode == 0;
        theirs.push_back(b.wallSeconds);
    }
    const double ratio = Median(theirs) / Median(ours);
    const double memory = peakKb / fileKb;
    std::printf(
        "  median program %.3f s, median ezdxf %.3f s, ezdxf / program = %.1fx (required >= 10x): %s\n",
        Median(ours), Median(theirs), ratio, ratio >= 10.0 ? "PASS" : "FAIL");
    std::printf("  program peak memory %ld KB = %.2f x the file size (required < 4x): %s\n", peakKb, memory,
                memory < 4.0 ? "PASS" : "FAIL");
    ok = ok && ratio >= 10.0 && memory < 4.0;

    std::printf("\n== dxftoxml of the same plan against reading it alone, %d runs each ==\n", runs);
    std::vector<double> convert, read;
    int limitMessages = -1;
    for (int i = 0; i < runs; ++i) {
        const fs::path log = work / "dxftoxml.log";
        fs::remove(log);
        const ChildRun c = RunChild(
            {ORVANTIS_EXE, "dxftoxml", plan.string(), (work / "plan.LENI1XML").string(), "3", log.string()},
            {}, "", (work / "dxftoxml.txt").string());
        std::printf("  dxftoxml #%d  wall %8.3f s   peak %8ld KB%s\n", i + 1, c.wallSeconds, c.peakKb,
                    c.exitCode == 0 ? "" : "   (FAILED)");
        ok = ok && c.exitCode == 0;
        convert.push_back(c.wallSeconds);
        const ChildRun r =
            RunChild({ORVANTIS_READDXF, plan.string()}, {}, "", (work / "readdxf.txt").string());
        std::printf("  reading  #%d  wall %8.3f s   peak %8ld KB\n", i + 1, r.wallSeconds, r.peakKb);
        std::fflush(stdout);
        read.push_back(r.wallSeconds);
        std::ifstream in(log);
        limitMessages = 0;
        for (std::string line; std::getline(in, line);)
            if (line.find("CLENIFloor::GURN limit reached") != std::string::npos) ++limitMessages;
    }
    const double convertMedian = Median(convert);
    std::printf(
        "  median dxftoxml %.3f s (required <= 2 s: %s), median reading alone %.3f s, import %.3f s\n",
        convertMedian, convertMedian <= 2.0 ? "PASS" : "FAIL", Median(read), convertMedian - Median(read));
    std::printf("  name-limit messages in the log: %d (required 1): %s\n", limitMessages,
                limitMessages == 1 ? "PASS" : "FAIL");
    ok = ok && convertMedian <= 2.0 && limitMessages == 1;

    const fs::path lines = work / "polylines.dxf";
    {
        std::ofstream out(lines, std::ios::binary);
        out << GenerateDxfLongPolylines(static_cast<size_t>(megabytes * 1024 * 1024), 100000);
    }
    const double linesKb = fs::file_size(lines) / 1024.0;
    std::printf("\n== dxftoxml of %.1f MB of long polylines ==\n", linesKb / 1024.0);
    const ChildRun p = RunChild({ORVANTIS_EXE, "dxftoxml", lines.string(), (work / "polylines.LENI1XML").string(),
                                 "3", (work / "polylines.log").string()},
                                {}, "", (work / "polylines.txt").string());
    const double linesMemory = p.peakKb / linesKb;
    std::printf("  dxftoxml wall %.3f s, peak %ld KB = %.2f x the file size (required < 4x): %s\n", p.wallSeconds,
                p.peakKb, linesMemory, p.exitCode == 0 && linesMemory < 4.0 ? "PASS" : "FAIL");
    ok = ok && p.exitCode == 0 && linesMemory < 4.0;
    std::printf("\nDXF benchmark: %s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
