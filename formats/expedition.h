// Expedition PCB netlist: a header, net lines of a net name and its pins
// between backslashes (\GND\    \U1\-\7\ \U2\-\7\ ), an empty line, then
// "%Part" and part lines of a part name and its references
// (\74HC00\    \U1\ \U2\ ). A line that begins with "*" continues the line
// before. Net lines of one name make one net.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnexpin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnexpout(const ConversionContext& context, const std::filesystem::path& output);

// What an Expedition PCB netlist carries: a backslash ends every field, a ","
// within a net line and a "*" within a part line are dropped, and packages
// are not written.
extern const FormatLimits kExpeditionLimits;

// How well the head of a file fits an Expedition PCB netlist: accepted when
// it holds a net line, a part line or the "%Part" line, its shape when most
// lines that are not directives begin with a backslash or continue one, the
// writer's header when it begins with the writer's header lines.
ProbeFit probeExpedition(const ProbeInput& input);

}  // namespace korvanel
