// The intermediate records and the four operations that turn them into the
// lines of net.tmp and parts.tmp and back.
//
// net line:   name "; " count ": " then every pin followed by ", "
//             GND; 3: U1.7, U2.7, C1.2,
// parts line: other "! " part name "; " reference ": " additional "? "
//             DIP14! 74HC00; U1: ?
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "core/capacity.h"
#include "core/text.h"

namespace korvanel {

// Fails with a capacity error when `index` lies outside elements 0 to
// `lastIndex` of a fixed list; the check is inline, the failure is not.
[[noreturn]] void failListBound(long long index, std::size_t lastIndex);
inline void checkListBound(long long index, std::size_t lastIndex) {
  if (index < 0 || static_cast<unsigned long long>(index) > lastIndex) [[unlikely]] {
    failListBound(index, lastIndex);
  }
}

// A list of texts with a fixed upper index. Reading or writing an index above
// the bound is a capacity failure, exactly where a fixed array of that size
// would fail. Elements that were never written read as empty texts; nothing
// is cleared unless asked, so higher elements may hold left-overs of an
// earlier, longer record.
class BoundedTexts {
 public:
  explicit BoundedTexts(std::size_t lastIndex) : lastIndex_(lastIndex) {}

  Text& at(long long index) {
    checkListBound(index, lastIndex_);
    const auto position = static_cast<std::size_t>(index);
    if (position >= elements_.size()) elements_.resize(position + 1);
    return elements_[position];
  }
  const Text& get(long long index) const {
    checkListBound(index, lastIndex_);
    const auto position = static_cast<std::size_t>(index);
    return position < elements_.size() ? elements_[position] : neverWritten();
  }
  void clear() { elements_.clear(); }
  std::size_t lastIndex() const { return lastIndex_; }

 private:
  static const Text& neverWritten();

  std::size_t lastIndex_;
  std::vector<Text> elements_;
};

// One net (element 0 name, 1 pin count, 2.. pins) or one part (elements 1 to
// 4: part name, reference, other information, additional text). Every module
// holds one record of elements 0 to 20000 and reuses it line after line.
inline constexpr std::size_t kRecordLastIndex = 20000;

class Record : public BoundedTexts {
 public:
  // A run that lifted the fixed bounds gets records of kLiftedRecordLastIndex.
  Record() : BoundedTexts(capacityLimitsLifted() ? kLiftedRecordLastIndex : kRecordLastIndex) {}
};
using NetRecord = Record;
using PartRecord = Record;

// Element indices of a part record.
inline constexpr int kPartName = 1;
inline constexpr int kReference = 2;
inline constexpr int kOtherInformation = 3;
inline constexpr int kAdditionalText = 4;

// Element indices of a net record.
inline constexpr int kNetName = 0;
inline constexpr int kPinCount = 1;
inline constexpr int kFirstPin = 2;

// The pin count of a net record: the numeric value of element 1.
long long pinCount(const NetRecord& record);

// A net line taken apart by the rules of mrk1net, into views: a field that
// holds no blank is a view into the line itself, one with blanks a view into
// a copy without them that the record keeps. The views stay valid for as
// long as the line's text and the record live, so a pass can collect them
// instead of copies. Elements 0 to the last written are kept between lines,
// as mrk1net keeps them, and bounds fail where a net record's would.
class NetRecordView {
 public:
  NetRecordView();

  void parse(TextView line);
  TextView get(long long index) const {
    checkListBound(index, lastIndex_);
    const auto position = static_cast<std::size_t>(index);
    return position < elements_.size() ? elements_[position] : TextView();
  }
  // Sets an element, as a net record's at() does.
  void set(long long index, TextView text) {
    checkListBound(index, lastIndex_);
    const auto position = static_cast<std::size_t>(index);
    if (position >= elements_.size()) elements_.resize(position + 1);
    elements_[position] = text;
  }
  // Sets an element to a text that the record keeps.
  void setCopy(long long index, Text text);
  long long pinCount() const { return numericValue(get(kPinCount)); }

 private:
  std::size_t lastIndex_;
  std::vector<TextView> elements_;
  std::deque<Text> keptTexts_;
};

// Net record to net line, appended to `line`. A delimiter of the line inside
// a field is written "_" (in a pin's reference, those of a parts line too),
// so that the line reads back as the fields it was built from.
void mnrkout(const NetRecord& record, Text& line);
void mnrkout(const NetRecordView& record, Text& line);
// Net line to net record.
void mrk1net(NetRecord& record, TextView line);
// A net whose pins fill elements 2 to nextElement - 1 completed: its pin
// count set and its net line appended to `netLines`, followed by CR LF.
void appendNetLine(NetRecord& record, long long nextElement, Text& netLines);

// Part record to parts line, appended to `line`; a delimiter inside a field
// is written "_" (in the reference, those of a net line too).
void mprkout(const PartRecord& record, Text& line);
// Parts line to part record.
void mprk1in(PartRecord& record, TextView line);

}  // namespace korvanel
