#pragma once

#include <string>
#include <string_view>

namespace vortak {

// `name` with `extension` appended unless it already ends in exactly that text (letter
// case counts: "Picture.BMP" becomes "Picture.BMP.bmp").
inline std::string withExtension(std::string name, std::string_view extension) {
    const bool has = name.size() >= extension.size() &&
                     std::string_view(name).substr(name.size() - extension.size()) == extension;
    if (!has) name += extension;
    return name;
}

}  // namespace vortak
