#pragma once

// The settings file's text: "[Section]" lines, each followed by "key=value" lines, as the
// program's settings file has always been written (one per user, "Vortak/Vortak.conf" in
// the user's configuration folder). Section and key names compare without regard to letter
// case; the first spelling met is kept.
//
// Names with characters other than letters, digits, '_', '-', '.' and blanks are written as
// %XX (%UXXXX above U+00FF), a '/' in a key as '\'. A value with leading or trailing blanks,
// ',', ';', '=' or '"' is written in double quotes; '\', '"' and control characters are
// escaped with '\' ("\n", "\t", "\x1b"); a leading '@' is doubled. Text is UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortak {

class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    // Reads `text`: lines end in LF or CR LF; blank lines and lines starting with ';' or '#'
    // are skipped, as are lines that are neither a section nor a key. A key repeated in a
    // section takes its last value. Keys before any section belong to "General".
    static IniDocument parse(std::string_view text);
    // The text of the whole document, a blank line between sections, LF line ends.
    std::string text() const;

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    const std::vector<Section>& sections() const { return sections_; }

private:
    Section* findSection(std::string_view name);
    std::vector<Section> sections_;
};

// The same-name test of sections and keys: ASCII letters without regard to case.
bool sameSettingName(std::string_view a, std::string_view b);

}  // namespace vortak
