#pragma once

// A Prompter that never blocks: it records every question and answers from queues filled
// in advance. An unscripted question gets the safest answer (Cancel, No or Ok, nothing
// typed or chosen).

#include <deque>
#include <string>
#include <vector>

#include "prompter.h"

namespace vortak {

class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Message, Input, OpenFile, SaveFile };

    struct Question {
        Kind kind = Kind::Message;
        std::string text;  // message text or input prompt
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
        std::string initialText;    // input boxes
        FileDialogRequest request;  // file dialogs
    };

    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    void queueFileName(std::optional<std::string> path) { fileNames_.push_back(std::move(path)); }

    const std::vector<Question>& questions() const { return questions_; }
    void clear() {
        questions_.clear();
        answers_.clear();
        inputs_.clear();
        fileNames_.clear();
    }

    Answer messageBox(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> openFileName(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override;

private:
    std::optional<std::string> nextFileName(Kind kind, const FileDialogRequest& request);

    std::vector<Question> questions_;
    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::optional<std::string>> fileNames_;
};

}  // namespace vortak
