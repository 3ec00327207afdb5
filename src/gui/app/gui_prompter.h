#pragma once

// Questions of the core asked with the toolkit's message boxes and file dialogs.

#include <QPointer>
#include <QWidget>

#include "base/prompter.h"

namespace vortak {

class GuiPrompter : public Prompter {
public:
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer messageBox(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt,
                                        const std::string& initialText) override;
    std::optional<std::string> openFileName(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest& request) override;

private:
    QPointer<QWidget> parent_;
};

// "Text files (*.txt)|*.txt|All files (*.*)|*.*" as a file dialog's name filters.
QString dialogFilter(const std::string& filter);

}  // namespace vortak
