#pragma once

// The nodes dialog: creates, changes and deletes nodes (coordinates, constraints, springs).

#include <QDialog>

#include "editing/nodes_editor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vortak {

class SupportPicture;

class NodesDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on node `node`, or on the new-node number when it is 0.
    NodesDialog(AppState& app, QWidget* parent = nullptr, int node = 0);

    QComboBox* numberBox() const { return number_; }
    QLabel* stateLabel() const { return state_; }
    QLineEdit* xBox() const { return x_; }
    QLineEdit* yBox() const { return y_; }
    QLineEdit* kxBox() const { return kx_; }
    QLineEdit* kyBox() const { return ky_; }
    QCheckBox* fixXBox() const { return fixX_; }
    QCheckBox* fixYBox() const { return fixY_; }
    QWidget* picture() const;
    int pictureIndex() const { return editor_.picture(); }
    QPushButton* newButton() const { return new_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void collect();
    void refresh();
    void act(void (NodesEditor::*action)());

    NodesEditor editor_;
    QComboBox* number_;
    QLabel* state_;
    QLineEdit* x_;
    QLineEdit* y_;
    QLineEdit* kx_;
    QLineEdit* ky_;
    QCheckBox* fixX_;
    QCheckBox* fixY_;
    SupportPicture* picture_;
    QPushButton* new_;
    QPushButton* delete_;
    QPushButton* apply_;
    QPushButton* cancel_;
};

}  // namespace vortak
