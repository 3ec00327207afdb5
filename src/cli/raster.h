#pragma once

// PNG and BMP pictures need the toolkit's painter and fonts. They are made by a module
// that is loaded only when such a picture is asked for, so that every other command runs
// without loading a single toolkit library.

#include <cstddef>
#include <string>

#include "picture.h"

// The module's one entry point, with plain C types across the boundary: the module keeps
// its own copy of the engine. `modelText` is a model file's text (display options and view
// included); `view` a ViewMode; `format` "PNG" or "BMP". Returns 0 when the picture was
// written; otherwise puts the reason into `error`.
extern "C" {
using VortakRasterPicture = int (*)(const char* modelText, std::size_t length, int view, int width,
                                    int height, const char* format, const char* output, char* error,
                                    std::size_t errorSize);
}
inline constexpr const char* kRasterEntryPoint = "vortak_raster_picture";
inline constexpr const char* kRasterModuleName = "vortak-raster.so";

namespace vortak {

struct AppState;

// Draws the program's current view into a PNG or BMP file of `width` x `height` pixels
// through the module. Returns an empty text on success, otherwise what went wrong.
std::string writeRasterPicture(const AppState& app, PictureFormat format, int width, int height,
                               const std::string& output);

}  // namespace vortak
