#include "editing/elements_editor.h"

#include "app/app_state.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "editing/form_support.h"
#include "model/deletion.h"

namespace vortak {

namespace {

constexpr const char* kNew = "(New)";
constexpr const char* kExisting = "(Existing)";

std::string describe(int i, int j, int g) {
    return ", Node i: #" + whole(i) + ", Node j: #" + whole(j) + ", E,A Group: #" + whole(g);
}

}  // namespace

ElementsEditor::ElementsEditor(AppState& app) : app_(app) {}

void ElementsEditor::fillItems() { items = numberItems(app_.model.elementCount + 1); }

void ElementsEditor::moveFocus(Field field) {
    if (!suppressFocus_) focus = field;
}

void ElementsEditor::open(int element) {
    stopAnimation(app_);
    fillItems();
    groupItems = numberItems(app_.model.groupCount);
    nodeItems = numberItems(app_.model.nodeCount);
    const int M = app_.model.elementCount;
    suppressFocus_ = true;
    choose(whole(element >= 1 && element <= M ? element : M + 1));
    suppressFocus_ = false;
}

void ElementsEditor::choose(const std::string& numberText) {
    number = numberText;
    const double v = boxNumber(numberText);
    const Model& m = app_.model;
    const int M = m.elementCount;
    if (v == M + 1) {
        state = kNew;
        group = "1";
        nodeI.clear();
        nodeJ.clear();
    } else if (isNumberUpTo(v, M)) {
        state = kExisting;
        const int k = int(v);
        group = whole(m.groupOf(k));
        nodeI = whole(m.nodeI(k));
        nodeJ = whole(m.nodeJ(k));
    }
    if (isNumberUpTo(v, M)) {
        focus = Field::Apply;
    } else {
        moveFocus(Field::NodeI);
    }
}

void ElementsEditor::chooseGroup(const std::string& groupText) {
    group = groupText;
    moveFocus(Field::NodeI);
}

void ElementsEditor::chooseNodeI(const std::string& nodeText) {
    nodeI = nodeText;
    moveFocus(Field::NodeJ);
}

void ElementsEditor::chooseNodeJ(const std::string& nodeText) {
    nodeJ = nodeText;
    moveFocus(Field::Apply);
}

void ElementsEditor::newElement() {
    choose(whole(app_.model.elementCount + 1));
    focus = Field::NodeI;
}

bool ElementsEditor::elegxos_stoixeion() {
    const Model& m = app_.model;
    const double v = boxNumber(number);
    if (v > kMaxElements) {
        refuse(app_, "The maximum number of elements that can be defined is 200.");
        return false;
    }
    if (!isPositiveWhole(v)) {
        refuse(app_, "The value given for element number is unacceptable.");
        focus = Field::Number;
        return false;
    }
    // Group and node numbers are bounded from above too: an element must never refer to a
    // group or node that does not exist.
    if (!isNumberUpTo(boxNumber(group), m.groupCount)) {
        refuse(app_, "The value given for E,A Group number is unacceptable.");
        focus = Field::Group;
        return false;
    }
    const double i = boxNumber(nodeI);
    if (!isNumberUpTo(i, m.nodeCount)) {
        refuse(app_, "The value given for node i number is unacceptable.");
        focus = Field::NodeI;
        return false;
    }
    const double j = boxNumber(nodeJ);
    if (!isNumberUpTo(j, m.nodeCount)) {
        refuse(app_, "The value given for node j number is unacceptable.");
        focus = Field::NodeJ;
        return false;
    }
    if (i == j) {
        refuse(app_, "Given nodes i and j coincide.");
        focus = Field::NodeI;
        return false;
    }
    return true;
}

void ElementsEditor::apply() {
    if (!elegxos_stoixeion()) return;
    Model& m = app_.model;
    const ModelTables before = m;
    std::string label;
    const double v = boxNumber(number);
    const int i = int(boxNumber(nodeI));
    const int j = int(boxNumber(nodeJ));
    const int g = int(boxNumber(group));
    const Element element{float(i), float(j), float(g)};
    const int M = m.elementCount;
    if (v == M + 1) {
        m.elementCount = M + 1;
        m.setElement(M + 1, element);
        label = "New element #" + whole(M + 1);
        fillItems();
        newElement();
        app_.log.LogMessage("New element #" + whole(M + 1) + describe(i, j, g), LogColour::Navy);
    } else if (v < M + 1) {
        const int k = int(v);
        m.setElement(k, element);
        label = "Edit element #" + whole(k);
        app_.log.LogMessage("* Element #" + whole(k) + describe(i, j, g), LogColour::Navy);
        choose(whole(k + 1));
    }
    recordModelChange(app_, label, before);
    modelChanged(app_);
}

void ElementsEditor::remove() {
    Model& m = app_.model;
    const double v = boxNumber(number);
    const int M = m.elementCount;
    if (v == M + 1) {
        refuse(app_, "Element does not exist to be deleted #" + number + ".");
        return;
    }
    if (!isNumberUpTo(v, M)) {
        // A typed number that names no element.
        refuse(app_, "The value given for element number is unacceptable.");
        focus = Field::Number;
        return;
    }
    const int k = int(v);
    const ModelTables before = m;
    DeleteElement(m, app_.log, k);
    recordModelChange(app_, "Delete element #" + whole(k), before);
    fillItems();
    choose(whole(k));
    backToModelView(app_);
}

}  // namespace vortak
