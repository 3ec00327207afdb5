#pragma once

// What the E,A groups dialog decides: the state of its controls and what New, Apply and
// Delete do to the model. The dialog window only shows this state and passes the user's
// actions on.

#include <string>
#include <vector>

namespace vortak {

struct AppState;

class GroupsEditor {
public:
    enum class Field { None, Number, E, A, Apply };

    explicit GroupsEditor(AppState& app);

    // The dialog opens on the new-group number.
    void open();
    // A number chosen from the list (typing alone loads nothing).
    void choose(const std::string& numberText);
    void newGroup();
    void apply();
    void remove();
    // Enter in the E and A boxes.
    void enterInE() { focus = Field::A; }
    void enterInA() { focus = Field::Apply; }

    // The controls.
    std::vector<std::string> items;  // 1 .. count+1
    std::string number;              // the number box text
    std::string state;               // "(New)" or "(Existing)"
    std::string e, a;
    Field focus = Field::None;

private:
    bool elegxos_omadon();
    void fillItems();

    AppState& app_;
    bool suppressFocus_ = false;
};

}  // namespace vortak
