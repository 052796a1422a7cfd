#include "calc/speed_feed.h"

#include <gtest/gtest.h>

#include "core/real_text.h"

namespace zantor {
namespace {

using Calc = SpeedFeedCalculator;

TEST(SpeedFeed, TheDefaultsAreConsistent) {
    Calc calc;
    ASSERT_TRUE(calc.recalculate(Calc::SurfaceSpeed));
    EXPECT_EQ(FormatReal5(calc.value[Calc::Rpm]), "763.94373");
    EXPECT_EQ(FormatReal5(calc.value[Calc::FeedPerRev]), "0.16000");
    EXPECT_EQ(FormatReal5(calc.value[Calc::FeedPerMinute]), "122.23100");
    EXPECT_EQ(calc.cutTimeText(), "Cut Time = 0 Minutes, 0.49 Seconds");
}

TEST(SpeedFeed, EachFieldRecalculatesItsDependants) {
    Calc calc;
    calc.value[Calc::Rpm] = 1000;
    calc.recalculate(Calc::Rpm);
    EXPECT_NEAR(calc.value[Calc::FeedPerMinute], 0.04 * 4 * 1000, 1e-9);
    EXPECT_NEAR(calc.value[Calc::SurfaceSpeed], 0.5 * 3.14159265358979 * 1000 / 12, 1e-9);

    calc.value[Calc::FeedPerMinute] = 200;
    calc.recalculate(Calc::FeedPerMinute);
    EXPECT_NEAR(calc.value[Calc::FeedPerRev], 0.2, 1e-12);
    EXPECT_NEAR(calc.value[Calc::ChipLoad], 0.05, 1e-12);

    calc.value[Calc::FeedPerRev] = 0.3;
    calc.recalculate(Calc::FeedPerRev);
    EXPECT_NEAR(calc.value[Calc::FeedPerMinute], 300, 1e-9);
    EXPECT_NEAR(calc.value[Calc::ChipLoad], 0.075, 1e-12);
}

TEST(SpeedFeed, MetricChangesCaptionsAndTheFactorButNoValue) {
    Calc calc;
    calc.Metric = true;
    EXPECT_EQ(calc.value[Calc::SurfaceSpeed], 100);
    EXPECT_EQ(calc.caption(Calc::SurfaceSpeed), "M/min");
    EXPECT_EQ(calc.caption(Calc::FeedPerRev), "MM/rev");
    calc.value[Calc::Diameter] = 10;
    calc.recalculate(Calc::Diameter);
    EXPECT_NEAR(calc.value[Calc::Rpm], 100 * 1000 / (10 * 3.14159265358979), 1e-6);
}

TEST(SpeedFeed, DivisionsByZeroChangeNothing) {
    Calc calc;
    const auto before = calc.value;
    calc.value[Calc::Diameter] = 0;
    EXPECT_FALSE(calc.recalculate(Calc::Diameter));
    calc.value[Calc::Diameter] = 0.5;
    calc.value[Calc::Rpm] = 0;
    EXPECT_FALSE(calc.recalculate(Calc::FeedPerMinute));
    calc.value[Calc::Rpm] = before[Calc::Rpm];
    calc.value[Calc::Teeth] = 0;
    EXPECT_FALSE(calc.recalculate(Calc::FeedPerRev));
    calc.value[Calc::Teeth] = before[Calc::Teeth];
    EXPECT_EQ(calc.value, before);
    calc.value[Calc::FeedPerMinute] = 0;
    EXPECT_EQ(calc.cutTimeText(), "Cut Time = 0 Minutes, 0.00 Seconds");
}

TEST(SpeedFeed, TurningHasOneToothAndTheFeedPerRevolutionAsChipLoad) {
    Calc calc;
    calc.setTurning(true);
    EXPECT_EQ(calc.value[Calc::Teeth], 1.0);
    EXPECT_EQ(calc.value[Calc::ChipLoad], 0.16);
    EXPECT_EQ(calc.caption(Calc::Diameter), "Turned Diameter");
}

TEST(SpeedFeed, TheReport) {
    Calc calc;
    EXPECT_EQ(calc.report(),
              "Speed & Feed Calculation\r\n"
              "Tool Diameter       : 0.50000\r\n"
              "Number of Teeth     : 4.00000\r\n"
              "Chip Load Per Tooth : 0.04000\r\n"
              "RPM                 : 763.94373\r\n"
              "FPM                 : 100.00000\r\n"
              "IPM                 : 122.23100\r\n"
              "IPR                 : 0.16000\r\n"
              "Cut Length          : 1.00000\r\n"
              "Cut Time = 0 Minutes, 0.49 Seconds\r\n"
              "\r\n");
}

}  // namespace
}  // namespace zantor
