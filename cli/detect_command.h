// korvanel-cli detect, and the format name "auto" of convert and compare:
// the formats whose probes accept a file, best first.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace korvanel::cli {

// The format name that asks for the format to be recognised.
inline constexpr const char* kAutoFormat = "auto";

struct DetectOptions {
  std::string input;
  std::string encoding = "cp932";
  // After each name, a tab and how well the file fits ("header", "keywords",
  // "shape" or "accepted").
  bool showFits = false;
};

CLI::App* addDetectCommand(CLI::App& app, DetectOptions& options);

// Prints the names of the modules that accept the file, best first, one
// module a line. Exit status 0, 1 when no module accepts the file, 4 when the
// file cannot be read.
int runDetect(const DetectOptions& options);

// For the format name "auto": replaces `format` with the first name of the
// module that fits `input` best and says so on standard error, returning 0.
// When none fits (1), when several fit equally well (2) or when the file
// cannot be read (4), it says so and returns that status. Any other name is
// left as it is.
int resolveAutoFormat(std::string& format, const std::string& input, const std::string& encoding);

}  // namespace korvanel::cli
