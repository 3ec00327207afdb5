#include "cli_session.h"

#include <algorithm>
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
void printBoxExtras(const CliPrompter& prompter, const MessageLog& log, std::ostream& err) {
    const std::vector<std::string> logged = log.lines();
    for (const std::string& box : prompter.boxes) {
        std::string_view rest = box;
        while (!rest.empty()) {
            const std::size_t brk = rest.find("\r\n");
            const std::string line(rest.substr(0, brk));
            rest.remove_prefix(brk == std::string_view::npos ? rest.size() : brk + 2);
            if (line.empty()) continue;
            if (std::find(logged.begin(), logged.end(), " " + line) == logged.end()) {
                err << line << '\n';
            }
        }
    }
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

void LogPrinter::print(const LogRun& run) {
    std::string_view text = run.text;
    if (text.substr(0, 2) == "\r\n") {
        finish();
        text.remove_prefix(std::min<std::size_t>(3, text.size()));  // the break and blank
    }
    err_ << text;
    open_ = true;
}

void LogPrinter::finish() {
    if (open_) err_ << '\n';
    open_ = false;
    err_.flush();
}

CliSession::CliSession(std::ostream& err) : err_(err), printer_(err), app_(prompter_, shell_) {
    app_.log.setListener([this](const LogRun& run) { printer_.print(run); });
}

int CliSession::load(const std::string& path, bool analyse) {
    const bool read = ReadModelFile(app_, path) == FileOutcome::Done;
    printer_.finish();
    if (!read) return kExitFileError;
    if (!analyse) return kExitOk;
    Button_Epilisi(app_);
    printer_.finish();
    printBoxExtras(prompter_, app_.log, err_);
    return app_.model.analysisFailed ? kExitAnalysisFailed : kExitOk;
}

}  // namespace vortak
