#pragma once

// The settings store of the desktop program: one settings file (see ini_text.h), read when
// the store is made and written whole, through the program's crash-safe file writer, when
// it is saved. Values live in memory in between, so a batch of values costs one write.

#include <optional>
#include <string>
#include <vector>

#include "settings/ini_text.h"
#include "settings/settings_store.h"

namespace vortak {

class FileSettingsStore : public SettingsStore {
public:
    // Reads `path` if it exists; a file that exists but cannot be read leaves the store
    // empty and loadError() says why (saving then still writes the values set).
    explicit FileSettingsStore(std::string path);

    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view value) override;
    // Writes the values changed since the last save, over what the file holds now (another
    // copy of the program may have saved its own values meanwhile), making the file's folder
    // if need be. Nothing is written when nothing changed. The error reads
    // "<path>: <reason>"; the changes stay to be saved again.
    std::optional<std::string> save() override;

    const std::string& path() const { return path_; }
    bool hasUnsavedChanges() const { return !changes_.empty(); }
    const std::optional<std::string>& loadError() const { return loadError_; }

private:
    struct Change {
        std::string section, key, value;
    };

    std::string path_;
    IniDocument document_;
    std::vector<Change> changes_;
    std::optional<std::string> loadError_;
};

}  // namespace vortak
