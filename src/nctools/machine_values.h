#pragma once

#include <string>

#include "machines/machine_settings.h"
#include "nctools/nc_number.h"
#include "nctools/nc_words.h"

namespace zantor {

// How values of one kind of register are written: a number format with its
// digits before and after the point.
struct NcValueFormat {
    NcNumberFormat format = NcNumberFormat::Decimal;
    int left = 3;
    int right = 4;

    std::string write(double value) const { return FormatNcNumber(format, left, right, value); }
    double read(std::string_view word) const { return ParseNcNumber(word, format, left, right); }
};

// The machine's format for axis registers (DIGL, DIGR) and for the feed
// (DIGL, FDIGITS). A digit count that is no whole number counts as the
// default (3, 4, 2), and counts are held to 0..15, as no double carries
// more digits than that.
NcValueFormat axisValueFormat(const MachineFormat& machine);
NcValueFormat feedValueFormat(const MachineFormat& machine);

// The machine's comment marks (CMTSTART, CMTEND).
CommentMarks machineCommentMarks(const MachineFormat& machine);

}  // namespace zantor
