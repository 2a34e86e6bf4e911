// korvanel-cli compare: the connectivity of two netlists of any formats, as
// a report for people or as one JSON document for scripts.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace korvanel::cli {

struct CompareOptions {
  std::string formatA, formatB;
  std::string fileA, fileB;
  std::string partsA, partsB;
  bool ignoreCase = false;
  bool json = false;
  std::string encoding = "cp932";
};

CLI::App* addCompareCommand(CLI::App& app, CompareOptions& options);

// Exit status 0 when the netlists are equivalent, 1 when they differ or a
// file is not in its format, 2 for a format name without a reader or a
// format that "auto" cannot tell, 3 when a fixed list overflows, 4 when a
// file cannot be read.
int runCompare(const CompareOptions& options);

}  // namespace korvanel::cli
