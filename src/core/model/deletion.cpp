#include "model/deletion.h"

#include <string>

#include "base/number_text.h"
#include "log/message_log.h"
#include "model/model.h"

namespace vortak {

namespace {

// "<Entity> deleted: #n. <Entities> renumbered: #n+1[ to #count]."
std::string deletionMessage(const char* entity, const char* entities, int deleted,
                            int countBefore) {
    std::string text = std::string(entity) + " deleted: #" + whole(deleted) + ".";
    if (deleted < countBefore) {
        text += " ";
        text += std::string(entities) + " renumbered: #" + whole(deleted + 1);
        if (deleted < countBefore - 1) text += " to #" + whole(countBefore);
        text += ".";
    }
    return text;
}

// Moves rows from+1..last of each column down by one and zeroes row `last`.
template <typename Column>
void closeGap(Column& column, int removed, int last) {
    for (int k = removed + 1; k <= last; ++k) column[k - 1] = column[k];
    column[last] = 0;
}

}  // namespace

void DeleteNode(Model& model, MessageLog& log, int n) {
    const int count = model.nodeCount;
    NodeTable& t = model.nodes;
    for (auto* column : {&t.x, &t.y, &t.cx, &t.cy, &t.Fx, &t.Fy, &t.Kx, &t.Ky}) {
        closeGap(*column, n, count);
    }
    log.LogMessage(deletionMessage("Node", "Nodes", n, count), LogColour::Green);
    ElementTable& e = model.elements;
    for (int k = 1; k <= model.elementCount; ++k) {
        if (toIndex(e.i[k]) > n) e.i[k] -= 1.0f;
        if (toIndex(e.j[k]) > n) e.j[k] -= 1.0f;
    }
    model.nodeCount = count - 1;
    model.changed = true;
}

void DeleteElement(Model& model, MessageLog& log, int n) {
    const int count = model.elementCount;
    ElementTable& t = model.elements;
    for (auto* column : {&t.i, &t.j, &t.group}) closeGap(*column, n, count);
    log.LogMessage(deletionMessage("Element", "Elements", n, count), LogColour::Green);
    model.elementCount = count - 1;
    model.changed = true;
}

void DeleteGroup(Model& model, MessageLog& log, int g) {
    const int count = model.groupCount;
    closeGap(model.groups.E, g, count);
    closeGap(model.groups.A, g, count);
    ElementTable& e = model.elements;
    for (int k = 1; k <= model.elementCount; ++k) {
        if (toIndex(e.group[k]) > g) e.group[k] -= 1.0f;
    }
    log.LogMessage(deletionMessage("Group", "Groups", g, count), LogColour::Green);
    model.groupCount = count - 1;
}

}  // namespace vortak
