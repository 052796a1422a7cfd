#pragma once

#include <QMetaObject>
#include <array>
#include <memory>
#include <string>

#include "dnc/port/data_packet.h"
#include "dnc/port/packet_manager.h"
#include "dnc/remote_request.h"
#include "dnc/tape_options.h"
#include "machines/machine_settings.h"

namespace zantor {

struct DncStation;

// What the remote station needs of the window (or the command line) it runs in.
class RemoteStationView {
public:
    virtual ~RemoteStationView() = default;
    // A message typed at the control for the operator: the message list and a beep.
    virtual void operatorMessage(const std::string& line) = 0;
    // The port's flow state is not On after a request: close and reopen it.
    virtual void reopenPort() = 0;
    // The remote activity text of the window ("Remote (CNC) Mode").
    virtual void remoteActivity(const std::string&) {}
};

// The remote CNC station (device type 3): the control types requests such
// as "(SND PROG1)" and the station sends the file, receives one, sends a
// directory listing, changes the folder for the next request or shows a
// message. The same logic runs behind the window's "&Start" and
// `zantor-cli remote`.
class RemoteStation {
public:
    RemoteStation(DncStation& station, const MachineSettings& machine, std::string machineName,
                  TapeOptions tape, std::string workFile, bool rtsLowForWrite,
                  RemoteStationView& view);
    ~RemoteStation();
    RemoteStation(const RemoteStation&) = delete;
    RemoteStation& operator=(const RemoteStation&) = delete;

    // The remote loop: answers requests until stop(); events keep being handled.
    void run();
    // "&Done": the loop ends after the request being handled.
    void stop();
    bool Running() const { return running_; }
    bool Busy() const { return busy_; }

private:
    enum Packet { kPath, kDirectory, kReceive, kSend, kMessage, kPacketCount };

    void preparePackets();
    void setPacketsEnabled(bool on);
    void rearm();
    void terminal(const std::string& line);
    void requestFailed(const std::string& path);
    // The log line of a request, then its delay with the terminal's line.
    void announce(const std::string& command, const std::string& path, int delay);
    void waitSeconds(int seconds);
    void takeRequestBytes();

    void onSend(const std::string& collected);
    void onReceive(const std::string& collected);
    void onDirectory(const std::string& collected);
    void onPath(const std::string& collected);
    void onMessage(const std::string& collected);
    void remoteReceive();
    void onTransferFinished(int code);
    bool sendListing(const std::vector<std::string>& lines);

    DncStation& station_;
    const MachineSettings& machine_;
    std::string machineName_;
    TapeOptions tape_;
    std::string workFile_;
    bool rtsLowForWrite_;
    RemoteStationView& view_;

    PacketManager packets_;
    std::array<std::unique_ptr<DataPacket>, kPacketCount> packet_;
    bool running_ = false;
    bool busy_ = false;
    bool listening_ = false;  // the station reads requests from the port
    std::string RemotePath;
    std::string pendingReceive_;  // PendingReceive: the file to receive into
    QMetaObject::Connection dataConnection_, finishConnection_;
};

}  // namespace zantor
