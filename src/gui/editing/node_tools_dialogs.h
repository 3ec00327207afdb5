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

private:
    MoveEditor& editor_;
    QComboBox* from_;
    QComboBox* to_;
    QLineEdit* dx_;
    QLineEdit* dy_;
    QPushButton* apply_;
};

}  // namespace vortak
