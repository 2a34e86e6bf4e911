// D2 CAD netlist: comment lines, the keyword "$CCF", "{", a "NET {" section
// of entries name : pin , pin ; (an entry may run over several lines) and
// the closing braces. Pins are written reference(pin). The format carries no
// parts.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnd2cin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnd2cout(const ConversionContext& context, const std::filesystem::path& output);

// What a D2 CAD netlist carries: ":", "," and ";" end names and pins, "("
// and ")" mark a pin, and a word that begins with a comment mark, a brace or
// a keyword is read as syntax.
extern const FormatLimits kD2CadLimits;

// How well the head of a file fits a D2 CAD netlist: accepted when its
// "$CCF" keyword is there, the writer's header when its comment names the
// format, its keywords when "$CCF" stands alone on its line and no parts
// block follows.
ProbeFit probeD2Cad(const ProbeInput& input);

}  // namespace korvanel
