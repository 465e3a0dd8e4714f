#include "base/WideReg.h"

#include "base/Logger.h"
#include "base/MessageBoxes.h"
#include "base/TextUtils.h"

#include <cmath>

namespace {

const char* const kRoots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_CURRENT_USER"};

CMemoryPreferenceStore& ProcessStore() {
    static CMemoryPreferenceStore store;
    return store;
}

IPreferenceStore*& InstalledStore() {
    static IPreferenceStore* store = nullptr;
    return store;
}

// Splits "ROOT\key\path" into the root and the rest; false (reported) when the root is none of
// the four.
bool SplitRoot(const std::string& path, std::string& root, std::string& rest) {
    for (const char* candidate : kRoots) {
        const std::string prefix = std::string(candidate) + "\\";
        if (path.compare(0, prefix.size(), prefix) == 0) {
            root = candidate;
            rest = path.substr(prefix.size());
            return true;
        }
    }
    Log().Printf(LOG_ERROR, "GIKS:Bad initial key value:\n%s", path.c_str());
    return false;
}

std::string TrimBackslashes(std::string s) {
    while (!s.empty() && s.back() == '\\')
        s.pop_back();
    return s;
}

} // namespace

std::string CMemoryPreferenceStore::KeyOf(const std::string& root, const std::string& keyPath) {
    return ToUpper(root + "\\" + TrimBackslashes(keyPath));
}

IPreferenceStore::ReadResult CMemoryPreferenceStore::ReadString(const std::string& root,
                                                                const std::string& keyPath,
                                                                const std::string& name,
                                                                std::string& value) const {
    const auto key = m_Keys.find(KeyOf(root, keyPath));
    if (key == m_Keys.end()) return NOT_FOUND;
    const auto v = key->second.find(ToUpper(name));
    if (v == key->second.end()) return NOT_FOUND;
    if (!v->second.isString) return NOT_A_STRING;
    value = v->second.text;
    return FOUND;
}

bool CMemoryPreferenceStore::CreateKey(const std::string& root, const std::string& keyPath) {
    m_Keys[KeyOf(root, keyPath)];
    return true;
}

bool CMemoryPreferenceStore::WriteString(const std::string& root, const std::string& keyPath,
                                         const std::string& name, const std::string& value) {
    auto key = m_Keys.find(KeyOf(root, keyPath));
    if (key == m_Keys.end()) return false;
    key->second[ToUpper(name)] = Value{value, true};
    return true;
}

void CMemoryPreferenceStore::SetNonStringValue(const std::string& root, const std::string& keyPath,
                                               const std::string& name) {
    m_Keys[KeyOf(root, keyPath)][ToUpper(name)] = Value{std::string(), false};
}

IPreferenceStore* SetPreferenceStore(IPreferenceStore* store) {
    IPreferenceStore* previous = InstalledStore();
    InstalledStore() = store;
    return previous;
}

IPreferenceStore& GetPreferenceStore() {
    return InstalledStore() ? *InstalledStore() : ProcessStore();
}

CWideReg::CWideReg(const std::string& baseKey) : m_csBaseKey(baseKey) {
    if (m_csBaseKey.empty()) {
        Log().Printf(LOG_ERROR, "CWideReg::CWideReg : empty basename");
        return;
    }
    if (m_csBaseKey.back() != '\\') m_csBaseKey += '\\';
}

bool CWideReg::GetRegistryStringValue(const std::string& path, std::string& value) const {
    if (path.size() > kMaxPath) {
        Log().Printf(LOG_ERROR, "GRSV: String too long (%d chars)", static_cast<int>(path.size()));
        return false;
    }
    std::string root, rest;
    if (!SplitRoot(path, root, rest)) {
        Log().Printf(LOG_ERROR, "GRSV: Bad initial key:\n<%s>", path.c_str());
        return false;
    }
    const size_t slash = rest.rfind('\\');
    const std::string keyPath = slash == std::string::npos ? std::string() : rest.substr(0, slash);
    const std::string name = slash == std::string::npos ? rest : rest.substr(slash + 1);
    std::string text;
    switch (GetPreferenceStore().ReadString(root, keyPath, name, text)) {
    case IPreferenceStore::NOT_FOUND:
        return false;
    case IPreferenceStore::NOT_A_STRING:
        Log().Printf(LOG_ERROR, "GRSV:Error pBuffer not a string");
        value = "Error, pBuffer not a string";
        return false;
    case IPreferenceStore::FOUND:
        break;
    }
    if (text.size() > kMaxValue) {
        Log().Printf(LOG_ERROR, "GRSV:Registry string too long");
        return false;
    }
    value = text;
    return true;
}

std::string CWideReg::GetRegistryStringValue(const std::string& base, const std::string& name,
                                             const std::string& defaultValue) const {
    if (base.empty()) return defaultValue; // nothing can be read without a base key
    std::string value;
    return GetRegistryStringValue(base + name, value) ? value : defaultValue;
}

double CWideReg::GetRegistryDoubleValue(const std::string& base, const std::string& name,
                                        double defaultValue) const {
    if (name.empty()) {
        Log().Printf(LOG_ERROR, "GRBASSV: Bad input params");
        return defaultValue;
    }
    std::string value;
    if (base.empty() || !GetRegistryStringValue(base + name, value)) return defaultValue;
    // A value edited into "nan" or "inf" would reach every window and roof light made from it.
    const double number = ParseDouble(value);
    return std::isfinite(number) ? number : defaultValue;
}

bool CWideReg::GetRegistryBoolValue(const std::string& base, const std::string& name,
                                    bool defaultValue) const {
    std::string value;
    if (base.empty() || !GetRegistryStringValue(base + name, value)) return defaultValue;
    if (value == "1") return true;
    if (value == "0") return false;
    AlertBox("CWideReg::GetRegistryBoolValue, expected 1 or 0, got:\n%s", value.c_str());
    return false;
}

bool CWideReg::SetValue(const std::string& keyPath, const std::string& text, const std::string& name) const {
    std::string root, rest;
    if (!SplitRoot(keyPath, root, rest)) {
        AlertBox("SRSV: Bad initial key:\n<%s>", keyPath.c_str());
        return false;
    }
    rest = TrimBackslashes(rest);
    IPreferenceStore& store = GetPreferenceStore();
    if (!store.CreateKey(root, rest)) {
        Log().Printf(LOG_ERROR, "SetValue\nRegCreateKeyEx failed, pszOurKey=%s", keyPath.c_str());
        return false;
    }
    if (!store.WriteString(root, rest, name, text)) {
        Log().Printf(LOG_ERROR, "SetValue failed\nRegSetValueEx failed");
        return false;
    }
    return true;
}
