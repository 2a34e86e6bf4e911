#include "cli/detect_command.h"

#include <iostream>
#include <vector>

#include "core/errors.h"
#include "core/format_detection.h"
#include "formats/builtin_formats.h"

namespace korvanel::cli {
namespace {

constexpr int kExitNoFormat = 1;
constexpr int kExitAmbiguous = 2;
constexpr int kExitUnreadable = 4;

// The modules whose probes accept the file. Throws FileError when it cannot
// be read, or when no probe accepts it and its head is not valid in the
// encoding.
std::vector<DetectedFormat> detectedFormatsOf(const std::string& input, const std::string& encoding) {
  const Encoding chosen = encoding == "utf-8" ? Encoding::Utf8 : Encoding::Cp932;
  const ProbeInput probeInput = ProbeInput::ofFile(std::filesystem::path(input), chosen);
  std::vector<DetectedFormat> detected = detectFormats(builtinFormats(), probeInput);
  if (detected.empty() && probeInput.headError()) throw FileError(*probeInput.headError());
  return detected;
}

}  // namespace

CLI::App* addDetectCommand(CLI::App& app, DetectOptions& options) {
  CLI::App* command =
      app.add_subcommand("detect", "Print the formats whose readers accept FILE, best first, one module a line");
  command->add_option("--encoding", options.encoding, "Encoding of the file (default cp932)")
      ->check(CLI::IsMember({"cp932", "utf-8"}));
  command->add_flag("--fits", options.showFits,
                    "After each name, a tab and how well the file fits: header, keywords, shape or accepted");
  command->add_option("FILE", options.input, "Netlist to recognise")->required();
  return command;
}

int runDetect(const DetectOptions& options) {
  std::vector<DetectedFormat> detected;
  try {
    detected = detectedFormatsOf(options.input, options.encoding);
  } catch (const std::exception& error) {
    std::cerr << "korvanel-cli: " << error.what() << std::endl;
    return kExitUnreadable;
  }
  if (detected.empty()) {
    std::cerr << "korvanel-cli: " << options.input << ": no format's reader accepts this file" << std::endl;
    return kExitNoFormat;
  }
  for (const DetectedFormat& format : detected) {
    std::cout << toUtf8(joinedNames(format));
    if (options.showFits) std::cout << "\t" << toUtf8(fitName(format.fit));
    std::cout << "\n";
  }
  return 0;
}

int resolveAutoFormat(std::string& format, const std::string& input, const std::string& encoding) {
  if (format != kAutoFormat) return 0;
  std::vector<DetectedFormat> best;
  try {
    best = bestFormats(detectedFormatsOf(input, encoding));
  } catch (const std::exception& error) {
    std::cerr << "korvanel-cli: " << error.what() << std::endl;
    return kExitUnreadable;
  }
  if (best.empty()) {
    std::cerr << "korvanel-cli: " << input << ": no format's reader accepts this file; name its format" << std::endl;
    return kExitNoFormat;
  }
  if (best.size() > 1) {
    std::string names;
    for (const DetectedFormat& candidate : best) names += (names.empty() ? "" : ", ") + toUtf8(joinedNames(candidate));
    std::cerr << "korvanel-cli: " << input << ": these formats fit equally well: " << names
              << "; name the format instead of auto" << std::endl;
    return kExitAmbiguous;
  }
  format = toUtf8(best.front().names.front());
  std::cerr << "korvanel-cli: " << input << ": read as " << format << " (" << toUtf8(fitName(best.front().fit))
            << " of " << toUtf8(joinedNames(best.front())) << ")" << std::endl;
  return 0;
}

}  // namespace korvanel::cli
