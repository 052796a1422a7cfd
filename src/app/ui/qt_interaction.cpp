#include "app/ui/qt_interaction.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

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

// Room a desktop's title bar takes beside the title: an icon on one side and
// three buttons on the other, the title being centred between them.
constexpr int kTitleBarDecoration = 160;

// An open dialog that can also take a name that is not a file yet, for
// the program's Open, which offers to create it. Names of files and folders
// go on as usual.
class OpenFileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    void takeNewNames(bool on) { newNames_ = on; }

    void accept() override {
        const QStringList files = selectedFiles();
        const bool anyNew = std::any_of(files.begin(), files.end(), [](const QString& f) {
            return !QFileInfo::exists(f) && QFileInfo(f).dir().exists();
        });
        if (newNames_ && anyNew) return QDialog::accept();
        QFileDialog::accept();
    }

private:
    bool newNames_ = false;
};

}  // namespace

QWidget* QtInteraction::dialogParent() const {
    // A dialog belongs to the window the user works in (the file viewer has
    // its own), so that it comes up over that window and leaves it in front.
    QWidget* active = QApplication::activeWindow();
    if (!keepToParent_ || !parent_) return active ? active : parent_.data();
    for (QWidget* w = active; w; w = w->parentWidget())
        if (w == parent_) return active;
    return parent_;
}

int QtInteraction::messageWidth(const QFont& font) {
    QFont title = font;
    title.setBold(true);
    return QFontMetrics(title).horizontalAdvance(kApplicationTitle) + kTitleBarDecoration;
}

Answer QtInteraction::message(MessageKind kind, const std::string& message, Buttons buttons) {
    QMessageBox box(iconFor(kind), kApplicationTitle, text(message), buttonsFor(buttons),
                    dialogParent());
    // A box is as wide as its text; the desktop cuts a longer title short.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(messageWidth(box.font()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
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
    const QString value = QInputDialog::getText(dialogParent(), text(title), text(prompt),
                                                QLineEdit::Normal, text(initial), &ok);
    if (!ok) return std::nullopt;
    return value.toStdString();
}

std::vector<std::string> QtInteraction::openFiles(const FileDialogRequest& request) {
    OpenFileDialog dialog(dialogParent(), text(request.title),
                          QFile::decodeName(request.folder.c_str()), text(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    // The program's Open, the one that takes several files, offers to create
    // a file; a single file to look at (the file viewer's) must exist.
    dialog.takeNewNames(request.multiple);
    // A name typed without an extension gets the default one, as in saving.
    dialog.setDefaultSuffix(text(request.defaultSuffix));
    std::vector<std::string> files;
    if (dialog.exec() != QDialog::Accepted) return files;
    for (const QString& f : dialog.selectedFiles()) files.push_back(path(f));
    return files;
}

std::optional<std::string> QtInteraction::saveFile(const FileDialogRequest& request) {
    QFileDialog dialog(dialogParent(), text(request.title),
                       QFile::decodeName(request.folder.c_str()), text(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(text(request.defaultSuffix));
    // A caller that asks its own question about an existing file.
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.empty()) dialog.selectFile(QFile::decodeName(request.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return path(dialog.selectedFiles().front());
}

std::optional<std::string> QtInteraction::browseFolder(const std::string& title,
                                                       const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(dialogParent(), text(title),
                                                             QFile::decodeName(start.c_str()));
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
