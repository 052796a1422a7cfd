#include "dnc/port/transfer_codes.h"

#include <cerrno>
#include <map>

#include "core/file_io.h"

namespace zantor {

std::string protocolErrorText(int code) {
    static const std::map<int, const char*> texts = {
        {-2, "File not found"},
        {-3, "Path not found"},
        {-5, "File access denied"},
        {-101, "Disk is full"},
        {-103, "File/device not open"},
        {-1005, "ComPort component not assigned"},
        {-3006, "Output buffer too small for block"},
        {-6002, "No search mask specified during transmit"},
        {-6003, "No files matched search mask"},
        {-6005, "Cancel requested"},
        {-6006, "Fatal time out"},
        {-6007, "Unrecoverable event during protocol"},
        {-6009, "Block sequence error in Xmodem"},
        {-6010, "No filename specified in protocol receive"},
        {-6011, "File was rejected"},
        {-6012, "Cant write file"},
        {-6014, "Aborting due to carrier loss"},
        {-6015, "Function not supported by protocol"},
        {transfer_code::kNothingReceived, "Nothing was received"},
    };
    if (const auto it = texts.find(code); it != texts.end()) return it->second;
    if (code > 0) return systemErrorText(code);
    return "Error " + std::to_string(code);
}

int fileErrorCode(int errorNumber) {
    switch (errorNumber) {
        case ENOENT:
            return transfer_code::kFileNotFound;
        case ENOTDIR:
            return transfer_code::kPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
            return transfer_code::kAccessDenied;
        case ENOSPC:
        case EDQUOT:
            return transfer_code::kDiskFull;
        default:
            return errorNumber;
    }
}

std::string statusText(int status) {
    static const char* const texts[] = {
        "OK",
        "Protocol handshaking in progress",
        "Bad date/time stamp received and ignored",
        "File rejected",
        "File renamed",
        "File skipped",
        "File doesn't exist locally, skipped",
        "File skipped ",
        "Time out in protocol",
        "Bad checksum or CRC",
        "Block too long",
        "Duplicate block received and ignored ",
        "Error in protocol",
        "Cancel requested",
        "At end of file",
        "B+ host refused resume request",
        "Block was out of sequence",
        "Aborting on carrier loss",
        "Got CrcE packet (Zmodem)",
        "Got CrcG packet (Zmodem)",
        "Got CrcW packet (Zmodem)",
        "Got CrcQ packet (Zmodem)",
        "B+ is trying to resume a download",
        "B+ host is resuming",
        "Cant write file",
        "Nothing was received",
        "Unrecoverable event during protocol",
    };
    if (status < 0 || size_t(status) >= std::size(texts)) return "Unknown status";
    return texts[status];
}

int completionCodeForStatus(int status) {
    namespace s = transfer_status;
    namespace c = transfer_code;
    switch (status) {
        case s::kCancelRequested:
            return c::kCancelRequested;
        case s::kTimeout:
            return c::kTimeOut;
        case s::kUnrecoverable:
            return c::kUnrecoverable;
        case s::kSequenceError:
            return c::kBlockSequence;
        case s::kFileRejected:
            return c::kFileRejected;
        case s::kCannotWrite:
            return c::kCannotWrite;
        case s::kCarrierLost:
            return c::kCarrierLost;
        case s::kNothingReceived:
            return c::kNothingReceived;
        default:
            return c::kSuccess;
    }
}

std::string protocolName(TProtocolType type) {
    static const char* const names[] = {"None",    "Xmodem",  "XmodemCRC", "Xmodem1K",
                                        "Xmodem1KG", "Ymodem", "YmodemG",  "Zmodem",
                                        "Kermit",  "Ascii",   "B+"};
    if (type < ptNoProtocol || type > ptBPlus) return "None";
    return names[type];
}

bool keepsPartialFile(int code, TProtocolType type, TDeleteFailed rule) {
    if (code == transfer_code::kCannotWrite || rule == dfNever) return true;
    return rule == dfNonRecoverable && (type == ptZmodem || type == ptBPlus);
}

}  // namespace zantor
