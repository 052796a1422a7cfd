#include "calc/speed_feed.h"

#include <cmath>
#include <cstdio>

#include "core/real_text.h"

namespace zantor {

namespace {
constexpr double kPi = 3.1415926535897932385;
}

bool SpeedFeedCalculator::recalculate(Field left) {
    auto& v = value;
    const double k = Metric ? 1000 : 12;
    switch (left) {
    case Diameter:
    case Teeth:
    case SurfaceSpeed:
    case CutLength:
        if (v[Diameter] == 0) return false;
        v[Rpm] = v[SurfaceSpeed] * k / (v[Diameter] * kPi);
        v[FeedPerRev] = v[ChipLoad] * v[Teeth];
        v[FeedPerMinute] = v[FeedPerRev] * v[Rpm];
        return true;
    case Rpm:
        v[FeedPerMinute] = v[ChipLoad] * v[Teeth] * v[Rpm];
        v[SurfaceSpeed] = v[Diameter] * kPi * v[Rpm] / k;
        return true;
    case FeedPerMinute:
        if (v[Rpm] == 0 || v[Teeth] == 0) return false;
        v[FeedPerRev] = v[FeedPerMinute] / v[Rpm];
        v[ChipLoad] = v[FeedPerRev] / v[Teeth];
        return true;
    case FeedPerRev:
        if (v[Teeth] == 0) return false;
        v[FeedPerMinute] = v[Rpm] * v[FeedPerRev];
        v[ChipLoad] = v[FeedPerRev] / v[Teeth];
        return true;
    case ChipLoad:
        return true;  // used at the next recalculation
    }
    return false;
}

void SpeedFeedCalculator::setTurning(bool turning) {
    Turning = turning;
    if (turning) {
        value[Teeth] = 1.0;
        value[ChipLoad] = value[FeedPerRev];
    }
}

std::string SpeedFeedCalculator::cutTimeText() const {
    const double ipm = value[FeedPerMinute];
    const double minutes = std::fabs(ipm) <= 0.00001 ? 0 : value[CutLength] / ipm;
    const double whole = std::trunc(minutes);
    char text[96];
    std::snprintf(text, sizeof text, "Cut Time = %.0f Minutes, %.2f Seconds", whole,
                  (minutes - whole) * 60);
    return text;
}

std::string SpeedFeedCalculator::caption(Field field) const {
    switch (field) {
    case Diameter: return Turning ? "Turned Diameter" : "Tool Diameter";
    case Teeth: return "Number of Teeth";
    case ChipLoad: return "Chip Load Per Tooth";
    case Rpm: return "RPM";
    case SurfaceSpeed: return Metric ? "M/min" : "FPM";
    case FeedPerMinute: return Metric ? "MM/min" : "IPM";
    case FeedPerRev: return Metric ? "MM/rev" : "IPR";
    case CutLength: return "Cut Length";
    }
    return "";
}

std::string SpeedFeedCalculator::report() const {
    // Labels padded to 20 characters, as the report has always shown them.
    const auto line = [&](std::string label, Field field) {
        label.resize(20, ' ');
        return label + ": " + FormatReal5(value[field]) + "\r\n";
    };
    std::string text = "Speed & Feed Calculation\r\n";
    text += line("Tool Diameter", Diameter);
    text += line("Number of Teeth", Teeth);
    text += line("Chip Load Per Tooth", ChipLoad);
    text += line("RPM", Rpm);
    text += line(caption(SurfaceSpeed), SurfaceSpeed);
    text += line(caption(FeedPerMinute), FeedPerMinute);
    text += line(caption(FeedPerRev), FeedPerRev);
    text += line("Cut Length", CutLength);
    return text + cutTimeText() + "\r\n\r\n";
}

}  // namespace zantor
