#pragma once

// What the view options dialog decides: its values (flags, colours, drawing side, shown
// quantity and the number texts as typed), their validation in a fixed order, and what
// Apply, Default and Restore do.

#include <string>

#include "settings/view_settings.h"

namespace vortak {

struct AppState;
class SettingsStore;

// The 16 classic palette colours of the colour picker, by box number.
Colour paletteColour(int box);

class OptionsEditor {
public:
    enum class Tab { General = 0, Model = 1, NColour = 2 };
    enum class Field {
        None,
        Force,
        Stress,
        Strain,
        Deformation,
        Frames,
        DecimalsN,
        DecimalsStrain,
        Grid
    };

    OptionsEditor(AppState& app, SettingsStore& store);

    // Every control from the current display options.
    void open();
    // True when every number is acceptable; otherwise the first refusal is shown and
    // logged, and `tab`/`focus` name the field to select.
    bool Elegxos_An_Einai_OK();
    // The values become current (false when validation refused them).
    bool apply();
    // The values become the stored program defaults; the current options do not change.
    bool saveDefault();
    // The program's initial options in the controls (the colour-diagram colours stay).
    void restore();

    // The controls. Flags, colours, N_sin_Ina and Show_* live in `values`; the numbers in
    // the texts, as typed.
    ViewSettings values;
    std::string force, stress, strain, deformation, frames, decimalsN, decimalsStrain, grid;
    Tab tab = Tab::General;
    Field focus = Field::None;

private:
    bool refuseField(const std::string& text, Tab onTab, Field field);
    void showNumbers(const ViewSettings& from);

    AppState& app_;
    SettingsStore& store_;
};

}  // namespace vortak
