#pragma once
// The work of the batch command "import": photometric files and luminaire containers, or folders
// of them, added to a luminaire database file.

#include <string>
#include <vector>

struct ImportJob {
    std::string databaseFile; // created when missing
    std::vector<std::string> sources;
};

// Reads the database (a new one when the file is missing), imports every source, writes the
// database and prints one summary. Returns BATCH_DONE, BATCH_INPUT_MISSING (a source that does
// not exist; nothing written), BATCH_READ_FAILED (the database file exists but cannot be read;
// left untouched), BATCH_WRITE_FAILED or BATCH_IMPORT_REFUSED (some files refused, the others
// imported and written).
int RunImport(const ImportJob& job);
