// Reads one DXF file the way a floor tab does and prints the entity count, the time taken and
// the peak memory of the process: the program side of the DXF reading benchmark.
//   orvantis_bench_readdxf <file>

#include "dxf/DxfFile.h"

#include <chrono>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: orvantis_bench_readdxf <file>\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    CDxfFile drawing;
    const bool ok = drawing.ReadFile(argv[1]);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("read=%d entities=%d blocks=%d seconds=%.3f peak_kb=%ld\n", ok ? 1 : 0,
                drawing.GetEntityCount(), drawing.GetBlockCount(), seconds, usage.ru_maxrss);
    return ok ? 0 : 1;
}
