#pragma once

// Every file the program writes goes through writeFileAtomically. It never destroys what was
// there before when a save fails, and it writes through what it finds at the path without
// damaging it:
//
// - a regular file is replaced atomically: a temporary file in the same folder gets the old
//   file's owner and permission bits and the whole new content, is flushed to disk and is
//   renamed over the old one; the folder is flushed after the rename;
// - a symbolic link is followed: its target is written as above (temporary file beside the
//   target), the link stays a link;
// - a file with more than one name (hard links) is rewritten in place, so that every name
//   keeps seeing the same file; so is a file in a folder where no temporary file may be
//   made. A copy of the old content goes to a backup file first (the user's cache folder,
//   else the temporary folder); if the rewrite fails half-way the old content is written
//   back, and should even that fail, the message names the backup that holds it;
// - anything else (a character device such as /dev/null, a FIFO, the program's own output
//   streams /dev/stdout and /dev/fd/N) is written directly, never replaced by a file.
//
// Errors come back as the system's description of what went wrong ("No space left on
// device", "Permission denied", ...).

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace vortak {

// Writes `content` to `path` as described above; success returns nullopt, failure the error
// description. `flush` false leaves out the flushes to disk (about a millisecond a file):
// for outputs that can be made again, such as the command-line tool's, which still never
// leave a file half written.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view content,
                                               bool flush = true);

// --- Test hook ------------------------------------------------------------------------------
// The system operations the writer makes. Each returns what the POSIX call returns and sets
// errno the same way; the defaults are the POSIX calls. A test installs a replacement with
// ScopedFileSystem to make any step fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // mkostemp on `pattern` (ending in XXXXXX, replaced in place), close-on-exec.
    virtual int createTemp(char* pattern);
    virtual int open(const char* path, int flags, mode_t mode);
    virtual ssize_t read(int fd, void* buffer, size_t size);
    virtual ssize_t write(int fd, const void* data, size_t size);
    virtual int flush(int fd);        // fsync of a file
    virtual int flushFolder(int fd);  // fsync of a folder, after a rename
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int changeMode(int fd, mode_t mode);
    virtual int changeOwner(int fd, uid_t owner, gid_t group);
    virtual int truncate(int fd, off_t length);
    virtual int remove(const char* path);  // unlink
};

// Makes the writer use `calls` while it lives; the previous one comes back at its end.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& calls);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

// The steps a FileFault can make fail.
enum class FileStep {
    CreateTemp,
    Open,
    Read,
    Write,
    Flush,
    FlushFolder,
    Close,
    Rename,
    ChangeMode,
    ChangeOwner,
    Truncate
};

// While it lives, the writer's `step` fails with `error` from its (skip + 1)-th call on: once,
// or on every later call as well when `lasting`. A write that fails first writes half of what
// it was given and reports that, as a filling disk does; the call after it fails.
class FileFault : public FileSystem {
public:
    FileFault(FileStep step, int error, int skip = 0, bool lasting = false);

    int calls(FileStep step) const { return calls_[static_cast<int>(step)]; }

    int createTemp(char* pattern) override;
    int open(const char* path, int flags, mode_t mode) override;
    ssize_t read(int fd, void* buffer, size_t size) override;
    ssize_t write(int fd, const void* data, size_t size) override;
    int flush(int fd) override;
    int flushFolder(int fd) override;
    int close(int fd) override;
    int rename(const char* from, const char* to) override;
    int changeMode(int fd, mode_t mode) override;
    int changeOwner(int fd, uid_t owner, gid_t group) override;
    int truncate(int fd, off_t length) override;

private:
    bool fails(FileStep step);

    FileStep step_;
    int error_;
    int skip_;
    bool lasting_;
    bool halfWritten_ = false;
    int calls_[static_cast<int>(FileStep::Truncate) + 1] = {};
    ScopedFileSystem installed_{*this};
};

}  // namespace vortak
