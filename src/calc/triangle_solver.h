#pragma once

#include <string>

namespace zantor {

// A triangle as the solver takes and gives it: side A lies opposite angle a,
// and so on; angles in decimal degrees. 0 means "unknown"; negative values
// count as their absolute values.
struct Triangle {
    double SideA = 0, SideB = 0, SideC = 0;
    double AngleA = 0, AngleB = 0, AngleC = 0;
};

// Why three values form no triangle; the error box's texts.
enum class TriangleError { None = 0, NoSide = 1, TooFewValues = 2, BadSides = 3, BadAngles = 4, NotATriangle = 5 };
const char* triangleErrorText(TriangleError error);

struct TriangleSolution {
    TriangleError error = TriangleError::None;
    Triangle triangle;  // all three sides and angles when solved
};

// Solves from three sides, two sides and an angle (with the obtuse answer of
// the ambiguous case), or a side and two angles. Sides are taken first, then
// angles in the order a, b, c until three values are known.
TriangleSolution solveTriangle(const Triangle& given);

// The report of a solved triangle: sides, angles in degrees, minutes and
// seconds, perimeter, area and the diameters of the inscribed and
// circumscribed circles; lines end with CR LF.
std::string triangleReport(const Triangle& solved);

}  // namespace zantor
