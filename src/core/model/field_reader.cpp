#include "model/field_reader.h"

#include "base/number_text.h"

namespace vortak {

void FieldReader::consumeLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == '\r') {
        ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
    } else if (pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
        ++line_;
    }
}

std::optional<Field> FieldReader::next() {
    if (pos_ >= text_.size()) return std::nullopt;
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    Field field;
    field.line = line_;
    const auto atFieldEnd = [this] {
        return pos_ >= text_.size() || text_[pos_] == ',' || text_[pos_] == '\r' ||
               text_[pos_] == '\n';
    };
    if (pos_ < text_.size() && text_[pos_] == '"') {
        field.quoted = true;
        const std::size_t close = text_.find('"', pos_ + 1);
        // A quote left open runs to the end of its line.
        std::size_t end = close;
        if (end == std::string_view::npos ||
            text_.substr(pos_, end - pos_).find_first_of("\r\n") != std::string_view::npos) {
            end = text_.find_first_of("\r\n", pos_);
            if (end == std::string_view::npos) end = text_.size();
            field.text = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end;
        } else {
            field.text = std::string(text_.substr(pos_ + 1, end - pos_ - 1));
            pos_ = end + 1;
            while (!atFieldEnd()) ++pos_;
        }
    } else {
        const std::size_t start = pos_;
        while (!atFieldEnd()) ++pos_;
        field.text = std::string(text_.substr(start, pos_ - start));
    }
    if (pos_ < text_.size() && text_[pos_] == ',') {
        ++pos_;
    } else {
        consumeLineEnd();
    }
    return field;
}

std::optional<double> fieldNumber(const Field& field) {
    std::string_view body = field.text;
    while (!body.empty() && (body.back() == ' ' || body.back() == '\t')) body.remove_suffix(1);
    if (body.empty()) return std::nullopt;
    const NumberPrefix prefix = leadingNumber(body);
    if (prefix.length != body.size()) return std::nullopt;
    return prefix.value;
}

}  // namespace vortak
