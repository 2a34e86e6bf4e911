#include "core/format_detection.h"

#include <algorithm>

#include "core/capacity.h"
#include "core/errors.h"

namespace korvanel {

namespace {

// A probe judges the format, not the size: it runs without the fixed bounds
// of a run, and one that still overflows a list fits nothing.
ProbeFit fitOf(Probe probe, const ProbeInput& input) {
  try {
    return probe(input);
  } catch (const CapacityError&) {
    return ProbeFit::None;
  }
}

}  // namespace

std::vector<DetectedFormat> detectFormats(const FormatTable& formats, const ProbeInput& input) {
  const CapacityLimitsLifted withoutBounds(true);
  std::vector<DetectedFormat> detected;
  std::vector<Probe> probesAsked;
  for (const FormatEntry& entry : formats.entries()) {
    if (entry.probe == nullptr) continue;
    const auto asked = std::find(probesAsked.begin(), probesAsked.end(), entry.probe);
    if (asked != probesAsked.end()) {
      // Another name of a module already asked.
      DetectedFormat& module = detected[static_cast<std::size_t>(asked - probesAsked.begin())];
      module.names.push_back(entry.name);
      continue;
    }
    probesAsked.push_back(entry.probe);
    detected.push_back(DetectedFormat{{entry.name}, fitOf(entry.probe, input)});
  }
  std::erase_if(detected, [](const DetectedFormat& format) { return format.fit == ProbeFit::None; });
  std::stable_sort(detected.begin(), detected.end(),
                   [](const DetectedFormat& first, const DetectedFormat& second) { return first.fit > second.fit; });
  return detected;
}

Text joinedNames(const DetectedFormat& format) {
  Text joined;
  for (const Text& name : format.names) {
    if (!joined.empty()) joined += u" / ";
    joined += name;
  }
  return joined;
}

std::vector<DetectedFormat> bestFormats(const std::vector<DetectedFormat>& detected) {
  std::vector<DetectedFormat> best;
  for (const DetectedFormat& format : detected) {
    if (!best.empty() && format.fit != best.front().fit) break;
    best.push_back(format);
  }
  return best;
}

Text fitName(ProbeFit fit) {
  switch (fit) {
    case ProbeFit::Header: return u"header";
    case ProbeFit::Keywords: return u"keywords";
    case ProbeFit::Shape: return u"shape";
    case ProbeFit::Accepted: return u"accepted";
    case ProbeFit::None: break;
  }
  return u"none";
}

}  // namespace korvanel
