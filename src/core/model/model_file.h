#pragma once

// The .vok model file: the model, a full copy of the display options and the view, one
// value per line with CR LF line ends.

#include <optional>
#include <string>
#include <string_view>

#include "graphics/view_transform.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

struct AppState;

inline constexpr const char* kModelFileEndLine = "END of Vortak Input File";

// The window caption for the model's file name ("... - Untitled.vok" when untitled).
std::string windowCaption(const Model& model);

// The complete file text for the model, the display options and the view.
std::string modelFileText(const Model& model, const ViewSettings& settings,
                          const ViewTransform& view);

// The content of a model file, parsed and checked.
struct ModelFileContent {
    Model model;  // tables and counts only
    ViewSettings settings;
    float scale = ViewTransform::kDefaultScale;
    double offsetX = ViewTransform::kDefaultOffsetX;
    double offsetY = ViewTransform::kDefaultOffsetY;
};

struct ModelFileError {
    bool badHeader = false;   // not a model file at all
    std::string description;  // what is wrong and where, e.g. "line 31: 'abc' is not a number"
};

// Parses file text. Exactly one of the two results is set.
struct ParsedModelFile {
    std::optional<ModelFileContent> content;
    ModelFileError error;
};
ParsedModelFile parseModelFile(std::string_view text);

enum class FileOutcome { Cancelled, Done, Failed };

// Reads a model file into the program state; an empty path first asks for the file. On
// success the model, display options and view are replaced, the zoom history restarts at
// the file's view and "Open file:" is logged. On failure the message is shown and logged
// and the model is left empty and untitled. Either way the changed flag is set.
FileOutcome ReadModelFile(AppState& app, const std::string& path);

// Writes the model file; an empty path first asks for a name (".vok" is appended when the
// name does not end in it exactly). The file is replaced atomically: a failed save leaves
// the previous file as it was. Unless quiet, success logs "Save file:" and makes the path
// the model's file name.
FileOutcome WriteModelFile(AppState& app, const std::string& path, bool quiet);

// True when the model's file holds exactly what saving now would write, compared field by
// field as the reader reads them. False when there is no file name or the file cannot be
// read.
bool ModelMatchesFile(const AppState& app);

}  // namespace vortak
