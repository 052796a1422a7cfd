#pragma once

#include <QObject>

namespace zantor {

class HelpWindow;
class TMainForm;

// The Help menu: the help window at its contents, its search, a context
// number's page, the DNC and analyzer pages, and the About box.
class HelpCommands : public QObject {
    Q_OBJECT
public:
    explicit HelpCommands(TMainForm& form);

    void showHelp(int context);
    void about();
    HelpWindow& window() const { return *window_; }

    // Where the pages are looked for: installed beside the program, then the
    // source tree of a build that was not installed, then the program folder.
    static QString findHelpFolder(const QString& programFolder);

private:
    TMainForm& form_;
    HelpWindow* window_;
};

}  // namespace zantor
