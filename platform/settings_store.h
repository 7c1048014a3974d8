// SPDX-License-Identifier: MIT
#pragma once
// The per-user store of the program's settings: string values under fixed names. On Windows it is
// the registry key HKEY_CURRENT_USER\Software\MorvantImaging\Apps\Verasco; elsewhere an INI file
// "MorvantImaging/Verasco.ini" in the user's configuration folder, holding the same names and the
// same string forms.

#include <QString>

#include <memory>
#include <optional>

class QSettings;

class SettingsStore {
  public:
    // The user's own store.
    SettingsStore();
    // An INI file at the given path instead (tests, or a second configuration).
    explicit SettingsStore(const QString& iniFilePath);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Where the user's own store lives: the registry key on Windows, the INI file's path elsewhere
    // (it follows XDG_CONFIG_HOME and QStandardPaths' test mode).
    static QString defaultLocation();
    QString location() const;

    // The value's text, or nothing when the value is missing or holds no single string.
    std::optional<QString> value(const QString& name) const;
    // Deletes the value and writes it again as a string.
    void setValue(const QString& name, const QString& text);
    // Deletes the value, if there is one.
    void remove(const QString& name);
    // Writes pending changes out; false when the store could not be written.
    bool sync();

  private:
    std::unique_ptr<QSettings> settings_;
};
