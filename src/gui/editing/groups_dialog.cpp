#include "editing/groups_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/dialog_support.h"

namespace vortak {

GroupsDialog::GroupsDialog(AppState& app, QWidget* parent) : QDialog(parent), editor_(app) {
    setWindowTitle("E,A Element Groups");
    number_ = vortak::numberBox(this);
    state_ = new QLabel(this);
    state_->setMinimumWidth(state_->fontMetrics().horizontalAdvance("(Existing)") + 8);
    new_ = new QPushButton("New", this);
    e_ = new QLineEdit(this);
    a_ = new QLineEdit(this);
    delete_ = new QPushButton("Delete", this);
    apply_ = new QPushButton("Apply", this);
    cancel_ = new QPushButton("Cancel", this);
    for (QLineEdit* box : {e_, a_}) box->setMinimumWidth(160);

    auto* top = new QHBoxLayout;
    auto* groupLabel = new QLabel("Group", this);
    groupLabel->setBuddy(number_);
    top->addWidget(groupLabel);
    top->addWidget(number_);
    top->addWidget(state_);
    top->addStretch();
    top->addWidget(new_);

    auto* values = new QGridLayout;
    values->addWidget(new QLabel("Youngs Modulus", this), 0, 0, 1, 2);
    values->addWidget(new QLabel("E =", this), 1, 0, Qt::AlignRight);
    values->addWidget(e_, 1, 1);
    values->addWidget(new QLabel("Section area", this), 2, 0, 1, 2);
    values->addWidget(new QLabel("A =", this), 3, 0, Qt::AlignRight);
    values->addWidget(a_, 3, 1);
    auto* box = new QGroupBox(this);
    box->setLayout(values);

    QHBoxLayout* buttons = buttonRow(delete_, apply_, cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box);
    layout->addLayout(buttons);
    setTabChain({number_, new_, e_, a_, apply_, delete_, cancel_});

    onNumberChosen(number_, [this](const std::string& text) {
        collect();
        editor_.choose(text);
        refresh();
    });
    onReturnKey(e_, [this] { act(&GroupsEditor::enterInE); });
    onReturnKey(a_, [this] { act(&GroupsEditor::enterInA); });
    connect(new_, &QPushButton::clicked, this, [this] { act(&GroupsEditor::newGroup); });
    connect(apply_, &QPushButton::clicked, this, [this] { act(&GroupsEditor::apply); });
    connect(delete_, &QPushButton::clicked, this, [this] { act(&GroupsEditor::remove); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setUpKeyboard(this);

    editor_.open();
    refresh();
}

void GroupsDialog::collect() {
    editor_.number = number_->currentText().toStdString();
    editor_.e = e_->text().toStdString();
    editor_.a = a_->text().toStdString();
}

void GroupsDialog::act(void (GroupsEditor::*action)()) {
    collect();
    (editor_.*action)();
    refresh();
}

void GroupsDialog::refresh() {
    setItems(number_, editor_.items);
    setBoxText(number_, editor_.number);
    state_->setText(qt(editor_.state));
    e_->setText(qt(editor_.e));
    a_->setText(qt(editor_.a));
    QWidget* target = nullptr;
    switch (editor_.focus) {
        case GroupsEditor::Field::Number:
            target = number_;
            break;
        case GroupsEditor::Field::E:
            target = e_;
            break;
        case GroupsEditor::Field::A:
            target = a_;
            break;
        case GroupsEditor::Field::Apply:
            target = apply_;
            break;
        case GroupsEditor::Field::None:
            break;
    }
    giveFocus(target);
    editor_.focus = GroupsEditor::Field::None;
}

}  // namespace vortak
