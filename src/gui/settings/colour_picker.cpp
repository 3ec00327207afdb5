#include "settings/colour_picker.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "editing/options_editor.h"
#include "graphics/qt_surface.h"

namespace vortak {

namespace {

QColor qcolor(Colour c) {
    const Colour rgb = isSystemColour(c) ? desktopSystemColour(systemColourIndex(c)) : c;
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

Colour packed(const QColor& c) { return packColour(c.red(), c.green(), c.blue()); }

// Hue across, from full colour at the top to grey at the bottom; pressing and dragging
// picks the colour under the pointer.
class Spectrum : public QWidget {
public:
    Spectrum(std::function<void(Colour)> picked, QWidget* parent)
        : QWidget(parent), picked_(std::move(picked)), image_(256, 128, QImage::Format_RGB32) {
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                const double saturation = 1.0 - double(y) / image_.height();
                image_.setPixelColor(x, y,
                                     QColor::fromHsvF(double(x) / image_.width(), saturation, 1.0));
            }
        }
        setFixedSize(image_.size());
        setCursor(Qt::CrossCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, image_); }
    void mousePressEvent(QMouseEvent* event) override { pickAt(event->position().toPoint()); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (event->buttons() & Qt::LeftButton) pickAt(event->position().toPoint());
    }

private:
    void pickAt(QPoint at) {
        at.setX(std::clamp(at.x(), 0, image_.width() - 1));
        at.setY(std::clamp(at.y(), 0, image_.height() - 1));
        picked_(packed(image_.pixelColor(at)));
    }
    std::function<void(Colour)> picked_;
    QImage image_;
};

}  // namespace

ColourPicker::ColourPicker(Colour start, QWidget* parent) : QDialog(parent), selection_(start) {
    setWindowTitle("Select color");
    auto* palette = new QGridLayout;
    palette->setSpacing(3);
    for (int box = 0; box < 16; ++box) {
        auto* button = new QPushButton(this);
        button->setFixedSize(24, 24);
        button->setStyleSheet(QString("background-color: %1; border: 1px solid #777;")
                                  .arg(qcolor(paletteColour(box)).name()));
        connect(button, &QPushButton::clicked, this, [this, box] { select(paletteColour(box)); });
        palette->addWidget(button, box / 8, box % 8);
    }
    auto* spectrum = new Spectrum([this](Colour c) { select(c); }, this);
    current_ = new QLabel(this);
    current_->setFixedSize(64, 32);
    current_->setFrameStyle(QFrame::Box);
    current_->setAutoFillBackground(true);

    auto* more = new QPushButton("More...", this);
    more->setToolTip("More colors");
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    connect(more, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(qcolor(selection_), this, "Select color");
        if (chosen.isValid()) select(packed(chosen));
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* selectionRow = new QHBoxLayout;
    selectionRow->addWidget(new QLabel("Current selection:", this));
    selectionRow->addWidget(current_);
    selectionRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(more);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(palette);
    layout->addWidget(spectrum);
    layout->addLayout(selectionRow);
    layout->addLayout(buttons);
    select(start);
}

void ColourPicker::select(Colour colour) {
    selection_ = colour;
    QPalette p = current_->palette();
    p.setColor(QPalette::Window, qcolor(colour));
    current_->setPalette(p);
}

std::optional<Colour> ColourPicker::pick(Colour start, QWidget* parent) {
    ColourPicker picker(start, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.selection();
}

}  // namespace vortak
