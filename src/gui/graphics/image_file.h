#pragma once

// Pictures saved as bitmap files.

#include <QImage>

#include <optional>
#include <string>

namespace vortak {

// Writes `image` to `path` (UTF-8) in `format` ("PNG" or "BMP"; any format the Qt image
// plugins write works). The file is written to a temporary file beside it and renamed over
// the old one only once complete, so a failed save leaves whatever was at `path` as it
// was. Returns nothing on success, otherwise the reason (never empty).
std::optional<std::string> saveImageFile(const QImage& image, const std::string& path,
                                         const char* format);

}  // namespace vortak
