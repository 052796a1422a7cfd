#include "calc/triangle_solver.h"

#include <gtest/gtest.h>

namespace zantor {
namespace {

struct SolveCase {
    const char* name;
    Triangle given;
    TriangleError error;
    Triangle expected;  // checked when solved
};

class TriangleSolving : public ::testing::TestWithParam<SolveCase> {};

TEST_P(TriangleSolving, GivesTheSidesAndAnglesOrTheError) {
    const SolveCase& c = GetParam();
    const TriangleSolution s = solveTriangle(c.given);
    ASSERT_EQ(s.error, c.error) << triangleErrorText(s.error);
    if (c.error != TriangleError::None) return;
    const Triangle& t = s.triangle;
    const Triangle& e = c.expected;
    EXPECT_NEAR(t.SideA, e.SideA, 1e-6);
    EXPECT_NEAR(t.SideB, e.SideB, 1e-6);
    EXPECT_NEAR(t.SideC, e.SideC, 1e-6);
    EXPECT_NEAR(t.AngleA, e.AngleA, 1e-6);
    EXPECT_NEAR(t.AngleB, e.AngleB, 1e-6);
    EXPECT_NEAR(t.AngleC, e.AngleC, 1e-6);
}

const double k3 = 36.869897645844021;  // the angle opposite 3 in the 3-4-5 triangle
const double k4 = 53.130102354155979;

INSTANTIATE_TEST_SUITE_P(
    Cases, TriangleSolving,
    ::testing::Values(
        SolveCase{"ThreeSides", {3, 4, 5, 0, 0, 0}, TriangleError::None, {3, 4, 5, k3, k4, 90}},
        SolveCase{"NegativeValuesCountAsPositive", {-3, 4, -5, 0, 0, 0}, TriangleError::None,
                  {3, 4, 5, k3, k4, 90}},
        SolveCase{"AnglesIgnoredWithThreeSides", {3, 4, 5, 10, 10, 10}, TriangleError::None,
                  {3, 4, 5, k3, k4, 90}},
        SolveCase{"AngleBetweenTwoSides", {3, 4, 0, 0, 0, 90}, TriangleError::None,
                  {3, 4, 5, k3, k4, 90}},
        SolveCase{"AngleOppositeAKnownSide", {0, 4, 5, 0, 0, 90}, TriangleError::None,
                  {3, 4, 5, k3, k4, 90}},
        SolveCase{"AmbiguousCaseTakesTheObtuseAngle", {0, 8, 5, 0, 0, 30}, TriangleError::None,
                  {3.9282032302755088, 8, 5, 23.13010235415598, 126.86989764584402, 30}},
        SolveCase{"OneSideTwoAngles", {0, 0, 5, k3, k4, 0}, TriangleError::None,
                  {3, 4, 5, k3, k4, 90}},
        SolveCase{"OnlyTheFirstAngleCountsWithTwoSides", {3, 4, 0, 20, 0, 90},
                  TriangleError::None,
                  {3, 4, 1.0888724429646044, 20, 152.86897645272396, 7.131023547276044}},
        SolveCase{"DegenerateSides", {1, 1, 2, 0, 0, 0}, TriangleError::BadSides, {}},
        SolveCase{"SidesTooShort", {1, 2, 5, 0, 0, 0}, TriangleError::BadSides, {}},
        SolveCase{"AnglesOf180", {5, 0, 0, 90, 90, 0}, TriangleError::BadAngles, {}},
        SolveCase{"NothingGiven", {0, 0, 0, 0, 0, 0}, TriangleError::NoSide, {}},
        SolveCase{"AnglesOnly", {0, 0, 0, 30, 60, 90}, TriangleError::NoSide, {}},
        SolveCase{"TwoValues", {3, 0, 0, 30, 0, 0}, TriangleError::TooFewValues, {}},
        SolveCase{"ASideTooShortToReach", {0, 10, 2, 0, 0, 60}, TriangleError::NotATriangle, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TriangleSolver, TheReportOfThe345Triangle) {
    const TriangleSolution s = solveTriangle({3, 4, 5, 0, 0, 0});
    ASSERT_EQ(s.error, TriangleError::None);
    EXPECT_EQ(triangleReport(s.triangle),
              " Triangle results :\r\n"
              "                                         Perimeter = 12.000000\r\n"
              " Side  A =  3.000000                          Area =  6.000000\r\n"
              " Side  B =  4.000000              Inscribed Circle =  2.000000\r\n"
              " Side  C =  5.000000          Circumscribed Circle =  5.000000\r\n"
              " Angle a = 36.869898 Deg =   36 Min =   52 Sec =   12\r\n"
              " Angle b = 53.130102 Deg =   53 Min =    7 Sec =   48\r\n"
              " Angle c = 90.000000 Deg =   90 Min =    0 Sec =    0\r\n"
              "\r\n");
}

TEST(TriangleSolver, AnglesRoundToTheNearestSecondWithCarries) {
    const std::string report = triangleReport({1, 1, 1, 29.99999, 60, 90.00001});
    EXPECT_NE(report.find(" Angle a = 29.999990 Deg =   30 Min =    0 Sec =    0\r\n"),
              std::string::npos)
        << report;
}

}  // namespace
}  // namespace zantor
