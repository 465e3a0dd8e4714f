// Inputs small in bytes but huge in count (the same ones the tests run, generated here): for each,
// what the program does with it, its wall and processor time and its peak memory against the size
// of the input file.
// usage: orvantis_bench_countheavy [--work DIR]

#include "ChildProcess.h"
#include "support/CountHeavyInputs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    fs::path work = fs::temp_directory_path() / "orvantis-bench-countheavy";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--work") == 0) work = argv[++i];
    fs::remove_all(work);

    // Every file written first and the texts freed: a child's peak memory counts from the moment
    // it is forked, so this process must be small by then.
    std::vector<CountHeavyInput> inputs = CountHeavyInputs();
    for (CountHeavyInput& input : inputs) {
        fs::create_directories(work / input.fileName);
        std::ofstream out(work / input.fileName / input.fileName, std::ios::binary);
        out << input.text;
        std::string().swap(input.text);
    }
    malloc_trim(0);

    // The program's own memory (libraries, tables) on a one-room project: what an input adds is
    // measured above it.
    fs::create_directories(work / "small");
    {
        std::ofstream out(work / "small" / "SMALL.LENI1XML", std::ios::binary);
        out << SmallProject();
    }
    const ChildRun base = RunChild({ORVANTIS_EXE, "report", "SMALL.LENI1XML", "R.XML", "log.txt"}, {},
                                   (work / "small").string(), (work / "small" / "stdout.txt").string());
    std::printf("one-room project: exit %d, peak %ld kB (the program itself)\n\n", base.exitCode,
                base.peakKb);

    std::printf("%-48s %9s %5s %7s %7s %9s %9s %6s  %s\n", "input", "file kB", "exit", "wall s", "cpu s",
                "peak kB", "added kB", "xfile", "held to");
    int failures = 0;
    for (const CountHeavyInput& input : inputs) {
        const fs::path folder = work / input.fileName;
        const bool dxf =
            input.fileName.size() > 4 && input.fileName.substr(input.fileName.size() - 4) == ".dxf";
        std::vector<std::string> args = {ORVANTIS_EXE};
        if (dxf)
            args.insert(args.end(), {"dxftoxml", input.fileName, "floor.LENI1XML", "3", "log.txt"});
        else
            args.insert(args.end(), {"report", input.fileName, "R.XML", "log.txt"});
        const ChildRun run = RunChild(args, {}, folder.string(), (folder / "stdout.txt").string());
        const double fileKb = static_cast<double>(fs::file_size(folder / input.fileName)) / 1024.0;
        const long added = std::max(0L, run.peakKb - base.peakKb);
        const double ratio = static_cast<double>(added) / fileKb;
        const bool inTime = run.cpuSeconds < input.maxSeconds;
        const bool asMeant = input.refused ? run.exitCode != 0 : run.exitCode == 0;
        if (!inTime || !asMeant) ++failures;
        std::printf("%-48s %9.0f %5d %7.2f %7.2f %9ld %9ld %6.1f  %s %.0f s%s\n", input.name.c_str(), fileKb,
                    run.exitCode, run.wallSeconds, run.cpuSeconds, run.peakKb, added, ratio,
                    input.refused ? "refused in" : "done in", input.maxSeconds,
                    inTime && asMeant ? "" : "  <-- NOT HELD");
    }
    std::printf("added = peak - the one-room project's peak; xfile = added / file size; times are processor "
                "time (cpu) against the limit\n");
    fs::remove_all(work);
    return failures == 0 ? 0 : 1;
}
