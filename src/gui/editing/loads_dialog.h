#pragma once

// The nodal loads dialog: sets, changes and removes the loads Fx, Fy of the nodes.

#include <QDialog>

#include <functional>

#include "editing/loads_editor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vortak {

class LoadsDialog : public QDialog {
    Q_OBJECT
public:
    LoadsDialog(AppState& app, QWidget* parent = nullptr, int node = 1);

    QComboBox* nodeBox() const { return node_; }
    QLineEdit* fxBox() const { return fx_; }
    QLineEdit* fyBox() const { return fy_; }
    QLabel* listCaption() const { return caption_; }
    QListWidget* loadedList() const { return list_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void collect();
    void refresh();
    void act(const std::function<void()>& action);

    LoadsEditor editor_;
    QComboBox* node_;
    QLineEdit* fx_;
    QLineEdit* fy_;
    QLabel* caption_;
    QListWidget* list_;
    QPushButton* delete_;
    QPushButton* apply_;
    QPushButton* cancel_;
};

}  // namespace vortak
