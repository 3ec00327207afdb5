#pragma once

// The .vok model file: the model, a full copy of the display options and the view, one
// value per line with CR LF line ends. Pure text in and out; the commands that ask for
// file names, read and write the disk and log live with the program's commands.

#include <optional>
#include <string>
#include <string_view>

#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

inline constexpr const char* kModelFileEndLine = "END of Vortak Input File";

// The window caption for the model's file name ("... - Untitled.vok" when untitled).
std::string windowCaption(const Model& model);

// The complete file text for the model, the display options and the view.
std::string modelFileText(const Model& model, const ViewSettings& settings, const ViewValues& view);

// The content of a model file, parsed and checked.
struct ModelFileContent {
    Model model;  // tables and counts only
    ViewSettings settings;
    ViewValues view;
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

// True when two model file texts hold the same fields up to the end line, compared as the
// reader reads them (numbers by value, other fields by text).
bool sameModelFileFields(std::string_view onDisk, std::string_view current);

}  // namespace vortak
