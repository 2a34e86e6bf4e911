#include "formats/pcad_nlt.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kPartsKeyword = u"PARTS";
constexpr TextView kNetsKeyword = u"NETS";
constexpr char16_t kCommentStart = u'%';
constexpr char16_t kPinSeparator = u'/';

// A line as the reader looks at it: upper-cased, without its comment.
Text readableLine(TextView line) {
  Text upper = toUpper(line);
  const std::size_t comment = upper.find(kCommentStart);
  if (comment != Text::npos) upper.resize(comment);
  return upper;
}

// A pin in the intermediate form: every "/" that is not the pin's first
// character becomes "." (U1/7 is U1.7, /CS/2 is /CS.2).
Text pinFromEverySeparator(TextView pin, char16_t separator) {
  Text converted(pin);
  for (std::size_t position = 1; position < converted.size(); ++position) {
    if (converted[position] == separator) converted[position] = u'.';
  }
  return converted;
}

// Reads the part entries after the "PARTS" line into `partsLines`; returns the
// index of the line after the one that holds "NETS", or nothing when the
// input has no "PARTS" line or no "NETS" after it.
std::optional<std::size_t> readPartSection(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  PartRecord record;
  bool partsLineSeen = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text line = readableLine(lines[lineIndex]);
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // "PARTS" must be all of its line, apart from blanks and tabs.
      const bool isPartsLine = at.empty && token == kPartsKeyword && !partsLineSeen;
      if (isPartsLine) {
        partsLineSeen = true;
      } else if (partsLineSeen && token == kNetsKeyword && at.isSpaceTabOrEmpty()) {
        // Only NETS before a blank or the line end: a part name or reference
        // that merely begins with NETS is a name. The rest of the line is
        // not read.
        return lineIndex + 1;
      } else if (partsLineSeen && at.is(u'=')) {
        // The part name of the references that follow, also on later lines,
        // until the next "="; an "=" with nothing before it names no part.
        record.at(kPartName) = std::move(token);
        token.clear();
      } else if (partsLineSeen && (at.is(u',') || at.is(u';'))) {
        // A reference ends; a "," or ";" with nothing before it is dropped.
        if (!token.empty()) {
          record.at(kReference) = std::move(token);
          token.clear();
          appendPartsLine(context, record, partsLines);
          record.at(kReference).clear();
        }
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
  }
  return std::nullopt;
}

// Reads the net entries from `first` to the end of the input. An entry runs
// from its name's "=" to its ";", over as many lines as it needs; pins are
// separated by blanks, tabs and line ends.
Text readNetSection(const std::vector<Text>& lines, std::size_t first) {
  Text netLines;
  NetRecord record;
  long long nextElement = kFirstPin;
  bool netIsOpen = false;
  Text token;  // kept across lines
  auto finishNet = [&] {
    appendNetLine(record, nextElement, netLines);
    record.at(kNetName).clear();
    netIsOpen = false;
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text line = readableLine(lines[lineIndex]);
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool endsPin = at.isSpaceTabOrEmpty() || at.is(u';');
      if (at.is(u'=') && !netIsOpen) {
        record.at(kNetName) = std::move(token);  // an empty name too
        token.clear();
        nextElement = kFirstPin;
        netIsOpen = true;
      } else if (netIsOpen && endsPin) {
        if (!token.empty()) {
          record.at(nextElement) = pinFromEverySeparator(token, kPinSeparator);
          ++nextElement;
          token.clear();
        }
        if (at.is(u';')) finishNet();
      } else if (!endsPin) {
        // An "=" inside an entry is part of a pin: an entry without its ";"
        // runs on into the next one. A ";" outside an entry is dropped.
        token += at.character;
      }
    }
  }
  // An entry still open at the end of the input keeps the pins read so far.
  if (netIsOpen) finishNet();
  return netLines;
}

// The name, blanks up to `width` characters and "= ", so that "=" stands in
// column width + 1; a name longer than width + 1 characters is followed by
// "=" alone.
void appendNameAndEquals(Text& out, TextView name, std::size_t width) {
  if (name.size() <= width + 1) {
    appendPadded(out, name, width);
    out += u"= ";
  } else {
    out += name;
    out += u'=';
  }
}

constexpr TextView kPcadNltKeywords[] = {kNetsKeyword};

}  // namespace

const FormatLimits kPcadNltLimits{
    .readerUpperCases = true,
    // "%" cuts the line, "=" ends a name.
    .netName = {.syntaxCharacters = u"=%"},
    // "," and ";" end a reference, "=" names a part; a pin turns every "/"
    // after its first character into "."; an empty reference gives no part
    // and an empty pin leaves nothing between blanks.
    .reference = {.syntaxCharacters = u"=%,/", .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u"%/"},
    // The part name is followed by blanks, where NETS alone ends the parts.
    .partName = {.syntaxCharacters = u"=%,", .keywords = kPcadNltKeywords},
    // The package is written in a comment, which the reader skips.
    .carriesPackage = false,
    .package = {},
};

void mnpnlin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartSection(context, lines, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetSection(lines, *firstNetLine), context.encoding);
}

ProbeFit probePcadNlt(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  const bool opensWithHeader = toUpper(firstNonEmptyLine(lines)).starts_with(u"%PCAD(NLT)");
  const bool holdsPartsLine = std::any_of(
      lines.begin(), lines.end(), [](const Text& line) { return blanksRemoved(readableLine(line)) == kPartsKeyword; });
  // A long parts section may put "NETS" beyond the head.
  const bool accepted =
      acceptedByHeadOrWholeFile(input, opensWithHeader || holdsPartsLine, [](const std::vector<Text>& anyLines) {
        Text partsLines;
        return readPartSection(probeContext(), anyLines, partsLines).has_value();
      });
  if (!accepted) return ProbeFit::None;
  return opensWithHeader ? ProbeFit::Header : ProbeFit::Keywords;
}

void mnpnlout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out;
  for (const TextView headerLine : {u"%PCAD(NLT) NET", u"", u"BOARD = ;", u"", u"PARTS"}) {
    out += headerLine;
    out += kCrLf;
  }

  // Part name with "=" in column 29; the package and the additional text go
  // into a comment after the reference.
  constexpr std::size_t kPartNameWidth = 28;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    appendNameAndEquals(out, part.get(kPartName), kPartNameWidth);
    out += part.get(kReference);
    out += u"; % ";
    out += part.get(kOtherInformation);
    out += u' ';
    out += part.get(kAdditionalText);
    out += kCrLf;
    file.spill(out);
  }
  out += kCrLf;
  out += kNetsKeyword;
  out += kCrLf;

  // Net name with "=" in column 19; four pins to a line, continuation lines
  // indented so their pins start in column 21.
  constexpr std::size_t kNetNameWidth = 18;
  constexpr std::size_t kContinuationIndent = 20;
  constexpr long long kPinsPerLine = 4;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendNameAndEquals(out, net.get(kNetName), kNetNameWidth);
    const long long count = pinCount(net);
    PinLineBreaks lineBreaks(kPinsPerLine, count);
    for (long long pinsWritten = 0; pinsWritten < count; ++pinsWritten) {
      if (lineBreaks.startsNewLine(pinsWritten)) {
        out += kCrLf;
        appendSpaces(out, kContinuationIndent);
      }
      out += pinToSeparator(net.get(kFirstPin + pinsWritten), kPinSeparator);
      out += u' ';
    }
    out += u';';
    out += kCrLf;
    file.spill(out);
  }
  file.commit(out);
}

}  // namespace korvanel
