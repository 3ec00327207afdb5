#include "app/gui_prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace vortak {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QString startPath(const FileDialogRequest& request) {
    const QString folder =
        request.initialDirectory.empty() ? QDir::currentPath() : qt(request.initialDirectory);
    if (request.proposedName.empty()) return folder;
    const QString name = qt(request.proposedName);
    return QDir::isAbsolutePath(name) ? name : QDir(folder).filePath(name);
}

std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

}  // namespace

QString dialogFilter(const std::string& filter) {
    // Pairs of description and pattern; the dialog shows the descriptions, which already
    // name their patterns.
    const QStringList parts = qt(filter).split('|');
    QStringList filters;
    for (int k = 0; k + 1 < parts.size(); k += 2) filters << parts[k];
    return filters.join(";;");
}

Answer GuiPrompter::messageBox(const std::string& text, MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(parent_);
    box.setWindowTitle(kProgramTitle);
    box.setText(qt(text).replace("\r\n", "\n"));
    switch (icon) {
        case MessageIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            break;
    }
    // Closing the box with its title-bar button or Esc.
    return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<std::string> GuiPrompter::inputBox(const std::string& prompt,
                                                 const std::string& initialText) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, kProgramTitle, qt(prompt),
                                               QLineEdit::Normal, qt(initialText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> GuiPrompter::openFileName(const FileDialogRequest& request) {
    return chosen(QFileDialog::getOpenFileName(parent_, qt(request.title), startPath(request),
                                               dialogFilter(request.filter)));
}

std::optional<std::string> GuiPrompter::saveFileName(const FileDialogRequest& request) {
    QFileDialog::Options options;
    if (!request.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    return chosen(QFileDialog::getSaveFileName(parent_, qt(request.title), startPath(request),
                                               dialogFilter(request.filter), nullptr, options));
}

}  // namespace vortak
