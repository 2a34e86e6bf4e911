#include "formats/pcad_wrl.h"

#include <vector>

#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

// Column 3, where a net name begins, as a position counted from 0.
constexpr std::size_t kNameColumn = 2;

// The comment lines that the writer puts first; the second names the columns.
constexpr TextView kHeading[] = {u"%", u"% NODE                    REF. DESIGNATOR-PIN",
                                 u"% ----                    -------------------", u"%"};

// Whether a comment line is the writer's column heading, in any case and
// with any blanks.
bool isColumnHeading(TextView line) {
  Text withoutBlanks;
  for (const char16_t character : toUpper(line)) {
    if (character != u' ') withoutBlanks += character;
  }
  return withoutBlanks == u"%NODEREF.DESIGNATOR-PIN";
}

// The end of the word that begins at `start`: the next blank or the end of
// the line. Only blanks separate words.
std::size_t wordEnd(TextView line, std::size_t start) {
  const std::size_t blank = line.find(u' ', start);
  return blank == TextView::npos ? line.size() : blank;
}

// What the reader finds in the lines of a file.
struct ReadNets {
  Text netLines;
  bool netWithPinsRead = false;
  bool holdsColumnHeading = false;
};

ReadNets readNets(const std::vector<Text>& lines) {
  ReadNets read;
  NetRecord net;
  bool netOpen = false;
  long long nextElement = kFirstPin;
  auto finishNet = [&] {
    // The count is that of this net's own pins, none for a name without pins.
    appendNetLine(net, nextElement, read.netLines);
    if (nextElement > kFirstPin) read.netWithPinsRead = true;
  };

  for (const Text& rawLine : lines) {
    const bool isEmptyOrComment = rawLine.empty() || rawLine.front() == u'%';
    if (isEmptyOrComment) {
      if (isColumnHeading(rawLine)) read.holdsColumnHeading = true;
      continue;
    }
    const Text line = toUpper(rawLine);
    // A character in column 3 begins the next net; a line too short to
    // reach column 3 begins none and carries pins like a continuation line.
    const bool startsNet = line.size() > kNameColumn && line[kNameColumn] != u' ';
    if (startsNet) {
      if (netOpen) finishNet();
      netOpen = true;
      nextElement = kFirstPin;
    }
    std::size_t position = 0;
    while (position < line.size()) {
      if (line[position] == u' ') {
        ++position;
        continue;
      }
      const std::size_t end = wordEnd(line, position);
      const TextView word = TextView(line).substr(position, end - position);
      // The word in column 3 is the net name, whatever its length and even
      // when it begins in column 1 or 2; every other word is a pin.
      const bool isNetName = startsNet && position <= kNameColumn && kNameColumn < end;
      if (isNetName) {
        net.at(kNetName) = word;
      } else if (netOpen) {
        net.at(nextElement) = pinFromSeparator(word, u'-');
        ++nextElement;
      }
      // Pins before the first net name belong to no net and are left out.
      position = end;
    }
  }
  if (netOpen) finishNet();
  return read;
}

// Whether a line has the shape of the writer's net lines: two blanks, then
// the name in column 3.
bool namesFromColumn3(TextView line) {
  return line.size() > kNameColumn && line.substr(0, kNameColumn) == u"  " && line[kNameColumn] != u' ';
}

}  // namespace

const FormatLimits kPcadWrlLimits{
    .readerUpperCases = true,
    // A line with nothing in column 3 continues the net before.
    .netName = {.carriesEmpty = false},
    // Every "." of a pin is written "-" and only the first "-" after the
    // pin's first character is read back as ".": TA-101.1 would come back
    // as TA.101-1. An empty pin leaves only blanks.
    .reference = {.syntaxCharacters = u"-", .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u"."},
    .carriesParts = false,
};

void mnpwrin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  const std::vector<Text> lines = readLines(input, context.encoding);
  // The format has no parts: the parts file holds one empty line.
  writeWholeFile(context.partsFile(), kCrLf, context.encoding);
  const ReadNets read = readNets(lines);
  // Without a net that has pins, only the writer's own heading tells a
  // Pcad(wrl) netlist of a board without connections from other text.
  if (!read.netWithPinsRead && !read.holdsColumnHeading) {
    context.host.hideProgress();
    status = kStatusBad;
    return;
  }
  writeWholeFile(context.netFile(), read.netLines, context.encoding);
}

ProbeFit probePcadWrl(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  const ReadNets read = readNets(lines);
  if (!read.netWithPinsRead && !read.holdsColumnHeading) return ProbeFit::None;
  if (read.holdsColumnHeading) return ProbeFit::Header;
  // Most lines of nets and pins begin with blanks, the net lines with two.
  std::size_t contentLines = 0;
  std::size_t indentedLines = 0;
  std::size_t netLines = 0;
  for (const Text& line : lines) {
    if (line.empty() || line.front() == u'%') continue;
    ++contentLines;
    if (line.starts_with(u"  ")) ++indentedLines;
    if (namesFromColumn3(line)) ++netLines;
  }
  return netLines > 0 && isMostOf(indentedLines, contentLines) ? ProbeFit::Shape : ProbeFit::Accepted;
}

void mnpwrout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out;
  for (const TextView heading : kHeading) {
    out += heading;
    out += kCrLf;
  }
  // Name field: two blanks and the name padded so that the first pin stands
  // in column 27; a longer name is followed by one blank. Pins stand two to
  // a line, in columns 27 and 47; continuation lines begin with 26 blanks.
  constexpr std::size_t kNameIndent = 2;
  constexpr std::size_t kNameWidth = 24;
  constexpr std::size_t kPinWidth = 20;
  constexpr std::size_t kContinuationIndent = kNameIndent + kNameWidth;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendSpaces(out, kNameIndent);
    appendPaddedWithGap(out, net.get(kNetName), kNameWidth);
    const long long count = pinCount(net);
    for (long long pin = 1; pin <= count; ++pin) {
      const bool secondOnLine = pin % 2 == 0;
      const bool firstOfContinuationLine = pin > 1 && !secondOnLine;
      if (firstOfContinuationLine) {
        out += kCrLf;
        appendSpaces(out, kContinuationIndent);
      }
      const Text written = pinToSeparator(net.get(kFirstPin + pin - 1), u'-');
      // The first pin of a line is padded to its column when a second one
      // follows; a pin as wide as its column or wider keeps one blank.
      const bool secondPinFollows = !secondOnLine && pin < count;
      if (secondPinFollows) {
        appendPaddedWithGap(out, written, kPinWidth);
      } else {
        out += written;
      }
    }
    out += kCrLf;
    file.spill(out);
  }
  file.commit(out);
}

}  // namespace korvanel
