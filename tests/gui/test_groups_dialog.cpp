#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../core/test_support.h"
#include "dialog_test_support.h"
#include "editing/groups_dialog.h"

using namespace vortak;
using namespace vortak::test;

class TestGroupsDialog : public QObject {
    Q_OBJECT
private slots:
    void opensOnNewNumber();
    void refusals_data();
    void refusals();
    void createChangeDelete();
    void deleteRefusals_data();
    void deleteRefusals();
    void typedNumberBeyondNextChangesNothing();
    void keyboardOnly();
};

void TestGroupsDialog::opensOnNewNumber() {
    Harness h;
    addGroup(h.app.model, 1, 2);
    GroupsDialog dialog(h.app);
    QCOMPARE(dialog.windowTitle(), QString("E,A Element Groups"));
    QCOMPARE(items(dialog.numberBox()), (QStringList{"1", "2"}));
    QCOMPARE(dialog.numberBox()->currentText(), QString("2"));
    QCOMPARE(dialog.stateLabel()->text(), QString("(New)"));
    QVERIFY(dialog.eBox()->text().isEmpty() && dialog.aBox()->text().isEmpty());
}

void TestGroupsDialog::refusals_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("e");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");  // object that gets the focus: number, e, a, or ""
    QTest::newRow("above the maximum") << "51"
                                       << "0"
                                       << "0"
                                       << "The maximum number of Groups that can be defined is 50."
                                       << "";
    QTest::newRow("zero") << "0"
                          << "1"
                          << "1"
                          << "The value given for Group number is unacceptable."
                          << "number";
    QTest::newRow("negative") << "-2"
                              << "1"
                              << "1"
                              << "The value given for Group number is unacceptable."
                              << "number";
    QTest::newRow("not whole") << "1.5"
                               << "1"
                               << "1"
                               << "The value given for Group number is unacceptable."
                               << "number";
    QTest::newRow("E empty") << "1"
                             << ""
                             << "1"
                             << "The value given for Youngs Modulus E is unacceptable."
                             << "e";
    QTest::newRow("E negative") << "1"
                                << "-5"
                                << "1"
                                << "The value given for Youngs Modulus E is unacceptable."
                                << "e";
    QTest::newRow("E overflows") << "1"
                                 << "1e999"
                                 << "1"
                                 << "The value given for Youngs Modulus E is unacceptable."
                                 << "e";
    QTest::newRow("A zero") << "1"
                            << "2e8"
                            << "0"
                            << "The value given for Section area A is unacceptable."
                            << "a";
    QTest::newRow("A letters") << "1"
                               << "2e8"
                               << "abc"
                               << "The value given for Section area A is unacceptable."
                               << "a";
}

void TestGroupsDialog::refusals() {
    QFETCH(QString, number);
    QFETCH(QString, e);
    QFETCH(QString, a);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    Harness h;
    GroupsDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    typeNumber(dialog.numberBox(), number);
    type(dialog.eBox(), e);
    type(dialog.aBox(), a);
    QWidget* before = QApplication::focusWidget();
    dialog.applyButton()->click();
    QCOMPARE(h.app.model.groupCount, 0);
    QCOMPARE(QString::fromStdString(h.prompter.questions().at(0).text), message);
    QCOMPARE(h.prompter.questions()[0].icon, MessageIcon::Exclamation);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Red);
    QWidget* expected = focus == "number" ? static_cast<QWidget*>(dialog.numberBox())
                        : focus == "e"    ? dialog.eBox()
                        : focus == "a"    ? dialog.aBox()
                                          : before;
    QWidget* now = QApplication::focusWidget();
    QVERIFY(now == expected || (focus == "number" && now == dialog.numberBox()->lineEdit()));
    if (focus == "e") QCOMPARE(dialog.eBox()->selectedText(), e);
}

void TestGroupsDialog::createChangeDelete() {
    Harness h;
    GroupsDialog dialog(h.app);
    const auto add = [&](const QString& e, const QString& a) {
        type(dialog.eBox(), e);
        type(dialog.aBox(), a);
        dialog.applyButton()->click();
    };
    add("210000000", "0.0025");
    add("7e7", "1");
    add("1.1e7", "0.02");
    QCOMPARE(h.app.model.groupCount, 3);
    QCOMPARE(h.app.log.lines()[1], std::string(" New group #1, E= 210000000, A= 0.0025"));
    QCOMPARE(h.app.log.lastLine(), std::string(" New group #3, E= 11000000, A= 0.02"));
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Navy);
    QCOMPARE(dialog.numberBox()->currentText(), QString("4"));
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 3);

    // Change group 1: the dialog moves on to group 2 and shows it.
    emit dialog.numberBox()->activated(dialog.numberBox()->findText("1"));
    QCOMPARE(dialog.stateLabel()->text(), QString("(Existing)"));
    QCOMPARE(dialog.eBox()->text(), QString("210000000"));
    type(dialog.aBox(), "0.003");
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" * Group #1, E= 210000000, A= 0.003"));
    QCOMPARE(dialog.numberBox()->currentText(), QString("2"));
    QCOMPARE(dialog.eBox()->text(), QString("70000000"));

    // Delete group 1 (no element uses any group): the list now shows the former group 2.
    emit dialog.numberBox()->activated(0);
    dialog.deleteButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" Group deleted: #1. Groups renumbered: #2 to #3."));
    QCOMPARE(h.app.log.runs().back().colour, LogColour::Green);
    QCOMPARE(h.app.model.groupCount, 2);
    QCOMPARE(items(dialog.numberBox()), (QStringList{"1", "2", "3"}));
    QCOMPARE(dialog.numberBox()->currentText(), QString("1"));
    QCOMPARE(dialog.eBox()->text(), QString("70000000"));
}

void TestGroupsDialog::deleteRefusals_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("the new number") << "3"
                                    << "There is no Group #3 to delete.";
    QTest::newRow("used by an element")
        << "2"
        << "Group #2 cannot be deleted since there are elements belonging to it.";
    QTest::newRow("typed beyond") << "7"
                                  << "The value given for Group number is unacceptable.";
    QTest::newRow("typed zero") << "0"
                                << "The value given for Group number is unacceptable.";
}

void TestGroupsDialog::deleteRefusals() {
    QFETCH(QString, number);
    QFETCH(QString, message);
    Harness h;
    addNode(h.app.model, 0, 0);
    addNode(h.app.model, 1, 0);
    addGroup(h.app.model, 1, 1);
    addGroup(h.app.model, 2, 2);
    addElement(h.app.model, 1, 2, 2);
    GroupsDialog dialog(h.app);
    typeNumber(dialog.numberBox(), number);
    dialog.deleteButton()->click();
    QCOMPARE(QString::fromStdString(h.prompter.questions().at(0).text), message);
    QCOMPARE(QString::fromStdString(h.app.log.lastLine()), " " + message);
    QCOMPARE(h.app.model.groupCount, 2);
    QCOMPARE(h.app.model.groups.E[2], 2.0);
}

void TestGroupsDialog::typedNumberBeyondNextChangesNothing() {
    Harness h;
    addGroup(h.app.model, 1, 1);
    GroupsDialog dialog(h.app);
    typeNumber(dialog.numberBox(), "5");
    type(dialog.eBox(), "3");
    type(dialog.aBox(), "3");
    dialog.applyButton()->click();
    QCOMPARE(h.app.model.groupCount, 1);
    QVERIFY(h.prompter.questions().empty());
}

void TestGroupsDialog::keyboardOnly() {
    Harness h;
    GroupsDialog dialog(h.app);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    // Tab goes from the number through New to E.
    dialog.numberBox()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), dialog.eBox());
    QTest::keyClicks(dialog.eBox(), "2.1e8");
    QTest::keyClick(dialog.eBox(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.aBox());
    QTest::keyClicks(dialog.aBox(), "0.01");
    QTest::keyClick(dialog.aBox(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.applyButton());
    QVERIFY(h.app.model.groupCount == 0);  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    QCOMPARE(h.app.model.groupCount, 1);
    QCOMPARE(h.app.model.groups.A[1], 0.01);
    QCOMPARE(QApplication::focusWidget(), dialog.eBox());  // ready for the next group
}

QTEST_MAIN(TestGroupsDialog)
#include "test_groups_dialog.moc"
