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

}  // namespace

void mnclpin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  const std::vector<Text> lines = readLines(input, context.encoding);
  // The format has no parts: the parts file holds one empty line.
  writeWholeFile(context.partsFile(), kCrLf, context.encoding);

  NetRecord net;
  Text netLines;
  bool netOpen = false;
  long long nextElement = kFirstPin;
  bool netWithPinsRead = false;
  auto finishNet = [&] {
    // The count is that of this net's own pins, none for a name without pins.
    appendNetLine(net, nextElement, netLines);
    if (nextElement > kFirstPin) netWithPinsRead = true;
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

  if (!netWithPinsRead) {
    context.host.hideProgress();
    status = kStatusBad;
    return;
  }
  writeWholeFile(context.netFile(), netLines, context.encoding);
}

}  // namespace korvanel
