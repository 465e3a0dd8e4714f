#include "ui/platform/QtPreferenceStore.h"

#include <QSettings>

CQtPreferenceStore::CQtPreferenceStore()
    : m_pSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "ORVANTIS",
                                              "ORVANTIS NUVA")) {}

CQtPreferenceStore::CQtPreferenceStore(const QString& iniPath)
    : m_pSettings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

CQtPreferenceStore::~CQtPreferenceStore() {
    Sync();
}

QString CQtPreferenceStore::KeyOf(const std::string& root, const std::string& keyPath,
                                  const std::string& name) {
    // Registry paths use backslashes; upper case makes the INI file as case-blind as the registry.
    QString key = QString::fromStdString(root + "\\" + keyPath).toUpper().replace('\\', '/');
    while (key.endsWith('/'))
        key.chop(1);
    return key + "/" + QString::fromStdString(name).toUpper();
}

IPreferenceStore::ReadResult CQtPreferenceStore::ReadString(const std::string& root,
                                                            const std::string& keyPath,
                                                            const std::string& name,
                                                            std::string& value) const {
    const QString key = KeyOf(root, keyPath, name);
    if (!m_pSettings->contains(key)) return NOT_FOUND;
    const QVariant stored = m_pSettings->value(key);
    if (stored.typeId() != QMetaType::QString) return NOT_A_STRING;
    value = stored.toString().toStdString();
    return FOUND;
}

bool CQtPreferenceStore::CreateKey(const std::string&, const std::string&) {
    return m_pSettings->isWritable();
}

bool CQtPreferenceStore::WriteString(const std::string& root, const std::string& keyPath,
                                     const std::string& name, const std::string& value) {
    if (!m_pSettings->isWritable()) return false;
    m_pSettings->setValue(KeyOf(root, keyPath, name), QString::fromStdString(value));
    return true;
}

void CQtPreferenceStore::Sync() {
    m_pSettings->sync();
}
