#pragma once

// Everything the core needs to ask the user goes through this interface. The desktop
// program answers with real dialogs; tests answer with ScriptedPrompter.

#include <optional>
#include <string>

namespace vortak {

// The title of every message box and input box.
inline constexpr const char* kProgramTitle = "Malvero Vortak";

enum class MessageIcon { None, Critical, Exclamation, Information, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    std::string title;             // empty: the desktop's own title
    std::string filter;            // "Description (*.ext)|*.ext|..." pairs
    std::string proposedName;      // file name offered in a save dialog
    std::string initialDirectory;  // empty: the process's current directory
    bool confirmOverwrite = true;  // save dialogs ask before replacing a file
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer messageBox(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) = 0;
    // A text-input box; nullopt when the user cancels.
    virtual std::optional<std::string> inputBox(const std::string& prompt,
                                                const std::string& initialText) = 0;
    // File-name questions; nullopt when the user cancels.
    virtual std::optional<std::string> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogRequest& request) = 0;

    // Convenience for the common one-button notice.
    void notify(const std::string& text, MessageIcon icon) {
        messageBox(text, icon, MessageButtons::Ok);
    }
};

}  // namespace vortak
