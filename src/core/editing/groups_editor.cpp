#include "editing/groups_editor.h"

#include <cmath>

#include "app/app_state.h"
#include "app/undo.h"
#include "app/window_state.h"
#include "base/number_text.h"
#include "editing/form_support.h"
#include "model/deletion.h"
#include "model/field_limits.h"

namespace vortak {

namespace {

constexpr const char* kNew = "(New)";
constexpr const char* kExisting = "(Existing)";

}  // namespace

GroupsEditor::GroupsEditor(AppState& app) : app_(app) {}

void GroupsEditor::fillItems() { items = numberItems(app_.model.groupCount + 1); }

void GroupsEditor::open() {
    stopAnimation(app_);
    fillItems();
    suppressFocus_ = true;
    choose(whole(app_.model.groupCount + 1));
    suppressFocus_ = false;
}

void GroupsEditor::choose(const std::string& numberText) {
    number = numberText;
    const double v = boxNumber(numberText);
    const int G = app_.model.groupCount;
    if (v == G + 1) {
        state = kNew;
        e.clear();
        a.clear();
    } else if (v < G + 1 && isPositiveWhole(v)) {
        state = kExisting;
        const int g = int(v);
        e = general(app_.model.groups.E[g]);
        a = general(app_.model.groups.A[g]);
    }
    if (isPositiveWhole(v) && v < G + 1) {
        focus = Field::Apply;
    } else if (!suppressFocus_) {
        focus = Field::E;
    }
}

void GroupsEditor::newGroup() {
    choose(whole(app_.model.groupCount + 1));
    focus = Field::E;
}

bool GroupsEditor::elegxos_omadon() {
    const double v = boxNumber(number);
    if (v > kMaxGroups) {
        refuse(app_, "The maximum number of Groups that can be defined is 50.");
        return false;
    }
    if (!isPositiveWhole(v)) {
        refuse(app_, "The value given for Group number is unacceptable.");
        focus = Field::Number;
        return false;
    }
    const double E = boxNumber(e);
    if (!isValidSectionValue(E)) {
        refuse(app_, "The value given for Youngs Modulus E is unacceptable.");
        focus = Field::E;
        return false;
    }
    const double A = boxNumber(a);
    if (!isValidSectionValue(A)) {
        refuse(app_, "The value given for Section area A is unacceptable.");
        focus = Field::A;
        return false;
    }
    return true;
}

void GroupsEditor::apply() {
    if (!elegxos_omadon()) return;
    Model& m = app_.model;
    const ModelTables before = m;
    std::string label;
    const double v = boxNumber(number);
    const double E = boxNumber(e);
    const double A = boxNumber(a);
    const int G = m.groupCount;
    if (v == G + 1) {
        m.groupCount = G + 1;
        m.setGroup(G + 1, {E, A});
        label = "New group #" + whole(G + 1);
        fillItems();
        newGroup();
        app_.log.LogMessage(
            "New group #" + whole(G + 1) + ", E= " + general(E) + ", A= " + general(A),
            LogColour::Navy);
    } else if (v < G + 1) {
        const int k = int(v);
        m.setGroup(k, {E, A});
        label = "Edit group #" + whole(k);
        app_.log.LogMessage("* Group #" + whole(k) + ", E= " + general(E) + ", A= " + general(A),
                            LogColour::Navy);
        choose(whole(k + 1));
    }
    recordModelChange(app_, label, before);
    modelChanged(app_);
}

void GroupsEditor::remove() {
    Model& m = app_.model;
    const double v = boxNumber(number);
    const int G = m.groupCount;
    if (v == G + 1) {
        refuse(app_, "There is no Group #" + number + " to delete.");
        return;
    }
    if (!isNumberUpTo(v, G)) {
        // A typed number that names no group.
        refuse(app_, "The value given for Group number is unacceptable.");
        focus = Field::Number;
        return;
    }
    const int g = int(v);
    for (int k = 1; k <= m.elementCount; ++k) {
        if (m.groupOf(k) == g) {
            refuse(app_, "Group #" + whole(g) +
                             " cannot be deleted since there are elements belonging to it.");
            return;
        }
    }
    const ModelTables before = m;
    DeleteGroup(m, app_.log, g);
    recordModelChange(app_, "Delete group #" + whole(g), before);
    fillItems();
    choose(whole(g));
    app_.window.optionsVisible = false;
    modelChanged(app_);
}

}  // namespace vortak
