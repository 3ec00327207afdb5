#include "editing/node_tools.h"

#include <cmath>
#include <vector>

#include "app/app_state.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "editing/form_support.h"
#include "model/deletion.h"
#include "model/field_limits.h"

namespace vortak {

namespace {

constexpr const char* kBadNodeNumber = "The value given for node number is unacceptable.";
constexpr double kDefaultTolerance = 0.00001;
constexpr double kMaxTolerance = 0.001;

bool joins(const Model& m, int e, int a, int b) {
    return (m.nodeI(e) == a && m.nodeJ(e) == b) || (m.nodeI(e) == b && m.nodeJ(e) == a);
}

}  // namespace

bool haveNodes(AppState& app) {
    if (app.model.nodeCount > 0) return true;
    refuse(app, "No nodes have been defined yet.");
    return false;
}

MergeEditor::MergeEditor(AppState& app) : app_(app) {}

bool MergeEditor::open() {
    stopAnimation(app_);
    if (!haveNodes(app_)) return false;
    items = numberItems(app_.model.nodeCount);
    nodeA = nodeB = "1";
    return true;
}

void MergeEditor::apply() {
    Model& m = app_.model;
    const double a = boxNumber(nodeA);
    const double b = boxNumber(nodeB);
    if (!isNumberUpTo(a, m.nodeCount) || !isNumberUpTo(b, m.nodeCount)) {
        refuse(app_, kBadNodeNumber);
        return;
    }
    const int A = int(a);
    const int B = int(b);
    if (A == B) return;

    // Element deletions the user agreed to stay, even when a later question is cancelled:
    // they are one step to undo with the rest.
    const ModelTables before = m;
    const std::string label = "Merge nodes #" + whole(A) + " and #" + whole(B);
    for (int e = 1; e <= m.elementCount;) {
        if (!joins(m, e, A, B)) {
            ++e;
            continue;
        }
        const std::string sentence =
            "Between nodes to be merged there is element #" + whole(e) + ".";
        const Answer answer = app_.prompter.messageBox(
            sentence +
                "\r\nDo you want this element to be deleted in order for the nodes to "
                "be merged?",
            MessageIcon::Question, MessageButtons::OkCancel);
        app_.log.LogMessage(sentence, LogColour::Red);
        if (answer != Answer::Ok) {
            if (recordModelChange(app_, label, before)) modelChanged(app_);
            return;
        }
        DeleteElement(m, app_.log, e);  // the element behind it takes number e: look again
    }
    std::vector<bool> reattached(std::size_t(m.elementCount) + 1, false);
    for (int e = 1; e <= m.elementCount; ++e) {
        reattached[std::size_t(e)] = m.nodeI(e) == B || m.nodeJ(e) == B;
        if (m.nodeI(e) == B) m.elements.i[e] = float(A);
        if (m.nodeJ(e) == B) m.elements.j[e] = float(A);
    }
    if (moveToMiddle) {
        m.nodes.x[A] = storedCoordinate((double(m.nodes.x[B]) + double(m.nodes.x[A])) / 2);
        m.nodes.y[A] = storedCoordinate((double(m.nodes.y[B]) + double(m.nodes.y[A])) / 2);
    }
    app_.log.LogMessage("Node #" + whole(B) + " merged in node #" + whole(A) + ".",
                        LogColour::Navy);
    if (moveToMiddle) {
        // The last letter is a capital Beta, as the program has always written it.
        app_.log.LogMessage("Node #" + whole(A) + " moved to the middle of segment A\xCE\x92.",
                            LogColour::Navy);
    }
    // Two bars that both joined A and a third node C now both join A and C: the member's
    // stiffness would count twice. Said at once; the coincident elements check removes one.
    for (int e = 1; e <= m.elementCount; ++e) {
        for (int f = e + 1; f <= m.elementCount; ++f) {
            if (!reattached[std::size_t(e)] && !reattached[std::size_t(f)]) continue;
            if (joins(m, f, m.nodeI(e), m.nodeJ(e))) {
                app_.log.LogMessage(
                    "Elements #" + whole(e) + " and #" + whole(f) + " now join the same nodes.",
                    LogColour::Red);
            }
        }
    }
    if (deleteB) {
        DeleteNode(m, app_.log, B);
        items = numberItems(m.nodeCount);
        nodeA = nodeB = "1";
    }
    recordModelChange(app_, label, before);
    modelChanged(app_);
}

MoveEditor::MoveEditor(AppState& app) : app_(app) {}

bool MoveEditor::open() {
    stopAnimation(app_);
    if (!haveNodes(app_)) return false;
    items = numberItems(app_.model.nodeCount);
    from = "1";
    to = whole(app_.model.nodeCount);
    return true;
}

void MoveEditor::apply() {
    Model& m = app_.model;
    const double x = boxNumber(dx);
    const double y = boxNumber(dy);
    // Offsets and moved coordinates stay within what a coordinate field can hold.
    if (!isStorableCoordinate(x)) {
        refuse(app_, "The value given for dx is unacceptable.");
        return;
    }
    if (!isStorableCoordinate(y)) {
        refuse(app_, "The value given for dy is unacceptable.");
        return;
    }
    const float fx = float(x);
    const float fy = float(y);
    if (fx == 0 && fy == 0) return;
    const double first = boxNumber(from);
    const double last = boxNumber(to);
    if (!isNumberUpTo(first, m.nodeCount) || !isNumberUpTo(last, m.nodeCount)) {
        refuse(app_, kBadNodeNumber);
        return;
    }
    // An empty range moves nothing, so nothing is said and the model stays as it is.
    if (first > last) return;
    for (int k = int(first); k <= int(last); ++k) {
        if (!isStorableCoordinate(double(m.nodes.x[k]) + fx)) {
            refuse(app_, "The value given for dx is unacceptable.");
            return;
        }
        if (!isStorableCoordinate(double(m.nodes.y[k]) + fy)) {
            refuse(app_, "The value given for dy is unacceptable.");
            return;
        }
    }
    const ModelTables before = m;
    for (int k = int(first); k <= int(last); ++k) {
        m.nodes.x[k] = float(double(m.nodes.x[k]) + fx);
        m.nodes.y[k] = float(double(m.nodes.y[k]) + fy);
    }
    app_.log.LogMessage("Moved nodes: #" + whole(int(first)) + " to #" + whole(int(last)) +
                            ", dx=" + general(fx) + ", dy=" + general(fy),
                        LogColour::Navy);
    recordModelChange(app_, "Move nodes #" + whole(int(first)) + " to #" + whole(int(last)),
                      before);
    modelChanged(app_);
}

void checkCoincidentNodes(AppState& app) {
    const Model& m = app.model;
    if (!haveNodes(app)) return;
    const auto answer = app.prompter.inputBox(
        "Give the value for tolerance (Max. distance for which two nodes are considered to "
        "coincide).\r\n\r\n(Value between [0 , 0.001], Default=10E-5)",
        "");
    double tolerance = 0;
    if (!answer || answer->empty()) {
        app.prompter.notify("Tolerance = 10E-5 (Default value).", MessageIcon::Information);
        tolerance = kDefaultTolerance;
    } else {
        tolerance = readNumber(*answer);
        if (tolerance < 0) {
            app.prompter.notify("Tolerance = 0 (Minimum value).", MessageIcon::Information);
            tolerance = 0;
        } else if (!(tolerance <= kMaxTolerance)) {
            app.prompter.notify("Tolerance = 0.001 (Maximum value).", MessageIcon::Information);
            tolerance = kMaxTolerance;
        }
    }
    int found = 0;
    for (int i = 1; i <= m.nodeCount; ++i) {
        for (int j = i + 1; j <= m.nodeCount; ++j) {
            const double dy = double(m.nodes.y[i]) - double(m.nodes.y[j]);
            const double dx = double(m.nodes.x[i]) - double(m.nodes.x[j]);
            const double D = std::sqrt(dy * dy + dx * dx);
            if (D <= tolerance) {
                ++found;
                app.prompter.messageBox("Nodes: #" + whole(i) + " and #" + whole(j) +
                                            " theoretically coincide.\r\n\r\nDistance between "
                                            "them D= " +
                                            general(D),
                                        MessageIcon::None, MessageButtons::Ok);
            }
        }
    }
    const std::string text =
        "The search for coincident nodes is completed. " + whole(found) +
        " incidences of coincident nodes were found. (Tolerance = " + general(tolerance) + ").";
    app.log.LogMessage(text, LogColour::Red);
    app.prompter.notify(text, MessageIcon::Information);
}

void checkCoincidentElements(AppState& app) {
    const Model& m = app.model;
    if (m.elementCount == 0) {
        refuse(app, "No elements have been defined yet.");
        return;
    }
    int found = 0;
    for (int e = 1; e <= m.elementCount; ++e) {
        for (int f = e + 1; f <= m.elementCount; ++f) {
            if (!joins(m, f, m.nodeI(e), m.nodeJ(e))) continue;
            ++found;
            const std::string text = "The elements #" + whole(e) + " and #" + whole(f) +
                                     " between nodes #" + whole(m.nodeI(e)) + " and #" +
                                     whole(m.nodeJ(e)) + " coincide. One of them must be deleted.";
            app.log.LogMessage(text, LogColour::Red);
            const Answer answer = app.prompter.messageBox(
                text + "\r\nShall the search for coincident elements continue?",
                MessageIcon::Information, MessageButtons::YesNo);
            if (answer != Answer::Yes) return;
        }
    }
    const std::string text = "The search for coincident elements is completed. " + whole(found) +
                             " incidences of coincident elements were found.";
    app.log.LogMessage(text, LogColour::Red);
    app.prompter.notify(text, MessageIcon::Information);
}

}  // namespace vortak
