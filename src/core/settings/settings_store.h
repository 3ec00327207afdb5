#pragma once

// The per-user settings store: string values addressed by section and key. Key names
// compare without regard to letter case. The desktop program keeps them in a settings file
// (FileSettingsStore); tests use MemorySettingsStore.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace vortak {

inline constexpr const char* kSettingsApplication = "Vortak";
inline constexpr const char* kDisplaySection = "Rithmiseis";
inline constexpr const char* kStartupSection = "Startup";

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> value(std::string_view section,
                                             std::string_view key) const = 0;
    virtual void setValue(std::string_view section, std::string_view key,
                          std::string_view value) = 0;
    // Makes the values set so far last: callers set a batch of values, then save once.
    // Returns the error description when they could not be kept; a store in memory has
    // nothing to write.
    virtual std::optional<std::string> save() { return std::nullopt; }
};

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    void setValue(std::string_view section, std::string_view key, std::string_view value) override;
    std::size_t size() const { return values_.size(); }

private:
    static std::string address(std::string_view section, std::string_view key);
    std::map<std::string, std::string> values_;
};

}  // namespace vortak
