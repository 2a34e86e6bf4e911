// MYPCB netlist: a "HDR*" header line, a parts section opened by "SYM*"
// (reference and part type per line; a "*" starts a comment), a nets
// section opened by "NET*" in which each net name stands on a line of its
// own followed by lines of pins (U1.7), and a closing "END*".
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnmypin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnmypout(const ConversionContext& context, const std::filesystem::path& output);

// What a MYPCB netlist carries: blanks separate words, a "," ends a pin, a
// "*" in the parts section starts a comment, a net name holds no "." and is
// not "END*", and a line without reference or part type gives no part. The
// package is not written: the reader gives the part type in its place.
extern const FormatLimits kMypcbLimits;

// How well the head of a file fits a MYPCB netlist: accepted when its "NET*"
// line is there, the writer's header when it begins with "HDR*".
ProbeFit probeMypcb(const ProbeInput& input);

}  // namespace korvanel
