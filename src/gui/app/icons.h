#pragma once

// The program's own pictures, painted in code: the toolbar icons, the pointer images of the
// drawing area's interaction modes and the application icon. Every picture is drawn with
// QPainter on a transparent pixmap, so a QGuiApplication must exist before any is asked for.

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QString>

namespace vortak {

// The toolbar icon of a button key ("New", "Open", "Save", "Xeraki", "Zoom", "Zoom_Window",
// "Zoom_Previous", "ZoomBestFit", "EA", "Komboi", "Stoixeia", "Epikombia", "Foreas", "N",
// "CT", "Deform", "Animate", "Rithmiseis", "Epilisi", "Apotelesmata"), with pixmaps at 16,
// 24, 32 and 48 px. Keys are case-sensitive; an unknown key gives a null icon.
QIcon toolbarIcon(const QString& key);

// The pointer of an interaction mode of the drawing area, a 32x32 image in black outlined
// with white: 1 pan (a hand, hot spot in the palm), 2 zoom (a magnifier with an up/down
// arrow, hot spot at the lens centre), 3 zoom window (a cross-hair with a small rectangle,
// hot spot at the cross). Any other mode gives the ordinary arrow.
QCursor modeCursor(int mode);

// The program's icon, a blue and black truss on a light rounded square, at 16 to 256 px.
// packaging/vortak.svg is the same drawing for the desktop.
QIcon applicationIcon();

// The program's icon drawn for exactly size x size pixels, as the desktop's icon theme
// wants it at each of its sizes.
QImage applicationIconImage(int size);

}  // namespace vortak
