#pragma once

// Opening and saving model files as the program's commands do them: the file dialogs, the
// disk, the messages and the log; and the unsaved-changes test.

#include <string>
#include <string_view>

namespace vortak {

struct AppState;
struct ModelFileContent;

enum class FileOutcome { Cancelled, Done, Failed };

// Reads a model file into the program state; an empty path first asks for the file. On
// success the model, display options and view are replaced, the zoom history restarts at
// the file's view and "Open file:" is logged. On failure the message is shown and logged
// and the model is left empty and untitled. Either way the changed flag is set.
FileOutcome ReadModelFile(AppState& app, const std::string& path);
// The same for text already read (standard input, say), shown and logged under `path`.
FileOutcome ReadModelText(AppState& app, const std::string& path, std::string_view text);

// Puts a read model file's tables, display options and view into the program state under
// `fileName`: no results, the changed flag set, the zoom history restarting at the file's
// view and the undo history empty.
void installModel(AppState& app, const ModelFileContent& content, const std::string& fileName);

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
