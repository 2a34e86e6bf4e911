// PROTEL netlist: part blocks between "[" and "]" that give the reference
// designator, the footprint and the part type on one line each, and net
// blocks between "(" and ")" with the net name and one pin per line,
// written reference-pin (U1-7). PROTEL2 netlists (read only) give each field
// of a part block on the line after its keyword ("DESIGNATOR", "FOOTPRINT",
// "PARTTYPE", "DESCRIPTION"), values possibly in double quotes.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnproin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnpr2in(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnproout(const ConversionContext& context, const std::filesystem::path& output);

// What a PROTEL netlist carries: blanks and tabs end a net name or a pin, a
// line that begins with "(" opens a net, ")" closes it, a pin's reference
// ends at its first "-", and a part field that is "[" or "]" alone marks a
// block.
extern const FormatLimits kProtelLimits;

// How well the head of a file fits a PROTEL netlist: accepted when a net
// block begins in it, its shape when the net blocks stand as the writer
// writes them with pins written reference-pin, the writer's header when its
// first line is the writer's.
ProbeFit probeProtel(const ProbeInput& input);
// How well the head of a file fits a PROTEL2 netlist: accepted when a net
// block begins in it, its keywords when its part blocks give their fields
// after keyword lines.
ProbeFit probeProtel2(const ProbeInput& input);

}  // namespace korvanel
