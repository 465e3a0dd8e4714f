// Whole-process benchmark of `orvantis pdf` beside `orvantis report` on one generated floor of many
// rooms, with the default print pages (the project and the floor: then the results section) and with
// every page flagged (project, floor, every room and every zone): a page costs what it shows, so the
// time grows with the page count, not with pages x rooms of the floor.
//   - 250 and 1000 rooms (x 2 zones x 2 windows) on one floor, a 64 KB floor plan;
//   - report: wall time; pdf: wall and processor time, peak memory, the PDF's size and its pages
//     (the processor time shows what a busy machine adds to the wall time);
//   - 1000 rooms: the default pages within 2 s and a peak memory of at most 10 times the project
//     file, every page within 10 s and the PDF under 50 MB.
//   - the 1000-room bench building of orvantis_bench_report (50 floors x 20 rooms x 2 zones x 4
//     windows) with a new project's default pages (the project page and every floor page, then the
//     results section): within 2 s and a peak memory of at most 10 times the project file.
// usage: orvantis_bench_pdf [--work DIR] [--rooms N]...

#include "BuildingGenerator.h"
#include "ChildProcess.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Flags the first `count` pages in file order (the project, then the floor, ...), or all of them.
std::string FlagPages(std::string text, size_t count = std::string::npos) {
    const std::string off = "<PrintMe>false</PrintMe>", on = "<PrintMe>true</PrintMe>";
    size_t flagged = 0;
    for (size_t at = 0; flagged < count && (at = text.find(off, at)) != std::string::npos;
         at += on.size(), ++flagged)
        text.replace(at, off.size(), on);
    return text;
}

// Flags the project page and every floor page: a new project's defaults.
std::string FlagProjectAndFloors(std::string text) {
    const std::string off = "<PrintMe>false</PrintMe>", on = "<PrintMe>true</PrintMe>";
    text = FlagPages(text, 1);
    for (size_t at = 0; (at = text.find("<Floor ", at)) != std::string::npos; ++at) {
        const size_t flag = text.find(off, at);
        if (flag == std::string::npos) break;
        text.replace(flag, off.size(), on);
    }
    return text;
}

// The pages of a PDF as Qt writes them: one "/Type /Page" object each.
int CountPages(const fs::path& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int pages = 0;
    for (size_t at = 0; (at = text.find("/Type /Page", at)) != std::string::npos; at += 11)
        if (text.compare(at, 12, "/Type /Pages") != 0) ++pages;
    return pages;
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
    std::printf("%-7s %-8s %-6s %10s %10s %10s %10s %10s %10s\n", "rooms", "pages", "count", "report s",
                "pdf s", "pdf cpu s", "pdf MB", "peak MB", "project MB");
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
        const std::string xml = GenerateBuildingXml(shape, name);
        WriteAll(folder / "F00.DXF", GenerateDxfPlan(64 * 1024));
        const fs::path project = folder / (name + ".LENI1XML");
        WriteAll(project, FlagPages(xml, 2));
        const ChildRun report = RunChild({ORVANTIS_EXE, "report", project.string(),
                                          (folder / "r.xml").string(), (folder / "report.log").string()},
                                         {}, folder.string());
        for (const bool every : {false, true}) {
            // The project page and the floor's page are a new project's defaults.
            WriteAll(project, every ? FlagPages(xml) : FlagPages(xml, 2));
            const double projectMb = double(fs::file_size(project)) / 1e6;
            const fs::path pdfFile = folder / (every ? "every.pdf" : "default.pdf");
            const ChildRun pdf = RunChild(
                {ORVANTIS_EXE, "pdf", project.string(), pdfFile.string(), (folder / "pdf.log").string()},
                {"QT_QPA_PLATFORM=offscreen"}, folder.string());
            std::error_code error;
            const double megabytes = double(fs::file_size(pdfFile, error)) / 1e6;
            const double peakMb = pdf.peakKb / 1024.0;
            std::printf("%-7d %-8s %-6d %10.2f %10.2f %10.2f %10.1f %10.0f %10.1f%s\n", rooms,
                        every ? "every" : "default", error ? 0 : CountPages(pdfFile), report.wallSeconds,
                        pdf.wallSeconds, pdf.cpuSeconds, error ? -1.0 : megabytes, peakMb, projectMb,
                        report.exitCode || pdf.exitCode ? "  (a run failed)" : "");
            if (report.exitCode || pdf.exitCode || error) ok = false;
            if (rooms != 1000) continue;
            if (every && (pdf.wallSeconds > 10.0 || megabytes >= 50.0)) {
                std::printf("1000 rooms, every page: the PDF must take at most 10 s and stay under 50 MB\n");
                ok = false;
            }
            if (!every && (pdf.wallSeconds > 2.0 || peakMb > 10.0 * projectMb)) {
                std::printf(
                    "1000 rooms, default pages: the PDF must take at most 2 s and a peak memory of at "
                    "most 10 times the project file\n");
                ok = false;
            }
        }
    }
    {
        const fs::path folder = work / "building1000";
        fs::create_directories(folder);
        BuildingShape shape;
        shape.floors = 50;
        shape.roomsPerFloor = 20;
        shape.zonesPerRoom = 2;
        shape.windowsPerRoom = 4;
        const fs::path project = folder / "BUILDING1000.LENI1XML";
        WriteAll(project, FlagProjectAndFloors(GenerateBuildingXml(shape, "BUILDING1000")));
        const double projectMb = double(fs::file_size(project)) / 1e6;
        const ChildRun report = RunChild({ORVANTIS_EXE, "report", project.string(),
                                          (folder / "r.xml").string(), (folder / "report.log").string()},
                                         {}, folder.string());
        const fs::path pdfFile = folder / "default.pdf";
        const ChildRun pdf = RunChild(
            {ORVANTIS_EXE, "pdf", project.string(), pdfFile.string(), (folder / "pdf.log").string()},
            {"QT_QPA_PLATFORM=offscreen"}, folder.string());
        std::error_code error;
        const double megabytes = double(fs::file_size(pdfFile, error)) / 1e6;
        const double peakMb = pdf.peakKb / 1024.0;
        std::printf("%-7s %-8s %-6d %10.2f %10.2f %10.2f %10.1f %10.0f %10.1f%s\n", "50x20", "default",
                    error ? 0 : CountPages(pdfFile), report.wallSeconds, pdf.wallSeconds, pdf.cpuSeconds,
                    error ? -1.0 : megabytes, peakMb, projectMb,
                    report.exitCode || pdf.exitCode ? "  (a run failed)" : "");
        if (report.exitCode || pdf.exitCode || error || pdf.wallSeconds > 2.0 || peakMb > 10.0 * projectMb) {
            std::printf("the 1000-room bench building: the PDF must take at most 2 s and a peak memory of "
                        "at most 10 times the project file\n");
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
