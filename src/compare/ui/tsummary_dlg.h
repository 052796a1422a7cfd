#pragma once

#include <QFont>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace zantor {

class Interaction;

// The summary window of File Compare: the summary report, numbered listings
// of the compared files, and the buffer of rows copied to the clipboard. A
// window of its own, not modal.
class TSummaryDlg : public QWidget {
    Q_OBJECT
public:
    TSummaryDlg(Interaction& interaction, std::function<QFont()> font, QWidget* parent = nullptr);

    // The summary text: the file information block, then added lines.
    void setFileInformation(const std::vector<std::string>& lines);
    void addLine(const std::string& line);
    void addLines(const std::vector<std::string>& lines);
    const std::vector<std::string>& summaryText() const { return summary_; }

    // Shows the summary text under "Summary Report".
    void showReport();
    // Shows a listing; selects `length` characters from the start of memo
    // line `line` (0-based).
    void showListing(const QString& caption, const std::vector<std::string>& lines, int line,
                     int length, const std::string& saveName);
    // Fills the memo with `lines` under `caption`, not shown.
    void setMemo(const QString& caption, const std::vector<std::string>& lines);
    // The memo's lines as Latin-1 bytes.
    std::vector<std::string> memoLines() const;
    QPlainTextEdit* memo() const { return memo_; }

    void print();
    void save();
    void copy();

    // Placed 20 pixels from the right and 25 from the bottom of the screen.
    void placeOnScreen();

private:
    Interaction& interaction_;
    std::function<QFont()> font_;
    QPlainTextEdit* memo_;
    std::vector<std::string> summary_;
    std::string saveName_ = "Summary";
};

}  // namespace zantor
