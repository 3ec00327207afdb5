#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vortak {

namespace {

std::string errorText(int error) { return std::strerror(error); }

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content,
                                               bool flush) {
    if (path.empty() || path.back() == '/') return errorText(EISDIR);
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) return errorText(EISDIR);

    std::string temp = folderOf(path) + "/.vortak-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errorText(errno);

    // mkstemp creates the file private (0600); give it the mode a plain create would have,
    // or the mode of the file it replaces.
    mode_t mode = 0;
    if (replacing) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    int error = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, content) || (flush && ::fsync(fd) != 0)) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        return errorText(error);
    }
    return std::nullopt;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string& content) {
    content.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return errorText(errno);
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file);
        content.append(buffer, n);
        if (n < sizeof buffer) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) return errorText(error != 0 ? error : EIO);
    // A folder opens fine with fopen on Linux but cannot be read.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return errorText(EISDIR);
    return std::nullopt;
}

}  // namespace vortak
