#include "app/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <set>
#include <utility>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "base/file_io.h"
#include "model/model_file.h"

namespace vortak {

namespace {

constexpr std::string_view kCopySuffix = ".recovery";
constexpr std::string_view kLockSuffix = ".lock";
constexpr std::string_view kFirstLine = "Vortak recovery copy";

// A folder and its missing parents, private to the user. A parent that cannot be made may
// still exist (made by someone else, or not ours to write in): only the end result counts.
bool makeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

// A lock file that appears already locked: made under a private name, locked, then linked
// to `path`. Without this a program taking a fresh lock could be seen, for the instant
// between creating and locking its file, as one that had ended. -1 (errno EEXIST) when the
// file exists already.
int createLockedFile(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    std::string temp = path.substr(0, slash + 1) + ".lock-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    int error = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::link(temp.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    ::unlink(temp.c_str());
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// True when `fd` is still the file named `path` (another program may have deleted the name
// between our open and our lock).
bool stillNamed(int fd, const std::string& path) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// File names may hold any byte but "/" and NUL; line breaks and the escape itself are
// escaped so that the header stays one line per value.
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '\\') {
            out += text[k];
            continue;
        }
        if (++k == text.size()) return std::nullopt;
        switch (text[k]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

template <typename T>
bool readInteger(std::string_view text, T& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Puts a copy's model into the program state as the file reader would, but under the file
// name it had and with the changed flag set, so that it counts as unsaved work.
// The copy has been checked to parse when it was claimed.
void restore(AppState& app, const RecoveryContent& copy) {
    ParsedModelFile parsed = parseModelFile(copy.modelText);
    if (!parsed.content) return;
    installModel(app, *parsed.content, copy.fileName);
    app.log.LogMessage("Recovered unsaved model from " + recoveryTimeText(copy.savedAt) + ": " +
                           (copy.fileName.empty() ? std::string("Untitled.vok") : copy.fileName),
                       LogColour::Black, true);
}

}  // namespace

std::string recoveryFolder(const char* xdgStateHome, const char* home) {
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/') {
        return std::string(xdgStateHome) + "/Vortak/recovery";
    }
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/state/Vortak/recovery";
    return {};
}

std::string recoveryFolder() {
    return recoveryFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

double recoveryWriteTime(double changedAt, std::optional<double> lastWriteAt, double interval) {
    if (!lastWriteAt) return changedAt;
    return std::max(changedAt, *lastWriteAt + interval);
}

std::string recoveryTimeText(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char buffer[32];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M", &local);
    return std::string(buffer, n);
}

std::string recoveryFileText(const RecoveryContent& content) {
    std::string text(kFirstLine);
    text += "\nfile " + escaped(content.fileName);
    text += "\ntime " + std::to_string(static_cast<long long>(content.savedAt));
    text += "\npid " + std::to_string(content.pid);
    text += "\n\n";
    text += content.modelText;
    return text;
}

std::optional<RecoveryContent> parseRecoveryFile(std::string_view text) {
    RecoveryContent content;
    bool first = true, haveFile = false, haveTime = false;
    while (true) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;  // no blank line: cut short
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (first) {
            if (line != kFirstLine) return std::nullopt;
            first = false;
            continue;
        }
        if (line.empty()) break;
        const std::size_t blank = line.find(' ');
        const std::string_view key = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
        if (key == "file") {
            const auto name = unescaped(value);
            if (!name) return std::nullopt;
            content.fileName = *name;
            haveFile = true;
        } else if (key == "time") {
            long long seconds = 0;
            if (!readInteger(value, seconds)) return std::nullopt;
            content.savedAt = static_cast<std::time_t>(seconds);
            haveTime = true;
        } else if (key == "pid") {
            if (!readInteger(value, content.pid)) return std::nullopt;
        }
        // Other keys are from a later version of the program and are skipped.
    }
    if (!haveFile || !haveTime) return std::nullopt;
    content.modelText = std::string(text);
    return content;
}

// --- ClaimedCopy -----------------------------------------------------------------------

ClaimedCopy::ClaimedCopy(std::string copyPath, std::string lockPath, int lockFd,
                         RecoveryContent content)
    : copyPath_(std::move(copyPath)),
      lockPath_(std::move(lockPath)),
      lockFd_(lockFd),
      content_(std::move(content)) {}

ClaimedCopy::ClaimedCopy(ClaimedCopy&& other) noexcept
    : copyPath_(std::move(other.copyPath_)),
      lockPath_(std::move(other.lockPath_)),
      lockFd_(std::exchange(other.lockFd_, -1)),
      content_(std::move(other.content_)) {}

ClaimedCopy& ClaimedCopy::operator=(ClaimedCopy&& other) noexcept {
    if (this != &other) {
        release();
        copyPath_ = std::move(other.copyPath_);
        lockPath_ = std::move(other.lockPath_);
        lockFd_ = std::exchange(other.lockFd_, -1);
        content_ = std::move(other.content_);
    }
    return *this;
}

ClaimedCopy::~ClaimedCopy() { release(); }

void ClaimedCopy::release() {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

void ClaimedCopy::remove() {
    if (lockFd_ < 0) return;
    // The copy first: a lock file alone is an orphan the next start clears away.
    ::unlink(copyPath_.c_str());
    ::unlink(lockPath_.c_str());
    release();
}

// --- RecoveryFolder --------------------------------------------------------------------

RecoveryFolder::RecoveryFolder(std::string folder) : folder_(std::move(folder)) {
    if (folder_.empty() || folder_[0] != '/' || !makeFolders(folder_)) return;
    const auto started = std::chrono::system_clock::now().time_since_epoch();
    const std::string id =
        std::to_string(::getpid()) + "-" +
        std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(started).count());
    copyPath_ = folder_ + "/" + id + std::string(kCopySuffix);
    lockPath_ = folder_ + "/" + id + std::string(kLockSuffix);
    lockFd_ = createLockedFile(lockPath_);
}

RecoveryFolder::~RecoveryFolder() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::optional<std::string> RecoveryFolder::write(const RecoveryContent& content) {
    if (!active()) return std::string("no recovery folder");
    return writeFileAtomically(copyPath_, recoveryFileText(content));
}

void RecoveryFolder::removeCopy() {
    if (active()) ::unlink(copyPath_.c_str());
}

void RecoveryFolder::close() {
    if (!active()) return;
    ::unlink(copyPath_.c_str());
    ::unlink(lockPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
}

std::vector<ClaimedCopy> RecoveryFolder::claimStaleCopies() {
    std::vector<ClaimedCopy> found;
    if (!active()) return found;
    std::set<std::string> ids;
    if (DIR* dir = ::opendir(folder_.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view name = entry->d_name;
            if (name.empty() || name[0] == '.') continue;  // temporary files
            if (endsWith(name, kCopySuffix)) {
                ids.emplace(name.substr(0, name.size() - kCopySuffix.size()));
            } else if (endsWith(name, kLockSuffix)) {
                ids.emplace(name.substr(0, name.size() - kLockSuffix.size()));
            }
        }
        ::closedir(dir);
    }
    for (const std::string& id : ids) {
        const std::string copy = folder_ + "/" + id + std::string(kCopySuffix);
        const std::string lock = folder_ + "/" + id + std::string(kLockSuffix);
        if (copy == copyPath_) continue;
        int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            // A copy without a lock file: its program is gone. Claim it with a lock file of
            // our own; should another program have been quicker, the copy is its.
            if (errno != ENOENT || (fd = createLockedFile(lock)) < 0) continue;
        } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !stillNamed(fd, lock)) {
            ::close(fd);  // its program runs, or another program claimed and cleared it
            continue;
        }
        std::string text;
        // A model file and a few header lines: anything much larger is not a copy of ours.
        if (readWholeFile(copy, text, kMaxModelFileBytes + 65536)) {
            // No copy: the lock file of a program that ended with nothing unsaved.
            if (::access(copy.c_str(), F_OK) != 0) ::unlink(lock.c_str());
            ::close(fd);
            continue;
        }
        auto content = parseRecoveryFile(text);
        if (!content || !parseModelFile(content->modelText).content) {
            ::close(fd);
            continue;
        }
        found.emplace_back(copy, lock, fd, std::move(*content));
    }
    std::stable_sort(found.begin(), found.end(), [](const ClaimedCopy& a, const ClaimedCopy& b) {
        return a.content().savedAt > b.content().savedAt;
    });
    return found;
}

// --- RecoveryKeeper --------------------------------------------------------------------

bool hasUnsavedWork(const AppState& app) {
    const Model& m = app.model;
    if (!m.fileName.empty()) return !ModelMatchesFile(app);
    return m.nodeCount != 0 || m.groupCount != 0 || m.elementCount != 0;
}

void RecoveryKeeper::tick(AppState& app, double now, std::time_t wallClock) {
    if (finished_ || !folder_.active()) return;
    std::string text = modelFileText(app.model, app.settings, app.view);
    if (!seen_ || text != lastSeen_) {
        lastSeen_ = std::move(text);
        seen_ = true;
        if (!pendingSince_) pendingSince_ = now;
    }
    if (!pendingSince_ || now < recoveryWriteTime(*pendingSince_, lastWrite_, interval_)) return;
    update(app, now, wallClock);
}

void RecoveryKeeper::writeNow(AppState& app, double now, std::time_t wallClock) {
    if (finished_ || !folder_.active()) return;
    lastSeen_ = modelFileText(app.model, app.settings, app.view);
    seen_ = true;
    update(app, now, wallClock);
}

void RecoveryKeeper::update(AppState& app, double now, std::time_t wallClock) {
    pendingSince_.reset();
    if (!hasUnsavedWork(app)) {
        if (copyWritten_) folder_.removeCopy();
        copyWritten_ = false;
        return;
    }
    RecoveryContent content;
    content.fileName = app.model.fileName;
    content.savedAt = wallClock;
    content.pid = ::getpid();
    content.modelText = lastSeen_;
    lastWrite_ = now;
    if (const auto error = folder_.write(content)) {
        // The user is never interrupted for this; one quiet line says that the safety net
        // is missing.
        if (!failureLogged_) {
            app.log.LogMessage("The recovery copy could not be written: " + *error,
                               LogColour::Grey);
            failureLogged_ = true;
        }
        return;
    }
    copyWritten_ = true;
}

void RecoveryKeeper::discard() {
    folder_.removeCopy();
    copyWritten_ = false;
    seen_ = false;
    pendingSince_.reset();
    lastWrite_.reset();
}

void RecoveryKeeper::finish() {
    folder_.close();
    finished_ = true;
}

bool offerRecovery(AppState& app) {
    if (app.recovery == nullptr) return false;
    std::vector<ClaimedCopy> copies = app.recovery->folder().claimStaleCopies();
    for (ClaimedCopy& copy : copies) {
        const Answer answer = app.prompter.messageBox(
            "Recover the unsaved model from " + recoveryTimeText(copy.content().savedAt) + "?",
            MessageIcon::Question, MessageButtons::YesNo);
        if (answer != Answer::Yes) {
            copy.remove();
            continue;
        }
        restore(app, copy.content());
        copy.remove();
        // The recovered work is this program's unsaved work now: its own copy follows.
        app.recovery->discard();
        return true;
    }
    return false;
}

void discardRecoveryCopy(AppState& app) {
    if (app.recovery != nullptr) app.recovery->discard();
}

void finishRecovery(AppState& app) {
    if (app.recovery != nullptr) app.recovery->finish();
}

}  // namespace vortak
