#include "editing/nodes_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>

#include "editing/dialog_support.h"
#include "graphics/drawing.h"
#include "graphics/qt_surface.h"
#include "graphics/surface.h"
#include "graphics/view_transform.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

namespace {

// The extent of everything drawn on it, in centimetres; the picture is sized from it.
class ExtentSurface : public Surface {
public:
    double widthCm() const override { return 0; }
    double heightCm() const override { return 0; }
    double left = 0, top = 0, right = 0, bottom = 0;

protected:
    void paintRect(double, double, double, double, Colour) override {}  // the background
    void paintLine(double x1, double y1, double x2, double y2, Colour, int) override {
        add(x1, y1);
        add(x2, y2);
    }
    void paintCircle(double cx, double cy, double r, Colour, int, std::optional<Colour>) override {
        add(cx - r, cy - r);
        add(cx + r, cy + r);
    }
    void paintText(double, double, std::string_view, Colour, double, bool) override {}

private:
    void add(double x, double y) {
        if (empty_) {
            left = right = x;
            top = bottom = y;
            empty_ = false;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    bool empty_ = true;
};

}  // namespace

// The support picture: a node with a member above it, drawn with the drawing's own
// support symbols for the four combinations; a click steps to the next one. Its size
// follows from the symbols at the screen's DPI, so that none is cut off at its edges.
class SupportPicture : public QWidget {
public:
    explicit SupportPicture(QWidget* parent) : QWidget(parent) {
        setCursor(Qt::PointingHandCursor);
        setToolTip("Click to change the constraints");
        settings_.nai_grid = false;
        settings_.nai_aksones = false;
        settings_.nai_arithmisi_kombon = false;
        settings_.nai_arithmisi_stoixeion = false;
        settings_.nai_sint_kombon = false;
        settings_.xroma_background = packColour(255, 255, 255);
        model_.nodeCount = 2;
        model_.nodes.y[2] = 0.6f;  // 0.3 cm at scale 200
        model_.groupCount = 1;
        model_.elementCount = 1;
        model_.elements.i[1] = 1;
        model_.elements.j[1] = 2;
        model_.elements.group[1] = 1;
        // Twice the size of the model view, so that the symbols read well.
        dpi_ = 2.0 * logicalDpiX();
        // One box for all four pictures keeps the node in place as they change.
        ExtentSurface extent;
        view_.SW = view_.SH = 0;
        view_.scale = 200;
        view_.offsetX = view_.offsetY = 0;
        for (int picture = 1; picture <= 4; ++picture) drawModel(input(picture), extent);
        const double pxPerCm = dpi_ / 2.54;
        // A few pixels of white round the drawing, inside the one-pixel frame.
        const int margin = 5;
        const QSize inner(int(std::ceil((extent.right - extent.left) * pxPerCm)) + 2 * margin,
                          int(std::ceil((extent.bottom - extent.top) * pxPerCm)) + 2 * margin);
        setFixedSize(inner + QSize(2, 2));
        view_.SW = inner.width() / pxPerCm;
        view_.SH = inner.height() / pxPerCm;
        // Centred: the extent's corner moves to where the free space is shared equally.
        view_.offsetX = extent.left - 0.5 * (view_.SW - (extent.right - extent.left));
        view_.offsetY = view_.SH + extent.top - 0.5 * (view_.SH - (extent.bottom - extent.top));
    }
    void setPicture(int picture) {
        if (picture == picture_ && !image_.isNull()) return;
        picture_ = picture;
        const qreal ratio = devicePixelRatioF();
        QtSurface surface((size() - QSize(2, 2)) * ratio, dpi_ * ratio);
        drawModel(input(picture), surface);
        image_ = surface.image().copy();
        image_.setDevicePixelRatio(ratio);
        update();
    }
    std::function<void()> clicked;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(1, 1, image_);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && clicked) clicked();
    }

private:
    // Node 1 with the constraints of `picture`, node 2 above it.
    DrawingInput input(int picture) {
        model_.nodes.cx[1] = (picture == 2 || picture == 4) ? 1.0f : 0.0f;
        model_.nodes.cy[1] = (picture == 3 || picture == 4) ? 1.0f : 0.0f;
        return {model_, settings_, view_};
    }

    int picture_ = 0;
    double dpi_;
    Model model_;
    ViewSettings settings_;
    ViewTransform view_;
    QImage image_;
};

QWidget* NodesDialog::picture() const { return picture_; }

NodesDialog::NodesDialog(AppState& app, QWidget* parent, int node) : QDialog(parent), editor_(app) {
    setWindowTitle("Nodes");
    number_ = vortak::numberBox(this);
    state_ = new QLabel(this);
    state_->setMinimumWidth(state_->fontMetrics().horizontalAdvance("(Existing)") + 8);
    new_ = new QPushButton("New", this);
    x_ = new QLineEdit(this);
    y_ = new QLineEdit(this);
    kx_ = new QLineEdit(this);
    ky_ = new QLineEdit(this);
    fixX_ = new QCheckBox("x - Displacement", this);
    fixY_ = new QCheckBox("y - Displacement", this);
    picture_ = new SupportPicture(this);
    delete_ = new QPushButton("Delete", this);
    apply_ = new QPushButton("Apply", this);
    cancel_ = new QPushButton("Cancel", this);
    for (QLineEdit* box : {x_, y_, kx_, ky_}) box->setMinimumWidth(130);

    auto* top = new QHBoxLayout;
    auto* nodeLabel = new QLabel("Node", this);
    nodeLabel->setBuddy(number_);
    top->addWidget(nodeLabel);
    top->addWidget(number_);
    top->addWidget(state_);
    top->addStretch();
    top->addWidget(new_);

    const auto boxes = [this](const char* title, const char* first, QLineEdit* a,
                              const char* second, QLineEdit* b) {
        auto* grid = new QGridLayout;
        // One label width for both groups keeps their boxes in line.
        const int labelWidth = fontMetrics().horizontalAdvance("Kx =") + 4;
        grid->setColumnMinimumWidth(0, labelWidth);
        grid->addWidget(new QLabel(first, this), 0, 0, Qt::AlignRight);
        grid->addWidget(a, 0, 1);
        grid->addWidget(new QLabel(second, this), 1, 0, Qt::AlignRight);
        grid->addWidget(b, 1, 1);
        auto* group = new QGroupBox(title, this);
        group->setLayout(grid);
        return group;
    };
    auto* constraintsLayout = new QGridLayout;
    constraintsLayout->addWidget(fixX_, 0, 0);
    constraintsLayout->addWidget(fixY_, 1, 0);
    constraintsLayout->addWidget(picture_, 0, 1, 2, 1, Qt::AlignCenter);
    auto* constraints = new QGroupBox("Constraints:", this);
    constraints->setLayout(constraintsLayout);

    QHBoxLayout* buttons = buttonRow(delete_, apply_, cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(boxes("Coordinates:", "x =", x_, "y =", y_));
    layout->addWidget(boxes("Elastic constants:", "Kx =", kx_, "Ky =", ky_));
    layout->addWidget(constraints);
    layout->addLayout(buttons);
    setTabChain({number_, new_, x_, y_, kx_, ky_, fixX_, fixY_, apply_, delete_, cancel_});

    onNumberChosen(number_, [this](const std::string& text) {
        collect();
        editor_.choose(text);
        refresh();
    });
    onReturnKey(x_, [this] { act(&NodesEditor::enterInX); });
    onReturnKey(y_, [this] { act(&NodesEditor::enterInY); });
    connect(fixX_, &QCheckBox::clicked, this, [this](bool on) {
        collect();
        editor_.setFixX(on);
        refresh();
    });
    connect(fixY_, &QCheckBox::clicked, this, [this](bool on) {
        collect();
        editor_.setFixY(on);
        refresh();
    });
    connect(kx_, &QLineEdit::textEdited, this, [this](const QString& text) {
        collect();
        editor_.setKx(text.toStdString());
        refresh();
    });
    connect(ky_, &QLineEdit::textEdited, this, [this](const QString& text) {
        collect();
        editor_.setKy(text.toStdString());
        refresh();
    });
    picture_->clicked = [this] { act(&NodesEditor::cyclePicture); };
    connect(new_, &QPushButton::clicked, this, [this] { act(&NodesEditor::newNode); });
    connect(apply_, &QPushButton::clicked, this, [this] { act(&NodesEditor::apply); });
    connect(delete_, &QPushButton::clicked, this, [this] { act(&NodesEditor::remove); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setUpKeyboard(this);

    editor_.open(node);
    refresh();
}

void NodesDialog::collect() {
    editor_.number = number_->currentText().toStdString();
    editor_.x = x_->text().toStdString();
    editor_.y = y_->text().toStdString();
    editor_.kx = kx_->text().toStdString();
    editor_.ky = ky_->text().toStdString();
    editor_.fixX = fixX_->isChecked();
    editor_.fixY = fixY_->isChecked();
}

void NodesDialog::act(void (NodesEditor::*action)()) {
    collect();
    (editor_.*action)();
    refresh();
}

void NodesDialog::refresh() {
    setItems(number_, editor_.items);
    setBoxText(number_, editor_.number);
    state_->setText(qt(editor_.state));
    const auto setText = [](QLineEdit* box, const std::string& text) {
        if (box->text() != qt(text)) box->setText(qt(text));
    };
    setText(x_, editor_.x);
    setText(y_, editor_.y);
    setText(kx_, editor_.kx);
    setText(ky_, editor_.ky);
    fixX_->setChecked(editor_.fixX);
    fixY_->setChecked(editor_.fixY);
    picture_->setPicture(editor_.picture());
    QWidget* target = nullptr;
    switch (editor_.focus) {
        case NodesEditor::Field::Number:
            target = number_;
            break;
        case NodesEditor::Field::X:
            target = x_;
            break;
        case NodesEditor::Field::Y:
            target = y_;
            break;
        case NodesEditor::Field::Kx:
            target = kx_;
            break;
        case NodesEditor::Field::Ky:
            target = ky_;
            break;
        case NodesEditor::Field::Apply:
            target = apply_;
            break;
        case NodesEditor::Field::None:
            break;
    }
    giveFocus(target);
    editor_.focus = NodesEditor::Field::None;
}

}  // namespace vortak
