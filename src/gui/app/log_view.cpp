#include "app/log_view.h"

#include <QPalette>
#include <QScrollBar>
#include <QTextCursor>

namespace vortak {

LogView::LogView(MessageLog& log, QWidget* parent) : QTextEdit(parent), log_(log) {
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setFocusPolicy(Qt::ClickFocus);
    // The log's colours (black, navy, green, red, grey) are its own: they are written on
    // the white they were chosen for, not on the ground of a dark desktop scheme.
    QPalette paper = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        paper.setColor(group, QPalette::Base, Qt::white);
        paper.setColor(group, QPalette::Text, Qt::black);
    }
    setPalette(paper);
    for (const LogRun& run : log_.runs()) append(run);
    log_.setListener([this](const LogRun& run) { append(run); });
}

LogView::~LogView() { log_.setListener(nullptr); }

void LogView::append(const LogRun& run) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    const Colour c = logColourRgb(run.colour);
    format.setForeground(QColor(redOf(c), greenOf(c), blueOf(c)));
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    cursor.insertText(QString::fromStdString(run.text).replace("\r\n", "\n"), format);
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

}  // namespace vortak
