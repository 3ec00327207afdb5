#include "report/table_export.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QStringList>

#include <xlsxwriter.h>

#include <algorithm>

#include "base/number_text.h"
#include "report/results_tables.h"

namespace vortak {

std::optional<std::string> writeWorkbook(const ResultsTable& table, const std::string& title,
                                         const std::string& path) {
    lxw_workbook* workbook = workbook_new(path.c_str());
    if (workbook == nullptr) return std::string("the workbook could not be created");
    lxw_worksheet* sheet =
        workbook_add_worksheet(workbook, title.empty() ? nullptr : title.substr(0, 31).c_str());
    std::vector<std::size_t> widths(std::size_t(table.columns), 4);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (std::size_t c = 0; c < table.rows[r].size(); ++c) {
            const std::string& text = table.rows[r][c].text;
            if (text.empty()) continue;
            widths[c] = std::max(widths[c], text.size());
            // Numbers go over as numbers, so that the sheet can compute with them.
            const NumberPrefix number = leadingNumber(text);
            if (number.length == text.size() && !table.rows[r][c].title) {
                worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), number.value, nullptr);
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
