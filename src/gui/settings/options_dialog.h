#pragma once

// The view options dialog: every display option on three tabs, with Default, Restore,
// Cancel, Apply and OK.

#include <QDialog>

#include <functional>
#include <map>
#include <optional>

#include "editing/options_editor.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vortak {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Asks for a colour starting from the given one; nothing when cancelled.
    using ColourQuestion = std::function<std::optional<Colour>(Colour)>;

    OptionsDialog(AppState& app, SettingsStore& store, QWidget* parent = nullptr,
                  ColourQuestion askColour = {});

    QTabWidget* tabs() const { return tabs_; }
    QLineEdit* box(OptionsEditor::Field field) const { return boxes_.at(field); }
    QCheckBox* check(const QString& objectName) const;
    QPushButton* button(const QString& caption) const;
    // Clicks the swatch of a colour setting (as its label would).
    void clickSwatch(Colour ViewSettings::*colour);
    const OptionsEditor& editor() const { return editor_; }

private:
    void collect();
    void refresh();
    void showFocus();
    void addFlag(QGridLayout* grid, int row, int column, const char* caption, const char* name,
                 bool ViewSettings::*flag);

    OptionsEditor editor_;
    ColourQuestion askColour_;
    QTabWidget* tabs_;
    std::map<OptionsEditor::Field, QLineEdit*> boxes_;
    std::map<QCheckBox*, bool ViewSettings::*> flags_;
    std::vector<std::function<void()>> refreshers_;
    QRadioButton* graphic_ = nullptr;
    QRadioButton* symbolic_ = nullptr;
    QRadioButton* quantities_[3] = {};
};

}  // namespace vortak
