// Pcad(nlt) netlist: free-form text in sections. A "PARTS" line opens the
// parts, written part-name = reference, reference, ... ; and a "NETS" line
// opens the nets, written net-name = U1/7 U2/7 ... ; where an entry may run
// over several lines. "%" starts a comment that runs to the end of the line.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

// Reads a Pcad(nlt) netlist into parts.tmp and net.tmp (format name "Pcad(nlt)").
void mnpnlin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
// Writes parts.tmp and net.tmp as a Pcad(nlt) netlist (format name "Pcad(nlt)").
void mnpnlout(const ConversionContext& context, const std::filesystem::path& output);

// What a Pcad(nlt) netlist carries: "%" starts a comment, "=" ends a name,
// "," a reference, every "/" of a pin after its first character is read as
// ".", and a part named NETS ends the parts.
extern const FormatLimits kPcadNltLimits;

// How well the head of a file fits a Pcad(nlt) netlist: its keywords when a
// "PARTS" line and then a "NETS" line are there, the writer's header when its
// first line is the writer's comment.
ProbeFit probePcadNlt(const ProbeInput& input);

}  // namespace korvanel
