// One realistic board netlist converted through every pair of formats that
// can be both read and written: every net must come back with its pins, and
// every part with its reference where both formats carry parts.
#include <gtest/gtest.h>

#include <set>

#include "core/driver.h"
#include "core/passes.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

using testing::text;

// The formats that can be read and written, one name per module pair.
std::vector<Text> convertibleFormats() {
  const FormatTable& formats = builtinFormats();
  std::vector<Text> names;
  std::set<std::pair<Reader, Writer>> seen;
  for (const Text& name : formats.outputNames()) {
    const Reader reader = formats.findReader(name);
    const Writer writer = formats.findWriter(name);
    if (reader != nullptr && writer != nullptr && seen.insert({reader, writer}).second) names.push_back(name);
  }
  return names;
}

class FormatPairs : public testing::ScratchTest {
 protected:
  static std::filesystem::path partsFileOf(const std::string& netlist) { return netlist + ".prt"; }

  RunResult convert(const Text& from, const std::string& input, const Text& to, const std::string& output) {
    ConversionFields fields;
    fields.inputPath = text(input);
    fields.outputPath = text(path(output).string());
    fields.inputFormat = from;
    fields.outputFormat = to;
    // The parts file of the two-file format stands beside its netlist.
    fields.inputPartsFile = text(partsFileOf(input).string());
    fields.csvOrOutputParts = text(partsFileOf(path(output).string()).string());
    fields.duplicateChecks = false;
    fields.singlePinCheck = false;
    return runConversion(fields, host, RunSettings{directory, directory, Encoding::Cp932, false},
                         builtinFormats());
  }

  // The nets of a file in the given format, pins and nets sorted; and the
  // sorted references of its parts.
  std::pair<std::string, std::set<std::string>> contentOf(const Text& format, const std::string& file) {
    const RunResult read = runReaderOnly(
        format, ReaderArguments{path(file), text(partsFileOf(path(file).string()).string())}, context, builtinFormats());
    EXPECT_EQ(read.outcome, RunOutcome::Finished) << toUtf8(format) << " " << file << " " << read.failure;
    Text sorted;
    mrksort(context, sorted);
    std::set<std::string> references;
    PartRecord part;
    for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
      mprk1in(part, line);
      references.insert(toUtf8(part.get(kReference)));
    }
    return {toUtf8(sorted), references};
  }
};

TEST_F(FormatPairs, NetsAndPinsSurviveEveryPair) {
  const std::string board = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";
  const auto [originalNets, originalParts] = contentOf(u"Telesis", board);
  ASSERT_EQ(std::count(originalNets.begin(), originalNets.end(), '\n'), 29);
  ASSERT_EQ(originalParts.size(), 35u);

  const std::vector<Text> formats = convertibleFormats();
  ASSERT_EQ(formats.size(), 21u);
  for (const Text& first : formats) {
    const std::string firstFile = "first-" + toUtf8(first);
    ASSERT_EQ(convert(u"Telesis", board, first, firstFile).outcome, RunOutcome::Finished) << toUtf8(first);
    for (const Text& second : formats) {
      SCOPED_TRACE("Telesis -> " + toUtf8(first) + " -> " + toUtf8(second));
      const std::string secondFile = "second-" + toUtf8(second);
      ASSERT_EQ(convert(first, path(firstFile).string(), second, secondFile).outcome, RunOutcome::Finished);
      const auto [nets, parts] = contentOf(second, secondFile);
      EXPECT_EQ(nets, originalNets);
      if (!parts.empty()) {
        EXPECT_EQ(parts, originalParts);
      }
    }
  }
}

TEST_F(FormatPairs, TheCrLfFormOfCr5000ReadsAsCr5000) {
  const std::string board = std::string(KORVANEL_EXAMPLES_DIR) + "/board.tel";
  const auto original = contentOf(u"Telesis", board);
  ASSERT_EQ(convert(u"Telesis", board, u"CR5000(PC)", "board.ccf").outcome, RunOutcome::Finished);
  EXPECT_EQ(contentOf(u"CR5000", "board.ccf"), original);
}

}  // namespace
}  // namespace korvanel
