// CADLUS-PC reverse netlist (read only): nets without part data. A line that
// begins with one blank and a name starts a net, the pins following on the
// line; a line that begins with two blanks carries further pins of that net;
// every other line is a title or a comment. Pins are written reference-pin
// (U1-7).
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/format_probe.h"

namespace korvanel {

void mnclpin(const ConversionContext& context, const std::filesystem::path& input, Text& status);

// How well the head of a file fits a CADLUS-PC reverse netlist: accepted
// when it holds a net with pins, its shape when most net lines name their net
// from column 2 and write their pins reference-pin.
ProbeFit probeCadlus(const ProbeInput& input);

}  // namespace korvanel
