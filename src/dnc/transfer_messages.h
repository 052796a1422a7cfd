#pragma once

#include <optional>
#include <string>

#include "core/interaction.h"

namespace zantor {

struct TransferMessage {
    MessageKind kind;
    std::string text;
    bool operator==(const TransferMessage&) const = default;
};

// What the DNC window says when a transfer ends with `code`: nothing for a
// clean end unless DNCALERT asks for it.
std::optional<TransferMessage> transferFinishedMessage(int code, bool dncAlert);

// What it says of a fatal error the moment it happens.
TransferMessage transferErrorMessage(int code);

}  // namespace zantor
