#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <ctime>
#include <tuple>

#include "app/analysis_run.h"
#include "app/app_state.h"
#include "app/commands.h"
#include "app/drawing_area.h"
#include "app/icons.h"
#include "app/log_view.h"
#include "app/picture_export.h"
#include "app/recovery.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "editing/elements_dialog.h"
#include "editing/groups_dialog.h"
#include "editing/loads_dialog.h"
#include "editing/node_tools_dialogs.h"
#include "editing/nodes_dialog.h"
#include "graphics/qt_surface.h"
#include "graphics/result_drawing.h"
#include "report/results_tables.h"
#include "report/results_window.h"
#include "settings/options_dialog.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"

namespace vortak {

// The colour legend beside the colour diagram: the bar with its ticks and the "Tension" and
// "Compression" labels above and below it.
class ColourLegendBox : public QWidget {
public:
    ColourLegendBox(AppState& app, QWidget* parent) : QWidget(parent), app_(app) {
        const double pxPerCm = logicalDpiX() / 2.54;
        setFixedSize(int((kColourLegendWidth + 0.2) * pxPerCm),
                     int((kColourLegendBarHeight + 2 * kColourLegendLabelHeight + 0.3) * pxPerCm));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void refresh() {
        QtSurface surface(size(), logicalDpiX());
        surface.setSystemColours(desktopSystemColour);
        surface.clear(app_.settings.xroma_background);
        drawColourLegendWithLabels({app_.model, app_.settings, app_.view}, surface, 0.1, 0.05);
        picture_ = surface.image().copy();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
    }

private:
    AppState& app_;
    QImage picture_;
};

namespace {

constexpr int kAnimationIntervalMs = 16;  // about 60 frames a second
// How often the model is looked at for the recovery copy: a look costs a fraction of a
// millisecond, and the first change after a quiet spell is kept within this time.
constexpr int kRecoveryLookIntervalMs = 1000;

QString qt(const std::string& text) { return QString::fromStdString(text); }

// A status-bar panel that reacts to clicks.
class PanelLabel : public QLabel {
public:
    PanelLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setContentsMargins(4, 0, 4, 0);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        // Disabled panels still take clicks: that is how they are switched back on.
        if (onClick_) onClick_();
        QLabel::mousePressEvent(event);
    }
    bool event(QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress && !isEnabled()) {
            if (onClick_) onClick_();
            return true;
        }
        // The press of a double click has toggled the panel already; the double click
        // itself would toggle it back.
        if (e->type() == QEvent::MouseButtonDblClick) return true;
        return QLabel::event(e);
    }

private:
    std::function<void()> onClick_;
};

// The help pages: beside the program once installed (bin/../share/vortak/help). A program
// run from its build tree shows the source tree's pages; an installed one never does, so
// that a package missing its pages is noticed rather than served from a stray checkout.
QString helpFolder() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(QDir(programFolder).filePath("../share/vortak/help"));
    if (QFileInfo::exists(installed + "/index.html")) return installed;
    const QString buildTree = QFileInfo(QStringLiteral(VORTAK_BINARY_DIR)).canonicalFilePath();
    const QString program = QFileInfo(programFolder).canonicalFilePath();
    if (!buildTree.isEmpty() && (program == buildTree || program.startsWith(buildTree + "/")))
        return QStringLiteral(VORTAK_SOURCE_DIR "/docs/help");
    return installed;
}

}  // namespace

void GuiShell::setBusyPointer(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void GuiShell::setAnalyzeEnabled(bool enabled) {
    if (window_) window_->setAnalyzeEnabled(enabled);
}

void GuiShell::redraw() {
    if (window_) window_->redrawView();
}

void GuiShell::quickRedraw() {
    if (window_) window_->drawingArea()->quickRedrawPicture();
}

void GuiShell::refreshLog() {
    if (window_) window_->repaintLog();
}

std::string GuiShell::weekdayDateTime() {
    static const char* kWeekdays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                      "Friday", "Saturday", "Sunday"};
    const QDateTime now = QDateTime::currentDateTime();
    return std::string(kWeekdays[now.date().dayOfWeek() - 1]) + " " +
           QLocale::system().toString(now, QLocale::ShortFormat).toStdString();
}

MainWindow::MainWindow(AppState& app, SettingsStore& store, QWidget* parent)
    : QMainWindow(parent), app_(app), store_(store) {
    setWindowIcon(applicationIcon());
    drawing_ = new DrawingArea(app_, this);
    log_ = new LogView(app_.log, this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* splitter = new QSplitter(Qt::Vertical, central);
    splitter->addWidget(drawing_);
    auto* logRow = new QWidget(splitter);
    auto* logLayout = new QHBoxLayout(logRow);
    logLayout->setContentsMargins(0, 0, 0, 0);
    logLayout->setSpacing(0);
    logLayout->addWidget(log_);
    splitter->addWidget(logRow);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({600, 110});
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);
    setCentralWidget(central);

    logToggle_ = new QToolButton(this);
    logToggle_->setText("x");
    logToggle_->setToolTip("Show/Hide Information text");
    logToggle_->setAutoRaise(true);
    // It stands on the log's white, whatever the desktop's scheme.
    QPalette toggleInk = logToggle_->palette();
    for (const auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
        toggleInk.setColor(role, Qt::black);
    logToggle_->setPalette(toggleInk);
    connect(logToggle_, &QToolButton::clicked, this, [this] { toggleLog(); });

    buildActions();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildDrawingControls();

    connect(drawing_, &DrawingArea::readoutChanged, this,
            [this](const QString& x, const QString& y) {
                if (!app_.window.coordinatesPanelEnabled) return;
                panels_[0]->setText(x);
                panels_[1]->setText(y);
            });
    connect(drawing_, &DrawingArea::modeMenuRequested, this,
            [this](QPoint at) { modeMenu_->popup(at); });
    connect(drawing_, &DrawingArea::objectMenuRequested, this,
            [this](int node, int element, QPoint at) { showObjectMenu(node, element, at); });
    connect(drawing_, &DrawingArea::groupsDialogRequested, this, [this] {
        runDialogCommand("EA", Button_EA);
        drawing_->input().finishPendingElement();
        syncControls();
    });
    connect(&animation_, &QTimer::timeout, this, [this] { animationStep(); });
    animation_.setInterval(kAnimationIntervalMs);
    animation_.setTimerType(Qt::PreciseTimer);
    connect(&recoveryTimer_, &QTimer::timeout, this, [this] { keepRecoveryCopy(false); });
    recoveryTimer_.setInterval(kRecoveryLookIntervalMs);
    if (app_.recovery != nullptr) recoveryTimer_.start();

    setDialog("EA", [this] {
        GroupsDialog dialog(app_, this);
        dialog.exec();
    });
    setDialog("Komboi", [this] { openNodesDialog(0); });
    setDialog("Stoixeia", [this] { openElementsDialog(0); });
    setDialog("Epikombia", [this] { openLoadsDialog(1); });
    setDialog("MergeNodes", [this] {
        MergeEditor editor(app_);
        if (!editor.open()) return;
        MergeDialog dialog(editor, this);
        dialog.exec();
    });
    setDialog("MoveNodes", [this] {
        MoveEditor editor(app_);
        if (!editor.open()) return;
        MoveDialog dialog(editor, this);
        dialog.exec();
    });
    setDialog("CoincidentNodes", [this] { checkCoincidentNodes(app_); });
    setDialog("CoincidentElements", [this] { checkCoincidentElements(app_); });
    selection_ = std::make_unique<ResultsSelection>();
    setDialog("Apotelesmata", [this] {
        // A fresh window, showing the model and results as they are now.
        if (results_) results_->close();
        results_ = new ResultsWindow(app_, *selection_, this);
        results_->show();
    });
    setDialog("Rithmiseis", [this] {
        OptionsDialog dialog(app_, store_, this);
        dialog.exec();
        syncControls();
    });

    applyColours();
    syncControls();
}

MainWindow::~MainWindow() {
    animation_.stop();
    if (help_) help_->close();
}

QAction* MainWindow::action(const QString& key) const {
    const auto found = actions_.find(key);
    return found == actions_.end() ? nullptr : found->second;
}

QWidget* MainWindow::plusButton() const { return plus_; }
QWidget* MainWindow::legendBox() const { return legend_; }

void MainWindow::openNodesDialog(int node) {
    NodesDialog dialog(app_, this, node);
    dialog.exec();
    syncControls();
}

void MainWindow::openElementsDialog(int element) {
    ElementsDialog dialog(app_, this, element);
    dialog.exec();
    syncControls();
}

void MainWindow::openLoadsDialog(int node) {
    LoadsDialog dialog(app_, this, node);
    dialog.exec();
    syncControls();
}

void MainWindow::setDialog(const QString& key, std::function<void()> open) {
    dialogs_[key] = std::move(open);
    if (QAction* a = action(key)) a->setEnabled(true);
}

void MainWindow::run(const std::function<void()>& command) {
    drawing_->hideMarkers();
    command();
    syncControls();
    if (app_.animationRunning && !animation_.isActive()) animation_.start();
}

void MainWindow::runDialogCommand(const QString& key, bool (*command)(AppState&)) {
    run([this, key, command] {
        if (!command(app_)) return;
        const auto found = dialogs_.find(key);
        if (found != dialogs_.end() && found->second) found->second();
    });
}

void MainWindow::buildActions() {
    const auto add = [this](const QString& key, const QString& text, const QString& tip,
                            std::function<void()> slot) {
        auto* a = new QAction(text, this);
        // A tooltip only: a status tip would take the status bar over and hide its panels
        // while the pointer rests on a button or a menu item.
        if (!tip.isEmpty()) a->setToolTip(tip);
        const QIcon icon = toolbarIcon(key);
        if (!icon.isNull()) a->setIcon(icon);
        connect(a, &QAction::triggered, this, std::move(slot));
        actions_[key] = a;
        return a;
    };
    add("New", "New", "New file", [this] { run([this] { Button_Neo_arxeio(app_, store_); }); });
    add("Open", "Open", "Open file", [this] { run([this] { Button_Anagnosi_Arxeiou(app_); }); });
    add("Save", "Save", "Save file", [this] { run([this] { Button_Apothikefsi_Arxeiou(app_); }); });
    add("SaveAs", "Save As...", "", [this] { run([this] { SaveAs(app_); }); });
    add("Undo", "Undo", "Undo", [this] {
        drawing_->abandonGesture();
        run([this] { Undo(app_); });
    });
    action("Undo")->setShortcut(QKeySequence::Undo);
    add("Redo", "Redo", "Redo", [this] {
        drawing_->abandonGesture();
        run([this] { Redo(app_); });
    });
    action("Redo")->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    add("CopyPicture", "Picture to Clipboard as bitmap", "", [this] { copyPicture(); });
    add("SavePicture", "Picture as .bmp file", "", [this] { savePictureBmp(); });
    add("SaveSvg", "Drawing as SVG file", "", [this] { saveDrawingSvg(); });
    add("Exit", "Exit", "", [this] { close(); });

    add("Xeraki", "Move", "Move drawing", [this] { run([this] { Button_Xeraki(app_); }); });
    add("Zoom", "Zoom", "Zoom", [this] { run([this] { Button_Zoom(app_); }); });
    add("Zoom_Window", "Zoom Window", "Zoom Window",
        [this] { run([this] { Button_Zoom_Window(app_); }); });
    add("Zoom_Previous", "Zoom Previous", "Zoom Previous",
        [this] { run([this] { Button_Zoom_Previous(app_); }); });
    add("ZoomBestFit", "Zoom Extends", "Zoom Extents",
        [this] { run([this] { Button_Zoom_Best_Fit(app_); }); });

    add("EA", "E,A Element Groups", "E,A Element Groups",
        [this] { runDialogCommand("EA", Button_EA); });
    add("Komboi", "Nodes", "Nodes", [this] { runDialogCommand("Komboi", Button_Komboi); });
    add("Stoixeia", "Elements", "Elements",
        [this] { runDialogCommand("Stoixeia", Button_Stoixeia); });
    add("Epikombia", "Nodal Loads", "Nodal Loads",
        [this] { runDialogCommand("Epikombia", Button_Epikombia); });
    // The tools stop a running animation like the model commands.
    bool (*tool)(AppState&) = [](AppState& a) {
        stopAnimation(a);
        return true;
    };
    add("MoveNodes", "Move nodes", "", [this, tool] { runDialogCommand("MoveNodes", tool); });
    add("MergeNodes", "Merge nodes", "", [this, tool] { runDialogCommand("MergeNodes", tool); });
    add("CoincidentNodes", "Coincident nodes", "",
        [this, tool] { runDialogCommand("CoincidentNodes", tool); });
    add("CoincidentElements", "Coincident elements", "",
        [this, tool] { runDialogCommand("CoincidentElements", tool); });
    add("Epilisi", "Analyze", "Analyze", [this] { run([this] { Button_Epilisi(app_); }); });
    add("Calculator", "Calculator", "", [this] { startCalculator(); });

    add("Foreas", "Model", "Draw model", [this] { run([this] { Button_Foreas(app_); }); });
    add("N", "[N] Diagram", "Draw [N] Diagram", [this] { run([this] { Button_N(app_); }); });
    add("CT", "Color Diagram", "Draw Color Diagram", [this] { run([this] { Button_CT(app_); }); });
    add("Deform", "Deformation", "Draw deformed model",
        [this] { run([this] { Button_Deform(app_); }); });
    add("Animate", "Deformation Animation", "Deformation Animation",
        [this] { run([this] { Button_animate(app_); }); });
    add("Rithmiseis", "View options", "View options",
        [this] { runDialogCommand("Rithmiseis", Button_Rithmiseis); });
    add("Apotelesmata", "Data - Results", "Data - Results",
        [this] { runDialogCommand("Apotelesmata", Button_Apotelesmata); });

    add("Contents", "Contents", "", [this] { openHelp(); });
    action("Contents")->setShortcut(QKeySequence::HelpContents);
    add("Web", "Malvero Vortak on the web", "",
        [] { QDesktopServices::openUrl(QUrl(kWebAddress)); });
    add("About", "About Malvero Vortak", "", [this] {
        QDialog about(this);
        about.setWindowTitle("About Malvero Vortak");
        auto* layout = new QVBoxLayout(&about);
        auto* icon = new QLabel(&about);
        icon->setPixmap(applicationIcon().pixmap(64, 64));
        icon->setAlignment(Qt::AlignCenter);
        layout->addWidget(icon);
        auto* title = new QLabel("<b>" + QString(kProgramTitle) + "</b>", &about);
        title->setAlignment(Qt::AlignCenter);
        layout->addWidget(title);
        layout->addWidget(new QLabel(kProgramDescription, &about));
        auto* version = new QLabel("v " + QString(kVersionText), &about);
        version->setAlignment(Qt::AlignCenter);
        layout->addWidget(version);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &about);
        connect(buttons, &QDialogButtonBox::accepted, &about, &QDialog::accept);
        layout->addWidget(buttons);
        about.exec();
    });

    // The dialogs and windows that arrive with their own parts of the program.
    for (const char* key :
         {"EA", "Komboi", "Stoixeia", "Epikombia", "MoveNodes", "MergeNodes", "CoincidentNodes",
          "CoincidentElements", "Rithmiseis", "Apotelesmata"}) {
        actions_[key]->setEnabled(false);
    }

    // Esc reaches the window wherever the focus is inside it.
    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, [this] {
        escapePressed(app_);
        drawing_->abandonGesture();
    });
    addAction(escape);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu("File");
    file->addAction(action("New"));
    file->addAction(action("Open"));
    file->addAction(action("Save"));
    file->addAction(action("SaveAs"));
    file->addSeparator();
    QMenu* exportMenu = file->addMenu("Export...");
    exportMenu->addAction(action("CopyPicture"));
    exportMenu->addAction(action("SavePicture"));
    exportMenu->addAction(action("SaveSvg"));
    file->addSeparator();
    file->addAction(action("Exit"));

    QMenu* edit = menuBar()->addMenu("Edit");
    edit->addAction(action("Undo"));
    edit->addAction(action("Redo"));

    QMenu* model = menuBar()->addMenu("Model");
    // The menu runs the model commands without leaving the mouse mode; the toolbar buttons
    // of the same commands reset it first.
    for (const char* key : {"EA", "Komboi", "Stoixeia"}) model->addAction(action(key));
    model->addSeparator();
    model->addAction(action("Epikombia"));

    QMenu* tools = menuBar()->addMenu("Tools");
    tools->addAction(action("MoveNodes"));
    tools->addAction(action("MergeNodes"));
    tools->addSeparator();
    QMenu* check = tools->addMenu("Check");
    check->addAction(action("CoincidentNodes"));
    check->addAction(action("CoincidentElements"));
    tools->addSeparator();
    tools->addAction(action("Epilisi"));
    tools->addSeparator();
    tools->addAction(action("Calculator"));

    QMenu* view = menuBar()->addMenu("View");
    for (const char* key : {"Foreas", "N", "Deform", "Animate"}) view->addAction(action(key));
    view->addSeparator();
    view->addAction(action("Rithmiseis"));

    QMenu* help = menuBar()->addMenu("Help");
    help->addAction(action("Contents"));
    help->addAction(action("Web"));
    help->addSeparator();
    help->addAction(action("About"));

    // The labels pop-up of status-bar panel 6.
    labelsMenu_ = new QMenu(this);
    const auto label = [this](LabelFlag flag, const char* text) {
        QAction* a = labelsMenu_->addAction(text);
        a->setCheckable(true);
        connect(a, &QAction::triggered, this,
                [this, flag] { run([this, flag] { toggleLabel(app_, flag); }); });
        labelActions_[int(flag)] = a;
    };
    label(LabelFlag::NodeNumbers, "Nodes numbering");
    label(LabelFlag::NodeCoordinates, "Node coordinates");
    labelsMenu_->addSeparator();
    label(LabelFlag::ElementNumbers, "Elements numbering");
    label(LabelFlag::ElementGroups, "Element groups");
    label(LabelFlag::ElementLengths, "Element lengths");
    labelsMenu_->addSeparator();
    label(LabelFlag::LoadValues, "Nodal load values");
    labelsMenu_->addSeparator();
    label(LabelFlag::NValues, "[N] values");
    labelsMenu_->addSeparator();
    const auto preset = [this](LabelPreset p, const char* text) {
        connect(labelsMenu_->addAction(text), &QAction::triggered, this,
                [this, p] { run([this, p] { chooseLabelPreset(app_, p); }); });
    };
    preset(LabelPreset::All, "All labels");
    preset(LabelPreset::Basic, "Basic labels");
    preset(LabelPreset::None, "No labels");

    // The view-mode pop-up of a right click in a mouse mode.
    modeMenu_ = new QMenu(this);
    connect(modeMenu_->addAction("Exit"), &QAction::triggered, this,
            [this] { run([this] { leaveMode(app_); }); });
    modeMenu_->addSeparator();
    const auto mode = [this](const char* text, void (*command)(AppState&), InteractionMode m) {
        connect(modeMenu_->addAction(text), &QAction::triggered, this, [this, command, m] {
            // The menu only switches a mode on.
            if (app_.window.mode != m) run([this, command] { command(app_); });
        });
    };
    mode("Move", Button_Xeraki, InteractionMode::Pan);
    mode("Zoom", Button_Zoom, InteractionMode::Zoom);
    mode("Zoom Window", Button_Zoom_Window, InteractionMode::ZoomWindow);
    modeMenu_->addSeparator();
    modeMenu_->addAction(action("Zoom_Previous"));
    modeMenu_->addAction(action("ZoomBestFit"));
}

void MainWindow::buildToolbar() {
    QToolBar* bar = addToolBar("Toolbar");
    bar->setObjectName("Toolbar2");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    const char* layout[] = {
        "New",   "Open",       "Save",   nullptr,       "Undo",          "Redo",
        nullptr, "Xeraki",     "Zoom",   "Zoom_Window", "Zoom_Previous", "ZoomBestFit",
        nullptr, "EA",         "Komboi", "Stoixeia",    nullptr,         "Epikombia",
        nullptr, "Foreas",     "N",      "CT",          "Deform",        "Animate",
        nullptr, "Rithmiseis", nullptr,  "Epilisi",     nullptr,         "Apotelesmata"};
    for (const char* key : layout) {
        if (key == nullptr) {
            bar->addSeparator();
            continue;
        }
        const QString k(key);
        if (k == "EA" || k == "Komboi" || k == "Stoixeia" || k == "Epikombia") {
            // The toolbar's model buttons first leave the mouse mode.
            auto* a = new QAction(action(k)->icon(), action(k)->text(), this);
            a->setToolTip(action(k)->toolTip());
            a->setEnabled(action(k)->isEnabled());
            connect(action(k), &QAction::changed, a,
                    [a, source = action(k)] { a->setEnabled(source->isEnabled()); });
            connect(a, &QAction::triggered, this, [this, k] {
                Reset_Pointer(app_);
                action(k)->trigger();
                syncControls();
            });
            bar->addAction(a);
        } else {
            bar->addAction(action(k));
        }
    }
}

void MainWindow::buildStatusBar() {
    const struct {
        const char* text;
        const char* tip;
        int clicks;  // panel number for clicks, 0 for none
    } panels[] = {{"x =", "", 0},
                  {"y =", "", 0},
                  {"COORDS", "Coordinates on/off", 3},
                  {"AXES", "Axes on/off", 4},
                  {"GRID", "Grid on/off", 5},
                  {"LABELS", "Labels on/off", 6},
                  {" Model", "", 0}};
    for (int k = 0; k < 7; ++k) {
        const int panel = panels[k].clicks;
        auto* label =
            new PanelLabel(panels[k].text,
                           panel ? std::function<void()>([this, panel] { clickPanel(panel); })
                                 : std::function<void()>(),
                           this);
        label->setToolTip(panels[k].tip);
        if (k < 2) label->setMinimumWidth(120);
        statusBar()->addWidget(label, k == 6 ? 1 : 0);
        panels_[k] = label;
    }
}

void MainWindow::clickPanel(int panel) {
    switch (panel) {
        case 3:
            run([this] { toggleCoordinatesPanel(app_); });
            break;
        case 4:
            run([this] { toggleAxesPanel(app_); });
            break;
        case 5:
            run([this] { toggleGridPanel(app_); });
            break;
        case 6:
            showLabelsMenu(QCursor::pos());
            break;
        default:
            break;
    }
}

void MainWindow::showObjectMenu(int node, int element, QPoint at) {
    QMenu menu(this);
    if (node != 0) {
        connect(menu.addAction("Node #" + QString::number(node)), &QAction::triggered, this,
                [this, node] { openNodesDialog(node); });
        connect(menu.addAction("Loads on node #" + QString::number(node)), &QAction::triggered,
                this, [this, node] { openLoadsDialog(node); });
    }
    if (node != 0 && element != 0) menu.addSeparator();
    if (element != 0) {
        connect(menu.addAction("Element #" + QString::number(element)), &QAction::triggered, this,
                [this, element] { openElementsDialog(element); });
    }
    connect(&menu, &QMenu::triggered, this, [this] { drawing_->hideMarkers(); });
    menu.exec(at);
}

void MainWindow::showLabelsMenu(QPoint at) {
    for (const auto& [flag, a] : labelActions_) a->setChecked(labelShown(app_, LabelFlag(flag)));
    labelsMenu_->popup(at);
}

void MainWindow::buildDrawingControls() {
    plus_ = new QPushButton("+", drawing_);
    minus_ = new QPushButton("-", drawing_);
    for (QPushButton* b : {plus_, minus_}) {
        b->setFixedSize(26, 22);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(plus_, &QPushButton::clicked, this,
            [this] { run([this] { changeScale(app_, 0.2); }); });
    connect(minus_, &QPushButton::clicked, this,
            [this] { run([this] { changeScale(app_, -0.2); }); });
    const char* captions[] = {"Force F", "Stress s", "Strain e"};
    const ResultQuantity quantities[] = {ResultQuantity::Force, ResultQuantity::Stress,
                                         ResultQuantity::Strain};
    for (int k = 0; k < 3; ++k) {
        options_[k] = new QRadioButton(captions[k], drawing_);
        options_[k]->setFocusPolicy(Qt::NoFocus);
        options_[k]->setAutoFillBackground(true);
        const ResultQuantity q = quantities[k];
        connect(options_[k], &QRadioButton::clicked, this,
                [this, q] { run([this, q] { chooseQuantity(app_, q); }); });
    }
    legend_ = new ColourLegendBox(app_, drawing_);
}

void MainWindow::placeDrawingControls() {
    const double pxPerCm = drawing_->pixelsPerCm();
    const int top = int(app_.window.plusMinusTop * pxPerCm);
    const int left = int(0.1 * pxPerCm);
    plus_->move(left, top);
    minus_->move(left + plus_->width() + 2, top);
    int y = drawing_->height() - 4;
    for (int k = 2; k >= 0; --k) {
        options_[k]->adjustSize();
        y -= options_[k]->height();
        options_[k]->move(left, y);
    }
    legend_->move(drawing_->width() - legend_->width() - int(0.3 * pxPerCm), int(0.3 * pxPerCm));
    logToggle_->adjustSize();
    if (app_.window.logShown) {
        const QPoint logTopRight = log_->mapTo(this, QPoint(log_->width(), 0));
        logToggle_->move(logTopRight.x() - logToggle_->width() - 18, logTopRight.y() + 2);
    } else {
        const QPoint bottomRight =
            drawing_->mapTo(this, QPoint(drawing_->width(), drawing_->height()));
        logToggle_->move(bottomRight.x() - logToggle_->width() - 4,
                         bottomRight.y() - logToggle_->height() - 4);
    }
    logToggle_->raise();
}

void MainWindow::applyColours() {
    const auto resolved = [](Colour c) {
        return isSystemColour(c) ? desktopSystemColour(systemColourIndex(c)) : c & 0xFFFFFFu;
    };
    const Colour background = resolved(app_.settings.xroma_background);
    const Colour text = resolved(app_.settings.xroma_stoixeion);
    // The option buttons stand on the drawing: its background and element colours for every
    // role a style may paint them with, so that no colour of the desktop's scheme (white
    // text of a dark scheme, say) mixes in.
    const QColor back(redOf(background), greenOf(background), blueOf(background));
    const QColor ink(redOf(text), greenOf(text), blueOf(text));
    QPalette palette = options_[0]->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
            palette.setColor(group, role, back);
        }
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(group, role, ink);
        }
    }
    for (QRadioButton* option : options_) option->setPalette(palette);
}

void MainWindow::syncControls() {
    const WindowState& w = app_.window;
    setWindowTitle(qt(caption(app_)));
    panels_[6]->setText(qt(w.viewName));
    panels_[2]->setEnabled(w.coordinatesPanelEnabled);
    panels_[0]->setVisible(w.coordinatesPanelEnabled);
    panels_[1]->setVisible(w.coordinatesPanelEnabled);
    panels_[3]->setEnabled(w.axesPanelEnabled);
    panels_[4]->setEnabled(w.gridPanelEnabled);
    plus_->setVisible(w.plusMinusVisible);
    minus_->setVisible(w.plusMinusVisible);
    for (QRadioButton* option : options_) option->setVisible(w.optionsVisible);
    if (w.optionsVisible) options_[int(w.selectedOption)]->setChecked(true);
    // The colour legend is a key to values; without results there are none to key.
    const bool legend = w.legendShown && app_.model.hasCurrentResults();
    legend_->setVisible(legend);
    if (legend) legend_->refresh();
    action("Animate")->setEnabled(w.animateEnabled);
    // The captions name the step each would take back or make again.
    for (const auto& [key, text, possible] :
         {std::tuple{"Undo", undoCaption(app_), app_.history.canUndo()},
          std::tuple{"Redo", redoCaption(app_), app_.history.canRedo()}}) {
        QAction* a = action(key);
        a->setText(qt(text));
        a->setToolTip(qt(text));
        a->setEnabled(possible);
    }
    drawing_->updatePointer();
    applyColours();
    placeDrawingControls();
}

void MainWindow::redrawView() {
    drawing_->redrawPicture();
    syncControls();
}

void MainWindow::setAnalyzeEnabled(bool enabled) {
    action("Epilisi")->setEnabled(enabled);
    // An analysis has ended: the recovery copy is brought up to date once its command is over.
    if (enabled && app_.recovery != nullptr) {
        QTimer::singleShot(0, this, [this] { keepRecoveryCopy(true); });
    }
    if (!enabled) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::repaintLog() { log_->repaint(); }

void MainWindow::keepRecoveryCopy(bool analysed) {
    RecoveryKeeper* keeper = app_.recovery;
    if (keeper == nullptr) return;
    const double now = app_.shell.monotonicSeconds();
    const std::time_t wallClock = std::time(nullptr);
    if (analysed) {
        keeper->writeNow(app_, now, wallClock);
    } else {
        keeper->tick(app_, now, wallClock);
    }
}

void MainWindow::animationStep() {
    if (!animationTick(app_)) animation_.stop();
    if (!animation_.isActive()) syncControls();
}

void MainWindow::toggleLog() {
    WindowState& w = app_.window;
    w.logShown = !w.logShown;
    log_->parentWidget()->setVisible(w.logShown);
    logToggle_->setText(w.logShown ? "x" : "<");
    QTimer::singleShot(0, this, [this] { placeDrawingControls(); });
}

void MainWindow::openHelp() {
    if (!help_) {
        help_ = new QTextBrowser();
        help_->setAttribute(Qt::WA_DeleteOnClose);
        // The window is named after the page it shows, as a browser's is.
        const auto nameAfterPage = [browser = help_] {
            const QString page = browser->documentTitle();
            browser->setWindowTitle(page.isEmpty() ? QString(kProgramTitle) + " - Help" : page);
        };
        nameAfterPage();
        connect(help_, &QTextBrowser::sourceChanged, help_, nameAfterPage);
        help_->setWindowIcon(applicationIcon());
        help_->setOpenExternalLinks(true);
        help_->setSearchPaths({helpFolder()});
        // Rich text does not follow stylesheet links: the pages' look is set here.
        QFile css(helpFolder() + "/help.css");
        if (css.open(QIODevice::ReadOnly)) {
            help_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
        }
        help_->setSource(QUrl::fromLocalFile(helpFolder() + "/index.html"));
        help_->resize(760, 680);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::startCalculator() {
    // Whichever desktop calculator is installed; none is fine too.
    for (const char* program :
         {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        if (!QStandardPaths::findExecutable(program).isEmpty() &&
            QProcess::startDetached(program, {})) {
            return;
        }
    }
}

void MainWindow::copyPicture() { QGuiApplication::clipboard()->setImage(drawing_->picture()); }

void MainWindow::savePictureBmp() {
    run([this] { savePictureAsBitmap(app_, drawing_->picture()); });
}

void MainWindow::saveDrawingSvg() {
    run([this] {
        saveDrawingAsSvg(app_, drawing_->widthCm(), drawing_->heightCm(), drawing_->logicalDpiX());
    });
    drawing_->redrawPicture();
}

void MainWindow::restorePlacement() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const double twipsPerPixel = 1440.0 / logicalDpiX();
    // Wide enough at a first start for every toolbar button, without the overflow arrow.
    const int needed = findChild<QToolBar*>()->sizeHint().width() + 16;
    const WindowPlacement p =
        loadWindowPlacement(store_, screen.width() * twipsPerPixel, screen.height() * twipsPerPixel,
                            needed * twipsPerPixel);
    const auto px = [twipsPerPixel](double twips) { return int(twips / twipsPerPixel); };
    const QSize size(std::clamp(px(p.width), 480, std::max(480, screen.width())),
                     std::clamp(px(p.height), 360, std::max(360, screen.height())));
    resize(size);
    move(screen.left() + std::clamp(px(p.left), 0, std::max(0, screen.width() - size.width())),
         screen.top() + std::clamp(px(p.top), 0, std::max(0, screen.height() - size.height())));
    if (p.state == WindowShowState::Maximised) setWindowState(Qt::WindowMaximized);
    if (p.state == WindowShowState::Minimised) setWindowState(Qt::WindowMinimized);
}

void MainWindow::savePlacement() {
    const double twipsPerPixel = 1440.0 / logicalDpiX();
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    WindowPlacement p;
    p.state = isMaximized() ? WindowShowState::Maximised : WindowShowState::Normal;
    p.width = normal.width() * twipsPerPixel;
    p.height = normal.height() * twipsPerPixel;
    p.left = (normal.left() - screen.left()) * twipsPerPixel;
    p.top = (normal.top() - screen.top()) * twipsPerPixel;
    saveWindowPlacement(store_, p);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (help_) help_->close();
    if (results_) results_->close();
    savePlacement();
    stopAnimation(app_);
    if (!confirmShutdown(app_)) {
        event->ignore();
        syncControls();
        return;
    }
    savePlacement();
    animation_.stop();
    recoveryTimer_.stop();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        escapePressed(app_);
        drawing_->abandonGesture();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeDrawingControls();
}

}  // namespace vortak
