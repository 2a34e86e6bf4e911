// MENTOR netlist: part lines of reference, value and PCB property separated by
// blanks, then "NET" lines of a quoted net name and its pins (U1-7). A net may
// be spread over several NET lines of the same name. Lines that begin with "#"
// and text in parentheses (across lines too) are comments.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mnmetin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnmetout(const ConversionContext& context, const std::filesystem::path& output);

// What a MENTOR netlist carries: text in parentheses is a comment anywhere, a
// net name ends at its quote, a pin's reference at its first "-", part
// fields at a blank, and the word NET ends the part lines.
extern const FormatLimits kMentorLimits;

// How well the head of a file fits a MENTOR netlist: accepted when the word
// NET stands in it outside comments, the writer's header when its first line
// is the writer's comment, its keywords when a line begins NET 'name'.
ProbeFit probeMentor(const ProbeInput& input);

}  // namespace korvanel
