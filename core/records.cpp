#include "core/records.h"

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "core/line_walk.h"

namespace korvanel {

void BoundedTexts::checkBound(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) > lastIndex_) {
    throw CapacityError("index " + std::to_string(index) + " is beyond the list bound " + std::to_string(lastIndex_));
  }
}

Text& BoundedTexts::at(long long index) {
  checkBound(index);
  const auto position = static_cast<std::size_t>(index);
  if (position >= elements_.size()) elements_.resize(position + 1);
  return elements_[position];
}

const Text& BoundedTexts::get(long long index) const {
  checkBound(index);
  static const Text kNeverWritten;
  const auto position = static_cast<std::size_t>(index);
  return position < elements_.size() ? elements_[position] : kNeverWritten;
}

long long pinCount(const NetRecord& record) { return numericValue(record.get(kPinCount)); }

namespace {

// The characters that end a field of a net line and of a parts line, and
// the line ends that end the line (a quoted KiCad field may hold one). A
// reference stands in both files, in its part's line and before the first
// "." of its pins, so it loses the delimiters of both in the same way.
constexpr TextView kNetLineDelimiters = u";:,\r\n";
constexpr TextView kPartsLineDelimiters = u"!;:?\r\n";
constexpr TextView kReferenceDelimiters = u"!;:?,\r\n";

// Appends `field` with each of `delimiters` in it written as "_": a field
// that a reader copied from its input with a delimiter in it would otherwise
// read back as other fields, other pins or another net.
void appendField(TextView field, TextView delimiters, Text& line) {
  std::size_t start = 0;
  for (std::size_t found = field.find_first_of(delimiters); found != TextView::npos;
       found = field.find_first_of(delimiters, start)) {
    line += field.substr(start, found - start);
    line += u'_';
    start = found + 1;
  }
  line += field.substr(start);
}

void appendPin(TextView pin, Text& line) {
  const std::size_t dot = pin.find(u'.');
  appendField(pin.substr(0, dot), kReferenceDelimiters, line);
  if (dot != TextView::npos) appendField(pin.substr(dot), kNetLineDelimiters, line);
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
// `store(index, field)`, where `field` is the text between two delimiters
// that the collector gathers, blanks still in it. ";" stores the name and
// skips the character after it, ":" the count (skipping one too) and starts
// the pins at element 2, "," and the end of the line store the next element.
template <typename Store>
void walkNetLine(TextView line, Store&& store) {
  long long index = 0;
  std::size_t fieldStart = 0;
  std::size_t position = 0;
  for (; position < line.size(); ++position) {
    const char16_t character = line[position];
    if (character == u';' || character == u':') {
      store(character == u';' ? kNetName : kPinCount, line.substr(fieldStart, position - fieldStart));
      if (character == u':') index = kFirstPin;
      ++position;  // the blank of "; " or ": ", whatever it is
      fieldStart = position + 1;
    } else if (character == u',') {
      store(index++, line.substr(fieldStart, position - fieldStart));
      fieldStart = position + 1;
    }
  }
  // The empty character one past the end stores the last field, unless a
  // skip has already passed the end.
  if (position == line.size()) store(index, line.substr(std::min(fieldStart, line.size())));
}

// The field without the blanks at its ends (the blank of ", " before a pin);
// `holdsBlank` tells whether blanks remain inside it.
TextView trimmedBlanks(TextView field) {
  const std::size_t first = field.find_first_not_of(u' ');
  if (first == TextView::npos) return {};
  return field.substr(first, field.find_last_not_of(u' ') - first + 1);
}

bool holdsBlank(TextView field) { return field.find(u' ') != TextView::npos; }

Text withoutBlanks(TextView field) {
  Text kept;
  for (const char16_t character : field) {
    if (character != u' ') kept += character;
  }
  return kept;
}

}  // namespace

void mrk1net(NetRecord& record, TextView line) {
  walkNetLine(line, [&](long long index, TextView rawField) {
    Text& element = record.at(index);
    const TextView field = trimmedBlanks(rawField);
    if (holdsBlank(field)) {
      element = withoutBlanks(field);
    } else {
      element.assign(field);
    }
  });
}

NetRecordView::NetRecordView()
    : lastIndex_(capacityLimitsLifted() ? kLiftedRecordLastIndex : kRecordLastIndex) {}

void NetRecordView::parse(TextView line) {
  walkNetLine(line, [&](long long index, TextView rawField) {
    const TextView field = trimmedBlanks(rawField);
    set(index, holdsBlank(field) ? TextView(keptTexts_.emplace_back(withoutBlanks(field))) : field);
  });
}

void NetRecordView::set(long long index, TextView text) {
  if (index < 0 || static_cast<unsigned long long>(index) > lastIndex_) {
    throw CapacityError("index " + std::to_string(index) + " is beyond the list bound " + std::to_string(lastIndex_));
  }
  const auto position = static_cast<std::size_t>(index);
  if (position >= elements_.size()) elements_.resize(position + 1);
  elements_[position] = text;
}

void NetRecordView::setCopy(long long index, Text text) { set(index, keptTexts_.emplace_back(std::move(text))); }

TextView NetRecordView::get(long long index) const {
  if (index < 0 || static_cast<unsigned long long>(index) > lastIndex_) {
    throw CapacityError("index " + std::to_string(index) + " is beyond the list bound " + std::to_string(lastIndex_));
  }
  const auto position = static_cast<std::size_t>(index);
  return position < elements_.size() ? elements_[position] : TextView();
}

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
