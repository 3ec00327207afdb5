#pragma once

// Pictures saved as bitmap files.

#include <QImage>

#include <optional>
#include <string>

namespace vortak {

// Writes `image` to `path` (UTF-8) in `format` ("PNG" or "BMP"; any format the Qt image
// plugins write works). The picture is encoded in memory and written by writeFileAtomically
// (base/file_writer.h), so a failed save leaves whatever was at `path` as it was; `flush`
// as there. Returns nothing on success, otherwise the reason (never empty).
std::optional<std::string> saveImageFile(const QImage& image, const std::string& path,
                                         const char* format, bool flush = true);

}  // namespace vortak
