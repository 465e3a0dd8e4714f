// Writes a synthetic project file or DXF plan for the benchmarks.
//   orvantis_bench_gen building <floors> <rooms> <zones> <windows> <roof lights> <file>
//   orvantis_bench_gen dxf <megabytes> <file>
//   orvantis_bench_gen dxf-polylines <megabytes> <vertices per polyline> <file>
// The project's name is the file's stem, so its calculation log lands beside it.

#include "BuildingGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && ok;
}

int Usage() {
    std::fputs("usage: orvantis_bench_gen building <floors> <rooms> <zones> <windows> <roof lights> <file>\n"
               "       orvantis_bench_gen dxf <megabytes> <file>\n"
               "       orvantis_bench_gen dxf-polylines <megabytes> <vertices per polyline> <file>\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string what = argv[1];
    std::string text, path;
    if (what == "building" && argc == 8) {
        BuildingShape shape;
        shape.floors = std::atoi(argv[2]);
        shape.roomsPerFloor = std::atoi(argv[3]);
        shape.zonesPerRoom = std::atoi(argv[4]);
        shape.windowsPerRoom = std::atoi(argv[5]);
        shape.roofLightsPerRoom = std::atoi(argv[6]);
        path = argv[7];
        if (shape.floors < 1 || shape.roomsPerFloor < 1 || shape.zonesPerRoom < 1 ||
            shape.windowsPerRoom < 0 || shape.roofLightsPerRoom < 0)
            return Usage();
        text = GenerateBuildingXml(shape, std::filesystem::path(path).stem().string());
    } else if (what == "dxf" && argc == 4) {
        const double megabytes = std::atof(argv[2]);
        if (!(megabytes > 0.0)) return Usage();
        path = argv[3];
        text = GenerateDxfPlan(static_cast<size_t>(megabytes * 1024 * 1024));
    } else if (what == "dxf-polylines" && argc == 5) {
        const double megabytes = std::atof(argv[2]);
        const int vertices = std::atoi(argv[3]);
        if (!(megabytes > 0.0) || vertices < 2) return Usage();
        path = argv[4];
        text = GenerateDxfLongPolylines(static_cast<size_t>(megabytes * 1024 * 1024), vertices);
    } else {
        return Usage();
    }
    if (!WriteFile(path, text)) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return 1;
    }
    return 0;
}
