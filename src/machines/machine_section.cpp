#include "machines/machine_section.h"

#include <algorithm>

#include "core/text_util.h"

namespace zantor {

namespace {

class SectionReader {
public:
    SectionReader(const IniFile& ini, std::string_view section) : ini_(ini), section_(section) {}

    std::string text(std::string_view key, std::string_view missing) const {
        return ini_.readString(section_, key, missing);
    }
    int integer(std::string_view key, int missing) const {
        return ini_.readInt(section_, key, missing);
    }
    bool boolean(std::string_view key, bool missing) const {
        return ini_.readBool(section_, key, missing);
    }
    int clamped(std::string_view key, int missing, int low, int high) const {
        return std::clamp(integer(key, missing), low, high);
    }
    // An index into a list of `count` items; outside the list selects nothing.
    int index(std::string_view key, int missing, int count, int offset = 0) const {
        const int value = integer(key, missing) - offset;
        return (value >= 0 && value < count) ? value : -1;
    }
    // A list item stored as its text, found by its whole text without regard to case.
    template <size_t N>
    int itemIndex(std::string_view key, std::string_view missing,
                  const std::array<std::string_view, N>& items) const {
        const std::string stored = text(key, missing);
        for (size_t i = 0; i < N; ++i)
            if (equalsIgnoreCase(stored, items[i])) return int(i);
        return -1;
    }
    bool has(std::string_view key) const { return ini_.find(section_, key).has_value(); }

private:
    const IniFile& ini_;
    std::string_view section_;
};

void readFormat(const SectionReader& r, MachineFormat& f) {
    f.MachType = r.index("MTYPE", 1, 5, 1);
    f.AbsInc = r.integer("ABSINC", 1);
    f.NumFormat = r.integer("FORMAT", 1);
    if (f.NumFormat < 1 || f.NumFormat > 4) f.NumFormat = 1;
    f.DigitsLeft = r.text("DIGL", "3");
    f.DigitsRight = r.text("DIGR", "4");
    f.LatheXFormat = r.index("LXFORMAT", 3, 4);
    f.ArcType = r.integer("ARCTYPE", 5);
    if (f.ArcType < 1 || f.ArcType > 5) f.ArcType = 6;
    f.Description = r.text("DESCRIPTION", "");
    f.RapidCode = r.text("RAPCODE", "G00");
    f.LinearCode = r.text("LINCODE", "G01");
    f.CwCode = r.text("CWCODE", "G02");
    f.CcwCode = r.text("CCWCODE", "G03");
    f.SeqOut = r.integer("SEQOUT", 1) == 1;
    f.StartSeq = r.text("STARTSEQ", "10");
    f.FeedDigits = r.text("FDIGITS", "2");
    f.Redundant = r.boolean("REDUN", false);
    f.CommentStart = r.text("CMTSTART", "(");
    f.CommentEnd = r.text("CMTEND", ")");
    f.ProgramId = r.text("PROGID", "O");
    f.DefaultExt = r.text("DEFEXT", "TAP");
    f.UploadFolder = r.text("DEFUPL", "\\NCPRG");
    f.DownloadFolder = r.text("DEFDNL", "\\NCPRG");
    f.LoadSaveFolder = r.text("DIRLS", "\\NCPRG");
    f.StripBlankLines = r.boolean("STRIPBLANK", false);
    f.FilterLineFeeds = r.boolean("STRIPLFS", false);
    f.CleanupBeforeSend = r.boolean("RUNFCLEAN", false);
}

void applyFlowCode(int flow, MachComRec& c) {
    switch (flow) {
        case 0:
            c.XonXoff = kXonXoffNone;
            c.RtsCts = 0;
            break;
        case 1:
            c.XonXoff = kXonXoffSendRecv;
            break;
        case 2:
            c.XonXoff = kXonXoffNone;
            c.RtsCts = 1;
            break;
        case 3:
            c.XonXoff = kXonXoffSendRecv;
            c.RtsCts = 1;
            break;
        case 4:
            c.XonXoff = kXonXoffSend;
            break;
        case 5:
            c.XonXoff = kXonXoffReceive;
            break;
        default:
            break;  // not representable: the previous handshaking stays
    }
}

std::string flowCode(const MachComRec& c) {
    switch (c.XonXoff) {
        case kXonXoffSendRecv:
            return c.RtsCts ? "3" : "1";
        case kXonXoffNone:
            return c.RtsCts ? "2" : "0";
        case kXonXoffSend:
            return "4";
        case kXonXoffReceive:
            return "5";
        default:
            return "";
    }
}

void readComm(const SectionReader& r, MachComRec& c) {
    c.HubNum = r.index("HUB", 0, 5);
    c.PortNum = r.index("PORT", 0, 256, 1);
    c.BaudNum = r.itemIndex("BAUD", "4800", kBaudRates);
    c.BitsNum = r.itemIndex("DATABITS", "7", kDataBits);
    // An empty or unknown parity letter keeps the parity held before.
    const std::string parity = r.text("PARITY", "E");
    if (!parity.empty()) {
        const size_t at = std::string_view("NOEMS").find(asciiUpper(parity.front()));
        if (at != std::string_view::npos) c.ParityNum = int(at);
    }
    c.StopBitsNum = r.itemIndex("STOPBITS", "2", kStopBits);
    c.RtsCts = 0;
    applyFlowCode(r.integer("FLOW", 0), c);
    if (r.has("HDWHAND")) c.RtsCts = r.boolean("HDWHAND", false) ? 1 : 0;
    c.LeaderLen = parseIntOr(r.text("LLEN", "0"), 0);
    c.TapeCode = r.index("TCODE", kTapeIso, 3);
    c.CrIn = r.index("CRIN", kLineEndNone, 4);
    c.LfIn = r.index("LFIN", kLineEndNone, 4);
    c.CrOut = r.index("CROUT", kLineEndNone, 4);
    c.LfOut = r.index("LFOUT", kLineEndNone, 4);
    c.EofTime = r.clamped("EOFTIME", 10, 0, 9999);
    c.CharDelay = r.clamped("CDELAY", 0, 0, 999);
    c.LineDelay = r.clamped("LDELAY", 0, 0, 999);
    c.MultiFileDelay = r.clamped("MFILEDELAY", 1, 1, 9999);
    c.DropRtsDelay = r.clamped("DROPRTSDELAY", 0, 0, 9999);
    c.KeepRtsDelay = r.clamped("KEEPRTSDELAY", 0, 0, 9999);
    c.SendWaitXon = r.boolean("XONWAIT", false);
    c.RecvWaitChar = r.boolean("XONWAIT1", false);
    c.XoffTime = r.clamped("XOFFTIME", 1, 1, 9999);
    c.LocalEcho = r.boolean("ECHO", true);
    c.AutoLf = r.boolean("AUTOLF", true);
    c.Protocol = r.index("PROTOCOL", 0, 5);
    c.ForceUploadDir = r.boolean("FUDIR", true);
    c.ForceDownloadDir = r.boolean("FDDIR", true);
    c.ForceLoadSaveDir = r.boolean("FLSDIR", true);
    c.DeviceType = r.index("DTYPE", kDeviceMachine, 5);
    c.RmtSendDelay = r.clamped("RMTSDELAY", 30, 0, 9999);
    c.RmtRecvDelay = r.clamped("RMTRDELAY", 30, 0, 9999);
    c.RmtDirDelay = r.clamped("RMTDDELAY", 30, 0, 9999);
    c.RmtOverwrite = r.boolean("RMTOVERWRITE", false);
    c.DftAskDest = r.boolean("DFTASK", false);
    c.AnsiCodes = r.boolean("ANSI", true);
    c.RmtStartSend = r.text("RMTSTARTSEND", "SND");
    c.RmtEndSend = r.text("RMTENDSEND", ")");
    c.RmtStartRecv = r.text("RMTSTARTRECV", "RCV");
    c.RmtEndRecv = r.text("RMTENDRECV", ")");
    c.RmtStartDir = r.text("RMTSTARTDIR", "DIR");
    c.RmtEndDir = r.text("RMTENDDIR", ")");
    c.RmtStartPath = r.text("RMTSTARTPATH", "PTH");
    c.RmtEndPath = r.text("RMTENDPATH", ")");
    c.RmtStartMsg = r.text("RMTSTARTMSG", "MSG");
    c.RmtEndMsg = r.text("RMTENDMSG", ")");
    c.SendInit = r.text("SINIT", "");
    c.StartSend = r.text("SSEND", "");
    c.EndSend = r.text("ESEND", "");
    c.StartRecv = r.text("SRECV", "");
    c.EndRecv = r.text("ERECV", "");
}

std::string limited(std::string text) {
    if (text.size() > kSubstitutionTextLimit) text.resize(kSubstitutionTextLimit);
    return text;
}

void readUtilities(const SectionReader& r, UtilityDefaults& u) {
    u.ResequenceStart = r.text("RSSEQST", "10");
    u.ResequenceIncrement = r.text("RSINCR", "10");
    u.ResequenceMaxDigits = r.text("RSMAXDIG", "4");
    u.ResequenceChars = r.text("RSSEQCHR", "N/");
    u.ResequenceSkipChars = r.text("RSSKPCHR", "<(%=$#OE\\^@:");
    u.ResequenceLeadingZeros = r.boolean("RSLZEROS", false);
    u.LineBeginFrom = r.text("CLBFROM", "");
    u.LineBeginTo = r.text("CLBTO", "");
    u.LineEndFrom = r.text("CLEFROM", "");
    u.LineEndTo = r.text("CLETO", "");
    u.ArithmeticAmount = r.text("ARAMOUNT", "1.0");
    u.ArithmeticRegisters = r.text("ARREGSTR", "XYZIJKR");
    const int operation = r.integer("AROPPR", 1);
    if (operation >= 1 && operation <= 4) u.ArithmeticOperation = operation;
    u.ColumnRegisterOrder = r.text("MCREGORDER", "NGXYZRFSTHM");
    u.ColumnWidth = r.text("MCTABW", "10");
    u.ReformatRegisters = r.boolean("RFBFREGS", true);
    u.ReformatGCodes = r.boolean("RFBCGHG", true);
    u.ReformatComments = r.boolean("RFBCHGCMT", true);
    u.ReformatUseSubstitutions = r.boolean("RFBUSESUB", true);
    u.ReformatRegisterLetters = r.text("RFREGS", "XYZIJKRF");
    u.ReformatOtherMachine = r.text("Nmname", "");
    for (int i = 0; i < kSubstitutionEntries; ++i) {
        const std::string n = std::to_string(i + 1);
        u.SubstituteOld[size_t(i)] = limited(r.text("RFSUBO" + n, ""));
        u.SubstituteNew[size_t(i)] = limited(r.text("RFSUBN" + n, ""));
    }
    for (size_t i = 0; i < u.CleanupOptions.size(); ++i)
        u.CleanupOptions[i] = r.boolean("FCOPT" + std::to_string(i + 1), false);
}

std::string flag(bool value) {
    return value ? "1" : "0";
}
std::string number(int value) {
    return std::to_string(value);
}
template <size_t N>
std::string item(int index, const std::array<std::string_view, N>& items) {
    return (index >= 0 && size_t(index) < N) ? std::string(items[size_t(index)]) : std::string();
}

}  // namespace

void readMachineSection(const IniFile& ini, std::string_view section, MachineSettings& settings) {
    const SectionReader reader(ini, section);
    readFormat(reader, settings.Format);
    readComm(reader, settings.Comm);
    readUtilities(reader, settings.Utilities);
}

MachineSettings defaultMachineSettings() {
    MachineSettings settings;
    readMachineSection(IniFile(), "", settings);
    return settings;
}

KeyValueList machineSectionEntries(const MachineSettings& s) {
    const MachineFormat& f = s.Format;
    const MachComRec& c = s.Comm;
    const UtilityDefaults& u = s.Utilities;
    KeyValueList e = {
        {"MTYPE", number(f.MachType + 1)},
        {"ABSINC", f.AbsInc == 1 ? "1" : "2"},
        {"FORMAT", number(f.NumFormat)},
        {"DIGL", f.DigitsLeft},
        {"DIGR", f.DigitsRight},
        {"LXFORMAT", number(f.LatheXFormat)},
        {"ARCTYPE", number(f.ArcType)},
        {"DESCRIPTION", f.Description},
        {"RAPCODE", f.RapidCode},
        {"LINCODE", f.LinearCode},
        {"CWCODE", f.CwCode},
        {"CCWCODE", f.CcwCode},
        {"SEQOUT", flag(f.SeqOut)},
        {"STARTSEQ", f.StartSeq},
        {"FDIGITS", f.FeedDigits},
        {"REDUN", flag(f.Redundant)},
        {"CMTSTART", f.CommentStart},
        {"CMTEND", f.CommentEnd},
        {"PROGID", f.ProgramId},
        {"DEFEXT", f.DefaultExt},
        {"DEFUPL", f.UploadFolder},
        {"DEFDNL", f.DownloadFolder},
        {"DIRLS", f.LoadSaveFolder},
        {"RSSEQST", u.ResequenceStart},
        {"RSINCR", u.ResequenceIncrement},
        {"RSMAXDIG", u.ResequenceMaxDigits},
        {"RSSEQCHR", u.ResequenceChars},
        {"RSSKPCHR", u.ResequenceSkipChars},
        {"RSLZEROS", flag(u.ResequenceLeadingZeros)},
        {"CLBFROM", u.LineBeginFrom},
        {"CLBTO", u.LineBeginTo},
        {"CLEFROM", u.LineEndFrom},
        {"CLETO", u.LineEndTo},
        {"ARAMOUNT", u.ArithmeticAmount},
        {"ARREGSTR", u.ArithmeticRegisters},
        {"AROPPR", number(u.ArithmeticOperation)},
        {"MCREGORDER", u.ColumnRegisterOrder},
        {"MCTABW", u.ColumnWidth},
        {"RFBFREGS", flag(u.ReformatRegisters)},
        {"RFBCGHG", flag(u.ReformatGCodes)},
        {"RFBCHGCMT", flag(u.ReformatComments)},
        {"RFBUSESUB", flag(u.ReformatUseSubstitutions)},
        {"RFREGS", u.ReformatRegisterLetters},
        {"Nmname", u.ReformatOtherMachine},
    };
    for (int i = 0; i < kSubstitutionEntries; ++i) {
        const std::string n = std::to_string(i + 1);
        e.emplace_back("RFSUBO" + n, u.SubstituteOld[size_t(i)]);
        e.emplace_back("RFSUBN" + n, u.SubstituteNew[size_t(i)]);
    }
    for (size_t i = 0; i < u.CleanupOptions.size(); ++i)
        e.emplace_back("FCOPT" + std::to_string(i + 1), flag(u.CleanupOptions[i]));
    const std::string parity = item(c.ParityNum, kParityNames);
    const KeyValueList comm = {
        {"HUB", number(c.HubNum)},
        {"PORT", number(c.PortNum + 1)},
        {"BAUD", item(c.BaudNum, kBaudRates)},
        {"DATABITS", item(c.BitsNum, kDataBits)},
        {"PARITY", parity.substr(0, 1)},
        {"STOPBITS", item(c.StopBitsNum, kStopBits)},
        {"HDWHAND", flag(c.RtsCts)},
        {"FLOW", flowCode(c)},
        {"ECHO", flag(c.LocalEcho)},
        {"AUTOLF", flag(c.AutoLf)},
        {"ANSI", flag(c.AnsiCodes)},
        {"FUDIR", flag(c.ForceUploadDir)},
        {"FDDIR", flag(c.ForceDownloadDir)},
        {"FLSDIR", flag(c.ForceLoadSaveDir)},
        {"LLEN", number(c.LeaderLen)},
        {"TCODE", number(c.TapeCode)},
        {"SINIT", c.SendInit},
        {"SSEND", c.StartSend},
        {"ESEND", c.EndSend},
        {"SRECV", c.StartRecv},
        {"ERECV", c.EndRecv},
        {"STRIPBLANK", flag(f.StripBlankLines)},
        {"STRIPLFS", flag(f.FilterLineFeeds)},
        {"RUNFCLEAN", flag(f.CleanupBeforeSend)},
        {"CRIN", number(c.CrIn)},
        {"LFIN", number(c.LfIn)},
        {"CROUT", number(c.CrOut)},
        {"LFOUT", number(c.LfOut)},
        {"XONWAIT", flag(c.SendWaitXon)},
        {"XONWAIT1", flag(c.RecvWaitChar)},
        {"PROTOCOL", number(c.Protocol)},
        {"DTYPE", number(c.DeviceType)},
        {"EOFTIME", number(c.EofTime)},
        {"CDELAY", number(c.CharDelay)},
        {"LDELAY", number(c.LineDelay)},
        {"XOFFTIME", number(c.XoffTime)},
        {"MFILEDELAY", number(c.MultiFileDelay)},
        {"DROPRTSDELAY", number(c.DropRtsDelay)},
        {"KEEPRTSDELAY", number(c.KeepRtsDelay)},
        {"DFTASK", flag(c.DftAskDest)},
        {"RMTSTARTSEND", c.RmtStartSend},
        {"RMTSTARTRECV", c.RmtStartRecv},
        {"RMTSTARTDIR", c.RmtStartDir},
        {"RMTSTARTPATH", c.RmtStartPath},
        {"RMTSTARTMSG", c.RmtStartMsg},
        {"RMTENDSEND", c.RmtEndSend},
        {"RMTENDRECV", c.RmtEndRecv},
        {"RMTENDDIR", c.RmtEndDir},
        {"RMTENDPATH", c.RmtEndPath},
        {"RMTENDMSG", c.RmtEndMsg},
        {"RMTSDELAY", number(c.RmtSendDelay)},
        {"RMTRDELAY", number(c.RmtRecvDelay)},
        {"RMTDDELAY", number(c.RmtDirDelay)},
        {"RMTOVERWRITE", flag(c.RmtOverwrite)},
    };
    e.insert(e.end(), comm.begin(), comm.end());
    return e;
}

}  // namespace zantor
