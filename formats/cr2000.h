// CR2000 netlist: everything up to a "NETS" line is ignored; then each net
// starts on a line with a blank in column 1 and its name from column 2,
// followed by its pins (U1-7) separated by ","; further pins continue on
// lines that begin with blanks. "$END" closes the section. The format has no
// parts.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mncr2in(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mncr2out(const ConversionContext& context, const std::filesystem::path& output);

// What a CR2000 netlist carries: a pin is split at its first "-" after the
// first character, the word END alone ends the nets, and a net without a
// name or an empty pin does not read back.
extern const FormatLimits kCr2000Limits;

// How well the head of a file fits a CR2000 netlist: accepted when a line
// begins with "NETS", its shape when the first net after it is named from
// column 2, its keywords when "NETS" also stands alone on its line, the
// writer's header when that line is the first.
ProbeFit probeCr2000(const ProbeInput& input);

}  // namespace korvanel
