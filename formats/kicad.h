// KiCad netlist: the s-expression that KiCad's schematic editor exports for
// its board editor. (export (version "E") (design ...) (components (comp (ref
// "R1") (value "10k") (footprint "Lib:R_0805") ...)) (nets (net (code "1")
// (name "GND") (node (ref "R1") (pin "1")) ...))). Version "D" files write
// the same lists with bare atoms where no quotes are needed. The file is
// UTF-8 whatever encoding the other files use.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnkicin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnkicout(const ConversionContext& context, const std::filesystem::path& output);

// What a KiCad netlist carries: every character inside quotes; but a net
// without a name is no net to the board editor, a part without a reference
// is no part, and a node without a pin is its reference alone.
extern const FormatLimits kKicadLimits;

// How well a file fits a KiCad netlist: the header of the format when its
// outermost list is headed "export" and closes at the end of the file (the
// whole file is walked when the head begins that way but does not end it).
ProbeFit probeKicad(const ProbeInput& input);

}  // namespace korvanel
