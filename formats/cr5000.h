// CR5000 netlist (also listed as CR3000): a "$CCF{" block holding a
// "DEFINITION {" block (a part type, ":", its references separated by ","
// and ";") and a "NET{" block (a net name, ":", its pins written
// reference(pin) and separated by ",", and ";"), followed by the "GROUND {",
// "POWER {" and "ONE_STROKE_NET {" blocks. "CR5000(PC)" is the same text
// with CR LF line ends instead of LF.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mncr5in(const ConversionContext& context, const std::filesystem::path& input, Text& status);
// Writes the netlist with LF line ends.
void mncr5out(const ConversionContext& context, const std::filesystem::path& output);
// Writes the netlist with CR LF line ends.
void mncr5pout(const ConversionContext& context, const std::filesystem::path& output);

// What a CR5000 netlist carries (both writers): in the nets "(" reads as "."
// and ")" vanishes, "}" drops the word before it and a word that begins with
// "{" or with a block heading (NET{, POWER{ ...) opens a block; "," ends a
// reference; a pin is written reference(pin) from its last ".".
extern const FormatLimits kCr5000Limits;

// How well the head of a file fits a CR5000 (or CR3000) netlist: accepted
// when it opens with "$CCF{" after nothing but comments, its keywords when a
// DEFINITION, GROUND, POWER or ONE_STROKE_NET block follows, the writer's
// header when "$CCF{" and "DEFINITION {" are its first two lines.
ProbeFit probeCr5000(const ProbeInput& input);

}  // namespace korvanel
