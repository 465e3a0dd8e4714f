#pragma once
// Luminaire containers as makers publish them (.gldf): a zip archive holding product.xml, the
// photometric files of the variants, pictures and geometry. Each variant becomes one product.
//
// The archive is treated as hostile: its directory is checked against the limits below before a
// single entry is unpacked, entries are read into memory only, and nothing is written to disk.

#include "products/LumTypeData.h"
#include "products/Photometry.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What an archive may hold before it is refused unread.
struct ZipLimits {
    uint64_t maxEntries = 10000;
    uint64_t maxEntrySize = 64ull << 20;  // uncompressed bytes of one entry
    uint64_t maxTotalSize = 256ull << 20; // uncompressed bytes of all entries together
    // Uncompressed over compressed size, checked for entries above ratioFloor bytes (small files
    // of repeated bytes squeeze legitimately far).
    uint64_t maxRatio = 100;
    uint64_t ratioFloor = 1 << 20;
    size_t maxDepth = 8; // folders in an entry's path
};

// Whether this build can open zip archives at all (the Windows build has no zip library).
bool ZipSupportAvailable();

// Reads the named entries of the archive at path into memory (name -> bytes) after checking its
// whole directory against limits: the entry count, each entry's and the total uncompressed size,
// the compression ratio, the path depth, and absolute or "../" paths. names lists the entries
// wanted; an empty list reads none (only the directory, into *allNames when given). False with
// the reason when the archive cannot be opened, breaks a limit or a wanted entry is missing.
bool ReadZipEntries(const std::string& path, const std::vector<std::string>& names,
                    std::map<std::string, std::string>& entries, std::string* reason,
                    const ZipLimits& limits = ZipLimits(), std::vector<std::string>* allNames = nullptr);

// One variant of a container as product.xml describes it.
struct GldfVariant {
    std::string refId;       // product number and variant number (or id)
    std::string description; // product and variant names
    double watts = -1.0;     // from the light sources or equipment; negative when none gives one
    double standbyWatts = 0.0;
    std::string photometryEntry; // path inside the container of the first photometric file, or empty
};

struct GldfContent {
    std::string maker;
    std::vector<GldfVariant> variants;
    std::vector<std::string> localFiles; // entries the container must hold ("ldc/a.ldt")
};

// Reads a product.xml text (UTF-8, or UTF-16 with its byte order mark). language chooses among
// the Locale texts, English the fall-back, then the first given. False with the reason when the
// text is no XML, its root is not a luminaire container's or it defines no variant.
bool ReadGldfProductXml(const std::string& text, const std::string& language, GldfContent& content,
                        std::string* reason);

// One product of a container, with its photometry for the preview when the container holds one.
struct GldfProduct {
    CLumTypeData product;
    CPhotometry photometry;
    bool hasPhotometry = false;
};

// The products of the container at path, one per variant, or false with the reason: no
// product.xml, not a luminaire container, a file it refers to missing, a variant without any
// input power. All or nothing: no product is given when any variant fails.
bool ReadGldfFile(const std::string& path, const std::string& language, std::vector<GldfProduct>& products,
                  std::string* reason, const ZipLimits& limits = ZipLimits());

// The user's language as two letters from the environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG);
// "en" when none says.
std::string UserLanguage();
