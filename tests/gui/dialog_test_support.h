#pragma once

// Typing into and choosing in the editing dialogs as a user would.

#include <QtTest>

#include <QComboBox>
#include <QLineEdit>

namespace vortak::test {

inline void type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

inline void typeNumber(QComboBox* box, const QString& text) {
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), text);
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

}  // namespace vortak::test
