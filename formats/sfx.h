// SFX netlist (also listed as OHM-3 and CADIX XID): values in single quotes,
// keywords beginning with "*", comments beginning with "#". A "*PARTS" line
// opens the parts, one part a line ('U1' 'name' 'number' 'package' ...); a
// "*NET" line opens the nets, each a header line ('GND' *WIDTH= ...) and
// lines of pins written as quoted pieces joined by "/" ('U1'/'7').
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnsfxin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnsfxout(const ConversionContext& context, const std::filesystem::path& output);

// What an SFX netlist carries: a single quote ends every value, a net needs
// its name and a part its part name, and a value that begins with a section
// keyword opens that section.
extern const FormatLimits kSfxLimits;

// How well the head of a file fits an SFX netlist: accepted when the
// "*PARTS" line comes before any "*NET" line, its keywords when "*PARTS" is
// a word of its own there, the writer's header when it holds the writer's
// header comment or the heading of its part columns.
ProbeFit probeSfx(const ProbeInput& input);

}  // namespace korvanel
