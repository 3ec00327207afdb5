#include "settings/ini_text.h"

#include <cstdint>

namespace vortak {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool isHex(char c) { return (c >= '0' && c <= '9') || (lower(c) >= 'a' && lower(c) <= 'f'); }

int hexValue(char c) { return c <= '9' ? c - '0' : lower(c) - 'a' + 10; }

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The next code point of UTF-8 `text` from `i`; a byte that starts no valid sequence stands
// for itself (as Latin-1), so that no input is lost.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const std::uint8_t b = std::uint8_t(text[i]);
    const std::size_t extra = b >= 0xF0 && b < 0xF5   ? 3
                              : b >= 0xE0 && b < 0xF0 ? 2
                              : b >= 0xC2 && b < 0xE0 ? 1
                                                      : 0;
    if (extra == 0 || i + extra >= text.size()) {
        ++i;
        return b;
    }
    std::uint32_t cp = b & (0x3Fu >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
        const std::uint8_t next = std::uint8_t(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    i += extra + 1;
    return cp;
}

const char kHexDigits[] = "0123456789ABCDEF";

void appendHex(std::string& out, std::uint32_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 15];
}

// Section and key names: the characters a name may hold as they are, '/' as '\', others as
// %XX (up to U+00FF) or %UXXXX (UTF-16 units above it).
std::string escapedName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const std::uint32_t cp = nextCodePoint(name, i);
        if (cp == '/') {
            out += '\\';
        } else if ((cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') ||
                   (cp >= '0' && cp <= '9') || cp == '_' || cp == '-' || cp == '.') {
            out += char(cp);
        } else if (cp <= 0xFF) {
            out += '%';
            appendHex(out, cp, 2);
        } else if (cp <= 0xFFFF) {
            out += "%U";
            appendHex(out, cp, 4);
        } else {
            const std::uint32_t v = cp - 0x10000;
            out += "%U";
            appendHex(out, 0xD800 + (v >> 10), 4);
            out += "%U";
            appendHex(out, 0xDC00 + (v & 0x3FF), 4);
        }
    }
    return out;
}

std::string unescapedName(std::string_view text) {
    std::string out;
    std::uint32_t highSurrogate = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp = 0;
        if (text[i] == '\\') {
            cp = '/';
            ++i;
        } else if (text[i] == '%' && i + 5 < text.size() && text[i + 1] == 'U' &&
                   isHex(text[i + 2]) && isHex(text[i + 3]) && isHex(text[i + 4]) &&
                   isHex(text[i + 5])) {
            for (int k = 2; k <= 5; ++k) cp = cp * 16 + std::uint32_t(hexValue(text[i + k]));
            i += 6;
        } else if (text[i] == '%' && i + 2 < text.size() && isHex(text[i + 1]) &&
                   isHex(text[i + 2])) {
            cp = std::uint32_t(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 3;
        } else {
            cp = nextCodePoint(text, i);
        }
        if (cp >= 0xD800 && cp < 0xDC00) {
            highSurrogate = cp;
            continue;
        }
        if (cp >= 0xDC00 && cp < 0xE000 && highSurrogate != 0) {
            cp = 0x10000 + ((highSurrogate - 0xD800) << 10) + (cp - 0xDC00);
        }
        highSurrogate = 0;
        appendUtf8(out, cp);
    }
    return out;
}

std::string escapedValue(std::string_view value) {
    std::string out;
    if (value.starts_with('@')) out += '@';  // "@..." would read as a typed value
    bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ');
    bool escapeNextHexDigit = false;
    for (const char c : value) {
        if (c == ';' || c == ',' || c == '=') quote = true;
        if (escapeNextHexDigit && isHex(c)) {
            // "\x1b" then "c" would read back as one "\x1bc".
            out += "\\x";
            appendHex(out, std::uint8_t(c), 2);
            continue;
        }
        escapeNextHexDigit = false;
        switch (c) {
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\v':
                out += "\\v";
                break;
            case '"':
            case '\\':
                out += '\\';
                out += c;
                break;
            default:
                if (std::uint8_t(c) < 0x20 || c == 0x7F) {
                    out += "\\x";
                    appendHex(out, std::uint8_t(c), 2);
                    escapeNextHexDigit = true;
                } else {
                    out += c;
                }
        }
    }
    return quote ? '"' + out + '"' : out;
}

// A value as written: quoted parts keep their blanks, escapes are read, blanks around the
// value outside quotes are dropped. A comma is kept as part of the text (the program stores
// no lists).
std::string unescapedValue(std::string_view text) {
    std::string out;
    std::size_t keep = 0;  // out's length up to its last character that is not a loose blank
    bool quoted = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
            keep = out.size();
            ++i;
            continue;
        }
        if (c == '\\' && i + 1 < text.size()) {
            const char e = text[i + 1];
            i += 2;
            switch (e) {
                case 'a':
                    out += '\a';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'v':
                    out += '\v';
                    break;
                case 'x': {
                    std::uint32_t cp = 0;
                    while (i < text.size() && isHex(text[i])) {
                        cp = cp * 16 + std::uint32_t(hexValue(text[i++]));
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default:
                    if (e >= '0' && e <= '7') {
                        std::uint32_t cp = std::uint32_t(e - '0');
                        for (int k = 0;
                             k < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++k) {
                            cp = cp * 8 + std::uint32_t(text[i++] - '0');
                        }
                        appendUtf8(out, cp);
                    } else {
                        out += e;  // \" \\ \' \? and anything unknown: the character itself
                    }
            }
            keep = out.size();
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t')) {
            if (!out.empty()) out += c;  // kept only if more text follows
            ++i;
            continue;
        }
        out += c;
        keep = out.size();
        ++i;
    }
    out.resize(keep);
    if (out.starts_with("@@")) return out.substr(1);
    if (out.starts_with("@ByteArray(") && out.ends_with(')'))
        return out.substr(11, out.size() - 12);
    if (out == "@Invalid()") return {};
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

bool sameSettingName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

IniDocument IniDocument::parse(std::string_view text) {
    IniDocument document;
    std::string section = "General";
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        line = trimmed(line);
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            section = unescapedName(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string key = unescapedName(trimmed(line.substr(0, equals)));
        if (key.empty()) continue;
        document.setValue(section, key, unescapedValue(line.substr(equals + 1)));
    }
    return document;
}

std::string IniDocument::text() const {
    std::string out;
    for (const Section& section : sections_) {
        if (section.entries.empty()) continue;
        if (!out.empty()) out += '\n';
        out += '[' + escapedName(section.name) + "]\n";
        for (const Entry& entry : section.entries) {
            out += escapedName(entry.key) + '=' + escapedValue(entry.value) + '\n';
        }
    }
    return out;
}

IniDocument::Section* IniDocument::findSection(std::string_view name) {
    for (Section& section : sections_) {
        if (sameSettingName(section.name, name)) return &section;
    }
    return nullptr;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
    for (const Section& s : sections_) {
        if (!sameSettingName(s.name, section)) continue;
        for (const Entry& entry : s.entries) {
            if (sameSettingName(entry.key, key)) return entry.value;
        }
    }
    return std::nullopt;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = findSection(section);
    if (s == nullptr) {
        sections_.push_back(Section{std::string(section), {}});
        s = &sections_.back();
    }
    for (Entry& entry : s->entries) {
        if (sameSettingName(entry.key, key)) {
            entry.value = std::string(value);
            return;
        }
    }
    s->entries.push_back(Entry{std::string(key), std::string(value)});
}

}  // namespace vortak
