#include "editing/node_tools_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/dialog_support.h"

namespace vortak {

namespace {

QHBoxLayout* applyCancelRow(QDialog* dialog, QPushButton* apply) {
    auto* cancel = new QPushButton("Cancel", dialog);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(apply);
    row->addWidget(cancel);
    return row;
}

}  // namespace

MergeDialog::MergeDialog(MergeEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle("Merge nodes");
    b_ = vortak::numberBox(this);
    a_ = vortak::numberBox(this);
    deleteB_ = new QCheckBox("Delete node B", this);
    move_ = new QCheckBox("Move node A to the middle of segment AB", this);
    apply_ = new QPushButton("Apply", this);

    auto* line = new QHBoxLayout;
    line->addWidget(new QLabel("B", this));
    line->addWidget(new QLabel("#", this));
    line->addWidget(b_);
    line->addWidget(new QLabel("in", this));
    line->addWidget(new QLabel("A", this));
    line->addWidget(new QLabel("#", this));
    line->addWidget(a_);
    line->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Merge node:", this));
    layout->addLayout(line);
    layout->addWidget(deleteB_);
    layout->addWidget(move_);
    layout->addLayout(applyCancelRow(this, apply_));

    connect(b_, &QComboBox::activated, this, [this] { giveFocus(a_); });
    connect(apply_, &QPushButton::clicked, this, [this] {
        editor_.nodeB = b_->currentText().toStdString();
        editor_.nodeA = a_->currentText().toStdString();
        editor_.deleteB = deleteB_->isChecked();
        editor_.moveToMiddle = move_->isChecked();
        editor_.apply();
        refresh();
    });
    setUpKeyboard(this);
    refresh();
}

void MergeDialog::refresh() {
    setItems(b_, editor_.items);
    setItems(a_, editor_.items);
    setBoxText(b_, editor_.nodeB);
    setBoxText(a_, editor_.nodeA);
}

MoveDialog::MoveDialog(MoveEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setWindowTitle("Move nodes");
    from_ = vortak::numberBox(this);
    to_ = vortak::numberBox(this);
    dx_ = new QLineEdit(this);
    dy_ = new QLineEdit(this);
    apply_ = new QPushButton("Apply", this);
    setItems(from_, editor_.items);
    setItems(to_, editor_.items);
    setBoxText(from_, editor_.from);
    setBoxText(to_, editor_.to);

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel("from", this));
    range->addWidget(new QLabel("#", this));
    range->addWidget(from_);
    range->addWidget(new QLabel("to", this));
    range->addWidget(new QLabel("#", this));
    range->addWidget(to_);
    range->addStretch();
    auto* offsets = new QGridLayout;
    offsets->addWidget(new QLabel("dx =", this), 0, 0, Qt::AlignRight);
    offsets->addWidget(dx_, 0, 1);
    offsets->addWidget(new QLabel("dy =", this), 1, 0, Qt::AlignRight);
    offsets->addWidget(dy_, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Move nodes:", this));
    layout->addLayout(range);
    layout->addLayout(offsets);
    layout->addLayout(applyCancelRow(this, apply_));

    connect(apply_, &QPushButton::clicked, this, [this] {
        editor_.from = from_->currentText().toStdString();
        editor_.to = to_->currentText().toStdString();
        editor_.dx = dx_->text().toStdString();
        editor_.dy = dy_->text().toStdString();
        editor_.apply();
    });
    setUpKeyboard(this);
}

}  // namespace vortak
