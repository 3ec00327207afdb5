#pragma once

// The elements dialog: creates, changes and deletes two-node bar elements.

#include <QDialog>

#include "editing/elements_editor.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vortak {

class ElementsDialog : public QDialog {
    Q_OBJECT
public:
    // `element` 0 opens on the new-element number; an existing number opens on that element.
    ElementsDialog(AppState& app, QWidget* parent = nullptr, int element = 0);

    QComboBox* numberBox() const { return number_; }
    QLabel* stateLabel() const { return state_; }
    QComboBox* nodeIBox() const { return nodeI_; }
    QComboBox* nodeJBox() const { return nodeJ_; }
    QComboBox* groupBox() const { return group_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void collect();
    void refresh();
    void act(void (ElementsEditor::*action)());
    void choose(void (ElementsEditor::*choice)(const std::string&), const std::string& text);

    ElementsEditor editor_;
    QComboBox* number_;
    QLabel* state_;
    QComboBox* nodeI_;
    QComboBox* nodeJ_;
    QComboBox* group_;
    QPushButton* new_;
    QPushButton* delete_;
    QPushButton* apply_;
    QPushButton* cancel_;
};

}  // namespace vortak
