#include "settings/options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "graphics/qt_surface.h"
#include "graphics/result_drawing.h"
#include "settings/colour_picker.h"

namespace vortak {

namespace {

using Field = OptionsEditor::Field;

QColor qcolor(Colour c) {
    const Colour rgb = isSystemColour(c) ? desktopSystemColour(systemColourIndex(c)) : c;
    return QColor(redOf(rgb), greenOf(rgb), blueOf(rgb));
}

// A colour swatch with its name; a click on either asks for a new colour.
class Swatch : public QWidget {
public:
    Swatch(const QString& name, std::function<void()> clicked, QWidget* parent)
        : QWidget(parent), clicked_(std::move(clicked)) {
        auto* layout = new QHBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        box_ = new QLabel(this);
        box_->setFixedSize(28, 16);
        box_->setFrameStyle(QFrame::Box);
        box_->setAutoFillBackground(true);
        layout->addWidget(box_);
        layout->addWidget(new QLabel(name, this));
        layout->addStretch();
        setToolTip("Click to change this color");
        setCursor(Qt::PointingHandCursor);
    }
    void show(Colour colour) {
        QPalette p = box_->palette();
        p.setColor(QPalette::Window, qcolor(colour));
        box_->setPalette(p);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) clicked_();
    }

private:
    std::function<void()> clicked_;
    QLabel* box_;
};

// The [N] diagram drawing side: an element with its band below (right of i->j) or above.
QIcon sideIcon(bool rightHandSide) {
    QPixmap pixmap(56, 28);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const int y = 14;
    const int band = rightHandSide ? 9 : -9;
    p.setPen(QPen(QColor(45, 134, 43), 1.5));
    p.drawPolyline(QPolygon({{6, y}, {6, y + band}, {50, y + band}, {50, y}}));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(6, y, 50, y);
    p.drawText(QRect(18, rightHandSide ? y + 1 : y - 11, 20, 10), Qt::AlignCenter, "+");
    return QIcon(pixmap);
}

QGroupBox* frame(const char* title, QLayout* layout, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setLayout(layout);
    return box;
}

}  // namespace

OptionsDialog::OptionsDialog(AppState& app, SettingsStore& store, QWidget* parent,
                             ColourQuestion askColour)
    : QDialog(parent), editor_(app, store), askColour_(std::move(askColour)) {
    setWindowTitle("View options");
    if (!askColour_) askColour_ = [this](Colour c) { return ColourPicker::pick(c, this); };
    editor_.open();

    const auto numberBox = [this](Field field) {
        auto* edit = new QLineEdit(this);
        edit->setMaximumWidth(110);
        boxes_[field] = edit;
        return edit;
    };
    const auto addSwatch = [this](QGridLayout* grid, int row, int column, const char* name,
                                  Colour ViewSettings::*colour) {
        auto* s = new Swatch(
            name, [this, colour] { clickSwatch(colour); }, this);
        grid->addWidget(s, row, column);
        refreshers_.push_back([this, s, colour] { s->show(editor_.values.*colour); });
    };

    tabs_ = new QTabWidget(this);

    // --- General ---------------------------------------------------------------------
    auto* general = new QWidget;
    auto* generalGrid = new QGridLayout;
    addFlag(generalGrid, 0, 0, "Axes", "Check1", &ViewSettings::nai_aksones);
    addFlag(generalGrid, 1, 0, "Grid", "Check2", &ViewSettings::nai_grid);
    auto* gridRow = new QHBoxLayout;
    gridRow->addSpacing(20);
    gridRow->addWidget(new QLabel("every", this));
    gridRow->addWidget(numberBox(Field::Grid));
    gridRow->addWidget(new QLabel("units", this));
    gridRow->addStretch();
    generalGrid->addLayout(gridRow, 2, 0);
    auto* generalColours = new QGridLayout;
    addSwatch(generalColours, 0, 0, "Background", &ViewSettings::xroma_background);
    addSwatch(generalColours, 1, 0, "Axes", &ViewSettings::xroma_aksonon);
    addSwatch(generalColours, 2, 0, "Grid", &ViewSettings::xroma_grid);
    auto* definition = new QGridLayout;
    auto* note = new QLabel(
        "While moving pointer for the definition of a new element on screen, show:", this);
    note->setWordWrap(true);
    definition->addWidget(note, 0, 0);
    addFlag(definition, 1, 0, "Absolute coordinates", "CheckApol",
            &ViewSettings::Nai_Apolites_Sint);
    addFlag(definition, 2, 0, "Relative coordinates (relatively to start node i)", "CheckSxet",
            &ViewSettings::Nai_Sxetikes_Sint);
    auto* generalLayout = new QGridLayout(general);
    generalLayout->addWidget(frame("General", generalGrid, this), 0, 0);
    generalLayout->addWidget(frame("Colors", generalColours, this), 0, 1);
    generalLayout->addWidget(frame("Graphical definition of elements", definition, this), 1, 0, 1,
                             2);
    generalLayout->setRowStretch(2, 1);
    tabs_->addTab(general, "General");

    // --- Model -----------------------------------------------------------------------
    auto* model = new QWidget;
    auto* nodes = new QGridLayout;
    addFlag(nodes, 0, 0, "Nodes", "Check4", &ViewSettings::nai_komboi);
    addFlag(nodes, 1, 0, "Numbering", "Check5", &ViewSettings::nai_arithmisi_kombon);
    addFlag(nodes, 2, 0, "Constraints", "Check6", &ViewSettings::nai_desmefseis);
    graphic_ = new QRadioButton("Graphically", this);
    symbolic_ = new QRadioButton("Symbolically (x/o)", this);
    auto* styles = new QVBoxLayout;
    styles->setContentsMargins(20, 0, 0, 0);
    styles->addWidget(graphic_);
    styles->addWidget(symbolic_);
    nodes->addLayout(styles, 3, 0);
    addFlag(nodes, 4, 0, "Coordinates", "Check7", &ViewSettings::nai_sint_kombon);
    addFlag(nodes, 5, 0, "Springs", "Check3", &ViewSettings::nai_springs);
    auto* elements = new QGridLayout;
    addFlag(elements, 0, 0, "Elements", "Check8", &ViewSettings::nai_stoixeia);
    addFlag(elements, 1, 0, "Numbering", "Check9", &ViewSettings::nai_arithmisi_stoixeion);
    addFlag(elements, 2, 0, "E,A Groups", "Check11", &ViewSettings::nai_omades);
    addFlag(elements, 3, 0, "Lengths", "Check12", &ViewSettings::nai_miki);
    auto* loads = new QGridLayout;
    addFlag(loads, 0, 0, "Vectors", "Check13", &ViewSettings::nai_fortiseis_si);
    addFlag(loads, 1, 0, "Values", "Check14", &ViewSettings::nai_times_fortiseon_si);
    auto* modelColours = new QGridLayout;
    addSwatch(modelColours, 0, 0, "Nodes", &ViewSettings::xroma_kombon);
    addSwatch(modelColours, 1, 0, "Elements", &ViewSettings::xroma_stoixeion);
    addSwatch(modelColours, 2, 0, "Nodal loads", &ViewSettings::xroma_sigkentromenon);
    addSwatch(modelColours, 3, 0, "Deformation", &ViewSettings::xroma_paramorfosis);
    auto* deformation = new QGridLayout;
    deformation->addWidget(new QLabel("1 cm =", this), 0, 0);
    deformation->addWidget(numberBox(Field::Deformation), 0, 1);
    deformation->addWidget(new QLabel("*10<sup>-3</sup> units", this), 0, 2);
    deformation->addWidget(new QLabel("Animation frames:", this), 1, 0);
    deformation->addWidget(numberBox(Field::Frames), 1, 1);
    auto* modelLayout = new QGridLayout(model);
    modelLayout->addWidget(frame("Nodes", nodes, this), 0, 0, 2, 1);
    modelLayout->addWidget(frame("Elements", elements, this), 0, 1);
    modelLayout->addWidget(frame("Nodal loads", loads, this), 1, 1);
    modelLayout->addWidget(frame("Colors", modelColours, this), 0, 2);
    modelLayout->addWidget(frame("Deformation", deformation, this), 2, 0, 1, 3);
    tabs_->addTab(model, "Model");

    // --- N && Color ------------------------------------------------------------------
    auto* nColour = new QWidget;
    auto* diagram = new QGridLayout;
    const struct {
        Field field;
        const char* units;
    } scales[] = {
        {Field::Force, "units F"}, {Field::Stress, "units s"}, {Field::Strain, "units e"}};
    for (int k = 0; k < 3; ++k) {
        diagram->addWidget(new QLabel("1cm=", this), k, 0);
        diagram->addWidget(numberBox(scales[k].field), k, 1);
        diagram->addWidget(new QLabel(scales[k].units, this), k, 2);
    }
    auto* side = new QToolButton(this);
    side->setObjectName("Command2");
    side->setToolTip("Click to change the drawing direction");
    side->setIconSize(QSize(56, 28));
    connect(side, &QToolButton::clicked, this, [this] {
        collect();
        editor_.values.N_sin_Ina = !editor_.values.N_sin_Ina;
        refresh();
    });
    refreshers_.push_back([this, side] { side->setIcon(sideIcon(editor_.values.N_sin_Ina)); });
    diagram->addWidget(new QLabel("Drawing direction:", this), 3, 0, 1, 2);
    diagram->addWidget(side, 3, 2);
    addSwatch(diagram, 4, 0, "[N] Diagram", &ViewSettings::xroma_N);
    auto* colourDiagram = new QGridLayout;
    addSwatch(colourDiagram, 0, 0, "Tension", &ViewSettings::Xroma_Efelkismou);
    addSwatch(colourDiagram, 1, 0, "Compression", &ViewSettings::Xroma_Thlipsis);
    addSwatch(colourDiagram, 2, 0, "Neutral", &ViewSettings::Xroma_Afortistou);
    auto* show = new QGridLayout;
    const char* captions[] = {"Force F", "Stress s = F / A", "Strain e = S / E"};
    for (int k = 0; k < 3; ++k) {
        quantities_[k] = new QRadioButton(captions[k], this);
        show->addWidget(quantities_[k], k, 0, 1, 2);
    }
    addFlag(show, 3, 0, "Show values", "Check17", &ViewSettings::nai_times_N);
    show->addWidget(new QLabel("Dec. places (F, s)", this), 4, 0);
    show->addWidget(numberBox(Field::DecimalsN), 4, 1);
    show->addWidget(new QLabel("Dec. places (e)", this), 5, 0);
    show->addWidget(numberBox(Field::DecimalsStrain), 5, 1);
    auto* nLayout = new QGridLayout(nColour);
    nLayout->addWidget(frame("N Diagram (F / s / e) ", diagram, this), 0, 0);
    nLayout->addWidget(frame("Color Diagram", colourDiagram, this), 1, 0);
    nLayout->addWidget(frame("Show:", show, this), 0, 1, 2, 1);
    auto* notes = new QLabel("Positive values:  [+] = Tension, [-] = Compression", this);
    nLayout->addWidget(notes, 2, 0, 1, 2);
    tabs_->addTab(nColour, "N && Color");

    // --- Buttons ---------------------------------------------------------------------
    const auto makeButton = [this](const char* caption, const char* tip) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        if (tip) b->setToolTip(tip);
        return b;
    };
    QPushButton* defaults = makeButton("Default", "Set current options as default for the program");
    QPushButton* restore = makeButton("Restore", "Restore program's initial options");
    QPushButton* cancel = makeButton("Cancel", nullptr);
    QPushButton* apply = makeButton("Apply", nullptr);
    QPushButton* ok = makeButton("OK", nullptr);
    ok->setDefault(true);
    connect(defaults, &QPushButton::clicked, this, [this] {
        collect();
        editor_.saveDefault();
        showFocus();
    });
    connect(restore, &QPushButton::clicked, this, [this] {
        collect();
        editor_.restore();
        refresh();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply, &QPushButton::clicked, this, [this] {
        collect();
        editor_.apply();
        showFocus();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        collect();
        if (editor_.apply()) {
            accept();
        } else {
            showFocus();
        }
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaults);
    buttons->addWidget(restore);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(apply);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    // Enabled states follow their check boxes at once.
    for (const auto& [box, flag] : flags_) {
        connect(box, &QCheckBox::clicked, this, [this] {
            collect();
            refresh();
        });
    }
    refresh();
}

void OptionsDialog::addFlag(QGridLayout* grid, int row, int column, const char* caption,
                            const char* name, bool ViewSettings::*flag) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    grid->addWidget(box, row, column);
    flags_[box] = flag;
}

QCheckBox* OptionsDialog::check(const QString& objectName) const {
    return findChild<QCheckBox*>(objectName);
}

QPushButton* OptionsDialog::button(const QString& caption) const {
    for (QPushButton* b : findChildren<QPushButton*>()) {
        if (b->text() == caption) return b;
    }
    return nullptr;
}

void OptionsDialog::clickSwatch(Colour ViewSettings::*colour) {
    collect();
    if (const auto chosen = askColour_(editor_.values.*colour)) editor_.values.*colour = *chosen;
    refresh();
}

void OptionsDialog::collect() {
    for (const auto& [box, flag] : flags_) editor_.values.*flag = box->isChecked();
    editor_.values.nai_graf_stir = graphic_->isChecked();
    const ResultQuantity quantities[] = {ResultQuantity::Force, ResultQuantity::Stress,
                                         ResultQuantity::Strain};
    for (int k = 0; k < 3; ++k) {
        if (quantities_[k]->isChecked()) showQuantity(editor_.values, quantities[k]);
    }
    const auto text = [this](Field f) { return boxes_.at(f)->text().toStdString(); };
    editor_.force = text(Field::Force);
    editor_.stress = text(Field::Stress);
    editor_.strain = text(Field::Strain);
    editor_.deformation = text(Field::Deformation);
    editor_.frames = text(Field::Frames);
    editor_.decimalsN = text(Field::DecimalsN);
    editor_.decimalsStrain = text(Field::DecimalsStrain);
    editor_.grid = text(Field::Grid);
}

void OptionsDialog::refresh() {
    const ViewSettings& v = editor_.values;
    for (const auto& [box, flag] : flags_) box->setChecked(v.*flag);
    graphic_->setChecked(v.nai_graf_stir);
    symbolic_->setChecked(!v.nai_graf_stir);
    quantities_[int(shownQuantity(v))]->setChecked(true);
    const auto setText = [this](Field f, const std::string& text) {
        boxes_.at(f)->setText(QString::fromStdString(text));
    };
    setText(Field::Force, editor_.force);
    setText(Field::Stress, editor_.stress);
    setText(Field::Strain, editor_.strain);
    setText(Field::Deformation, editor_.deformation);
    setText(Field::Frames, editor_.frames);
    setText(Field::DecimalsN, editor_.decimalsN);
    setText(Field::DecimalsStrain, editor_.decimalsStrain);
    setText(Field::Grid, editor_.grid);
    // A switched-off option greys out what depends on it; its text is kept and checked.
    boxes_.at(Field::Grid)->setEnabled(v.nai_grid);
    graphic_->setEnabled(v.nai_desmefseis);
    symbolic_->setEnabled(v.nai_desmefseis);
    boxes_.at(Field::DecimalsN)->setEnabled(v.nai_times_N);
    boxes_.at(Field::DecimalsStrain)->setEnabled(v.nai_times_N);
    for (const auto& refresher : refreshers_) refresher();
}

void OptionsDialog::showFocus() {
    if (editor_.focus == Field::None) return;
    tabs_->setCurrentIndex(int(editor_.tab));
    QLineEdit* box = boxes_.at(editor_.focus);
    box->setFocus();
    box->selectAll();
    editor_.focus = Field::None;
}

}  // namespace vortak
