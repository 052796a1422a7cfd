#include "app/ui/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <filesystem>

#include "app/ui/dialog_placement.h"
#include "app/ui/calculator_commands.h"
#include "app/ui/command_map.h"
#include "app/ui/dnc_menu.h"
#include "app/ui/compare_command.h"
#include "app/ui/nc_utility_commands.h"
#include "app/ui/setup_commands.h"
#include "app/ui/print_commands.h"
#include "app/ui/external_commands.h"
#include "app/ui/help_commands.h"
#include "app/ui/editor_commands.h"
#include "app/ui/insert_commands.h"
#include "app/ui/search_commands.h"
#include "app/ui/font_conversion.h"
#include "core/interaction.h"
#include "editor/ui/editor_workspace.h"
#include "editor/ui/tmdi_child.h"
#include "users/ui/login_dialog.h"
#include "users/ui/password_dialog.h"

// The icon lives in the widgets library, whose resources a program must
// bring in by name.
static void initIconResource() {
    Q_INIT_RESOURCE(icons);
}

namespace zantor {

namespace {
std::string toPath(const QString& file) {
    return QFile::encodeName(file).toStdString();
}
}  // namespace

QIcon programIcon() {
    initIconResource();
    return QIcon(":/zantor/zantor.png");
}

TMainForm::TMainForm(AppSession& session, Interaction& interaction, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      interaction_(interaction),
      mdiArea_(new QMdiArea(this)),
      machineBox_(new QComboBox(this)),
      loginDialog_(new TLoginDlg(this)),
      passwordDialog_(new TPasswordDlg(session.users, session.log, interaction, this)) {
    setObjectName("MainForm");
    setWindowTitle(kMainWindowCaption);
    // The program's own icon, which every editor window shows too.
    QApplication::setWindowIcon(programIcon());
    setWindowIcon(programIcon());
    new DialogPlacement(*this);
    setCentralWidget(mdiArea_);
    mdiArea_->setViewMode(QMdiArea::SubWindowView);
    mdiArea_->setBackground(QColor(13, 122, 242));
    // A window moved out of sight can be scrolled back to.
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resize(1000, 700);
    setWindowState(Qt::WindowMaximized);

    machineBox_->setObjectName("MachineBox");
    machineBox_->setToolTip("Select a Machine name");
    machineBox_->setStatusTip("Select a Machine name");
    machineBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    machineBox_->setMinimumContentsLength(20);
    auto* toolbar = addToolBar("Machine");
    toolbar->setObjectName("MachineToolBar");
    toolbar->addWidget(machineBox_);
    connect(machineBox_, &QComboBox::activated, this, [this](int index) {
        session_.machineSelected(index);
        // The colouring follows the new machine's comment strings.
        workspace_->recolourAll();
        // The choice is made: the selector's hint gives way to the panels.
        statusBar()->clearMessage();
    });

    buildMenus();
    statusBar()->showMessage(QString());

    session_.create(defaultEditorFont());
    setAcceptDrops(true);
    showMachineSelector();

    workspace_ = new editor::EditorWorkspace(
        session_, interaction_, *mdiArea_, [this] { return toQFont(session_.state.EditorFont); },
        this);
    editorCommands_ = new EditorCommands(*this, *workspace_);
    calculatorCommands_ = new CalculatorCommands(*this, interaction_);
    searchCommands_ = new SearchCommands(*this, interaction_);
    insertCommands_ = new InsertCommands(*this, interaction_);
    dncMenu_ = new DncMenu(*this, interaction_);
    ncUtilityCommands_ = new NcUtilityCommands(*this, interaction_);
    new SetupCommands(*this, interaction_);
    new CompareCommand(*this, interaction_);
    new PrintCommands(*this, interaction_);
    new ExternalCommands(*this, interaction_);
    helpCommands_ = new HelpCommands(*this);
    // Last: every area has made its commands, the map puts them in order.
    new CommandMap(*this);
    activateEditorWindow = [this](const QString& name) {
        editor::TMDIChild* window = workspace_->editorWindow(toPath(name));
        if (window) workspace_->activate(*window);
        return window != nullptr;
    };
    openEditorWindow = [this](const QString& name) {
        workspace_->OpenEditorWindow(toPath(name), true);
    };

    connect(passwordDialog_, &TPasswordDlg::helpRequested, this, &TMainForm::showHelp);
    connect(passwordDialog_, &TPasswordDlg::viewLogRequested, this, [this](const QString& file) {
        if (openEditorWindow) openEditorWindow(file);
    });
}

TMainForm::~TMainForm() {
    setAcceptDrops(false);
    session_.destroy();
}

void TMainForm::buildMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->setObjectName("FileMenu");
    fileMenu_->menuAction()->setStatusTip("File related commands");
    loginAction_ = fileMenu_->addAction("Change &Login");
    loginAction_->setObjectName("actionLogin");
    loginAction_->setStatusTip("Log off and log in as another user");
    connect(loginAction_, &QAction::triggered, this, &TMainForm::changeLogin);
    fileMenu_->addSeparator();
    QAction* exitAction = fileMenu_->addAction("E&xit");
    exitAction->setObjectName("actionExit");
    // Alt+F4 first, as the menu shows it; the desktop's own quit key works too.
    exitAction->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_F4), QKeySequence::Quit});
    exitAction->setStatusTip("Exit application");
    connect(exitAction, &QAction::triggered, this, [this] {
        session_.saveSettings();
        close();
    });

    setupMenu_ = menuBar()->addMenu("&Setup");
    setupMenu_->setObjectName("SetupMenu");
    setupMenu_->menuAction()->setStatusTip("Set user preferences");
    QAction* passwords = setupMenu_->addAction("Password Manager");
    passwords->setObjectName("actionPasswordManager");
    passwords->setStatusTip("Users, passwords, privileges and the activity log");
    connect(passwords, &QAction::triggered, this, &TMainForm::showPasswordManager);
}

void TMainForm::showMachineSelector() {
    const QSignalBlocker block(machineBox_);
    machineBox_->clear();
    for (const std::string& name : session_.selector.entries())
        machineBox_->addItem(QString::fromStdString(name));
    machineBox_->setCurrentIndex(session_.selector.selectedIndex());
}

bool TMainForm::startUp(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(toPath(a));
    const CommandLine commandLine = parseCommandLine(args);
    const auto outcome = session_.start(commandLine, [this] { return askCredentials(); });
    if (outcome == AppSession::StartOutcome::Quit) {
        close();
        return false;
    }
    updateLoginCaption();
    if (outcome == AppSession::StartOutcome::Remote) {
        showMachineSelector();
        // Runs once the event loop has started, until the service stops.
        QTimer::singleShot(0, dncMenu_, &DncMenu::runRemoteStation);
        return true;
    }
    // A window's caption is the file's full name, by which it is found again.
    if (openEditorWindow)
        for (const std::string& file : commandLine.files)
            openEditorWindow(QFile::decodeName(
                std::filesystem::absolute(file).lexically_normal().string().c_str()));
    showMachineSelector();
    return true;
}

std::optional<Credentials> TMainForm::askCredentials() {
    return loginDialog_->ask();
}

void TMainForm::updateLoginCaption() {
    loginAction_->setText(QString::fromStdString(session_.loginMenuCaption()));
}

void TMainForm::changeLogin() {
    const bool loggedIn = session_.changeLogin([this] { return askCredentials(); });
    // The caption names whoever is logged in now: nobody, when a close
    // question keeps the program from ending below.
    updateLoginCaption();
    // Nobody is logged in any more: the program ends, as at start-up.
    if (!loggedIn) QTimer::singleShot(0, this, &QWidget::close);
}

void TMainForm::showPasswordManager() {
    if (!session_.mayManagePasswords()) return;
    session_.setLogging(passwordDialog_->run(session_.log.LoggingEnabled));
}

QMenu* TMainForm::mainMenu(const char* objectName, const QString& caption,
                           const char* beforeName) {
    // A menu's parent is the window, wherever the menu bar shows it.
    if (auto* menu = findChild<QMenu*>(objectName)) return menu;
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(objectName);
    QMenu* before = beforeName ? findChild<QMenu*>(beforeName) : nullptr;
    menuBar()->insertMenu((before ? before : setupMenu_)->menuAction(), menu);
    return menu;
}

void TMainForm::showHelp(int context) {
    helpCommands_->showHelp(context);
}

void TMainForm::openDroppedFiles(const QStringList& files) {
    for (const QString& file : files) {
        const QString name = QFileInfo(file).absoluteFilePath();
        if (activateEditorWindow && activateEditorWindow(name)) continue;
        session_.logFileOpened(toPath(name));
        if (openEditorWindow) openEditorWindow(name);
    }
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) files << url.toLocalFile();
    event->acceptProposedAction();
    openDroppedFiles(files);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Every editor window asks its close question first; a Cancel keeps the
    // program running and the windows not yet asked stay as they are.
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->isHidden()) continue;  // closed already, not yet deleted
        if (!window->close()) {
            event->ignore();
            return;
        }
    }
    if (!shutDown_) {
        shutDown_ = true;
        session_.shutdown();
    }
    event->accept();
}

}  // namespace zantor
