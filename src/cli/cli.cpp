#include "cli.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>

#include "base/file_io.h"
#include "cli_session.h"
#include "graphics/svg_surface.h"
#include "picture.h"
#include "raster.h"
#include "report/report.h"
#include "report/results_export.h"

namespace vortak {

namespace {

constexpr const char* kOverview =
    "Usage: vortak-cli report [OPTIONS] MODEL.vok...\n"
    "       vortak-cli results --format json|csv [OPTIONS] MODEL.vok...\n"
    "       vortak-cli render [OPTIONS] MODEL.vok...\n"
    "       vortak-cli --help | --version | COMMAND --help\n"
    "\n"
    "Reads Vortak model files, analyses the trusses and writes, for each model:\n"
    "  report   the text report\n"
    "  results  the results as JSON or CSV, in full precision, for other programs\n"
    "  render   a drawing of the model or of a result as SVG, PNG or BMP\n"
    "\n"
    "A model named - is read from standard input; -- ends the options. The message log of\n"
    "each read and analysis goes to standard error; with several models each line starts\n"
    "with the model's name.\n"
    "Exit status: 0 success, 1 a model could not be read or an output not written, 2 an\n"
    "analysis failed, 64 wrong usage; with several models the highest of them.\n";

constexpr const char* kReportHelp =
    "Usage: vortak-cli report [--sections DIGITS] [--output FILE | --output-dir DIR]\n"
    "                         MODEL.vok...\n"
    "\n"
    "Reads each model, analyses it and writes the text report, exactly as the desktop\n"
    "program saves it.\n"
    "  --sections DIGITS  report sections to write, in any order, from 1234 (default):\n"
    "                     1 model data, 2 node displacements, 3 element forces,\n"
    "                     4 constraint and spring reactions\n"
    "  --output FILE      write the report of the one model to FILE (- standard output)\n"
    "  --output-dir DIR   write DIR/NAME.txt for each model MODEL/NAME.vok\n"
    "One model without an output option goes to standard output.\n";

constexpr const char* kResultsHelp =
    "Usage: vortak-cli results --format json|csv [--table nodes|elements|reactions]\n"
    "                          [--output FILE | --output-dir DIR] MODEL.vok...\n"
    "\n"
    "Reads each model, analyses it and writes its results with 17 significant digits:\n"
    "node displacements, element forces and lengths, support reactions and spring forces\n"
    "(as the report's section 4), the 17 extremes with where they occur, the mechanism\n"
    "warning and the status. The layout is described in docs/results-format.md.\n"
    "  --format json      one JSON object per model (several models to one output: a JSON\n"
    "                     array of them, one per line)\n"
    "  --format csv       one table, a row per node, element or supported node, a header\n"
    "                     row first and the model's name in the first column\n"
    "  --table TABLE      nodes (default), elements or reactions, for CSV\n"
    "  --output FILE      write everything to FILE (- standard output, the default)\n"
    "  --output-dir DIR   write DIR/NAME.json or DIR/NAME.csv for each model\n"
    "A model that fails gives a JSON object with its status and message, and no CSV rows.\n";

constexpr const char* kRenderHelp =
    "Usage: vortak-cli render [--view VIEW] [--size WxH] [--keep-view]\n"
    "                         (--output FILE | --output-dir DIR) [--format FORMAT]\n"
    "                         MODEL.vok...\n"
    "\n"
    "Draws the model or a result and saves the picture as SVG, PNG or BMP.\n"
    "  --view VIEW        model (default), n (axial force diagram), colour\n"
    "                     (compression/tension colours) or deformed\n"
    "  --size WxH         picture size in pixels at 96 dpi (default 1600x1000)\n"
    "  --keep-view        use the view stored in the model file instead of fitting the\n"
    "                     whole truss into the picture\n"
    "  --output FILE      the picture of the one model; its extension chooses the format\n"
    "                     unless --format does (- standard output)\n"
    "  --output-dir DIR   write DIR/NAME.svg (or .png, .bmp) for each model\n"
    "  --format FORMAT    svg (default with --output-dir), png or bmp\n";

enum class Command { Report, Results, Render };

struct Options {
    Command command = Command::Report;
    std::vector<std::string> models;
    std::string output;  // "-" standard output
    std::string outputDir;
    std::string sections = "1234";
    std::string format;  // results: json or csv; render: svg, png or bmp
    ResultsTableKind table = ResultsTableKind::Nodes;
    ViewMode view = ViewMode::Model;
    int width = 1600;  // pixels at 96 dpi
    int height = 1000;
    bool keepView = false;
};

struct Usage {
    std::string problem;
};

int usageError(std::ostream& err, const std::string& problem) {
    err << "vortak-cli: " << problem << "\n"
        << "Try 'vortak-cli --help' for more information.\n";
    return kExitUsage;
}

// The name a model's outputs take: its file name without the folder and ".vok".
std::string outputName(const std::string& model) {
    if (model == "-") return "stdin";
    std::string name = std::filesystem::path(model).filename().string();
    if (name.size() > 4) {
        std::string extension = name.substr(name.size() - 4);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (extension == ".vok") name.resize(name.size() - 4);
    }
    return name;
}

// Reads the options of a command; throws Usage on a mistake. Returns false when only the
// help was asked for.
bool parseOptions(const std::vector<std::string>& args, Options& o) {
    bool optionsEnded = false;
    const bool report = o.command == Command::Report;
    const bool results = o.command == Command::Results;
    const bool render = o.command == Command::Render;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            o.models.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") return false;
        if (render && arg == "--keep-view") {
            o.keepView = true;
            continue;
        }
        const bool takesValue =
            arg == "--output" || arg == "--output-dir" || (report && arg == "--sections") ||
            ((results || render) && arg == "--format") || (results && arg == "--table") ||
            (render && (arg == "--view" || arg == "--size"));
        if (!takesValue) throw Usage{"unknown option '" + arg + "'"};
        if (k + 1 >= args.size()) throw Usage{arg + " needs a value"};
        const std::string& value = args[++k];
        if (arg == "--output") {
            if (value.empty()) throw Usage{"--output needs a file name"};
            o.output = value;
        } else if (arg == "--output-dir") {
            if (value.empty()) throw Usage{"--output-dir needs a folder"};
            o.outputDir = value;
        } else if (arg == "--sections") {
            if (value.empty() || value.find_first_not_of("1234") != std::string::npos) {
                throw Usage{"--sections takes digits from 1234, not '" + value + "'"};
            }
            o.sections = value;
        } else if (arg == "--format" && results) {
            if (value != "json" && value != "csv") {
                throw Usage{"--format takes json or csv, not '" + value + "'"};
            }
            o.format = value;
        } else if (arg == "--format") {
            if (pictureFormatNamed(value) == PictureFormat::Unknown) {
                throw Usage{"--format takes svg, png or bmp, not '" + value + "'"};
            }
            o.format = value;
        } else if (arg == "--table") {
            if (!parseResultsTable(value, o.table)) {
                throw Usage{"--table takes nodes, elements or reactions, not '" + value + "'"};
            }
        } else if (arg == "--view") {
            if (!parseView(value, o.view)) {
                throw Usage{"--view takes model, n, colour or deformed, not '" + value + "'"};
            }
        } else if (!parseSize(value, o.width, o.height)) {
            throw Usage{"--size takes WIDTHxHEIGHT in pixels (16 to 16000), not '" + value + "'"};
        }
    }
    if (o.models.empty()) throw Usage{"no model file given"};
    if (std::count(o.models.begin(), o.models.end(), "-") > 1) {
        throw Usage{"standard input can be read only once"};
    }
    if (!o.output.empty() && !o.outputDir.empty()) {
        throw Usage{"--output and --output-dir cannot be given together"};
    }
    if (results && o.format.empty()) throw Usage{"results needs --format json or --format csv"};
    if (!results && o.models.size() > 1 && o.outputDir.empty()) {
        throw Usage{"several models need --output-dir"};
    }
    if (render) {
        if (o.output.empty() && o.outputDir.empty()) {
            throw Usage{"render needs --output FILE or --output-dir DIR"};
        }
        if (o.format.empty() && !o.output.empty()) {
            if (o.output == "-") throw Usage{"a picture on standard output needs --format"};
            if (pictureFormat(o.output) == PictureFormat::Unknown) {
                throw Usage{"the output file name must end in .svg, .png or .bmp"};
            }
        }
    }
    if (!o.outputDir.empty()) {
        // Two models of one name would write the same file, the second over the first.
        std::map<std::string, std::string> seen;
        for (const std::string& model : o.models) {
            const auto [at, added] = seen.emplace(outputName(model), model);
            if (!added) {
                throw Usage{"'" + at->second + "' and '" + model +
                            "' would write the same output in " + o.outputDir};
            }
        }
    }
    return true;
}

// Where a command's output goes: standard output, one file, or a file per model.
class Outputs {
public:
    Outputs(const Options& o, std::ostream& out, std::ostream& err) : o_(o), out_(out), err_(err) {}

    // Makes the output folder; false (said) when it cannot be made.
    bool prepare() {
        if (o_.outputDir.empty()) return true;
        std::error_code error;
        std::filesystem::create_directories(o_.outputDir, error);
        if (!error) return true;
        err_ << "vortak-cli: the folder " << o_.outputDir
             << " could not be made: " << error.message() << "\n";
        return false;
    }
    bool perModel() const { return !o_.outputDir.empty(); }
    std::string pathFor(const std::string& model, const char* extension) const {
        return (std::filesystem::path(o_.outputDir) / (outputName(model) + extension)).string();
    }
    // Writes `content` to `path` ("-" or empty: standard output); false when it failed,
    // which `session` then says.
    bool write(const std::string& path, const std::string& content, CliSession* session) {
        if (path.empty() || path == "-") {
            out_ << content;
            out_.flush();
            if (out_) return true;
            say(session, "vortak-cli: the output could not be written to standard output");
            return false;
        }
        // Whole or not at all, but not flushed to disk one by one: outputs can be made
        // again, and a batch of a thousand would otherwise wait a second for the disk.
        if (const auto error = writeFileAtomically(path, content, false)) {
            say(session, "There was an error saving the file: " + *error + " (" + path + ")");
            return false;
        }
        return true;
    }

private:
    void say(CliSession* session, const std::string& text) {
        if (session) {
            session->report(text);
        } else {
            err_ << text << "\n";
        }
    }
    const Options& o_;
    std::ostream& out_;
    std::ostream& err_;
};

int runReport(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
    Outputs outputs(o, out, err);
    if (!outputs.prepare()) return kExitFileError;
    CliSession session(in, err, o.models.size() > 1);
    int status = kExitOk;
    for (const std::string& model : o.models) {
        const ModelRun run = session.load(model, true);
        status = std::max(status, exitStatus(run));
        if (run.status != RunStatus::Ok) continue;
        const std::string report = assembleReport(session.app().model, o.sections) + "\r\n";
        const std::string path = outputs.perModel() ? outputs.pathFor(model, ".txt") : o.output;
        if (!outputs.write(path, report, &session)) status = std::max<int>(status, kExitFileError);
    }
    return status;
}

int runResults(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
    Outputs outputs(o, out, err);
    if (!outputs.prepare()) return kExitFileError;
    const bool json = o.format == "json";
    const bool several = o.models.size() > 1;
    CliSession session(in, err, several);
    int status = kExitOk;
    // Everything to one output: gathered, then written once.
    std::string together = json ? (several ? "[\n" : "") : resultsCsvHeader(o.table);
    for (std::size_t k = 0; k < o.models.size(); ++k) {
        const std::string& model = o.models[k];
        const ModelRun run = session.load(model, true);
        status = std::max(status, exitStatus(run));
        const Model& m = session.app().model;
        const std::string content = json ? resultsJson(m, run) : resultsCsvRows(m, run, o.table);
        if (outputs.perModel()) {
            const std::string text = json ? content + "\n" : resultsCsvHeader(o.table) + content;
            if (!outputs.write(outputs.pathFor(model, json ? ".json" : ".csv"), text, &session)) {
                status = std::max<int>(status, kExitFileError);
            }
        } else if (json) {
            together += content;
            together += several && k + 1 < o.models.size() ? ",\n" : "\n";
        } else {
            together += content;
        }
    }
    if (!outputs.perModel()) {
        if (json && several) together += "]\n";
        if (!outputs.write(o.output, together, nullptr))
            status = std::max<int>(status, kExitFileError);
    }
    return status;
}

int runRender(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
    Outputs outputs(o, out, err);
    if (!outputs.prepare()) return kExitFileError;
    const PictureFormat format = !o.format.empty()    ? pictureFormatNamed(o.format)
                                 : outputs.perModel() ? PictureFormat::Svg
                                                      : pictureFormat(o.output);
    CliSession session(in, err, o.models.size() > 1);
    int status = kExitOk;
    for (const std::string& model : o.models) {
        const ModelRun run = session.load(model, o.view != ViewMode::Model);
        status = std::max(status, exitStatus(run));
        if (run.status != RunStatus::Ok) continue;
        AppState& app = session.app();
        app.currentView = o.view;
        if (!fitPicture(app, o.width, o.height, o.keepView)) {
            // A picture of part of the truss would pass for the whole of it.
            session.report("vortak-cli: the truss is too large to be shown whole in a picture of " +
                           std::to_string(o.width) + "x" + std::to_string(o.height) + " pixels");
            status = std::max<int>(status, kExitFileError);
            continue;
        }
        const std::string path =
            outputs.perModel() ? outputs.pathFor(model, pictureExtension(format)) : o.output;
        if (format == PictureFormat::Svg) {
            const double widthCm = o.width / kPictureDotsPerInch * 2.54;
            const double heightCm = o.height / kPictureDotsPerInch * 2.54;
            SvgSurface svg(widthCm, heightCm, kPictureDotsPerInch);
            drawPicture(app, svg);
            if (!outputs.write(path, svg.document(), &session)) {
                status = std::max<int>(status, kExitFileError);
            }
            continue;
        }
        if (path == "-") {
            session.report("vortak-cli: PNG and BMP pictures are written to files only");
            status = std::max<int>(status, kExitFileError);
            continue;
        }
        if (const std::string error = writeRasterPicture(app, format, o.width, o.height, path);
            !error.empty()) {
            session.report(error);
            status = std::max<int>(status, kExitFileError);
        }
    }
    return status;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    if (args.empty()) return usageError(err, "no command given");
    if (args[0] == "--help" || args[0] == "-h") {
        out << kOverview;
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "vortak-cli " << VORTAK_VERSION << "\n";
        return kExitOk;
    }
    Options o;
    const char* help = nullptr;
    if (args[0] == "report") {
        o.command = Command::Report;
        help = kReportHelp;
    } else if (args[0] == "results") {
        o.command = Command::Results;
        help = kResultsHelp;
    } else if (args[0] == "render") {
        o.command = Command::Render;
        help = kRenderHelp;
    } else {
        return usageError(err, "unknown command '" + args[0] + "'");
    }
    try {
        if (!parseOptions(args, o)) {
            out << help;
            return kExitOk;
        }
    } catch (const Usage& usage) {
        return usageError(err, usage.problem);
    }
    switch (o.command) {
        case Command::Results:
            return runResults(o, in, out, err);
        case Command::Render:
            return runRender(o, in, out, err);
        case Command::Report:
            break;
    }
    return runReport(o, in, out, err);
}

}  // namespace vortak
