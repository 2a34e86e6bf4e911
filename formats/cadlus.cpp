#include "formats/cadlus.h"

#include <vector>

#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

// Column 2, where a net name begins, as a position counted from 0.
constexpr std::size_t kNameColumn = 1;
constexpr char16_t kPinSeparator = u'-';

// The end of the word that begins at `start`: the next blank (space or tab)
// or the end of the line.
std::size_t wordEnd(TextView line, std::size_t start) {
  const std::size_t blank = line.find_first_of(u" \t", start);
  return blank == TextView::npos ? line.size() : blank;
}

// What the reader finds in the lines of a file.
struct ReadNets {
  Text netLines;
  bool netWithPinsRead = false;
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
    // Titles, comments and empty lines do not begin with a space.
    const bool isNetLine = !rawLine.empty() && rawLine.front() == u' ';
    if (!isNetLine) continue;
    const Text line = toUpper(rawLine);
    // A name in column 2 starts a net; a blank there continues the current
    // one. Spaces and tabs both separate the words of a line.
    const bool startsNet = !characterAt(line, kNameColumn).isSpaceTabOrEmpty();
    if (startsNet) {
      if (netOpen) finishNet();
      netOpen = true;
      nextElement = kFirstPin;
    }
    std::size_t position = kNameColumn;
    while (position < line.size()) {
      if (characterAt(line, position).isSpaceTabOrEmpty()) {
        ++position;
        continue;
      }
      const std::size_t end = wordEnd(line, position);
      const TextView word = TextView(line).substr(position, end - position);
      // The name runs to the first blank, whatever its length.
      if (startsNet && position == kNameColumn) {
        net.at(kNetName) = word;
      } else if (netOpen) {
        net.at(nextElement++) = pinFromSeparator(word, kPinSeparator);
      }
      // Pins before the first net name belong to no net and are left out.
      position = end;
    }
  }
  if (netOpen) finishNet();
  return read;
}

}  // namespace

void mnclpin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  const std::vector<Text> lines = readLines(input, context.encoding);
  // The format has no parts: the parts file holds one empty line.
  writeWholeFile(context.partsFile(), kCrLf, context.encoding);
  const ReadNets read = readNets(lines);
  if (!read.netWithPinsRead) {
    context.host.hideProgress();
    status = kStatusBad;
    return;
  }
  writeWholeFile(context.netFile(), read.netLines, context.encoding);
}

ProbeFit probeCadlus(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  if (!readNets(lines).netWithPinsRead) return ProbeFit::None;
  // Most pins written reference-pin, one a word: the words of the lines that
  // begin with a blank, but for the names in column 2.
  std::size_t pins = 0;
  std::size_t separatedPins = 0;
  for (const Text& line : lines) {
    if (!characterAt(line, 0).isSpace()) continue;
    std::size_t position = kNameColumn;
    if (!characterAt(line, kNameColumn).isSpaceTabOrEmpty()) position = wordEnd(line, kNameColumn);
    while (position < line.size()) {
      if (characterAt(line, position).isSpaceTabOrEmpty()) {
        ++position;
        continue;
      }
      const std::size_t end = wordEnd(line, position);
      ++pins;
      const TextView pin = TextView(line).substr(position, end - position);
      if (pin.find(kPinSeparator, 1) != TextView::npos && pin.find(u',') == TextView::npos) ++separatedPins;
      position = end;
    }
  }
  return isMostOf(separatedPins, pins) ? ProbeFit::Shape : ProbeFit::Accepted;
}

}  // namespace korvanel
