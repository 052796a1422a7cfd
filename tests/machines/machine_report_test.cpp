#include "machines/machine_report.h"

#include <gtest/gtest.h>

#include "machines/machine_section.h"

namespace zantor {
namespace {

const char* const kMillReport =
    "****** Settings for Machine [Mill 2] *******\n"
    "\n"
    "Description : Vertical mill\n"
    "\n"
    "\n"
    "          [Machine Format]      \n"
    "\n"
    "Machine Type                   : Mill\n"
    "Coordinate Mode                : Absolute\n"
    "Number Format                  : Decimal\n"
    "Digits Left of The Decimal     : 3\n"
    "Digits Right of The Decimal    : 4\n"
    "-G- Code For Rapid             : G00\n"
    "-G- Code For Linear            : G01\n"
    "-G- Code For Clockwise         : G02\n"
    "-G- Code For Counter Clockwise : G03\n"
    "Arc Center Type                : Radius of Arc \"R\" Values \n"
    "Output Redundant Positions     : FALSE\n"
    "Output Sequence Numbers        : TRUE\n"
    "Starting Sequence Number       : 10\n"
    "Feed Number Format             : Decimal\n"
    "Feed Digits Right of Decimal   : 2\n"
    "Comment Start Character        : (\n"
    "Comment End   Character        : )\n"
    "Program ID    Character        : O\n"
    "\n"
    "          [Defaults]      \n"
    "\n"
    "Default File Extension         : TAP\n"
    "Default Upload Directory       : \\NCPRG\n"
    "Upload Directory Always First  : TRUE\n"
    "Default Download Directory     : \\NCPRG\n"
    "Download Directory Always First: TRUE\n"
    "Default Load/Save Direcctory   : \\NCPRG\n"
    "Load/Save Directory Always First: TRUE\n"
    "\n"
    "          [Communications:Properties Page]      \n"
    "\n"
    "DNC-8 Hub Number               : Std. PC Ports\n"
    "Port Number                    : Port #2\n"
    "Baud Rate                      : 9600\n"
    "Number of Bits                 : 7\n"
    "Parity                         : Even\n"
    "Number of Stop Bits            : 2\n"
    "Xon/Xoff Handshaking           : None\n"
    "RTS/CTS  Handshaking           : FALSE\n"
    "Terminal: Local Echo           : TRUE\n"
    "Terminal: Auto <lf>            : TRUE\n"
    "Terminal: Ansi Codes           : TRUE\n"
    "\n"
    "          [Communications:Machine Page]      \n"
    "\n"
    "Leader Length (Inches)         : 0\n"
    "Code                           : ISO\n"
    "Send Init                      : \n"
    "Start Send                     : %\n"
    "End Send                       : \n"
    "Start Recv                     : \n"
    "End Recv                       : \n"
    "Start Send                     : %\n"
    "Strip Blank Lines While Sending: FALSE\n"
    "Filter Redundant Line Feeds    : FALSE\n"
    "\n"
    "          [Communications:Advanced Page]      \n"
    "\n"
    "<CR> In (Filter)               : None\n"
    "<LF> In (Filter)               : None\n"
    "<CR> Out (Filter)              : None\n"
    "<LF> Out (Filter)              : None\n"
    "EOF Timeout                    : 10\n"
    "Char Delay                     : 0\n"
    "Line Delay                     : 0\n"
    "Xoff Timeout                   : 1\n"
    "Send Wait for Xon              : FALSE\n"
    "Receive Wait for Char          : FALSE\n"
    "Protocol                       : ASCII\n"
    "Multi File Send Delay          : 1\n"
    "Drop RTS Delay                 : 0\n"
    "Keep RTS Delay                 : 0\n"
    "Device Type                    : Machine Control/Hub\n"
    "\n"
    "          [Communications:Remote Page]      \n"
    "\n"
    "Send Start                     : SND\n"
    "Send End                       : )\n"
    "Send Delay                     : 30\n"
    "Receive Start                  : RCV\n"
    "Receive End                    : )\n"
    "Receive Delay                  : 30\n"
    "Directory Start                : DIR\n"
    "Directory End                  : )\n"
    "Directory Delay                : 30\n"
    "Path Start                     : PTH\n"
    "Path End                       : )\n"
    "Message Start                  : MSG\n"
    "Message End                    : )\n"
    "Allow Overwrites               : FALSE\n";

MachineSettings mill() {
    MachineSettings s = defaultMachineSettings();
    s.Format.Description = "Vertical mill";
    s.Comm.PortNum = 1;
    s.Comm.BaudNum = 6;
    s.Comm.StartSend = "%";
    return s;
}

// The lines between the "[Machine Format]" header and the next header.
std::string machineFormatSection(const std::string& report) {
    const std::string from = "          [Machine Format]      \n\n";
    const size_t begin = report.find(from) + from.size();
    return report.substr(begin, report.find("\n          [Defaults]") - begin);
}

TEST(SettingsReport, MillReportHasEveryLineInItsPlace) {
    EXPECT_EQ(settingsReport("Mill 2", mill()), kMillReport);
}

TEST(SettingsReport, MachineFormatLinesFollowTheMachineType) {
    MachineSettings lathe = mill();
    lathe.Format.MachType = kLathe;
    lathe.Format.AbsInc = 2;
    lathe.Format.NumFormat = 4;
    lathe.Format.SeqOut = false;
    lathe.Format.ArcType = 3;
    EXPECT_EQ(machineFormatSection(settingsReport("L", lathe)),
              "Machine Type                   : Lathe\n"
              "Coordinate Mode                : Incremental\n"
              "Number Format                  : Leading/Trailing Zeros\n"
              "Digits Left of The Decimal     : 3\n"
              "Digits Right of The Decimal    : 4\n"
              "Lathe -X- Format               : Out 2' Dia as X-2.0\n"
              "-G- Code For Rapid             : G00\n"
              "-G- Code For Linear            : G01\n"
              "-G- Code For Clockwise         : G02\n"
              "-G- Code For Counter Clockwise : G03\n"
              "Arc Center Type                : Un-Signed Incremental Diatance\n"
              "Output Redundant Positions     : FALSE\n"
              "Output Sequence Numbers        : FALSE\n"
              "Feed Number Format             : Leading/Trailing Zeros\n"
              "Feed Digits Right of Decimal   : 2\n"
              "Comment Start Character        : (\n"
              "Comment End   Character        : )\n"
              "Program ID    Character        : O\n");

    MachineSettings print = mill();
    print.Format.MachType = kPrintFile;
    EXPECT_EQ(machineFormatSection(settingsReport("P", print)),
              "Machine Type                   : Print File\n"
              "  -- No Additional Settings --\n");

    MachineSettings dxf = mill();
    dxf.Format.MachType = kDxfFile;
    dxf.Format.AbsInc = 2;
    dxf.Format.Redundant = true;
    EXPECT_EQ(machineFormatSection(settingsReport("D", dxf)),
              "Machine Type                   : DXF File\n"
              "DXF File Orientation           : Lathe\n"
              "DXF File Coordinates           : 3D\n");
}

TEST(SettingsReport, DeviceTypesAndNothingSelectedShowTheirTexts) {
    MachineSettings s = mill();
    s.Comm.DeviceType = kDeviceDirectTransfer;
    s.Comm.BaudNum = -1;
    const std::string report = settingsReport("M", s);
    EXPECT_NE(report.find("Device Type                    : Direct File Transfer (DFT)\n"),
              std::string::npos);
    EXPECT_NE(report.find("Baud Rate                      : \n"), std::string::npos);
}

TEST(DncSummary, ListsEveryMachineWithItsStoredValuesOrTheirStandIns) {
    const IniFile db = IniFile::parse(
        "[Machine Names]\nNUMBER=3\nMACHINE1=Mill 2\nMACHINE2=Not Used\nMACHINE3=New\n"
        "[Mill 2]\nPORT=2\nBAUD=9600\nDATABITS=7\nSTOPBITS=2\nPARITY=E\nDTYPE=4\n"
        "DESCRIPTION=Vertical mill\n");
    const std::string rule(75, '_');
    EXPECT_EQ(dncSummary(db), "\n\n" + rule + "\n                          DNC Summary\n" + rule +
                                  "\n\n" + rule +
                                  "\nName: Mill 2\n"
                                  "Settings: com: 2 baud: 9600 bits: 7 stop: 2 parity: E\n"
                                  "Device Type: Direct File Transfer (DFT)\n"
                                  "Description: Vertical mill\n" +
                                  rule +
                                  "\nName: New\n"
                                  "Settings: com: N/A baud: 0 bits: 8 stop: 1 parity: N\n"
                                  "Device Type: Machine Control/Hub\n"
                                  "Description: \n");
}

TEST(DncSummary, ADeviceTypeOutsideTheListShowsNoText) {
    const IniFile db = IniFile::parse("[Machine Names]\nNUMBER=1\nMACHINE1=M\n[M]\nDTYPE=9\n");
    EXPECT_NE(dncSummary(db).find("\nDevice Type: \n"), std::string::npos);
}

}  // namespace
}  // namespace zantor
