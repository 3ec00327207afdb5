#pragma once

// The settings store of the desktop program: the settings file in the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config), "Vortak/Vortak.conf", the same file and layout
// the program has always used. Reading, writing and the crash-safe save are the core's
// FileSettingsStore; this class only works out where the file is, and saves what is still
// unsaved when it goes away (at the program's end), logging a failure.

#include <QString>

#include "settings/file_settings_store.h"

namespace vortak {

class QSettingsStore : public FileSettingsStore {
public:
    // The per-user store of the program.
    QSettingsStore();
    // A store kept in one settings file (tests, portable set-ups).
    explicit QSettingsStore(const QString& iniFile);
    ~QSettingsStore() override;

    // Where the per-user store keeps its file.
    static QString defaultPath();
};

}  // namespace vortak
