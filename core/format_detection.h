// Which formats a file is in: every reader's probe asked about the head of
// the file, the formats that fit ordered best first.
#pragma once

#include <filesystem>
#include <vector>

#include "core/format_probe.h"
#include "core/format_table.h"
#include "core/text.h"

namespace korvanel {

// A module whose probe accepts the file: its names in the table's order.
struct DetectedFormat {
  std::vector<Text> names;
  ProbeFit fit = ProbeFit::None;
};

// The modules whose probes accept `input`, best fit first; modules that fit
// equally well keep the table's order.
std::vector<DetectedFormat> detectFormats(const FormatTable& formats, const ProbeInput& input);

// The names of a module joined for people: "ALLEGRO / Telesis".
Text joinedNames(const DetectedFormat& format);

// The modules that fit best: one when a single module fits best, several
// when they fit equally well, none when no probe accepts the file.
std::vector<DetectedFormat> bestFormats(const std::vector<DetectedFormat>& detected);

// The word for a fit, for people: "header", "keywords", "shape", "accepted".
Text fitName(ProbeFit fit);

}  // namespace korvanel
