// WACOM SIMPLE NET netlist: free-form text where each net is its name, ":",
// its pins separated by "," and a "." after the last pin, over as many lines
// as it needs; a line that begins with "*" is a comment. Pins are written
// reference - pin. The format carries no parts.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"

namespace korvanel {

void mnwacin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnwacout(const ConversionContext& context, const std::filesystem::path& output);

// What a WACOM SIMPLE NET netlist carries: ":", "," and "." end names and pins.
extern const FormatLimits kWacomLimits;

}  // namespace korvanel
