#pragma once

// Typing into and choosing in the editing dialogs as a user would, and checking what the
// user is told.

#include <QtWidgets>

#include "../core/test_support.h"

namespace vortak::test {

// The text part of a number box; any other widget itself.
inline QWidget* textPart(QWidget* box) {
    auto* combo = qobject_cast<QComboBox*>(box);
    return combo ? combo->lineEdit() : box;
}

// True when the widget (or the text part of a number box) has the focus.
inline bool hasFocus(QWidget* widget) {
    return QList<QWidget*>{widget, textPart(widget)}.contains(QApplication::focusWidget());
}

// True when the widget has the focus, a text box with all its text selected, ready to be
// typed over (as a refused value is).
inline bool hasFocusSelected(QWidget* widget) {
    auto* box = qobject_cast<QLineEdit*>(widget);
    return hasFocus(widget) && (!box || box->selectedText() == box->text());
}

// True when the widget has the focus and, for a text or number box, typing replaces the
// value shown: "5" typed over "1" leaves "5", not "15".
inline bool typingReplaces(QWidget* widget) {
    if (!hasFocus(widget)) return false;
    auto* box = qobject_cast<QLineEdit*>(textPart(widget));
    if (box == nullptr) return true;
    QTest::keyClicks(QApplication::focusWidget(), "5");
    return box->text() == "5";
}

// Types over a text box or the text part of a number box.
inline void type(QWidget* box, const QString& text) {
    static_cast<QLineEdit*>(textPart(box))->clear();
    QTest::keyClicks(textPart(box), text);
}

// Types texts[k] into boxes[k].
inline void fill(const std::vector<QWidget*>& boxes, const QStringList& texts) {
    for (int k = 0; k < texts.size(); ++k) type(boxes[k], texts[k]);
}

// Types texts[k] and Enter into boxes[k]; false unless Enter moves the focus to boxes[k + 1].
inline bool enterThrough(const std::vector<QWidget*>& boxes, const QStringList& texts) {
    for (int k = 0; k < texts.size(); ++k) {
        type(boxes[k], texts[k]);
        QTest::keyClick(textPart(boxes[k]), Qt::Key_Return);
        if (!hasFocus(boxes[k + 1])) return false;
    }
    return true;
}

// Chooses an item of a number box from its list.
inline void pick(QComboBox* box, const QString& text) { emit box->activated(box->findText(text)); }

// Shows the dialog and waits for it: the focus only moves in a window on the screen.
inline bool showAndWait(QWidget& dialog) {
    dialog.show();
    return QTest::qWaitForWindowExposed(&dialog);
}

// The message that refuses a value that cannot be used, e.g. unacceptable("coordinate x").
inline QString unacceptable(const QString& what) {
    return "The value given for " + what + " is unacceptable.";
}

// Checks the last log line (given without the blank the log puts before it) and its colour.
inline void checkLogged(const Harness& h, const QString& line, LogColour colour) {
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + line);
    QCOMPARE(h.app.log.runs().back().colour, colour);
}

// Checks that exactly one exclamation box showed `message` and that it was logged in red.
inline void checkRefused(const Harness& h, const QString& message) {
    QCOMPARE(h.prompter.questions().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(h.prompter.questions()[0].text), message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Exclamation);
    checkLogged(h, message, LogColour::Red);
}

// A table of refused entries: Delete (true) or Apply, the texts typed into the dialog's boxes
// in order, the index among those boxes, then Apply, then the button pressed, that gets the
// focus afterwards, and the message (none: nothing is asked).
inline void refusalColumns() {
    columns<bool, QStringList, int, QString>("remove", "typed", "focus", "message");
}

// Types the row's texts into the shown dialog's boxes, presses Delete or Apply (given the focus
// first, or clicked where the focus stays) and checks the message, and that the focus went
// where the row says, with typing replacing the value there.
inline void checkRefusal(const Harness& h, std::vector<QWidget*> boxes, QPushButton* apply,
                         QPushButton* remove, bool focusButton = true) {
    const auto [toDelete, typed, focus, message] =
        fetch<bool, QStringList, int, QString>("remove", "typed", "focus", "message");
    fill(boxes, typed);
    QPushButton* button = toDelete ? remove : apply;
    if (focusButton) button->setFocus();
    button->click();
    boxes.insert(boxes.end(), {apply, button});
    QCOMPARE(h.prompter.questions().empty(), message.isEmpty());
    if (!message.isEmpty()) checkRefused(h, message);
    QVERIFY(typingReplaces(boxes[std::size_t(focus)]));
}

}  // namespace vortak::test
