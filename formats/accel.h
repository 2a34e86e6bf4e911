// ACCEL netlist: nested parenthesised lists, names and values in double
// quotes. A (netlist ...) list holds one (compinst "U1" ...) list per part,
// with its (patternName "...") and (compvalue "..."), and one
// (net "GND" ...) list per net, with one (node "U1" "7") per pin. The
// closing parentheses of a part, a net and the whole netlist stand at the end
// of the element's last line.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

// Reads an ACCEL netlist into parts.tmp and net.tmp (format name "ACCEL").
void mnaccin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
// Writes parts.tmp and net.tmp as an ACCEL netlist (format name "ACCEL").
void mnaccout(const ConversionContext& context, const std::filesystem::path& output);

// What an ACCEL netlist carries: a double quote ends a quoted name, ")" is
// dropped from the quoted texts of a component, and an empty pin number is
// the same node as a pin without one.
extern const FormatLimits kAccelLimits;

// How well the head of a file fits an ACCEL netlist: accepted when a
// (net ...) list begins in it, the writer's header when its first list is
// (netlist ...).
ProbeFit probeAccel(const ProbeInput& input);

}  // namespace korvanel
