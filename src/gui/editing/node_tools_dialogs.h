#pragma once

// The merge nodes and move nodes dialogs.

#include <QDialog>

#include "editing/node_tools.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vortak {

class MergeDialog : public QDialog {
    Q_OBJECT
public:
    // `editor` has been opened (the model has nodes).
    MergeDialog(MergeEditor& editor, QWidget* parent = nullptr);
    QComboBox* nodeBBox() const { return b_; }
    QComboBox* nodeABox() const { return a_; }
    QCheckBox* deleteBBox() const { return deleteB_; }
    QCheckBox* moveBox() const { return move_; }
    QPushButton* applyButton() const { return apply_; }

private:
    void refresh();
    MergeEditor& editor_;
    QComboBox* b_;
    QComboBox* a_;
    QCheckBox* deleteB_;
    QCheckBox* move_;
    QPushButton* apply_;
};

class MoveDialog : public QDialog {
    Q_OBJECT
public:
    MoveDialog(MoveEditor& editor, QWidget* parent = nullptr);
    QComboBox* fromBox() const { return from_; }
    QComboBox* toBox() const { return to_; }
    QLineEdit* dxBox() const { return dx_; }
    QLineEdit* dyBox() const { return dy_; }
    QPushButton* applyButton() const { return apply_; }

private:
    MoveEditor& editor_;
    QComboBox* from_;
    QComboBox* to_;
    QLineEdit* dx_;
    QLineEdit* dy_;
    QPushButton* apply_;
};

}  // namespace vortak
