#pragma once

// The message log below the drawing: a growing coloured text that nearly every command
// writes to. The log is kept here as data; the window only shows it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/colour.h"

namespace vortak {

enum class LogColour : std::int16_t { Black = 0, Navy = 1, Green = 2, Red = 3, Grey = 4 };

Colour logColourRgb(LogColour colour);

// One inserted run of text with its own colour and face. A new-line entry inserts
// CR LF, one blank and the text; a same-line entry inserts one blank and the text.
struct LogRun {
    std::string text;
    LogColour colour = LogColour::Black;
    bool bold = false;
};

class MessageLog {
public:
    void LogMessage(std::string_view text, LogColour colour = LogColour::Black, bool bold = false,
                    bool sameLine = false);

    const std::vector<LogRun>& runs() const { return runs_; }

    // The whole text exactly as the log control holds it (CR LF line breaks).
    std::string plainText() const;
    // The text split at its line breaks; the first element is the (normally empty) text
    // before the first break. Handy for tests and for printing on a terminal.
    std::vector<std::string> lines() const;
    // The last line, without its line break (empty for an empty log).
    std::string lastLine() const;

    // Forgets every run (the command-line tool starts each model of a batch afresh).
    void clear() { runs_.clear(); }

    // Called after every insertion with the new run; the log window uses it to append.
    void setListener(std::function<void(const LogRun&)> listener) {
        listener_ = std::move(listener);
    }

private:
    std::vector<LogRun> runs_;
    std::function<void(const LogRun&)> listener_;
};

}  // namespace vortak
