// CADLUS-PC reverse netlist (read only): nets without part data. A line that
// begins with one blank and a name starts a net, the pins following on the
// line; a line that begins with two blanks carries further pins of that net;
// every other line is a title or a comment. Pins are written reference-pin
// (U1-7).
#pragma once

#include <filesystem>

#include "core/context.h"

namespace korvanel {

void mnclpin(const ConversionContext& context, const std::filesystem::path& input, Text& status);

}  // namespace korvanel
