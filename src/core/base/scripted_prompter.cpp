#include "scripted_prompter.h"

namespace vortak {

Answer ScriptedPrompter::messageBox(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
    questions_.push_back({Kind::Message, text, icon, buttons, {}, {}});
    if (!answers_.empty()) {
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if (buttons == MessageButtons::Ok) return Answer::Ok;  // nothing to decide
    return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> ScriptedPrompter::inputBox(const std::string& prompt,
                                                      const std::string& initialText) {
    questions_.push_back(
        {Kind::Input, prompt, MessageIcon::None, MessageButtons::OkCancel, initialText, {}});
    if (inputs_.empty()) return std::nullopt;
    auto text = std::move(inputs_.front());
    inputs_.pop_front();
    return text;
}

std::optional<std::string> ScriptedPrompter::nextFileName(Kind kind,
                                                          const FileDialogRequest& request) {
    questions_.push_back(
        {kind, request.title, MessageIcon::None, MessageButtons::OkCancel, {}, request});
    if (fileNames_.empty()) return std::nullopt;
    auto path = std::move(fileNames_.front());
    fileNames_.pop_front();
    return path;
}

std::optional<std::string> ScriptedPrompter::openFileName(const FileDialogRequest& request) {
    return nextFileName(Kind::OpenFile, request);
}

std::optional<std::string> ScriptedPrompter::saveFileName(const FileDialogRequest& request) {
    return nextFileName(Kind::SaveFile, request);
}

}  // namespace vortak
