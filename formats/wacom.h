// WACOM SIMPLE NET netlist: free-form text where each net is its name, ":",
// its pins separated by "," and a "." after the last pin, over as many lines
// as it needs; a line that begins with "*" is a comment. Pins are written
// reference - pin. The format carries no parts.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnwacin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnwacout(const ConversionContext& context, const std::filesystem::path& output);

// What a WACOM SIMPLE NET netlist carries: ":", "," and "." end names and pins.
extern const FormatLimits kWacomLimits;

// How well the head of a file fits a WACOM SIMPLE NET netlist: accepted when
// a net ends in it with its ".", its shape when most lines name a net
// ("name : ") or end with "," or ".", the writer's header when its first line
// is the writer's comment.
ProbeFit probeWacom(const ProbeInput& input);

}  // namespace korvanel
