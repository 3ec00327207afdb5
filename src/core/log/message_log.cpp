#include "message_log.h"

namespace vortak {

Colour logColourRgb(LogColour colour) {
    switch (colour) {
        case LogColour::Navy:
            return packColour(0, 0, 128);
        case LogColour::Green:
            return packColour(0, 128, 0);
        case LogColour::Red:
            return packColour(255, 0, 0);
        case LogColour::Grey:
            return packColour(128, 128, 128);
        case LogColour::Black:
            break;
    }
    return packColour(0, 0, 0);
}

void MessageLog::LogMessage(std::string_view text, LogColour colour, bool bold, bool sameLine) {
    LogRun run;
    run.text.reserve(text.size() + 3);
    run.text = sameLine ? " " : "\r\n ";
    run.text.append(text);
    run.colour = colour;
    run.bold = bold;
    runs_.push_back(std::move(run));
    if (listener_) listener_(runs_.back());
}

std::string MessageLog::plainText() const {
    std::string text;
    for (const LogRun& run : runs_) text += run.text;
    return text;
}

std::vector<std::string> MessageLog::lines() const {
    std::vector<std::string> result(1);
    for (const LogRun& run : runs_) {
        std::string_view rest = run.text;
        for (;;) {
            const std::size_t brk = rest.find("\r\n");
            if (brk == std::string_view::npos) {
                result.back().append(rest);
                break;
            }
            result.back().append(rest.substr(0, brk));
            result.emplace_back();
            rest.remove_prefix(brk + 2);
        }
    }
    return result;
}

std::string MessageLog::lastLine() const { return lines().back(); }

}  // namespace vortak
