#pragma once

#include <string>

#include "dnc/port/transfer_settings.h"

namespace zantor {

// Completion codes of a transfer: 0 is success; negative codes are the
// transfer's own, a positive code is a system error number.
namespace transfer_code {
inline constexpr int kSuccess = 0;
inline constexpr int kFileNotFound = -2;
inline constexpr int kPathNotFound = -3;
inline constexpr int kAccessDenied = -5;
inline constexpr int kDiskFull = -101;
inline constexpr int kNotOpen = -103;
inline constexpr int kNoPort = -1005;
inline constexpr int kOutputTooSmall = -3006;
inline constexpr int kNoSearchMask = -6002;
inline constexpr int kNoFilesMatched = -6003;
inline constexpr int kCancelRequested = -6005;
inline constexpr int kTimeOut = -6006;
inline constexpr int kUnrecoverable = -6007;
inline constexpr int kBlockSequence = -6009;
inline constexpr int kNoFileName = -6010;
inline constexpr int kFileRejected = -6011;
inline constexpr int kCannotWrite = -6012;
inline constexpr int kCarrierLost = -6014;
inline constexpr int kNotSupported = -6015;
// A receive ended by its quiet time before anything arrived.
inline constexpr int kNothingReceived = -6100;
}  // namespace transfer_code

// The text shown for a completion code ("Fatal time out"); for a system
// error number the system's message.
std::string protocolErrorText(int code);

// The code of a failed file operation on the file to send.
int fileErrorCode(int errorNumber);

// Status numbers and their texts ("Cancel requested", "At end of file").
namespace transfer_status {
inline constexpr int kOk = 0;
inline constexpr int kHandshake = 1;
inline constexpr int kFileRejected = 3;
inline constexpr int kFileSkipped = 5;
inline constexpr int kTimeout = 8;
inline constexpr int kBadCheck = 9;
inline constexpr int kDuplicateBlock = 11;
inline constexpr int kProtocolError = 12;
inline constexpr int kCancelRequested = 13;
inline constexpr int kEndOfFile = 14;
inline constexpr int kSequenceError = 16;
inline constexpr int kCarrierLost = 17;
// The engine's own, beyond the published list.
inline constexpr int kCannotWrite = 24;
inline constexpr int kNothingReceived = 25;
inline constexpr int kUnrecoverable = 26;
}  // namespace transfer_status

std::string statusText(int status);

// The code a transfer that ends without an explicit one finishes with.
int completionCodeForStatus(int status);

// "Ascii", "Zmodem", …; "None" for a type outside the list.
std::string protocolName(TProtocolType type);

// Whether a failed receive keeps what it captured.
bool keepsPartialFile(int code, TProtocolType type, TDeleteFailed rule);

}  // namespace zantor
