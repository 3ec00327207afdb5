#pragma once

// The colour picker: 16 palette boxes, a spectrum to pick from with the mouse, the current
// selection, and the desktop's full colour dialog behind "More...".

#include <QDialog>

#include <optional>

#include "base/colour.h"

class QLabel;

namespace vortak {

class ColourPicker : public QDialog {
    Q_OBJECT
public:
    ColourPicker(Colour start, QWidget* parent = nullptr);
    Colour selection() const { return selection_; }
    void select(Colour colour);

    // The chosen colour, or nothing when the picker was cancelled or closed.
    static std::optional<Colour> pick(Colour start, QWidget* parent);

private:
    Colour selection_;
    QLabel* current_;
};

}  // namespace vortak
