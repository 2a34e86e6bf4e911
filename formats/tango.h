// TANGO netlist: part blocks between "[" and "]" that give the reference
// designator, the package and the part name on one line each, and net blocks
// between "(" and ")" with the net name and one pin per line, written
// reference-pin (U1-7) or reference,pin (U1,7).
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mntanin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mntanout(const ConversionContext& context, const std::filesystem::path& output);

// What a TANGO netlist carries: blanks and tabs end a net name or a pin, a
// line that begins with "(" opens a net, ")" closes it, a pin's reference
// ends at its first ",", part fields lose blanks, double quotes and ")", a
// part field that is "[" or "]" alone marks a block, and a part without a
// part name is not read.
extern const FormatLimits kTangoLimits;

// How well the head of a file fits a TANGO netlist: accepted when a net block
// begins in it, its shape when the net blocks stand as the writer writes
// them with pins written reference,pin, the writer's header when its first
// line is the writer's title.
ProbeFit probeTango(const ProbeInput& input);

}  // namespace korvanel
