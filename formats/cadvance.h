// CADVANCE netlist: a brace-structured text. After a comment block and
// "$NET_LIST [ MM ] {" come a "comp {" block of part lines
// (reference [package]={part name, further values};) and a "nets{" block of
// net entries (name ={pins};) that may run over several lines, each pin
// written reference-pin (U1    - 7).
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mncvain(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mncvaout(const ConversionContext& context, const std::filesystem::path& output);

// What a CADVANCE netlist carries: blanks and braces are dropped, "=" ends a
// net name, "," and ";" end a pin, "[", "]" and "," end the fields of a part
// line, double quotes vanish from part lines, and a "-" inside a pin name
// reads as the separator; a part line without reference or part name gives
// no part.
extern const FormatLimits kCadvanceLimits;

// How well the head of a file fits a CADVANCE netlist: accepted when its
// "comp {" and "nets{" blocks begin there, the writer's header when it holds
// "$NET_LIST" or the writer's comment.
ProbeFit probeCadvance(const ProbeInput& input);

}  // namespace korvanel
