#pragma once

#include <cstdint>
#include <string>

namespace zantor {

enum TProtocolType {
    ptNoProtocol,
    ptXmodem,
    ptXmodemCRC,
    ptXmodem1K,
    ptXmodem1KG,
    ptYmodem,
    ptYmodemG,
    ptZmodem,
    ptKermit,
    ptAscii,
    ptBPlus,
};

enum TAsciiEOLTranslation { aetNone, aetStrip, aetAddCRBefore, aetAddLFAfter };

// What a receive does when its file exists.
enum TWriteFailAction {
    wfWriteFail,    // the file is rejected
    wfWriteAnyway,  // it is replaced once the receive has succeeded
};

enum TBlockCheckMethod { bcmNone };

// Which failed receives lose their partial file: dfNonRecoverable keeps it
// for the protocols that can resume (ZMODEM, B+).
enum TDeleteFailed { dfNever, dfAlways, dfNonRecoverable };

// The settings of a file transfer; times in ticks are 55 ms ticks.
struct TransferSettings {
    TProtocolType ProtocolType = ptAscii;
    int AsciiCharDelay = 0;     // ms after every byte sent
    int AsciiLineDelay = 0;     // ms after every AsciiEOLChar read from the file
    uint8_t AsciiEOLChar = 0x0D;
    TAsciiEOLTranslation AsciiCRTranslation = aetNone;
    TAsciiEOLTranslation AsciiLFTranslation = aetNone;
    // 0x1A: on, it ends the block being sent and is dropped when received;
    // off, it is sent and received as 0x03.
    bool AsciiSuppressCtrlZ = false;
    // 0x1A is data like any other byte (the EIA code of "(" and ":");
    // AsciiSuppressCtrlZ is then not looked at.
    bool AsciiCtrlZIsData = false;
    int AsciiEOFTimeout = 2000;  // ticks of quiet that end a receive
    // Ticks the output may stay without room (held by the machine's XOFF)
    // before the send fails; 0 waits for ever.
    int TransmitTimeout = 1092;
    bool RTSLowForWrite = false;
    std::string FileMask;  // the file to send
    // The name the protocols that carry one give the file sent (the
    // program's, when FileMask is its prepared copy); empty: FileMask's.
    std::string SendAsName;
    std::string FileName;  // the file to receive into
    TWriteFailAction WriteFailAction = wfWriteAnyway;
    TBlockCheckMethod BlockCheckMethod = bcmNone;
    int HandshakeWait = 1092;
    int FinishWait = 3640;
    int Overhead = 20;
    uint8_t KermitPadCharacter = 0x00;
    int StatusInterval = 10;  // ticks between progress updates
};

}  // namespace zantor
