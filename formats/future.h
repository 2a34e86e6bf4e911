// FUTURE netlist (read only): comma-separated records, one per line. A header
// ends with the line "PINLIST,2"; then each part is a symbol block from a line
// "(SYM,..." to a line holding ")" alone. Inside a block, DATA,2 / DATA,3 /
// DATA,4 records give the reference, part name and package, and each PIN
// record gives one pin: the net name in its third field, the pin number in its
// seventh. The nets are gathered from the PIN records of all symbols.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/format_probe.h"

namespace korvanel {

void mnfutin(const ConversionContext& context, const std::filesystem::path& input, Text& status);

// How well the head of a file fits a FUTURE netlist: its keywords when the
// header's closing line "PINLIST,2" is there.
ProbeFit probeFuture(const ProbeInput& input);

}  // namespace korvanel
