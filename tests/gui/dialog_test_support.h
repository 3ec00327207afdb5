#pragma once

// Typing into and choosing in the editing dialogs as a user would, and checking what the
// user is told.

#include <QtTest>

#include <QComboBox>
#include <QLineEdit>

#include "../core/test_support.h"

namespace vortak::test {

inline void type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

inline void typeNumber(QComboBox* box, const QString& text) {
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
}

// Types into a box (or the text part of a number box) and presses Enter.
inline void typeEnter(QWidget* box, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(box);
    QWidget* target = combo ? combo->lineEdit() : box;
    QTest::keyClicks(target, text);
    QTest::keyClick(target, Qt::Key_Return);
}

// Chooses an item of a number box from its list.
inline void pick(QComboBox* box, const QString& text) { emit box->activated(box->findText(text)); }

inline QStringList items(const QComboBox* box) {
    QStringList list;
    for (int k = 0; k < box->count(); ++k) list << box->itemText(k);
    return list;
}

// True when the widget (or the text part of a number box) has the focus.
inline bool hasFocus(QWidget* widget) {
    QWidget* now = QApplication::focusWidget();
    auto* box = qobject_cast<QComboBox*>(widget);
    return now == widget || (box && now == box->lineEdit());
}

// True when the widget has the focus, a text box with all its text selected, ready to be
// typed over (as a refused value is).
inline bool hasFocusSelected(QWidget* widget) {
    auto* box = qobject_cast<QLineEdit*>(widget);
    return hasFocus(widget) && (!box || box->selectedText() == box->text());
}

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

}  // namespace vortak::test
