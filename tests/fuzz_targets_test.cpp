// Every reader of the format table is fuzzed: each input name with a reader
// is served by a target of fuzz/reader_targets.txt, and every name there has
// a reader.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "formats/builtin_formats.h"

namespace korvanel {
namespace {

std::set<std::string> namesOfTheReaderTargets() {
  std::ifstream list(std::string(KORVANEL_EXAMPLES_DIR) + "/../fuzz/reader_targets.txt");
  EXPECT_TRUE(list.is_open());
  std::set<std::string> names;
  for (std::string line; std::getline(list, line);) {
    const std::size_t colon = line.find(": ");
    if (line.empty() || line.front() == '#' || colon == std::string::npos) continue;
    for (std::size_t start = colon + 2, end = 0; start <= line.size(); start = end + 1) {
      end = std::min(line.find('|', start), line.size());
      names.insert(line.substr(start, end - start));
    }
  }
  return names;
}

TEST(FuzzTargets, ServeEveryReaderOfTheFormatTable) {
  const FormatTable& formats = builtinFormats();
  std::set<std::string> readable;
  for (const Text& name : formats.inputNames()) {
    if (formats.findReader(name) != nullptr) readable.insert(toUtf8(name));
  }
  EXPECT_EQ(namesOfTheReaderTargets(), readable);
}

}  // namespace
}  // namespace korvanel
