#include <algorithm>

#include "core/errors.h"
#include "core/passes.h"
#include "core/records.h"

namespace korvanel {
namespace {

// The line list of the sort holds the nets at indices 0 to 20000.
constexpr std::size_t kSortLineCapacity = 20001;

// Sorts the pins of a net in place: elements 2 to count + 1. The sorted pins
// stay in the record, where a later, shorter line finds them as left-overs.
void sortPins(NetRecordView& record, std::vector<TextView>& pins) {
  const long long last = record.pinCount() + 1;
  if (last <= kFirstPin) return;
  pins.clear();
  for (long long index = kFirstPin; index <= last; ++index) pins.push_back(record.get(index));
  std::sort(pins.begin(), pins.end());
  for (long long index = kFirstPin; index <= last; ++index) record.set(index, pins[index - kFirstPin]);
}

}  // namespace

void modStrSort(std::vector<Text>& list, long long first, long long last) {
  if (first >= last) return;
  // Equal texts are identical, so any correct sort gives the same order.
  std::sort(list.begin() + first, list.begin() + last + 1);
}

namespace {

// Reads net.tmp, sorts the pins of every net and then the net lines, and
// hands the sorted lines to `takeLine` in their order.
template <typename TakeLine>
void sortNetLines(const ConversionContext& context, TakeLine&& takeLine) {
  // The rebuilt lines one after the other, and where each begins.
  Text rebuilt;
  std::vector<std::size_t> lineStarts;
  {
    const Text netText = readWholeFile(context.netFile(), context.encoding);
    rebuilt.reserve(netText.size());
    NetRecordView record;
    std::vector<TextView> pins;
    forEachRecordLine(netText, [&](TextView line) {
      record.parse(line);
      sortPins(record, pins);
      ensureRoomInList(lineStarts.size(), kSortLineCapacity, "nets to sort");
      lineStarts.push_back(rebuilt.size());
      mnrkout(record, rebuilt);
    });
  }
  std::vector<TextView> netLines;
  netLines.reserve(lineStarts.size());
  for (std::size_t index = 0; index < lineStarts.size(); ++index) {
    const std::size_t end = index + 1 < lineStarts.size() ? lineStarts[index + 1] : rebuilt.size();
    netLines.emplace_back(TextView(rebuilt).substr(lineStarts[index], end - lineStarts[index]));
  }
  lineStarts = {};
  // Equal lines are identical, so any correct sort gives the same order.
  std::sort(netLines.begin(), netLines.end());
  for (const TextView line : netLines) takeLine(line);
}

}  // namespace

void mrksort(const ConversionContext& context, Text& sorted) {
  sortNetLines(context, [&](TextView line) {
    sorted += line;
    sorted += kCrLf;
  });
}

void mrksort(const ConversionContext& context, WholeFileOutput& sortedNetFile) {
  Text piece;
  sortNetLines(context, [&](TextView line) {
    piece += line;
    piece += kCrLf;
    sortedNetFile.spill(piece);
  });
  sortedNetFile.commit(piece);
}

}  // namespace korvanel
