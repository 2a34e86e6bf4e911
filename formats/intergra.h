// INTERGRA netlist (read only): a part section opened by a "%PART" line
// (part name in columns 1 to 13, reference designator after a blank in
// column 14 or later) and a net section opened by a "%NET" line (net name
// and pins separated by blanks, further pins on lines that begin with "*",
// a pin written reference-pin).
#pragma once

#include <filesystem>

#include "core/context.h"

namespace korvanel {

void mnintin(const ConversionContext& context, const std::filesystem::path& input, Text& status);

}  // namespace korvanel
