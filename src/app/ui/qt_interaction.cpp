#include "app/ui/qt_interaction.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "session/run_state.h"

namespace zantor {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}
std::string path(const QString& s) {
    return QFile::encodeName(s).toStdString();
}

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return QMessageBox::Information;
        case MessageKind::Confirmation:
            return QMessageBox::Question;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Plain:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons buttonsFor(Buttons buttons) {
    switch (buttons) {
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

}  // namespace

Answer QtInteraction::message(MessageKind kind, const std::string& message, Buttons buttons) {
    QMessageBox box(iconFor(kind), kApplicationTitle, text(message), buttonsFor(buttons), parent_);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Ok:
            return Answer::Ok;
        default:
            return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<std::string> QtInteraction::inputText(const std::string& title,
                                                    const std::string& prompt,
                                                    const std::string& initial) {
    bool ok = false;
    const QString value = QInputDialog::getText(parent_, text(title), text(prompt),
                                                QLineEdit::Normal, text(initial), &ok);
    if (!ok) return std::nullopt;
    return value.toStdString();
}

std::vector<std::string> QtInteraction::openFiles(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, text(request.title), QFile::decodeName(request.folder.c_str()),
                       text(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // A name typed without an extension gets the default one, as in saving.
    dialog.setDefaultSuffix(text(request.defaultSuffix));
    std::vector<std::string> files;
    if (dialog.exec() != QDialog::Accepted) return files;
    for (const QString& f : dialog.selectedFiles()) files.push_back(path(f));
    return files;
}

std::optional<std::string> QtInteraction::saveFile(const FileDialogRequest& request) {
    QFileDialog dialog(parent_, text(request.title), QFile::decodeName(request.folder.c_str()),
                       text(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(text(request.defaultSuffix));
    if (!request.fileName.empty()) dialog.selectFile(QFile::decodeName(request.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return path(dialog.selectedFiles().front());
}

std::optional<std::string> QtInteraction::browseFolder(const std::string& title,
                                                       const std::string& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(parent_, text(title), QFile::decodeName(start.c_str()));
    if (folder.isEmpty()) return std::nullopt;
    return path(folder);
}

void QtInteraction::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtInteraction::beep() {
    QApplication::beep();
}

}  // namespace zantor
