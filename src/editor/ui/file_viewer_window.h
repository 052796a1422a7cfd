#pragma once

#include <QAbstractScrollArea>
#include <QMainWindow>
#include <QStringList>
#include <string>

#include "editor/file_viewer_model.h"

class QAction;

namespace zantor {
class Interaction;
}

namespace zantor::editor {

// The scrolling surface of the file viewer: it asks the model only for the
// lines it shows. In hex mode it scrolls by line; in text mode by byte
// offset, since the lines of a file of any size cannot be counted first.
class FileViewerArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FileViewerArea(const FileViewerModel& model, QWidget* parent = nullptr);

    void setHexMode(bool on);
    bool hexMode() const { return hexMode_; }
    // Back to the top after another file was opened or closed.
    void reset();
    // The lines now on screen, as painted.
    QStringList visibleLines() const;
    void scrollLines(int lines);
    void scrollToEnd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int pageLines() const;
    int lineHeight() const;
    void updateScrollBars();
    void jumpToScrollValue(int value);
    // Arrow and page clicks on the scroll bar move by lines, not by its units.
    void stepByLines(int action);
    void syncScrollValue();
    long long textScrollScale() const;

    const FileViewerModel& model_;
    bool hexMode_ = false;
    long long top_ = 0;  // hex: first line shown; text: byte offset of the first line
    bool syncing_ = false;
};

// "&File Viewer": a separate read-only window for any file, in text or hex.
class FileViewerWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FileViewerWindow(Interaction& interaction, QWidget* parent = nullptr);

    // Shows the file; a file that cannot be opened gives an error box with
    // the system's text and the viewer keeps what it showed.
    bool openFile(const std::string& path);
    FileViewerArea* area() const { return area_; }
    QAction* hexAction() const { return hexAction_; }
    QAction* openAction() const { return openAction_; }
    QAction* exitAction() const { return exitAction_; }
    const FileViewerModel& model() const { return model_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseFile();
    void updateCaption();

    Interaction& interaction_;
    FileViewerModel model_;
    FileViewerArea* area_;
    QAction* openAction_;
    QAction* exitAction_;
    QAction* hexAction_;
};

}  // namespace zantor::editor
