#pragma once
// A luminaire database: the global one of the program run (kept in its own file) or the one a
// project carries inside its project file. Reference ids compare without regard to case.

#include "base/Revision.h"
#include "products/LumTypeData.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class TiXmlElement;

extern const char* const kLumDbFileName; // "LENI_V1_LUM_DB.XML"
extern const char* const kLumDbRootName; // "LENI_V1_LUM_DB"

class CLumSysDataBase {
  public:
    // The one global database of the process.
    static CLumSysDataBase& Global();
    // Puts the global database back to its state at process start: empty, no file (tests).
    static void ResetGlobal();
    bool IsGlobal() const { return this == &Global(); }

    // Replaces the whole content with the "LumTypeData" children of element.
    // Returns the ids given twice: the second product of each is ignored.
    std::vector<std::string> ReadFromXml(const TiXmlElement* element);
    void WriteToXml(TiXmlElement* parent) const;

    // Remembers path as this database's file and reads it when it exists, reporting a
    // missing file, bad XML or a missing root element. Returns whether products were read.
    bool ReadFromFile(const std::string& path);
    // Writes the whole database to its file (safely); clears the changed flag on success.
    bool WriteToFile();
    // The write at exit: only when something changed since the last read or write.
    void WriteIfChanged();

    bool HasRefId(const std::string& refId) const { return GetIndexOfRefId(refId) >= 0; }
    int GetIndexOfRefId(const std::string& refId) const;
    // This database first, then (for any other database) the global one; an unknown id
    // reports and gives the empty product.
    CLumTypeData GetLumDataFromRefId(const std::string& refId) const;
    // The same search without a copy; null (reported) for an unknown id.
    const CLumTypeData* FindLumData(const std::string& refId) const;
    CLumTypeData GetLumDataAtIndex(int index) const;
    void AddLumData(const CLumTypeData& product);
    // Adds all of them as one change (the global database is written once); products without a
    // reference id are left out.
    void AddProducts(const std::vector<CLumTypeData>& products);
    void ReplaceLumData(const CLumTypeData& product);
    void DeleteObject(const std::string& refId);
    int GetCount() const { return static_cast<int>(m_Products.size()); }

    // Adds the product of a photometric file to this (the global) database.
    bool ImportProductFile(const std::string& path);

    void Clear() {
        m_Products.clear();
        m_Index.clear();
        m_Exact.clear();
        m_uRevision = NewRevision();
    }
    // Changes with every change of the products (see base/Revision.h).
    std::uint64_t GetRevision() const { return m_uRevision; }
    bool IsChanged() const { return m_bChanged; }
    void SetChanged(bool changed) { m_bChanged = changed; }
    const std::string& GetFilePath() const { return m_csFilePath; }
    void SetFilePath(const std::string& path) { m_csFilePath = path; }
    const std::vector<CLumTypeData>& GetProducts() const { return m_Products; }

  private:
    // The global database is written as soon as a change completes, so a crash loses nothing.
    void Changed();

    std::string m_csFilePath;
    std::vector<CLumTypeData> m_Products;
    // Reference id, case-folded -> first product with it: databases hold thousands of products
    // and every luminaire entry of every time step looks its product up.
    std::unordered_map<std::string, size_t> m_Index;
    // Reference id as written -> what m_Index gives for it: lists mostly name a product as it is
    // written, which is then found without folding.
    std::unordered_map<std::string, size_t> m_Exact;
    // Indexes product n (the last added) under its ids, unless an earlier one holds them.
    void IndexProduct(size_t n);
    void RebuildIndex();
    std::uint64_t m_uRevision = NewRevision();
    bool m_bChanged = false;
    // The file at m_csFilePath exists but could not be read: keep a copy before overwriting it.
    bool m_bUnreadableFile = false;
};
