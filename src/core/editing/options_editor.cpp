#include "editing/options_editor.h"

#include <cmath>

#include "app/app_state.h"
#include "app/shell.h"
#include "base/number_text.h"
#include "editing/form_support.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"

namespace vortak {

namespace {

double number(const std::string& text) { return readSettingNumber(text); }

constexpr const char* kSaveDefaultsError = "There was an error saving the default options:";

// A positive number a single-precision setting can hold.
bool positiveFloat(double v) { return v > 0 && fitsInFloat(v); }

// Decimals: a whole number from 0 up; the maximum is checked separately.
bool wholeFromZero(double v) { return std::isfinite(v) && v >= 0 && v == std::floor(v); }

}  // namespace

Colour paletteColour(int box) {
    static constexpr Colour kPalette[16] = {
        packColour(0, 0, 0),       packColour(0, 0, 128),     packColour(0, 128, 0),
        packColour(0, 128, 128),   packColour(128, 0, 0),     packColour(128, 0, 128),
        packColour(128, 128, 0),   packColour(192, 192, 192), packColour(128, 128, 128),
        packColour(0, 0, 255),     packColour(0, 255, 0),     packColour(0, 255, 255),
        packColour(255, 0, 0),     packColour(255, 0, 255),   packColour(255, 255, 0),
        packColour(255, 255, 255),
    };
    return kPalette[box < 0 || box > 15 ? 0 : box];
}

OptionsEditor::OptionsEditor(AppState& app, SettingsStore& store) : app_(app), store_(store) {}

// Float settings are shown in their own precision, with the digits the user would have
// typed (0.0001, not the double 9.99999974737875E-05 that the float holds).
void OptionsEditor::showNumbers(const ViewSettings& from) {
    force = general(from.Ena_cm_posa_FORCE);
    stress = general(from.Ena_cm_posa_STRESS);
    strain = general(from.Ena_cm_posa_STRAIN);
    deformation = general(from.Ena_cm_posa_m_epi_1000);
    frames = whole(from.Animation_Frames);
    decimalsN = whole(from.dekadika_N);
    decimalsStrain = whole(from.dekadika_strain);
    grid = general(from.kannab);
}

void OptionsEditor::open() {
    stopAnimation(app_);
    values = app_.settings;
    showNumbers(app_.settings);
    tab = Tab::General;
    focus = Field::None;
}

bool OptionsEditor::refuseField(const std::string& text, Tab onTab, Field field) {
    refuse(app_, text);
    tab = onTab;
    focus = field;
    return false;
}

bool OptionsEditor::Elegxos_An_Einai_OK() {
    const char* kEquivalence = "The value given for the equivalence cm - ";
    if (!positiveFloat(number(force))) {
        return refuseField(std::string(kEquivalence) + "Force units is unacceptable.", Tab::NColour,
                           Field::Force);
    }
    if (!positiveFloat(number(stress))) {
        return refuseField(std::string(kEquivalence) + "Stress units is unacceptable.",
                           Tab::NColour, Field::Stress);
    }
    if (!positiveFloat(number(strain))) {
        return refuseField(std::string(kEquivalence) + "Strain units is unacceptable.",
                           Tab::NColour, Field::Strain);
    }
    if (!positiveFloat(number(deformation))) {
        return refuseField(std::string(kEquivalence) + "D units is unacceptable.", Tab::Model,
                           Field::Deformation);
    }
    // Frames must stay at least 1 once rounded: 0.3 frames would stop the animation dead.
    const double f = number(frames);
    if (!(f > 0 && f <= 1000) || std::nearbyint(f) < 1) {
        return refuseField("The value given for the Animation Frames is unacceptable.", Tab::Model,
                           Field::Frames);
    }
    const double dn = number(decimalsN);
    if (!wholeFromZero(dn)) {
        return refuseField("The value given for the decimal places (N Diagram) is unacceptable.",
                           Tab::NColour, Field::DecimalsN);
    }
    if (dn > 13) {
        return refuseField("The maximum number for decimal places is 13 (N Diagram).", Tab::NColour,
                           Field::DecimalsN);
    }
    const double de = number(decimalsStrain);
    if (!wholeFromZero(de)) {
        return refuseField("The value given for the decimal places (Strain) is unacceptable.",
                           Tab::NColour, Field::DecimalsStrain);
    }
    if (de > 13) {
        return refuseField("The maximum number for decimal places is 13 (Strain).", Tab::NColour,
                           Field::DecimalsStrain);
    }
    if (!positiveFloat(number(grid))) {
        return refuseField("The value given for grid is unacceptable.", Tab::General, Field::Grid);
    }
    return true;
}

bool OptionsEditor::apply() {
    if (!Elegxos_An_Einai_OK()) return false;
    ViewSettings next = values;
    next.Ena_cm_posa_FORCE = float(number(force));
    next.Ena_cm_posa_STRESS = float(number(stress));
    next.Ena_cm_posa_STRAIN = float(number(strain));
    next.Ena_cm_posa_m_epi_1000 = float(number(deformation));
    next.kannab = float(number(grid));
    next.Animation_Frames = toInt16(number(frames)).value_or(next.Animation_Frames);
    next.dekadika_N = toInt16(number(decimalsN)).value_or(next.dekadika_N);
    next.dekadika_strain = toInt16(number(decimalsStrain)).value_or(next.dekadika_strain);
    app_.settings = next;

    WindowState& w = app_.window;
    w.axesPanelEnabled = next.nai_aksones;
    w.gridPanelEnabled = next.nai_grid;
    w.selectedOption = shownQuantity(next);
    if (app_.currentView == ViewMode::Animation) {
        app_.currentView = ViewMode::Deformed;
        w.viewName = kViewNameDeformed;
    }
    app_.shell.redraw();
    return true;
}

bool OptionsEditor::saveDefault() {
    if (!Elegxos_An_Einai_OK()) return false;
    TypedSettingNumbers typed;
    typed.force = number(force);
    typed.stress = number(stress);
    typed.strain = number(strain);
    typed.deformation = number(deformation);
    typed.animationFrames = number(frames);
    typed.decimalsN = number(decimalsN);
    typed.decimalsStrain = number(decimalsStrain);
    typed.grid = number(grid);
    saveViewSettingsAsDefault(store_, values, typed);
    // The whole batch of keys goes to disk at once; a failure leaves the stored defaults as
    // they were and the user is told why.
    if (const auto error = store_.save()) {
        const std::string text = std::string(kSaveDefaultsError) + " " + *error;
        app_.prompter.messageBox(text, MessageIcon::Critical, MessageButtons::Ok);
        app_.log.LogMessage(text, LogColour::Red, true);
        return false;
    }
    return true;
}

void OptionsEditor::restore() {
    const ViewSettings initial;
    ViewSettings next = initial;
    // The colour-diagram colours keep what the controls show.
    next.Xroma_Efelkismou = values.Xroma_Efelkismou;
    next.Xroma_Thlipsis = values.Xroma_Thlipsis;
    next.Xroma_Afortistou = values.Xroma_Afortistou;
    values = next;
    showNumbers(initial);
}

}  // namespace vortak
