#include "app/file_commands.h"

#include "app/app_state.h"
#include "base/file_io.h"
#include "base/file_names.h"
#include "model/model_file.h"

namespace vortak {

namespace {

constexpr const char* kNotAModelFile =
    "There was an error opening the file. The file could not be read.";
constexpr const char* kOpenError = "There was an error opening the file:";
constexpr const char* kSaveError = "There was an error saving the file:";

void reportOpenFailure(AppState& app, const std::string& text) {
    app.prompter.messageBox(text, MessageIcon::Critical, MessageButtons::Ok);
    app.log.LogMessage(text, LogColour::Red, true);
    ClearModel(app.model);
    app.history.clear();
    app.model.fileName.clear();
    app.model.changed = true;
}

}  // namespace

void installModel(AppState& app, const ModelFileContent& content, const std::string& fileName) {
    ClearModel(app.model);
    static_cast<ModelTables&>(app.model) = content.model;
    app.settings = content.settings;
    app.view.scale = content.view.scale;
    app.view.offsetX = content.view.offsetX;
    app.view.offsetY = content.view.offsetY;
    app.view.resetHistory();
    app.model.fileName = fileName;
    app.model.changed = true;
    app.model.analysisFailed = false;
    app.history.clear();
}

FileOutcome ReadModelFile(AppState& app, const std::string& path) {
    std::string chosen = path;
    if (chosen.empty()) {
        FileDialogRequest request;
        request.filter = "Vortak Input files (*.vok)|*.vok";
        request.confirmOverwrite = false;
        const auto answer = app.prompter.openFileName(request);
        if (!answer) return FileOutcome::Cancelled;
        chosen = *answer;
    }
    std::string text;
    if (const auto error =
            readWholeFile(chosen, text, kMaxModelFileBytes, modelFileTooLargeText())) {
        ClearModel(app.model);
        reportOpenFailure(app, std::string(kOpenError) + " " + *error);
        return FileOutcome::Failed;
    }
    return ReadModelText(app, chosen, text);
}

FileOutcome ReadModelText(AppState& app, const std::string& path, std::string_view text) {
    const std::string& chosen = path;
    ClearModel(app.model);
    ParsedModelFile parsed = parseModelFile(text);
    if (!parsed.content) {
        reportOpenFailure(app, parsed.error.badHeader
                                   ? std::string(kNotAModelFile)
                                   : std::string(kOpenError) + " " + parsed.error.description);
        return FileOutcome::Failed;
    }

    installModel(app, *parsed.content, chosen);
    app.log.LogMessage("Open file: " + chosen, LogColour::Black, true);
    return FileOutcome::Done;
}

FileOutcome WriteModelFile(AppState& app, const std::string& path, bool quiet) {
    std::string chosen = path;
    if (chosen.empty()) {
        const std::string& current = app.model.fileName;
        FileDialogRequest request;
        request.filter = "Vortak files (*.vok)|*.vok";
        request.proposedName = current.empty()      ? std::string("Untitled")
                               : current.size() > 4 ? current.substr(0, current.size() - 4)
                                                    : current;
        request.confirmOverwrite = true;
        const auto answer = app.prompter.saveFileName(request);
        if (!answer) return FileOutcome::Cancelled;
        chosen = withExtension(*answer, ".vok");
    }
    const std::string text = modelFileText(app.model, app.settings, app.view);
    if (const auto error = writeFileAtomically(chosen, text)) {
        const std::string message = std::string(kSaveError) + " " + *error;
        app.prompter.messageBox(message, MessageIcon::Critical, MessageButtons::Ok);
        app.log.LogMessage(message, LogColour::Red, true);
        return FileOutcome::Failed;
    }
    if (!quiet) {
        app.log.LogMessage("Save file: " + chosen, LogColour::Black, true);
        app.model.fileName = chosen;
    }
    return FileOutcome::Done;
}

bool ModelMatchesFile(const AppState& app) {
    if (app.model.fileName.empty()) return false;
    std::string onDisk;
    if (readWholeFile(app.model.fileName, onDisk, kMaxModelFileBytes, modelFileTooLargeText())) {
        return false;
    }
    return sameModelFileFields(onDisk, modelFileText(app.model, app.settings, app.view));
}

}  // namespace vortak
