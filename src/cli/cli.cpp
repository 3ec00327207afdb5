#include "cli.h"

#include <ostream>

#include "cli_session.h"
#include "render.h"
#include "report/report.h"

namespace vortak {

namespace {

constexpr const char* kUsage =
    "Usage: vortak-cli report MODEL.vok [--sections DIGITS] [--output FILE]\n"
    "       vortak-cli render MODEL.vok --output FILE [--view VIEW] [--size WxH]\n"
    "                         [--keep-view]\n"
    "       vortak-cli --help | --version\n"
    "\n"
    "report: reads a Vortak model file, analyses the truss and writes the text report.\n"
    "  --sections DIGITS  report sections to write, in any order, from 1234 (default):\n"
    "                     1 model data, 2 node displacements, 3 element forces,\n"
    "                     4 constraint and spring reactions\n"
    "  --output FILE      write the report to FILE instead of standard output\n"
    "\n"
    "render: draws the model or a result and saves the picture as SVG, PNG or BMP,\n"
    "chosen by the extension of FILE.\n"
    "  --view VIEW        model (default), n (axial force diagram), colour\n"
    "                     (compression/tension colours) or deformed\n"
    "  --size WxH         picture size in pixels at 96 dpi (default 1600x1000)\n"
    "  --keep-view        use the view stored in the model file instead of fitting\n"
    "                     the whole truss into the picture\n"
    "\n"
    "The message log of the read and the analysis goes to standard error.\n"
    "Exit status: 0 success, 1 the model could not be read or the output not written,\n"
    "2 the analysis failed, 64 wrong usage.\n";

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

int runReport(const ReportOptions& options, std::ostream& out, std::ostream& err) {
    CliSession session(err);
    if (const int status = session.load(options.model, true); status != kExitOk) return status;

    const std::string report = assembleReport(session.app().model, options.sections);
    if (options.output.empty()) {
        out << report << "\r\n";
        out.flush();
        if (!out) {
            session.err() << "vortak-cli: the report could not be written to standard output\n";
            return kExitFileError;
        }
        return kExitOk;
    }
    if (const auto error = writeReportFile(options.output, report)) {
        session.err() << "There was an error saving the file: " << *error << '\n';
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
    const bool report = args[0] == "report";
    if (!report && args[0] != "render") {
        return usageError(err, "unknown command '" + args[0] + "'");
    }

    ReportOptions reportOptions;
    RenderOptions renderOptions;
    std::string model, output;
    for (std::size_t k = 1; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kExitOk;
        }
        const bool takesValue = arg == "--output" || (report && arg == "--sections") ||
                                (!report && (arg == "--view" || arg == "--size"));
        if (takesValue) {
            if (k + 1 >= args.size()) return usageError(err, arg + " needs a value");
            const std::string& value = args[++k];
            if (arg == "--output") {
                if (value.empty()) return usageError(err, "--output needs a file name");
                output = value;
            } else if (arg == "--sections") {
                if (value.empty() || value.find_first_not_of("1234") != std::string::npos) {
                    return usageError(err,
                                      "--sections takes digits from 1234, not '" + value + "'");
                }
                reportOptions.sections = value;
            } else if (arg == "--view") {
                if (!parseView(value, renderOptions.view)) {
                    return usageError(
                        err, "--view takes model, n, colour or deformed, not '" + value + "'");
                }
            } else if (!parseSize(value, renderOptions.width, renderOptions.height)) {
                return usageError(
                    err, "--size takes WIDTHxHEIGHT in pixels (16 to 16000), not '" + value + "'");
            }
        } else if (!report && arg == "--keep-view") {
            renderOptions.keepView = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "unknown option '" + arg + "'");
        } else if (model.empty()) {
            model = arg;
        } else {
            return usageError(err, "more than one model file given");
        }
    }
    if (model.empty()) return usageError(err, "no model file given");
    if (report) {
        reportOptions.model = model;
        reportOptions.output = output;
        return runReport(reportOptions, out, err);
    }
    if (output.empty()) return usageError(err, "render needs --output FILE");
    if (pictureFormat(output) == PictureFormat::Unknown) {
        return usageError(err, "the output file name must end in .svg, .png or .bmp");
    }
    renderOptions.model = model;
    renderOptions.output = output;
    return runRender(renderOptions, err);
}

}  // namespace vortak
