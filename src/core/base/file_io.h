#pragma once

// Whole-file reads and crash-safe writes. Errors come back as the system's description
// of what went wrong ("Permission denied", "No such file or directory", ...).

#include <optional>
#include <string>
#include <string_view>

namespace vortak {

// Writes `content` to a new temporary file in the folder of `path`, flushes it to disk and
// renames it over `path`. A failure at any point leaves an existing file at `path`
// untouched and returns the error description; success returns nullopt. A file replaced
// this way keeps its permission bits. `flush` false leaves out the flush to disk (about a
// millisecond a file): for outputs that can be made again, such as the command-line tool's,
// which still never leave a file half written.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content,
                                               bool flush = true);

// Reads the whole file into `content`; returns the error description on failure.
std::optional<std::string> readWholeFile(const std::string& path, std::string& content);

}  // namespace vortak
