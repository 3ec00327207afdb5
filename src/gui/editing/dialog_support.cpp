#include "editing/dialog_support.h"

#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace vortak {

namespace {

bool isReturn(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

class ReturnFilter : public QObject {
public:
    ReturnFilter(QObject* parent, std::function<void()> onReturn)
        : QObject(parent), onReturn_(std::move(onReturn)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (!isReturn(event)) return false;
        onReturn_();
        return true;
    }

private:
    std::function<void()> onReturn_;
};

// Return and Enter press the button that has the focus. Without this a button that is
// not auto-default lets them through to the dialog.
class PressOnReturn : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isReturn(event)) return false;
        if (auto* button = qobject_cast<QPushButton*>(watched); button && button->isEnabled()) {
            button->click();
        }
        return true;
    }
};

// The text of the watched box (a line edit, or an editable combo box, which keeps the
// focus for its line edit) is selected whenever the focus arrives by the keyboard, by the
// dialog's logic or with the window. A click keeps its own cursor position, and a closing
// drop-down list its selection.
class SelectOnFocus : public QObject {
public:
    SelectOnFocus(QObject* parent, QLineEdit* edit) : QObject(parent), edit_(edit) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::MouseFocusReason && reason != Qt::PopupFocusReason) edit_->selectAll();
        return false;
    }

private:
    QLineEdit* edit_;
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
        // Rewriting an unchanged text would drop its selection and cursor.
        if (box->currentText() != qt(text)) box->setEditText(qt(text));
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

void setUpKeyboard(QDialog* dialog) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->installEventFilter(new PressOnReturn(button));
    }
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
        auto* combo = qobject_cast<QComboBox*>(edit->parentWidget());
        QWidget* box = combo && combo->lineEdit() == edit ? static_cast<QWidget*>(combo) : edit;
        box->installEventFilter(new SelectOnFocus(box, edit));
    }
}

void giveFocus(QWidget* target) {
    if (target == nullptr) return;
    target->setFocus();
    // Selected here too: a box that has the focus already gets no focus event.
    auto* edit = qobject_cast<QLineEdit*>(target);
    if (auto* combo = qobject_cast<QComboBox*>(target)) edit = combo->lineEdit();
    if (edit) edit->selectAll();
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
