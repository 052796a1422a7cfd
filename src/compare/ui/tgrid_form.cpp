#include "compare/ui/tgrid_form.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>

#include "compare/compare_error.h"
#include "compare/compare_report.h"
#include "compare/ui/compare_printing.h"
#include "compare/ui/difference_model.h"
#include "compare/ui/tsummary_dlg.h"
#include "core/file_io.h"
#include "core/interaction.h"
#include "session/run_state.h"

namespace zantor {

using namespace compare;

namespace {

// Message texts keep CR where the line breaks; a Linux dialog breaks at LF.
std::string shown(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

QString latin1(const std::string& text) { return QString::fromLatin1(text); }

}  // namespace

// Paces a run: status every 250 ms, the window kept responsive, the Compare
// button turned into Cancel after 3 s, and the user's cancel honoured.
class TGridForm::RunProgress : public CompareProgress {
public:
    explicit RunProgress(TGridForm& form) : form_(form), start_(form.now_()), shown_(start_) {}

    void Progress(long long position, long long total, int pass) override {
        if (form_.cancelRequested_) {
            form_.cancelRequested_ = false;
            throw CompareCanceled();
        }
        const auto now = form_.now_();
        if (now - shown_ <= std::chrono::milliseconds(250)) return;
        shown_ = now;
        const double percent = total == 0 ? 0.0 : double(position) * 100.0 / double(total);
        form_.setStatus(QString::asprintf("  Pass %d  %3.1f %%", pass, percent));
        QApplication::processEvents();
        if (now - start_ > std::chrono::milliseconds(3000) && form_.state_ == Running)
            form_.setState(RunningCancellable);
    }

private:
    TGridForm& form_;
    std::chrono::milliseconds start_;
    std::chrono::milliseconds shown_;
};

TGridForm::TGridForm(Interaction& interaction, std::string settingsPath, std::function<QFont()> font,
                     QWidget* parent)
    : QMainWindow(parent, Qt::Window), interaction_(interaction), settingsPath_(std::move(settingsPath)),
      font_(std::move(font)),
      now_([] {
          return std::chrono::duration_cast<std::chrono::milliseconds>(
              std::chrono::steady_clock::now().time_since_epoch());
      }),
      model_(new DifferenceModel(this)), grid_(new QTableView(this)), tabs_(new QTabWidget(this)),
      status_(new QLabel(this)), summary_(new TSummaryDlg(interaction, font_, this)) {
    setObjectName("GridForm");
    setWindowTitle(QString(kProductCaption) + " -- File Compare");
    resize(560, 440);
    setAcceptDrops(true);

    settings_ = ReadCompareSettings(settingsPath_);
    if (settings_.folder1.empty()) {
        settings_.folder1 = QDir::currentPath().toStdString() + "/";
        settings_.folder2 = settings_.folder1;
    }

    grid_->setObjectName("DifferenceGrid");
    grid_->setModel(model_);
    grid_->setFont(font_());
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(2 * QFontMetrics(font_()).boundingRect("Hg").height());
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setWordWrap(false);
    const int screenWidth = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().width() : 1024;
    const int widths[] = {30, 60, 60, 60, screenWidth <= 640 ? 600 : screenWidth - 220};
    for (int c = 0; c < kDifferenceColumns; ++c) grid_->setColumnWidth(c, widths[c]);
    connect(grid_, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (model_->hasRows() && (index.column() == 2 || index.column() == 3))
            listFile(index.column() - 1);
        else
            interaction_.beep();
    });
    auto* copyInList = new QAction(grid_);
    copyInList->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
    copyInList->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(copyInList);
    connect(copyInList, &QAction::triggered, this, &TGridForm::copyRows);

    tabs_->setObjectName("Tabs");
    tabs_->addTab(buildControlPanel(), "&Control Panel");
    static const char* const displayed[] = {"Lines from &both files", "F&irst file lines only",
                                            "&Second file lines only"};
    static const char* const matching[] = {"&No matching lines", "&All matching lines",
                                           "Ad&jacent matching lines"};
    tabs_->addTab(buildRadioPage("Difference Lines Displayed:", displayed, displayedGroup_, "DisplayedGroup"),
                  "&Difference Lines Options");
    tabs_->addTab(buildRadioPage("Add to Difference List:", matching, matchingGroup_, "MatchingGroup"),
                  "&Matching Lines Options");
    tabs_->setMaximumHeight(tabs_->sizeHint().height());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(tabs_);
    layout->addWidget(grid_, 1);
    setCentralWidget(central);
    status_->setObjectName("StatusPanel");
    statusBar()->addWidget(status_, 1);

    buildMenus();
    showOptions();
    setState(Initial);
}

TGridForm::~TGridForm() = default;

QWidget* TGridForm::buildControlPanel() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    const auto button = [&](const char* text, const char* hint, const char* name) {
        auto* b = new QPushButton(text, page);
        // A hint only: a status tip would hide the status panel's result.
        b->setToolTip(hint);
        b->setObjectName(name);
        layout->addWidget(b);
        return b;
    };
    openButton_ = button("O&pen Files", "Select Two Files", "OpenButton");
    compareButton_ = button("&Compare", "Compare the files", "CompareButton");
    summaryButton_ = button("&Summary", "Show Summary Report", "SummaryButton");
    downButton_ = button("Do&wn", "Select Next Block", "DownButton");
    topButton_ = button("&Top", "Go to Top of List", "TopButton");
    layout->addStretch();
    connect(openButton_, &QPushButton::clicked, this, &TGridForm::openFiles);
    connect(compareButton_, &QPushButton::clicked, this, [this] { compare(true); });
    connect(summaryButton_, &QPushButton::clicked, this, &TGridForm::showSummary);
    connect(downButton_, &QPushButton::clicked, this, &TGridForm::down);
    connect(topButton_, &QPushButton::clicked, this, &TGridForm::top);
    return page;
}

QWidget* TGridForm::buildRadioPage(const char* title, const char* const labels[3], QButtonGroup*& group,
                                   const char* objectName) {
    auto* page = new QWidget(this);
    auto* box = new QGroupBox(title, page);
    auto* boxLayout = new QHBoxLayout(box);
    group = new QButtonGroup(page);
    group->setObjectName(objectName);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(labels[i], box);
        group->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(box);
    return page;
}

void TGridForm::buildMenus() {
    const auto add = [this](QMenu* menu, const char* text, const char* name, auto slot,
                            QKeySequence key = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        if (!key.isEmpty()) action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    QMenu* file = menuBar()->addMenu("&File");
    openAction_ = add(file, "&Open Files...", "actionOpenFiles", &TGridForm::openFiles);
    saveListAction_ = add(file, "&Save Difference List...", "actionSaveDifferenceList",
                          &TGridForm::saveDifferenceList);
    printAction_ = add(file, "&Print", "actionPrint", &TGridForm::printDifferenceList);
    file->addSeparator();
    add(file, "E&xit", "actionExit", &TGridForm::close);

    QMenu* edit = menuBar()->addMenu("&Edit");
    cutAction_ = add(edit, "Cu&t      ", "actionCut", &TGridForm::cutRows, QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAction_ = add(edit, "&Copy          ", "actionCopy", &TGridForm::copyRows,
                      QKeySequence(Qt::CTRL | Qt::Key_C));
    selectAllAction_ = add(edit, "&Select All", "actionSelectAll", &TGridForm::selectAllRows,
                           QKeySequence(Qt::CTRL | Qt::Key_A));

    QMenu* view = menuBar()->addMenu("&View");
    compareAction_ = add(view, "&Compare the Files", "actionCompareFiles", [this] { compare(false); });
    summaryAction_ = add(view, "&Summary Report...", "actionSummaryReport", &TGridForm::showSummary);
    file1Action_ = add(view, "File &1 (Current)...", "actionListFile1", [this] { listFile(1); });
    file2Action_ = add(view, "File &2 (Previous)...", "actionListFile2", [this] { listFile(2); });

    QMenu* options = menuBar()->addMenu("&Options");
    const auto check = [&](const char* text, const char* name) {
        QAction* action = options->addAction(text);
        action->setObjectName(name);
        action->setCheckable(true);
        return action;
    };
    caseAction_ = check("&Case Sensitive", "actionCaseSensitive");
    leadingAction_ = check("&Exclude Leading Whitespace", "actionExcludeLeadingWhitespace");
    blankAction_ = check("&Label Blank Lines", "actionLabelBlankLines");
    deleteCreatedAction_ = check("&Delete Created Text Files", "actionDeleteCreatedFiles");

    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "&Help...", "actionHelp", [this] { emit helpRequested(kHelpContext); });
}

void TGridForm::showOptions() {
    caseAction_->setChecked(settings_.options.caseSensitive);
    leadingAction_->setChecked(settings_.options.excludeLeadingWhitespace);
    blankAction_->setChecked(settings_.options.labelBlankLines);
    deleteCreatedAction_->setChecked(settings_.deleteCreatedFiles);
    displayedGroup_->button(int(settings_.options.displayed))->setChecked(true);
    matchingGroup_->button(int(settings_.options.matching))->setChecked(true);
}

void TGridForm::readOptions() {
    settings_.options.caseSensitive = caseAction_->isChecked();
    settings_.options.excludeLeadingWhitespace = leadingAction_->isChecked();
    settings_.options.labelBlankLines = blankAction_->isChecked();
    settings_.deleteCreatedFiles = deleteCreatedAction_->isChecked();
    settings_.options.displayed = DisplayedLines(std::max(0, displayedGroup_->checkedId()));
    settings_.options.matching = MatchingLines(std::max(0, matchingGroup_->checkedId()));
}

void TGridForm::setState(State state) {
    state_ = state;
    const bool open = state == Initial || state == FilesReady || state == Done;
    const bool compareOn = state == FilesReady || state == RunningCancellable || state == Done;
    const bool done = state == Done;
    openButton_->setEnabled(open);
    openAction_->setEnabled(open);
    compareButton_->setEnabled(compareOn);
    compareButton_->setText(state == RunningCancellable ? "&Cancel" : "&Compare");
    compareAction_->setEnabled(compareOn);
    for (QWidget* w : std::initializer_list<QWidget*>{summaryButton_}) w->setEnabled(done);
    for (QAction* a : {summaryAction_, file1Action_, file2Action_}) a->setEnabled(done);
    const bool output = done && result_.diffFound;
    for (QAction* a : {printAction_, saveListAction_, copyAction_, cutAction_, selectAllAction_})
        a->setEnabled(output);
    downButton_->setEnabled(output);
    topButton_->setEnabled(output);
    tabs_->setCurrentIndex(0);
    if (state == Initial) openButton_->setFocus();
    if (state == FilesReady) compareButton_->setFocus();
    if (state == Done) summaryButton_->setFocus();
}

void TGridForm::setStatus(const QString& text) { status_->setText(text); }

QString TGridForm::statusText() const { return status_->text(); }

void TGridForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (state_ == Running || state_ == RunningCancellable) return;
    if (!file2_.empty())
        prepareFiles();
    else
        setState(Initial);
}

void TGridForm::openFiles() {
    if (!openButton_->isEnabled()) return;
    FileDialogRequest request;
    request.filter = "NC-Code Files (*.TAP *.NCC *.NC *.tap *.ncc *.nc);;Any file (*)";
    request.title = "Select First NC-Code File...";
    request.folder = settings_.folder1;
    const auto first = interaction_.openFiles(request);
    if (first.empty()) return;
    request.title = "Select Second NC-Code File...";
    request.folder = settings_.folder2;
    const auto second = interaction_.openFiles(request);
    if (second.empty()) return;
    file1_ = first.front();
    file2_ = second.front();
    settings_.folder1 = folderOf(file1_);
    settings_.folder2 = folderOf(file2_);
    if (prepareFiles()) compare(false);
}

void TGridForm::dropFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const std::string file = path.toStdString();
        if (file1_.empty() || !file2_.empty()) {
            file1_ = file;
            file2_.clear();
            setStatus("  Received: " + latin1(file1_));
        } else {
            file2_ = file;
            setStatus("  Received: " + latin1(file2_));
            activateWindow();
            prepareFiles();
        }
    }
}

void TGridForm::dragEnterEvent(QDragEnterEvent* event) {
    // A run reads its lists to the end: new files wait until it is over.
    if (event->mimeData()->hasUrls() && state_ != Running && state_ != RunningCancellable)
        event->acceptProposedAction();
}

void TGridForm::dropEvent(QDropEvent* event) {
    if (state_ == Running || state_ == RunningCancellable) return;
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    dropFiles(paths);
    event->acceptProposedAction();
}

bool TGridForm::prepareFiles() {
    if (IsRefusedExtension(file1_) || IsRefusedExtension(file2_)) {
        interaction_.beep();
        interaction_.showError(shown(kNonAsciiFiles));
        return false;
    }
    pair_ = AssignByModification(file1_, file2_);
    file1_ = pair_.file1;
    file2_ = pair_.file2;
    summary_->setFileInformation(FileInformationLines(pair_.chosenFirst, pair_.chosenSecond));
    list_.Clear();
    result_ = {};
    model_->setList(&list_);
    model_->setFileHeadings("File 1: " + latin1(file1_), "File 2: " + latin1(file2_));
    setStatus("  READY");
    current_.SetFileName(file1_);
    previous_.SetFileName(file2_);
    setState(FilesReady);
    return true;
}

void TGridForm::compare(bool fromButton) {
    if (fromButton && state_ == RunningCancellable) {
        cancelRequested_ = true;
        return;
    }
    if (state_ != FilesReady && state_ != Done) return;
    setStatus("");
    cancelRequested_ = false;
    try {
        current_.Load();
        model_->setFileHeadings(latin1(RunHeading1(file1_)), model_->fileHeading(1));
        previous_.Load();
        model_->setFileHeadings(model_->fileHeading(0), latin1(RunHeading2(file2_)));
    } catch (const CompareError& error) {
        failRun(error.what());
        return;
    }
    if (current_.Count() == 0 || previous_.Count() == 0) {
        interaction_.showWarning(kEmptyFiles);
        return;
    }
    setState(Running);
    interaction_.setBusy(true);
    // The grid shows no rows while the run writes them.
    model_->setList(nullptr);
    readOptions();
    try {
        RunProgress progress(*this);
        result_ = CompareFiles(current_, previous_, settings_.options, list_, progress);
    } catch (const CompareCanceled&) {
        interaction_.setBusy(false);
        list_.Clear();
        result_ = {};
        model_->setList(&list_);
        setState(Initial);
        setStatus("");
        return;
    } catch (const std::exception& error) {
        interaction_.setBusy(false);
        list_.Clear();
        result_ = {};
        model_->setList(&list_);
        failRun(error.what());
        return;
    }
    model_->setList(&list_);
    setStatus(latin1(result_.resultText));
    summary_->addLine(result_.resultText);
    interaction_.setBusy(false);
    setState(Done);
    if (model_->hasRows()) top();
}

void TGridForm::failRun(const std::string& message) {
    setStatus("  ERROR");
    interaction_.showError(shown(message));
    setState(Initial);
    file1_.clear();
    file2_.clear();
    model_->setFileHeadings("", "");
    setStatus("");
}

std::vector<int> TGridForm::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grid_->selectionModel()->selectedIndexes()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool TGridForm::selectBlockFrom(int row) {
    const auto& rows = list_.Rows();
    int first = row;
    while (first < int(rows.size()) && rows[size_t(first)].block == 0) ++first;
    if (first >= int(rows.size())) {
        interaction_.beep();
        return false;
    }
    int last = first;
    while (last + 1 < int(rows.size()) && rows[size_t(last + 1)].block == rows[size_t(first)].block) ++last;
    const QItemSelection block(model_->index(first, 0), model_->index(last, 0));
    grid_->selectionModel()->select(block, QItemSelectionModel::ClearAndSelect);
    grid_->selectionModel()->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
    if (first > 8)
        grid_->scrollTo(model_->index(first - 4, 0), QAbstractItemView::PositionAtTop);
    else
        grid_->scrollTo(model_->index(first, 0));
    return true;
}

void TGridForm::top() {
    if (!model_->hasRows()) return;
    grid_->scrollToTop();
    grid_->selectionModel()->select(model_->index(0, 0), QItemSelectionModel::ClearAndSelect);
    selectBlockFrom(0);
}

void TGridForm::down() {
    if (!model_->hasRows()) return;
    const std::vector<int> rows = selectedRows();
    const int bottom = rows.empty() ? -1 : rows.back();
    if (bottom >= int(list_.Rows().size()) - 1) {
        interaction_.beep();
        return;
    }
    selectBlockFrom(bottom + 1);
}

void TGridForm::listFile(int side) {
    if (state_ != Done) return;
    const std::vector<int> rows = selectedRows();
    long long line = 0;
    int length = 1;
    if (model_->hasRows() && !rows.empty()) {
        const DifferenceRow& row = list_.Rows()[size_t(rows.front())];
        line = side == 1 ? row.line1 : row.line2;
        length = int(row.text.size()) + 1;
    }
    const std::string& file = side == 1 ? file1_ : file2_;
    setStatus("Loading Source file...");
    BusyCursor busy(interaction_);
    TSourceList listing(side);
    listing.SetFileName(file);
    try {
        listing.Load();
    } catch (const CompareError&) {
        interaction_.beep();
        interaction_.showError("Unable to load all of file \n" + file);
        setStatus("");
        return;
    }
    const TFileInfo info = ReadFileInfo(file);
    summary_->showListing("Listing for:  " + latin1(info.fileName), ListingLines(info, listing),
                          int(line) + 3, length + 5, info.fileName);
    setStatus("");
}

void TGridForm::showSummary() {
    if (state_ != Done) return;
    summary_->addLines(SummaryStatisticsLines(FactsOf(result_, current_, previous_)));
    summary_->showReport();
}

std::vector<std::string> TGridForm::differenceListLines() const {
    const DifferenceListHeader header{ReadFileInfo(file1_), ReadFileInfo(file2_),
                                      model_->fileHeading(0).toLatin1().toStdString(),
                                      model_->fileHeading(1).toLatin1().toStdString()};
    return DifferenceListLines(header, list_, settings_.options, std::time(nullptr));
}

void TGridForm::saveDifferenceList() {
    if (!saveListAction_->isEnabled()) return;
    FileDialogRequest request;
    request.title = "Save Difference List";
    request.filter = "Text Files (*.txt *.sum);;All Files (*)";
    const std::string name = nameOf(file1_);
    request.fileName = folderOf(file1_) + name.substr(0, name.rfind('.')) + ".dif";
    const auto target = interaction_.saveFile(request);
    if (!target) return;
    try {
        writeFileAtomically(*target, JoinReportLines(differenceListLines()));
    } catch (const FileError&) {
        interaction_.showError("Error on output of list to " + *target);
        return;
    }
    setStatus(QString::asprintf("  Difference list for %s saved to %s", file1_.c_str(), nameOf(*target).c_str()));
}

void TGridForm::printDifferenceList() {
    if (!printAction_->isEnabled()) return;
    if (printLines(this, QString(kProductCaption) + " -- File Compare", differenceListLines(), font_()) ==
        PrintOutcome::Failed)
        interaction_.showError("Error on output of list to PRN");
}

void TGridForm::copyRows() {
    if (!copyAction_->isEnabled()) return;
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !model_->hasRows()) return;
    const auto& list = list_.Rows();
    const DifferenceRow& top = list[size_t(rows.front())];
    const DifferenceRow& bottom = list[size_t(rows.back())];
    std::vector<std::string> lines{"Lines:  " + DifferenceList::Cell(top, 2) + "/" + DifferenceList::Cell(top, 3) +
                                   " to " + DifferenceList::Cell(bottom, 2) + "/" + DifferenceList::Cell(bottom, 3)};
    for (int row : rows) lines.push_back(std::string(list[size_t(row)].text));
    summary_->setMemo("Saving to Clipboard", lines);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        interaction_.showError("Error loading Clipboard.");
        return;
    }
    clipboard->setText(summary_->memo()->toPlainText());
    setStatus(QString::asprintf("  %d Lines copied", int(rows.size())));
}

void TGridForm::cutRows() {
    if (!cutAction_->isEnabled()) return;
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !model_->hasRows()) return;
    copyRows();
    // The selection is one range of rows.
    model_->removeListRows(rows.front(), rows.back() - rows.front() + 1);
}

void TGridForm::selectAllRows() {
    if (!selectAllAction_->isEnabled()) return;
    grid_->selectAll();
}

void TGridForm::saveSettings(bool quietly) {
    readOptions();
    try {
        WriteCompareSettings(settingsPath_, settings_);
    } catch (const FileError& error) {
        if (!quietly) interaction_.showError(error.path() + ": " + error.what());
    }
}

void TGridForm::closeEvent(QCloseEvent* event) {
    if (state_ == Running || state_ == RunningCancellable) cancelRequested_ = true;
    saveSettings();
    summary_->hide();
    QMainWindow::closeEvent(event);
}

}  // namespace zantor
