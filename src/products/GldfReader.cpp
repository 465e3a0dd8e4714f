#include "products/GldfReader.h"

#include "base/ProjectFileXml.h"
#include "base/TextUtils.h"
#include "base/XmlUtils.h"

#include <tinyxml.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#ifdef ORVANTIS_HAVE_LIBZIP
#include <zip.h>
#endif

namespace {

void SetReason(std::string* reason, const std::string& text) {
    if (reason) *reason = text;
}

// An entry name the archive may not hold: absolute, with a drive, a "..", or too deep.
[[maybe_unused]] std::string BadEntryName(const std::string& name, size_t maxDepth) {
    if (name.empty()) return "an entry without a name";
    if (name[0] == '/' || name[0] == '\\') return "an absolute path (" + name + ")";
    if (name.size() > 1 && name[1] == ':') return "a path with a drive (" + name + ")";
    if (name.find('\0') != std::string::npos) return "a name with a NUL character";
    size_t depth = 0;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        if (part == "..") return "a path leaving the archive (" + name + ")";
        if (end < name.size()) ++depth;
        start = end + 1;
    }
    if (depth > maxDepth) return "a path nested too deep (" + name + ")";
    return std::string();
}

} // namespace

#ifdef ORVANTIS_HAVE_LIBZIP

bool ZipSupportAvailable() {
    return true;
}

namespace {
struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
} // namespace

bool ReadZipEntries(const std::string& path, const std::vector<std::string>& names,
                    std::map<std::string, std::string>& entries, std::string* reason, const ZipLimits& limits,
                    std::vector<std::string>* allNames) {
    entries.clear();
    int error = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open(path.c_str(), ZIP_RDONLY, &error));
    if (!archive) {
        zip_error_t zipError;
        zip_error_init_with_code(&zipError, error);
        SetReason(reason, std::string("not a readable zip archive: ") + zip_error_strerror(&zipError));
        zip_error_fini(&zipError);
        return false;
    }
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || static_cast<uint64_t>(count) > limits.maxEntries) {
        SetReason(reason, StrPrintf("the archive holds too many entries (%lld, at most %llu)",
                                    static_cast<long long>(count), static_cast<unsigned long long>(limits.maxEntries)));
        return false;
    }
    // The whole directory is checked before any entry is unpacked.
    std::map<std::string, zip_uint64_t> index;
    uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 || !stat.name ||
            !(stat.valid & ZIP_STAT_SIZE) || !(stat.valid & ZIP_STAT_COMP_SIZE)) {
            SetReason(reason, StrPrintf("entry %lld of the archive cannot be read", static_cast<long long>(i)));
            return false;
        }
        const std::string name = stat.name;
        const std::string bad = BadEntryName(name, limits.maxDepth);
        if (!bad.empty()) {
            SetReason(reason, "the archive holds " + bad);
            return false;
        }
        if (stat.size > limits.maxEntrySize) {
            SetReason(reason, StrPrintf("entry %s is too large unpacked (%llu bytes, at most %llu)", name.c_str(),
                                        static_cast<unsigned long long>(stat.size),
                                        static_cast<unsigned long long>(limits.maxEntrySize)));
            return false;
        }
        total += stat.size;
        if (total > limits.maxTotalSize) {
            SetReason(reason, StrPrintf("the archive is too large unpacked (more than %llu bytes)",
                                        static_cast<unsigned long long>(limits.maxTotalSize)));
            return false;
        }
        if (stat.size > limits.ratioFloor && stat.size / (stat.comp_size ? stat.comp_size : 1) > limits.maxRatio) {
            SetReason(reason, StrPrintf("entry %s is compressed beyond belief (%llu bytes from %llu)", name.c_str(),
                                        static_cast<unsigned long long>(stat.size),
                                        static_cast<unsigned long long>(stat.comp_size)));
            return false;
        }
        index.emplace(name, static_cast<zip_uint64_t>(i));
        if (allNames) allNames->push_back(name);
    }
    for (const std::string& name : names) {
        const auto found = index.find(name);
        if (found == index.end()) {
            SetReason(reason, "the archive does not hold " + name);
            return false;
        }
        zip_stat_t stat;
        zip_stat_init(&stat);
        zip_stat_index(archive.get(), found->second, 0, &stat);
        std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(archive.get(), found->second, 0));
        if (!file) {
            SetReason(reason, "entry " + name + " cannot be unpacked");
            return false;
        }
        // Never more than the directory announced, whatever the compressed data unfolds to.
        std::string data(static_cast<size_t>(stat.size), '\0');
        zip_int64_t got = data.empty() ? 0 : zip_fread(file.get(), &data[0], data.size());
        char extra;
        if (got != static_cast<zip_int64_t>(data.size()) || zip_fread(file.get(), &extra, 1) != 0) {
            SetReason(reason, "entry " + name + " is damaged");
            return false;
        }
        entries[name] = std::move(data);
    }
    return true;
}

#else

bool ZipSupportAvailable() {
    return false;
}

bool ReadZipEntries(const std::string&, const std::vector<std::string>&, std::map<std::string, std::string>& entries,
                    std::string* reason, const ZipLimits&, std::vector<std::string>*) {
    entries.clear();
    SetReason(reason, "luminaire containers (.gldf) cannot be read: not available in this build");
    return false;
}

#endif

namespace {

// UTF-16 with a byte order mark becomes UTF-8; anything else stays (a UTF-8 mark is dropped).
std::string ToUtf8(const std::string& text) {
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
        return text.substr(3);
    if (text.size() < 2) return text;
    const unsigned char b0 = static_cast<unsigned char>(text[0]);
    const unsigned char b1 = static_cast<unsigned char>(text[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE;
    const bool big = b0 == 0xFE && b1 == 0xFF;
    if (!little && !big) return text;
    std::string out;
    out.reserve(text.size() / 2);
    auto unit = [&](size_t i) -> unsigned {
        const unsigned a = static_cast<unsigned char>(text[i]);
        const unsigned b = static_cast<unsigned char>(text[i + 1]);
        return little ? (a | (b << 8)) : ((a << 8) | b);
    };
    for (size_t i = 2; i + 1 < text.size(); i += 2) {
        unsigned cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < text.size()) {
            const unsigned low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

const TiXmlElement* Child(const TiXmlNode* node, const char* name) {
    return node ? node->FirstChildElement(name) : nullptr;
}

// The parser keeps texts in the program's code page, as for its own files: back to UTF-8 here.
std::string Text(const TiXmlElement* element) {
    return element ? TrimWhiteSpace(GetXmlText(element)) : std::string();
}

// A text given as a list of Locale elements (or, in older containers, as plain text): the one
// in language, else English, else the first.
std::string LocaleText(const TiXmlElement* element, const std::string& language) {
    if (!element) return std::string();
    const TiXmlElement* locale = element->FirstChildElement("Locale");
    if (!locale) return Text(element);
    std::string english, first;
    bool haveFirst = false;
    for (; locale; locale = locale->NextSiblingElement("Locale")) {
        const char* lang = locale->Attribute("language");
        const std::string text = Text(locale);
        if (lang && EqualsNoCase(lang, language) && !text.empty()) return text;
        if (lang && EqualsNoCase(lang, "en") && english.empty()) english = text;
        if (!haveFirst && !text.empty()) {
            first = text;
            haveFirst = true;
        }
    }
    return english.empty() ? first : english;
}

// The elements with an id attribute among the children of a definitions list.
std::map<std::string, const TiXmlElement*> ById(const TiXmlElement* list) {
    std::map<std::string, const TiXmlElement*> map;
    if (!list) return map;
    for (const TiXmlElement* e = list->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* id = e->Attribute("id");
        if (id) map.emplace(id, e);
    }
    return map;
}

// A reference given as a child element's attribute or, in older containers, as an attribute
// of the element itself.
std::string RefAttr(const TiXmlElement* element, const char* child, const char* attr) {
    const TiXmlElement* ref = Child(element, child);
    const char* value = ref ? ref->Attribute(attr) : nullptr;
    if (!value) value = element->Attribute(attr);
    return value ? value : std::string();
}

// A power element's value, W; negative when absent, no number or out of range.
double Watts(const TiXmlElement* element) {
    const std::string text = Text(element);
    if (text.empty()) return -1.0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(value >= 0.0) || value > CLumTypeData::kMaxPower) return -1.0;
    return value;
}

void CollectEmitterIds(const TiXmlElement* element, std::vector<std::string>& ids) {
    for (const TiXmlElement* e = element->FirstChildElement(); e; e = e->NextSiblingElement()) {
        const char* id = e->Attribute("emitterId");
        if (id) {
            bool seen = false;
            for (const std::string& known : ids) seen = seen || known == id;
            if (!seen) ids.push_back(id);
        }
        CollectEmitterIds(e, ids);
    }
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

bool ReadGldfProductXml(const std::string& rawText, const std::string& language, GldfContent& content,
                        std::string* reason) {
    content = GldfContent();
    TiXmlDocument doc;
    // Parsed byte by byte as the program's own files are (the UTF-8 texts pass through whole),
    // with their guard against documents nested deep enough to exhaust the parser's stack.
    if (!ParseFileText(ToUtf8(rawText), doc)) {
        SetReason(reason, StrPrintf("product.xml is no readable XML (%s)", doc.Error() ? doc.ErrorDesc() : "nested too deep"));
        return false;
    }
    const TiXmlElement* root = doc.RootElement();
    if (!root || std::strcmp(root->Value(), "Root") != 0 || !Child(root, "Header")) {
        SetReason(reason, "product.xml does not describe a luminaire container (its root is <" +
                              std::string(root ? root->Value() : "") + ">, not <Root> with a <Header>)");
        return false;
    }
    content.maker = Text(Child(Child(root, "Header"), "Manufacturer"));
    const TiXmlElement* general = Child(root, "GeneralDefinitions");
    const auto files = ById(Child(general, "Files"));
    const auto photometries = ById(Child(general, "Photometries"));
    const auto sources = ById(Child(general, "LightSources"));
    const auto gears = ById(Child(general, "ControlGears"));
    const auto equipments = ById(Child(general, "Equipments"));
    const auto emitters = ById(Child(general, "Emitters"));

    // Files kept inside the container sit in a folder named by their content type.
    std::map<std::string, std::string> entryOfFile;
    for (const auto& file : files) {
        const char* type = file.second->Attribute("type");
        if (!type || std::strcmp(type, "localFileName") != 0) continue;
        const char* contentType = file.second->Attribute("contentType");
        std::string folder = contentType ? contentType : "other";
        folder = folder.substr(0, folder.find('/'));
        const std::string entry = folder + "/" + Text(file.second);
        entryOfFile[file.first] = entry;
        content.localFiles.push_back(entry);
    }

    const TiXmlElement* definitions = Child(root, "ProductDefinitions");
    const TiXmlElement* meta = Child(definitions, "ProductMetaData");
    const std::string productNumber = LocaleText(Child(meta, "ProductNumber"), language);
    const std::string productName = LocaleText(Child(meta, "Name"), language);
    const TiXmlElement* variants = Child(definitions, "Variants");
    size_t variantCount = 0;
    for (const TiXmlElement* v = Child(variants, "Variant"); v; v = v->NextSiblingElement("Variant")) ++variantCount;
    if (variantCount == 0) {
        SetReason(reason, "product.xml defines no product variant");
        return false;
    }

    for (const TiXmlElement* v = Child(variants, "Variant"); v; v = v->NextSiblingElement("Variant")) {
        GldfVariant variant;
        const char* id = v->Attribute("id");
        std::string number = LocaleText(Child(v, "ProductNumber"), language);
        if (number.empty() && variantCount > 1 && id) number = id;
        if (number.empty() || number == productNumber)
            variant.refId = productNumber;
        else if (productNumber.empty() || number.compare(0, productNumber.size(), productNumber) == 0)
            variant.refId = number;
        else
            variant.refId = productNumber + " " + number;
        if (variant.refId.empty() && id) variant.refId = id;

        const std::string variantName = LocaleText(Child(v, "Name"), language);
        if (variantName.empty() || variantName == productName)
            variant.description = productName;
        else if (productName.empty())
            variant.description = variantName;
        else
            variant.description = productName + " - " + variantName;

        std::vector<std::string> emitterIds;
        if (const TiXmlElement* geometry = Child(v, "Geometry")) CollectEmitterIds(geometry, emitterIds);
        double watts = 0.0;
        bool allPowered = !emitterIds.empty();
        for (const std::string& emitterId : emitterIds) {
            const auto emitter = emitters.find(emitterId);
            if (emitter == emitters.end()) {
                SetReason(reason, "variant " + variant.refId + " refers to an undefined emitter " + emitterId);
                return false;
            }
            for (const TiXmlElement* e = emitter->second->FirstChildElement(); e; e = e->NextSiblingElement()) {
                if (!EndsWith(e->Value(), "LightEmitter")) continue;
                double power = -1.0;
                std::string gearId = RefAttr(e, "ControlGearReference", "controlGearId");
                const std::string equipmentId = RefAttr(e, "EquipmentReference", "equipmentId");
                const auto equipment = equipments.find(equipmentId);
                if (equipment != equipments.end()) {
                    power = Watts(Child(equipment->second, "RatedInputPower"));
                    if (gearId.empty()) gearId = RefAttr(equipment->second, "ControlGearReference", "controlGearId");
                    if (power < 0) {
                        std::string sourceId =
                            RefAttr(equipment->second, "LightSourceReference", "changeableLightSourceId");
                        if (sourceId.empty())
                            sourceId = RefAttr(equipment->second, "LightSourceReference", "fixedLightSourceId");
                        const auto source = sources.find(sourceId);
                        if (source != sources.end()) power = Watts(Child(source->second, "RatedInputPower"));
                    }
                } else {
                    std::string sourceId = RefAttr(e, "LightSourceReference", "fixedLightSourceId");
                    if (sourceId.empty()) sourceId = RefAttr(e, "LightSourceReference", "changeableLightSourceId");
                    const auto source = sources.find(sourceId);
                    if (source != sources.end()) power = Watts(Child(source->second, "RatedInputPower"));
                    const auto gear = gears.find(gearId);
                    // The gear's own losses, where the maker gives them apart from the lamp's.
                    if (power >= 0 && gear != gears.end()) {
                        const double gearWatts = Watts(Child(gear->second, "RatedInputPower"));
                        if (gearWatts > 0) power += gearWatts;
                    }
                }
                const auto gear = gears.find(gearId);
                if (gear != gears.end()) {
                    const double standby = Watts(Child(gear->second, "StandbyPower"));
                    if (standby > 0) variant.standbyWatts += standby;
                }
                if (power >= 0)
                    watts += power;
                else
                    allPowered = false;
                if (variant.photometryEntry.empty()) {
                    const auto photometry = photometries.find(RefAttr(e, "PhotometryReference", "photometryId"));
                    if (photometry != photometries.end()) {
                        const auto entry =
                            entryOfFile.find(RefAttr(photometry->second, "PhotometryFileReference", "fileId"));
                        if (entry != entryOfFile.end()) variant.photometryEntry = entry->second;
                    }
                }
            }
        }
        if (allPowered && watts > 0) variant.watts = watts;
        content.variants.push_back(variant);
    }
    return true;
}

bool ReadGldfFile(const std::string& path, const std::string& language, std::vector<GldfProduct>& products,
                  std::string* reason, const ZipLimits& limits) {
    products.clear();
    std::map<std::string, std::string> entries;
    std::vector<std::string> names;
    if (!ReadZipEntries(path, {}, entries, reason, limits, &names)) return false;
    const std::set<std::string> held(names.begin(), names.end());
    if (!held.count("product.xml")) {
        SetReason(reason, "the container holds no product.xml");
        return false;
    }
    if (!ReadZipEntries(path, {"product.xml"}, entries, reason, limits)) return false;
    GldfContent content;
    if (!ReadGldfProductXml(entries["product.xml"], language, content, reason)) return false;
    for (const std::string& file : content.localFiles)
        if (!held.count(file)) {
            SetReason(reason, "product.xml refers to " + file + ", which the container does not hold");
            return false;
        }
    std::vector<std::string> wanted;
    for (const GldfVariant& variant : content.variants)
        if (!variant.photometryEntry.empty()) wanted.push_back(variant.photometryEntry);
    if (!ReadZipEntries(path, wanted, entries, reason, limits)) return false;

    std::vector<GldfProduct> made;
    std::set<std::string> taken;
    for (const GldfVariant& variant : content.variants) {
        GldfProduct item;
        double watts = variant.watts;
        if (!variant.photometryEntry.empty()) {
            const std::string& data = entries[variant.photometryEntry];
            const bool ies = EndsWith(ToLower(variant.photometryEntry), ".ies");
            std::string why;
            item.hasPhotometry = ies ? item.photometry.ReadIesText(data, &why) : item.photometry.ReadLdtText(data, &why);
            if (watts < 0 && item.photometry.m_dWatts > 0) watts = item.photometry.m_dWatts;
        }
        if (watts < 0) {
            SetReason(reason, "variant " + variant.refId +
                                  " has no input power: no light source gives one and no photometric file in the "
                                  "container does");
            return false;
        }
        // Two variants with one number keep apart by a suffix.
        std::string refId = variant.refId;
        for (int n = 2; taken.count(ToLower(refId)); ++n) refId = variant.refId + StrPrintf(" (%d)", n);
        taken.insert(ToLower(refId));
        item.product.SetRefId(refId);
        item.product.SetDesc(variant.description.empty() ? refId : variant.description);
        item.product.SetMaxPow(watts);
        item.product.SetStandbyPow(variant.standbyWatts);
        made.push_back(std::move(item));
    }
    products = std::move(made);
    return true;
}

std::string UserLanguage() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || std::strlen(value) < 2) continue;
        const std::string lang = ToLower(std::string(value, 2));
        if (lang == "c" || !std::isalpha(static_cast<unsigned char>(lang[0])) ||
            !std::isalpha(static_cast<unsigned char>(lang[1])))
            continue;
        return lang;
    }
    return "en";
}
