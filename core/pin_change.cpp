#include "core/passes.h"
#include "core/records.h"

namespace korvanel {
namespace {

// A pin taken apart before its first ".": the upper-case letters A to Z in
// their order, and every other character in its order.
struct ReferenceParts {
  Text letters;
  Text others;
  std::size_t dotPosition = Text::npos;
};

ReferenceParts splitReference(TextView pin) {
  ReferenceParts parts;
  for (std::size_t position = 0; position < pin.size(); ++position) {
    const char16_t character = pin[position];
    if (character == u'.') {
      parts.dotPosition = position;
      break;
    }
    (character >= u'A' && character <= u'Z' ? parts.letters : parts.others) += character;
  }
  return parts;
}

// Applies the rows in order; a later row sees what an earlier one changed.
Text changePin(Text pin, const PinChangeTable& table) {
  const ReferenceParts parts = splitReference(pin);
  if (parts.dotPosition == Text::npos) return pin;
  for (int row = 0; row < kPinChangeRows; ++row) {
    if (table[row] != parts.letters) continue;
    const TextView pinNumber = TextView(pin).substr(parts.dotPosition + 1);
    if (pinNumber != table[10 + row]) continue;
    pin = parts.letters + parts.others + u'.' + table[20 + row];
  }
  return pin;
}

}  // namespace

void mchgpin(const ConversionContext& context, const std::filesystem::path& netFile, const PinChangeTable& table) {
  NetRecord record;
  Text output;
  for (const TextView line : readRecordLines(netFile, context.encoding)) {
    mrk1net(record, line);
    const long long last = pinCount(record) + 1;
    for (long long index = kFirstPin; index <= last; ++index) record.at(index) = changePin(record.get(index), table);
    mnrkout(record, output);
    output += kCrLf;
  }
  writeWholeFile(netFile, output, context.encoding);
}

}  // namespace korvanel
