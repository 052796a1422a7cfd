#include "machines/machine_report.h"

#include <sstream>

#include "machines/machine_database.h"
#include "machines/machine_lists.h"

namespace zantor {

namespace {

constexpr size_t kLabelWidth = 31;
constexpr std::array<std::string_view, 4> kReportNumberFormats = {
    "Decimal", "Leading Zeros", "Trailing Zeros", "Leading/Trailing Zeros"};
// The report's own wording of the arc types, trailing blanks included.
constexpr std::array<std::string_view, 6> kReportArcTypes = {
    "Distance From Tool to Arc Center", "Distance From Arc Center to Tool",
    "Un-Signed Incremental Diatance",   "Absolute Arc Center Coordinates ",
    "Radius of Arc \"R\" Values ",      "Use Linear Moves for Arcs "};

class ReportWriter {
public:
    void line(std::string_view text = {}) { out_ << text << '\n'; }
    void header(std::string_view name) {
        line();
        line("          [" + std::string(name) + "]      ");
        line();
    }
    void value(std::string_view label, std::string_view text) {
        std::string padded(label);
        if (padded.size() < kLabelWidth) padded.resize(kLabelWidth, ' ');
        out_ << padded << ": " << text << '\n';
    }
    void flag(std::string_view label, bool on) { value(label, on ? "TRUE" : "FALSE"); }
    void number(std::string_view label, int n) { value(label, std::to_string(n)); }
    std::string text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

void machineFormat(ReportWriter& w, const MachineFormat& f) {
    w.header("Machine Format");
    w.value("Machine Type", listText(kMachineTypeNames, f.MachType));
    if (f.MachType == kDxfFile) {
        w.value("DXF File Orientation", f.AbsInc == 1 ? "Mill" : "Lathe");
        w.value("DXF File Coordinates", f.Redundant ? "3D" : "2D");
        return;
    }
    if (f.MachType == kPrintFile) {
        w.line("  -- No Additional Settings --");
        return;
    }
    const std::string numberFormat = listText(kReportNumberFormats, f.NumFormat - 1);
    w.value("Coordinate Mode", f.AbsInc == 1 ? "Absolute" : "Incremental");
    w.value("Number Format", numberFormat);
    w.value("Digits Left of The Decimal", f.DigitsLeft);
    w.value("Digits Right of The Decimal", f.DigitsRight);
    if (f.MachType == kLathe)
        w.value("Lathe -X- Format", listText(kLatheXFormatNames, f.LatheXFormat));
    w.value("-G- Code For Rapid", f.RapidCode);
    w.value("-G- Code For Linear", f.LinearCode);
    w.value("-G- Code For Clockwise", f.CwCode);
    w.value("-G- Code For Counter Clockwise", f.CcwCode);
    w.value("Arc Center Type", listText(kReportArcTypes, f.ArcType - 1));
    w.flag("Output Redundant Positions", f.Redundant);
    w.flag("Output Sequence Numbers", f.SeqOut);
    if (f.SeqOut) w.value("Starting Sequence Number", f.StartSeq);
    w.value("Feed Number Format", numberFormat);
    w.value("Feed Digits Right of Decimal", f.FeedDigits);
    w.value("Comment Start Character", f.CommentStart);
    w.value("Comment End   Character", f.CommentEnd);
    w.value("Program ID    Character", f.ProgramId);
}

void defaults(ReportWriter& w, const MachineFormat& f, const MachComRec& c) {
    w.header("Defaults");
    w.value("Default File Extension", f.DefaultExt);
    w.value("Default Upload Directory", f.UploadFolder);
    w.flag("Upload Directory Always First", c.ForceUploadDir);
    w.value("Default Download Directory", f.DownloadFolder);
    w.flag("Download Directory Always First", c.ForceDownloadDir);
    w.value("Default Load/Save Direcctory", f.LoadSaveFolder);
    w.flag("Load/Save Directory Always First", c.ForceLoadSaveDir);
}

void communications(ReportWriter& w, const MachineFormat& f, const MachComRec& c) {
    w.header("Communications:Properties Page");
    w.value("DNC-8 Hub Number", listText(kHubNames, c.HubNum));
    w.value("Port Number", c.PortNum >= 0 && c.PortNum < kPortCount ? portName(c.PortNum) : "");
    w.value("Baud Rate", listText(kBaudRates, c.BaudNum));
    w.value("Number of Bits", listText(kDataBits, c.BitsNum));
    w.value("Parity", listText(kParityNames, c.ParityNum));
    w.value("Number of Stop Bits", listText(kStopBits, c.StopBitsNum));
    w.value("Xon/Xoff Handshaking", listText(kXonXoffNames, c.XonXoff));
    w.flag("RTS/CTS  Handshaking", c.RtsCts);
    w.flag("Terminal: Local Echo", c.LocalEcho);
    w.flag("Terminal: Auto <lf>", c.AutoLf);
    w.flag("Terminal: Ansi Codes", c.AnsiCodes);

    w.header("Communications:Machine Page");
    w.number("Leader Length (Inches)", c.LeaderLen);
    w.value("Code", listText(kTapeCodeNames, c.TapeCode));
    w.value("Send Init", c.SendInit);
    w.value("Start Send", c.StartSend);
    w.value("End Send", c.EndSend);
    w.value("Start Recv", c.StartRecv);
    w.value("End Recv", c.EndRecv);
    w.value("Start Send", c.StartSend);
    w.flag("Strip Blank Lines While Sending", f.StripBlankLines);
    w.flag("Filter Redundant Line Feeds", f.FilterLineFeeds);

    w.header("Communications:Advanced Page");
    w.value("<CR> In (Filter)", listText(kLineEndNames, c.CrIn));
    w.value("<LF> In (Filter)", listText(kLineEndNames, c.LfIn));
    w.value("<CR> Out (Filter)", listText(kLineEndNames, c.CrOut));
    w.value("<LF> Out (Filter)", listText(kLineEndNames, c.LfOut));
    w.number("EOF Timeout", c.EofTime);
    w.number("Char Delay", c.CharDelay);
    w.number("Line Delay", c.LineDelay);
    w.number("Xoff Timeout", c.XoffTime);
    w.flag("Send Wait for Xon", c.SendWaitXon);
    w.flag("Receive Wait for Char", c.RecvWaitChar);
    w.value("Protocol", listText(kProtocolNames, c.Protocol));
    w.number("Multi File Send Delay", c.MultiFileDelay);
    w.number("Drop RTS Delay", c.DropRtsDelay);
    w.number("Keep RTS Delay", c.KeepRtsDelay);
    w.value("Device Type", listText(kDeviceTypeNames, c.DeviceType));

    w.header("Communications:Remote Page");
    w.value("Send Start", c.RmtStartSend);
    w.value("Send End", c.RmtEndSend);
    w.number("Send Delay", c.RmtSendDelay);
    w.value("Receive Start", c.RmtStartRecv);
    w.value("Receive End", c.RmtEndRecv);
    w.number("Receive Delay", c.RmtRecvDelay);
    w.value("Directory Start", c.RmtStartDir);
    w.value("Directory End", c.RmtEndDir);
    w.number("Directory Delay", c.RmtDirDelay);
    w.value("Path Start", c.RmtStartPath);
    w.value("Path End", c.RmtEndPath);
    w.value("Message Start", c.RmtStartMsg);
    w.value("Message End", c.RmtEndMsg);
    w.flag("Allow Overwrites", c.RmtOverwrite);
}

}  // namespace

std::string settingsReport(const std::string& name, const MachineSettings& settings) {
    ReportWriter w;
    w.line("****** Settings for Machine [" + name + "] *******");
    w.line();
    w.line("Description : " + settings.Format.Description);
    w.line();
    machineFormat(w, settings.Format);
    defaults(w, settings.Format, settings.Comm);
    communications(w, settings.Format, settings.Comm);
    return w.text();
}

std::string dncSummary(const IniFile& database) {
    const std::string rule(75, '_');
    std::string out = "\n\n" + rule + "\n                          DNC Summary\n" + rule + "\n\n";
    for (const std::string& name : listMachines(database)) {
        const auto stored = [&](std::string_view key, std::string_view missing) {
            return database.readString(name, key, missing);
        };
        out += rule + "\n";
        out += "Name: " + name + "\n";
        out += "Settings: com: " + stored("PORT", "N/A") + " baud: " + stored("BAUD", "0") +
               " bits: " + stored("DATABITS", "8") + " stop: " + stored("STOPBITS", "1") +
               " parity: " + stored("PARITY", "N") + "\n";
        out += "Device Type: " +
               listText(kDeviceTypeNames, database.readInt(name, "DTYPE", kDeviceMachine)) + "\n";
        out += "Description: " + stored("DESCRIPTION", "") + "\n";
    }
    return out;
}

}  // namespace zantor
