#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

std::string FuzzFolder() {
    // Kept for the life of the process: the clean-up at exit still needs it.
    static const std::string* folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        fs::path base = tmp && *tmp ? fs::path(tmp) : fs::temp_directory_path();
        fs::path dir = base / ("orvantis_fuzz_" + std::to_string(getpid()));
        fs::create_directories(dir);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(FuzzFolder(), ec);
        });
        return new std::string(dir.string());
    }();
    return *folder;
}

std::string WriteFuzzInput(const uint8_t* data, size_t size, const std::string& fileName) {
    const std::string path = (fs::path(FuzzFolder()) / fileName).string();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) FuzzFail("cannot write the input file");
    if (size > 0 && std::fwrite(data, 1, size, file) != size) FuzzFail("cannot write the input file");
    std::fclose(file);
    return path;
}

void FuzzFail(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}
