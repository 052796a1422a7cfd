#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zantor {

// Fixed item lists of the communication settings; settings hold 0-based
// indexes into them, -1 when nothing is selected.
inline constexpr std::array<std::string_view, 14> kBaudRates = {
    "110",   "300",   "600",    "1200",   "2400",   "4800",   "9600",
    "19200", "38400", "57600",  "115200", "230400", "460800", "921600"};
inline constexpr std::array<std::string_view, 5> kDataBits = {"4", "5", "6", "7", "8"};
inline constexpr std::array<std::string_view, 5> kParityNames = {"None", "Odd", "Even", "Mark",
                                                                 "Space"};
inline constexpr std::array<std::string_view, 3> kStopBits = {"1", "1.5", "2"};

enum XonXoffMode { kXonXoffSendRecv = 0, kXonXoffNone = 1, kXonXoffSend = 2, kXonXoffReceive = 3 };
enum TapeCodeKind { kTapeEia = 0, kTapeAscii = 1, kTapeIso = 2 };
enum LineEndHandling { kAddCrBefore = 0, kAddLfAfter = 1, kLineEndNone = 2, kLineEndStrip = 3 };
enum DeviceKind {
    kDeviceMachine = 0,
    kDeviceHubTerminal = 1,
    kDeviceShopTerminal = 2,
    kDeviceRemoteControl = 3,
    kDeviceDirectTransfer = 4
};

// The communication record of one machine or hub. The initial values are
// those of the default record.
struct MachComRec {
    std::string Name = "Default Machine";
    int HubNum = 0;
    int PortNum = 1;
    int BaudNum = 5;
    int BitsNum = 3;
    int ParityNum = 2;
    int StopBitsNum = 2;
    int XonXoff = kXonXoffSendRecv;
    int RtsCts = 0;
    int LeaderLen = 0;
    int TapeCode = kTapeEia;
    int CrIn = kLineEndNone;
    int LfIn = kLineEndNone;
    int CrOut = kLineEndNone;
    int LfOut = kLineEndNone;
    int EofTime = 20;
    int CharDelay = 0;
    int LineDelay = 0;
    int MultiFileDelay = 0;
    int DropRtsDelay = 0;
    int KeepRtsDelay = 0;
    int SendWaitXon = 0;
    int RecvWaitChar = 0;
    int XoffTime = 0;
    int LocalEcho = 1;
    int AutoLf = 1;
    int Protocol = 0;
    int ForceUploadDir = 1;
    int ForceDownloadDir = 1;
    int ForceLoadSaveDir = 1;
    int DeviceType = kDeviceMachine;
    int RmtSendDelay = 30;
    int RmtRecvDelay = 30;
    int RmtDirDelay = 30;
    int RmtOverwrite = 0;
    int DftAskDest = 0;
    int AnsiCodes = 1;
    std::string RmtStartSend = "SND";
    std::string RmtEndSend = ")";
    std::string RmtStartRecv = "RCV";
    std::string RmtEndRecv = ")";
    std::string RmtStartDir = "DIR";
    std::string RmtEndDir = ")";
    std::string RmtStartPath = "PTH";
    std::string RmtEndPath = ")";
    std::string RmtStartMsg = "MSG";
    std::string RmtEndMsg = ")";
    std::string UploadDir = "C:\\NCPRG";
    std::string DownloadDir = "C:\\NCPRG";
    std::string SendInit;
    std::string StartSend;
    std::string EndSend;
    std::string StartRecv;
    std::string EndRecv;

    bool operator==(const MachComRec&) const = default;
};

inline MachComRec DefaultMachComRec() {
    return MachComRec{};
}

}  // namespace zantor
