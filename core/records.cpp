#include "core/records.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/errors.h"
#include "core/line_walk.h"

namespace korvanel {

void failListBound(long long index, std::size_t lastIndex) {
  throw CapacityError("index " + std::to_string(index) + " is beyond the list bound " + std::to_string(lastIndex));
}

const Text& BoundedTexts::neverWritten() {
  static const Text kNeverWritten;
  return kNeverWritten;
}

long long pinCount(const NetRecord& record) { return numericValue(record.get(kPinCount)); }

namespace {

// A set of characters below "@", tested with one shift: the delimiters of
// the intermediate lines are all of them.
class DelimiterSet {
 public:
  constexpr explicit DelimiterSet(TextView characters) {
    for (const char16_t character : characters) bits_ |= std::uint64_t{1} << character;
  }
  constexpr bool contains(char16_t character) const { return character < 64 && ((bits_ >> character) & 1) != 0; }

 private:
  std::uint64_t bits_ = 0;
};

// The characters that end a field of a net line and of a parts line, and
// the line ends that end the line (a quoted KiCad field may hold one). A
// reference stands in both files, in its part's line and before the first
// "." of its pins, so it loses the delimiters of both in the same way.
constexpr DelimiterSet kNetLineDelimiters(u";:,\r\n");
constexpr DelimiterSet kPartsLineDelimiters(u"!;:?\r\n");
constexpr DelimiterSet kReferenceDelimiters(u"!;:?,\r\n");

// Writes each of `delimiters` in line[from, to) as "_".
void replaceDelimiters(Text& line, std::size_t from, std::size_t to, DelimiterSet delimiters) {
  for (std::size_t position = from; position < to; ++position) {
    if (delimiters.contains(line[position])) line[position] = u'_';
  }
}

// Appends `field` with each of `delimiters` in it written as "_": a field
// that a reader copied from its input with a delimiter in it would otherwise
// read back as other fields, other pins or another net.
void appendField(TextView field, DelimiterSet delimiters, Text& line) {
  const std::size_t start = line.size();
  line += field;
  replaceDelimiters(line, start, line.size(), delimiters);
}

void appendPin(TextView pin, Text& line) {
  const std::size_t start = line.size();
  const std::size_t referenceEnd = start + std::min(pin.find(u'.'), pin.size());
  line += pin;
  replaceDelimiters(line, start, referenceEnd, kReferenceDelimiters);
  replaceDelimiters(line, referenceEnd, line.size(), kNetLineDelimiters);
}

}  // namespace

void mnrkout(const NetRecord& record, Text& line) {
  appendField(record.get(kNetName), kNetLineDelimiters, line);
  line += u"; ";
  line += record.get(kPinCount);
  line += u": ";
  const long long count = pinCount(record);
  for (long long index = kFirstPin; index <= count + 1; ++index) {
    appendPin(record.get(index), line);
    line += u", ";
  }
}

void mnrkout(const NetRecordView& record, Text& line) {
  appendField(record.get(kNetName), kNetLineDelimiters, line);
  line += u"; ";
  line += record.get(kPinCount);
  line += u": ";
  const long long last = record.pinCount() + 1;
  for (long long index = kFirstPin; index <= last; ++index) {
    appendPin(record.get(index), line);
    line += u", ";
  }
}

namespace {

// Walks a net line as mrk1net does and hands each element it stores to
// `store(index, field, holdsBlank)`: `field` is the text between two
// delimiters that the collector gathers, without the blanks that open it,
// and `holdsBlank` tells whether a blank is left in it. ";" stores the name
// and skips the character after it, ":" the count (skipping one too) and
// starts the pins at element 2, "," and the end of the line store the next
// element.
template <typename Store>
void walkNetLine(TextView line, Store&& store) {
  constexpr DelimiterSet kFieldEndsAndBlank(u";:, ");
  long long index = 0;
  std::size_t fieldStart = 0;
  bool fieldHoldsBlank = false;
  const auto storeFieldUpTo = [&](long long element, std::size_t end) {
    store(element, line.substr(fieldStart, end - fieldStart), fieldHoldsBlank);
  };
  std::size_t position = 0;
  for (; position < line.size(); ++position) {
    const char16_t character = line[position];
    if (!kFieldEndsAndBlank.contains(character)) continue;
    if (character == u' ') {
      const bool opensField = position == fieldStart;
      if (opensField) ++fieldStart;
      fieldHoldsBlank = fieldHoldsBlank || !opensField;
      continue;
    }
    if (character == u',') {
      storeFieldUpTo(index++, position);
    } else {
      storeFieldUpTo(character == u';' ? kNetName : kPinCount, position);
      if (character == u':') index = kFirstPin;
      ++position;  // the blank of "; " or ": ", whatever it is
    }
    fieldStart = position + 1;
    fieldHoldsBlank = false;
  }
  // The empty character one past the end stores the last field, unless a
  // skip has already passed the end.
  if (position == line.size()) {
    fieldStart = std::min(fieldStart, line.size());
    storeFieldUpTo(index, line.size());
  }
}

TextView withoutClosingBlanks(TextView field) {
  std::size_t end = field.size();
  while (end > 0 && field[end - 1] == u' ') --end;
  return field.substr(0, end);
}

bool holdsBlank(TextView field) { return std::find(field.begin(), field.end(), u' ') != field.end(); }

Text withoutBlanks(TextView field) {
  Text kept;
  for (const char16_t character : field) {
    if (character != u' ') kept += character;
  }
  return kept;
}

}  // namespace

void mrk1net(NetRecord& record, TextView line) {
  walkNetLine(line, [&](long long index, TextView field, bool fieldHoldsBlank) {
    Text& element = record.at(index);
    if (fieldHoldsBlank) {
      element = withoutBlanks(field);
    } else {
      element.assign(field);
    }
  });
}

NetRecordView::NetRecordView()
    : lastIndex_(capacityLimitsLifted() ? kLiftedRecordLastIndex : kRecordLastIndex) {}

void NetRecordView::parse(TextView line) {
  walkNetLine(line, [&](long long index, TextView field, bool fieldHoldsBlank) {
    if (!fieldHoldsBlank) return set(index, field);
    // Blanks that only close the field leave a view into the line.
    const TextView trimmed = withoutClosingBlanks(field);
    set(index, holdsBlank(trimmed) ? TextView(keptTexts_.emplace_back(withoutBlanks(trimmed))) : trimmed);
  });
}

void NetRecordView::setCopy(long long index, Text text) { set(index, keptTexts_.emplace_back(std::move(text))); }

void appendNetLine(NetRecord& record, long long nextElement, Text& netLines) {
  record.at(kPinCount) = decimalText(nextElement - kFirstPin);
  mnrkout(record, netLines);
  netLines += kCrLf;
}

void mprkout(const PartRecord& record, Text& line) {
  appendField(record.get(kOtherInformation), kPartsLineDelimiters, line);
  line += u"! ";
  appendField(record.get(kPartName), kPartsLineDelimiters, line);
  line += u"; ";
  appendField(record.get(kReference), kReferenceDelimiters, line);
  line += u": ";
  appendField(record.get(kAdditionalText), kPartsLineDelimiters, line);
  line += u"? ";
}

void mprk1in(PartRecord& record, TextView line) {
  Text collector;
  for (const char16_t character : line) {
    int element = 0;
    switch (character) {
      case u'!': element = kOtherInformation; break;
      case u';': element = kPartName; break;
      case u':': element = kReference; break;
      case u'?': element = kAdditionalText; break;
      case u'\t':
      case u' ': continue;
      default: collector += character; continue;
    }
    record.at(element) = std::move(collector);
    collector.clear();
  }
}

}  // namespace korvanel
