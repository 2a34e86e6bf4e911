#include "formats/mypcb.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kHeaderKeyword = u"HDR*";
constexpr TextView kPartsKeyword = u"SYM*";
constexpr TextView kNetsKeyword = u"NET*";
constexpr TextView kEndKeyword = u"END*";

// Words are separated by spaces and tabs alike.
bool isBlank(const CharacterAt& at) { return at.isSpace() || at.isTab(); }

// Reads the parts lines up to the "NET*" line; returns the index of the line
// after it, or nothing when there is none.
std::optional<std::size_t> readPartsSection(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  PartRecord record;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    record.at(kPartName).clear();
    record.at(kReference).clear();
    record.at(kOtherInformation).clear();
    Text token;
    bool referenceRead = false;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool startsComment = at.is(u'*') && token != u"SYM" && token != u"NET";
      if (token == kPartsKeyword) {
        break;
      } else if (startsComment) {
        break;
      } else if (token == kNetsKeyword) {
        return lineIndex + 1;
      } else if ((isBlank(at) || at.empty) && !token.empty() && referenceRead) {
        // The last word after the reference is the part type.
        record.at(kPartName) = token;
        record.at(kOtherInformation) = std::move(token);
        token.clear();
      } else if (isBlank(at) && !token.empty() && !referenceRead) {
        // Only a blank ends the reference: a reference alone gives no part.
        record.at(kReference) = std::move(token);
        token.clear();
        referenceRead = true;
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
    if (!record.get(kPartName).empty()) {
      appendPartsLine(context, record, partsLines);
    }
  }
  return std::nullopt;
}

// Reads the nets from `first` to the "END*" line, the first empty line or
// the end of the file. A word before the first "." of its line is a net
// name; every word after a "." is a pin of the net named last.
Text readNetsSection(const std::vector<Text>& lines, std::size_t first) {
  Text netLines;
  NetRecord record;
  bool netOpen = false;
  long long nextElement = kFirstPin;
  auto finishNet = [&] {
    appendNetLine(record, nextElement, netLines);
    netOpen = false;
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    if (line == kEndKeyword || line.empty()) break;
    Text token;
    bool dotSeen = false;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (at.is(u'.')) dotSeen = true;
      const bool endsWord = isBlank(at) || at.empty;
      const bool isLastCommaOfLine = at.is(u',') && position + 1 == line.size();
      // Blanks before the first word of a line name nothing.
      if (endsWord && !dotSeen && !token.empty()) {
        if (netOpen) finishNet();
        record.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
        netOpen = true;
      } else if ((endsWord || at.is(u',')) && dotSeen && netOpen && !token.empty()) {
        record.at(nextElement++) = std::move(token);
        token.clear();
      } else if (isLastCommaOfLine) {
        if (netOpen && !token.empty()) record.at(nextElement++) = std::move(token);
        break;
      } else if (!endsWord && !at.is(u',')) {
        // A "," is never part of a name or pin: the net line could not
        // hold it.
        token += at.character;
      }
      // Pins before the first net name belong to no net and are dropped.
    }
  }
  // A nets section without any net gives no net.
  if (netOpen) finishNet();
  return netLines;
}

constexpr TextView kNetNameKeywords[] = {kEndKeyword};

// The intermediate pin as written: a pin without "." gets one, so that it
// is not read back as a net name (TP1 is written TP1.).
Text writtenPin(const Text& pin) { return pin.find(u'.') == Text::npos ? pin + u"." : pin; }

}  // namespace

const FormatLimits kMypcbLimits = [] {
  FormatLimits limits;
  limits.readerUpperCases = true;
  limits.netName.syntaxCharacters = u" \t.,";
  limits.netName.keywords = kNetNameKeywords;
  limits.netName.carriesEmpty = false;
  limits.reference.syntaxCharacters = u" \t,*";
  limits.reference.carriesEmpty = false;
  limits.pinName.syntaxCharacters = u" \t,";
  // A pin without "." is written with one after its reference (TP1.) and
  // reads back so.
  limits.carriesPinWithoutName = false;
  limits.partName.syntaxCharacters = u" \t*";
  limits.partName.carriesEmpty = false;
  // The parts lines hold a reference and a part name; the reader gives the
  // part name as the package.
  limits.carriesPackage = false;
  return limits;
}();

void mnmypin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartsSection(context, lines, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetsSection(lines, *firstNetLine), context.encoding);
}

ProbeFit probeMypcb(const ProbeInput& input) {
  const std::vector<Text> lines = upperCased(input.lines());
  const bool opensWithHeader = firstNonEmptyLine(lines).starts_with(kHeaderKeyword);
  const bool holdsPartsLine =
      std::any_of(lines.begin(), lines.end(), [](const Text& line) { return firstWord(line) == kPartsKeyword; });
  // A long parts section may put "NET*" beyond the head.
  const bool accepted =
      acceptedByHeadOrWholeFile(input, opensWithHeader || holdsPartsLine, [](const std::vector<Text>& anyLines) {
        Text partsLines;
        return readPartsSection(probeContext(), anyLines, partsLines).has_value();
      });
  if (!accepted) return ProbeFit::None;
  if (opensWithHeader) return ProbeFit::Header;
  return holdsPartsLine ? ProbeFit::Keywords : ProbeFit::Shape;
}

void mnmypout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out(kHeaderKeyword);
  out += context.inputFormatName;
  out += u" ===>  MYPCB NET LIST3";
  out += kCrLf;
  out += kPartsKeyword;
  out += kCrLf;

  constexpr std::size_t kReferenceWidth = 9;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    appendPaddedWithGap(out, part.get(kReference), kReferenceWidth);
    out += part.get(kPartName);
    out += kCrLf;
    file.spill(out);
  }
  out += kNetsKeyword;
  out += kCrLf;

  // The name alone on its line, then the pins four to a line, each padded
  // to 14 characters. A net without pins is its name line alone: an empty
  // line would end the nets section.
  constexpr std::size_t kPinWidth = 14;
  const WrappedPinList pinLayout{.beforeEachPin = u"",
                                 .betweenPins = u"",
                                 .afterLastPin = u"",
                                 .pinsOnFirstLine = 4,
                                 .pinsOnLaterLines = 4,
                                 .lineEnd = kCrLf,
                                 .continuationIndent = u""};
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    // A net without a name cannot be written: its empty name line would end
    // the nets section, and its pins would join the net before it.
    if (net.get(kNetName).empty()) continue;
    out += net.get(kNetName);
    out += kCrLf;
    const long long count = pinCount(net);
    appendWrappedPins(out, count, pinLayout, [&](Text& pinOut, long long position) {
      appendPaddedWithGap(pinOut, writtenPin(net.get(kFirstPin + position)), kPinWidth);
    });
    if (count > 0) out += kCrLf;
    file.spill(out);
  }
  out += kEndKeyword;
  file.commit(out);
}

}  // namespace korvanel
