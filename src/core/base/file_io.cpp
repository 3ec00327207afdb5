#include "base/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vortak {

namespace {

std::string errorText(int error) { return std::strerror(error); }

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string& content,
                                         std::size_t maxBytes, std::string_view tooLarge) {
    content.clear();
    const auto refusal = [&] {
        if (!tooLarge.empty()) return std::string(tooLarge);
        const bool mebibytes = maxBytes >= (std::size_t{1} << 20) && maxBytes % (1 << 20) == 0;
        return "the file is larger than " + std::to_string(mebibytes ? maxBytes >> 20 : maxBytes) +
               (mebibytes ? " MiB" : " bytes");
    };
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errorText(errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            ::close(fd);
            return errorText(EISDIR);
        }
        // A regular file says its size: one too large is refused unread.
        if (S_ISREG(info.st_mode)) {
            if (static_cast<std::size_t>(info.st_size) > maxBytes) {
                ::close(fd);
                return refusal();
            }
            content.reserve(static_cast<std::size_t>(info.st_size));
        }
    }
    // Devices, pipes and files that grow while read: one byte past the bound is enough to
    // know the input is too large, and nothing more is ever held.
    char buffer[65536];
    int error = 0;
    while (content.size() <= maxBytes) {
        const std::size_t wanted = std::min(sizeof buffer, maxBytes + 1 - content.size());
        const ssize_t n = ::read(fd, buffer, wanted);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (error != 0) {
        content.clear();
        return errorText(error);
    }
    if (content.size() > maxBytes) {
        content.clear();
        content.shrink_to_fit();
        return refusal();
    }
    return std::nullopt;
}

}  // namespace vortak
