#include "report/table_export.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>
#include <QStringList>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/file_io.h"
#include "base/number_text.h"
#include "report/results_tables.h"

namespace vortak {

namespace {

// The workbook as libxlsxwriter makes it: it writes the file at `path` itself, and its
// scratch files in `scratchFolder`.
std::optional<std::string> buildWorkbook(const ResultsTable& table, const std::string& title,
                                         const std::string& path, std::string scratchFolder) {
    lxw_workbook_options options{};
    options.tmpdir = scratchFolder.data();
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (workbook == nullptr) return std::string("the workbook could not be created");
    lxw_worksheet* sheet =
        workbook_add_worksheet(workbook, title.empty() ? nullptr : title.substr(0, 31).c_str());
    std::vector<std::size_t> widths(std::size_t(table.columns), 4);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            const TableCell& cell = table.rows[r][c];
            const std::string& text = cell.text;
            if (text.empty()) continue;
            widths[c] = std::max(widths[c], text.size());
            // Numbers go over as numbers, so that the sheet can compute with them.
            if (cell.numeric) {
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), leadingNumber(text).value,
                                       nullptr);
            } else {
                worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), text.c_str(), nullptr);
            }
        }
    }
    for (std::size_t c = 0; c < widths.size(); ++c) {
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), double(widths[c]) + 2, nullptr);
    }
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) return std::string(lxw_strerror(error));
    return std::nullopt;
}

}  // namespace

std::optional<std::string> writeWorkbook(const ResultsTable& table, const std::string& title,
                                         const std::string& path) {
    // The library can only write a file of its own: it gets a private folder, and the finished
    // workbook goes to `path` through the program's file writer, like every other file.
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr && *tmp == '/' ? tmp : "/tmp");
    folder += "/vortak-workbook-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) return std::string(std::strerror(errno));
    std::optional<std::string> error = buildWorkbook(table, title, folder + "/book.xlsx", folder);
    std::string bytes;
    if (!error) error = readWholeFile(folder + "/book.xlsx", bytes);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (!error) error = writeFileAtomically(path, bytes);
    return error;
}

QString workbookFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty()) return {};
    const QString folder = QDir(cache).filePath("export");
    return QDir().mkpath(folder) ? folder : QString();
}

void removeOldWorkbooks(const QString& folder, const QDateTime& now) {
    const QFileInfoList workbooks = QDir(folder).entryInfoList({"*.xlsx"}, QDir::Files);
    for (const QFileInfo& workbook : workbooks) {
        if (workbook.lastModified().secsTo(now) > qint64(kWorkbookKeepHours) * 3600) {
            QFile::remove(workbook.filePath());
        }
    }
}

QString newWorkbookPath(const QString& folder, const QString& title, const QDateTime& now) {
    const QString stem = QDir(folder).filePath(title + "-" + now.toString("yyyyMMdd-HHmmss"));
    QString path = stem + ".xlsx";
    for (int k = 2; QFileInfo::exists(path); ++k) path = stem + "-" + QString::number(k) + ".xlsx";
    return path;
}

bool printReport(QPrinter& printer, const std::string& report) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(10);
    painter.setFont(font);
    const double pxPerCm = printer.resolution() / 2.54;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double left = 2 * pxPerCm;
    const double top = 2 * pxPerCm;
    const double lineHeight = painter.fontMetrics().lineSpacing();
    double y = top;
    const QStringList lines = QString::fromStdString(report).split("\r\n");
    for (const QString& line : lines) {
        if (y + lineHeight > page.height() && y > top) {
            if (!printer.newPage()) return false;
            y = top;
        }
        painter.drawText(QPointF(left, y + painter.fontMetrics().ascent()), line);
        y += lineHeight;
    }
    return painter.end();
}

}  // namespace vortak
