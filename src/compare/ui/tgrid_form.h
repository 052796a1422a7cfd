#pragma once

#include <QFont>
#include <QMainWindow>
#include <chrono>
#include <functional>
#include <string>

#include "compare/compare_files.h"
#include "compare/compare_settings.h"
#include "compare/difference_list.h"
#include "compare/file_pair.h"
#include "compare/source_list.h"

class QAction;
class QButtonGroup;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zantor {

class DifferenceModel;
class Interaction;
class TSummaryDlg;

// The File Compare window: choose two versions of a program, compare them,
// step through the differences, list either file at one, print or save the
// difference list, and open the summary report.
class TGridForm : public QMainWindow {
    Q_OBJECT
public:
    enum State { Initial = 0, FilesReady = 1, Running = 2, RunningCancellable = 3, Done = 4 };
    static constexpr int kHelpContext = 108;

    // `settingsPath` is the window's own settings file; `font` the editor
    // font, which the grid and the summary use.
    TGridForm(Interaction& interaction, std::string settingsPath, std::function<QFont()> font,
              QWidget* parent = nullptr);
    ~TGridForm() override;

    // The time the run's progress is paced by; steady time unless a test sets one.
    using Now = std::function<std::chrono::milliseconds()>;
    void setClock(Now now) { now_ = std::move(now); }

    State state() const { return state_; }
    const std::string& file1() const { return file1_; }
    const std::string& file2() const { return file2_; }
    QString statusText() const;
    const compare::DifferenceList& differences() const { return list_; }
    const compare::CompareResult& result() const { return result_; }
    TSummaryDlg& summaryDialog() const { return *summary_; }
    QTableView* grid() const { return grid_; }
    DifferenceModel& model() const { return *model_; }

    void openFiles();
    // Each file as if dropped on the window.
    void dropFiles(const QStringList& paths);
    // `fromButton`: the Compare button, which cancels a cancellable run.
    void compare(bool fromButton = false);
    void down();
    void top();
    void listFile(int side);
    void showSummary();
    void saveDifferenceList();
    void printDifferenceList();
    void copyRows();
    void cutRows();
    void selectAllRows();
    // Writes the settings file; a failure is told unless `quietly`.
    void saveSettings(bool quietly = false);

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class RunProgress;

    void buildMenus();
    QWidget* buildControlPanel();
    QWidget* buildRadioPage(const char* title, const char* const labels[3], QButtonGroup*& group,
                            const char* objectName);
    void setState(State state);
    bool prepareFiles();
    void failRun(const std::string& message);
    void setStatus(const QString& text);
    bool selectBlockFrom(int row);
    void readOptions();
    void showOptions();
    std::vector<int> selectedRows() const;
    std::vector<std::string> differenceListLines() const;
    void message(const std::string& text, int kind);

    Interaction& interaction_;
    std::string settingsPath_;
    std::function<QFont()> font_;
    Now now_;
    compare::CompareSettings settings_;

    std::string file1_;
    std::string file2_;
    compare::FilePair pair_;
    compare::TSourceList current_{1};
    compare::TSourceList previous_{2};
    compare::DifferenceList list_;
    compare::CompareResult result_;
    State state_ = Initial;
    bool cancelRequested_ = false;

    DifferenceModel* model_;
    QTableView* grid_;
    QTabWidget* tabs_;
    QLabel* status_;
    TSummaryDlg* summary_;
    QPushButton* openButton_;
    QPushButton* compareButton_;
    QPushButton* summaryButton_;
    QPushButton* downButton_;
    QPushButton* topButton_;
    QButtonGroup* displayedGroup_ = nullptr;
    QButtonGroup* matchingGroup_ = nullptr;
    QAction* openAction_;
    QAction* saveListAction_;
    QAction* printAction_;
    QAction* cutAction_;
    QAction* copyAction_;
    QAction* selectAllAction_;
    QAction* compareAction_;
    QAction* summaryAction_;
    QAction* file1Action_;
    QAction* file2Action_;
    QAction* caseAction_;
    QAction* leadingAction_;
    QAction* blankAction_;
    QAction* deleteCreatedAction_;
};

}  // namespace zantor
