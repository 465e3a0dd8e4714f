#pragma once
// Importing many luminaire files at once (photometric files and luminaire containers, or whole
// folders of them) into a database, with one summary for all of them instead of a message each.

#include "products/LumSysDataBase.h"
#include "products/Photometry.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct ProductImportSummary {
    std::vector<std::string> imported;   // reference ids added
    std::vector<std::string> duplicates; // reference ids already in the database, left as they were
    std::vector<std::pair<std::string, std::string>> refused; // file, reason
    // "3 imported, 1 skipped as already present, 1 refused" and one line per refusal.
    std::string Text() const;
};

// Whether the name ends in .ldt, .ies or .gldf (any case).
bool IsProductFileName(const std::string& path);

// The product files named: files as given, folders searched (with their subfolders) for .ldt,
// .ies and .gldf files, in name order. A path that does not exist goes to the refusals.
std::vector<std::string> CollectProductFiles(const std::vector<std::string>& paths, ProductImportSummary& summary);

// Reads every file into products and adds them to database in one change (one write of a
// database with a file). A reference id already in the database is skipped as a duplicate; a
// refused file adds nothing. previews, when given, receives each imported product's photometry
// by reference id. An LDT file without a luminaire number takes its file name as reference id.
void ImportProductFiles(CLumSysDataBase& database, const std::vector<std::string>& files, ProductImportSummary& summary,
                        std::map<std::string, CPhotometry>* previews = nullptr);
