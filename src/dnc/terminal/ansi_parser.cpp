#include "dnc/terminal/ansi_parser.h"

#include <algorithm>

namespace zantor {

namespace {
constexpr uint8_t kEsc = 0x1B;
constexpr uint8_t kCan = 0x18;
constexpr uint8_t kSub = 0x1A;
constexpr uint8_t kDel = 0x7F;
}  // namespace

void AnsiParser::reset() {
    state_ = State::Ground;
    params_.clear();
    paramStarted_ = false;
    privateMarker_ = 0;
}

void AnsiParser::startCsi() {
    state_ = State::Csi;
    params_.assign(1, 0);
    paramStarted_ = false;
    privateMarker_ = 0;
}

void AnsiParser::feed(uint8_t b, AnsiTarget& target) {
    if (b == kEsc) {
        // A new sequence ends whatever was open.
        state_ = State::Escape;
        return;
    }
    if (state_ != State::Ground && (b == kCan || b == kSub)) {
        reset();  // the sequence is called off
        return;
    }
    switch (state_) {
        case State::Ground:
            if (b < 0x20)
                target.control(b);
            else if (b != kDel)
                target.print(b);
            return;
        case State::Escape:
            if (b == '[') {
                startCsi();
            } else if (b >= 0x20 && b < 0x30) {
                state_ = State::Ignore;  // ESC ( B and its kind: character sets, not ours
            } else if (b >= 0x30 && b < 0x7F) {
                state_ = State::Ground;
                target.escape(b);
            } else {
                reset();
                if (b < 0x20) target.control(b);
            }
            return;
        case State::Ignore:
            if (b >= 0x30 && b < 0x7F)
                state_ = State::Ground;
            else if (b < 0x20) {
                reset();
                target.control(b);
            }
            return;
        case State::Csi:
            if (b >= '0' && b <= '9') {
                int& p = params_.back();
                p = std::min(p * 10 + (b - '0'), kMaxParamValue);
                paramStarted_ = true;
            } else if (b == ';') {
                if (int(params_.size()) < kMaxParams) params_.push_back(0);
                paramStarted_ = false;
            } else if (b >= 0x3C && b <= 0x3F) {
                if (!paramStarted_ && params_.size() == 1) privateMarker_ = b;
            } else if (b >= 0x20 && b < 0x30) {
                // Intermediate bytes: no sequence of ours has them.
                privateMarker_ = privateMarker_ ? privateMarker_ : b;
            } else if (b >= 0x40 && b < 0x7F) {
                const std::vector<int> params = params_;
                const uint8_t marker = privateMarker_;
                reset();
                target.csi(b, params, marker);
            } else {
                reset();
                if (b < 0x20) target.control(b);
            }
            return;
    }
}

}  // namespace zantor
