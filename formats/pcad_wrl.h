// Pcad(wrl) netlist: a column list of nets only. Lines that begin with "%"
// are comments; a net begins on a line whose column 3 holds its name, the
// pins follow separated by blanks and written reference-pin (U1-7), and
// lines whose column 3 is blank carry further pins of the same net.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnpwrin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnpwrout(const ConversionContext& context, const std::filesystem::path& output);

// What a Pcad(wrl) netlist carries: a pin is split at its first "-" after
// the first character, and a net needs a name in column 3.
extern const FormatLimits kPcadWrlLimits;

// How well the head of a file fits a Pcad(wrl) netlist: accepted when it
// holds a net with pins, its shape when most lines are indented and the nets
// are named from column 3, the writer's header when it holds the writer's
// column heading.
ProbeFit probePcadWrl(const ProbeInput& input);

}  // namespace korvanel
