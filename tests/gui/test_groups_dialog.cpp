#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_test_support.h"
#include "editing/groups_dialog.h"

using namespace vortak;
using namespace vortak::test;

namespace {

// "number (state) E A" as the dialog shows them.
QString shown(const GroupsDialog& d) {
    return QString("%1 %2 %3 %4")
        .arg(d.numberBox()->currentText(), d.stateLabel()->text(), d.eBox()->text(),
             d.aBox()->text());
}

// "E A" of every group.
QString groups(const Model& m) {
    QStringList list;
    for (int g = 1; g <= m.groupCount; ++g)
        list << QString("%1 %2").arg(m.groups.E[g]).arg(m.groups.A[g]);
    return list.join(", ");
}

// Where a refusal leaves the focus.
enum Focus { Stays, Number, E, A, Apply };

}  // namespace

Q_DECLARE_METATYPE(Focus)

class TestGroupsDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data();
    void refusals();
    void createChangeDelete();
};

void TestGroupsDialog::refusals_data() {
    QTest::addColumn<bool>("remove");  // Delete rather than Apply
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("e");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("message");  // empty: nothing asked
    QTest::addColumn<Focus>("focus");
    const QString max = "The maximum number of Groups that can be defined is 50.";
    const QString num = unacceptable("Group number");
    const QString e = unacceptable("Youngs Modulus E");
    const QString a = unacceptable("Section area A");
    const QString none = "There is no Group #3 to delete.";
    const QString used = "Group #2 cannot be deleted since there are elements belonging to it.";
    // Leaving a typed existing number chooses it, and the focus goes on to Apply.
    // clang-format off
    QTest::newRow("51")          << false << "51"  << "1"     << "1"   << max  << Stays;
    QTest::newRow("1.5")         << false << "1.5" << "1"     << "1"   << num  << Number;
    QTest::newRow("E negative")  << false << "3"   << "-5"    << "1"   << e    << E;
    QTest::newRow("E 1e999")     << false << "3"   << "1e999" << "1"   << e    << E;
    QTest::newRow("A letters")   << false << "3"   << "2e8"   << "abc" << a    << A;
    QTest::newRow("4 of 2")      << false << "4"   << "3"     << "3"   << ""   << Stays;
    QTest::newRow("delete new")  << true  << "3"   << ""      << ""    << none << Stays;
    QTest::newRow("delete used") << true  << "2"   << ""      << ""    << used << Apply;
    QTest::newRow("delete 7")    << true  << "7"   << ""      << ""    << num  << Number;
    // clang-format on
}

void TestGroupsDialog::refusals() {
    QFETCH(bool, remove);
    QFETCH(QString, number);
    QFETCH(QString, e);
    QFETCH(QString, a);
    QFETCH(QString, message);
    QFETCH(Focus, focus);
    Harness h;
    addNode(h.app.model, 0, 0);
    addNode(h.app.model, 1, 0);
    addGroup(h.app.model, 1, 1);
    addGroup(h.app.model, 2, 2);
    addElement(h.app.model, 1, 2, 2);
    GroupsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    typeNumber(dialog.numberBox(), number);
    type(dialog.eBox(), e);
    type(dialog.aBox(), a);
    QPushButton* button = remove ? dialog.deleteButton() : dialog.applyButton();
    button->setFocus();
    button->click();
    QCOMPARE(groups(h.app.model), QString("1 1, 2 2"));
    if (message.isEmpty()) {
        QVERIFY(h.prompter.questions().empty());
        return;
    }
    checkRefused(h, message);
    QWidget* const at[] = {button, dialog.numberBox(), dialog.eBox(), dialog.aBox(),
                           dialog.applyButton()};
    QVERIFY(hasFocusSelected(at[focus]));
}

void TestGroupsDialog::createChangeDelete() {
    Harness h;
    GroupsDialog dialog(h.app);
    QVERIFY(showAndWait(dialog));
    QCOMPARE(shown(dialog), QString("1 (New)  "));
    // By keyboard: Tab goes from the number through New to E, Enter on to A, Apply, apply.
    dialog.numberBox()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(hasFocus(dialog.eBox()));
    typeEnter(dialog.eBox(), "210000000");
    QVERIFY(hasFocus(dialog.aBox()));
    typeEnter(dialog.aBox(), "0.0025");
    QVERIFY(hasFocus(dialog.applyButton()));
    QCOMPARE(h.app.model.groupCount, 0);  // Enter moved the focus only
    QTest::keyClick(dialog.applyButton(), Qt::Key_Return);
    checkLogged(h, "New group #1, E= 210000000, A= 0.0025", LogColour::Navy);
    QVERIFY(hasFocus(dialog.eBox()));  // ready for the next group
    for (auto [e, a] : {std::pair{"7e7", "1"}, {"1.1e7", "0.02"}}) {
        type(dialog.eBox(), e);
        type(dialog.aBox(), a);
        dialog.applyButton()->click();
    }
    QCOMPARE(h.app.log.lastLine(), std::string(" New group #3, E= 11000000, A= 0.02"));
    QCOMPARE(shown(dialog), QString("4 (New)  "));
    QVERIFY(h.app.model.changed);
    QCOMPARE(h.shell.redraws, 3);

    // Change group 1: the dialog moves on to group 2 and shows it.
    pick(dialog.numberBox(), "1");
    QCOMPARE(shown(dialog), QString("1 (Existing) 210000000 0.0025"));
    type(dialog.aBox(), "0.003");
    dialog.applyButton()->click();
    QCOMPARE(h.app.log.lastLine(), std::string(" * Group #1, E= 210000000, A= 0.003"));
    QCOMPARE(shown(dialog), QString("2 (Existing) 70000000 1"));

    // Delete group 1 (no element uses any group): the list now shows the former group 2.
    pick(dialog.numberBox(), "1");
    dialog.deleteButton()->click();
    checkLogged(h, "Group deleted: #1. Groups renumbered: #2 to #3.", LogColour::Green);
    QCOMPARE(groups(h.app.model), QString("7e+07 1, 1.1e+07 0.02"));
    QCOMPARE(items(dialog.numberBox()), (QStringList{"1", "2", "3"}));
    QCOMPARE(shown(dialog), QString("1 (Existing) 70000000 1"));
}

QTEST_MAIN(TestGroupsDialog)
#include "test_groups_dialog.moc"
