#include "base/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace vortak {

namespace {

FileSystem posixCalls;
FileSystem* calls = &posixCalls;

FileSystem& sys() { return *calls; }

std::string errorText(int error) { return std::strerror(error); }

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// False with errno set when a write fails; a write that makes no progress counts as an
// input/output error rather than looping for ever.
bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = sys().write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool readAll(int fd, std::string& content) {
    content.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = sys().read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

// What the writer finds at a path once symbolic links are followed.
struct Target {
    enum Kind { Missing, Regular, Device, Stream } kind = Missing;
    std::string path;  // the file to write: the last link's target
    struct stat info {};
};

// The program's own open descriptors (/dev/stdout, /dev/fd/1, /proc/self/fd/1) are links in a
// process's "fd" folder, whose targets ("pipe:[1234]") are not always paths at all.
bool isDescriptorLink(const std::string& link) {
    char folder[PATH_MAX];
    if (::realpath(folderOf(link).c_str(), folder) == nullptr) return false;
    const std::string_view f(folder);
    return f.starts_with("/proc/") && f.ends_with("/fd");
}

// Follows symbolic links one at a time, so that a link whose target does not exist yet names
// the file to create.
std::optional<std::string> resolve(const std::string& path, Target& target) {
    std::string current = path;
    for (int hops = 0; hops <= 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) return errorText(errno);
            target.kind = Target::Missing;
            target.path = current;
            return std::nullopt;
        }
        if (S_ISDIR(info.st_mode)) return errorText(EISDIR);
        if (!S_ISLNK(info.st_mode)) {
            target.kind = S_ISREG(info.st_mode) ? Target::Regular : Target::Device;
            target.path = current;
            target.info = info;
            return std::nullopt;
        }
        if (isDescriptorLink(current)) {
            target.kind = Target::Stream;
            target.path = current;
            return std::nullopt;
        }
        std::string link(std::size_t(info.st_size > 0 ? info.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) return errorText(errno);
        link.resize(std::size_t(n));
        current = link.starts_with('/') ? link : folderOf(current) + "/" + link;
    }
    return errorText(ELOOP);
}

// Devices, FIFOs and descriptors take the content as it comes: there is no file to replace.
std::optional<std::string> writeDirectly(const std::string& path, std::string_view content,
                                         int flags) {
    const int fd = sys().open(path.c_str(), O_WRONLY | O_CLOEXEC | flags, 0);
    if (fd < 0) return errorText(errno);
    int error = writeAll(fd, content) ? 0 : errno;
    if (sys().close(fd) != 0 && error == 0) error = errno;
    if (error != 0) return errorText(error);
    return std::nullopt;
}

struct Replaced {
    std::optional<std::string> error;
    bool noTempAllowed = false;  // the folder refused the temporary file
};

// The new content in a temporary file beside `target`, renamed over it once complete.
Replaced replaceAtomically(const Target& target, std::string_view content, bool flush) {
    const std::string folder = folderOf(target.path);
    std::string temp = folder + "/.vortak-XXXXXX";
    const int fd = sys().createTemp(temp.data());
    if (fd < 0) {
        const int error = errno;
        return {errorText(error), error == EACCES || error == EPERM};
    }
    int error = 0;
    mode_t mode = 0;
    if (target.kind == Target::Regular) {
        // The owner first: changing it clears set-user-ID bits the mode then restores. Only
        // the superuser may give a file away; anyone else keeps the file as their own.
        const struct stat& old = target.info;
        if (sys().changeOwner(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) error = errno;
        mode = old.st_mode & 07777;
    } else {
        // mkstemp makes the file private (0600); a new file gets what a plain create would.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (error == 0 && sys().changeMode(fd, mode) != 0) error = errno;
    if (error == 0 && !writeAll(fd, content)) error = errno;
    if (error == 0 && flush && sys().flush(fd) != 0) error = errno;
    if (sys().close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && sys().rename(temp.c_str(), target.path.c_str()) != 0) error = errno;
    if (error != 0) {
        sys().remove(temp.c_str());
        return {errorText(error)};
    }
    if (flush) {
        // The rename itself reaches the disk with the folder. A folder that cannot be opened
        // for reading cannot be flushed, and a file system that does not flush folders says
        // EINVAL; a real failure is reported, although the new file is in place by now.
        const int dir = sys().open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
        if (dir >= 0) {
            if (sys().flushFolder(dir) != 0 && errno != EINVAL) error = errno;
            sys().close(dir);
        }
        if (error != 0) return {errorText(error)};
    }
    return {};
}

// Where a copy of a file rewritten in place waits until the rewrite is complete: the user's
// cache folder, which survives a restart, else the temporary folder.
std::optional<std::string> writeBackup(const std::string& target, std::string_view old, bool flush,
                                       std::string& backup) {
    std::string folders[2];
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        folders[0] = std::string(cache) + "/Vortak";
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
        folders[0] = std::string(home) + "/.cache/Vortak";
    }
    const char* tmp = std::getenv("TMPDIR");
    folders[1] = tmp != nullptr && *tmp == '/' ? tmp : "/tmp";
    int error = ENOENT;
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        if (&folder == &folders[0]) {
            ::mkdir(folderOf(folder).c_str(), 0700);
            ::mkdir(folder.c_str(), 0700);
        }
        backup = folder + "/" + nameOf(target) + ".backup-XXXXXX";
        const int fd = sys().createTemp(backup.data());
        if (fd < 0) {
            error = errno;
            continue;
        }
        error = writeAll(fd, old) ? 0 : errno;
        if (error == 0 && flush && sys().flush(fd) != 0) error = errno;
        if (sys().close(fd) != 0 && error == 0) error = errno;
        if (error == 0) return std::nullopt;
        sys().remove(backup.c_str());
    }
    backup.clear();
    return errorText(error);
}

// From the start of `fd`: `content`, the file cut to its length, flushed if asked.
int rewrite(int fd, std::string_view content, bool flush) {
    if (::lseek(fd, 0, SEEK_SET) != 0) return errno;
    if (!writeAll(fd, content)) return errno;
    if (sys().truncate(fd, off_t(content.size())) != 0) return errno;
    if (flush && sys().flush(fd) != 0) return errno;
    return 0;
}

// Rewrites the file itself, for hard links (a new file would leave the other names with the
// old content) and for folders where no temporary file may be made. The new bytes go over
// the old ones before the file grows or shrinks, so that putting the old content back after
// a failure needs no new room on the disk; the backup copy covers a crash in between.
std::optional<std::string> rewriteInPlace(const Target& target, std::string_view content,
                                          bool flush) {
    const int fd = sys().open(target.path.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) return errorText(errno);
    std::string old;
    if (!readAll(fd, old)) {
        const int error = errno;
        sys().close(fd);
        return errorText(error);
    }
    std::string backup;
    if (const auto error = writeBackup(target.path, old, flush, backup)) {
        sys().close(fd);
        return error;
    }
    int error = rewrite(fd, content, flush);
    bool restored = true;
    if (error != 0) restored = rewrite(fd, old, flush) == 0;
    if (sys().close(fd) != 0 && error == 0) {
        // Some file systems report a failed write only here: the content on disk is unknown.
        error = errno;
        const int again = sys().open(target.path.c_str(), O_WRONLY | O_CLOEXEC, 0);
        restored = again >= 0 && rewrite(again, old, flush) == 0;
        if (again >= 0 && sys().close(again) != 0) restored = false;
    }
    if (error == 0 || restored) {
        sys().remove(backup.c_str());
        if (error == 0) return std::nullopt;
        return errorText(error);
    }
    return errorText(error) + " (the previous content is kept in " + backup + ")";
}

}  // namespace

std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content,
                                               bool flush) {
    if (path.empty() || path.back() == '/') return errorText(EISDIR);
    Target target;
    if (const auto error = resolve(path, target)) return error;
    switch (target.kind) {
        case Target::Stream:
            // Appending keeps what the program already wrote there, as a shell's ">>" asks.
            return writeDirectly(path, content, O_APPEND);
        case Target::Device:
            return writeDirectly(target.path, content, O_TRUNC);
        case Target::Regular:
            if (target.info.st_nlink > 1) return rewriteInPlace(target, content, flush);
            break;
        case Target::Missing:
            break;
    }
    Replaced replaced = replaceAtomically(target, content, flush);
    if (replaced.noTempAllowed && target.kind == Target::Regular) {
        return rewriteInPlace(target, content, flush);
    }
    return replaced.error;
}

int FileSystem::createTemp(char* pattern) { return ::mkostemp(pattern, O_CLOEXEC); }
int FileSystem::open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t FileSystem::read(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
ssize_t FileSystem::write(int fd, const void* data, size_t size) { return ::write(fd, data, size); }
int FileSystem::flush(int fd) { return ::fsync(fd); }
int FileSystem::flushFolder(int fd) { return ::fsync(fd); }
int FileSystem::close(int fd) { return ::close(fd); }
int FileSystem::rename(const char* from, const char* to) { return ::rename(from, to); }
int FileSystem::changeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int FileSystem::changeOwner(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int FileSystem::truncate(int fd, off_t length) { return ::ftruncate(fd, length); }
int FileSystem::remove(const char* path) { return ::unlink(path); }

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(calls) {
    calls = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() { calls = previous_; }

FileFault::FileFault(FileStep step, int error, int skip, bool lasting)
    : step_(step), error_(error), skip_(skip), lasting_(lasting) {}

bool FileFault::fails(FileStep step) {
    const int call = ++calls_[static_cast<int>(step)];
    if (step != step_) return false;
    if (call <= skip_ || (call > skip_ + 1 && !lasting_)) return false;
    errno = error_;
    return true;
}

int FileFault::createTemp(char* pattern) {
    return fails(FileStep::CreateTemp) ? -1 : FileSystem::createTemp(pattern);
}

int FileFault::open(const char* path, int flags, mode_t mode) {
    return fails(FileStep::Open) ? -1 : FileSystem::open(path, flags, mode);
}

ssize_t FileFault::read(int fd, void* buffer, size_t size) {
    return fails(FileStep::Read) ? -1 : FileSystem::read(fd, buffer, size);
}

ssize_t FileFault::write(int fd, const void* data, size_t size) {
    if (!fails(FileStep::Write)) return FileSystem::write(fd, data, size);
    if (!halfWritten_ && size > 1) {
        // A filling disk takes part of a write first; the failure comes with the next one.
        halfWritten_ = true;
        --calls_[static_cast<int>(FileStep::Write)];
        return FileSystem::write(fd, data, size / 2);
    }
    return -1;
}

int FileFault::flush(int fd) { return fails(FileStep::Flush) ? -1 : FileSystem::flush(fd); }

int FileFault::flushFolder(int fd) {
    return fails(FileStep::FlushFolder) ? -1 : FileSystem::flushFolder(fd);
}

int FileFault::close(int fd) {
    // The descriptor is gone either way, as with a real failing close.
    const bool failing = fails(FileStep::Close);
    const int result = FileSystem::close(fd);
    if (!failing) return result;
    errno = error_;
    return -1;
}

int FileFault::rename(const char* from, const char* to) {
    return fails(FileStep::Rename) ? -1 : FileSystem::rename(from, to);
}

int FileFault::changeMode(int fd, mode_t mode) {
    return fails(FileStep::ChangeMode) ? -1 : FileSystem::changeMode(fd, mode);
}

int FileFault::changeOwner(int fd, uid_t owner, gid_t group) {
    return fails(FileStep::ChangeOwner) ? -1 : FileSystem::changeOwner(fd, owner, group);
}

int FileFault::truncate(int fd, off_t length) {
    return fails(FileStep::Truncate) ? -1 : FileSystem::truncate(fd, length);
}

}  // namespace vortak
