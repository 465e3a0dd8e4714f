#include "products/ProductImport.h"

#include "base/FileUtils.h"
#include "base/TextUtils.h"
#include "products/GldfReader.h"

#include <algorithm>
#include <set>
#include <system_error>

namespace {

std::string Extension(const std::string& path) {
    const std::string name = fs::path(path).filename().string();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : ToLower(name.substr(dot + 1));
}

// One photometric file as a product, without any message box: false with the reason.
bool ReadPhotometricProduct(const std::string& path, CLumTypeData& product, CPhotometry& photometry,
                            std::string& reason) {
    const std::string ext = Extension(path);
    if (ext == "ldt") {
        if (!product.ReadLdtLines(path)) {
            reason = "cannot be opened";
            return false;
        }
        // Many makers leave the luminaire number empty: the file's name stands in for it.
        if (product.GetRefId().empty()) product.SetRefId(WideCharFromAscii(fs::path(path).stem().string()));
    } else if (!product.ImportFromIesFile(path)) {
        reason = "cannot be opened";
        return false;
    }
    std::string why;
    if (!photometry.ReadFile(path, &why)) {
        reason = "no intensity table: " + why;
        return false;
    }
    if (product.GetDesc().empty()) product.SetDesc(WideCharFromAscii(fs::path(path).stem().string()));
    if (product.GetRefId().empty()) {
        reason = "no reference id";
        return false;
    }
    return true;
}

} // namespace

std::string ProductImportSummary::Text() const {
    std::string text = StrPrintf(
        "%u imported, %u skipped as already present, %u refused", static_cast<unsigned>(imported.size()),
        static_cast<unsigned>(duplicates.size()), static_cast<unsigned>(refused.size()));
    for (const auto& refusal : refused)
        text += "\n" + refusal.first + ": " + refusal.second;
    return text;
}

bool IsProductFileName(const std::string& path) {
    const std::string ext = Extension(path);
    return ext == "ldt" || ext == "ies" || ext == "gldf";
}

std::vector<std::string> CollectProductFiles(const std::vector<std::string>& paths,
                                             ProductImportSummary& summary) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            std::vector<std::string> found;
            fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
            for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
                std::error_code fileEc;
                if (it->is_regular_file(fileEc) && IsProductFileName(it->path().string()))
                    found.push_back(it->path().string());
            }
            if (ec) summary.refused.emplace_back(path, "folder not fully read: " + ec.message());
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (FileExists(path)) {
            files.push_back(path);
        } else {
            summary.refused.emplace_back(path, "does not exist");
        }
    }
    return files;
}

void ImportProductFiles(CLumSysDataBase& database, const std::vector<std::string>& files,
                        ProductImportSummary& summary, std::map<std::string, CPhotometry>* previews) {
    const std::string language = UserLanguage();
    std::vector<CLumTypeData> added;
    std::set<std::string> pending;
    auto take = [&](const CLumTypeData& product, const CPhotometry* photometry) {
        const std::string key = ToLower(product.GetRefId());
        if (database.HasRefId(product.GetRefId()) || pending.count(key)) {
            summary.duplicates.push_back(product.GetRefId());
            return;
        }
        pending.insert(key);
        added.push_back(product);
        summary.imported.push_back(product.GetRefId());
        if (previews && photometry) (*previews)[product.GetRefId()] = *photometry;
    };
    for (const std::string& path : files) {
        const std::string ext = Extension(path);
        std::string reason;
        if (ext == "gldf") {
            std::vector<GldfProduct> products;
            if (!ReadGldfFile(path, language, products, &reason)) {
                summary.refused.emplace_back(path, reason);
                continue;
            }
            for (const GldfProduct& item : products)
                take(item.product, item.hasPhotometry ? &item.photometry : nullptr);
        } else if (ext == "ldt" || ext == "ies") {
            CLumTypeData product;
            CPhotometry photometry;
            if (!ReadPhotometricProduct(path, product, photometry, reason)) {
                summary.refused.emplace_back(path, reason);
                continue;
            }
            take(product, &photometry);
        } else {
            summary.refused.emplace_back(path,
                                         "not a photometric file or luminaire container (.ldt, .ies, .gldf)");
        }
    }
    database.AddProducts(added);
}
