#include "editing/nodes_editor.h"

#include "app/app_state.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "editing/form_support.h"
#include "model/deletion.h"
#include "model/field_limits.h"

namespace vortak {

namespace {

constexpr const char* kNew = "(New)";
constexpr const char* kExisting = "(Existing)";

bool usesNode(const Model& m, int e, int n) { return m.nodeI(e) == n || m.nodeJ(e) == n; }

}  // namespace

NodesEditor::NodesEditor(AppState& app) : app_(app) {}

void NodesEditor::fillItems() { items = numberItems(app_.model.nodeCount + 1); }

void NodesEditor::clearBoxes() {
    x.clear();
    y.clear();
    kx.clear();
    ky.clear();
    fixX = fixY = false;
}

void NodesEditor::open(int node) {
    stopAnimation(app_);
    fillItems();
    suppressFocus_ = true;
    const bool existing = node >= 1 && node <= app_.model.nodeCount;
    choose(whole(existing ? node : app_.model.nodeCount + 1));
    suppressFocus_ = false;
}

void NodesEditor::choose(const std::string& numberText) {
    number = numberText;
    const double v = boxNumber(numberText);
    const Model& m = app_.model;
    const int N = m.nodeCount;
    if (v == N + 1) {
        state = kNew;
        clearBoxes();
    } else if (v < N + 1 && isPositiveWhole(v)) {
        state = kExisting;
        const int n = int(v);
        x = general(m.nodes.x[n]);
        y = general(m.nodes.y[n]);
        kx = m.nodes.Kx[n] > 0 ? general(m.nodes.Kx[n]) : std::string();
        ky = m.nodes.Ky[n] > 0 ? general(m.nodes.Ky[n]) : std::string();
        fixX = m.nodes.cx[n] == 1.0f;
        fixY = m.nodes.cy[n] == 1.0f;
    }
    if (isPositiveWhole(v) && v < N + 1) {
        focus = Field::Apply;
    } else if (!suppressFocus_) {
        focus = Field::X;
    }
}

void NodesEditor::newNode() {
    number = whole(app_.model.nodeCount + 1);
    state = kNew;
    clearBoxes();
    focus = Field::X;
}

void NodesEditor::setFixX(bool fixed) {
    fixX = fixed;
    if (fixed) kx.clear();
}

void NodesEditor::setFixY(bool fixed) {
    fixY = fixed;
    if (fixed) ky.clear();
}

void NodesEditor::setKx(const std::string& text) {
    kx = text;
    if (boxNumber(text) > 0) fixX = false;
}

void NodesEditor::setKy(const std::string& text) {
    ky = text;
    if (boxNumber(text) > 0) fixY = false;
}

void NodesEditor::cyclePicture() {
    // free -> x -> y -> both -> free
    const int next = picture() % 4 + 1;
    setFixX(next == 2 || next == 4);
    setFixY(next == 3 || next == 4);
}

bool NodesEditor::elegxos_kombon() {
    const Model& m = app_.model;
    const double v = boxNumber(number);
    if (v > kMaxNodes) {
        refuse(app_, "The maximum number of nodes that can be defined is 100.");
        return false;
    }
    // Coordinates beyond their range would make element lengths infinite.
    const double X = boxNumber(x);
    const double Y = boxNumber(y);
    if (!isStorableCoordinate(X)) {
        refuse(app_, "The value given for coordinate x is unacceptable.");
        focus = Field::X;
        return false;
    }
    if (!isStorableCoordinate(Y)) {
        refuse(app_, "The value given for coordinate y is unacceptable.");
        focus = Field::Y;
        return false;
    }
    for (int i = 1; i <= m.nodeCount; ++i) {
        if (double(i) == v) continue;
        if (m.nodes.x[i] == float(X) && m.nodes.y[i] == float(Y)) {
            refuse(app_, "At (" + general(m.nodes.x[i]) + ", " + general(m.nodes.y[i]) +
                             ") there is already node #" + whole(i) + ". ");
            focus = Field::X;
            return false;
        }
    }
    if (!isPositiveWhole(v)) {
        refuse(app_, "The value given for node number is unacceptable.");
        focus = Field::Number;
        return false;
    }
    const double Kx = boxNumber(kx);
    const double Ky = boxNumber(ky);
    if (Kx < 0 || Ky < 0) {
        refuse(app_, "The elastic constants cannot have negative values.");
        focus = Kx < 0 ? Field::Kx : Field::Ky;
        return false;
    }
    if (!fitsInFloat(Kx)) {
        refuse(app_, "The value given for elastic constant Kx is unacceptable.");
        focus = Field::Kx;
        return false;
    }
    if (!fitsInFloat(Ky)) {
        refuse(app_, "The value given for elastic constant Ky is unacceptable.");
        focus = Field::Ky;
        return false;
    }
    return true;
}

std::string NodesEditor::describe(int n) const {
    const Model& m = app_.model;
    std::string text = ", x=" + classic(m.nodes.x[n]) + ", y=" + classic(m.nodes.y[n]);
    const bool cx = m.nodes.cx[n] == 1.0f;
    const bool cy = m.nodes.cy[n] == 1.0f;
    if (cx || cy) {
        text += std::string(", Constraints: ") + (cx ? "x" : "o") + (cy ? "x" : "o");
    } else {
        text += ", Free";
    }
    const float Kx = m.nodes.Kx[n];
    const float Ky = m.nodes.Ky[n];
    if (Kx > 0 || Ky > 0) {
        text += ", ";
        if (Kx > 0) text += "Kx= " + general(Kx);
        if (Kx > 0 && Ky > 0) text += ", ";
        if (Ky > 0) text += "Ky= " + general(Ky);
    }
    return text;
}

void NodesEditor::apply() {
    if (!elegxos_kombon()) return;
    Model& m = app_.model;
    const ModelTables before = m;
    const double v = boxNumber(number);
    const int N = m.nodeCount;
    std::string label;
    const auto store = [&](int n) {
        m.nodes.x[n] = float(boxNumber(x));
        m.nodes.y[n] = float(boxNumber(y));
        m.nodes.cx[n] = fixX ? 1.0f : 0.0f;
        m.nodes.cy[n] = fixY ? 1.0f : 0.0f;
        m.nodes.Kx[n] = float(boxNumber(kx));
        m.nodes.Ky[n] = float(boxNumber(ky));
    };
    if (v == N + 1) {
        m.nodeCount = N + 1;
        store(N + 1);
        label = "New node #" + whole(N + 1);
        app_.log.LogMessage("New node #" + whole(N + 1) + describe(N + 1), LogColour::Navy);
        fillItems();
        newNode();
    } else if (v < N + 1) {
        const int k = int(v);
        store(k);
        label = "Edit node #" + whole(k);
        app_.log.LogMessage("* Node #" + number + describe(k), LogColour::Navy);
        choose(whole(k + 1));
    }
    recordModelChange(app_, label, before);
    modelChanged(app_);
}

void NodesEditor::remove() {
    Model& m = app_.model;
    const double v = boxNumber(number);
    const int N = m.nodeCount;
    if (v == N + 1) {
        refuse(app_, "There is no node to be deleted #" + number + ".");
        return;
    }
    if (!isNumberUpTo(v, N)) {
        refuse(app_, "The value given for node number is unacceptable.");
        focus = Field::Number;
        return;
    }
    const int n = int(v);
    const ModelTables before = m;
    for (int e = 1; e <= m.elementCount; ++e) {
        if (!usesNode(m, e, n)) continue;
        const std::string warning =
            "There are elements connected to the node, that must also be deleted.";
        const Answer answer =
            app_.prompter.messageBox(warning + "\r\nDo you want the deletion process to proceed?",
                                     MessageIcon::Exclamation, MessageButtons::OkCancel);
        app_.log.LogMessage(warning, LogColour::Red);
        if (answer != Answer::Ok) return;
        break;
    }
    for (int e = 1; e <= m.elementCount;) {
        if (usesNode(m, e, n)) {
            DeleteElement(m, app_.log, e);
        } else {
            ++e;
        }
    }
    DeleteNode(m, app_.log, n);
    recordModelChange(app_, "Delete node #" + whole(n), before);
    fillItems();
    choose(whole(n));
    backToModelView(app_);
}

}  // namespace vortak
