#pragma once

// Reading and writing ViewSettings and the window placement through the settings store,
// the value encodings of the store, and the ranges every display option must keep (the
// model file reader and the view options dialog apply the same ranges).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/colour.h"
#include "settings/view_settings.h"

namespace vortak {

class SettingsStore;

// --- Value encodings of the store ---------------------------------------------------
// Flags: "True"/"False" in any case, or a number (true when not zero); nullopt otherwise.
std::optional<bool> readFlagText(std::string_view text);
// Numbers: the longest leading numeric prefix, or hexadecimal digits after "&H"; 0 when
// there is none. Never NaN; may be infinite for absurd exponents.
double readSettingNumber(std::string_view text);
// A whole number as a 16-bit integer (halves to even); nullopt when out of range.
std::optional<std::int16_t> toInt16(double value);
// A colour value: RGB 0..16777215, or a negative 32-bit value naming a system colour;
// nullopt for anything a 32-bit colour cannot hold.
std::optional<Colour> colourFromNumber(double value);
// The signed decimal text under which a colour is stored ("-2147483634" for system 14).
std::string colourText(Colour colour);
long long colourNumber(Colour colour);

// --- Ranges ----------------------------------------------------------------------------
bool isValidScaleEquivalence(float value);  // the four "one centimetre equals" values
bool isValidGridSpacing(float value);
bool isValidAnimationFrames(int value);  // 1..1000
bool isValidDecimals(int value);         // 0..13
// The view a model file carries. The scale stays where the zoom commands keep it, 1 up to
// the single-precision limit; the offsets (cm) stay within +-1E+38, so that with any
// storable coordinate the picture positions, the pointer's model position, the pan
// arithmetic in single precision and the zoom history all stay finite.
inline constexpr double kMaxViewOffset = 1.0e38;
bool isValidViewScale(float value);
bool isValidViewOffset(double value);

// --- Display options -------------------------------------------------------------------
// Reads every display key; a key that is missing or holds an unusable value keeps the
// built-in default.
void loadViewSettings(const SettingsStore& store, ViewSettings& settings);

// The numbers as the user typed them in the view options dialog; saving them as the
// defaults stores these exact values (an animation frame count of 50.5 is stored as 50.5).
struct TypedSettingNumbers {
    double force = 0, stress = 0, strain = 0, deformation = 0;
    double animationFrames = 0, decimalsN = 0, decimalsStrain = 0, grid = 0;
};
TypedSettingNumbers typedNumbersOf(const ViewSettings& settings);
void saveViewSettingsAsDefault(SettingsStore& store, const ViewSettings& settings,
                               const TypedSettingNumbers& numbers);

// --- Main window placement -------------------------------------------------------------
enum class WindowShowState : std::int16_t { Normal = 0, Minimised = 1, Maximised = 2 };

struct WindowPlacement {
    WindowShowState state = WindowShowState::Maximised;
    double width = 10000, height = 8000;  // twips
    double left = 0, top = 0;             // twips
};

// Values that are missing take their defaults (maximised, 10000 x 8000 twips, centred on a
// screen of the given size); values that are not numbers read as 0. `neededWidth` widens
// the default width (never a stored one) to what the window's controls need, as far as
// the screen allows, so that a first start shows the whole toolbar.
WindowPlacement loadWindowPlacement(const SettingsStore& store, double screenWidth,
                                    double screenHeight, double neededWidth = 0);
// A minimised window is stored as normal.
void saveWindowPlacement(SettingsStore& store, const WindowPlacement& placement);

}  // namespace vortak
