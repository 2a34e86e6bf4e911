// INTERGRA netlist (read only): a part section opened by a "%PART" line
// (part name in columns 1 to 13, reference designator after a blank in
// column 14 or later) and a net section opened by a "%NET" line (net name
// and pins separated by blanks, further pins on lines that begin with "*",
// a pin written reference-pin).
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/format_probe.h"

namespace korvanel {

void mnintin(const ConversionContext& context, const std::filesystem::path& input, Text& status);

// How well the head of a file fits an INTERGRA netlist: accepted when its
// "%NET" line is there, its shape when the lines after it read as net lines
// (a name, pins written reference-pin, "*" lines), its keywords when a
// "%PART" line comes before it.
ProbeFit probeIntergra(const ProbeInput& input);

}  // namespace korvanel
