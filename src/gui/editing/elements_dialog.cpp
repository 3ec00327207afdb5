#include "editing/elements_dialog.h"

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

ElementsDialog::ElementsDialog(AppState& app, QWidget* parent, int element)
    : QDialog(parent), editor_(app) {
    setWindowTitle("Elements");
    number_ = vortak::numberBox(this);
    state_ = new QLabel(this);
    state_->setMinimumWidth(state_->fontMetrics().horizontalAdvance("(Existing)") + 8);
    new_ = new QPushButton("New", this);
    nodeI_ = vortak::numberBox(this);
    nodeJ_ = vortak::numberBox(this);
    group_ = vortak::numberBox(this);
    delete_ = new QPushButton("Delete", this);
    apply_ = new QPushButton("Apply", this);
    cancel_ = new QPushButton("Cancel", this);

    const auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Element", this));
    top->addWidget(label("#", number_));
    top->addWidget(number_);
    top->addWidget(state_);
    top->addStretch();
    top->addWidget(new_);

    // Node i, node j and the group sit in one grid so that their boxes line up.
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Connects nodes", this), 0, 0, 1, 5);
    grid->addWidget(label("i", nodeI_), 1, 0, Qt::AlignRight);
    grid->addWidget(nodeI_, 1, 1);
    grid->addItem(new QSpacerItem(16, 0), 1, 2);
    grid->addWidget(label("j", nodeJ_), 1, 3, Qt::AlignRight);
    grid->addWidget(nodeJ_, 1, 4);
    grid->addItem(new QSpacerItem(0, 8), 2, 0);
    grid->addWidget(new QLabel("Belongs to E,A Group:", this), 3, 0, 1, 3);
    grid->addWidget(label("#", group_), 3, 3, Qt::AlignRight);
    grid->addWidget(group_, 3, 4);
    grid->setColumnStretch(5, 1);
    auto* box = new QGroupBox(this);
    box->setLayout(grid);

    QHBoxLayout* buttons = buttonRow(delete_, apply_, cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(box);
    layout->addLayout(buttons);
    setTabChain({number_, new_, nodeI_, nodeJ_, group_, apply_, delete_, cancel_});

    const auto wire = [this](QComboBox* box, void (ElementsEditor::*choice)(const std::string&)) {
        onNumberChosen(box, [this, choice](const std::string& text) { choose(choice, text); });
    };
    wire(number_, &ElementsEditor::choose);
    wire(nodeI_, &ElementsEditor::chooseNodeI);
    wire(nodeJ_, &ElementsEditor::chooseNodeJ);
    wire(group_, &ElementsEditor::chooseGroup);
    connect(new_, &QPushButton::clicked, this, [this] { act(&ElementsEditor::newElement); });
    connect(apply_, &QPushButton::clicked, this, [this] { act(&ElementsEditor::apply); });
    connect(delete_, &QPushButton::clicked, this, [this] { act(&ElementsEditor::remove); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setUpKeyboard(this);

    editor_.open(element);
    refresh();
}

void ElementsDialog::collect() {
    editor_.number = number_->currentText().toStdString();
    editor_.nodeI = nodeI_->currentText().toStdString();
    editor_.nodeJ = nodeJ_->currentText().toStdString();
    editor_.group = group_->currentText().toStdString();
}

void ElementsDialog::act(void (ElementsEditor::*action)()) {
    collect();
    (editor_.*action)();
    refresh();
}

void ElementsDialog::choose(void (ElementsEditor::*choice)(const std::string&),
                            const std::string& text) {
    collect();
    (editor_.*choice)(text);
    refresh();
}

void ElementsDialog::refresh() {
    setItems(number_, editor_.items);
    setItems(nodeI_, editor_.nodeItems);
    setItems(nodeJ_, editor_.nodeItems);
    setItems(group_, editor_.groupItems);
    setBoxText(number_, editor_.number);
    setBoxText(nodeI_, editor_.nodeI);
    setBoxText(nodeJ_, editor_.nodeJ);
    setBoxText(group_, editor_.group);
    state_->setText(qt(editor_.state));
    QWidget* target = nullptr;
    switch (editor_.focus) {
        case ElementsEditor::Field::Number:
            target = number_;
            break;
        case ElementsEditor::Field::Group:
            target = group_;
            break;
        case ElementsEditor::Field::NodeI:
            target = nodeI_;
            break;
        case ElementsEditor::Field::NodeJ:
            target = nodeJ_;
            break;
        case ElementsEditor::Field::Apply:
            target = apply_;
            break;
        case ElementsEditor::Field::None:
            break;
    }
    giveFocus(target);
    editor_.focus = ElementsEditor::Field::None;
}

}  // namespace vortak
