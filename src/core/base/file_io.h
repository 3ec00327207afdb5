#pragma once

// Whole-file reads; the crash-safe writes are in file_writer.h. Errors come back as the
// system's description of what went wrong ("Permission denied", "No such file or
// directory", ...).

#include <optional>
#include <string>
#include <string_view>

#include "base/file_writer.h"

namespace vortak {

// Reads the whole file into `content`; returns the error description on failure. A file
// of more than `maxBytes` bytes is refused with the description `tooLarge` (by default
// "the file is larger than 64 MiB"): a regular file by its size, anything else (a device
// such as /dev/zero, a pipe) once maxBytes + 1 bytes have come, so that no more than that
// is ever held in memory.
std::optional<std::string> readWholeFile(const std::string& path, std::string& content,
                                         std::size_t maxBytes = std::size_t{64} << 20,
                                         std::string_view tooLarge = {});

}  // namespace vortak
