#pragma once

// The node tools: merging two nodes into one, moving a range of nodes by an offset, and
// the two checks for coincident nodes and coincident elements.

#include <string>
#include <vector>

namespace vortak {

struct AppState;

// False (after saying so) when the model has no node to work on.
bool haveNodes(AppState& app);

class MergeEditor {
public:
    explicit MergeEditor(AppState& app);
    // Both boxes on node 1; false when there are no nodes.
    bool open();
    void apply();

    std::vector<std::string> items;  // 1 .. node count
    std::string nodeB, nodeA;        // B is merged into A
    bool deleteB = false;
    bool moveToMiddle = false;

private:
    AppState& app_;
};

class MoveEditor {
public:
    explicit MoveEditor(AppState& app);
    // From node 1 to the last node; false when there are no nodes.
    bool open();
    void apply();

    std::vector<std::string> items;
    std::string from, to, dx, dy;

private:
    AppState& app_;
};

void checkCoincidentNodes(AppState& app);
void checkCoincidentElements(AppState& app);

}  // namespace vortak
