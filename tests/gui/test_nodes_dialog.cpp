#include "dialog_test_support.h"
#include "editing/elements_dialog.h"
#include "editing/groups_dialog.h"
#include "editing/loads_dialog.h"
#include "editing/node_tools_dialogs.h"
#include "editing/nodes_dialog.h"

using namespace vortak::test;

namespace {

// Node 1 (0, 0) pinned and node 2 (4, 0) free with Ky = 50 and a load Fy = -3.
void twoNodes(Model& m) {
    addNode(m, 0, 0, 1, 1);
    addNode(m, 4, 0, 0, 0);
    m.nodes.Ky[2] = 50;
    m.nodes.Fy[2] = -3;
}

// "number (state) x y Kx Ky" and the constraints (x fixed, o free) with the picture number,
// as the dialog shows them.
QString shown(const NodesDialog& d) {
    const auto fix = [](const QCheckBox* box) { return QString(box->isChecked() ? "x" : "o"); };
    return QString("%1 %2 %3 %4 %5 %6 %7%8%9")
        .arg(d.numberBox()->currentText(), d.stateLabel()->text(), d.xBox()->text(),
             d.yBox()->text(), d.kxBox()->text(), d.kyBox()->text(), fix(d.fixXBox()),
             fix(d.fixYBox()), QString::number(d.pictureIndex()));
}

// Any of the editing dialogs, opened on three nodes, two groups, the elements 1-2 and 2-3
// and a load on node 2. Merge and move keep their editor here.
struct AnyDialog {
    AnyDialog(const QString& name, AppState& app) : merge(app), move(app) {
        Model& m = app.model;
        for (int k = 0; k < 3; ++k) addNode(m, float(k), 0);
        for (double E : {1, 2}) addGroup(m, E, 1);
        for (int e : {1, 2}) addElement(m, e, e + 1, e);
        m.nodes.Fy[2] = -3;
        if (name == "nodes") dialog = std::make_unique<NodesDialog>(app);
        if (name == "groups") dialog = std::make_unique<GroupsDialog>(app);
        if (name == "elements") dialog = std::make_unique<ElementsDialog>(app);
        if (name == "loads") dialog = std::make_unique<LoadsDialog>(app);
        if (name == "merge" && merge.open()) dialog = std::make_unique<MergeDialog>(merge);
        if (name == "move" && move.open()) dialog = std::make_unique<MoveDialog>(move);
    }
    MergeEditor merge;
    MoveEditor move;
    std::unique_ptr<QDialog> dialog;
};

// The dialog's controls other than buttons, in Tab order.
QList<QWidget*> controls(QDialog& d) {
    QList<QWidget*> list;
    for (QWidget* w = d.nextInFocusChain(); w != &d; w = w->nextInFocusChain())
        if (w->window() == &d && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&d) &&
            !qobject_cast<QPushButton*>(w) && !qobject_cast<QComboBox*>(w->parentWidget()))
            list << w;
    return list;
}

// What the controls show: texts, check marks and the list's selected items.
QStringList entries(const QList<QWidget*>& list) {
    QStringList shown;
    for (QWidget* w : list) {
        if (auto* box = qobject_cast<QLineEdit*>(textPart(w))) shown << box->text();
        if (auto* check = qobject_cast<QCheckBox*>(w)) shown << (check->isChecked() ? "x" : "o");
        if (auto* rows = qobject_cast<QListWidget*>(w))
            for (const QListWidgetItem* item : rows->selectedItems()) shown << "*" + item->text();
    }
    return shown;
}

// Types texts[k] into the k-th text or number box.
void fillBoxes(const QList<QWidget*>& list, const QStringList& texts) {
    std::vector<QWidget*> boxes;
    for (QWidget* w : list)
        if (qobject_cast<QLineEdit*>(textPart(w))) boxes.push_back(w);
    QCOMPARE(boxes.size(), std::size_t(texts.size()));
    fill(boxes, texts);
}

}  // namespace

class TestNodesDialog : public QObject {
    Q_OBJECT
private slots:
    void refusals_data() {
        refusalColumns();  // typed: number, x, y, Kx, Ky; focus 5: Apply, 6: Delete
        const QString max = "The maximum number of nodes that can be defined is 100.";
        const QString taken = "At (4, 0) there is already node #2. ";
        const QString neg = "The elastic constants cannot have negative values.";
        const QString none = "There is no node to be deleted #3.";
        const QString num = unacceptable("node number"), x = unacceptable("coordinate x");
        const QString y = unacceptable("coordinate y"), kx = unacceptable("elastic constant Kx");
        // Overflowing values are refused before the other checks; a place taken before a
        // number that cannot be used.
        // clang-format off
        QTest::newRow("101")     << false << QStringList{"101"}                     << 5 << max;
        QTest::newRow("x 1e999") << false << QStringList{"3", "1e999"}              << 1 << x;
        QTest::newRow("y 1e39")  << false << QStringList{"3", "9", "1e39"}          << 2 << y;
        QTest::newRow("y -2e38") << false << QStringList{"3", "9", "-2e38"}         << 2 << y;
        QTest::newRow("Kx 1e-40") << false << QStringList{"3", "9", "", "1e-40"}    << 3 << kx;
        QTest::newRow("taken")   << false << QStringList{"2.5", "4"}                << 1 << taken;
        QTest::newRow("2.5")     << false << QStringList{"2.5", "9"}                << 0 << num;
        QTest::newRow("Ky < 0")  << false << QStringList{"3", "9", "", "", "-.5"}   << 4 << neg;
        QTest::newRow("Kx 1e40") << false << QStringList{"3", "9", "", "1e40"}      << 3 << kx;
        QTest::newRow("del 3")   << true  << QStringList{"3"}                       << 6 << none;
        QTest::newRow("del 8")   << true  << QStringList{"8"}                       << 0 << num;
        // clang-format on
    }

    void refusals() {
        Harness h;
        twoNodes(h.app.model);
        NodesDialog d(h.app);
        QVERIFY(showAndWait(d));
        checkRefusal(h, {d.numberBox(), d.xBox(), d.yBox(), d.kxBox(), d.kyBox()}, d.applyButton(),
                     d.deleteButton());
        QVERIFY(h.app.model.nodeCount == 2 && !h.app.model.changed);
    }

    void changeCreateAndConstrain() {
        Harness h;
        twoNodes(h.app.model);
        NodesDialog d(h.app, nullptr, 2);
        QVERIFY(showAndWait(d));
        QCOMPARE(shown(d), QString("2 (Existing) 4 0  50 oo1"));  // a 0 spring shows empty
        pick(d.numberBox(), "1");
        QCOMPARE(shown(d), QString("1 (Existing) 0 0   xx4"));
        type(d.yBox(), "3");
        d.fixXBox()->click();
        type(d.kxBox(), "50");
        d.applyButton()->click();
        checkLogged(h, "* Node #1, x= 0, y= 3, Constraints: ox, Kx= 50", LogColour::Navy);
        d.applyButton()->click();  // on to node 2, then past the last to the new number
        QCOMPARE(h.app.log.lastLine(), std::string(" * Node #2, x= 4, y= 0, Free, Ky= 50"));
        QCOMPARE(h.app.model.nodes.Fy[2], -3.0f);  // the load stays
        QCOMPARE(shown(d), QString("3 (New)     oo1"));
        // By keyboard: Enter goes from the number to x, y and Apply, and there applies.
        QVERIFY(enterThrough({d.numberBox(), d.xBox(), d.yBox(), d.applyButton()},
                             {"3", "1e-5", "-7"}));
        fill({d.kxBox(), d.kyBox()}, {"3", "4.5"});
        QCOMPARE(h.app.model.nodeCount, 2);  // Enter moved the focus only
        QTest::keyClick(d.applyButton(), Qt::Key_Return);
        checkLogged(h, "New node #3, x= 1E-05, y=-7, Free, Kx= 3, Ky= 4.5", LogColour::Navy);
        QCOMPARE(shown(d), QString("4 (New)     oo1"));
        QVERIFY(typingReplaces(d.xBox()));  // ready for the next node
        QCOMPARE(h.shell.redraws, 3);
        type(d.kxBox(), "50");
        d.fixXBox()->click();  // fixing x empties its spring
        QCOMPARE(shown(d), QString("4 (New) 5    xo2"));
        QTest::keyClicks(d.kxBox(), "7");  // a spring frees the direction
        d.fixYBox()->click();
        QCOMPARE(shown(d), QString("4 (New) 5  7  ox3"));
        // Clicking the picture goes round: y -> both -> free -> x.
        for (const QString after : {"xx4", "oo1", "xo2"}) {
            QTest::mouseClick(d.picture(), Qt::LeftButton);
            QCOMPARE(shown(d).right(3), after);
        }
    }

    // Every editing dialog with distinct values typed into its boxes. The number typed into
    // the first four names no entry (nor the new one): choosing it by Enter loads nothing.
    void enterPressesNoButton_data() {
        // typed: the boxes in Tab order
        columns<QString, QStringList>("dialog", "typed");
        QTest::newRow("nodes") << "nodes" << QStringList{"7", "1", "2", "3", "4"};
        QTest::newRow("groups") << "groups" << QStringList{"7", "1", "2"};
        QTest::newRow("elements") << "elements" << QStringList{"7", "3", "1", "2"};
        QTest::newRow("loads") << "loads" << QStringList{"7", "1", "2"};
        QTest::newRow("merge") << "merge" << QStringList{"3", "2"};
        QTest::newRow("move") << "move" << QStringList{"2", "3", "1", "2"};
    }

    // Enter in a box, check box or list changes nothing typed and presses no button; where
    // it hands the focus on to a box, typing there replaces the value.
    void enterPressesNoButton() {
        const auto [dialog, typed] = fetch<QString, QStringList>("dialog", "typed");
        for (int k = 0;; ++k) {
            Harness h;
            AnyDialog any(dialog, h.app);
            QDialog& d = *any.dialog;
            QVERIFY(showAndWait(d));
            const QList<QWidget*> list = controls(d);
            if (k == list.size()) break;
            fillBoxes(list, typed);
            const QStringList before = entries(list);
            list[k]->setFocus();
            QWidget* const at = QApplication::focusWidget();
            QTest::keyClick(at, Qt::Key_Return);
            const QString where = QString("Enter in control %1: ").arg(k);
            QCOMPARE(where + entries(list).join('|'), where + before.join('|'));
            QVERIFY(h.app.log.runs().empty() && h.prompter.questions().empty());
            QVERIFY(!h.app.model.changed && h.shell.redraws == 0);
            QWidget* const next = QApplication::focusWidget();
            if (next != at && qobject_cast<QLineEdit*>(textPart(next)))
                QVERIFY(typingReplaces(next));
        }
    }

    // On opening, and on Tab into each box in turn, typing replaces the value shown.
    void typingReplacesTheValueShown_data() { enterPressesNoButton_data(); }

    void typingReplacesTheValueShown() {
        const auto [dialog, typed] = fetch<QString, QStringList>("dialog", "typed");
        Harness h;
        AnyDialog any(dialog, h.app);
        QDialog& d = *any.dialog;
        QVERIFY(showAndWait(d));
        QWidget* const first = QApplication::focusWidget();
        auto* box = qobject_cast<QLineEdit*>(textPart(first));
        QVERIFY(box && !box->text().isEmpty() && typingReplaces(first));
        fillBoxes(controls(d), typed);
        int reached = 0;
        QWidget* at = first;
        for (int tabs = 0; tabs < 20 && (tabs == 0 || at != first); ++tabs) {
            QTest::keyClick(at, Qt::Key_Tab);
            at = QApplication::focusWidget();
            if (at != first && qobject_cast<QLineEdit*>(textPart(at))) {
                QVERIFY(typingReplaces(at));
                ++reached;
            }
        }
        QCOMPARE(reached, typed.size() - 1);  // once round, every other box
    }

    // The four support pictures lie wholly inside their box: the drawing's outermost ring
    // of pixels, inside the frame, is background.
    void supportPicturesFitTheirBoxes() {
        Harness h;
        NodesDialog d(h.app);
        QVERIFY(showAndWait(d));
        QWidget* picture = d.picture();
        QVERIFY(QRect(QPoint(), d.size())
                    .contains(QRect(picture->mapTo(&d, QPoint()), picture->size())));
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(d.pictureIndex(), k);
            const QImage image = picture->grab().toImage().convertToFormat(QImage::Format_RGB32);
            QRect ink;  // the drawn pixels inside the frame
            for (int y = 1; y < image.height() - 1; ++y)
                for (int x = 1; x < image.width() - 1; ++x)
                    if (image.pixel(x, y) != qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
            QVERIFY2(!ink.isEmpty() && image.rect().adjusted(2, 2, -2, -2).contains(ink),
                     qPrintable(QString("picture %1").arg(k)));
            QTest::mouseClick(picture, Qt::LeftButton);
        }
    }

    void deleteWithElements() {
        Harness h;
        Model& m = h.app.model;
        twoNodes(m);
        for (float x : {2, 6}) addNode(m, x, 3);
        addGroup(m, 1, 1);
        for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {3, 4}, {4, 2}}) addElement(m, i, j);
        h.app.currentView = ViewMode::NDiagram;
        const std::string warning =
            "There are elements connected to the node, that must also be deleted.";
        NodesDialog d(h.app, nullptr, 2);
        h.prompter.queueAnswer(Answer::Cancel);
        d.deleteButton()->click();
        QCOMPARE(h.app.log.lastLine(), " " + warning);
        QCOMPARE(m.nodeCount + m.elementCount, 8);  // nothing deleted
        h.prompter.queueAnswer(Answer::Ok);
        d.deleteButton()->click();
        const auto& q = h.prompter.questions();
        QVERIFY(q.size() == 2 && q[1].buttons == MessageButtons::OkCancel);  // once each time
        QCOMPARE(q[1].text, warning + "\r\nDo you want the deletion process to proceed?");
        checkLogged(h, "Node deleted: #2. Nodes renumbered: #3 to #4.", LogColour::Green);
        QCOMPARE(m.elementCount, 1);
        QCOMPARE(m.nodeI(1) * 10 + m.nodeJ(1), 23);  // the old element 3-4
        QCOMPARE(h.app.currentView, ViewMode::Model);
        QCOMPARE(shown(d), QString("2 (Existing) 2 3   oo1"));  // the former node 3
    }
};

QTEST_MAIN(TestNodesDialog)
#include "test_nodes_dialog.moc"
