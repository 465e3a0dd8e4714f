#pragma once
// Per-user string values addressed by a registry-style path: root, backslash, key path,
// backslash, value name ("HKEY_CURRENT_USER\Software\NUVA_LENI_V1\PREF_K1"). The values live in a
// preference store: the desktop program installs one kept by the platform; without it (batch runs,
// tests) a store in memory is used.

#include "base/FileUtils.h"

#include <map>
#include <string>

class IPreferenceStore {
  public:
    enum ReadResult { FOUND = 0, NOT_FOUND = 1, NOT_A_STRING = 2 };
    virtual ~IPreferenceStore() = default;
    // keyPath is the path below the root, with backslashes ("Software\NUVA_LENI_V1").
    virtual ReadResult ReadString(const std::string& root, const std::string& keyPath,
                                  const std::string& name, std::string& value) const = 0;
    // Creates the key when needed; false when it cannot be created.
    virtual bool CreateKey(const std::string& root, const std::string& keyPath) = 0;
    // The key exists already (CreateKey); false when the value cannot be written.
    virtual bool WriteString(const std::string& root, const std::string& keyPath, const std::string& name,
                             const std::string& value) = 0;
};

// Keys and value names compare without regard to case, as in the registry.
class CMemoryPreferenceStore : public IPreferenceStore {
  public:
    ReadResult ReadString(const std::string& root, const std::string& keyPath, const std::string& name,
                          std::string& value) const override;
    bool CreateKey(const std::string& root, const std::string& keyPath) override;
    bool WriteString(const std::string& root, const std::string& keyPath, const std::string& name,
                     const std::string& value) override;
    // A value of another type than text, as a damaged store may hold (tests).
    void SetNonStringValue(const std::string& root, const std::string& keyPath, const std::string& name);
    void Clear() { m_Keys.clear(); }

  private:
    struct Value {
        std::string text;
        bool isString = true;
    };
    static std::string KeyOf(const std::string& root, const std::string& keyPath);
    std::map<std::string, std::map<std::string, Value>> m_Keys; // upper-case key -> upper-case name -> value
};

// Installs the store (nullptr: the process's own store in memory). Returns the previous one.
IPreferenceStore* SetPreferenceStore(IPreferenceStore* store);
IPreferenceStore& GetPreferenceStore();

class CWideReg {
  public:
    static constexpr size_t kMaxPath = 259;
    // A value may hold any path the platform allows (a recent file, the projects folder).
    static constexpr size_t kMaxValue = kMaxPathBytes;

    // The base key gets a trailing backslash; an empty one is reported and nothing can be read.
    explicit CWideReg(const std::string& baseKey);
    const std::string& GetBaseKey() const { return m_csBaseKey; }

    // The string at the full path; false when the key or the value is missing or damaged.
    bool GetRegistryStringValue(const std::string& path, std::string& value) const;
    // The value base + name, or the default when it is not found.
    std::string GetRegistryStringValue(const std::string& base, const std::string& name,
                                       const std::string& defaultValue) const;
    // The value as a decimal number (text that is no number reads as 0), or the default.
    double GetRegistryDoubleValue(const std::string& base, const std::string& name,
                                  double defaultValue) const;
    // "1" true, "0" false, the default when missing; any other text is shown and reads false.
    bool GetRegistryBoolValue(const std::string& base, const std::string& name, bool defaultValue) const;
    // Writes the string value name under the key path (root included), creating the key.
    bool SetValue(const std::string& keyPath, const std::string& text, const std::string& name) const;

  private:
    std::string m_csBaseKey;
};
