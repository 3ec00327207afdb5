#include "report/results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/app_state.h"
#include "report/report.h"
#include "report/results_tables.h"
#include "report/table_export.h"

namespace vortak {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

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
                             SectionQuestion askSections, WorkbookOpener openWorkbook)
    : QWidget(parent, Qt::Window),
      app_(app),
      selection_(selection),
      askSections_(std::move(askSections)),
      openWorkbook_(std::move(openWorkbook)) {
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
    const Model& m = app.model;

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

    const ResultsTable contents[] = {modelDataTable(m), displacementTable(m), forcesTable(m),
                                     reactionsTable(m)};
    const auto resultTab = [this, &contents](const char* caption, const char* title, int index,
                                             std::initializer_list<QWidget*> notes) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(title, page));
        if (const std::string& notice = contents[index].notice; !notice.empty()) {
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

    for (int k = 0; k < 4; ++k) fillTable(tables_[k], contents[k], k == 0);

    auto* toolbar = new QToolBar(this);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto action = [this, toolbar](const char* caption, const char* tip,
                                        QStyle::StandardPixmap icon,
                                        void (ResultsWindow::*slot)()) {
        QAction* a = toolbar->addAction(style()->standardIcon(icon), caption);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, slot);
    };
    action("Save", "Save to file", QStyle::SP_DialogSaveButton, &ResultsWindow::save);
    action("Clipboard", "Copy to Windows Clipboard", QStyle::SP_FileDialogDetailedView,
           &ResultsWindow::copy);
    action("Excel", "Export to MS Excel", QStyle::SP_FileDialogListView,
           &ResultsWindow::exportTables);
    action("Print", "Print", QStyle::SP_DialogApplyButton, &ResultsWindow::print);
    QAction* exit = toolbar->addAction(style()->standardIcon(QStyle::SP_DialogCloseButton), "Exit");
    exit->setToolTip("Exit");
    connect(exit, &QAction::triggered, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addWidget(toolbar);
    tabs_->setCurrentIndex(0);
    resize(760, 560);
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
            if (cell.title || centred || c == 0) item->setTextAlignment(Qt::AlignCenter);
            if (cell.title) {
                item->setBackground(titleBackground);
                const bool sectionStart =
                    c == 0 && std::find(content.sectionRows.begin(), content.sectionRows.end(),
                                        int(r)) != content.sectionRows.end();
                if (sectionStart) {
                    QFont font = item->font();
                    font.setPointSize(10);
                    font.setBold(true);
                    item->setFont(font);
                }
            }
            table->setItem(int(r) - first, int(c), item);
        }
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
}

bool ResultsWindow::choose(const QString& caption) {
    selection_.report.clear();
    const auto ticked = askSections_(caption);
    if (ticked) {
        selection_.accept(app_.model, *ticked);
    } else {
        selection_.cancel();
    }
    return ticked.has_value();
}

void ResultsWindow::save() {
    choose("Save to file");
    if (!selection_.report.empty()) {
        SaveReportText(selection_.report, app_.model.fileName, app_.prompter, app_.log);
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
    const Model& m = app_.model;
    const ResultsTable tables[] = {modelDataTable(m), displacementTable(m), forcesTable(m),
                                   reactionsTable(m)};
    const char* titles[] = {"Model data", "Node displacements", "Element forces",
                            "Constraint-Spring reactions"};
    // Each table becomes a workbook of its own in a folder the desktop's spreadsheet
    // program can open; the folder stays for the program to read.
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::TempLocation) + "/vortak-export";
    QDir().mkpath(folder);
    for (int k = 0; k < 4; ++k) {
        if (!selection_.chosen[std::size_t(k)]) continue;
        const QString path = QDir(folder).filePath(
            QString("%1-%2.xlsx").arg(titles[k]).arg(QDateTime::currentMSecsSinceEpoch()));
        const bool written = !writeWorkbook(tables[k], titles[k], path.toStdString());
        if (!written || !openWorkbook_(path)) {
            app_.prompter.messageBox(
                "An error occured while trying to export file. The operation cannot be "
                "completed.",
                MessageIcon::Critical, MessageButtons::Ok);
        }
    }
}

void ResultsWindow::print() {
    choose("Print");
    const std::string report = selection_.report;
    selection_.report.clear();
    if (report.empty()) return;
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printReport(printer, report)) {
        app_.prompter.messageBox(
            "An error occured while trying to print. The printing cannot be completed",
            MessageIcon::Critical, MessageButtons::Ok);
    }
}

}  // namespace vortak
