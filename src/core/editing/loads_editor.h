#pragma once

// What the nodal loads dialog decides: the node shown, its Fx and Fy texts, the list of
// loaded nodes and what Apply and Delete do to the model. The dialog window only shows
// this state and passes the user's actions on.

#include <string>
#include <vector>

namespace vortak {

struct AppState;

class LoadsEditor {
public:
    enum class Field { None, Node, Fx, Fy, Apply };

    explicit LoadsEditor(AppState& app);

    // The dialog opens on node `shown`, or on node 1 when there is no such node.
    void open(int shown = 1);
    // A node chosen in the node box (typing alone loads nothing).
    void choose(const std::string& nodeText);
    // Enter in the node box: the typed node is chosen and its Fx box is next.
    void enterInNode(const std::string& nodeText);
    // A node picked from the list of loaded nodes.
    void chooseListed(int row);
    // Enter in the Fx and Fy boxes.
    void enterInFx() { focus = Field::Fy; }
    void enterInFy() { focus = Field::Apply; }
    void apply();
    void remove();

    // The controls.
    std::vector<std::string> items;   // node numbers 1 .. node count
    std::string node;                 // the node box text
    std::string fx, fy;               // empty for a zero load
    std::vector<std::string> loaded;  // the nodes whose Fx or Fy is not 0, in order
    std::string loadedCaption;        // "Nodes with loads on: 3"
    int loadedRow = -1;               // the shown node's row in `loaded`, -1 if absent
    Field focus = Field::None;

private:
    bool nodeIsValid();
    bool loadFits(const std::string& text, const char* name, Field field);
    void rebuildList();

    AppState& app_;
};

}  // namespace vortak
