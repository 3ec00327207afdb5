#include "settings/settings_values.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <variant>

#include "base/number_text.h"
#include "settings/settings_store.h"

namespace vortak {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[k]) != lower(b[k])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One display option: its key, where it lives in ViewSettings, and how it is checked.
struct FlagKey {
    bool ViewSettings::*member;
};
struct FloatKey {
    float ViewSettings::*member;
    bool (*valid)(float);
    bool completeNumberOnly;  // the grid spacing must be a number and nothing else
};
struct IntKey {
    std::int16_t ViewSettings::*member;
    bool (*valid)(int);
};
struct ColourKey {
    Colour ViewSettings::*member;
};
struct DisplayKey {
    const char* name;
    std::variant<FlagKey, FloatKey, IntKey, ColourKey> kind;
};

// In the order the keys are read at start-up.
const DisplayKey kDisplayKeys[] = {
    {"nai_aksones", FlagKey{&ViewSettings::nai_aksones}},
    {"nai_grid", FlagKey{&ViewSettings::nai_grid}},
    {"kannab", FloatKey{&ViewSettings::kannab, isValidGridSpacing, true}},
    {"nai_komboi", FlagKey{&ViewSettings::nai_komboi}},
    {"nai_arithmisi_kombon", FlagKey{&ViewSettings::nai_arithmisi_kombon}},
    {"nai_desmefseis", FlagKey{&ViewSettings::nai_desmefseis}},
    {"nai_graf_stir", FlagKey{&ViewSettings::nai_graf_stir}},
    {"nai_sint_kombon", FlagKey{&ViewSettings::nai_sint_kombon}},
    {"nai_springs", FlagKey{&ViewSettings::nai_springs}},
    {"nai_stoixeia", FlagKey{&ViewSettings::nai_stoixeia}},
    {"nai_arithmisi_stoixeion", FlagKey{&ViewSettings::nai_arithmisi_stoixeion}},
    {"nai_omades", FlagKey{&ViewSettings::nai_omades}},
    {"nai_miki", FlagKey{&ViewSettings::nai_miki}},
    {"nai_fortiseis_si", FlagKey{&ViewSettings::nai_fortiseis_si}},
    {"nai_times_fortiseon_si", FlagKey{&ViewSettings::nai_times_fortiseon_si}},
    {"nai_times_N", FlagKey{&ViewSettings::nai_times_N}},
    {"N_sin_Ina", FlagKey{&ViewSettings::N_sin_Ina}},
    {"Ena_cm_posa_FORCE",
     FloatKey{&ViewSettings::Ena_cm_posa_FORCE, isValidScaleEquivalence, false}},
    {"Ena_cm_posa_STRESS",
     FloatKey{&ViewSettings::Ena_cm_posa_STRESS, isValidScaleEquivalence, false}},
    {"Ena_cm_posa_STRAIN",
     FloatKey{&ViewSettings::Ena_cm_posa_STRAIN, isValidScaleEquivalence, false}},
    {"Ena_cm_posa_m_epi_1000",
     FloatKey{&ViewSettings::Ena_cm_posa_m_epi_1000, isValidScaleEquivalence, false}},
    {"Animation_Frames", IntKey{&ViewSettings::Animation_Frames, isValidAnimationFrames}},
    {"dekadika_N", IntKey{&ViewSettings::dekadika_N, isValidDecimals}},
    {"dekadika_strain", IntKey{&ViewSettings::dekadika_strain, isValidDecimals}},
    {"xroma_background", ColourKey{&ViewSettings::xroma_background}},
    {"xroma_aksonon", ColourKey{&ViewSettings::xroma_aksonon}},
    {"xroma_grid", ColourKey{&ViewSettings::xroma_grid}},
    {"xroma_stoixeion", ColourKey{&ViewSettings::xroma_stoixeion}},
    {"xroma_kombon", ColourKey{&ViewSettings::xroma_kombon}},
    {"xroma_sigkentromenon", ColourKey{&ViewSettings::xroma_sigkentromenon}},
    {"xroma_paramorfosis", ColourKey{&ViewSettings::xroma_paramorfosis}},
    {"Xroma_Efelkismou", ColourKey{&ViewSettings::Xroma_Efelkismou}},
    {"Xroma_Thlipsis", ColourKey{&ViewSettings::Xroma_Thlipsis}},
    {"Xroma_Afortistou", ColourKey{&ViewSettings::Xroma_Afortistou}},
    {"xroma_N", ColourKey{&ViewSettings::xroma_N}},
    {"Nai_Apolites_Sint", FlagKey{&ViewSettings::Nai_Apolites_Sint}},
    {"Nai_Sxetikes_Sint", FlagKey{&ViewSettings::Nai_Sxetikes_Sint}},
    {"Show_FORCE", FlagKey{&ViewSettings::Show_FORCE}},
    {"Show_STRESS", FlagKey{&ViewSettings::Show_STRESS}},
    {"Show_STRAIN", FlagKey{&ViewSettings::Show_STRAIN}},
};

// Reads one key into `settings`; leaves the current value when the text is unusable.
void readKey(const DisplayKey& key, std::string_view text, ViewSettings& settings) {
    if (const auto* flag = std::get_if<FlagKey>(&key.kind)) {
        if (const auto value = readFlagText(text)) settings.*(flag->member) = *value;
    } else if (const auto* number = std::get_if<FloatKey>(&key.kind)) {
        double value = 0;
        if (number->completeNumberOnly) {
            const std::string_view body = trimmed(text);
            const NumberPrefix prefix = leadingNumber(body);
            if (prefix.length == 0 || prefix.length != body.size()) return;
            value = prefix.value;
        } else {
            value = readSettingNumber(text);
        }
        if (!fitsInFloat(value) || !number->valid(float(value))) return;
        settings.*(number->member) = float(value);
    } else if (const auto* integer = std::get_if<IntKey>(&key.kind)) {
        const auto value = toInt16(readSettingNumber(text));
        if (value && integer->valid(*value)) settings.*(integer->member) = *value;
    } else if (const auto* colour = std::get_if<ColourKey>(&key.kind)) {
        if (const auto value = colourFromNumber(readSettingNumber(text))) {
            settings.*(colour->member) = *value;
        }
    }
}

double numberOrZero(const std::optional<std::string>& text) {
    if (!text) return 0;
    const double value = readSettingNumber(*text);
    return std::isfinite(value) ? value : 0;
}

}  // namespace

std::optional<bool> readFlagText(std::string_view text) {
    const std::string_view body = trimmed(text);
    if (equalsIgnoringCase(body, "true")) return true;
    if (equalsIgnoringCase(body, "false")) return false;
    if (leadingNumber(body).length == 0 &&
        !(body.size() > 2 && body[0] == '&' && (body[1] == 'H' || body[1] == 'h'))) {
        return std::nullopt;
    }
    return readSettingNumber(body) != 0.0;
}

double readSettingNumber(std::string_view text) {
    std::string_view body = text;
    while (!body.empty() && (body.front() == ' ' || body.front() == '\t')) body.remove_prefix(1);
    if (body.size() >= 2 && body[0] == '&' && (body[1] == 'H' || body[1] == 'h')) {
        double value = 0;
        for (std::size_t k = 2; k < body.size() && hexDigit(body[k]) >= 0; ++k) {
            value = value * 16 + hexDigit(body[k]);
        }
        return value;
    }
    return readNumber(body);
}

std::optional<std::int16_t> toInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<Colour> colourFromNumber(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 4294967295.0) return std::nullopt;
    if (rounded < 0) return static_cast<Colour>(static_cast<std::int32_t>(rounded));
    return static_cast<Colour>(rounded);
}

long long colourNumber(Colour colour) {
    // System colours are stored as the negative 32-bit values they are on disk.
    return isSystemColour(colour) ? static_cast<long long>(static_cast<std::int32_t>(colour))
                                  : static_cast<long long>(colour);
}

std::string colourText(Colour colour) { return whole(colourNumber(colour)); }

bool isValidScaleEquivalence(float value) { return std::isfinite(value) && value > 0.0f; }
bool isValidGridSpacing(float value) { return std::isfinite(value) && value > 0.0f; }
bool isValidAnimationFrames(int value) { return value >= 1 && value <= 1000; }
bool isValidDecimals(int value) { return value >= 0 && value <= 13; }
bool isValidViewScale(float value) { return std::isfinite(value) && value >= 1.0f; }
bool isValidViewOffset(double value) { return std::fabs(value) <= kMaxViewOffset; }

void loadViewSettings(const SettingsStore& store, ViewSettings& settings) {
    settings = ViewSettings{};
    for (const DisplayKey& key : kDisplayKeys) {
        if (const auto text = store.value(kDisplaySection, key.name)) readKey(key, *text, settings);
    }
}

TypedSettingNumbers typedNumbersOf(const ViewSettings& s) {
    return {s.Ena_cm_posa_FORCE,        s.Ena_cm_posa_STRESS,
            s.Ena_cm_posa_STRAIN,       s.Ena_cm_posa_m_epi_1000,
            double(s.Animation_Frames), double(s.dekadika_N),
            double(s.dekadika_strain),  s.kannab};
}

void saveViewSettingsAsDefault(SettingsStore& store, const ViewSettings& settings,
                               const TypedSettingNumbers& numbers) {
    for (const DisplayKey& key : kDisplayKeys) {
        std::string text;
        if (const auto* flag = std::get_if<FlagKey>(&key.kind)) {
            text = settings.*(flag->member) ? "True" : "False";
        } else if (const auto* colour = std::get_if<ColourKey>(&key.kind)) {
            text = colourText(settings.*(colour->member));
        } else {
            continue;  // numbers below, from what was typed
        }
        store.setValue(kDisplaySection, key.name, text);
    }
    const std::pair<const char*, double> typed[] = {
        {"kannab", numbers.grid},
        {"Ena_cm_posa_FORCE", numbers.force},
        {"Ena_cm_posa_STRESS", numbers.stress},
        {"Ena_cm_posa_STRAIN", numbers.strain},
        {"Ena_cm_posa_m_epi_1000", numbers.deformation},
        {"Animation_Frames", numbers.animationFrames},
        {"dekadika_N", numbers.decimalsN},
        {"dekadika_strain", numbers.decimalsStrain},
    };
    for (const auto& [name, value] : typed) store.setValue(kDisplaySection, name, general(value));
}

WindowPlacement loadWindowPlacement(const SettingsStore& store, double screenWidth,
                                    double screenHeight, double neededWidth) {
    WindowPlacement p;
    p.width = std::max(p.width, std::min(neededWidth, screenWidth));
    if (const auto state = store.value(kStartupSection, "WindowState")) {
        const auto value = toInt16(numberOrZero(state));
        p.state = (value && *value == 0)   ? WindowShowState::Normal
                  : (value && *value == 1) ? WindowShowState::Minimised
                                           : WindowShowState::Maximised;
    }
    if (const auto width = store.value(kStartupSection, "frmM_W")) p.width = numberOrZero(width);
    if (const auto height = store.value(kStartupSection, "frmM_H")) {
        p.height = numberOrZero(height);
    }
    const auto left = store.value(kStartupSection, "frmM_L");
    const auto top = store.value(kStartupSection, "frmM_T");
    p.left = left ? numberOrZero(left) : (screenWidth - p.width) / 2;
    p.top = top ? numberOrZero(top) : (screenHeight - p.height) / 2;
    return p;
}

void saveWindowPlacement(SettingsStore& store, const WindowPlacement& placement) {
    const int state = placement.state == WindowShowState::Maximised ? 2 : 0;
    store.setValue(kStartupSection, "WindowState", whole(state));
    store.setValue(kStartupSection, "frmM_W", general(placement.width));
    store.setValue(kStartupSection, "frmM_H", general(placement.height));
    store.setValue(kStartupSection, "frmM_L", general(placement.left));
    store.setValue(kStartupSection, "frmM_T", general(placement.top));
}

}  // namespace vortak
