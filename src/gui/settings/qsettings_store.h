#pragma once

// The settings store of the desktop program, kept by QSettings in the user's native
// location (application "Vortak"). Keys are matched without regard to letter case, so a
// value written under one spelling of a key is found and replaced under another.

#include <QSettings>

#include <memory>

#include "settings/settings_store.h"

namespace vortak {

class QSettingsStore : public SettingsStore {
public:
    // The per-user store of the program.
    QSettingsStore();
    // A store kept in one INI file (tests, portable set-ups).
    explicit QSettingsStore(const QString& iniFile);

    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view value) override;

private:
    // The stored spelling of `key` in `section`, or an empty string.
    QString storedKey(const QString& section, const QString& key) const;

    std::unique_ptr<QSettings> settings_;
};

}  // namespace vortak
