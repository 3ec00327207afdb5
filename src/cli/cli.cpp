#include "cli.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "analysis/analysis_run.h"
#include "app/app_state.h"
#include "app/shell.h"
#include "model/model_file.h"
#include "report/report.h"

namespace vortak {

namespace {

constexpr const char* kUsage =
    "Usage: vortak-cli report MODEL.vok [--sections DIGITS] [--output FILE]\n"
    "       vortak-cli --help | --version\n"
    "\n"
    "Reads a Vortak model file, analyses the truss and writes the text report.\n"
    "\n"
    "  --sections DIGITS  report sections to write, in any order, from 1234 (default):\n"
    "                     1 model data, 2 node displacements, 3 element forces,\n"
    "                     4 constraint and spring reactions\n"
    "  --output FILE      write the report to FILE instead of standard output\n"
    "\n"
    "The message log of the read and the analysis goes to standard error.\n"
    "Exit status: 0 success, 1 the model could not be read or the report not written,\n"
    "2 the analysis failed, 64 wrong usage.\n";

// Answers every question as a user who keeps the model as it is: unconnected nodes are
// not deleted. Message boxes are kept so that what they add to the log can be printed.
class CliPrompter : public Prompter {
public:
    std::vector<std::string> boxes;

    Answer messageBox(const std::string& text, MessageIcon, MessageButtons buttons) override {
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

    void print(const LogRun& run) {
        std::string_view text = run.text;
        if (text.substr(0, 2) == "\r\n") {
            finish();
            text.remove_prefix(std::min<std::size_t>(3, text.size()));  // break and blank
        }
        err_ << text;
        open_ = true;
    }
    void finish() {
        if (open_) err_ << '\n';
        open_ = false;
        err_.flush();
    }

private:
    std::ostream& err_;
    bool open_ = false;
};

struct ReportOptions {
    std::string model;
    std::string sections = "1234";
    std::string output;
};

int usageError(std::ostream& err, const std::string& problem) {
    err << "vortak-cli: " << problem << "\n"
        << "Try 'vortak-cli --help' for more information.\n";
    return kExitUsage;
}

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

int runReport(const ReportOptions& options, std::ostream& out, std::ostream& err) {
    CliPrompter prompter;
    Shell shell;
    AppState app(prompter, shell);
    LogPrinter printer(err);
    app.log.setListener([&printer](const LogRun& run) { printer.print(run); });

    if (ReadModelFile(app, options.model) != FileOutcome::Done) return kExitFileError;
    Button_Epilisi(app);
    printer.finish();
    printBoxExtras(prompter, app.log, err);
    if (app.model.analysisFailed) return kExitAnalysisFailed;

    const std::string report = assembleReport(app.model, options.sections);
    if (options.output.empty()) {
        out << report << "\r\n";
        out.flush();
        if (!out) {
            err << "vortak-cli: the report could not be written to standard output\n";
            return kExitFileError;
        }
        return kExitOk;
    }
    if (const auto error = writeReportFile(options.output, report)) {
        err << "There was an error saving the file: " << *error << '\n';
        return kExitFileError;
    }
    return kExitOk;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return usageError(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage;
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "vortak-cli " << VORTAK_VERSION << "\n";
        return kExitOk;
    }
    if (args[0] != "report") return usageError(err, "unknown command '" + args[0] + "'");

    ReportOptions options;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kExitOk;
        }
        if (arg == "--sections" || arg == "--output") {
            if (k + 1 >= args.size()) return usageError(err, arg + " needs a value");
            const std::string& value = args[++k];
            if (arg == "--output") {
                if (value.empty()) return usageError(err, "--output needs a file name");
                options.output = value;
                continue;
            }
            if (value.empty() || value.find_first_not_of("1234") != std::string::npos) {
                return usageError(err, "--sections takes digits from 1234, not '" + value + "'");
            }
            options.sections = value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "unknown option '" + arg + "'");
        } else if (options.model.empty()) {
            options.model = arg;
        } else {
            return usageError(err, "more than one model file given");
        }
    }
    if (options.model.empty()) return usageError(err, "no model file given");
    return runReport(options, out, err);
}

}  // namespace vortak
