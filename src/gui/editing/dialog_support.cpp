#include "editing/dialog_support.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace vortak {

namespace {

class ReturnFilter : public QObject {
public:
    ReturnFilter(QObject* parent, std::function<void()> onReturn)
        : QObject(parent), onReturn_(std::move(onReturn)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        onReturn_();
        return true;
    }

private:
    std::function<void()> onReturn_;
};

}  // namespace

QString qt(const std::string& text) { return QString::fromStdString(text); }

void onReturnKey(QWidget* watched, std::function<void()> onReturn) {
    watched->installEventFilter(new ReturnFilter(watched, std::move(onReturn)));
}

void onNumberChosen(QComboBox* box, std::function<void(const std::string&)> onNumber) {
    QObject::connect(box, &QComboBox::activated, box,
                     [box, onNumber](int index) { onNumber(box->itemText(index).toStdString()); });
    onReturnKey(box, [box, onNumber] { onNumber(box->currentText().toStdString()); });
}

void setTabChain(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void setItems(QComboBox* box, const std::vector<std::string>& items) {
    QStringList wanted;
    for (const std::string& item : items) wanted << qt(item);
    QStringList present;
    for (int k = 0; k < box->count(); ++k) present << box->itemText(k);
    if (present == wanted) return;
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(wanted);
    if (box->isEditable()) box->setEditText(text);
}

void setBoxText(QComboBox* box, const std::string& text) {
    const QSignalBlocker block(box);
    const int index = box->findText(qt(text));
    if (index >= 0) box->setCurrentIndex(index);
    if (box->isEditable()) {
        box->setEditText(qt(text));
    } else if (index < 0) {
        box->setCurrentIndex(-1);
    }
}

QHBoxLayout* buttonRow(QPushButton* remove, QPushButton* apply, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addWidget(remove);
    row->addStretch();
    row->addWidget(apply);
    row->addWidget(cancel);
    return row;
}

void giveFocus(QWidget* target, bool selectText) {
    if (target == nullptr) return;
    target->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(target); edit && selectText) {
        edit->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(target); combo && combo->lineEdit()) {
        combo->lineEdit()->selectAll();
    }
}

QComboBox* numberBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(5);
    box->setMaxVisibleItems(15);
    return box;
}

}  // namespace vortak
