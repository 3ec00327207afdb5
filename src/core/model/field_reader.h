#pragma once

// Splits model-file text into fields the way the reader and the unsaved-changes test both
// read it: a field ends at a comma or at the end of a line (CR LF, LF or CR), blanks before
// a field are skipped, an empty line is one empty field, and a field that starts with a
// double quote runs to the closing quote (the rest of it up to the comma or line end is
// dropped).

#include <optional>
#include <string>
#include <string_view>

namespace vortak {

struct Field {
    std::string text;
    int line = 0;  // 1-based line where the field starts
    bool quoted = false;
};

class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // The next field, or nullopt at the end of the text.
    std::optional<Field> next();
    // The line the next field would start on (for "the file ends" messages).
    int line() const { return line_; }

private:
    void consumeLineEnd();

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

// The value of a field read as a general value: its number when the whole text (without
// surrounding blanks) is a decimal number, otherwise nothing.
std::optional<double> fieldNumber(const Field& field);

}  // namespace vortak
