#pragma once

// The headless command-line tool: reads models, analyses them and writes their reports,
// machine-readable results or pictures.

#include <iosfwd>
#include <string>
#include <vector>

namespace vortak {

enum CliExit : int {
    kExitOk = 0,
    kExitFileError = 1,  // a model could not be read or an output not written
    kExitAnalysisFailed = 2,
    kExitUsage = 64,
};

// Runs the tool with the arguments after the program name; returns the exit status (the
// highest of the models' statuses in a batch).
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace vortak
