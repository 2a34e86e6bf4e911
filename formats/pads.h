// PADS2000 and PADSPCB netlists: a "*PART*" section of reference and part-type
// lines, a "*NET*" section of "*SIGNAL*" lines each followed by lines of pins
// (U1.7) separated by blanks, and a closing "*END*". The two forms share one
// grammar and one layout; they differ in the writer's first line, in the
// "*REMARK*" comment lines of PADSPCB and in whether a run of blanks between
// pins stands for empty pins (PADS2000) or for a single separator (PADSPCB).
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"

namespace korvanel {

// PADS2000.
void mnpa2in(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnpa2out(const ConversionContext& context, const std::filesystem::path& output);

// PADSPCB.
void mnpapin(const ConversionContext& context, const std::filesystem::path& input, Text& status);
void mnpapout(const ConversionContext& context, const std::filesystem::path& output);

// What the two forms carry: a net without a name, an empty reference or part
// type and the section keywords (*PART*, *NET*, *SIGNAL*, *END*, and
// *REMARK* in PADSPCB) as references or part types do not read back.
extern const FormatLimits kPads2000Limits;
extern const FormatLimits kPadsPcbLimits;

// How well the head of a file fits each form: accepted when its "*NET*" line
// is there, the writer's header when it begins with the form's first line.
// Without a header the two forms fit alike, unless "*REMARK*" lines or runs
// of blanks between pins, which PADS2000 reads as empty pins, tell a PADSPCB
// netlist.
ProbeFit probePads2000(const ProbeInput& input);
ProbeFit probePadsPcb(const ProbeInput& input);

}  // namespace korvanel
