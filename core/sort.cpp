#include <algorithm>

#include "core/errors.h"
#include "core/passes.h"
#include "core/records.h"

namespace korvanel {
namespace {

// The line list of the sort holds the nets at indices 0 to 20000.
constexpr std::size_t kSortLineCapacity = 20001;

// Sorts the pins of a net in place: elements 2 to count + 1.
void sortPins(NetRecord& record) {
  const long long last = pinCount(record) + 1;
  if (last <= kFirstPin) return;
  std::vector<Text> pins;
  pins.reserve(static_cast<std::size_t>(std::min<long long>(last, kRecordLastIndex)));
  for (long long index = kFirstPin; index <= last; ++index) pins.push_back(record.get(index));
  modStrSort(pins, 0, static_cast<long long>(pins.size()) - 1);
  for (long long index = kFirstPin; index <= last; ++index) record.at(index) = std::move(pins[index - kFirstPin]);
}

}  // namespace

void modStrSort(std::vector<Text>& list, long long first, long long last) {
  if (first >= last) return;
  // Equal texts are identical, so any correct sort gives the same order.
  std::sort(list.begin() + first, list.begin() + last + 1);
}

void mrksort(const ConversionContext& context, Text& sorted) {
  NetRecord record;
  std::vector<Text> lines;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(record, line);
    sortPins(record);
    ensureRoomInList(lines.size(), kSortLineCapacity, "nets to sort");
    Text rebuilt;
    mnrkout(record, rebuilt);
    lines.push_back(std::move(rebuilt));
  }
  modStrSort(lines, 0, static_cast<long long>(lines.size()) - 1);
  for (const Text& line : lines) {
    if (line.empty()) continue;
    sorted += line;
    sorted += kCrLf;
  }
}

}  // namespace korvanel
