#pragma once

// `vortak-cli render`: a drawing of the model or of a result saved as SVG, PNG or BMP.

#include <iosfwd>
#include <string>

#include "app/app_state.h"

namespace vortak {

enum class PictureFormat { Unknown, Svg, Png, Bmp };

struct RenderOptions {
    std::string model;
    std::string output;
    ViewMode view = ViewMode::Model;
    int width = 1600;  // pixels at 96 dpi
    int height = 1000;
    bool keepView = false;
};

// By the file name's extension, in any letter case.
PictureFormat pictureFormat(const std::string& path);
// "model", "n", "colour" (or "color") and "deformed".
bool parseView(const std::string& text, ViewMode& view);
// "WIDTHxHEIGHT", each 16 to 16000 pixels.
bool parseSize(const std::string& text, int& width, int& height);

int runRender(const RenderOptions& options, std::ostream& err);

}  // namespace vortak
