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

#include "editing/dialog_support.h"
#include "graphics/drawing.h"
#include "graphics/qt_surface.h"
#include "graphics/view_transform.h"
#include "model/model.h"
#include "settings/view_settings.h"

namespace vortak {

// The support picture: a node with a member above it, drawn with the drawing's own
// support symbols for the four combinations; a click steps to the next one.
class SupportPicture : public QWidget {
public:
    explicit SupportPicture(QWidget* parent) : QWidget(parent) {
        setFixedSize(96, 84);
        setCursor(Qt::PointingHandCursor);
        setToolTip("Click to change the constraints");
    }
    void show(int picture) {
        if (picture == picture_ && !image_.isNull()) return;
        picture_ = picture;
        Model m;
        m.nodeCount = 2;
        m.nodes.cx[1] = (picture == 2 || picture == 4) ? 1.0f : 0.0f;
        m.nodes.cy[1] = (picture == 3 || picture == 4) ? 1.0f : 0.0f;
        m.nodes.y[2] = 1.0f;
        m.groupCount = 1;
        m.elementCount = 1;
        m.elements.i[1] = 1;
        m.elements.j[1] = 2;
        m.elements.group[1] = 1;
        ViewSettings settings;
        settings.nai_grid = false;
        settings.nai_aksones = false;
        settings.nai_arithmisi_kombon = false;
        settings.nai_arithmisi_stoixeion = false;
        settings.xroma_background = packColour(255, 255, 255);
        // A larger drawing scale than the model view so the symbol reads well here.
        QtSurface surface(size(), 2.0 * logicalDpiX());
        ViewTransform view;
        view.SW = surface.widthCm();
        view.SH = surface.heightCm();
        view.scale = 200;  // the member is 0.5 cm long
        view.offsetX = -0.5 * view.SW;
        view.offsetY = 0.35;
        drawModel({m, settings, view}, surface);
        image_ = surface.image().copy();
        update();
    }
    std::function<void()> clicked;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && clicked) clicked();
    }

private:
    int picture_ = 0;
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
    picture_->show(editor_.picture());
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
    giveFocus(target, editor_.selectFocusText);
    editor_.focus = NodesEditor::Field::None;
}

}  // namespace vortak
