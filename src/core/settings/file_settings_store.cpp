#include "settings/file_settings_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "base/file_io.h"

namespace vortak {

namespace {

// Makes every missing folder above `file` (mode 0700, as a per-user configuration folder
// should be); the error description on failure.
std::optional<std::string> makeFoldersAbove(const std::string& file) {
    for (std::size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1)) {
        const std::string folder = file.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) continue;
        return std::string(std::strerror(errno));
    }
    return std::nullopt;
}

// The file's document; nothing when there is no file yet.
std::optional<std::string> load(const std::string& path, IniDocument& document) {
    std::string text;
    if (const auto error = readWholeFile(path, text)) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return std::nullopt;
        return error;
    }
    document = IniDocument::parse(text);
    return std::nullopt;
}

}  // namespace

FileSettingsStore::FileSettingsStore(std::string path) : path_(std::move(path)) {
    loadError_ = load(path_, document_);
}

std::optional<std::string> FileSettingsStore::value(std::string_view section,
                                                    std::string_view key) const {
    return document_.value(section, key);
}

void FileSettingsStore::setValue(std::string_view section, std::string_view key,
                                 std::string_view value) {
    if (document_.value(section, key) == value) return;
    document_.setValue(section, key, value);
    changes_.push_back(Change{std::string(section), std::string(key), std::string(value)});
}

std::optional<std::string> FileSettingsStore::save() {
    if (changes_.empty()) return std::nullopt;
    IniDocument onDisk;
    if (load(path_, onDisk)) {
        onDisk = document_;  // an unreadable file is replaced by what this store holds
    }
    for (const Change& change : changes_) onDisk.setValue(change.section, change.key, change.value);
    if (auto error = makeFoldersAbove(path_)) return path_ + ": " + *error;
    if (auto error = writeFileAtomically(path_, onDisk.text())) return path_ + ": " + *error;
    document_ = std::move(onDisk);
    changes_.clear();
    return std::nullopt;
}

}  // namespace vortak
