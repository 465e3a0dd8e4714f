// Whole-process benchmark of `orvantis pdf` beside `orvantis report` on one generated floor of many
// rooms, every page flagged (project, floor, every room and every zone): a page costs what it
// shows, so the time grows with the page count, not with pages x rooms of the floor.
//   - 250 and 1000 rooms (x 2 zones x 2 windows) on one floor, a 64 KB floor plan;
//   - report: wall time; pdf: wall and processor time, peak memory, the PDF's size and its pages
//     (the processor time shows what a busy machine adds to the wall time);
//   - 1000 rooms: the PDF within 10 s and under 50 MB.
// usage: orvantis_bench_pdf [--work DIR] [--rooms N]...

#include "BuildingGenerator.h"
#include "ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string FlagEveryPage(std::string text) {
    const std::string off = "<PrintMe>false</PrintMe>", on = "<PrintMe>true</PrintMe>";
    for (size_t at = 0; (at = text.find(off, at)) != std::string::npos; at += on.size())
        text.replace(at, off.size(), on);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    fs::path work = fs::temp_directory_path() / "orvantis-bench-pdf";
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--work") && i + 1 < argc)
            work = argv[++i];
        else if (!std::strcmp(argv[i], "--rooms") && i + 1 < argc)
            sizes.push_back(std::atoi(argv[++i]));
        else {
            std::fputs("usage: orvantis_bench_pdf [--work DIR] [--rooms N]...\n", stderr);
            return 2;
        }
    }
    if (sizes.empty()) sizes = {250, 1000};
    fs::create_directories(work);
    std::printf("%-7s %-6s %10s %10s %10s %10s %10s\n", "rooms", "pages", "report s", "pdf s", "pdf cpu s", "pdf MB",
                "peak MB");
    bool ok = true;
    for (const int rooms : sizes) {
        const fs::path folder = work / ("rooms" + std::to_string(rooms));
        fs::create_directories(folder);
        BuildingShape shape;
        shape.floors = 1;
        shape.roomsPerFloor = rooms;
        shape.zonesPerRoom = 2;
        shape.windowsPerRoom = 2;
        const std::string name = "PDF" + std::to_string(rooms);
        WriteAll(folder / (name + ".LENI1XML"), FlagEveryPage(GenerateBuildingXml(shape, name)));
        WriteAll(folder / "F00.DXF", GenerateDxfPlan(64 * 1024));
        const std::string project = (folder / (name + ".LENI1XML")).string();

        const ChildRun report = RunChild({ORVANTIS_EXE, "report", project, (folder / "r.xml").string(),
                                          (folder / "report.log").string()},
                                         {}, folder.string());
        const fs::path pdfFile = folder / "report.pdf";
        const ChildRun pdf = RunChild({ORVANTIS_EXE, "pdf", project, pdfFile.string(), (folder / "pdf.log").string()},
                                      {"QT_QPA_PLATFORM=offscreen"}, folder.string());
        std::error_code error;
        const double megabytes = double(fs::file_size(pdfFile, error)) / 1e6;
        const int pages = 2 + rooms * 3;
        std::printf("%-7d %-6d %10.2f %10.2f %10.2f %10.1f %10.0f%s\n", rooms, pages, report.wallSeconds,
                    pdf.wallSeconds, pdf.cpuSeconds, error ? -1.0 : megabytes, pdf.peakKb / 1024.0,
                    report.exitCode || pdf.exitCode ? "  (a run failed)" : "");
        if (report.exitCode || pdf.exitCode || error) ok = false;
        if (rooms == 1000 && (pdf.wallSeconds > 10.0 || megabytes >= 50.0)) {
            std::printf("1000 rooms: the PDF must take at most 10 s and stay under 50 MB\n");
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
