#pragma once

// The program's one top-level window: drawing area above, message log below, menus,
// toolbar, status bar and the result controls on the drawing area. Every command is a
// core operation on AppState; the window runs it and then mirrors AppState::window.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

#include "app/shell.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTextBrowser;
class QToolButton;

namespace vortak {

struct AppState;
class DrawingArea;
class LogView;
class SettingsStore;
class ColourLegendBox;

// Forwards the core's requests to the window once it exists.
class GuiShell : public Shell {
public:
    void setWindow(class MainWindow* window) { window_ = window; }
    void setBusyPointer(bool busy) override;
    void setAnalyzeEnabled(bool enabled) override;
    void redraw() override;
    void quickRedraw() override;
    void refreshLog() override;
    std::string weekdayDateTime() override;

private:
    class MainWindow* window_ = nullptr;
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppState& app, SettingsStore& store, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Places the window as the settings store remembers it (size in twips).
    void restorePlacement();
    void savePlacement();

    // Draws the current view and brings every control in line with the program state.
    void redrawView();
    void syncControls();
    void setAnalyzeEnabled(bool enabled);
    void repaintLog();

    // The editing dialogs opened on one node or element (the drawing area's object menu
    // uses these); 0 opens the nodes and elements dialogs on a new number.
    void openNodesDialog(int node);
    void openElementsDialog(int element);
    void openLoadsDialog(int node);

    // Hooks for the dialogs and windows that open from the model commands.
    void setDialog(const QString& key, std::function<void()> open);

    // For tests: the controls the user sees.
    QAction* action(const QString& key) const;
    QMenu* labelsMenu() const { return labelsMenu_; }
    DrawingArea* drawingArea() const { return drawing_; }
    QWidget* plusButton() const;
    QWidget* legendBox() const;
    bool animationTimerActive() const { return animation_.isActive(); }
    bool recoveryTimerActive() const { return recoveryTimer_.isActive(); }
    // One animation frame, as the timer does.
    void animationStep();
    // The panel clicks of the status bar (3 coordinates, 4 axes, 5 grid, 6 labels).
    void clickPanel(int panel);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildDrawingControls();
    // Runs a command and then shows its effects.
    void run(const std::function<void()>& command);
    void runDialogCommand(const QString& key, bool (*command)(AppState&));
    void placeDrawingControls();
    void applyColours();
    void showLabelsMenu(QPoint at);
    // The object menu of a right click: the node's dialogs and the element's dialog.
    void showObjectMenu(int node, int element, QPoint at);
    void openHelp();
    void startCalculator();
    void copyPicture();
    void savePictureBmp();
    void saveDrawingSvg();
    void toggleLog();
    void keepRecoveryCopy(bool analysed);

    AppState& app_;
    SettingsStore& store_;
    DrawingArea* drawing_ = nullptr;
    LogView* log_ = nullptr;
    QToolButton* logToggle_ = nullptr;
    QPushButton* plus_ = nullptr;
    QPushButton* minus_ = nullptr;
    QRadioButton* options_[3] = {};
    ColourLegendBox* legend_ = nullptr;
    QLabel* panels_[7] = {};
    QMenu* labelsMenu_ = nullptr;
    QMenu* modeMenu_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, std::function<void()>> dialogs_;
    std::map<int, QAction*> labelActions_;
    QTimer animation_;
    // Looks for unsaved changes to keep in the recovery copy (when AppState has a keeper).
    QTimer recoveryTimer_;
    QPointer<QTextBrowser> help_;
    QPointer<class ResultsWindow> results_;
    std::unique_ptr<struct ResultsSelection> selection_;
};

}  // namespace vortak
