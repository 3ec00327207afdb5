#pragma once

// What every picture of the command-line tool shares, whatever it is painted on: the
// formats and options, fitting the truss into the picture, and the drawing itself with the
// colour legend placed inside the picture. Free of the toolkit: the raster module uses it
// too.

#include <string>

#include "graphics/drawing.h"

namespace vortak {

struct AppState;
class Surface;

enum class PictureFormat { Unknown, Svg, Png, Bmp };

inline constexpr double kPictureDotsPerInch = 96.0;

// By the file name's extension, in any letter case.
PictureFormat pictureFormat(const std::string& path);
// "svg", "png" or "bmp", in any letter case.
PictureFormat pictureFormatNamed(const std::string& name);
const char* pictureExtension(PictureFormat format);
// "model", "n", "colour" (or "color") and "deformed".
bool parseView(const std::string& text, ViewMode& view);
// "WIDTHxHEIGHT", each 16 to 16000 pixels.
bool parseSize(const std::string& text, int& width, int& height);

// Sets the view for a picture of `width` x `height` pixels: fitted to the whole truss
// (leaving the colour legend's strip free) unless `keepView`. False when no scale shows the
// truss whole.
bool fitPicture(AppState& app, int width, int height, bool keepView);
// The picture of the current view, with the colour legend at the top right of the colour
// diagram (on screen it is a box of its own beside the drawing).
void drawPicture(AppState& app, Surface& surface);

}  // namespace vortak
