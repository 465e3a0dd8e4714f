#pragma once
// The preference store of the desktop program: QSettings (the registry on Windows, an INI file
// elsewhere). Keys and value names compare without regard to case, as in the registry.

#include "base/WideReg.h"

#include <QString>
#include <memory>

class QSettings;

class CQtPreferenceStore : public IPreferenceStore {
  public:
    // The user's own settings of the program.
    CQtPreferenceStore();
    // An INI file of that path (tests).
    explicit CQtPreferenceStore(const QString& iniPath);
    ~CQtPreferenceStore() override;

    ReadResult ReadString(const std::string& root, const std::string& keyPath, const std::string& name,
                          std::string& value) const override;
    bool CreateKey(const std::string& root, const std::string& keyPath) override;
    bool WriteString(const std::string& root, const std::string& keyPath, const std::string& name,
                     const std::string& value) override;
    // Writes what is pending to the store.
    void Sync();

  private:
    static QString KeyOf(const std::string& root, const std::string& keyPath, const std::string& name);
    std::unique_ptr<QSettings> m_pSettings;
};
