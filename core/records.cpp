#include "core/records.h"

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

void mnrkout(const NetRecord& record, Text& line) {
  line += record.get(kNetName);
  line += u"; ";
  line += record.get(kPinCount);
  line += u": ";
  const long long count = pinCount(record);
  for (long long index = kFirstPin; index <= count + 1; ++index) {
    line += record.get(index);
    line += u", ";
  }
}

void mrk1net(NetRecord& record, TextView line) {
  Text collector;
  long long index = 0;
  for (std::size_t position = 0; position <= line.size(); ++position) {
    const CharacterAt at = characterAt(line, position);
    if (at.is(u';')) {
      record.at(kNetName) = std::move(collector);
      collector.clear();
      ++position;  // the blank of "; "
    } else if (at.is(u':')) {
      record.at(kPinCount) = std::move(collector);
      collector.clear();
      index = kFirstPin;
      ++position;  // the blank of ": "
    } else if (at.is(u',') || at.empty) {
      record.at(index) = std::move(collector);
      collector.clear();
      ++index;
    } else if (!at.is(u' ')) {
      collector += at.character;
    }
  }
}

void appendNetLine(NetRecord& record, long long nextElement, Text& netLines) {
  record.at(kPinCount) = decimalText(nextElement - kFirstPin);
  mnrkout(record, netLines);
  netLines += kCrLf;
}

void mprkout(const PartRecord& record, Text& line) {
  line += record.get(kOtherInformation);
  line += u"! ";
  line += record.get(kPartName);
  line += u"; ";
  line += record.get(kReference);
  line += u": ";
  line += record.get(kAdditionalText);
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
