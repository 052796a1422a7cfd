#include "dnc/transfer_messages.h"

#include "dnc/port/transfer_codes.h"

namespace zantor {

std::optional<TransferMessage> transferFinishedMessage(int code, bool dncAlert) {
    if (code == transfer_code::kCancelRequested)
        return TransferMessage{MessageKind::Warning, "Cancel Pressed, Data May Have Been Lost !!"};
    if (code != transfer_code::kSuccess)
        return TransferMessage{MessageKind::Error, "Protocol Error:  " + protocolErrorText(code)};
    if (dncAlert) return TransferMessage{MessageKind::Information, "Down/Up Load Successful"};
    return std::nullopt;
}

TransferMessage transferErrorMessage(int code) {
    return {MessageKind::Error, "Fatal protocol error: " + protocolErrorText(code)};
}

}  // namespace zantor
