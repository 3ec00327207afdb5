#pragma once

// What both commands of the command-line tool share: a program state without a window, a
// prompter that keeps the model as it is, and the message log printed on standard error.

#include <iosfwd>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/shell.h"
#include "base/prompter.h"

namespace vortak {

// Answers every question as a user who keeps the model as it is: unconnected nodes are
// not deleted. Message boxes are kept so that what they add to the log can be printed.
class CliPrompter : public Prompter {
public:
    std::vector<std::string> boxes;

    Answer messageBox(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string&, const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFileName(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::string> saveFileName(const FileDialogRequest&) override {
        return std::nullopt;
    }
};

// Prints the message log as plain lines while it is written.
class LogPrinter {
public:
    explicit LogPrinter(std::ostream& err) : err_(err) {}
    ~LogPrinter() { finish(); }
    LogPrinter(const LogPrinter&) = delete;
    LogPrinter& operator=(const LogPrinter&) = delete;

    void print(const LogRun& run);
    // Ends the line being printed.
    void finish();

private:
    std::ostream& err_;
    bool open_ = false;
};

// One model read (and analysed) with its log printed as it is written.
class CliSession {
public:
    explicit CliSession(std::ostream& err);
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Reads the model and, when asked, analyses it; returns the exit status so far.
    int load(const std::string& path, bool analyse);

    AppState& app() { return app_; }
    // Standard error, after the log line being printed has been ended.
    std::ostream& err() {
        printer_.finish();
        return err_;
    }

private:
    std::ostream& err_;
    LogPrinter printer_;
    CliPrompter prompter_;
    Shell shell_;
    AppState app_;
};

}  // namespace vortak
