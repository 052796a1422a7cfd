#include "calc/triangle_solver.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace zantor {

namespace {

constexpr double kPi = 3.1415926535897932385;

double toRadians(double degrees) {
    return degrees * kPi / 180.0;
}
double toDegrees(double radians) {
    return radians * 180.0 / kPi;
}

// Sides and angles by index: 0 A/a, 1 B/b, 2 C/c.
struct Work {
    std::array<double, 3> side{};
    std::array<double, 3> angle{};
    std::array<bool, 3> sideKnown{};
    std::array<bool, 3> angleKnown{};
};

// The first other side, in the order the law of sines looks for it, that is known.
int knownPartnerOf(const Work& w, int k) {
    static constexpr int order[3][2] = {{1, 2}, {2, 0}, {1, 0}};
    for (const int j : order[k])
        if (w.sideKnown[size_t(j)]) return j;
    return -1;
}

TriangleError fromSideAndTwoAngles(Work& w) {
    int missing = -1;
    double sum = 0;
    for (int i = 0; i < 3; ++i) {
        if (w.angleKnown[size_t(i)]) {
            sum += w.angle[size_t(i)];
        } else {
            missing = i;
        }
    }
    if (missing >= 0) {
        if (sum >= 180) return TriangleError::BadAngles;
        w.angle[size_t(missing)] = 180 - sum;
        w.angleKnown[size_t(missing)] = true;
    }
    for (int k = 0; k < 3; ++k) {
        if (w.sideKnown[size_t(k)]) continue;
        const int j = knownPartnerOf(w, k);
        if (j < 0) return TriangleError::NotATriangle;
        w.side[size_t(k)] = std::sin(toRadians(w.angle[size_t(k)])) * w.side[size_t(j)] /
                            std::sin(toRadians(w.angle[size_t(j)]));
        w.sideKnown[size_t(k)] = true;
    }
    return TriangleError::None;
}

TriangleError fromThreeSides(Work& w) {
    for (int k = 0; k < 3; ++k) {
        const double p = w.side[size_t((k + 1) % 3)], q = w.side[size_t((k + 2) % 3)];
        const double kk = w.side[size_t(k)];
        const double cosine = (p * p + q * q - kk * kk) / (2 * p * q);
        if (cosine == 0) {
            w.angle[size_t(k)] = 90;
            continue;
        }
        if (std::fabs(cosine) >= 1) return TriangleError::BadSides;
        double a = toDegrees(std::atan(std::sqrt(1 - cosine * cosine) / cosine));
        if (cosine < 0) a += 180;
        w.angle[size_t(k)] = a;
    }
    return TriangleError::None;
}

TriangleError fromTwoSidesAndAngle(Work& w) {
    int given = 0;
    while (!w.angleKnown[size_t(given)]) ++given;
    const double g = toRadians(w.angle[size_t(given)]);
    if (!w.sideKnown[size_t(given)]) {
        // The angle lies between the two known sides s1 and s2.
        int s1 = -1, s2 = -1;
        for (int i = 0; i < 3; ++i)
            if (w.sideKnown[size_t(i)]) (s1 < 0 ? s1 : s2) = i;
        const double denominator = w.side[size_t(s1)] - std::cos(g) * w.side[size_t(s2)];
        double a = denominator == 0
                       ? 90
                       : toDegrees(std::atan(std::sin(g) * w.side[size_t(s2)] / denominator));
        if (a < 0) a += 180;
        w.angle[size_t(s2)] = a;
        w.angleKnown[size_t(s2)] = true;
    } else {
        // The angle lies opposite the known side s; t is the other known side.
        const int s = given;
        int t = 0;
        while (t == s || !w.sideKnown[size_t(t)]) ++t;
        const double sine = std::sin(g) * w.side[size_t(t)] / w.side[size_t(s)];
        // A sine beyond 1 is a side t too long to reach across: no triangle.
        // Rounding puts sines of up to 1 + 1e-9 at 90 degrees.
        if (std::fabs(sine) > 1 + 1e-9) return TriangleError::NotATriangle;
        double a = std::fabs(sine) < 0.99999 ? toDegrees(std::asin(sine)) : 90;
        if (w.side[size_t(s)] < w.side[size_t(t)]) a = 180 - a;
        w.angle[size_t(t)] = a;
        w.angleKnown[size_t(t)] = true;
    }
    return fromSideAndTwoAngles(w);
}

}  // namespace

const char* triangleErrorText(TriangleError error) {
    switch (error) {
    case TriangleError::NoSide: return "Error, At least one side must be given";
    case TriangleError::TooFewValues: return "Error, Less than 3 numbers entered";
    case TriangleError::BadSides: return "Error, Bad Sides";
    case TriangleError::BadAngles: return "Error, Bad Angles";
    case TriangleError::NotATriangle: return "Error, Data Does Not Form a Valid Triangle";
    case TriangleError::None: break;
    }
    return "";
}

TriangleSolution solveTriangle(const Triangle& given) {
    Work w;
    w.side = {std::fabs(given.SideA), std::fabs(given.SideB), std::fabs(given.SideC)};
    const std::array<double, 3> angles = {std::fabs(given.AngleA), std::fabs(given.AngleB),
                                          std::fabs(given.AngleC)};
    int sides = 0;
    for (size_t i = 0; i < 3; ++i) sides += (w.sideKnown[i] = w.side[i] != 0);
    TriangleSolution solution;
    if (sides == 0) {
        solution.error = TriangleError::NoSide;
        return solution;
    }
    int known = sides;
    for (size_t i = 0; i < 3 && known < 3; ++i) {
        if (angles[i] == 0) continue;
        w.angle[i] = angles[i];
        w.angleKnown[i] = true;
        ++known;
    }
    if (known < 3) {
        solution.error = TriangleError::TooFewValues;
        return solution;
    }
    solution.error = sides == 3   ? fromThreeSides(w)
                     : sides == 2 ? fromTwoSidesAndAngle(w)
                                  : fromSideAndTwoAngles(w);
    if (solution.error != TriangleError::None) return solution;
    for (size_t i = 0; i < 3; ++i) {
        if (!(w.side[i] > 0) || !std::isfinite(w.side[i]) || !(w.angle[i] > 0)) {
            solution.error = TriangleError::NotATriangle;
            return solution;
        }
    }
    solution.triangle = {w.side[0], w.side[1], w.side[2], w.angle[0], w.angle[1], w.angle[2]};
    return solution;
}

std::string triangleReport(const Triangle& t) {
    const double s = (t.SideA + t.SideB + t.SideC) / 2;
    const double area = std::sqrt(s * (s - t.SideA) * (s - t.SideB) * (s - t.SideC));
    const double inscribed = 2 * area / s;
    const double circumscribed = t.SideA / std::sin(toRadians(t.AngleA));
    char line[160];
    std::string report = " Triangle results :\r\n";
    std::snprintf(line, sizeof line, "                                         Perimeter = %.6f\r\n",
                  2 * s);
    report += line;
    const struct {
        const char* side;
        double value;
        const char* label;
        double derived;
    } rows[] = {{"A", t.SideA, "                          Area = ", area},
                {"B", t.SideB, "              Inscribed Circle = ", inscribed},
                {"C", t.SideC, "          Circumscribed Circle = ", circumscribed}};
    for (const auto& r : rows) {
        std::snprintf(line, sizeof line, " Side  %s = %9.6f%s%9.6f\r\n", r.side, r.value, r.label,
                      r.derived);
        report += line;
    }
    const std::pair<const char*, double> angles[] = {{"a", t.AngleA}, {"b", t.AngleB}, {"c", t.AngleC}};
    for (const auto& [name, x] : angles) {
        // Rounded to the nearest second, with carries into minutes and degrees.
        const int deg = int(x + 1.0 / 7200);
        const int min = int((x - deg) * 60 + 1.0 / 120);
        const int sec = int((x - deg - min / 60.0) * 3600 + 0.5);
        std::snprintf(line, sizeof line, " Angle %s = %9.6f Deg = %4d Min = %4d Sec = %4d\r\n", name,
                      x, deg, min, sec);
        report += line;
    }
    return report + "\r\n";
}

}  // namespace zantor
