#include "cli_session.h"

#include <algorithm>
#include <istream>
#include <ostream>
#include <string_view>

#include "app/analysis_run.h"
#include "app/file_commands.h"
#include "cli.h"
#include "model/model_file.h"

namespace vortak {

namespace {

// Lines of the message boxes that the log does not already hold, such as the largest
// displacement of a mechanism warning.
std::vector<std::string> boxExtras(const CliPrompter& prompter, const MessageLog& log) {
    std::vector<std::string> extras;
    const std::vector<std::string> logged = log.lines();
    for (const std::string& box : prompter.boxes) {
        std::string_view rest = box;
        while (!rest.empty()) {
            const std::size_t brk = rest.find("\r\n");
            const std::string line(rest.substr(0, brk));
            rest.remove_prefix(brk == std::string_view::npos ? rest.size() : brk + 2);
            if (line.empty()) continue;
            if (std::find(logged.begin(), logged.end(), " " + line) == logged.end()) {
                extras.push_back(line);
            }
        }
    }
    return extras;
}

// The red lines of the log, which say what went wrong, as one text.
std::string failureMessage(const MessageLog& log) {
    std::string message;
    for (const LogRun& run : log.runs()) {
        if (run.colour != LogColour::Red) continue;
        std::string_view text = run.text;
        if (text.substr(0, 3) == "\r\n ") text.remove_prefix(3);
        if (!message.empty()) message += ' ';
        message += text;
    }
    return message;
}

// The open failure's opening words, as the program shows them for a model file.
constexpr const char* kOpenErrorText = "There was an error opening the file:";

// Reads a model from standard input into `text`, but never more than a model file can
// hold: an endless input (a device, a pipe that never ends) is refused once it has given
// one byte more. False when refused.
bool readModelInput(std::istream& in, std::string& text) {
    text.clear();
    char buffer[65536];
    while (text.size() <= kMaxModelFileBytes && in) {
        const std::size_t wanted = std::min(sizeof buffer, kMaxModelFileBytes + 1 - text.size());
        in.read(buffer, static_cast<std::streamsize>(wanted));
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (text.size() <= kMaxModelFileBytes) return true;
    text.clear();
    text.shrink_to_fit();
    return false;
}

}  // namespace

Answer CliPrompter::messageBox(const std::string& text, MessageIcon, MessageButtons buttons) {
    boxes.push_back(text);
    switch (buttons) {
        case MessageButtons::Ok:
            return Answer::Ok;
        case MessageButtons::OkCancel:
            return Answer::Cancel;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            break;
    }
    return Answer::No;
}

void LogPrinter::setName(const std::string& name, bool onEveryLine) {
    finish();
    prefix_ = name + ": ";
    onEveryLine_ = onEveryLine;
}

void LogPrinter::startLine(bool failure) {
    finish();
    if (onEveryLine_ || failure) err_ << prefix_;
    open_ = true;
}

void LogPrinter::print(const LogRun& run) {
    std::string_view text = run.text;
    if (text.substr(0, 2) == "\r\n") {
        startLine(run.colour == LogColour::Red);
        text.remove_prefix(std::min<std::size_t>(3, text.size()));  // the break and blank
    } else if (!open_) {
        startLine(run.colour == LogColour::Red);
    }
    err_ << text;
}

void LogPrinter::line(const std::string& text, bool failure) {
    startLine(failure);
    err_ << text;
    finish();
}

void LogPrinter::finish() {
    if (open_) err_ << '\n';
    open_ = false;
    err_.flush();
}

CliSession::CliSession(std::istream& in, std::ostream& err, bool batch)
    : in_(in), printer_(err), app_(prompter_, shell_), batch_(batch) {
    app_.log.setListener([this](const LogRun& run) { printer_.print(run); });
}

ModelRun CliSession::load(const std::string& name, bool analyse) {
    ModelRun run{name, RunStatus::Ok, {}};
    app_.log.clear();
    prompter_.boxes.clear();
    printer_.setName(name, batch_);
    FileOutcome read;
    if (name == "-") {
        std::string text;
        if (readModelInput(in_, text)) {
            read = ReadModelText(app_, "-", text);
        } else {
            // Refused as a file of that size is refused: an empty model and the red line.
            ClearModel(app_.model);
            app_.log.LogMessage(std::string(kOpenErrorText) + " " + modelFileTooLargeText(),
                                LogColour::Red, true);
            read = FileOutcome::Failed;
        }
    } else {
        read = ReadModelFile(app_, name);
    }
    app_.currentView = ViewMode::Model;
    if (read == FileOutcome::Done && analyse) {
        Button_Epilisi(app_);
        printer_.finish();
        for (const std::string& extra : boxExtras(prompter_, app_.log)) {
            printer_.line(extra, false);
        }
        if (app_.model.analysisFailed) run.status = RunStatus::AnalysisFailed;
    } else if (read != FileOutcome::Done) {
        run.status = RunStatus::ReadFailed;
    }
    printer_.finish();
    if (run.status != RunStatus::Ok) run.message = failureMessage(app_.log);
    return run;
}

int exitStatus(const ModelRun& run) {
    switch (run.status) {
        case RunStatus::ReadFailed:
            return kExitFileError;
        case RunStatus::AnalysisFailed:
            return kExitAnalysisFailed;
        case RunStatus::Ok:
            break;
    }
    return kExitOk;
}

}  // namespace vortak
