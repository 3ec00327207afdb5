#include "editing/loads_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "editing/dialog_support.h"

namespace vortak {

namespace {

// A node with its two load arrows pointing the positive ways, along +x and +y (up), in the
// green of the model drawing's loads: the picture shows which sign a typed load takes.
QPixmap loadPicture(QWidget* owner) {
    const qreal ratio = owner->devicePixelRatioF();
    const int size = 72;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green(0, 150, 0);
    const QPointF node(22, 50);
    const auto arrow = [&](QPointF from, QPointF to) {
        p.setPen(QPen(green, 2));
        p.drawLine(from, to);
        const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
        const QPointF n(-d.y(), d.x());
        QPainterPath head;
        head.moveTo(to);
        head.lineTo(to - 8 * d + 4 * n);
        head.lineTo(to - 8 * d - 4 * n);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawPath(head);
    };
    arrow({28, 50}, {66, 50});  // +Fx, to the right
    arrow({22, 44}, {22, 6});   // +Fy, upwards
    p.setPen(QPen(owner->palette().color(QPalette::WindowText), 1.5));
    p.setBrush(owner->palette().color(QPalette::Base));
    p.drawEllipse(node, 5, 5);
    p.setPen(green);
    QFont font = owner->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    p.setFont(font);
    p.drawText(QRectF(34, 52, 32, 18), Qt::AlignCenter, "Fx");
    p.drawText(QRectF(26, 4, 28, 22), Qt::AlignCenter, "Fy");
    return pixmap;
}

}  // namespace

LoadsDialog::LoadsDialog(AppState& app, QWidget* parent, int node) : QDialog(parent), editor_(app) {
    setWindowTitle("Nodal loads");
    node_ = vortak::numberBox(this);
    fx_ = new QLineEdit(this);
    fy_ = new QLineEdit(this);
    caption_ = new QLabel(this);
    list_ = new QListWidget(this);
    delete_ = new QPushButton("Delete", this);
    apply_ = new QPushButton("Apply", this);
    cancel_ = new QPushButton("Cancel", this);
    for (QLineEdit* box : {fx_, fy_}) box->setMinimumWidth(140);
    // The list is as wide as its caption and as tall as the load boxes beside it.
    const int listWidth = caption_->fontMetrics().horizontalAdvance("Nodes with loads on: 100");
    caption_->setMinimumWidth(listWidth);
    list_->setFixedWidth(listWidth);
    list_->setMinimumHeight(list_->fontMetrics().height() * 4);
    list_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);

    const auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("On node", this));
    top->addWidget(label("#", node_));
    top->addWidget(node_);
    top->addStretch();

    auto* picture = new QLabel(this);
    picture->setPixmap(loadPicture(this));
    auto* values = new QGridLayout;
    values->addWidget(picture, 0, 0, 1, 3, Qt::AlignCenter);
    values->addWidget(label("Fx =", fx_), 1, 0, Qt::AlignRight);
    values->addWidget(fx_, 1, 1);
    values->addWidget(new QLabel("Force", this), 1, 2);
    values->addWidget(label("Fy =", fy_), 2, 0, Qt::AlignRight);
    values->addWidget(fy_, 2, 1);
    values->addWidget(new QLabel("Force", this), 2, 2);
    auto* box = new QGroupBox(this);
    box->setLayout(values);

    auto* listed = new QVBoxLayout;
    listed->addWidget(caption_);
    listed->addWidget(list_, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(box, 1);
    middle->addLayout(listed);

    QHBoxLayout* buttons = buttonRow(delete_, apply_, cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    setTabChain({node_, fx_, fy_, apply_, delete_, cancel_, list_});

    connect(node_, &QComboBox::activated, this, [this](int index) {
        act([this, index] { editor_.choose(node_->itemText(index).toStdString()); });
    });
    onReturnKey(node_, [this] {
        act([this] { editor_.enterInNode(node_->currentText().toStdString()); });
    });
    // A node is chosen when the user selects it. The list makes its first item current,
    // without selecting it, when it gets the focus; that must not load it over the boxes.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = list_->selectedItems();
        if (selected.isEmpty()) return;
        const int row = list_->row(selected.first());
        act([this, row] { editor_.chooseListed(row); });
    });
    onReturnKey(fx_, [this] { act([this] { editor_.enterInFx(); }); });
    onReturnKey(fy_, [this] { act([this] { editor_.enterInFy(); }); });
    connect(apply_, &QPushButton::clicked, this, [this] { act([this] { editor_.apply(); }); });
    connect(delete_, &QPushButton::clicked, this, [this] { act([this] { editor_.remove(); }); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setUpKeyboard(this);

    editor_.open(node);
    refresh();
}

void LoadsDialog::collect() {
    editor_.node = node_->currentText().toStdString();
    editor_.fx = fx_->text().toStdString();
    editor_.fy = fy_->text().toStdString();
}

void LoadsDialog::act(const std::function<void()>& action) {
    collect();
    action();
    refresh();
}

void LoadsDialog::refresh() {
    setItems(node_, editor_.items);
    setBoxText(node_, editor_.node);
    fx_->setText(qt(editor_.fx));
    fy_->setText(qt(editor_.fy));
    caption_->setText(qt(editor_.loadedCaption));
    {
        const QSignalBlocker block(list_);
        QStringList wanted;
        for (const std::string& item : editor_.loaded) wanted << qt(item);
        QStringList present;
        for (int k = 0; k < list_->count(); ++k) present << list_->item(k)->text();
        if (present != wanted) {
            list_->clear();
            list_->addItems(wanted);
        }
        list_->setCurrentRow(editor_.loadedRow);
        if (editor_.loadedRow < 0) list_->clearSelection();
    }
    QWidget* target = nullptr;
    switch (editor_.focus) {
        case LoadsEditor::Field::Node:
            target = node_;
            break;
        case LoadsEditor::Field::Fx:
            target = fx_;
            break;
        case LoadsEditor::Field::Fy:
            target = fy_;
            break;
        case LoadsEditor::Field::Apply:
            target = apply_;
            break;
        case LoadsEditor::Field::None:
            break;
    }
    giveFocus(target);
    editor_.focus = LoadsEditor::Field::None;
}

}  // namespace vortak
