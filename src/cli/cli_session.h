#pragma once

// What the commands of the command-line tool share: one program state without a window,
// reused for every model of a batch (the solver's workspace is allocated once), a prompter
// that keeps the model as it is, and the message log printed on standard error.

#include <iosfwd>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/shell.h"
#include "base/prompter.h"
#include "report/results_export.h"

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

// Prints the message log as plain lines while it is written. In a batch each line starts
// with the model's name; alone, only the failures do.
class LogPrinter {
public:
    explicit LogPrinter(std::ostream& err) : err_(err) {}
    ~LogPrinter() { finish(); }
    LogPrinter(const LogPrinter&) = delete;
    LogPrinter& operator=(const LogPrinter&) = delete;

    void setName(const std::string& name, bool onEveryLine);
    void print(const LogRun& run);
    // Ends the line being printed.
    void finish();
    // A line of the tool's own; a failure always has the model's name in front.
    void line(const std::string& text, bool failure);

private:
    void startLine(bool failure);

    std::ostream& err_;
    std::string prefix_;
    bool onEveryLine_ = false;
    bool open_ = false;
};

// Models read (and analysed) one after the other, each with its log printed as it is
// written.
class CliSession {
public:
    // `batch`: several models, whose log lines are told apart by the models' names.
    CliSession(std::istream& in, std::ostream& err, bool batch);
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Reads a model ("-" is standard input) and, when asked, analyses it. The status says
    // how it went; its message holds the log's red lines of this model.
    ModelRun load(const std::string& name, bool analyse);

    AppState& app() { return app_; }
    // A message of the tool's own about the current model.
    void report(const std::string& text) { printer_.line(text, true); }

private:
    std::istream& in_;
    LogPrinter printer_;
    CliPrompter prompter_;
    Shell shell_;
    AppState app_;
    bool batch_;
};

// The exit status of a model's run.
int exitStatus(const ModelRun& run);

}  // namespace vortak
