#include "bmacro/ui/bmacro_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "bmacro/ui/number_input_dialog.h"
#include "core/file_io.h"
#include "core/interaction.h"

namespace zantor {

TMacrobdlg::TMacrobdlg(Interaction& interaction, std::string variablesFile, QWidget* parent)
    : QDialog(parent), interaction_(interaction), variablesFile_(std::move(variablesFile)) {
    setWindowTitle("B-Macro Interpeter");
    outputName_ = new QLineEdit(this);
    keepComments_ = new QCheckBox("&Keep Comments", this);
    keepComments_->setChecked(true);
    stopCode_ = new QLineEdit("M00", this);
    memo_ = new QPlainTextEdit("(Define Variables Here)", this);
    memo_->setFont(QFont("Monospace"));
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    lineNumber_ = new QLabel("Line #", this);
    lineText_ = new QLabel(this);
    lineText_->setTextFormat(Qt::PlainText);
    numberInput_ = new TGetvardlg(interaction, this);

    auto* form = new QFormLayout;
    form->addRow("&Output File Name:", outputName_);
    form->addRow(QString(), keepComments_);
    form->addRow("Program &Stop Code", stopCode_);
    form->addRow("&Pre-Defined Variables", memo_);
    form->addRow("Progress :", progress_);
    form->addRow(lineNumber_, lineText_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("C&ancel", QDialogButtonBox::RejectRole);
    buttons->addButton(QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMacrobdlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TMacrobdlg::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(120); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(560, 420);
}

void TMacrobdlg::prepare(const editor::TextDocument& program, const std::string& outputName,
                         const std::string& commentStart, const std::string& commentEnd,
                         int decimals) {
    program_ = &program;
    outputName_->setText(QString::fromStdString(outputName));
    options_.CommentStart = commentStart;
    options_.CommentEnd = commentEnd;
    options_.decimals = decimals;
    progress_->setValue(0);
    lineNumber_->setText("Line #");
    lineText_->clear();
}

void TMacrobdlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (fileExists(variablesFile_)) {
        try {
            memo_->setPlainText(QString::fromLatin1(readFileBytes(variablesFile_).c_str()));
        } catch (const FileError&) {
            // an unreadable variables file leaves the memo as it was
        }
    }
}

void TMacrobdlg::accept() {
    if (running_) return;
    run();
}

void TMacrobdlg::reject() {
    if (running_) {
        cancelled_ = true;  // the run notices it after the line it is on
        return;
    }
    QDialog::reject();
}

void TMacrobdlg::run() {
    const std::string output = outputName_->text().toStdString();
    if (fileExists(output) &&
        interaction_.message(MessageKind::Information, "Output File Already Exists, Overwrite",
                             Buttons::YesNo) != Answer::Yes) {
        QDialog::reject();
        return;
    }
    const QString memo = memo_->toPlainText();
    try {
        writeFileAtomically(variablesFile_, memo.toLatin1().toStdString());
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
    }
    options_.keepComments = keepComments_->isChecked();
    options_.stopCode = stopCode_->text().toStdString();
    options_.predefined.clear();
    for (const QString& line : memo.split('\n')) options_.predefined.push_back(line.toLatin1().toStdString());
    running_ = true;
    cancelled_ = false;
    try {
        AtomicFileWriter out(output);
        runBMacro(*program_, options_, *this, [&](const std::string& line) { out.write(line + "\r\n"); });
        out.commit();
    } catch (const FileError& error) {
        interaction_.showError(error.path() + ": " + error.what());
    }
    running_ = false;
    QDialog::accept();
}

void TMacrobdlg::error(const std::string& text) {
    interaction_.showError(text);
}

std::optional<double> TMacrobdlg::askNumber(const std::string& prompt, double proposed) {
    return numberInput_->ask(QString::fromLatin1(prompt.c_str()), proposed);
}

bool TMacrobdlg::lineDone(int line, int percent, const std::string& text) {
    progress_->setValue(percent);
    lineNumber_->setText(QString("Line # %1").arg(line));
    lineText_->setText(QString::fromLatin1(text.c_str()));
    QApplication::processEvents();  // repaints, and lets Cancel be pressed
    return cancelled_;
}

}  // namespace zantor
