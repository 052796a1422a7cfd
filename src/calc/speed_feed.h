#pragma once

#include <array>
#include <string>

namespace zantor {

// The speed and feed calculator: tool diameter, teeth, chip load, spindle
// speed, surface speed, feed per minute and per revolution kept consistent,
// with the cutting time of a cut length. Inch units take surface speed in
// feet a minute (factor 12), metric in metres a minute (factor 1000).
class SpeedFeedCalculator {
public:
    enum Field { Diameter, Teeth, ChipLoad, Rpm, SurfaceSpeed, FeedPerMinute, FeedPerRev, CutLength };
    static constexpr int kFieldCount = 8;

    bool Metric = false;
    bool Turning = false;
    std::array<double, kFieldCount> value = {0.5, 4, 0.04, 763.94373, 100, 122.231, 0.16, 1};

    // Recalculates after `left` was edited. A zero diameter, speed or number
    // of teeth would divide by zero: then nothing changes and false is returned.
    bool recalculate(Field left);
    // Turning has one "tooth", and its chip load is the feed per revolution.
    void setTurning(bool turning);

    // "Cut Time = 0 Minutes, 0.49 Seconds".
    std::string cutTimeText() const;
    // The field's caption for the units and mode ("Tool Diameter", "FPM", "MM/rev" ...).
    std::string caption(Field field) const;
    // The report put on the clipboard; lines end with CR LF.
    std::string report() const;
};

}  // namespace zantor
