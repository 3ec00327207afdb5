#include "settings/settings_store.h"

#include <cctype>

namespace vortak {

std::string MemorySettingsStore::address(std::string_view section, std::string_view key) {
    std::string text;
    text.reserve(section.size() + key.size() + 1);
    for (char c : section) text += char(std::tolower(static_cast<unsigned char>(c)));
    text += '\n';
    for (char c : key) text += char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::string> MemorySettingsStore::value(std::string_view section,
                                                      std::string_view key) const {
    const auto found = values_.find(address(section, key));
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

void MemorySettingsStore::setValue(std::string_view section, std::string_view key,
                                   std::string_view value) {
    values_[address(section, key)] = std::string(value);
}

}  // namespace vortak
