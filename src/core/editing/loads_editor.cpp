#include "editing/loads_editor.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "editing/form_support.h"

namespace vortak {

namespace {

// The value part of a log line: each non-zero component with its box text as typed.
std::string valuePart(double Fx, const std::string& fxText, double Fy, const std::string& fyText) {
    std::string part;
    if (Fx != 0) part += ", Fx= " + fxText;
    if (Fy != 0) part += ", Fy= " + fyText;
    return part;
}

std::string loadText(float value) { return value == 0 ? std::string() : general(value); }

}  // namespace

LoadsEditor::LoadsEditor(AppState& app) : app_(app) {}

void LoadsEditor::open(int shown) {
    stopAnimation(app_);
    items = numberItems(app_.model.nodeCount);
    rebuildList();
    choose(whole(shown >= 1 && shown <= app_.model.nodeCount ? shown : 1));
}

void LoadsEditor::choose(const std::string& nodeText) {
    node = nodeText;
    loadedRow = -1;
    const double v = boxNumber(nodeText);
    if (!isNumberUpTo(v, app_.model.nodeCount)) return;
    const int k = int(v);
    fx = loadText(app_.model.nodes.Fx[k]);
    fy = loadText(app_.model.nodes.Fy[k]);
    const auto found = std::find(loaded.begin(), loaded.end(), whole(k));
    if (found != loaded.end()) loadedRow = int(found - loaded.begin());
}

void LoadsEditor::enterInNode(const std::string& nodeText) {
    choose(nodeText);
    focus = Field::Fx;
}

void LoadsEditor::chooseListed(int row) {
    if (row >= 0 && row < int(loaded.size())) choose(loaded[std::size_t(row)]);
}

void LoadsEditor::rebuildList() {
    const Model& m = app_.model;
    loaded.clear();
    for (int k = 1; k <= m.nodeCount; ++k) {
        if (m.nodes.Fx[k] != 0 || m.nodes.Fy[k] != 0) loaded.push_back(whole(k));
    }
    loadedCaption = "Nodes with loads on:" + classic(double(loaded.size()));
}

bool LoadsEditor::nodeIsValid() {
    if (isNumberUpTo(boxNumber(node), app_.model.nodeCount)) return true;
    refuse(app_, "The value given for node number is unacceptable.");
    focus = Field::Node;
    return false;
}

bool LoadsEditor::loadFits(const std::string& text, const char* name, Field field) {
    // The model keeps loads in single precision; a value beyond it would be stored as an
    // infinity.
    if (fitsInFloat(boxNumber(text))) return true;
    refuse(app_, std::string("The value given for ") + name + " is unacceptable.");
    focus = field;
    return false;
}

void LoadsEditor::apply() {
    if (!nodeIsValid()) return;
    if (!loadFits(fx, "Fx", Field::Fx) || !loadFits(fy, "Fy", Field::Fy)) return;
    Model& m = app_.model;
    const int k = int(boxNumber(node));
    const ModelTables tablesBefore = m;
    const NodalLoad before = m.load(k);
    const double Fx = boxNumber(fx);
    const double Fy = boxNumber(fy);
    m.setLoad(k, {float(Fx), float(Fy)});

    const bool wasLoaded = before.Fx != 0 || before.Fy != 0;
    const bool isLoaded = Fx != 0 || Fy != 0;
    if (Fx == double(before.Fx) && Fy == double(before.Fy)) {
        // Unchanged: nothing to report.
    } else if (!wasLoaded) {
        app_.log.LogMessage("New loads on node #" + node + valuePart(Fx, fx, Fy, fy),
                            LogColour::Navy);
    } else if (!isLoaded) {
        app_.log.LogMessage("Loads deleted on node #" + node, LogColour::Green);
    } else {
        app_.log.LogMessage("* Loads on node #" + node + valuePart(Fx, fx, Fy, fy),
                            LogColour::Navy);
    }

    recordModelChange(app_, (isLoaded ? "Loads on node #" : "Delete loads on node #") + whole(k),
                      tablesBefore);
    rebuildList();
    choose(whole(k < m.nodeCount ? k + 1 : 1));
    focus = Field::Fx;
    modelChanged(app_);
}

void LoadsEditor::remove() {
    if (!nodeIsValid()) return;
    // Decided from what the boxes show, not from the stored load.
    if (boxNumber(fx) == 0 && boxNumber(fy) == 0) {
        refuse(app_, "There is no load to delete on node #" + node);
        focus = Field::Apply;
        return;
    }
    fx.clear();
    fy.clear();
    apply();
}

}  // namespace vortak
