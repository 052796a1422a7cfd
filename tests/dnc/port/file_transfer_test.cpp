#include "dnc/port/file_transfer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "dnc/port/com_port.h"
#include "fake_port_fixture.h"
#include "temp_folder.h"

namespace zantor {
namespace {

using std::chrono::milliseconds;
namespace code = transfer_code;

constexpr LineSettings k9600n81{9600, 8, TParity::pNone, 1};

// Records what a status display is told.
class RecordingDisplay : public ProtocolStatusDisplay {
public:
    void transferStarted(FileTransfer& t, const TransferProgress& p) override {
        transfer = &t;
        started.push_back(p);
    }
    void updateProgress(const TransferProgress& p) override { updates.push_back(p); }
    void transferEnded(const TransferProgress& p, int c) override {
        ended.push_back(p);
        endCode = c;
    }
    FileTransfer* transfer = nullptr;
    std::vector<TransferProgress> started, updates, ended;
    int endCode = 1;
};

class FileTransferTest : public testing::FakePortTest {
protected:
    FileTransferTest() {
        openAt(k9600n81);
        transfer.ProtocolLog.HistoryName = folder.file("ztrprot.txt");
        transfer.ProtocolLog.wallClock = [] { return std::time_t(1700000000); };
        QObject::connect(&transfer, &FileTransfer::OnProtocolError,
                         [this](int c) { events.push_back("error " + std::to_string(c)); });
        QObject::connect(&transfer, &FileTransfer::OnProtocolFinish, [this](int c) {
            events.push_back("finish " + std::to_string(c));
            EXPECT_FALSE(transfer.inProgress());
        });
    }

    // Starts sending `bytes` from a file and runs until the end.
    void send(const std::string& bytes) {
        transfer.FileMask = folder.write("SEND.TAP", bytes);
        transfer.startTransmit();
        runToEnd();
    }
    void runToEnd() {
        clock.waitUntil([&] { return !transfer.inProgress(); }, Clock::kForever,
                        WaitMode::Responsive);
    }
    std::string history() { return folder.read("ztrprot.txt"); }
    std::vector<std::string> finishOnly(int c) { return {"finish " + std::to_string(c)}; }
    std::vector<std::string> errorAndFinish(int c) {
        return {"error " + std::to_string(c), "finish " + std::to_string(c)};
    }

    testing::TempFolder folder;
    FileTransfer transfer{port};
    std::vector<std::string> events;
};

// ---------------------------------------------------------------- transmit

TEST_F(FileTransferTest, SendsAFileByteForByte) {
    std::string program;
    for (int b = 0; b < 256; ++b) program += char(b);
    for (int n = 0; n < 3000; ++n) program += "N" + std::to_string(n) + " G1 X1.5\r\n";
    send(program);
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(peer().received(), program);
    EXPECT_EQ(transfer.progress().statusText, "At end of file");
    EXPECT_EQ(transfer.progress().bytesTransferred, long(program.size()));
    EXPECT_EQ(port.outputQueued(), 0u);  // the finish waited for the line to carry it all
}

TEST_F(FileTransferTest, LineEndTranslationsAndCtrlZWhenSending) {
    struct Case {
        TAsciiEOLTranslation cr, lf;
        bool suppress, ctrlZIsData;
        std::string data, line;
    };
    const Case cases[] = {
        {aetAddLFAfter, aetNone, false, false, "G1\r\n", "G1\r\n\n"},
        {aetNone, aetAddCRBefore, false, false, "G1\nG2\n", "G1\r\nG2\r\n"},
        {aetStrip, aetNone, false, false, "G1\r\n", "G1\n"},
        {aetNone, aetStrip, false, false, "G1\r\n", "G1\r"},
        {aetAddCRBefore, aetAddLFAfter, false, false, "\r\n", "\r\n"},  // no-ops for these bytes
        {aetNone, aetNone, false, false, "G1\x1AG2", "G1\x1AG2"},
        {aetNone, aetNone, true, false, "G1\x1AG2", "G1"},
        {aetNone, aetNone, true, true, "G1\x1AG2", "G1\x1AG2"},
    };
    for (const Case& c : cases) {
        peer().clearReceived();
        transfer.AsciiCRTranslation = c.cr;
        transfer.AsciiLFTranslation = c.lf;
        transfer.AsciiSuppressCtrlZ = c.suppress;
        transfer.AsciiCtrlZIsData = c.ctrlZIsData;
        send(c.data);
        EXPECT_EQ(peer().received(), c.line) << c.data;
    }
}

TEST_F(FileTransferTest, SuppressedCtrlZDropsTheRestOfItsBlockOnly) {
    transfer.AsciiSuppressCtrlZ = true;
    std::string data(600, 'A');
    data[10] = '\x1A';
    data[300] = '\x1A';
    send(data);
    // Blocks are 256 bytes: 10..255 and 300..511 stay behind.
    EXPECT_EQ(peer().received(), std::string(10, 'A') + std::string(44, 'A') + std::string(88, 'A'));
    EXPECT_EQ(events, finishOnly(0));
}

TEST_F(FileTransferTest, CharacterDelayIsPacedByThePassBudget) {
    port.setLineSettings({115200, 8, TParity::pNone, 1});
    transfer.AsciiCharDelay = 10;
    const auto start = clock.now();
    send(std::string(200, 'X'));
    const auto& a = peer().arrivals();
    ASSERT_EQ(a.size(), 200u);
    // Each pass: 24 pauses of 10 ms (240 ms), then the 25th would reach 250
    // ms and becomes a wait of one 55 ms tick.
    const auto ct = characterTime({115200, 8, TParity::pNone, 1});
    for (size_t i = 1; i < a.size(); ++i) {
        const auto expected = i % 25 == 0 ? ticksToDuration(1) : milliseconds(10);
        EXPECT_EQ(a[i].at - a[i - 1].at, expected) << i;
    }
    EXPECT_EQ(a.front().at - start, ct);
    EXPECT_EQ(events, finishOnly(0));
}

TEST_F(FileTransferTest, LineDelayFollowsTheEndOfLineCharacterReadFromTheFile) {
    port.setLineSettings({115200, 8, TParity::pNone, 1});
    transfer.AsciiLineDelay = 300;  // beyond the budget: a wait of 6 ticks every time
    transfer.AsciiCharDelay = 10;
    send("G1\rG2\r");
    const auto& a = peer().arrivals();
    ASSERT_EQ(a.size(), 6u);
    EXPECT_EQ(a[1].at - a[0].at, milliseconds(10));
    EXPECT_EQ(a[2].at - a[1].at, milliseconds(10));
    // After the CR: the line pause (6 ticks, a new pass), then the character pause.
    EXPECT_EQ(a[3].at - a[2].at, ticksToDuration(6) + milliseconds(10));

    // Line feeds turned into CR LF by the translation bring no line pause:
    // no CR was read.
    peer().clearReceived();
    transfer.AsciiLFTranslation = aetAddCRBefore;
    transfer.AsciiCharDelay = 0;
    const auto start = clock.now();
    send("G1\nG2\n");
    EXPECT_EQ(peer().received(), "G1\r\nG2\r\n");
    EXPECT_LT(clock.now() - start, milliseconds(20));
}

TEST_F(FileTransferTest, XoffPausesTheSendAndXonResumesIt) {
    std::string program;
    for (int n = 0; n < 1000; ++n) program += "N" + std::to_string(n) + " G1 X1.5\r\n";
    size_t arrived = 0;
    peer().onByte = [&](uint8_t) {
        if (++arrived == 2000) {
            peer().write("\x13");
            clock.callAfter(std::chrono::seconds(5), [&] { peer().write("\x11"); });
        }
    };
    const auto start = clock.now();
    send(program);
    peer().onByte = nullptr;
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(peer().received(), program);
    EXPECT_GT(clock.now() - start, std::chrono::seconds(5));
}

TEST_F(FileTransferTest, HeldLongerThanTheTransmitTimeoutFails) {
    transfer.TransmitTimeout = 36;
    // Held while blocks still wait to go out.
    peer().write("\x13");
    send(std::string(20000, 'A'));
    EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
    EXPECT_EQ(transfer.progress().statusText, "Time out in protocol");
    EXPECT_LT(peer().received().size(), 20000u);

    // Held at the end of the file, with everything queued.
    events.clear();
    peer().write("\x11");
    runSeconds(1);
    peer().clearReceived();
    size_t arrived = 0;
    peer().onByte = [&](uint8_t) {
        if (++arrived == 5) peer().write("\x13");
    };
    send(std::string(100, 'B'));
    peer().onByte = nullptr;
    EXPECT_EQ(events, errorAndFinish(code::kTimeOut));
}

TEST_F(FileTransferTest, NoTransmitTimeoutWaitsForTheMachine) {
    transfer.TransmitTimeout = 0;
    peer().write("\x13");
    clock.callAfter(std::chrono::minutes(30), [&] { peer().write("\x11"); });
    send(std::string(9000, 'C'));
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(peer().received().size(), 9000u);
}

TEST_F(FileTransferTest, CancelStopsTheSendAndDropsWhatIsQueued) {
    RecordingDisplay display;
    transfer.StatusDisplay = &display;
    transfer.FileMask = folder.write("SEND.TAP", std::string(50000, 'D'));
    transfer.startTransmit();
    runSeconds(2);
    ASSERT_TRUE(transfer.inProgress());
    ASSERT_EQ(display.transfer, &transfer);
    display.transfer->cancel();  // the window's Cancel
    EXPECT_EQ(events, finishOnly(code::kCancelRequested));
    const size_t atCancel = peer().received().size();
    runSeconds(5);
    EXPECT_LE(peer().received().size(), atCancel + 2);  // what was already on the line
    EXPECT_EQ(display.endCode, code::kCancelRequested);
    EXPECT_EQ(history(),
              "Ascii transmit started on  11/14/2023 22:13:20 : " + transfer.FileMask + "\r\n" +
                  "Ascii transmit failed " + transfer.FileMask + " Cancel requested\r\n\r\n");
}

TEST_F(FileTransferTest, AFileThatCannotBeSentEndsFromTheEventLoop) {
    struct Case {
        std::string file;
        int code;
    };
    const Case cases[] = {
        {"", code::kFileNotFound},
        {folder.file("missing.tap"), code::kFileNotFound},
        {folder.file("no/such/folder/x.tap"), code::kFileNotFound},
        {folder.file("SEND.TAP/x.tap"), code::kPathNotFound},
        {folder.path(), EISDIR},
    };
    folder.write("SEND.TAP", "x");
    for (const Case& c : cases) {
        events.clear();
        transfer.FileMask = c.file;
        transfer.startTransmit();
        EXPECT_TRUE(events.empty()) << c.file;  // start* return before the end is heard of
        EXPECT_TRUE(transfer.inProgress());
        runToEnd();
        EXPECT_EQ(events, errorAndFinish(c.code)) << c.file;
    }
    EXPECT_EQ(protocolErrorText(EISDIR), "Is a directory");
    EXPECT_EQ(peer().received(), "");
}

TEST_F(FileTransferTest, ProtocolsWithoutADriverAreNotSupported) {
    for (const TProtocolType type : {ptNoProtocol, ptBPlus}) {
        events.clear();
        transfer.ProtocolType = type;
        send("G1\r\n");
        EXPECT_EQ(events, errorAndFinish(code::kNotSupported));
        transfer.FileName = folder.file("RECV.TAP");
        transfer.startReceive();
        runToEnd();
        EXPECT_EQ(events.back(), "finish " + std::to_string(code::kNotSupported));
    }
    EXPECT_EQ(peer().received(), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("RECV.TAP")));
    EXPECT_EQ(protocolErrorText(code::kNotSupported), "Function not supported by protocol");
}

TEST_F(FileTransferTest, ALostLineEndsTheSend) {
    transfer.FileMask = folder.write("SEND.TAP", std::string(50000, 'E'));
    transfer.startTransmit();
    runSeconds(1);
    peer().unplug();
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kCarrierLost));
    EXPECT_EQ(transfer.progress().statusText, "Aborting on carrier loss");
    port.close();
    transfer.startTransmit();
    runToEnd();
    EXPECT_EQ(events.back(), "finish " + std::to_string(code::kNotOpen));
}

TEST_F(FileTransferTest, HistoryOfASuccessfulSend) {
    transfer.FileMask = folder.write("SEND.TAP", std::string(9600, 'F'));  // 10 s at 9600 baud
    transfer.startTransmit();
    runToEnd();
    EXPECT_EQ(history(), "Ascii transmit started on  11/14/2023 22:13:20 : " + transfer.FileMask +
                             "\r\nAscii transmit finished OK 11/14/2023 22:13:20 : " +
                             transfer.FileMask +
                             "\r\n   Elapsed time: 0:09   CPS: 960   Size: 9600\r\n\r\n");
}

TEST_F(FileTransferTest, ProgressIsShownEveryStatusInterval) {
    RecordingDisplay display;
    transfer.StatusDisplay = &display;
    transfer.FileMask = folder.write("SEND.TAP", std::string(1920, 'G'));  // 2 s
    transfer.startTransmit();
    runToEnd();
    ASSERT_EQ(display.started.size(), 1u);
    EXPECT_EQ(display.started[0].fileSize, 1920);
    EXPECT_EQ(display.started[0].fileName, transfer.FileMask);
    // At the start, then every 10 ticks (0.55 s) of the two seconds.
    ASSERT_EQ(display.updates.size(), 4u);
    EXPECT_EQ(display.updates[1].elapsed, ticksToDuration(10));
    EXPECT_EQ(display.updates[1].fileSize, 1920);
    EXPECT_GT(display.updates[2].bytesTransferred, display.updates[1].bytesTransferred);
    ASSERT_EQ(display.ended.size(), 1u);
    EXPECT_EQ(display.ended[0].bytesTransferred, 1920);
    EXPECT_EQ(display.endCode, 0);
}

// ---------------------------------------------------------------- receive

class FileReceiveTest : public FileTransferTest {
protected:
    FileReceiveTest() { transfer.FileName = folder.file("RECV.TAP"); }
    // The machine sends `bytes`, the receive runs to its end.
    void receive(const std::string& bytes) {
        transfer.startReceive();
        peer().write(bytes);
        runToEnd();
    }
    std::string received() { return folder.read("RECV.TAP"); }
};

TEST_F(FileReceiveTest, CapturesUntilTheLineIsQuiet) {
    transfer.AsciiEOFTimeout = 36;
    std::string program;
    for (int n = 0; n < 2000; ++n) program += "N" + std::to_string(n) + " G1 X1.5\r\n";
    const auto start = clock.now();
    receive(program);
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(received(), program);
    EXPECT_TRUE(transfer.progress().fileWritten);
    // The quiet time counts from the last byte.
    const auto lineTime = characterTime(k9600n81) * long(program.size());
    EXPECT_EQ(clock.now() - start, lineTime + ticksToDuration(36));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);  // the program and the history: no temporary file left
}

TEST_F(FileReceiveTest, ASlowMachineIsNotCutOff) {
    transfer.AsciiEOFTimeout = 36;  // 2 s of quiet
    transfer.startReceive();
    // A block every 1.5 s: never 2 s of quiet until it stops.
    for (int i = 0; i < 10; ++i)
        clock.callAfter(milliseconds(1500 * i), [this, i] {
            peer().write("N" + std::to_string(i) + "\r\n");
        });
    runToEnd();
    EXPECT_EQ(events, finishOnly(0));
    EXPECT_EQ(received(), "N0\r\nN1\r\nN2\r\nN3\r\nN4\r\nN5\r\nN6\r\nN7\r\nN8\r\nN9\r\n");
}

TEST_F(FileReceiveTest, LineEndTranslationsNulsAndCtrlZWhenReceiving) {
    struct Case {
        TAsciiEOLTranslation cr, lf;
        bool suppress, ctrlZIsData;
        std::string line, file;
    };
    const Case cases[] = {
        {aetNone, aetNone, false, false, std::string("\0\0G1\r\n\0", 7), "G1\r\n"},
        {aetAddLFAfter, aetNone, false, false, "G1\rG2\r", "G1\r\nG2\r\n"},
        {aetNone, aetAddCRBefore, false, false, "G1\nG2\n", "G1\r\nG2\r\n"},
        {aetStrip, aetNone, false, false, "G1\r\n", "G1\n"},
        {aetNone, aetStrip, false, false, "G1\r\n", "G1\r"},
        {aetNone, aetNone, false, false, "G1\x1AG2", "G1\x03G2"},  // does not end the receive
        {aetNone, aetNone, true, false, "G1\x1AG2", "G1G2"},
        {aetNone, aetNone, false, true, "G1\x1AG2", "G1\x1AG2"},
    };
    for (const Case& c : cases) {
        events.clear();
        transfer.AsciiCRTranslation = c.cr;
        transfer.AsciiLFTranslation = c.lf;
        transfer.AsciiSuppressCtrlZ = c.suppress;
        transfer.AsciiCtrlZIsData = c.ctrlZIsData;
        receive(c.line);
        EXPECT_EQ(events, finishOnly(0));
        EXPECT_EQ(received(), c.file) << c.line;
    }
}

TEST_F(FileReceiveTest, XonAndXoffArriveAsDataAndHoldNothing) {
    // Under EIA "3" is 0x13 (XOFF): a program full of them.
    const std::string eia = "\x45\x01\x13\x80\x67\x13\x11\x80";
    receive(eia);
    EXPECT_EQ(received(), eia);
    EXPECT_FALSE(port.flowCharactersAsData());
    EXPECT_EQ(port.flowState(), FlowState::On);  // not held by the XOFF inside the program
    ASSERT_EQ(port.sendText("%"), SendResult::Sent);
    runSeconds(0.1);
    EXPECT_EQ(peer().received(), "%");
    // Outside a receive they are flow control again.
    peer().write("\x13");
    runSeconds(0.1);
    EXPECT_EQ(port.flowState(), FlowState::TransmitHeldByXoff);
}

TEST_F(FileReceiveTest, NothingReceivedLeavesAnExistingFileAlone) {
    folder.write("RECV.TAP", "the old program");
    transfer.AsciiEOFTimeout = 36;
    const auto start = clock.now();
    receive("");
    EXPECT_EQ(events, finishOnly(code::kNothingReceived));
    EXPECT_EQ(protocolErrorText(code::kNothingReceived), "Nothing was received");
    EXPECT_EQ(clock.now() - start, ticksToDuration(36));
    EXPECT_EQ(received(), "the old program");
    EXPECT_FALSE(transfer.progress().fileWritten);
    // Blank tape only is nothing either.
    receive(std::string(40, '\0'));
    EXPECT_EQ(events.back(), "finish " + std::to_string(code::kNothingReceived));
    EXPECT_EQ(received(), "the old program");
    EXPECT_EQ(history().find("Ascii receive failed " + transfer.FileName +
                             " Nothing was received\r\n\r\n") != std::string::npos,
              true);
    // A successful receive replaces it.
    receive("G1\r\n");
    EXPECT_EQ(events.back(), "finish 0");
    EXPECT_EQ(received(), "G1\r\n");
}

TEST_F(FileReceiveTest, CancelledReceiveLeavesTheFileAsItWas) {
    folder.write("RECV.TAP", "the old program");
    transfer.startReceive();
    peer().write(std::string(3000, 'H'));
    runSeconds(1);
    transfer.cancel();
    EXPECT_EQ(events, finishOnly(code::kCancelRequested));
    EXPECT_EQ(received(), "the old program");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);
    EXPECT_FALSE(port.flowCharactersAsData());
}

TEST_F(FileReceiveTest, ReceiveFileThatCannotBeMadeOrNamed) {
    transfer.FileName = "";
    receive("G1\r\n");
    EXPECT_EQ(events, errorAndFinish(code::kNoFileName));
    events.clear();
    transfer.FileName = folder.file("no/such/folder/RECV.TAP");
    receive("G1\r\n");
    EXPECT_EQ(events, errorAndFinish(code::kCannotWrite));
    EXPECT_EQ(protocolErrorText(code::kCannotWrite), "Cant write file");
    events.clear();
    transfer.FileName = folder.write("EXISTS.TAP", "x");
    transfer.WriteFailAction = wfWriteFail;
    receive("G1\r\n");
    EXPECT_EQ(events, errorAndFinish(code::kFileRejected));
    EXPECT_EQ(folder.read("EXISTS.TAP"), "x");
}

// A file size limit makes the disk "full" part way through the receive.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(FileReceiveTest, AFullDiskEndsTheReceiveAndKeepsWhatWasWritten) {
    folder.write("RECV.TAP", "the old program");
    {
        FileSizeLimit limit(20000);
        receive(std::string(30000, 'J'));
    }
    EXPECT_EQ(events, errorAndFinish(code::kCannotWrite));
    EXPECT_TRUE(transfer.progress().fileWritten);
    // What the disk took, up to the byte where it was full.
    const std::string kept = received();
    EXPECT_EQ(kept.size(), 20000u);
    EXPECT_TRUE(kept == std::string(kept.size(), 'J'));
    EXPECT_FALSE(port.flowCharactersAsData());
    EXPECT_TRUE(history().find("Ascii receive failed " + transfer.FileName +
                               " Cant write file\r\n\r\n") != std::string::npos);
}

TEST_F(FileReceiveTest, ALostLineDropsThePartialFile) {
    transfer.startReceive();
    peer().write("G1\r\n");
    runSeconds(0.5);
    peer().unplug();
    runToEnd();
    EXPECT_EQ(events, errorAndFinish(code::kCarrierLost));
    EXPECT_FALSE(std::filesystem::exists(transfer.FileName));
}

TEST_F(FileReceiveTest, HistoryOfASuccessfulReceive) {
    transfer.AsciiEOFTimeout = 19;
    receive("G1\r\n");
    EXPECT_EQ(history(), "Ascii receive started on  11/14/2023 22:13:20 : " + transfer.FileName +
                             "\r\nAscii receive finished OK 11/14/2023 22:13:20 : " +
                             transfer.FileName +
                             "\r\n   Elapsed time: 0:01   CPS: 4   Size: 4\r\n\r\n");
}

// ---------------------------------------------------------------- codes

TEST(TransferCodes, CodesFollowTheLastStatus) {
    namespace s = transfer_status;
    const std::pair<int, int> table[] = {
        {s::kCancelRequested, code::kCancelRequested}, {s::kTimeout, code::kTimeOut},
        {s::kUnrecoverable, code::kUnrecoverable},     {s::kSequenceError, code::kBlockSequence},
        {s::kFileRejected, code::kFileRejected},       {s::kCannotWrite, code::kCannotWrite},
        {s::kCarrierLost, code::kCarrierLost},         {s::kEndOfFile, code::kSuccess},
        {s::kOk, code::kSuccess},                      {s::kHandshake, code::kSuccess},
    };
    for (const auto& [status, expected] : table)
        EXPECT_EQ(completionCodeForStatus(status), expected) << statusText(status);
    EXPECT_EQ(statusText(13), "Cancel requested");
    EXPECT_EQ(statusText(14), "At end of file");
    EXPECT_EQ(statusText(7), "File skipped ");
    EXPECT_EQ(statusText(23), "B+ host is resuming");
}

TEST(TransferCodes, TextsAndNames) {
    const std::pair<int, const char*> texts[] = {
        {-2, "File not found"},          {-3, "Path not found"},
        {-5, "File access denied"},      {-101, "Disk is full"},
        {-103, "File/device not open"},  {-1005, "ComPort component not assigned"},
        {-6005, "Cancel requested"},     {-6006, "Fatal time out"},
        {-6010, "No filename specified in protocol receive"},
        {-6014, "Aborting due to carrier loss"},
    };
    for (const auto& [c, text] : texts) EXPECT_EQ(protocolErrorText(c), text);
    EXPECT_EQ(fileErrorCode(ENOENT), -2);
    EXPECT_EQ(fileErrorCode(EACCES), -5);
    EXPECT_EQ(fileErrorCode(ENOSPC), -101);
    EXPECT_EQ(fileErrorCode(EIO), EIO);
    EXPECT_EQ(protocolName(ptAscii), "Ascii");
    EXPECT_EQ(protocolName(ptXmodemCRC), "XmodemCRC");
    EXPECT_EQ(protocolName(ptBPlus), "B+");
    EXPECT_EQ(protocolName(TProtocolType(42)), "None");
    EXPECT_TRUE(keepsPartialFile(code::kCannotWrite, ptAscii, dfNonRecoverable));
    EXPECT_FALSE(keepsPartialFile(code::kCancelRequested, ptAscii, dfNonRecoverable));
    EXPECT_TRUE(keepsPartialFile(code::kCancelRequested, ptZmodem, dfNonRecoverable));
    EXPECT_FALSE(keepsPartialFile(code::kCancelRequested, ptZmodem, dfAlways));
}

TEST(TransferCodes, HistoryFigures) {
    EXPECT_EQ(TransferHistory::figures(17, 500), "   Elapsed time: 0:00   CPS: 500   Size: 500");
    EXPECT_EQ(TransferHistory::figures(1183, 62400),
              "   Elapsed time: 1:04   CPS: 960   Size: 62400");
}

TEST(TransferCodes, ProgressWindowLines) {
    TransferProgress p;
    p.fileName = "/nc/O1000.TAP";
    p.fileSize = 1000;
    p.bytesTransferred = 300;
    p.elapsed = std::chrono::seconds(3);
    p.lineCharactersPerSecond = 960;
    p.statusText = "OK";
    const auto lines = progressLines(p);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Protocol:", "Ascii"},          {"Block check:", "None"},
        {"File name:", "/nc/O1000.TAP"}, {"File size:", "1000"},
        {"Block size:", "256"},          {"Total Blocks:", "4"},
        {"Bytes transferred:", "300"},   {"Bytes remaining:", "700"},
        {"Blocks transferred:", "1"},    {"Blocks remaining:", "3"},
        {"Block errors:", "0"},          {"Total errors:", "0"},
        {"Estimated time:", "0:01"},     {"Elapsed time:", "0:03"},
        {"Remaining time:", "0:07"},     {"Throughput:", "  100 CPS"},
        {"Efficiency:", " 10%"},         {"Kermit windows:", "0"},
        {"Status:", "OK"},
    };
    EXPECT_EQ(lines, expected);
    EXPECT_DOUBLE_EQ(p.fraction(), 0.3);
    p.fileSize = -1;  // a receive
    EXPECT_EQ(progressLines(p)[3].second, "");
    EXPECT_EQ(p.fraction(), 0);
}

}  // namespace
}  // namespace zantor
