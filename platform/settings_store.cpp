// SPDX-License-Identifier: MIT
#include "settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
#ifdef Q_OS_WIN
const QString RegistryKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\MorvantImaging\\Apps\\Verasco");
#endif
} // namespace

SettingsStore::SettingsStore()
#ifdef Q_OS_WIN
    : settings_(std::make_unique<QSettings>(RegistryKey, QSettings::NativeFormat))
#else
    : SettingsStore(defaultLocation())
#endif
{
}

SettingsStore::SettingsStore(const QString& iniFilePath)
    : settings_(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::defaultLocation() {
#ifdef Q_OS_WIN
    return RegistryKey;
#else
    // The same file QSettings(IniFormat, UserScope, "MorvantImaging", "Verasco") would use, but
    // looked up each time, so that a changed configuration folder (or test mode) is honoured.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/MorvantImaging/Verasco.ini");
#endif
}

QString SettingsStore::location() const {
    return settings_->fileName();
}

std::optional<QString> SettingsStore::value(const QString& name) const {
    const QVariant v = settings_->value(name);
    // An INI line such as "a, b" reads as a list: that is no string of ours.
    if (!v.isValid() || v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

void SettingsStore::setValue(const QString& name, const QString& text) {
    settings_->remove(name);
    settings_->setValue(name, text);
}

void SettingsStore::remove(const QString& name) {
    settings_->remove(name);
}

bool SettingsStore::sync() {
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}
