// MM-COLMO_NEO & MM2 netlist: two files. The parts file is "$PTS", one line
// package !part name ;reference per part and "$END"; the net file is "$NET",
// one line name ; pin, pin per net (continued onto the next line by a
// trailing ","), then "$END", "$THM", "$END". Pins are written reference-pin.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

// Reads the net file `input` and, unless `partsFile` is empty, the parts file.
void mnmmcin(const ConversionContext& context, const std::filesystem::path& input, const Text& partsFile,
             Text& status);
// Writes the parts file `partsFile` and the net file `output`.
void mnmmcout(const ConversionContext& context, const std::filesystem::path& output, const Text& partsFile);

// What an MM-COLMO_NEO & MM2 pair of files carries: ";", "," and "!" end
// fields, the first inner "-" of a pin separates its reference, an empty net
// name comes back as a generated one, and a part needs its part name.
extern const FormatLimits kMmColmoLimits;

// How well the head of a net file fits an MM-COLMO_NEO & MM2 net file:
// accepted when its "$NET" comes before any net, its keywords when "$NET"
// stands alone on its line, the writer's header when that is the first line.
ProbeFit probeMmColmo(const ProbeInput& input);

}  // namespace korvanel
