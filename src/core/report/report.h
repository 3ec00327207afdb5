#pragma once

// The fixed-width text report of the model data and the last analysis, and its saving to a
// .txt file. Every line ends with CR LF; numbers use the general and classic forms of
// base/number_text.h.

#include <optional>
#include <string>
#include <string_view>

namespace vortak {

struct Model;
class Prompter;
class MessageLog;

// One section of the report: 1 model data, 2 node displacements, 3 element forces,
// 4 constraint and spring reactions. Any other k gives an empty text.
std::string ReportSection(const Model& model, int k);

// The sections named by the digits of `sections` ("1234", "31", ...), always in ascending
// order and each at most once; other characters and unknown digits are ignored.
std::string assembleReport(const Model& model, std::string_view sections);

// Writes `report` followed by one CR LF to `path`, atomically: an existing file is either
// fully replaced or left as it was. Returns the system's error description on failure.
std::optional<std::string> writeReportFile(const std::string& path, const std::string& report);

// Asks for a file name and writes the report there. The dialog proposes "Untitled.txt" for
// an untitled model, otherwise the model file name with its last four characters (the
// ".vok") replaced by ".txt"; ".txt" is added to a chosen name that does not end with it.
// A failure is shown in a message box and in red in the log. Returns true only when the
// file was written; cancelling returns false without a word.
bool SaveReportText(const std::string& report, const std::string& modelFileName, Prompter& prompter,
                    MessageLog& log);

}  // namespace vortak
