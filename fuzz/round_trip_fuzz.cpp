// Intermediate files that a reader made from arbitrary bytes go through one
// writer and back through the reader of the writer's format: every net must
// come back with its pins, and every part where the format carries parts.
// The first byte picks the reader, the second the writer, the rest is the
// reader's input (see splitReaderInput), so that over a run every writer
// meets what every reader makes. As in a conversion, the names that the
// writer's format cannot carry are renamed first; the comparison is between
// the intermediate files so renamed and those read back.
//
// Losses that the formats document, and so not differences:
// - a format that carries no parts (carriesParts is false) gives no parts
//   back, so its parts are not compared;
// - a format that writes no package (carriesPackage is false: CR5000, CSi,
//   Expedition PCB, MYPCB, PADS, Pcad(nlt)) gives another field or none back
//   in its place, so packages are not compared there;
// - MENTOR writes "PART" in the value column of a part without a package,
//   so an empty package comes back as PART;
// - a reference, pin, part name or package that the writer's format cannot
//   carry is written unchanged and reported in errlog.txt, so a board with
//   one is not compared;
// - MENTOR and Expedition PCB join the nets of one name, so nets are
//   compared by name, with all the pins of that name;
// - a reader that upper-cases gives names and pins back upper-cased;
// - writers that sort change the order of nets, pins and parts, so order is
//   not compared;
// - a net without pins may be left out of the output, and so may an empty
//   pin, which connects nothing;
// - a board where two parts have one reference (which the duplicate check
//   reports) is not compared for parts: tEDAx keeps one part a reference;
// - a capacity failure while writing or reading back ends the conversion
//   with the capacity message, as it would in a run.
#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <tuple>

#include "core/errors.h"
#include "core/field_limits.h"
#include "core/records.h"
#include "formats/builtin_formats.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace korvanel;
using namespace korvanel::fuzzing;

struct Writable {
  Text writerName;
  // The name whose reader reads the writer's output back.
  Text readerName;
};

// Every writer once, with the reader of its format. "CR5000(PC)" has no
// reader of its own: its output reads as "CR5000".
std::vector<Writable> writables(const FormatTable& formats) {
  std::vector<Writable> writables;
  std::set<std::pair<Writer, Reader>> seen;
  for (const Text& name : formats.outputNames()) {
    const Text readerName = name == u"CR5000(PC)" ? Text(u"CR5000") : name;
    const Writer writer = formats.findWriter(name);
    const Reader reader = formats.findReader(readerName);
    if (writer != nullptr && reader != nullptr && seen.insert({writer, reader}).second) {
      writables.push_back({name, readerName});
    }
  }
  return writables;
}

Text asReadBack(const Text& text, const FormatLimits& limits) {
  return limits.readerUpperCases ? toUpper(text) : text;
}

using NetsByName = std::map<Text, std::multiset<Text>>;
using Parts = std::multiset<std::tuple<Text, Text, Text>>;

NetsByName netsOf(const ConversionContext& context, const FormatLimits& limits) {
  NetsByName nets;
  NetRecord net;
  for (const auto& line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    std::multiset<Text> pins;
    for (long long pin = 0; pin < pinCount(net); ++pin) {
      if (!net.get(kFirstPin + pin).empty()) pins.insert(asReadBack(net.get(kFirstPin + pin), limits));
    }
    if (pins.empty()) continue;
    nets[asReadBack(net.get(kNetName), limits)].merge(pins);
  }
  return nets;
}

// The first net of `written` that did not come back as it was, for the
// finding's report.
Text firstDifference(const NetsByName& written, const NetsByName& back) {
  for (const auto& [name, pins] : written) {
    const auto found = back.find(name);
    if (found == back.end()) return u"net " + name + u" is missing";
    if (found->second != pins) return u"net " + name + u" has other pins";
  }
  for (const auto& [name, pins] : back) {
    if (!written.contains(name)) return u"net " + name + u" is new";
  }
  return {};
}

// The package that the writer puts in place of an empty one, if any.
TextView packageForNone(const Text& writerName) { return writerName == u"MENTOR" ? TextView(u"PART") : TextView(); }

// The parts as the writer's reader gives them back, an empty package as the
// writer writes it (`emptyPackageWrittenAs`).
Parts partsOf(const ConversionContext& context, const FormatLimits& limits, TextView emptyPackageWrittenAs = {}) {
  Parts parts;
  PartRecord part;
  for (const auto& line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    const Text& package = part.get(kOtherInformation);
    const Text packageAsWritten = package.empty() ? Text(emptyPackageWrittenAs) : package;
    parts.emplace(asReadBack(part.get(kReference), limits), asReadBack(part.get(kPartName), limits),
                  limits.carriesPackage ? asReadBack(packageAsWritten, limits) : Text());
  }
  return parts;
}

// Whether two parts have one reference: the duplicate check reports it, and
// a format that keys its parts by reference (tEDAx) keeps one of them.
bool holdsAReferenceTwice(const Parts& parts) {
  std::set<Text> references;
  for (const auto& part : parts) {
    if (!references.insert(std::get<0>(part)).second) return true;
  }
  return false;
}

// Whether the renaming pass reported a field that the format cannot carry
// (a finding line other than a net's new name).
bool reportsAField(TextView findings) {
  constexpr TextView kRename = u"ネット名";
  for (std::size_t start = 0; start < findings.size();) {
    const std::size_t end = std::min(findings.find(kCrLf, start), findings.size());
    if (!findings.substr(start, end - start).starts_with(kRename)) return true;
    start = end + kCrLf.size();
  }
  return false;
}

std::filesystem::path subdirectory(const char* name) {
  const std::filesystem::path directory = scratchDirectory() / name;
  std::filesystem::create_directories(directory);
  return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SilentHost host;
  const FormatTable& formats = builtinFormats();
  static const std::vector<Text> readers = formats.firstNamePerReader();
  static const std::vector<Writable> writers = writables(formats);
  static const std::filesystem::path readDirectory = subdirectory("read");
  static const std::filesystem::path writtenDirectory = subdirectory("written");
  static const std::filesystem::path backDirectory = subdirectory("back");
  if (size < 2) return 0;
  const Text& readerName = readers[data[0] % readers.size()];
  const Writable& writable = writers[data[1] % writers.size()];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  const ConversionContext reading{readDirectory, Encoding::Cp932, host, readerName};
  if (!runReader(splitReaderInput({readerName}, formats, bytes), formats, reading, readDirectory)) return 0;

  const ConversionContext writing{writtenDirectory, Encoding::Cp932, host, readerName};
  for (const auto& file : {reading.netFile(), reading.partsFile()}) {
    // The fuzzer's timer signal may interrupt a copy, which is made again.
    std::error_code error;
    do {
      error.clear();
      std::filesystem::copy_file(file, writtenDirectory / file.filename(),
                                 std::filesystem::copy_options::overwrite_existing, error);
    } while (error == std::errc::interrupted);
    if (error) throw std::filesystem::filesystem_error("cannot copy an intermediate file", file, error);
  }
  static const FormatLimits kNoLimits;
  const FormatLimits* stated = formats.findWriterLimits(writable.writerName);
  const FormatLimits& limits = stated != nullptr ? *stated : kNoLimits;
  const std::filesystem::path output = scratchDirectory() / "output.net";
  const std::filesystem::path outputParts = scratchDirectory() / "output.prt";
  const ConversionContext back{backDirectory, Encoding::Cp932, host, writable.readerName};
  try {
    Text findings;
    if (stated != nullptr) makeNamesSafeForWriter(writing, limits, findings);
    if (reportsAField(findings)) return 0;
    formats.findWriter(writable.writerName)(writing, WriterArguments{output, fromUtf8(outputParts.string())});
    Text status;
    formats.findReader(writable.readerName)(back, ReaderArguments{output, fromUtf8(outputParts.string())}, status);
    if (status == kStatusBad) finding("the writer's output is not recognised by its reader", writable.writerName);
  } catch (const CapacityError&) {
    return 0;
  }
  const NetsByName written = netsOf(writing, limits);
  const NetsByName readBack = netsOf(back, limits);
  if (readBack != written) {
    finding("nets came back otherwise", writable.writerName + u": " + firstDifference(written, readBack));
  }
  const Parts writtenParts = partsOf(writing, limits, packageForNone(writable.writerName));
  if (limits.carriesParts && !holdsAReferenceTwice(writtenParts) && partsOf(back, limits) != writtenParts) {
    finding("parts came back otherwise", writable.writerName);
  }
  return 0;
}
