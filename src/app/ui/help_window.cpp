#include "app/ui/help_window.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "session/help_pages.h"

namespace zantor {

namespace {
constexpr int kFileRole = Qt::UserRole;
}

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      folder_(folder),
      browser_(new QTextBrowser(this)),
      topics_(new QListWidget(this)),
      search_(new QLineEdit(this)) {
    setObjectName("HelpWindow");
    setWindowTitle("Zantor Help");
    resize(900, 600);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    topics_->setObjectName("HelpTopics");
    search_->setObjectName("HelpSearch");
    search_->setPlaceholderText("Search the help pages");
    search_->setClearButtonEnabled(true);

    auto* bar = new QToolBar(this);
    QStyle* style = this->style();
    QAction* contents = bar->addAction(style->standardIcon(QStyle::SP_DirHomeIcon), "&Contents");
    contents->setObjectName("helpContents");
    QAction* back = bar->addAction(style->standardIcon(QStyle::SP_ArrowBack), "&Back");
    back->setObjectName("helpBack");
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(style->standardIcon(QStyle::SP_ArrowForward), "&Forward");
    forward->setObjectName("helpForward");
    forward->setShortcut(QKeySequence::Forward);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QAction::triggered, this, &HelpWindow::showContents);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* searchLabel = new QLabel("&Search:", side);
    searchLabel->setBuddy(search_);
    sideLayout->addWidget(searchLabel);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(topics_);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(side);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(splitter);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& words) {
        topics_->clear();
        if (folder_.isEmpty()) return;
        for (const HelpTopic& topic : SearchHelp(folder_.toStdString(), words.toStdString())) {
            auto* item = new QListWidgetItem(QString::fromStdString(topic.title), topics_);
            item->setData(kFileRole, QString::fromStdString(topic.file));
        }
    });
    connect(topics_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        showFile(item->data(kFileRole).toString(), item->text());
    });
    connect(topics_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        showFile(item->data(kFileRole).toString(), item->text());
    });
    emit search_->textChanged(QString());
}

void HelpWindow::showFile(const QString& file, const QString& missingWhat) {
    raiseWindow();
    if (!folder_.isEmpty() && QFileInfo::exists(file)) {
        browser_->setSource(QUrl::fromLocalFile(file));
        return;
    }
    // Said in the window itself: a click that shows nothing helps nobody.
    const QString where = folder_.isEmpty()
                              ? QString("The help pages were not found: they are installed with "
                                        "the program, in share/zantor/help beside its bin folder.")
                              : "It should be the file " + file.toHtmlEscaped() + ".";
    browser_->setHtml("<h1>Help page not found</h1><p>There is no help page for " +
                      missingWhat.toHtmlEscaped() + ".</p><p>" + where + "</p>");
}

void HelpWindow::showContext(int context) {
    showFile(QString::fromStdString(HelpPageFile(folder_.toStdString(), context)),
             QString("context %1").arg(context));
}

void HelpWindow::showPage(const QString& fileName) {
    showFile(folder_ + "/" + fileName, fileName);
}

void HelpWindow::showContents() {
    showPage(kHelpContentsPage);
}

void HelpWindow::search(const QString& words) {
    if (browser_->source().isEmpty()) showContents();
    raiseWindow();
    search_->setText(words);
    search_->setFocus();
    search_->selectAll();
}

void HelpWindow::raiseWindow() {
    show();
    raise();
    activateWindow();
}

}  // namespace zantor
