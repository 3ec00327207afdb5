#include "app/pointer_input.h"

#include <cmath>

#include "app/app_state.h"
#include "app/shell.h"
#include "app/undo.h"
#include "base/number_text.h"
#include "graphics/view_transform.h"
#include "model/field_limits.h"

namespace vortak {

namespace {

constexpr double kNodeTolerance = 0.15;  // cm around a node's drawn position
constexpr double kElementRectangleMargin = 0.15;
constexpr double kElementTolerance = 0.2;
constexpr double kDoubleClickReach = 2.0;
constexpr int kEntryDecimals = 4;
constexpr double kSquareMarker = 0.238;
constexpr double kRoundMarker = 0.45;

constexpr const char* kNoGroupText =
    "Before defining an element, the main E,A Element Group must have been defined (#1).";

}  // namespace

PointerInput::PointerInput(AppState& app) : app_(app) {}

double PointerInput::enteredX(double X) const {
    const double x = app_.view.toModelX(X);
    return app_.settings.nai_grid ? snapToGrid(x, app_.settings.kannab)
                                  : roundDecimals(x, kEntryDecimals);
}

double PointerInput::enteredY(double Y) const {
    const double y = app_.view.toModelY(Y);
    return app_.settings.nai_grid ? snapToGrid(y, app_.settings.kannab)
                                  : roundDecimals(y, kEntryDecimals);
}

int PointerInput::nodeAt(double X, double Y) const {
    const Model& m = app_.model;
    const ViewTransform& t = app_.view;
    const bool grid = app_.settings.nai_grid;
    const float sx = float(snapToGrid(t.toModelX(X), app_.settings.kannab));
    const float sy = float(snapToGrid(t.toModelY(Y), app_.settings.kannab));
    int found = 0;
    for (int n = 1; n <= m.nodeCount; ++n) {
        // With the grid on, the grid point the pointer snaps to picks its node; a node off
        // the grid (typed in a dialog, or from a finer grid) is picked near its drawn
        // position as with the grid off, instead of a new node being put beside it.
        const bool onGridPoint = grid && m.nodes.x[n] == sx && m.nodes.y[n] == sy;
        const bool near = std::fabs(t.toPictureX(m.nodes.x[n]) - X) < kNodeTolerance &&
                          std::fabs(t.toPictureY(m.nodes.y[n]) - Y) < kNodeTolerance;
        if (onGridPoint || near) found = n;  // the highest number wins
    }
    return found;
}

int PointerInput::elementAt(double X, double Y) const {
    const Model& m = app_.model;
    const ViewTransform& t = app_.view;
    double best = 9999;
    int found = 0;
    for (int e = 1; e <= m.elementCount; ++e) {
        const double Xi = t.toPictureX(m.nodes.x[m.nodeI(e)]);
        const double Yi = t.toPictureY(m.nodes.y[m.nodeI(e)]);
        const double Xj = t.toPictureX(m.nodes.x[m.nodeJ(e)]);
        const double Yj = t.toPictureY(m.nodes.y[m.nodeJ(e)]);
        if (X < std::min(Xi, Xj) - kElementRectangleMargin ||
            X > std::max(Xi, Xj) + kElementRectangleMargin ||
            Y < std::min(Yi, Yj) - kElementRectangleMargin ||
            Y > std::max(Yi, Yj) + kElementRectangleMargin) {
            continue;
        }
        const double A = Yi - Yj;
        const double B = Xj - Xi;
        const double C = Yj * Xi - Xj * Yi;
        const double norm = std::sqrt(A * A + B * B);
        if (norm == 0) continue;  // both ends drawn at one point
        const double d = std::fabs(A * X + B * Y + C) / norm;
        if (d < best) {
            best = d;
            found = e;
        }
    }
    return best < kElementTolerance ? found : 0;
}

int PointerInput::newNode(double X, double Y) {
    Model& m = app_.model;
    const double x = enteredX(X);
    const double y = enteredY(Y);
    if (!isStorableCoordinate(x) || !isStorableCoordinate(y)) {
        app_.log.LogMessage("No node can be placed there: coordinates lie within -" +
                                general(kMaxCoordinate) + " and " + general(kMaxCoordinate) + ".",
                            LogColour::Red);
        return 0;
    }
    const ModelTables before = m;
    const int n = ++m.nodeCount;
    Node node;
    node.x = float(x);
    node.y = float(y);
    m.setNode(n, node);
    m.changed = true;
    recordModelChange(app_, "New node #" + whole(n), before);
    app_.log.LogMessage(
        "New node #" + whole(n) + ", x=" + classic(node.x) + ", y=" + classic(node.y) + ", Free",
        LogColour::Navy);
    app_.shell.redraw();
    return n;
}

void PointerInput::createElement(int start, int end) {
    Model& m = app_.model;
    if (m.groupCount < 1 || start == 0 || end == 0 || start == end ||
        m.elementCount >= kMaxElements) {
        return;
    }
    for (int e = 1; e <= m.elementCount; ++e) {
        const int i = m.nodeI(e);
        const int j = m.nodeJ(e);
        if ((i == start && j == end) || (i == end && j == start)) return;  // already joined
    }
    const ModelTables before = m;
    const int e = ++m.elementCount;
    m.setElement(e, {float(start), float(end), 1.0f});
    m.changed = true;
    recordModelChange(app_, "New element #" + whole(e), before);
    app_.log.LogMessage("New element #" + whole(e) + ", Node i: #" + whole(start) + ", Node j: #" +
                            whole(end) + ", E,A Group: #1, P2 Type",
                        LogColour::Navy);
}

PointerRequest PointerInput::press(PointerButton button, double X, double Y) {
    if (button != PointerButton::Left) return {};
    leftDown_ = true;
    pressX_ = X;
    pressY_ = Y;
    viewAtPress_ = app_.view;
    app_.view.beginDrag(X, Y);
    overlay_.elementShown = false;
    overlay_.elementLabel.clear();
    if (app_.currentView != ViewMode::Model || app_.window.mode != InteractionMode::None) {
        return {};
    }
    nodeUnder_ = nodeAt(X, Y);
    if (nodeUnder_ != 0) {
        startNode_ = nodeUnder_;
    } else if (app_.model.nodeCount < kMaxNodes) {
        nodeCreatedAtPress_ = true;
        startNode_ = newNode(X, Y);
        nodeUnder_ = startNode_;
    } else {
        startNode_ = 0;  // no room for a node: this drag defines nothing
    }
    return {};
}

void PointerInput::move(double X, double Y) {
    ViewTransform& t = app_.view;
    const ViewSettings& v = app_.settings;
    const InteractionMode mode = app_.window.mode;

    // The read-out shows the model point under the pointer, snapped when the grid is on.
    double x = t.toModelX(X);
    double y = t.toModelY(Y);
    if (v.nai_grid) {
        x = snapToGrid(x, v.kannab);
        y = snapToGrid(y, v.kannab);
    }
    if (app_.window.coordinatesPanelEnabled) {
        readoutX = "x = " + general(roundDecimals(x, 5));
        readoutY = "y = " + general(roundDecimals(y, 5));
    }

    if (leftDown_ && mode == InteractionMode::Pan) {
        t.panDrag(X, Y);
        app_.shell.quickRedraw();
        return;
    }
    if (leftDown_ && mode == InteractionMode::Zoom) {
        t.zoomDrag(Y);
        app_.shell.quickRedraw();
        return;
    }
    if (leftDown_ && mode == InteractionMode::ZoomWindow) {
        overlay_.rectangleShown = true;
        overlay_.rectangleX = std::min(pressX_, X);
        overlay_.rectangleY = std::min(pressY_, Y);
        overlay_.rectangleWidth = std::fabs(X - pressX_);
        overlay_.rectangleHeight = std::fabs(Y - pressY_);
        return;
    }
    nodeCreatedAtPress_ = false;
    if (app_.currentView != ViewMode::Model) return;

    // The rubber band of the element being defined, ending at the point a release here
    // would enter, with that point's coordinates beside the pointer.
    const Model& m = app_.model;
    overlay_.bandShown = leftDown_ && mode == InteractionMode::None &&
                         m.elementCount < kMaxElements && startNode_ != 0;
    if (overlay_.bandShown) {
        // The band shows the element a release here would create: from the start node (also
        // one off the grid) to the node under the pointer, or to the point a new end node
        // would take.
        const int endNode = nodeAt(X, Y);
        const double px = endNode != 0 ? double(m.nodes.x[endNode]) : enteredX(X);
        const double py = endNode != 0 ? double(m.nodes.y[endNode]) : enteredY(Y);
        overlay_.bandX1 = t.toPictureX(m.nodes.x[startNode_]);
        overlay_.bandY1 = t.toPictureY(m.nodes.y[startNode_]);
        overlay_.bandX2 = t.toPictureX(px);
        overlay_.bandY2 = t.toPictureY(py);
        std::string label;
        if (v.Nai_Apolites_Sint) {
            label = general(roundDecimals(px, 5)) + ", " + general(roundDecimals(py, 5));
        }
        if (v.Nai_Sxetikes_Sint) {
            if (!label.empty()) label += "\n";
            label += "@ " + general(roundDecimals(px - m.nodes.x[startNode_], kEntryDecimals)) +
                     ", " + general(roundDecimals(py - m.nodes.y[startNode_], kEntryDecimals));
        }
        overlay_.bandLabel = label;
        overlay_.bandLabelX = X + 0.1;
        overlay_.bandLabelY = Y + 0.1;
    }

    lastX_ = X;
    lastY_ = Y;
    updateHover(X, Y, nodeUnder_, elementUnder_);
}

void PointerInput::updateHover(double X, double Y, int previousNode, int previousElement) {
    ViewTransform& t = app_.view;
    const ViewSettings& v = app_.settings;
    const InteractionMode mode = app_.window.mode;
    const Model& m = app_.model;

    // The node marker sits on the point a press here would enter.
    overlay_.markerX = t.toPictureX(v.nai_grid && mode == InteractionMode::None
                                        ? snapToGrid(t.toModelX(X), v.kannab)
                                        : roundDecimals(t.toModelX(X), kEntryDecimals));
    overlay_.markerY = t.toPictureY(v.nai_grid && mode == InteractionMode::None
                                        ? snapToGrid(t.toModelY(Y), v.kannab)
                                        : roundDecimals(t.toModelY(Y), kEntryDecimals));
    nodeUnder_ = nodeAt(X, Y);
    if (nodeUnder_ != 0 && nodeUnder_ != previousNode && mode == InteractionMode::None) {
        overlay_.markerVisible = true;
        overlay_.markerOnNode = true;
        overlay_.markerSize = kRoundMarker;
        overlay_.markerBorder = 2;
        overlay_.nodeLabel = whole(nodeUnder_);
    } else if (nodeUnder_ != previousNode) {
        overlay_.markerOnNode = false;
        overlay_.markerSize = kSquareMarker;
        overlay_.markerBorder = 1;
        overlay_.nodeLabel.clear();
    }
    const double markerLeft = overlay_.markerX - overlay_.markerSize / 2;
    const double markerTop = overlay_.markerY - overlay_.markerSize / 2;
    overlay_.nodeLabelX = markerLeft + 0.32;
    overlay_.nodeLabelY = markerTop - 0.32;

    if (!leftDown_) elementUnder_ = elementAt(X, Y);
    if (elementUnder_ != 0 && elementUnder_ != previousElement && !leftDown_ &&
        mode == InteractionMode::None) {
        const int e = elementUnder_;
        overlay_.elementShown = true;
        overlay_.elementX1 = t.toPictureX(m.nodes.x[m.nodeI(e)]);
        overlay_.elementY1 = t.toPictureY(m.nodes.y[m.nodeI(e)]);
        overlay_.elementX2 = t.toPictureX(m.nodes.x[m.nodeJ(e)]);
        overlay_.elementY2 = t.toPictureY(m.nodes.y[m.nodeJ(e)]);
        overlay_.elementLabel = whole(e);
        overlay_.elementLabelX = (overlay_.elementX1 + overlay_.elementX2) / 2;
        overlay_.elementLabelY = (overlay_.elementY1 + overlay_.elementY2) / 2 - 0.4;
    } else if (elementUnder_ != previousElement) {
        overlay_.elementShown = false;
        overlay_.elementLabel.clear();
    }
}

PointerRequest PointerInput::release(PointerButton button, double X, double Y, bool inside) {
    const InteractionMode mode = app_.window.mode;
    const bool left = button == PointerButton::Left;
    PointerRequest request;
    // Released off the drawing area (over the log, outside the window), an element or a
    // zoom window being defined is abandoned: nothing that the pointer is not over is made.
    // A pan or zoom drag keeps the view it has reached.
    if (left && !inside && (mode == InteractionMode::None || mode == InteractionMode::ZoomWindow)) {
        abandon();
    }
    if (left && mode == InteractionMode::ZoomWindow) {
        if (leftDown_) app_.view.zoomWindow(pressX_, pressY_, X, Y);
        overlay_.rectangleShown = false;
        app_.view.pushView();
    } else if (left && mode != InteractionMode::None) {
        app_.view.pushView();
    } else if (!left && mode != InteractionMode::None) {
        request.kind = PointerRequest::Kind::ModeMenu;
    } else if (!left) {
        // From the model as it is now: an entity deleted or renumbered since the last move
        // must not be offered.
        nodeUnder_ = nodeAt(X, Y);
        elementUnder_ = elementAt(X, Y);
        if (nodeUnder_ != 0 || elementUnder_ != 0) {
            request = {PointerRequest::Kind::ObjectMenu, nodeUnder_, elementUnder_};
        }
    } else if (app_.currentView == ViewMode::Model && leftDown_) {
        Model& m = app_.model;
        int end = nodeAt(X, Y);
        if (end == 0 && !nodeCreatedAtPress_ && m.nodeCount < kMaxNodes) end = newNode(X, Y);
        if (end != 0 && end != startNode_ && m.groupCount == 0 && startNode_ != 0) {
            app_.log.LogMessage(kNoGroupText, LogColour::Red);
            const Answer answer = app_.prompter.messageBox(
                std::string(kNoGroupText) +
                    "\r\nElements defined on screen always belong to the main E,A Element "
                    "Group.\r\n\r\nDo you want to define the main E,A Element Group now?",
                MessageIcon::Exclamation, MessageButtons::YesNo);
            if (answer == Answer::Yes) {
                pendingStart_ = startNode_;
                pendingEnd_ = end;
                request.kind = PointerRequest::Kind::GroupsDialog;
            }
        } else {
            createElement(startNode_, end);
        }
        if (request.kind != PointerRequest::Kind::GroupsDialog) app_.shell.redraw();
    }
    overlay_.bandShown = false;
    leftDown_ = false;
    if (left && mode != InteractionMode::None) app_.shell.redraw();
    return request;
}

void PointerInput::finishPendingElement() {
    createElement(pendingStart_, pendingEnd_);
    pendingStart_ = pendingEnd_ = 0;
    app_.shell.redraw();
}

void PointerInput::doubleClick() {
    if (app_.currentView != ViewMode::Model || app_.window.mode != InteractionMode::None) return;
    Model& m = app_.model;
    const ViewTransform& t = app_.view;
    double best = 10000000;
    int nearest = 0;
    for (int n = 1; n <= m.nodeCount; ++n) {
        const double d =
            std::hypot(t.toPictureX(m.nodes.x[n]) - lastX_, t.toPictureY(m.nodes.y[n]) - lastY_);
        if (d < best) {
            best = d;
            nearest = n;
        }
    }
    if (nearest != 0 && best < kDoubleClickReach) {
        const ModelTables before = m;
        float& cx = m.nodes.cx[nearest];
        float& cy = m.nodes.cy[nearest];
        // Free -> x fixed -> y fixed -> both -> free.
        if (cx == 0 && cy == 0) {
            cx = 1;
        } else if (cx == 1 && cy == 0) {
            cx = 0;
            cy = 1;
        } else if (cx == 0 && cy == 1) {
            cx = 1;
        } else if (cx == 1 && cy == 1) {
            cx = cy = 0;
        }
        // A fixed direction carries no spring (the reaction would otherwise be reported as
        // the spring's force); say so when a spring is removed that way.
        std::string removed;
        if (cx == 1 && m.nodes.Kx[nearest] > 0) {
            removed = "Kx= " + general(m.nodes.Kx[nearest]);
            m.nodes.Kx[nearest] = 0;
        }
        if (cy == 1 && m.nodes.Ky[nearest] > 0) {
            removed += (removed.empty() ? "" : ", ") + ("Ky= " + general(m.nodes.Ky[nearest]));
            m.nodes.Ky[nearest] = 0;
        }
        if (!removed.empty()) {
            app_.log.LogMessage("* Node #" + whole(nearest) +
                                    ": spring removed from the fixed direction (" + removed + ")",
                                LogColour::Navy);
        }
        m.changed = true;
        recordModelChange(app_, "Supports of node #" + whole(nearest), before);
    }
    app_.shell.redraw();
}

void PointerInput::abandon() {
    if (!leftDown_) return;
    const InteractionMode mode = app_.window.mode;
    if (mode == InteractionMode::Pan || mode == InteractionMode::Zoom) {
        // Back to the view the drag started from.
        app_.view.scale = viewAtPress_.scale;
        app_.view.offsetX = viewAtPress_.offsetX;
        app_.view.offsetY = viewAtPress_.offsetY;
        app_.shell.redraw();
    }
    leftDown_ = false;
    nodeCreatedAtPress_ = false;
    overlay_.bandShown = false;
    overlay_.bandLabel.clear();
    overlay_.rectangleShown = false;
}

void PointerInput::refresh() {
    if (leftDown_ || app_.currentView != ViewMode::Model) return;
    // Numbers and positions from before the change may name other entities now.
    updateHover(lastX_, lastY_, -1, -1);
}

void PointerInput::hideMarkers() {
    overlay_.markerVisible = false;
    overlay_.nodeLabel.clear();
    overlay_.elementShown = false;
    overlay_.elementLabel.clear();
}

}  // namespace vortak
