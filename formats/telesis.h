// Telesis netlist (also listed as ALLEGRO): a "$PACKAGES" section of
// package ! device ; references lines and a "$NETS" section of
// name ; pins lines, each continued onto the next line by a trailing ",".
#pragma once

#include <filesystem>

#include "core/context.h"

namespace korvanel {

void mntelin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mntelout(const ConversionContext& context, const std::filesystem::path& output);

}  // namespace korvanel
