#pragma once

// The .vok model file: the model, a full copy of the display options and the view, one
// value per line with CR LF line ends. Pure text in and out; the commands that ask for
// file names, read and write the disk and log live with the program's commands.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

inline constexpr const char* kModelFileEndLine = "END of Vortak Input File";

// The largest model file the program reads. A model at full capacity (100 nodes, 200
// elements, 50 groups, every node with springs) written with the longest number texts is
// 18 KB; the bound leaves hand-made files (long number texts, padding) two hundred times
// that, while an endless or absurd input (a device, a pipe, a wrong file) is refused before
// it fills the memory.
inline constexpr std::size_t kMaxModelFileBytes = std::size_t{4} << 20;
// "the file is larger than 4 MiB, too large for a model file"
std::string modelFileTooLargeText();

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

// A field as read failure messages quote it: in single quotes, at most its first 40
// characters (then "..."), with tabs, backslashes, control bytes and bytes above ASCII
// escaped (\t, \\, \x1B), so that what a message shows is always one printable line.
std::string quotedFieldText(std::string_view text);

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
