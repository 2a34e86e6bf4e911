#include "formats/telesis.h"

#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

constexpr TextView kPackagesKeyword = u"$PACKAGES";
constexpr TextView kNetsKeyword = u"$NETS";
constexpr TextView kEndKeyword = u"$END";

// Reads the parts lines up to the "$NETS" line into `partsLines`; returns the
// index of the line after "$NETS", or nothing when there is no "$NETS".
std::optional<std::size_t> readPartsSection(const ConversionContext& context, const LineList& lines, Text& partsLines) {
  PartRecord record;
  bool continuesReferences = false;
  bool referencesFollow = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    if (!continuesReferences) {
      record.at(kPartName).clear();
      record.at(kReference).clear();
      record.at(kOtherInformation).clear();
      referencesFollow = false;
    }
    continuesReferences = false;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // A keyword is a word of its own: a package, device or reference that
      // merely begins with $NETS or $PACKAGES is a name.
      const bool wordEnds = at.isSpaceTabOrEmpty();
      if (token == kPackagesKeyword && wordEnds) {
        break;
      } else if (at.is(u'!') && (!token.empty() || !referencesFollow)) {
        // A "!" with nothing before it ends an empty package, as the writer
        // writes a part without one.
        record.at(kOtherInformation) = std::move(token);
        token.clear();
      } else if (token == kNetsKeyword && wordEnds) {
        return lineIndex + 1;
      } else if (at.is(u';') && !token.empty()) {
        record.at(kPartName) = std::move(token);
        token.clear();
        referencesFollow = true;
      } else if ((at.isSpaceTabOrEmpty() || at.is(u',')) && !token.empty() && referencesFollow) {
        record.at(kReference) = std::move(token);
        token.clear();
        appendPartsLine(context, record, partsLines);
        if (at.is(u',')) {
          continuesReferences = true;
          break;
        }
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
  }
  return std::nullopt;
}

// Reads the nets from `first` to the "$END" line or the first empty line
// into `netFile`.
void readNetsSection(const LineList& lines, std::size_t first, WholeFileOutput& netFile) {
  Text netLines;
  NetRecord record;
  long long nextElement = kFirstPin;
  bool continuesNet = false;
  auto finishNet = [&] {
    appendNetLine(record, nextElement, netLines);
    netFile.spill(netLines);
    record.at(kNetName).clear();
    nextElement = kFirstPin;
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    if (line == kEndKeyword || line.empty()) break;
    // Stray text outside any net (no ";" and not continuing a net) is skipped.
    const bool startsNet = line.find(u';') != Text::npos;
    if (!continuesNet && !startsNet) continue;
    continuesNet = false;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (at.is(u';')) {
        record.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
      } else if (at.is(u',')) {
        // As before a blank, a word is a pin only after the net's name.
        if (!token.empty() && !record.get(kNetName).empty()) record.at(nextElement++) = std::move(token);
        continuesNet = true;
        break;
      } else if (at.isSpaceTabOrEmpty() && !token.empty() && !record.get(kNetName).empty()) {
        record.at(nextElement++) = std::move(token);
        token.clear();
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
    if (!continuesNet) finishNet();
  }
  // A net still continued when the input ends keeps the pins read so far.
  if (continuesNet) finishNet();
  netFile.commit(netLines);
}

constexpr TextView kTelesisKeywords[] = {kNetsKeyword, kPackagesKeyword};

}  // namespace

const FormatLimits kTelesisLimits{
    .readerUpperCases = true,
    // A net without a name takes no pins.
    .netName = {.carriesEmpty = false},
    // A "!" on a part line ends a package, a "," a reference list; an empty
    // reference gives no part and an empty pin vanishes between blanks.
    .reference = {.syntaxCharacters = u"!,", .keywords = kTelesisKeywords, .carriesEmpty = false},
    .pinName = {},
    // Without a device the part line gives no part.
    .partName = {.syntaxCharacters = u"!", .carriesEmpty = false},
    .package = {.syntaxCharacters = u"!"},
};

void mntelin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const LineList lines = writeUpperCaseWorkingCopy(context, input);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartsSection(context, lines, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  WholeFileOutput netFile(context.netFile(), context.encoding);
  readNetsSection(lines, *firstNetLine, netFile);
}

ProbeFit probeTelesis(const ProbeInput& input) {
  const bool opensPackages = firstNonEmptyLine(upperCaseWorkingCopy(input.lines())) == kPackagesKeyword;
  // A long parts section may put "$NETS" beyond the head.
  const bool accepted = acceptedByHeadOrWholeFile(input, opensPackages, [](const std::vector<Text>& lines) {
    Text partsLines;
    return readPartsSection(probeContext(), upperCaseWorkingCopy(lines), partsLines).has_value();
  });
  if (!accepted) return ProbeFit::None;
  return opensPackages ? ProbeFit::Header : ProbeFit::Keywords;
}

void mntelout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out(kPackagesKeyword);
  out += kCrLf;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    out += part.get(kOtherInformation);
    out += u"! ";
    out += part.get(kPartName);
    out += u"; ";
    out += part.get(kReference);
    out += kCrLf;
  }
  out += kNetsKeyword;
  out += kCrLf;

  // Name and ";" padded to 19 characters; pins four to a line, but a net's
  // last pin never goes onto a line of its own.
  constexpr std::size_t kNameColumnWidth = 19;
  constexpr long long kPinsPerLine = 4;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendPadded(out, net.get(kNetName) + u";", kNameColumnWidth);
    const long long count = pinCount(net);
    PinLineBreaks lineBreaks(kPinsPerLine, count, PinLineBreaks::LastPin::StaysWithPrevious);
    for (long long pin = 0; pin < count; ++pin) {
      if (lineBreaks.startsNewLine(pin)) {
        out += u',';
        out += kCrLf;
        appendSpaces(out, kNameColumnWidth);
      }
      out += u' ';
      out += net.get(kFirstPin + pin);
    }
    out += kCrLf;
    file.spill(out);
  }
  out += kEndKeyword;
  file.commit(out);
}

}  // namespace korvanel
