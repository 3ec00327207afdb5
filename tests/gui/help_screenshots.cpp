// Makes the pictures of the user guide's first walk-through from the program itself: the
// real main window and dialogs, offscreen, driven the way the page tells the reader to,
// grabbed to PNG files. It also checks that every step does what the page says (the log
// lines and the results it quotes), and exits 1 naming the first step that does not, so a
// change to the program cannot leave the page describing something else.
//
//   vortak-help-screenshots OUTPUT-FOLDER [MODEL OUTPUT-PICTURE]
//
// With a model and a picture it also writes a picture of the whole window with the model's
// axial force diagram (the README's).

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "analysis/result_values.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/main_window.h"
#include "base/scripted_prompter.h"
#include "editing/elements_dialog.h"
#include "editing/groups_dialog.h"
#include "editing/loads_dialog.h"
#include "editing/nodes_dialog.h"
#include "report/results_window.h"
#include "settings/settings_store.h"

using namespace vortak;

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void expect(bool holds, const std::string& what) {
    if (!holds) throw Failure(what);
}

// The program as main() builds it. Any question it asks is recorded and answered Cancel/No,
// and the walk-through fails: the page asks the reader nothing.
struct Program {
    explicit Program(const std::string& file = "") {
        startUp(app, store, file);
        window.emplace(app, store);
        shell.setWindow(&*window);
        window->resize(960, 640);
        window->show();
        expect(QTest::qWaitForWindowExposed(&*window), "the main window was not shown");
        window->redrawView();
    }
    ~Program() { shell.setWindow(nullptr); }
    void trigger(const char* key) {
        window->action(key)->trigger();
        QApplication::processEvents();
        if (!prompter.questions().empty())
            throw Failure(std::string(key) + " asked: " + prompter.questions().front().text);
    }

    ScriptedPrompter prompter;
    GuiShell shell;
    MemorySettingsStore store;
    AppState app{prompter, shell};
    std::optional<MainWindow> window;
};

QDir output;

void save(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QImage picture = widget.grab().toImage();
    expect(!picture.isNull() && picture.save(output.filePath(name), "PNG"),
           "cannot write " + output.filePath(name).toStdString());
    std::printf("%s\n", qPrintable(output.filePath(name)));
}

// Runs `use` on the modal dialog of type D that triggering `key` opens; the dialog must be
// closed by `use`.
template <typename D>
void withDialog(Program& p, const char* key, const std::function<void(D&)>& use) {
    bool seen = false;
    std::string error;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog == nullptr || seen) return;
        seen = true;
        poll.stop();
        if (!QTest::qWaitForWindowExposed(dialog)) error = "the dialog was not shown";
        try {
            use(*dialog);
        } catch (const Failure& failure) {
            error = failure.what();
            dialog->reject();
        }
    });
    poll.start();
    p.trigger(key);
    expect(seen, std::string("the dialog of ") + key + " did not open");
    if (!error.empty()) throw Failure(error);
}

void type(QWidget* box, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(box);
    auto* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(box);
    edit->clear();
    QTest::keyClicks(edit, text);
}

void pick(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    expect(index >= 0, "no item " + text.toStdString());
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void expectLogged(const Program& p, const std::string& line) {
    expect(p.app.log.lastLine() == " " + line,
           "log: '" + p.app.log.lastLine() + "' instead of '" + line + "'");
}

bool near(double value, double expected) {
    return std::abs(value - expected) <= 1e-9 * std::abs(expected);
}

// The three-bar truss of the first walk-through, step by step.
void walkThrough() {
    Program p;

    withDialog<GroupsDialog>(p, "EA", [&](GroupsDialog& d) {
        type(d.eBox(), "210000000");
        type(d.aBox(), "0.001");
        save(d, "first-groups.png");
        d.applyButton()->click();
        expectLogged(p, "New group #1, E= 210000000, A= 0.001");
        d.cancelButton()->click();
    });

    struct NodeRow {
        const char *x, *y;
        bool fixX, fixY;
        const char* logged;
    };
    const NodeRow nodes[] = {{"0", "0", true, true, "New node #1, x= 0, y= 0, Constraints: xx"},
                             {"6", "0", false, true, "New node #2, x= 6, y= 0, Constraints: ox"},
                             {"3", "4", false, false, "New node #3, x= 3, y= 4, Free"}};
    withDialog<NodesDialog>(p, "Komboi", [&](NodesDialog& d) {
        for (const NodeRow& n : nodes) {
            type(d.xBox(), n.x);
            type(d.yBox(), n.y);
            for (auto [box, fixed] : {std::pair{d.fixXBox(), n.fixX}, {d.fixYBox(), n.fixY}})
                if (box->isChecked() != fixed) box->click();
            if (&n == &nodes[0]) save(d, "first-nodes.png");
            d.applyButton()->click();
            expectLogged(p, n.logged);
        }
        d.cancelButton()->click();
    });

    withDialog<ElementsDialog>(p, "Stoixeia", [&](ElementsDialog& d) {
        const char* ends[][2] = {{"1", "2"}, {"1", "3"}, {"2", "3"}};
        int element = 0;
        for (const auto& end : ends) {
            ++element;
            pick(d.nodeIBox(), end[0]);
            pick(d.nodeJBox(), end[1]);
            if (element == 3) save(d, "first-elements.png");
            d.applyButton()->click();
            expectLogged(p, "New element #" + std::to_string(element) + ", Node i: #" + end[0] +
                                ", Node j: #" + end[1] + ", E,A Group: #1");
        }
        d.cancelButton()->click();
    });

    withDialog<LoadsDialog>(p, "Epikombia", [&](LoadsDialog& d) {
        pick(d.nodeBox(), "3");
        type(d.fyBox(), "-10");
        save(d, "first-loads.png");
        d.applyButton()->click();
        expectLogged(p, "New loads on node #3, Fy= -10");
        d.cancelButton()->click();
    });

    p.trigger("ZoomBestFit");
    save(*p.window, "first-model.png");

    p.trigger("Epilisi");
    expect(p.app.model.hasCurrentResults(), "the analysis did not run");
    const double expected[] = {3.75, -6.25, -6.25};
    for (int e = 1; e <= 3; ++e)
        expect(near(axialForce(p.app.model, e), expected[e - 1]),
               "element " + std::to_string(e) + " force " +
                   std::to_string(axialForce(p.app.model, e)));
    p.trigger("N");
    for (int k = 0; k < 5; ++k) static_cast<QPushButton*>(p.window->plusButton())->click();
    save(*p.window, "first-n-diagram.png");

    p.trigger("Deform");
    for (int k = 0; k < 3; ++k) static_cast<QPushButton*>(p.window->plusButton())->click();
    save(*p.window, "first-deformed.png");

    p.trigger("Apotelesmata");
    ResultsWindow* results = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* r = qobject_cast<ResultsWindow*>(w); r && r->isVisible()) results = r;
    expect(results != nullptr, "the data and results window did not open");
    results->resize(820, 420);
    results->tabs()->setCurrentIndex(2);
    expect(results->tabs()->tabText(2) == "Element forces",
           "the third tab is " + results->tabs()->tabText(2).toStdString());
    save(*results, "first-results.png");
    results->close();
}

// A whole window with a model's axial force diagram, saved at `picture` (a path of its own,
// made absolute so that it is not taken into the output folder).
void overview(const std::string& model, const QString& picture) {
    Program p(model);
    p.trigger("ZoomBestFit");
    p.prompter.queueAnswer(Answer::Yes);
    p.window->action("N")->trigger();  // asks to analyse the freshly opened model
    expect(p.app.model.hasCurrentResults(), "the model was not analysed");
    p.prompter.clear();
    p.window->resize(1000, 640);
    p.trigger("ZoomBestFit");
    // Narrower bands than the standard scale's, so that the bands of neighbouring bars
    // do not cover each other.
    for (auto* button : p.window->drawingArea()->findChildren<QPushButton*>())
        if (button->text() == "-")
            for (int k = 0; k < 5; ++k) button->click();
    save(*p.window, picture);  // an absolute path stays as it is
}

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: vortak-help-screenshots OUTPUT-FOLDER [MODEL PICTURE]\n");
        return 64;
    }
    output = QDir(QString::fromLocal8Bit(argv[1]));
    if (!output.mkpath(".")) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    try {
        walkThrough();
        if (argc == 4)
            overview(argv[2], QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath());
    } catch (const Failure& failure) {
        std::fprintf(stderr, "vortak-help-screenshots: %s\n", failure.what());
        return 1;
    }
    return 0;
}
