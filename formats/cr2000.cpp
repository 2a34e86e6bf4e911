#include "formats/cr2000.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kNetsKeyword = u"NETS";
constexpr TextView kEndKeyword = u"END";
constexpr TextView kFileEnd = u"$END";
constexpr char16_t kPinListSeparator = u',';
constexpr char16_t kPinSeparator = u'-';

// The index of the line after the first line whose first four characters
// other than blanks and tabs are "NETS" (in capitals), or nothing.
std::optional<std::size_t> findNetsLine(const std::vector<Text>& lines) {
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    Text token;
    for (const char16_t character : lines[lineIndex]) {
      if (character == u' ' || character == u'\t') continue;
      token += character;
      if (token == kNetsKeyword) return lineIndex + 1;
      if (token.size() >= kNetsKeyword.size()) break;
    }
  }
  return std::nullopt;
}

// Reads the nets from `first` to the word END (as in "$END") or the end of
// the input, and returns their net lines.
Text readNetSection(const std::vector<Text>& lines, std::size_t first) {
  Text netLines;
  NetRecord record;
  long long nextElement = kFirstPin;
  Text token;
  auto netIsPending = [&] { return !record.get(kNetName).empty(); };
  auto writePendingNet = [&] {
    appendNetLine(record, nextElement, netLines);
    record.at(kNetName).clear();
  };

  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // The word END standing on its own ends the section; a name or pin that
      // merely begins with END does not.
      const bool isEndKeyword = token == kEndKeyword && at.isSpaceTabOrEmpty();
      if (isEndKeyword) {
        if (netIsPending()) writePendingNet();
        return netLines;
      }
      // A character in column 2 starts the next net (or is the E of "$END"):
      // the pending net is complete, and whatever column 1 held is dropped.
      const bool startsNextNet = position == 1 && !at.isSpaceTabOrEmpty();
      if (startsNextNet && netIsPending()) {
        writePendingNet();
        token.clear();
      }
      if (at.isSpace() && !token.empty() && !netIsPending()) {
        record.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
      } else if ((at.is(kPinListSeparator) || at.empty) && !token.empty()) {
        record.at(nextElement++) = pinFromSeparator(token, kPinSeparator);
        token.clear();
      } else if (at.is(kPinListSeparator)) {
        // A separator with no pin before it, as at the start of a
        // continuation line, adds nothing.
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
  }
  // The input ended without END: the net still pending is complete.
  if (netIsPending()) writePendingNet();
  return netLines;
}

constexpr TextView kCr2000Keywords[] = {kEndKeyword};

}  // namespace

const FormatLimits kCr2000Limits{
    .readerUpperCases = true,
    // A name is found by the character in column 2; without one its pins go
    // to the net before. The name END ends the nets.
    .netName = {.keywords = kCr2000Keywords, .carriesEmpty = false},
    // Every "." is written "-" and only the first "-" is read back as ".":
    // TA-101.1 would come back as TA.101-1. A pin END last on its line ends
    // the nets, and an empty pin leaves only its separator.
    .reference = {.syntaxCharacters = u"-", .keywords = kCr2000Keywords, .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u"."},
    .carriesParts = false,
};

void mncr2in(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  // No parts: one empty line written as content, and the write's own line end.
  writeWholeFile(context.partsFile(), kCrLf, context.encoding);
  const std::optional<std::size_t> firstNetLine = findNetsLine(lines);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetSection(lines, *firstNetLine), context.encoding);
}

ProbeFit probeCr2000(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  const std::optional<std::size_t> firstNetLine = findNetsLine(lines);
  if (!firstNetLine) return ProbeFit::None;
  if (firstNonEmptyLine(lines) == kNetsKeyword) return ProbeFit::Header;
  // The first net line: a blank, then the name from column 2.
  const auto netsLine = lines.begin() + static_cast<std::ptrdiff_t>(*firstNetLine);
  const auto netLine = std::find_if(netsLine, lines.end(), [](const Text& line) { return !trimmed(line).empty(); });
  const bool namesFromColumn2 =
      netLine != lines.end() && characterAt(*netLine, 0).isSpace() && !characterAt(*netLine, 1).isSpaceTabOrEmpty();
  if (!namesFromColumn2) return ProbeFit::Accepted;
  return trimmed(*(netsLine - 1)) == kNetsKeyword ? ProbeFit::Keywords : ProbeFit::Shape;
}

void mncr2out(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out(kNetsKeyword);
  out += kCrLf;

  // A blank, then the name padded so that the first pin starts in column 23;
  // a longer name is followed by one blank. Pins four to a line; each further
  // line starts with 21 blanks and the "," before its first pin.
  constexpr std::size_t kNameFieldWidth = 21;
  constexpr long long kPinsPerLine = 4;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    out += u' ';
    appendPaddedWithGap(out, net.get(kNetName), kNameFieldWidth);
    const long long count = pinCount(net);
    PinLineBreaks lineBreaks(kPinsPerLine, count);
    for (long long pin = 0; pin < count; ++pin) {
      if (lineBreaks.startsNewLine(pin)) {
        out += kCrLf;
        appendSpaces(out, kNameFieldWidth);
      }
      if (pin > 0) out += kPinListSeparator;
      out += pinToSeparator(net.get(kFirstPin + pin), kPinSeparator);
    }
    out += kCrLf;
    file.spill(out);
  }
  out += kFileEnd;
  file.commit(out);
}

}  // namespace korvanel
