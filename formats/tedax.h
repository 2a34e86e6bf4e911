// tEDAx netlist: the line-based interchange format of pcb-rnd. A file begins
// with "tEDAx v1"; its netlist block runs from "begin netlist v1 NAME" to
// "end netlist" and holds "footprint REF PACKAGE", "value REF VALUE" and
// "conn NET REF PIN" lines. Fields are separated by blanks or tabs; a
// backslash escapes a blank, a tab or a backslash inside a field, and "#"
// starts a comment.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

void mntdxin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mntdxout(const ConversionContext& context, const std::filesystem::path& output);

// What a tEDAx netlist carries: every character, escaped where it would
// separate fields or start a comment; but no empty field, so a net needs a
// name and a pin its reference and pin name; and pcb-rnd cannot take a
// reference with "-".
extern const FormatLimits kTedaxLimits;

// How well a file fits a tEDAx netlist: the header of the format when it
// begins with "tEDAx v1" and holds a whole netlist block (the whole file is
// read when the head begins that way but does not hold the block's end).
ProbeFit probeTedax(const ProbeInput& input);

}  // namespace korvanel
