// Arbitrary bytes through the readers of one format module (the names in
// KORVANEL_FUZZ_FORMATS, "|" between them). A reader ends with its status,
// a capacity failure or a file that the codec rejects; a crash, a hang, a
// sanitizer report or any other exception is a finding. What a reader
// recognised must be intermediate files that read back as written: every
// net line holds as many pins as its count says (a rebuilt line has exactly
// those), and every net and parts line is built again from its record
// unchanged (but for the blanks of a parts line, which its parser drops).
#include <algorithm>
#include <cstdint>

#include "core/errors.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace korvanel;
using namespace korvanel::fuzzing;

// The records of an intermediate file: its lines up to the first empty
// line, after which only empty lines may follow (a record there would be
// lost).
std::vector<Text> recordLines(const std::filesystem::path& file, const ConversionContext& context) {
  std::vector<Text> lines;
  for (const auto& line : readLines(file, context.encoding)) lines.emplace_back(line);
  const auto firstEmpty = std::find(lines.begin(), lines.end(), Text());
  if (firstEmpty == lines.end()) finding("an intermediate file does not end in an empty line");
  if (std::any_of(firstEmpty, lines.end(), [](const Text& line) { return !line.empty(); })) {
    finding("an intermediate file holds a record after an empty line");
  }
  lines.erase(firstEmpty, lines.end());
  return lines;
}

// A line of either file reads back without the blanks inside its fields
// ("CONN 20" is CONN20, "VCC 5V" is VCC5V), so they are not compared.
Text withoutBlanks(TextView line) {
  Text kept;
  for (const char16_t character : line) {
    if (character != u' ' && character != u'\t') kept += character;
  }
  return kept;
}

void checkNetFile(const ConversionContext& context) {
  for (const Text& line : recordLines(context.netFile(), context)) {
    NetRecord fresh;
    mrk1net(fresh, line);
    const long long count = pinCount(fresh);
    if (count < 0 || fresh.get(kPinCount) != decimalText(count)) finding("a net line's count is not a number", line);
    Text rebuilt;
    mnrkout(fresh, rebuilt);
    if (withoutBlanks(rebuilt) != withoutBlanks(line)) finding("a net line reads back as another line", line);
  }
}

void checkPartsFile(const ConversionContext& context) {
  for (const Text& line : recordLines(context.partsFile(), context)) {
    PartRecord part;
    mprk1in(part, line);
    Text rebuilt;
    mprkout(part, rebuilt);
    if (withoutBlanks(rebuilt) != withoutBlanks(line)) finding("a parts line reads back as another line", line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<Text> names = formatNames(KORVANEL_FUZZ_FORMATS);
  static SilentHost host;
  const FormatTable& formats = builtinFormats();
  const ReaderInput input =
      splitReaderInput(names, formats, std::string_view(reinterpret_cast<const char*>(data), size));
  if (input.formatName.empty()) return 0;
  const std::filesystem::path& directory = scratchDirectory();
  const ConversionContext context{directory, Encoding::Cp932, host, input.formatName};
  if (!runReader(input, formats, context, directory)) return 0;
  checkNetFile(context);
  checkPartsFile(context);
  return 0;
}
