#pragma once

// The mouse on the drawing area: nodes and elements defined by pressing, dragging and
// releasing, the pointer's coordinates, the node and element under the pointer with their
// markers, the object menu, constraints cycled by a double click, and the pan, zoom and
// zoom-window drags. Positions are drawing-area centimetres.

#include <string>

#include "settings/view_settings.h"

namespace vortak {

struct AppState;

enum class PointerButton { Left, Right };

// What the window draws over the picture.
struct PointerOverlay {
    // The node marker follows the pointer: a small rounded square, or a circle over a node.
    bool markerVisible = false;
    bool markerOnNode = false;
    double markerX = 0, markerY = 0;  // centre
    double markerSize = 0.238;
    int markerBorder = 1;
    std::string nodeLabel;  // empty: hidden
    double nodeLabelX = 0, nodeLabelY = 0;
    // The element under the pointer.
    bool elementShown = false;
    double elementX1 = 0, elementY1 = 0, elementX2 = 0, elementY2 = 0;
    std::string elementLabel;
    double elementLabelX = 0, elementLabelY = 0;
    // The rubber band of an element being defined, with its coordinates label.
    bool bandShown = false;
    double bandX1 = 0, bandY1 = 0, bandX2 = 0, bandY2 = 0;
    std::string bandLabel;  // one or two lines, separated by "\n"
    double bandLabelX = 0, bandLabelY = 0;
    // The rubber rectangle of a zoom window.
    bool rectangleShown = false;
    double rectangleX = 0, rectangleY = 0, rectangleWidth = 0, rectangleHeight = 0;
};

// What a pointer event asks the window to do next.
struct PointerRequest {
    enum class Kind { None, ModeMenu, ObjectMenu, GroupsDialog };
    Kind kind = Kind::None;
    int node = 0;     // object menu: the node under the pointer, or 0
    int element = 0;  // object menu: the element under the pointer, or 0
};

class PointerInput {
public:
    explicit PointerInput(AppState& app);

    PointerRequest press(PointerButton button, double X, double Y);
    // Also updates the coordinates read-out (readoutX/readoutY).
    void move(double X, double Y);
    // `inside` is false when the release happens off the drawing area.
    PointerRequest release(PointerButton button, double X, double Y, bool inside = true);
    // Esc during a drag: the element or zoom window being defined is dropped and a pan or
    // zoom drag goes back to the view it started from. The release that follows does nothing.
    void abandon();
    // After any change of the model: the node and element under the pointer, and their
    // markers, are found again.
    void refresh();
    void doubleClick();
    // After the groups dialog that a release asked for has closed: the element defined
    // on screen is created now if the model has a group.
    void finishPendingElement();
    // The toolbar, the mode commands and the object menu hide the hover markers.
    void hideMarkers();

    const PointerOverlay& overlay() const { return overlay_; }
    std::string readoutX, readoutY;  // status-bar panels 1 and 2 ("x = ...")

    // The model point a drawing-area position enters: snapped to the grid when it is on,
    // otherwise rounded to 4 decimals.
    double enteredX(double X) const;
    double enteredY(double Y) const;

private:
    // The node and element markers for the pointer at (X, Y), given what was under it
    // before (-1: recompute everything).
    void updateHover(double X, double Y, int previousNode, int previousElement);
    int nodeAt(double X, double Y) const;
    int elementAt(double X, double Y) const;
    int newNode(double X, double Y);
    void createElement(int start, int end);

    AppState& app_;
    PointerOverlay overlay_;
    bool leftDown_ = false;
    double pressX_ = 0, pressY_ = 0;
    ViewValues viewAtPress_;
    double lastX_ = 0, lastY_ = 0;
    int nodeUnder_ = 0;
    int elementUnder_ = 0;
    int startNode_ = 0;
    bool nodeCreatedAtPress_ = false;
    // An element waiting for the groups dialog.
    int pendingStart_ = 0, pendingEnd_ = 0;
};

}  // namespace vortak
