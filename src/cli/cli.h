#pragma once

// The headless command-line tool: reads a model, analyses it and writes the report.

#include <iosfwd>
#include <string>
#include <vector>

namespace vortak {

enum CliExit : int {
    kExitOk = 0,
    kExitFileError = 1,  // the model could not be read or the output not written
    kExitAnalysisFailed = 2,
    kExitUsage = 64,
};

// Runs the tool with the arguments after the program name; returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vortak
