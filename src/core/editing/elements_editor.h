#pragma once

// What the elements dialog decides: the state of its four number boxes and what New, Apply
// and Delete do to the model. The dialog window only shows this state and passes the
// user's actions on.

#include <string>
#include <vector>

namespace vortak {

struct AppState;

class ElementsEditor {
public:
    enum class Field { None, Number, Group, NodeI, NodeJ, Apply };

    explicit ElementsEditor(AppState& app);

    // The dialog opens on the new-element number, or on element `element` when it exists.
    void open(int element = 0);
    // A number chosen from the element list (typing alone loads nothing).
    void choose(const std::string& numberText);
    // Choices in the group and node boxes, each handing the focus to the next box.
    void chooseGroup(const std::string& groupText);
    void chooseNodeI(const std::string& nodeText);
    void chooseNodeJ(const std::string& nodeText);
    void newElement();
    void apply();
    void remove();

    // The controls.
    std::vector<std::string> items;       // element numbers 1 .. count+1
    std::vector<std::string> groupItems;  // 1 .. group count
    std::vector<std::string> nodeItems;   // 1 .. node count, for both node boxes
    std::string number;                   // the element number box text
    std::string state;                    // "(New)" or "(Existing)"
    std::string group, nodeI, nodeJ;      // box texts; empty node boxes read as 0
    Field focus = Field::None;

private:
    bool elegxos_stoixeion();
    void fillItems();
    void moveFocus(Field field);

    AppState& app_;
    bool suppressFocus_ = false;
};

}  // namespace vortak
