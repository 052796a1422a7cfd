#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dnc/port/kermit_data.h"
#include "dnc/port/kermit_packet.h"

namespace zantor::kermit {

// What one end announces in its Send-Init packet (or the answer to one).
struct InitParams {
    int maxLength = 94;       // the longest normal packet it takes
    int timeoutSeconds = 10;  // how soon the other end should time it out
    int padCount = 0;
    uint8_t padChar = 0;
    uint8_t eol = '\r';
    char control = '#';
    char eighthBit = 'Y';  // 'Y' (will if asked), 'N', or the prefix it asks for
    int checkType = 1;
    char repeat = '~';  // ' ': none
    bool longPackets = false;
    bool slidingWindows = false;
    bool attributes = false;
    int window = 1;      // window slots, 1..31
    int longLength = 0;  // the longest long packet it takes; 0: not given
};

// Capability bits of the CAPAS field; its bit 0 says another CAPAS follows.
inline constexpr int kCanLongPackets = 2;
inline constexpr int kCanSlidingWindows = 4;
inline constexpr int kCanAttributes = 8;
inline constexpr int kLongestWindow = 31;

std::string encodeInit(const InitParams& params);
// Missing or blank fields take their defaults.
InitParams decodeInit(std::string_view data);

// The answer of a receiver that can do `able` to a sender's `offer`.
InitParams answerInit(const InitParams& able, const InitParams& offer);

// What the transfer uses once both ends have spoken.
struct Agreement {
    int checkType = 1;
    // Each end prefixes control characters with the character it announced.
    Quoting outgoing, incoming;
    size_t sendLength = 80;  // the longest packet the other end takes
    int window = 1;
    bool attributes = false;
    Framing framing;  // what the other end wants around its packets
    int peerTimeoutSeconds = 10;

    // The longest data field a packet to the other end carries.
    size_t dataRoom() const;
};

// `mine` is what we announced, `theirs` what the other end did.
Agreement agree(const InitParams& mine, const InitParams& theirs);

}  // namespace zantor::kermit
