#pragma once

// What the nodes dialog decides: the state of its controls and what New, Apply and Delete
// do to the model. Loads are not touched here (the nodal loads dialog edits them).

#include <string>
#include <vector>

namespace vortak {

struct AppState;

class NodesEditor {
public:
    enum class Field { None, Number, X, Y, Kx, Ky, Apply };

    explicit NodesEditor(AppState& app);

    // Opens on node `node`, or on the new-node number when `node` is 0.
    void open(int node = 0);
    // A number chosen from the list (typing alone loads nothing).
    void choose(const std::string& numberText);
    void newNode();
    void apply();
    void remove();

    // A direction is either fixed or carried by a spring: fixing it empties its spring
    // constant, and a positive constant frees it.
    void setFixX(bool fixed);
    void setFixY(bool fixed);
    void setKx(const std::string& text);
    void setKy(const std::string& text);
    // The support picture steps through free, x fixed, y fixed, both fixed.
    void cyclePicture();
    // 1 free, 2 x fixed, 3 y fixed, 4 both fixed.
    int picture() const { return 1 + (fixX ? 1 : 0) + (fixY ? 2 : 0); }
    void enterInX() { focus = Field::Y; }
    void enterInY() { focus = Field::Apply; }

    // The controls.
    std::vector<std::string> items;  // 1 .. count+1
    std::string number;
    std::string state;  // "(New)" or "(Existing)"
    std::string x, y, kx, ky;
    bool fixX = false, fixY = false;
    Field focus = Field::None;

private:
    bool elegxos_kombon();
    void fillItems();
    void clearBoxes();
    std::string describe(int n) const;

    AppState& app_;
    bool suppressFocus_ = false;
};

}  // namespace vortak
