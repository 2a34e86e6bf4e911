// CSi netlist: dot keywords around two sections. Between ".COM" and
// ".EODCOM" each line lists one part (reference, part name, further fields);
// after ".NET" each net is a line "SIGNAL:", a tab, its name and " 0 {", its
// pins one a line (a tab, reference, a blank, pin number, " 0") and "}".
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mncsiin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mncsiout(const ConversionContext& context, const std::filesystem::path& output);

// What a CSi netlist carries: a blank or ":" ends every field, a pin needs
// both its reference and its pin number, a part its part name, and a part
// line that begins with "*" or a dot keyword is syntax.
extern const FormatLimits kCsiLimits;

// How well the head of a file fits a CSi netlist: its keywords when ".COM"
// comes before ".NET", the writer's header when its first line is the
// writer's comment.
ProbeFit probeCsi(const ProbeInput& input);

}  // namespace korvanel
