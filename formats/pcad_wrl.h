// Pcad(wrl) netlist: a column list of nets only. Lines that begin with "%"
// are comments; a net begins on a line whose column 3 holds its name, the
// pins follow separated by blanks and written reference-pin (U1-7), and
// lines whose column 3 is blank carry further pins of the same net.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"

namespace korvanel {

void mnpwrin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnpwrout(const ConversionContext& context, const std::filesystem::path& output);

// What a Pcad(wrl) netlist carries: a pin is split at its first "-" after
// the first character, and a net needs a name in column 3.
extern const FormatLimits kPcadWrlLimits;

}  // namespace korvanel
