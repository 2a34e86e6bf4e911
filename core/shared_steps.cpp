#include "core/shared_steps.h"

#include <string>
#include <unordered_map>

#include "core/errors.h"
#include "core/passes.h"
#include "core/records.h"

namespace korvanel {
namespace {


// A net of more pins than elements 2 to 20000 of a record hold does not fit.
constexpr long long kMostPinsOfANet = static_cast<long long>(kRecordLastIndex) - kFirstPin + 1;

// One net of the merged table: its first net line as read, until another
// line of the same name joins it; from then on the record of the joined net.
struct MergedNet {
  Text firstNetLine;
  std::optional<NetRecord> joined;
  long long joinedPinCount = 0;
};

}  // namespace

Text upperCaseWorkingText(const std::vector<TextView>& lines) {
  // Room for one more line end, which the working copy of a file gets.
  std::size_t size = kCrLf.size();
  for (const TextView line : lines) size += line.size() + kCrLf.size();
  Text workingCopy;
  workingCopy.reserve(size);
  for (const TextView line : lines) {
    workingCopy += kCrLf;
    // A line feed inside a line (an LF-only file) ends a line there too.
    std::size_t start = 0;
    for (std::size_t lineFeed = line.find(u'\n'); lineFeed != TextView::npos; lineFeed = line.find(u'\n', start)) {
      appendUpperCased(workingCopy, line.substr(start, lineFeed - start));
      workingCopy += kCrLf;
      start = lineFeed + 1;
    }
    appendUpperCased(workingCopy, line.substr(start));
  }
  return workingCopy;
}

LineList writeUpperCaseWorkingCopy(const ConversionContext& context, const std::filesystem::path& input) {
  Text workingCopy;
  {
    const Text text = readWholeFile(input, context.encoding);
    workingCopy = upperCaseWorkingText(splitLineViews(text));
  }
  writeWholeFile(context.netFile(), workingCopy, context.encoding);
  workingCopy += kCrLf;
  return LineList(std::move(workingCopy));
}

std::vector<Text> sortPartsFile(const ConversionContext& context, EmptyLineAfterParts emptyLine) {
  // The list holds lines at indices 0 to 20000; with an empty line after the
  // parts, the empty element after the last part takes one of them.
  const std::size_t mostSortedParts =
      emptyLine == EmptyLineAfterParts::Yes ? kRecordLastIndex : kRecordLastIndex + 1;
  std::vector<Text> lines;
  for (Text& line : readLines(context.partsFile(), context.encoding)) {
    if (line.empty()) continue;
    ensureRoomInList(lines.size(), mostSortedParts, "parts to sort");
    lines.push_back(std::move(line));
  }
  modStrSort(lines, 0, static_cast<long long>(lines.size()) - 1);
  Text content;
  for (const Text& line : lines) {
    content += line;
    content += kCrLf;
  }
  if (emptyLine == EmptyLineAfterParts::Yes) content += kCrLf;
  writeWholeFile(context.partsFile(), content, context.encoding);
  return lines;
}

Text mergeNetsByName(const std::vector<Text>& netLines, std::optional<std::size_t> mostDistinctNets) {
  std::vector<MergedNet> merged;
  std::unordered_map<Text, std::size_t> positionOfName;
  NetRecord lineRecord;
  NetRecord entryRecord;
  for (const Text& netLine : netLines) {
    mrk1net(lineRecord, netLine);
    const auto found = positionOfName.find(lineRecord.get(kNetName));
    const bool isNewName = found == positionOfName.end();
    if (isNewName) {
      if (mostDistinctNets) ensureRoomInList(merged.size(), *mostDistinctNets, "distinct net names");
      positionOfName.emplace(lineRecord.get(kNetName), merged.size());
      merged.push_back(MergedNet{netLine, std::nullopt, 0});
      continue;
    }
    MergedNet& entry = merged[found->second];
    if (!entry.joined) {
      // The first line of the name taken apart: its name and pins start the
      // joined record.
      mrk1net(entryRecord, entry.firstNetLine);
      entry.joined.emplace();
      entry.joined->at(kNetName) = entryRecord.get(kNetName);
      entry.joinedPinCount = pinCount(entryRecord);
      for (long long pin = 0; pin < entry.joinedPinCount; ++pin) {
        entry.joined->at(kFirstPin + pin) = entryRecord.get(kFirstPin + pin);
      }
      entry.firstNetLine.clear();
    } else if (entry.joinedPinCount >= kMostPinsOfANet && !capacityLimitsLifted()) {
      // A full net's line cannot be taken apart again: its parser would store
      // one element past the last pin.
      throw CapacityError("net " + toUtf8(entry.joined->get(kNetName)) + " has more pins than a record holds");
    }
    const long long linePinCount = pinCount(lineRecord);
    for (long long pin = 0; pin < linePinCount; ++pin) {
      entry.joined->at(kFirstPin + entry.joinedPinCount) = lineRecord.get(kFirstPin + pin);
      ++entry.joinedPinCount;
    }
  }

  Text netFileContent;
  for (MergedNet& entry : merged) {
    if (entry.joined) {
      entry.joined->at(kPinCount) = decimalText(entry.joinedPinCount);
      mnrkout(*entry.joined, netFileContent);
    } else {
      netFileContent += entry.firstNetLine;
    }
    netFileContent += kCrLf;
  }
  return netFileContent;
}

}  // namespace korvanel
