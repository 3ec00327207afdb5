#pragma once

// The results tables outside the window: as spreadsheet workbooks opened in the desktop's
// spreadsheet program, and the text report on a printer.

#include <functional>
#include <optional>
#include <string>

class QPrinter;

namespace vortak {

struct ResultsTable;

// Writes the table to a new .xlsx workbook at `path`, one cell per table cell, numbers as
// numbers, columns fitted to their contents, the sheet named `title`. Returns the error
// description on failure.
std::optional<std::string> writeWorkbook(const ResultsTable& table, const std::string& title,
                                         const std::string& path);

// Prints the report in a 10-point fixed-pitch font, 2 cm in from the top-left corner of the
// printable area, over as many pages as it takes. False when the printer failed.
bool printReport(QPrinter& printer, const std::string& report);

}  // namespace vortak
