#pragma once

#include <QWidget>
#include <array>

#include "machines/machine_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace zantor {

// The controls of the setup dialog's pages, each bound to one field of
// MachineSettings. load() fills them, store() reads them back; `edited` is
// raised by every change the user makes.
class SetupPages : public QWidget {
    Q_OBJECT
public:
    explicit SetupPages(QWidget* parent = nullptr);

    void load(const MachineSettings& settings);
    // Writes the controls into `settings`; fields without a control (the
    // utility defaults) are left as they are.
    void store(MachineSettings& settings) const;
    void applyMachineTypeRules();
    void applyDeviceTypeRules();

    QTabWidget* tabs;
    QTabWidget* commTabs;
    // "Machine &Format"
    QComboBox* MachType;
    QGroupBox* coordinateGroup;
    QRadioButton* Abs;
    QRadioButton* Incr;
    QGroupBox* formatGroup;
    std::array<QRadioButton*, 4> NumFormat{};
    QLineEdit* DigitsLeft;
    QLineEdit* DigitsRight;
    QComboBox* LatheXFormat;
    QLineEdit* FeedDigits;
    QLineEdit* Description;
    // "Machine Format #&2"
    QGroupBox* sequenceGroup;
    QCheckBox* SeqOut;
    QLineEdit* StartSeq;
    std::array<QGroupBox*, 4> codeGroups{};
    QLineEdit* RapidCode;
    QLineEdit* LinearCode;
    QLineEdit* CwCode;
    QLineEdit* CcwCode;
    QCheckBox* Redundant;
    QGroupBox* arcGroup;
    std::array<QRadioButton*, 6> ArcType{};
    QLineEdit* CommentStart;
    QLineEdit* CommentEnd;
    QLineEdit* ProgramId;
    // "&Properties"
    QComboBox* HubNum;
    QComboBox* PortNum;
    QComboBox* BaudNum;
    QComboBox* BitsNum;
    QComboBox* ParityNum;
    QComboBox* StopBitsNum;
    QComboBox* XonXoff;
    QCheckBox* RtsCts;
    QCheckBox* LocalEcho;
    QCheckBox* AutoLf;
    QCheckBox* AnsiCodes;
    QPushButton* testPort;
    // "&Machine"
    QComboBox* Tapecode;
    QLineEdit* LeaderLen;
    QPushButton* leaderUp;
    QPushButton* leaderDown;
    QLineEdit* SendInit;
    QLineEdit* StartSend;
    QLineEdit* EndSend;
    QLineEdit* StartRecv;
    QLineEdit* EndRecv;
    QCheckBox* StripBlankLines;
    QCheckBox* FilterLineFeeds;
    QCheckBox* CleanupBeforeSend;
    // "&Advanced"
    QComboBox* CrIn;
    QComboBox* LfIn;
    QComboBox* CrOut;
    QComboBox* LfOut;
    QComboBox* Protocol;
    QSpinBox* EofTime;
    QLabel* charDelayLabel;
    QSpinBox* CharDelay;
    QLabel* lineDelayLabel;
    QSpinBox* LineDelay;
    QSpinBox* XoffTime;
    QSpinBox* MultiFileDelay;
    QSpinBox* DropRtsDelay;
    QSpinBox* KeepRtsDelay;
    QCheckBox* SendWaitXon;
    QCheckBox* RecvWaitChar;
    QComboBox* DeviceType;
    QCheckBox* DftAskDest;
    // "Remote"
    QWidget* remotePage;
    std::array<QLineEdit*, 5> RmtStart{};
    std::array<QLineEdit*, 5> RmtEnd{};
    std::array<QSpinBox*, 3> RmtDelay{};
    QCheckBox* RmtOverwrite;
    // "&NC-Commands": Re-Sequencing, Change Line Begin/End, Arithmetic,
    // Reformat, Make Columns, File Cleanup
    std::array<QPushButton*, 6> utilityButtons{};
    // "&Defaults"
    QLineEdit* DefaultExt;
    std::array<QLineEdit*, 3> folders{};  // upload, download, load/save
    std::array<QPushButton*, 3> folderButtons{};
    std::array<QCheckBox*, 3> forceFolders{};

signals:
    void edited();

private:
    QWidget* formatPage();
    QWidget* format2Page();
    QWidget* communicationsPage();
    QWidget* propertiesPage();
    QWidget* machinePage();
    QWidget* advancedPage();
    QWidget* buildRemotePage();
    QWidget* commandsPage();
    QWidget* defaultsPage();
    void watchForEdits();
    bool loading_ = false;
};

}  // namespace zantor
