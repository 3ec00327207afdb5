#pragma once

// What core commands need from the window around them besides questions (those go
// through Prompter): progress signs, redraws and the clocks. Every hook has a harmless
// default so that headless callers (tests, the command-line tool) override only what they
// care about.

#include <string>

namespace vortak {

class Shell {
public:
    virtual ~Shell() = default;

    virtual void setBusyPointer(bool /*busy*/) {}
    virtual void setAnalyzeEnabled(bool /*enabled*/) {}
    // Redraw the drawing area in the current view.
    virtual void redraw() {}
    // The elements only, while the view is dragged.
    virtual void quickRedraw() {}
    // Show the message log's latest lines now, before a long step.
    virtual void refreshLog() {}

    // Seconds from a monotonic clock, for elapsed times.
    virtual double monotonicSeconds();
    // The time of day as the log shows it.
    virtual std::string timeOfDay();
    // The weekday, a blank and the date and time in the short form (start-up log line).
    virtual std::string weekdayDateTime();
};

}  // namespace vortak
