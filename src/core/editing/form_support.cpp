#include "editing/form_support.h"

#include <cmath>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/shell.h"
#include "base/number_text.h"

namespace vortak {

std::vector<std::string> numberItems(int count) {
    std::vector<std::string> items;
    items.reserve(std::size_t(count > 0 ? count : 0));
    for (int k = 1; k <= count; ++k) items.push_back(whole(k));
    return items;
}

double boxNumber(const std::string& text) { return readNumber(text); }

bool isPositiveWhole(double value) {
    return std::isfinite(value) && value >= 1 && value == std::floor(value);
}

bool isNumberUpTo(double value, int limit) { return isPositiveWhole(value) && value <= limit; }

void refuse(AppState& app, const std::string& text) {
    app.prompter.messageBox(text, MessageIcon::Exclamation, MessageButtons::Ok);
    app.log.LogMessage(text, LogColour::Red);
}

void modelChanged(AppState& app) {
    app.model.changed = true;
    app.shell.redraw();
}

void backToModelView(AppState& app) {
    app.model.changed = true;
    Button_Foreas(app);  // model view, result controls hidden, redraw
}

}  // namespace vortak
