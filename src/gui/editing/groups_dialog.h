#pragma once

// The E,A groups dialog: creates, changes and deletes E,A element groups.

#include <QDialog>

#include "editing/groups_editor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vortak {

class GroupsDialog : public QDialog {
    Q_OBJECT
public:
    GroupsDialog(AppState& app, QWidget* parent = nullptr);

    QComboBox* numberBox() const { return number_; }
    QLabel* stateLabel() const { return state_; }
    QLineEdit* eBox() const { return e_; }
    QLineEdit* aBox() const { return a_; }
    QPushButton* newButton() const { return new_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void collect();
    void refresh();
    void act(void (GroupsEditor::*action)());

    GroupsEditor editor_;
    QComboBox* number_;
    QLabel* state_;
    QLineEdit* e_;
    QLineEdit* a_;
    QPushButton* new_;
    QPushButton* delete_;
    QPushButton* apply_;
    QPushButton* cancel_;
};

}  // namespace vortak
