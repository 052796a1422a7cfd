#include "compare/ui/tsummary_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QVBoxLayout>
#include <ctime>

#include "compare/compare_report.h"
#include "compare/ui/compare_printing.h"
#include "core/file_io.h"
#include "core/interaction.h"

namespace zantor {

namespace {

std::string withExtension(const std::string& name, const std::string& extension) {
    const size_t slash = name.rfind('/');
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name.substr(0, dot) + extension;
    return name + extension;
}

}  // namespace

TSummaryDlg::TSummaryDlg(Interaction& interaction, std::function<QFont()> font, QWidget* parent)
    : QWidget(parent, Qt::Window), interaction_(interaction), font_(std::move(font)),
      memo_(new QPlainTextEdit(this)) {
    setObjectName("SummaryDlg");
    setWindowTitle("Summary Report");
    resize(500, 440);
    memo_->setObjectName("Memo");
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setFont(font_());

    auto* print = new QPushButton("&Print", this);
    print->setObjectName("PrintButton");
    print->setToolTip("Print Summary to a file");
    auto* saveButton = new QPushButton("&Save", this);
    saveButton->setObjectName("SaveButton");
    saveButton->setToolTip("Save Summary to a File");
    auto* copyButton = new QPushButton("&Copy", this);
    copyButton->setObjectName("CopyButton");
    copyButton->setToolTip("Copy Summary to Clipboard");
    connect(print, &QPushButton::clicked, this, &TSummaryDlg::print);
    connect(saveButton, &QPushButton::clicked, this, &TSummaryDlg::save);
    connect(copyButton, &QPushButton::clicked, this, &TSummaryDlg::copy);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(saveButton);
    buttons->addWidget(copyButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_);
    layout->addLayout(buttons);
    placeOnScreen();
}

void TSummaryDlg::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.right() + 1 - 20 - width(), area.bottom() + 1 - 25 - height());
}

void TSummaryDlg::setFileInformation(const std::vector<std::string>& lines) { summary_ = lines; }

void TSummaryDlg::addLine(const std::string& line) { summary_.push_back(line); }

void TSummaryDlg::addLines(const std::vector<std::string>& lines) {
    summary_.insert(summary_.end(), lines.begin(), lines.end());
}

void TSummaryDlg::setMemo(const QString& caption, const std::vector<std::string>& lines) {
    setWindowTitle(caption);
    memo_->setFont(font_());
    QString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += QString::fromLatin1(lines[i]);
    }
    memo_->setPlainText(text);
}

void TSummaryDlg::showReport() {
    setMemo("Summary Report", summary_);
    saveName_ = "Summary";
    show();
    raise();
}

void TSummaryDlg::showListing(const QString& caption, const std::vector<std::string>& lines,
                              int line, int length, const std::string& saveName) {
    setMemo(caption, lines);
    QTextCursor cursor(memo_->document()->findBlockByNumber(line));
    if (cursor.block().isValid()) {
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor,
                            std::min(length, cursor.block().length() - 1));
        memo_->setTextCursor(cursor);
        memo_->ensureCursorVisible();
    }
    saveName_ = saveName;
    show();
    raise();
}

std::vector<std::string> TSummaryDlg::memoLines() const {
    std::vector<std::string> lines;
    for (QTextBlock block = memo_->document()->begin(); block.isValid(); block = block.next())
        lines.push_back(block.text().toLatin1().toStdString());
    return lines;
}

void TSummaryDlg::print() {
    // The printed job ends its page itself: no form feed in the text.
    const auto lines = compare::SummaryOutputLines(memoLines(), std::time(nullptr));
    if (printLines(this, "Summary", lines, font_()) == PrintOutcome::Failed)
        interaction_.showError("Error on output of summary to PRN");
}

void TSummaryDlg::save() {
    FileDialogRequest request;
    request.title = "Save Summary";
    request.filter = "Text Files (*.txt *.sum);;All Files (*)";
    request.defaultSuffix = "lst";
    request.fileName = withExtension(saveName_, ".lst");
    const auto target = interaction_.saveFile(request);
    if (!target) return;
    try {
        writeFileAtomically(*target, compare::JoinReportLines(compare::SummaryOutputLines(
                                         memoLines(), std::time(nullptr))));
    } catch (const FileError&) {
        interaction_.showError("Error on output of summary to " + *target);
    }
}

void TSummaryDlg::copy() {
    const QString selected = memo_->textCursor().selectedText();
    if (selected.isEmpty()) {
        interaction_.showInformation("Select a block of text to copy.");
        return;
    }
    // The memo marks its line breaks as paragraph separators.
    QString text = selected;
    text.replace(QChar::ParagraphSeparator, '\n');
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace zantor
