#include "products/LumSysDataBase.h"

#include "base/Platform.h"

#include "base/FileUtils.h"
#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/ProjectFileXml.h"
#include "base/TextUtils.h"

#include <tinyxml.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <system_error>

const char* const kLumDbFileName = "LENI_V1_LUM_DB.XML";
const char* const kLumDbRootName = "LENI_V1_LUM_DB";

namespace {
bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad();
}
} // namespace

CLumSysDataBase& CLumSysDataBase::Global() {
    static CLumSysDataBase global;
    return global;
}

void CLumSysDataBase::ResetGlobal() {
    Global() = CLumSysDataBase();
}

std::vector<std::string> CLumSysDataBase::ReadFromXml(const TiXmlElement* element) {
    Clear();
    std::vector<std::string> twice;
    const TiXmlElement* child = element ? element->FirstChildElement("LumTypeData") : nullptr;
    for (; child && EqualsNoCase(child->Value(), "LumTypeData"); child = child->NextSiblingElement()) {
        CLumTypeData product;
        if (!product.ReadFromXml(child)) continue;
        if (HasRefId(product.GetRefId())) {
            // An error, so that a batch run's log shows it too: the second product's data are lost.
            Log().Printf(LOG_ERROR,
                         "Ignoring luminaire <refid = %s> because it\nalready exists in the database.",
                         product.GetRefId().c_str());
            twice.push_back(product.GetRefId());
            continue;
        }
        m_Products.push_back(product);
        IndexProduct(m_Products.size() - 1);
    }
    m_uRevision = NewRevision();
    m_bChanged = false;
    return twice;
}

void CLumSysDataBase::WriteToXml(TiXmlElement* parent) const {
    for (const CLumTypeData& product : m_Products)
        product.WriteToXml(parent);
}

bool CLumSysDataBase::ReadFromFile(const std::string& path) {
    m_csFilePath = path;
    Clear();
    m_bChanged = false;
    m_bUnreadableFile = false;
    if (!FileExists(path)) {
        // Not an error: the first start of the program has no database yet.
        Log().Printf(
            LOG_INFO,
            "Luminaire database file:\n%s\ndoes not exist\nA new empty luminaire database will be created.",
            path.c_str());
        return false;
    }
    // Parsed as the project file is: a document nested deeper than any database file would
    // otherwise exhaust the parser's stack.
    TiXmlDocument doc;
    std::string text;
    if (!ReadWholeFile(path, text) || !ParseFileText(text, doc)) {
        m_bUnreadableFile = true;
        Log().Printf(LOG_ERROR,
                     "Could not load luminaire database project XML file:\n%s\n\nIs it open in another "
                     "application?\nIs there an error in the XML syntax?",
                     path.c_str());
        return false;
    }
    const TiXmlElement* root = doc.FirstChildElement(kLumDbRootName);
    if (!root) {
        m_bUnreadableFile = true;
        Log().Printf(LOG_ERROR, "Top level element missing in luminaire database file:\n%s\nShould be <%s>",
                     path.c_str(), kLumDbRootName);
        return false;
    }
    ReadFromXml(root);
    Log().Printf(LOG_INFO, "Read %d products from <%s>\n", GetCount(), path.c_str());
    return true;
}

bool CLumSysDataBase::WriteToFile() {
    if (m_csFilePath.empty()) return false;
    if (m_bUnreadableFile) {
        // The file we could not read may still hold the user's products: keep a copy of it
        // instead of replacing it by what this run knows.
        std::string backup = m_csFilePath + ".bak";
        std::error_code ec;
        CopyFileOver(m_csFilePath, backup, ec);
        if (ec && FileExists(m_csFilePath)) {
            Log().Printf(LOG_ERROR, "Could not keep a copy of the unreadable luminaire database\n%s\n%s",
                         m_csFilePath.c_str(), ec.message().c_str());
            return false;
        }
        if (!ec)
            Log().Printf(LOG_INFO, "The unreadable luminaire database was kept as <%s>\n", backup.c_str());
        m_bUnreadableFile = false;
    }
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    auto* root = new TiXmlElement(kLumDbRootName);
    doc.LinkEndChild(root);
    WriteToXml(root);
    TiXmlPrinter printer;
    doc.Accept(&printer);
    std::string reason;
    if (!WriteFileSafely(m_csFilePath, printer.Str(), &reason)) {
        Log().Printf(LOG_ERROR, "Could not write the luminaire database file:\n%s\n%s", m_csFilePath.c_str(),
                     reason.c_str());
        return false;
    }
    m_bChanged = false;
    return true;
}

void CLumSysDataBase::WriteIfChanged() {
    if (m_bChanged) WriteToFile();
}

void CLumSysDataBase::IndexProduct(size_t n) {
    const std::string& refId = m_Products[n].GetRefId();
    const size_t first = m_Index.emplace(ToLower(refId), n).first->second;
    m_Exact.emplace(refId, first);
}

void CLumSysDataBase::RebuildIndex() {
    m_Index.clear();
    m_Exact.clear();
    for (size_t i = 0; i < m_Products.size(); ++i)
        IndexProduct(i);
    m_uRevision = NewRevision();
}

int CLumSysDataBase::GetIndexOfRefId(const std::string& refId) const {
    const auto exact = m_Exact.find(refId);
    if (exact != m_Exact.end()) return static_cast<int>(exact->second);
    // Looked up for every luminaire of every list in every time step: the folded key is made in a
    // buffer of this thread's rather than a new string each time.
    thread_local std::string key;
    key.assign(refId);
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const auto found = m_Index.find(key);
    return found == m_Index.end() ? -1 : static_cast<int>(found->second);
}

const CLumTypeData* CLumSysDataBase::FindLumData(const std::string& refId) const {
    int index = GetIndexOfRefId(refId);
    if (index >= 0) return &m_Products[static_cast<size_t>(index)];
    if (!IsGlobal()) {
        const CLumSysDataBase& global = Global();
        index = global.GetIndexOfRefId(refId);
        if (index >= 0) return &global.m_Products[static_cast<size_t>(index)];
    }
    Log().Printf(LOG_ERROR, "CLumSysDataBase::GLDFRI could not find luminaire <%s>", refId.c_str());
    return nullptr;
}

CLumTypeData CLumSysDataBase::GetLumDataFromRefId(const std::string& refId) const {
    const CLumTypeData* product = FindLumData(refId);
    return product ? *product : CLumTypeData();
}

CLumTypeData CLumSysDataBase::GetLumDataAtIndex(int index) const {
    if (index < 0 || index >= GetCount()) {
        Log().Printf(LOG_ERROR, "CLumSysDataBase::GLDAI out of range ikRow=%d size is %d", index, GetCount());
        return CLumTypeData();
    }
    return m_Products[index];
}

void CLumSysDataBase::AddLumData(const CLumTypeData& product) {
    if (product.GetRefId().empty()) {
        Log().Printf(LOG_ERROR, "CLumSysDataBase::ALD, no reference id");
        return;
    }
    m_Products.push_back(product);
    IndexProduct(m_Products.size() - 1);
    m_uRevision = NewRevision();
    Changed();
}

void CLumSysDataBase::AddProducts(const std::vector<CLumTypeData>& products) {
    size_t before = m_Products.size();
    for (const CLumTypeData& product : products) {
        if (product.GetRefId().empty()) continue;
        m_Products.push_back(product);
        IndexProduct(m_Products.size() - 1);
    }
    m_uRevision = NewRevision();
    if (m_Products.size() != before) Changed();
}

void CLumSysDataBase::ReplaceLumData(const CLumTypeData& product) {
    int index = GetIndexOfRefId(product.GetRefId());
    if (index < 0) {
        Log().Printf(LOG_ERROR, "CLumSysDataBase::RLD Could not find refid <%s>", product.GetRefId().c_str());
        return;
    }
    m_Products[index] = product;
    RebuildIndex();
    Changed();
}

void CLumSysDataBase::DeleteObject(const std::string& refId) {
    int index = GetIndexOfRefId(refId);
    if (index < 0) {
        Log().Printf(LOG_ERROR, "CLumSysDataBase::DO error %s", refId.c_str());
        return;
    }
    m_Products.erase(m_Products.begin() + index);
    RebuildIndex();
    Changed();
}

bool CLumSysDataBase::ImportProductFile(const std::string& path) {
    CLumTypeData product;
    if (!product.ImportFromPhotometricFile(path)) return false;
    if (HasRefId(product.GetRefId())) {
        WalertBox("This luminaire (%s) is already present in the database.\nPlease delete it or change its "
                  "reference id before adding in a new version.",
                  product.GetRefId().c_str());
        return false;
    }
    if (product.GetRefId().empty()) {
        Log().Printf(LOG_ERROR, "CLumSysDataBase::ALD, no reference id");
        return false;
    }
    AddLumData(product);
    return true;
}

void CLumSysDataBase::Changed() {
    m_bChanged = true;
    if (IsGlobal() && !m_csFilePath.empty()) WriteToFile();
}
