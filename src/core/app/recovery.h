#pragma once

// Crash recovery: while the model holds unsaved work, a copy of what saving would write is
// kept in the user's state folder, so that a crash or a power cut loses at most the last
// half minute of editing. The next start offers the copies of programs that are no longer
// running.
//
// Every running program owns its copies through a lock file it holds locked (flock) for as
// long as it runs: the system drops the lock when the process ends, however it ends, so a
// copy whose lock can be taken belongs to nobody. The files are named by process id and a
// start token, so a later process that gets the same id never mistakes a dead one's copy
// for its own.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortak {

struct AppState;

// Editing is gathered so that copies are written at least this many seconds apart.
inline constexpr double kRecoveryIntervalSeconds = 30;

// The recovery folder: $XDG_STATE_HOME/Vortak/recovery, else $HOME/.local/state/Vortak/
// recovery. Relative values are ignored, as the base-directory rules ask; empty when there
// is no usable value at all.
std::string recoveryFolder(const char* xdgStateHome, const char* home);
std::string recoveryFolder();  // from the environment

// When changes first seen at `changedAt` are to be written, given the last write (nullopt:
// none yet): the first change after a quiet interval at once, later ones when the interval
// since the last write has passed. Times are seconds of a monotonic clock.
double recoveryWriteTime(double changedAt, std::optional<double> lastWriteAt,
                         double interval = kRecoveryIntervalSeconds);

// The time of a copy as the recovery question shows it, in local time: "2026-12-06 18:52".
std::string recoveryTimeText(std::time_t time);

// --- The copy file ---------------------------------------------------------------------
// A few header lines (the model's file name, the time, the process) and a blank line come
// before the model file text, which follows byte for byte.
struct RecoveryContent {
    std::string fileName;  // empty for an untitled model
    std::time_t savedAt = 0;
    long pid = 0;
    std::string modelText;
};

std::string recoveryFileText(const RecoveryContent& content);
// nullopt when the text is not a recovery copy.
std::optional<RecoveryContent> parseRecoveryFile(std::string_view text);

// A copy left by a program that has ended, locked by this program while it holds it, so that
// another program starting at the same time does not offer it too. Moving keeps the claim;
// destroying the object gives it up and leaves the files as they are.
class ClaimedCopy {
public:
    ClaimedCopy(std::string copyPath, std::string lockPath, int lockFd, RecoveryContent content);
    ClaimedCopy(ClaimedCopy&& other) noexcept;
    ClaimedCopy& operator=(ClaimedCopy&& other) noexcept;
    ClaimedCopy(const ClaimedCopy&) = delete;
    ClaimedCopy& operator=(const ClaimedCopy&) = delete;
    ~ClaimedCopy();

    const RecoveryContent& content() const { return content_; }
    const std::string& path() const { return copyPath_; }
    // Deletes the copy and its lock file.
    void remove();

private:
    void release();

    std::string copyPath_;
    std::string lockPath_;
    int lockFd_ = -1;
    RecoveryContent content_;
};

// This program's place in the recovery folder.
class RecoveryFolder {
public:
    // Creates the folder when needed and takes this program's lock. When either fails the
    // object is inactive: it writes nothing and finds nothing.
    explicit RecoveryFolder(std::string folder);
    ~RecoveryFolder();  // gives up the lock; the copy stays, as after a crash
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    bool active() const { return lockFd_ >= 0; }
    const std::string& folder() const { return folder_; }
    const std::string& copyPath() const { return copyPath_; }
    const std::string& lockPath() const { return lockPath_; }

    // Writes this program's copy atomically; the error description on failure.
    std::optional<std::string> write(const RecoveryContent& content);
    // Deletes this program's copy, if any.
    void removeCopy();
    // Deletes the copy and the lock file and gives up the lock: the normal end.
    void close();

    // The copies of programs that are no longer running, newest first, each claimed. Lock
    // files that ended programs left without a copy are deleted on the way; copies that
    // cannot be read back as a recovery copy of a model are left alone.
    std::vector<ClaimedCopy> claimStaleCopies();

private:
    std::string folder_;
    std::string copyPath_;
    std::string lockPath_;
    int lockFd_ = -1;
};

// Decides when to write, from the program state and the clocks the caller passes in.
class RecoveryKeeper {
public:
    explicit RecoveryKeeper(RecoveryFolder& folder, double interval = kRecoveryIntervalSeconds)
        : folder_(folder), interval_(interval) {}

    RecoveryFolder& folder() { return folder_; }

    // About once a second: notices changes of what saving would write, and writes the copy
    // when one is due (or deletes it once nothing is unsaved any more). `now` is monotonic
    // seconds, `wallClock` the time stored in the copy.
    void tick(AppState& app, double now, std::time_t wallClock);
    // After an analysis: the copy is brought up to date at once.
    void writeNow(AppState& app, double now, std::time_t wallClock);
    // The work is saved or has been given up (Save, New, Open): the copy goes. Should the
    // model still hold unsaved work (an Open whose file dialog was cancelled), the next tick
    // writes it again.
    void discard();
    // The program ends normally: the copy and the lock go, and nothing is written any more.
    void finish();
    bool finished() const { return finished_; }

private:
    void update(AppState& app, double now, std::time_t wallClock);

    RecoveryFolder& folder_;
    double interval_;
    bool finished_ = false;
    bool failureLogged_ = false;
    std::string lastSeen_;  // the model file text at the last look
    bool seen_ = false;
    std::optional<double> pendingSince_;  // unwritten changes, first seen then
    std::optional<double> lastWrite_;
    bool copyWritten_ = false;
};

// True when closing now would ask about unsaved work: the model differs from its file, or
// an untitled model holds anything.
bool hasUnsavedWork(const AppState& app);

// At start-up: offers the copies of ended programs one at a time, newest first, with
// "Recover the unsaved model from <time>?". Yes opens that copy as an unsaved model under
// its old file name and ends the offers (older copies stay for the next start); No deletes
// it and offers the next. True when a model was recovered.
bool offerRecovery(AppState& app);

// The document commands' hooks; harmless without a keeper.
void discardRecoveryCopy(AppState& app);
void finishRecovery(AppState& app);

}  // namespace vortak
