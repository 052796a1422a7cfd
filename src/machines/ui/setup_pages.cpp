#include "machines/ui/setup_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "machines/machine_lists.h"

namespace zantor {

namespace {

QString text(const std::string& latin1) {
    return QString::fromLatin1(latin1.data(), qsizetype(latin1.size()));
}
std::string latin1(const QLineEdit* edit) {
    return edit->text().toLatin1().toStdString();
}

template <size_t N>
QComboBox* combo(const std::array<std::string_view, N>& items, const char* hint = nullptr) {
    auto* box = new QComboBox;
    for (std::string_view item : items)
        box->addItem(QString::fromLatin1(item.data(), qsizetype(item.size())));
    if (hint) {
        box->setToolTip(hint);
        box->setStatusTip(hint);
    }
    return box;
}

QSpinBox* spin(int low, int high, const char* hint = nullptr) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    if (hint) {
        box->setToolTip(hint);
        box->setStatusTip(hint);
    }
    return box;
}

QLineEdit* edit() {
    return new QLineEdit;
}

int checkedIndex(const auto& buttons) {
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i]->isChecked()) return int(i);
    return -1;
}

void checkIndex(const auto& buttons, int index) {
    for (size_t i = 0; i < buttons.size(); ++i) buttons[i]->setChecked(int(i) == index);
}

// Radio buttons that are not in one parent box of their own still exclude
// each other, and may all be off (a value outside the choices).
void exclusive(QObject* owner, const auto& buttons) {
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* b : buttons) group->addButton(b);
}

}  // namespace

SetupPages::SetupPages(QWidget* parent) : QWidget(parent) {
    tabs = new QTabWidget;
    tabs->addTab(formatPage(), "Machine &Format");
    tabs->addTab(format2Page(), "Machine Format #&2");
    tabs->addTab(communicationsPage(), "&Communications");
    tabs->addTab(commandsPage(), "&NC-Commands");
    tabs->addTab(defaultsPage(), "&Defaults");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);
    watchForEdits();
    connect(MachType, &QComboBox::currentIndexChanged, this, [this] { applyMachineTypeRules(); });
    connect(DeviceType, &QComboBox::currentIndexChanged, this, [this] { applyDeviceTypeRules(); });
}

QWidget* SetupPages::formatPage() {
    auto* page = new QWidget;
    MachType = combo(kMachineTypeNames);
    MachType->setObjectName("MachType");
    Abs = new QRadioButton("Abs");
    Incr = new QRadioButton("Incr");
    coordinateGroup = new QGroupBox("Coordinate Mode");
    auto* coordinates = new QHBoxLayout(coordinateGroup);
    coordinates->addWidget(Abs);
    coordinates->addWidget(Incr);
    exclusive(this, std::array{Abs, Incr});

    formatGroup = new QGroupBox("Format");
    auto* formats = new QVBoxLayout(formatGroup);
    const char* formatNames[] = {"Decimal", "Leading Zeros", "Trailing Zeros",
                                 "Leading && Trailing"};
    for (size_t i = 0; i < NumFormat.size(); ++i) {
        NumFormat[i] = new QRadioButton(formatNames[i]);
        formats->addWidget(NumFormat[i]);
    }
    exclusive(this, NumFormat);
    DigitsLeft = edit();
    DigitsRight = edit();
    formats->addWidget(new QLabel("Digits Left"));
    formats->addWidget(DigitsLeft);
    formats->addWidget(new QLabel("Digits Right"));
    formats->addWidget(DigitsRight);

    LatheXFormat = combo(kLatheXFormatNames);
    FeedDigits = edit();
    Description = edit();

    auto* form = new QFormLayout;
    form->addRow("Machine Type", MachType);
    form->addRow("Lathe -X- Format", LatheXFormat);
    form->addRow("Feedrate Digits Right", FeedDigits);
    form->addRow("Description", Description);
    auto* layout = new QGridLayout(page);
    layout->addLayout(form, 0, 0);
    layout->addWidget(coordinateGroup, 1, 0);
    layout->addWidget(formatGroup, 0, 1, 2, 1);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget* SetupPages::format2Page() {
    auto* page = new QWidget;
    sequenceGroup = new QGroupBox("Sequence Numbers");
    SeqOut = new QCheckBox("Output Seq #`s");
    StartSeq = edit();
    auto* sequence = new QFormLayout(sequenceGroup);
    sequence->addRow(SeqOut);
    sequence->addRow("Start Seq #", StartSeq);

    RapidCode = edit();
    LinearCode = edit();
    CwCode = edit();
    CcwCode = edit();
    const std::array<std::pair<const char*, QLineEdit*>, 4> codes = {
        {{"Rapid Code", RapidCode},
         {"Linear Code", LinearCode},
         {"Clockwise", CwCode},
         {"Counter Clockwise", CcwCode}}};
    auto* codeRow = new QHBoxLayout;
    for (size_t i = 0; i < codes.size(); ++i) {
        codeGroups[i] = new QGroupBox(codes[i].first);
        (new QVBoxLayout(codeGroups[i]))->addWidget(codes[i].second);
        codeRow->addWidget(codeGroups[i]);
    }

    auto* special = new QGroupBox("Special");
    Redundant = new QCheckBox("Output Redundant Positions");
    (new QVBoxLayout(special))->addWidget(Redundant);

    arcGroup = new QGroupBox("Arc Center Type");
    auto* arcs = new QVBoxLayout(arcGroup);
    for (size_t i = 0; i < ArcType.size(); ++i) {
        ArcType[i] = new QRadioButton(text(std::string(kArcTypeNames[i])));
        arcs->addWidget(ArcType[i]);
    }
    exclusive(this, ArcType);

    CommentStart = edit();
    CommentEnd = edit();
    ProgramId = edit();
    auto* comments = new QFormLayout;
    comments->addRow("Comment Start", CommentStart);
    comments->addRow("Comment End", CommentEnd);
    comments->addRow("Program ID", ProgramId);

    auto* layout = new QGridLayout(page);
    layout->addWidget(sequenceGroup, 0, 0);
    layout->addWidget(special, 1, 0);
    layout->addLayout(comments, 2, 0);
    layout->addLayout(codeRow, 3, 0, 1, 2);
    layout->addWidget(arcGroup, 0, 1, 3, 1);
    layout->setRowStretch(4, 1);
    return page;
}

QWidget* SetupPages::communicationsPage() {
    commTabs = new QTabWidget;
    commTabs->addTab(propertiesPage(), "&Properties");
    commTabs->addTab(machinePage(), "&Machine");
    commTabs->addTab(advancedPage(), "&Advanced");
    commTabs->addTab(buildRemotePage(), "Remote");
    return commTabs;
}

QWidget* SetupPages::propertiesPage() {
    auto* page = new QWidget;
    HubNum = combo(kHubNames, "Select PC Ports or Hub");
    PortNum = new QComboBox;
    PortNum->setToolTip("Selects the Port Number");
    PortNum->setStatusTip("Selects the Port Number");
    for (int i = 0; i < kPortCount; ++i) PortNum->addItem(QString::fromStdString(portName(i)));
    BaudNum = combo(kBaudRates, "Selects the Baud rate");
    BitsNum = combo(kDataBits, "Setects The Data Bits");
    ParityNum = combo(kParityNames, "Setect The Parity");
    StopBitsNum = combo(kStopBits, "Select the Number of Stop Bits");
    XonXoff = combo(kXonXoffNames, "Select an Xon/Xoff Option");
    RtsCts = new QCheckBox("Use RTS/CTS");
    RtsCts->setToolTip("Also Known as Hardware Handshaking");
    LocalEcho = new QCheckBox("Local Echo");
    AutoLf = new QCheckBox("Auto <LF>");
    AnsiCodes = new QCheckBox("Ansi Codes");
    testPort = new QPushButton("Test Port");

    auto* form = new QFormLayout;
    form->addRow("DNC-Hub", HubNum);
    form->addRow("Port", PortNum);
    form->addRow("Baud", BaudNum);
    form->addRow("Bits", BitsNum);
    form->addRow("Parity", ParityNum);
    form->addRow("Stop Bits", StopBitsNum);
    auto* handshaking = new QGroupBox("Handshaking");
    auto* hs = new QFormLayout(handshaking);
    hs->addRow("Xon/Xoff", XonXoff);
    hs->addRow(RtsCts);
    auto* terminal = new QGroupBox("Terminal");
    auto* term = new QVBoxLayout(terminal);
    term->addWidget(LocalEcho);
    term->addWidget(AutoLf);
    term->addWidget(AnsiCodes);
    auto* right = new QVBoxLayout;
    right->addWidget(handshaking);
    right->addWidget(terminal);
    right->addWidget(testPort);
    right->addStretch();
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(right);
    return page;
}

QWidget* SetupPages::machinePage() {
    auto* page = new QWidget;
    Tapecode = combo(kTapeCodeNames);
    Tapecode->setObjectName("Tapecode");
    LeaderLen = edit();
    leaderUp = new QPushButton(QString::fromUtf8("\u25B2"));
    leaderDown = new QPushButton(QString::fromUtf8("\u25BC"));
    for (QPushButton* b : {leaderUp, leaderDown}) {
        b->setAutoRepeat(true);
        b->setFixedWidth(28);
    }
    auto* leader = new QHBoxLayout;
    leader->addWidget(LeaderLen);
    leader->addWidget(leaderUp);
    leader->addWidget(leaderDown);
    SendInit = edit();
    StartSend = edit();
    EndSend = edit();
    StartRecv = edit();
    EndRecv = edit();
    StripBlankLines = new QCheckBox("Strip Blank Lines While Sending");
    FilterLineFeeds = new QCheckBox("Filter Redundant Line Feeds");
    CleanupBeforeSend = new QCheckBox("Run File Cleanup Before Send from Editor");
    auto* form = new QFormLayout(page);
    form->addRow("Code", Tapecode);
    form->addRow("Leader Len", leader);
    form->addRow("Send Init ", SendInit);
    form->addRow("Start Send", StartSend);
    form->addRow("End Send", EndSend);
    form->addRow("Start Recv", StartRecv);
    form->addRow("End Recv", EndRecv);
    form->addRow(StripBlankLines);
    form->addRow(FilterLineFeeds);
    form->addRow(CleanupBeforeSend);
    return page;
}

QWidget* SetupPages::advancedPage() {
    auto* page = new QWidget;
    CrIn = combo(kLineEndNames);
    LfIn = combo(kLineEndNames);
    CrOut = combo(kLineEndNames);
    LfOut = combo(kLineEndNames);
    Protocol = combo(kProtocolNames);
    EofTime = spin(0, 9999, "Seconds to Wait For File to Finish");
    CharDelay = spin(0, 999, "Seconds to Delay After Each Character");
    LineDelay = spin(0, 999, "Seconds To Delay After Each Line");
    XoffTime = spin(1, 9999, "# of Minutes to Wait in XOFF Condition");
    MultiFileDelay = spin(1, 9999);
    DropRtsDelay = spin(0, 9999);
    KeepRtsDelay = spin(0, 9999);
    SendWaitXon = new QCheckBox("Send Wait for Xon");
    RecvWaitChar = new QCheckBox("Receive Wait for Char");
    DeviceType = combo(kDeviceTypeNames);
    DftAskDest = new QCheckBox("DFT Ask Destination");
    charDelayLabel = new QLabel("Char Delay");
    lineDelayLabel = new QLabel("Line Delay");

    auto* ends = new QFormLayout;
    ends->addRow("<CR> In", CrIn);
    ends->addRow("<LF> In", LfIn);
    ends->addRow("<CR> Out", CrOut);
    ends->addRow("<LF> Out", LfOut);
    ends->addRow("Protocol", Protocol);
    ends->addRow("Device Type", DeviceType);
    ends->addRow(DftAskDest);
    auto* control = new QGroupBox("Send / Receive Control");
    auto* c = new QVBoxLayout(control);
    c->addWidget(SendWaitXon);
    c->addWidget(RecvWaitChar);
    ends->addRow(control);
    auto* delays = new QFormLayout;
    delays->addRow("EOF Timeout", EofTime);
    delays->addRow(charDelayLabel, CharDelay);
    delays->addRow(lineDelayLabel, LineDelay);
    delays->addRow("XOFF Timeout", XoffTime);
    delays->addRow("Multi File Delay", MultiFileDelay);
    delays->addRow("Drop RTS Delay", DropRtsDelay);
    delays->addRow("Keep RTS Delay", KeepRtsDelay);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(ends);
    layout->addLayout(delays);
    return page;
}

QWidget* SetupPages::buildRemotePage() {
    remotePage = new QWidget;
    auto* grid = new QGridLayout(remotePage);
    grid->addWidget(new QLabel("Start"), 0, 1);
    grid->addWidget(new QLabel("End"), 0, 2);
    grid->addWidget(new QLabel("Delay"), 0, 3);
    const char* rows[] = {"Send :", "Recv :", "Dir  :", "Path :", "Message:"};
    for (size_t i = 0; i < RmtStart.size(); ++i) {
        grid->addWidget(new QLabel(rows[i]), int(i) + 1, 0);
        RmtStart[i] = edit();
        RmtEnd[i] = edit();
        grid->addWidget(RmtStart[i], int(i) + 1, 1);
        grid->addWidget(RmtEnd[i], int(i) + 1, 2);
        if (i < RmtDelay.size()) {
            RmtDelay[i] = spin(0, 9999);
            grid->addWidget(RmtDelay[i], int(i) + 1, 3);
        }
    }
    RmtOverwrite = new QCheckBox("Allow File Overwrites");
    grid->addWidget(RmtOverwrite, 6, 1, 1, 3);
    grid->setRowStretch(7, 1);
    return remotePage;
}

QWidget* SetupPages::commandsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(
        new QLabel("Select and Enter Defaults For Each of The Following NC-Commands"));
    const char* names[] = {"&Re-Sequencing", "&Change Line Begin/End", "Arithmetic",
                           "Reformat",       "Make Columns",           "File Cleanup"};
    auto* grid = new QGridLayout;
    for (size_t i = 0; i < utilityButtons.size(); ++i) {
        utilityButtons[i] = new QPushButton(names[i]);
        grid->addWidget(utilityButtons[i], int(i / 2), int(i % 2));
    }
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* SetupPages::defaultsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    DefaultExt = edit();
    grid->addWidget(new QLabel("Default File Extension"), 0, 0);
    grid->addWidget(DefaultExt, 0, 1);
    const char* labels[] = {"Default Upload Directory", "Default Download Directory",
                            "Default Load/Save Directory"};
    for (size_t i = 0; i < folders.size(); ++i) {
        const int row = int(i) + 1;
        folders[i] = edit();
        folderButtons[i] = new QPushButton("...");
        folderButtons[i]->setFixedWidth(32);
        forceFolders[i] = new QCheckBox("Always First");
        grid->addWidget(new QLabel(labels[i]), row, 0);
        grid->addWidget(folders[i], row, 1);
        grid->addWidget(folderButtons[i], row, 2);
        grid->addWidget(forceFolders[i], row, 3);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return page;
}

void SetupPages::watchForEdits() {
    const auto changed = [this] {
        if (!loading_) emit edited();
    };
    for (QComboBox* box : findChildren<QComboBox*>())
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    for (QLineEdit* e : findChildren<QLineEdit*>())
        if (!qobject_cast<QSpinBox*>(e->parent()))
            connect(e, &QLineEdit::textChanged, this, changed);
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::valueChanged, this, changed);
    for (QAbstractButton* b : findChildren<QAbstractButton*>())
        if (b->isCheckable()) connect(b, &QAbstractButton::toggled, this, changed);
}

void SetupPages::load(const MachineSettings& s) {
    loading_ = true;
    const MachineFormat& f = s.Format;
    const MachComRec& c = s.Comm;
    MachType->setCurrentIndex(f.MachType);
    Abs->setChecked(f.AbsInc == 1);
    Incr->setChecked(f.AbsInc != 1);
    checkIndex(NumFormat, f.NumFormat - 1);
    DigitsLeft->setText(text(f.DigitsLeft));
    DigitsRight->setText(text(f.DigitsRight));
    LatheXFormat->setCurrentIndex(f.LatheXFormat);
    FeedDigits->setText(text(f.FeedDigits));
    Description->setText(text(f.Description));
    SeqOut->setChecked(f.SeqOut);
    StartSeq->setText(text(f.StartSeq));
    RapidCode->setText(text(f.RapidCode));
    LinearCode->setText(text(f.LinearCode));
    CwCode->setText(text(f.CwCode));
    CcwCode->setText(text(f.CcwCode));
    Redundant->setChecked(f.Redundant);
    checkIndex(ArcType, f.ArcType - 1);
    CommentStart->setText(text(f.CommentStart));
    CommentEnd->setText(text(f.CommentEnd));
    ProgramId->setText(text(f.ProgramId));

    HubNum->setCurrentIndex(c.HubNum);
    PortNum->setCurrentIndex(c.PortNum);
    BaudNum->setCurrentIndex(c.BaudNum);
    BitsNum->setCurrentIndex(c.BitsNum);
    ParityNum->setCurrentIndex(c.ParityNum);
    StopBitsNum->setCurrentIndex(c.StopBitsNum);
    XonXoff->setCurrentIndex(c.XonXoff);
    RtsCts->setChecked(c.RtsCts);
    LocalEcho->setChecked(c.LocalEcho);
    AutoLf->setChecked(c.AutoLf);
    AnsiCodes->setChecked(c.AnsiCodes);

    Tapecode->setCurrentIndex(c.TapeCode);
    LeaderLen->setText(QString::number(c.LeaderLen));
    SendInit->setText(text(c.SendInit));
    StartSend->setText(text(c.StartSend));
    EndSend->setText(text(c.EndSend));
    StartRecv->setText(text(c.StartRecv));
    EndRecv->setText(text(c.EndRecv));
    StripBlankLines->setChecked(f.StripBlankLines);
    FilterLineFeeds->setChecked(f.FilterLineFeeds);
    CleanupBeforeSend->setChecked(f.CleanupBeforeSend);

    CrIn->setCurrentIndex(c.CrIn);
    LfIn->setCurrentIndex(c.LfIn);
    CrOut->setCurrentIndex(c.CrOut);
    LfOut->setCurrentIndex(c.LfOut);
    Protocol->setCurrentIndex(c.Protocol);
    EofTime->setValue(c.EofTime);
    CharDelay->setValue(c.CharDelay);
    LineDelay->setValue(c.LineDelay);
    XoffTime->setValue(c.XoffTime);
    MultiFileDelay->setValue(c.MultiFileDelay);
    DropRtsDelay->setValue(c.DropRtsDelay);
    KeepRtsDelay->setValue(c.KeepRtsDelay);
    SendWaitXon->setChecked(c.SendWaitXon);
    RecvWaitChar->setChecked(c.RecvWaitChar);
    DeviceType->setCurrentIndex(c.DeviceType);
    DftAskDest->setChecked(c.DftAskDest);

    const std::array<const std::string*, 5> starts = {
        &c.RmtStartSend, &c.RmtStartRecv, &c.RmtStartDir, &c.RmtStartPath, &c.RmtStartMsg};
    const std::array<const std::string*, 5> ends = {&c.RmtEndSend, &c.RmtEndRecv, &c.RmtEndDir,
                                                    &c.RmtEndPath, &c.RmtEndMsg};
    for (size_t i = 0; i < RmtStart.size(); ++i) {
        RmtStart[i]->setText(text(*starts[i]));
        RmtEnd[i]->setText(text(*ends[i]));
    }
    RmtDelay[0]->setValue(c.RmtSendDelay);
    RmtDelay[1]->setValue(c.RmtRecvDelay);
    RmtDelay[2]->setValue(c.RmtDirDelay);
    RmtOverwrite->setChecked(c.RmtOverwrite);

    DefaultExt->setText(text(f.DefaultExt));
    folders[0]->setText(text(f.UploadFolder));
    folders[1]->setText(text(f.DownloadFolder));
    folders[2]->setText(text(f.LoadSaveFolder));
    forceFolders[0]->setChecked(c.ForceUploadDir);
    forceFolders[1]->setChecked(c.ForceDownloadDir);
    forceFolders[2]->setChecked(c.ForceLoadSaveDir);
    loading_ = false;
    applyMachineTypeRules();
    applyDeviceTypeRules();
}

void SetupPages::store(MachineSettings& s) const {
    MachineFormat& f = s.Format;
    MachComRec& c = s.Comm;
    f.MachType = MachType->currentIndex();
    f.AbsInc = Abs->isChecked() ? 1 : 2;
    // No format option set stands for the first, as reading a bad FORMAT does.
    f.NumFormat = std::max(checkedIndex(NumFormat), 0) + 1;
    f.DigitsLeft = latin1(DigitsLeft);
    f.DigitsRight = latin1(DigitsRight);
    f.LatheXFormat = LatheXFormat->currentIndex();
    f.FeedDigits = latin1(FeedDigits);
    f.Description = latin1(Description);
    f.SeqOut = SeqOut->isChecked();
    f.StartSeq = latin1(StartSeq);
    f.RapidCode = latin1(RapidCode);
    f.LinearCode = latin1(LinearCode);
    f.CwCode = latin1(CwCode);
    f.CcwCode = latin1(CcwCode);
    f.Redundant = Redundant->isChecked();
    // None set reads back as the last choice, as an ARCTYPE outside 1 to 5 does.
    const int arc = checkedIndex(ArcType);
    f.ArcType = arc < 0 ? 6 : arc + 1;
    f.CommentStart = latin1(CommentStart);
    f.CommentEnd = latin1(CommentEnd);
    f.ProgramId = latin1(ProgramId);

    c.HubNum = HubNum->currentIndex();
    c.PortNum = PortNum->currentIndex();
    c.BaudNum = BaudNum->currentIndex();
    c.BitsNum = BitsNum->currentIndex();
    c.ParityNum = ParityNum->currentIndex();
    c.StopBitsNum = StopBitsNum->currentIndex();
    c.XonXoff = XonXoff->currentIndex();
    c.RtsCts = RtsCts->isChecked();
    c.LocalEcho = LocalEcho->isChecked();
    c.AutoLf = AutoLf->isChecked();
    c.AnsiCodes = AnsiCodes->isChecked();

    c.TapeCode = Tapecode->currentIndex();
    c.LeaderLen = LeaderLen->text().trimmed().toInt();
    c.SendInit = latin1(SendInit);
    c.StartSend = latin1(StartSend);
    c.EndSend = latin1(EndSend);
    c.StartRecv = latin1(StartRecv);
    c.EndRecv = latin1(EndRecv);
    f.StripBlankLines = StripBlankLines->isChecked();
    f.FilterLineFeeds = FilterLineFeeds->isChecked();
    f.CleanupBeforeSend = CleanupBeforeSend->isChecked();

    c.CrIn = CrIn->currentIndex();
    c.LfIn = LfIn->currentIndex();
    c.CrOut = CrOut->currentIndex();
    c.LfOut = LfOut->currentIndex();
    c.Protocol = Protocol->currentIndex();
    c.EofTime = EofTime->value();
    c.CharDelay = CharDelay->value();
    c.LineDelay = LineDelay->value();
    c.XoffTime = XoffTime->value();
    c.MultiFileDelay = MultiFileDelay->value();
    c.DropRtsDelay = DropRtsDelay->value();
    c.KeepRtsDelay = KeepRtsDelay->value();
    c.SendWaitXon = SendWaitXon->isChecked();
    c.RecvWaitChar = RecvWaitChar->isChecked();
    c.DeviceType = DeviceType->currentIndex();
    c.DftAskDest = DftAskDest->isChecked();

    const std::array<std::string*, 5> starts = {&c.RmtStartSend, &c.RmtStartRecv, &c.RmtStartDir,
                                                &c.RmtStartPath, &c.RmtStartMsg};
    const std::array<std::string*, 5> ends = {&c.RmtEndSend, &c.RmtEndRecv, &c.RmtEndDir,
                                              &c.RmtEndPath, &c.RmtEndMsg};
    for (size_t i = 0; i < RmtStart.size(); ++i) {
        *starts[i] = latin1(RmtStart[i]);
        *ends[i] = latin1(RmtEnd[i]);
    }
    c.RmtSendDelay = RmtDelay[0]->value();
    c.RmtRecvDelay = RmtDelay[1]->value();
    c.RmtDirDelay = RmtDelay[2]->value();
    c.RmtOverwrite = RmtOverwrite->isChecked();

    f.DefaultExt = latin1(DefaultExt);
    f.UploadFolder = latin1(folders[0]);
    f.DownloadFolder = latin1(folders[1]);
    f.LoadSaveFolder = latin1(folders[2]);
    c.ForceUploadDir = forceFolders[0]->isChecked();
    c.ForceDownloadDir = forceFolders[1]->isChecked();
    c.ForceLoadSaveDir = forceFolders[2]->isChecked();
}

void SetupPages::applyMachineTypeRules() {
    const int type = MachType->currentIndex();
    const bool dxf = type == kDxfFile;
    const bool numeric = type == kMill || type == kBendixMill || type == kLathe;
    coordinateGroup->setEnabled(numeric || dxf);
    coordinateGroup->setTitle(dxf ? "DXF File Mode" : "Coordinate Mode");
    Abs->setText(dxf ? "Mill" : "Abs");
    Incr->setText(dxf ? "Lathe" : "Incr");
    formatGroup->setEnabled(numeric);
    LatheXFormat->setEnabled(type == kLathe);
    arcGroup->setEnabled(numeric);
    for (QGroupBox* g : codeGroups) g->setEnabled(numeric);
    sequenceGroup->setEnabled(numeric);
    FeedDigits->setEnabled(numeric);
}

void SetupPages::applyDeviceTypeRules() {
    const int device = DeviceType->currentIndex();
    commTabs->setTabEnabled(commTabs->indexOf(remotePage), device == kDeviceRemoteControl);
    DftAskDest->setVisible(device == kDeviceDirectTransfer);
    const bool terminal = device == kDeviceHubTerminal || device == kDeviceShopTerminal;
    charDelayLabel->setText(terminal ? "Time Out  " : "Char Delay");
    lineDelayLabel->setText(terminal ? "Term Lines" : "Line Delay");
}

}  // namespace zantor
