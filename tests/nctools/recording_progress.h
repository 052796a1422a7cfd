#pragma once

#include <string>
#include <vector>

#include "nctools/line_walk.h"

namespace zantor::testing {

// Keeps what a run showed; presses Cancel at the given keep-alive call.
class RecordingProgress : public LineWalkProgress {
public:
    std::vector<std::string> captions;
    std::vector<int> percents;
    int ends = 0;
    int keepAlives = 0;
    int cancelAtKeepAlive = 0;  // 0: never

    void begin(const std::string& caption) override {
        captions.push_back(caption);
        cancelled_ = false;
    }
    void setPercent(int percent) override { percents.push_back(percent); }
    void keepAlive() override {
        ++keepAlives;
        if (keepAlives == cancelAtKeepAlive) cancelled_ = true;
    }
    bool cancelled() const override { return cancelled_; }
    void end() override { ++ends; }

private:
    bool cancelled_ = false;
};

}  // namespace zantor::testing
