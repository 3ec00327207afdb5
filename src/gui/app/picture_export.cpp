#include "app/picture_export.h"

#include "app/app_state.h"
#include "app/redraw.h"
#include "base/file_names.h"
#include "base/file_writer.h"
#include "graphics/drawing.h"
#include "graphics/image_file.h"
#include "graphics/svg_surface.h"

namespace vortak {

namespace {

std::optional<std::string> askName(AppState& app, const char* filter, const char* proposed,
                                   const char* extension) {
    FileDialogRequest request;
    request.filter = filter;
    request.proposedName = proposed;
    request.confirmOverwrite = true;
    const auto chosen = app.prompter.saveFileName(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return withExtension(*chosen, extension);
}

void reportFailure(AppState& app, const std::string& error) {
    const std::string text = "An error occured while trying to save the bitmap file: " + error;
    app.prompter.messageBox(text, MessageIcon::Critical, MessageButtons::Ok);
    app.log.LogMessage(text, LogColour::Red, true);
}

}  // namespace

void savePictureAsBitmap(AppState& app, const QImage& picture) {
    const auto path = askName(app, "Bitmap Files (*.bmp)|*.bmp", "Picture", ".bmp");
    if (!path) return;
    if (const auto error = saveImageFile(picture, *path, "BMP")) reportFailure(app, *error);
}

void saveDrawingAsSvg(AppState& app, double widthCm, double heightCm, double dotsPerInch) {
    const auto path = askName(app, "SVG Drawings (*.svg)|*.svg", "Drawing", ".svg");
    if (!path) return;
    SvgSurface svg(widthCm, heightCm, dotsPerInch);
    redraw(app, svg);
    if (const auto error = writeFileAtomically(*path, svg.document())) {
        const std::string text = "There was an error saving the file: " + *error;
        app.prompter.messageBox(text, MessageIcon::Critical, MessageButtons::Ok);
        app.log.LogMessage(text, LogColour::Red, true);
    }
}

}  // namespace vortak
