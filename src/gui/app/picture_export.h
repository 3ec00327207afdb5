#pragma once

// Saving the drawing area's picture: as a bitmap file exactly as on screen, or as a vector
// SVG drawing of the same view.

#include <QImage>

namespace vortak {

struct AppState;

// Asks for a file name ("Picture", ".bmp" appended when missing) and writes the picture.
// A failure is shown and logged; the file that was there stays as it was.
void savePictureAsBitmap(AppState& app, const QImage& picture);
// The same for an SVG drawing of the current view on an area of the given size.
void saveDrawingAsSvg(AppState& app, double widthCm, double heightCm, double dotsPerInch);

}  // namespace vortak
