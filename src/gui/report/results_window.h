#pragma once

// The data and results window: the model data as a table or a tree, the node displacements,
// the element forces and the support reactions, with Save, Clipboard, Excel, Print and Exit.
// It shows the model and results as they were when it opened, and its actions take them
// from that snapshot too, whatever happened to the model since.

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "model/model.h"
#include "report/results_tables.h"

class QLabel;
class QPrinter;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace vortak {

struct AppState;

class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    // Asks which sections an action takes (caption of the section dialog); nothing when
    // cancelled.
    using SectionQuestion = std::function<std::optional<std::array<bool, 4>>(const QString&)>;
    // Opens a written workbook in the spreadsheet program; false when that failed.
    using WorkbookOpener = std::function<bool(const QString& path)>;
    // Lets the user choose and set up the printer; false when cancelled.
    using PrinterChoice = std::function<bool(QPrinter& printer)>;

    ResultsWindow(AppState& app, ResultsSelection& selection, QWidget* parent = nullptr,
                  SectionQuestion askSections = {}, WorkbookOpener openWorkbook = {},
                  PrinterChoice choosePrinter = {});

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* table(int index) const { return tables_[index]; }  // 0 data .. 3 reactions
    QTreeWidget* tree() const { return tree_; }

    void save();
    void copy();
    void exportTables();
    void print();

private:
    bool choose(const QString& caption);
    void fillTable(QTableWidget* table, const ResultsTable& content, bool centred);
    void reportFailure(const char* text);

    AppState& app_;
    ResultsSelection& selection_;
    SectionQuestion askSections_;
    WorkbookOpener openWorkbook_;
    PrinterChoice choosePrinter_;
    // The model and results as they were when the window opened, and the tables made of
    // them: what the window shows and what its actions save, copy, print and export.
    const Model snapshot_;
    const std::array<ResultsTable, 4> contents_;
    QTabWidget* tabs_;
    QTableWidget* tables_[4] = {};
    QTreeWidget* tree_;
    QRadioButton* tableView_;
    QRadioButton* treeView_;
    std::vector<QLabel*> counts_;
};

}  // namespace vortak
