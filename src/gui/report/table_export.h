#pragma once

// The results tables outside the window: as spreadsheet workbooks opened in the desktop's
// spreadsheet program, and the text report on a printer.

#include <QString>

#include <optional>
#include <string>

class QDateTime;
class QPrinter;

namespace vortak {

struct ResultsTable;

// Writes the table to a new .xlsx workbook at `path`, one cell per table cell, numeric cells
// as numbers, columns fitted to their contents, the sheet named `title`. The workbook is made
// in a private temporary folder and written to `path` by writeFileAtomically; a failure
// leaves a file at `path` as it was. Returns the error description on failure.
std::optional<std::string> writeWorkbook(const ResultsTable& table, const std::string& title,
                                         const std::string& path);

// Workbooks are handed to the spreadsheet program as files and must outlive the export, so
// they gather in "export" under the user's cache folder for the program. Returns the
// folder, made if need be; empty when it cannot be made.
QString workbookFolder();

// A workbook is removed once it is older than this; the spreadsheet program has read it
// long before.
inline constexpr int kWorkbookKeepHours = 24;

// Removes the workbooks (*.xlsx) in `folder` last written more than kWorkbookKeepHours
// before `now`. Other files stay.
void removeOldWorkbooks(const QString& folder, const QDateTime& now);

// A path in `folder` for a new workbook named after the table and the time, not yet taken
// by another file.
QString newWorkbookPath(const QString& folder, const QString& title, const QDateTime& now);

// Prints the report in a 10-point fixed-pitch font, 2 cm in from the top-left corner of the
// printable area, over as many pages as it takes. False when the printer failed.
bool printReport(QPrinter& printer, const std::string& report);

}  // namespace vortak
