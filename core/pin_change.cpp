#include <optional>

#include "core/passes.h"
#include "core/records.h"

namespace korvanel {
namespace {

// The upper-case letters A to Z of a pin's reference (the part before its
// first "."), in their order, followed by every other character of it in
// its order.
Text lettersThenOthers(TextView reference, std::size_t& letterCount) {
  Text letters;
  Text others;
  for (const char16_t character : reference) (character >= u'A' && character <= u'Z' ? letters : others) += character;
  letterCount = letters.size();
  return letters + others;
}

// Applies the rows in order; a later row sees the pin number an earlier one
// changed, and the letters of the pin as it was read. Empty when no row
// changes the pin.
std::optional<Text> changedPin(TextView pin, const PinChangeTable& table) {
  const std::size_t dotPosition = pin.find(u'.');
  if (dotPosition == TextView::npos) return std::nullopt;
  std::optional<Text> changed;
  std::optional<Text> reordered;  // letters, then the other characters
  std::size_t letterCount = 0;
  for (int row = 0; row < kPinChangeRows; ++row) {
    const TextView pinNumber = TextView(changed ? *changed : pin).substr(dotPosition + 1);
    if (pinNumber != table[10 + row]) continue;
    if (!reordered) reordered = lettersThenOthers(pin.substr(0, dotPosition), letterCount);
    if (TextView(*reordered).substr(0, letterCount) != table[row]) continue;
    changed = *reordered + u'.' + table[20 + row];
  }
  return changed;
}

}  // namespace

void mchgpin(const ConversionContext& context, const std::filesystem::path& netFile, const PinChangeTable& table) {
  const LineList lines = readRecordLines(netFile, context.encoding);
  NetRecordView record;
  WholeFileOutput file(netFile, context.encoding);
  Text output;
  for (const TextView line : lines) {
    record.parse(line);
    // A changed pin stays in the record, where a later, shorter line finds
    // it as a left-over and the rows apply to it again.
    const long long last = record.pinCount() + 1;
    for (long long index = kFirstPin; index <= last; ++index) {
      if (std::optional<Text> changed = changedPin(record.get(index), table)) record.setCopy(index, std::move(*changed));
    }
    mnrkout(record, output);
    output += kCrLf;
    file.spill(output);
  }
  file.commit(output);
}

}  // namespace korvanel
