#include "report/results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "app/app_state.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "report/table_export.h"

namespace vortak {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

constexpr const char* kExportFailureText =
    "An error occured while trying to export file. The operation cannot be completed.";
constexpr const char* kPrintFailureText =
    "An error occured while trying to print. The printing cannot be completed";

QColor markColour(CellMark mark) {
    switch (mark) {
        case CellMark::Largest:
            return QColor(0, 0, 255);
        case CellMark::Smallest:
            return QColor(255, 0, 0);
        case CellMark::Spring:
            return QColor(0, 128, 0);
        case CellMark::Plain:
            break;
    }
    return QColor(0, 0, 0);
}

// The section dialog: which of the four sections (or tables) an action takes.
std::optional<std::array<bool, 4>> askSectionsDialog(QWidget* parent, const QString& caption) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* frame = new QGroupBox("Results", &dialog);
    auto* boxes = new QVBoxLayout(frame);
    const char* names[] = {"Model data", "Node displacements", "Element forces",
                           "Constraint-Spring reactions"};
    QCheckBox* checks[4];
    for (int k = 0; k < 4; ++k) {
        checks[k] = new QCheckBox(names[k], frame);
        checks[k]->setChecked(k == 1 || k == 2);
        boxes->addWidget(checks[k]);
    }
    auto* ok = new QPushButton("OK", &dialog);
    auto* cancel = new QPushButton("Cancel", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::array<bool, 4> ticked{};
    for (int k = 0; k < 4; ++k) ticked[std::size_t(k)] = checks[k]->isChecked();
    return ticked;
}

// A printer for the Print button where the icon theme has none: a sheet going in at the
// top, the body with its status light, and a printed sheet coming out. Drawn on a 24-unit
// grid like the main toolbar's icons.
QIcon printerIcon() {
    const QColor ink(0x24, 0x29, 0x30);
    const QColor paper(0xff, 0xff, 0xff);
    const QColor body(0xc9, 0xce, 0xd4);
    const QColor light(0x2e, 0x8b, 0x3a);
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        // One grid unit wide, but never thinner than a device pixel.
        p.setPen(QPen(ink, std::max(1.0, 24.0 / size), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(paper);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(body);
        p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
        p.setBrush(light);
        p.drawEllipse(QPointF(18, 11.5), 1, 1);
        p.setBrush(paper);
        p.drawRect(QRectF(6.5, 13.5, 11, 8));
        p.drawLine(QPointF(8.5, 16.5), QPointF(15.5, 16.5));
        p.drawLine(QPointF(8.5, 18.5), QPointF(13.5, 18.5));
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// The value columns (all but the first) share one width: wide enough for the widest text
// in any of them and for a 15-digit number in exponent form, so that columns of numbers
// line up and a longer result does not make its column stand out.
void equaliseValueColumns(QTableWidget* table) {
    table->resizeColumnsToContents();
    int width = table->fontMetrics().horizontalAdvance(QStringLiteral(" -1.23456789012345E-05 "));
    for (int c = 1; c < table->columnCount(); ++c) width = std::max(width, table->columnWidth(c));
    for (int c = 1; c < table->columnCount(); ++c) table->setColumnWidth(c, width);
}

QTreeWidgetItem* treeItem(const TreeItem& item) {
    auto* node = new QTreeWidgetItem({qt(item.text)});
    if (item.bold) {
        QFont font = node->font(0);
        font.setBold(true);
        node->setFont(0, font);
    }
    node->setData(0, Qt::UserRole, qt(item.key));
    for (const TreeItem& child : item.children) node->addChild(treeItem(child));
    return node;
}

void expand(QTreeWidgetItem* node, const TreeItem& item) {
    node->setExpanded(item.expanded);
    for (int k = 0; k < node->childCount(); ++k)
        expand(node->child(k), item.children[std::size_t(k)]);
}

}  // namespace

ResultsWindow::ResultsWindow(AppState& app, ResultsSelection& selection, QWidget* parent,
                             SectionQuestion askSections, WorkbookOpener openWorkbook,
                             PrinterChoice choosePrinter)
    : QWidget(parent, Qt::Window),
      app_(app),
      selection_(selection),
      askSections_(std::move(askSections)),
      openWorkbook_(std::move(openWorkbook)),
      choosePrinter_(std::move(choosePrinter)),
      snapshot_(app.model),
      contents_{modelDataTable(snapshot_), displacementTable(snapshot_), forcesTable(snapshot_),
                reactionsTable(snapshot_)} {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString(kProgramTitle) + " - Data & Results");
    if (!askSections_) {
        askSections_ = [this](const QString& caption) { return askSectionsDialog(this, caption); };
    }
    if (!openWorkbook_) {
        openWorkbook_ = [](const QString& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
        };
    }
    if (!choosePrinter_) {
        choosePrinter_ = [this](QPrinter& printer) {
            QPrintDialog dialog(&printer, this);
            return dialog.exec() == QDialog::Accepted;
        };
    }
    const Model& m = snapshot_;

    tabs_ = new QTabWidget(this);
    // Data: counts, table or tree.
    auto* data = new QWidget;
    auto* dataLayout = new QVBoxLayout(data);
    dataLayout->addWidget(new QLabel("Analytical model data:", data));
    auto* frame = new QGroupBox("General data", data);
    auto* countsLayout = new QGridLayout(frame);
    int row = 0;
    for (const auto& [caption, value] : generalData(m)) {
        countsLayout->addWidget(new QLabel(qt(caption), frame), row / 4, (row % 4) * 2);
        auto* label = new QLabel(qt(value), frame);
        if (caption == "DOFs per node:") label->setText(qt(value) + "  (always in Vortak)");
        counts_.push_back(label);
        countsLayout->addWidget(label, row / 4, (row % 4) * 2 + 1);
        ++row;
    }
    dataLayout->addWidget(frame);
    tableView_ = new QRadioButton("Table view", data);
    treeView_ = new QRadioButton("Tree view", data);
    auto* views = new QHBoxLayout;
    views->addWidget(tableView_);
    views->addWidget(treeView_);
    views->addStretch();
    dataLayout->addLayout(views);
    for (int k = 0; k < 4; ++k) {
        tables_[k] = new QTableWidget(this);
        tables_[k]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tables_[k]->verticalHeader()->hide();
    }
    tree_ = new QTreeWidget(data);
    tree_->setHeaderHidden(true);
    const TreeItem content = modelTree(m);
    QTreeWidgetItem* root = treeItem(content);
    tree_->addTopLevelItem(root);
    expand(root, content);
    dataLayout->addWidget(tables_[0], 1);
    dataLayout->addWidget(tree_, 1);
    connect(tableView_, &QRadioButton::toggled, this, [this](bool on) {
        tables_[0]->setVisible(on);
        tree_->setVisible(!on);
    });
    treeView_->setChecked(true);
    tables_[0]->hide();
    tabs_->addTab(data, "Data");

    const auto resultTab = [this](const char* caption, const char* title, int index,
                                  std::initializer_list<QWidget*> notes) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(title, page));
        if (const std::string& notice = contents_[std::size_t(index)].notice; !notice.empty()) {
            auto* label = new QLabel(qt(notice), page);
            label->setObjectName("notice");
            label->setStyleSheet("color: #ff0000; font-weight: bold");
            layout->addWidget(label);
        }
        layout->addWidget(tables_[index], 1);
        auto* noteRow = new QHBoxLayout;
        for (QWidget* note : notes) noteRow->addWidget(note);
        noteRow->addStretch();
        layout->addLayout(noteRow);
        tabs_->addTab(page, caption);
    };
    auto* maxLabel = new QLabel("<span style='color:#0000ff'>[max]</span>", this);
    auto* minLabel = new QLabel("<span style='color:#ff0000'>[min]</span>", this);
    resultTab("Node displacements", "Node displacements", 1,
              {new QLabel("(Positive values: Global axes)", this), maxLabel, minLabel});
    resultTab("Element forces", "Element forces", 2,
              {new QLabel("Positive values: [+] = Tension, [-] = Compression", this)});
    resultTab("Constraint-Spring reactions", "Constraint-Spring reactions", 3,
              {new QLabel("(Positive values: Global axes)", this)});

    for (int k = 0; k < 4; ++k) fillTable(tables_[k], contents_[std::size_t(k)], k == 0);

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto action = [this, toolbar](const char* caption, const char* tip, const QIcon& icon,
                                        void (ResultsWindow::*slot)()) {
        QAction* a = toolbar->addAction(icon, caption);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, slot);
    };
    const auto standard = [this](QStyle::StandardPixmap icon) {
        return style()->standardIcon(icon);
    };
    action("Save", "Save to file", standard(QStyle::SP_DialogSaveButton), &ResultsWindow::save);
    action("Clipboard", "Copy to Windows Clipboard", standard(QStyle::SP_FileDialogDetailedView),
           &ResultsWindow::copy);
    action("Excel", "Export to MS Excel", standard(QStyle::SP_FileDialogListView),
           &ResultsWindow::exportTables);
    // The styles have no printer among their standard icons.
    action("Print", "Print", QIcon::fromTheme("document-print", printerIcon()),
           &ResultsWindow::print);
    QAction* exit = toolbar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), "Exit");
    exit->setToolTip("Exit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(toolbar);
    tabs_->setCurrentIndex(0);
    // Wide enough for the model data table's six columns without scrolling sideways.
    resize(960, 600);
}

void ResultsWindow::fillTable(QTableWidget* table, const ResultsTable& content, bool centred) {
    const bool titleRowFirst = table != tables_[0];
    table->setColumnCount(content.columns);
    const int first = titleRowFirst ? 1 : 0;
    table->setRowCount(int(content.rows.size()) - first);
    if (titleRowFirst) {
        QStringList titles;
        for (const TableCell& cell : content.rows[0]) titles << qt(cell.text);
        table->setHorizontalHeaderLabels(titles);
    } else {
        table->horizontalHeader()->hide();
    }
    const QColor titleBackground = palette().color(QPalette::Button);
    for (std::size_t r = std::size_t(first); r < content.rows.size(); ++r) {
        for (std::size_t c = 0; c < content.rows[r].size(); ++c) {
            const TableCell& cell = content.rows[r][c];
            auto* item = new QTableWidgetItem(qt(cell.text));
            item->setForeground(markColour(cell.mark));
            // Numbers are right-aligned so that their digits line up down a column.
            if (cell.numeric) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            } else if (cell.title || centred) {
                item->setTextAlignment(Qt::AlignCenter);
            }
            if (cell.title) {
                item->setBackground(titleBackground);
                const bool sectionStart =
                    c == 0 && std::find(content.sectionRows.begin(), content.sectionRows.end(),
                                        int(r)) != content.sectionRows.end();
                if (sectionStart) {
                    QFont font = item->font();
                    font.setPointSize(10);
                    item->setFont(font);
                }
            }
            table->setItem(int(r) - first, int(c), item);
        }
    }
    equaliseValueColumns(table);
}

bool ResultsWindow::choose(const QString& caption) {
    selection_.report.clear();
    const auto ticked = askSections_(caption);
    if (ticked) {
        selection_.accept(snapshot_, *ticked);
    } else {
        selection_.cancel();
    }
    return ticked.has_value();
}

void ResultsWindow::save() {
    choose("Save to file");
    if (!selection_.report.empty()) {
        SaveReportText(selection_.report, snapshot_.fileName, app_.prompter, app_.log);
    }
    selection_.report.clear();
}

void ResultsWindow::copy() {
    choose("Copy to Clipboard");
    if (!selection_.report.empty()) {
        QApplication::clipboard()->setText(QString::fromStdString(selection_.report));
    }
    selection_.report.clear();
}

void ResultsWindow::exportTables() {
    if (!choose("Export to MS Excel")) return;
    selection_.report.clear();
    const char* titles[] = {"Model data", "Node displacements", "Element forces",
                            "Constraint-Spring reactions"};
    // Each table becomes a workbook of its own, a file the desktop's spreadsheet program
    // opens; the files stay for it to read, so old ones are cleared away here.
    const QDateTime now = QDateTime::currentDateTime();
    const QString folder = workbookFolder();
    if (!folder.isEmpty()) removeOldWorkbooks(folder, now);
    for (std::size_t k = 0; k < contents_.size(); ++k) {
        if (!selection_.chosen[k]) continue;
        const QString path = folder.isEmpty() ? QString() : newWorkbookPath(folder, titles[k], now);
        const std::optional<std::string> error =
            path.isEmpty() ? std::optional<std::string>("the export folder could not be made")
                           : writeWorkbook(contents_[k], titles[k], path.toStdString());
        if (error) {
            reportFailure(kExportFailureText);
            // The box keeps its fixed words; the log says what went wrong.
            app_.log.LogMessage(std::string(titles[k]) + ": " + *error, LogColour::Red);
            continue;
        }
        app_.log.LogMessage(std::string(titles[k]) + " exported to " + path.toStdString(),
                            LogColour::Navy);
        if (!openWorkbook_(path)) reportFailure(kExportFailureText);
    }
}

void ResultsWindow::print() {
    choose("Print");
    const std::string report = selection_.report;
    selection_.report.clear();
    if (report.empty()) return;
    QPrinter printer;
    if (!choosePrinter_(printer)) return;
    if (!printReport(printer, report)) reportFailure(kPrintFailureText);
}

// A failed action says so in a box and, in the same words, in red in the log.
void ResultsWindow::reportFailure(const char* text) {
    app_.prompter.messageBox(text, MessageIcon::Critical, MessageButtons::Ok);
    app_.log.LogMessage(text, LogColour::Red);
}

}  // namespace vortak
