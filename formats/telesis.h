// Telesis netlist (also listed as ALLEGRO): a "$PACKAGES" section of
// package ! device ; references lines and a "$NETS" section of
// name ; pins lines, each continued onto the next line by a trailing ",".
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mntelin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mntelout(const ConversionContext& context, const std::filesystem::path& output);

// What a Telesis netlist carries: "!" ends a package and a device, a
// reference ends at "," and the words $NETS and $PACKAGES on their own end a
// part line; an empty device, reference or net name drops its part, pin or
// net.
extern const FormatLimits kTelesisLimits;

// How well the head of a file fits a Telesis netlist: accepted when its
// "$NETS" line is there, the writer's header when it begins with
// "$PACKAGES".
ProbeFit probeTelesis(const ProbeInput& input);

}  // namespace korvanel
