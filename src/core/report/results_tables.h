#pragma once

// The content of the data and results window: the general counts, the model data table and
// tree, and the tables of node displacements, element forces and support reactions, as
// texts with their marks. The window only shows them.

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vortak {

struct Model;

enum class CellMark { Plain, Largest, Smallest, Spring };

struct TableCell {
    std::string text;
    CellMark mark = CellMark::Plain;
    bool title = false;  // a column title or a section title
    // The text is a number: right-aligned in its column, a number in a spreadsheet. Codes,
    // titles and empty cells are not.
    bool numeric = false;
};

struct ResultsTable {
    int columns = 0;
    std::vector<std::vector<TableCell>> rows;  // every row has `columns` cells
    // The rows of the model data table that start a section (their first cell is larger).
    std::vector<int> sectionRows;
    // Shown with a result table that has no rows because the model has no results.
    std::string notice;
};

struct TreeItem {
    std::string key;
    std::string text;
    bool bold = false;
    bool expanded = false;
    std::vector<TreeItem> children;
};

// "E,A groups:", "Nodes:", ... with their values, in the window's order.
std::vector<std::pair<std::string, std::string>> generalData(const Model& model);
ResultsTable modelDataTable(const Model& model);
ResultsTable displacementTable(const Model& model);
ResultsTable forcesTable(const Model& model);
ResultsTable reactionsTable(const Model& model);
TreeItem modelTree(const Model& model);

// The window's toolbar actions take the report sections (or tables) ticked in the section
// dialog. The choice and the assembled report outlive the window.
struct ResultsSelection {
    std::array<bool, 4> chosen{};  // model data, displacements, forces, reactions
    std::string report;            // empty between actions

    // OK in the section dialog: the ticked sections, in order.
    void accept(const Model& model, const std::array<bool, 4>& ticked);
    // Cancel: nothing chosen, nothing to do.
    void cancel();
};

}  // namespace vortak
