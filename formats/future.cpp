#include "formats/future.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/field_limits.h"
#include "core/errors.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

// The header ends at this line, compared as read: no case change, no blanks.
constexpr TextView kPinListLine = u"PINLIST,2";
constexpr TextView kSymbolKeyword = u"(SYM";
constexpr char16_t kSymbolEnd = u')';
constexpr TextView kDataRecord = u"DATA";
constexpr TextView kPinRecord = u"PIN";
constexpr TextView kReferenceAttribute = u"2";
constexpr TextView kPartNameAttribute = u"3";
constexpr TextView kPackageAttribute = u"4";

// Zero-based field positions of the records.
constexpr std::size_t kRecordKindField = 0;
constexpr std::size_t kAttributeNumberField = 1;
constexpr std::size_t kAttributeValueField = 2;
constexpr std::size_t kNetNameField = 2;
constexpr std::size_t kPinNumberField = 6;

// Each pin is first kept as a net line of one pin, in a list of entries 0 to
// 20000.
constexpr std::size_t kMostPinRecords = kRecordLastIndex + 1;
// The list of merged nets marks its end with an empty entry, so it holds one
// net fewer than it has entries.
constexpr std::size_t kMostDistinctNets = kRecordLastIndex;

// The fields of a record line, upper-cased: the texts between commas, with
// tabs and blanks left out.
std::vector<Text> recordFields(const Text& line) {
  std::vector<Text> fields(1);
  for (const char16_t character : toUpper(line)) {
    if (character == u',') {
      fields.emplace_back();
    } else if (character != u' ' && character != u'\t') {
      fields.back() += character;
    }
  }
  return fields;
}

// A symbol block ends at a line that holds ")" alone (blanks and tabs aside).
// A ")" within a record, as in the bus net D(0), belongs to its field.
bool closesSymbol(const Text& line) {
  bool endSeen = false;
  for (const char16_t character : line) {
    if (character == u' ' || character == u'\t') continue;
    if (character != kSymbolEnd || endSeen) return false;
    endSeen = true;
  }
  return endSeen;
}

// The symbol blocks of a file, read one after the other. A block gives one
// part (when it has a part name and begins after "PINLIST,2") and a one-pin
// net line for each of its pins. Every block starts with empty fields, so a
// part never carries the reference or package of the block before it.
class SymbolBlocks {
 public:
  explicit SymbolBlocks(const ConversionContext& context) : context_(context) {}

  // A "(SYM," line: ends the block still open and starts the next.
  void begin(bool listsPart) {
    finish();
    open_ = true;
    listsPart_ = listsPart;
    reference_.clear();
    partName_.clear();
    package_.clear();
    pins_.clear();
  }

  bool isOpen() const { return open_; }

  // One record line inside the open block.
  void read(const std::vector<Text>& fields) {
    const Text& kind = fields[kRecordKindField];
    const bool isAttribute = kind == kDataRecord && fields.size() > kAttributeValueField;
    const bool isPin = kind == kPinRecord && fields.size() > kPinNumberField;
    if (isAttribute) {
      const Text& number = fields[kAttributeNumberField];
      const Text& value = fields[kAttributeValueField];
      if (number == kReferenceAttribute) reference_ = value;
      if (number == kPartNameAttribute) partName_ = value;
      if (number == kPackageAttribute) package_ = value;
    } else if (isPin) {
      // A pin on no net is unconnected, and a record without a pin number
      // names no pin: neither gives a pin.
      const Text& netName = fields[kNetNameField];
      const Text& pinNumber = fields[kPinNumberField];
      if (!netName.empty() && !pinNumber.empty()) pins_.emplace_back(netName, pinNumber);
    }
  }

  // Ends the open block, if any: its part and pins are written out with the
  // block's own reference and package, whatever order its records came in.
  void finish() {
    if (!open_) return;
    open_ = false;
    if (listsPart_ && !partName_.empty()) {
      PartRecord part;
      part.at(kPartName) = partName_;
      part.at(kReference) = reference_;
      part.at(kOtherInformation) = package_;
      appendPartsLine(context_, part, partsLines);
    }
    // Without a reference a pin is its pin number alone.
    const Text pinPrefix = reference_.empty() ? Text() : reference_ + u".";
    for (const auto& [netName, pinNumber] : pins_) {
      pin_.at(kNetName) = netName;
      pin_.at(kPinCount) = u"1";
      pin_.at(kFirstPin) = pinPrefix + pinNumber;
      mnrkout(pin_, pinLines.emplace_back());
    }
  }

  // The parts lines, each followed by CR LF.
  Text partsLines;
  // One net line of one pin for each pin, in file order.
  std::vector<Text> pinLines;

 private:
  const ConversionContext& context_;
  bool open_ = false;
  bool listsPart_ = false;
  Text reference_;
  Text partName_;
  Text package_;
  std::vector<std::pair<Text, Text>> pins_;  // net name and pin number
  NetRecord pin_;
};

}  // namespace

void mnfutin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  SymbolBlocks blocks(context);
  bool pinListFound = false;
  for (const Text& line : readLines(input, context.encoding)) {
    if (!pinListFound && line == kPinListLine) {
      pinListFound = true;
      status = kStatusGood;
      continue;
    }
    if (closesSymbol(line)) {
      blocks.finish();
      continue;
    }
    const std::vector<Text> fields = recordFields(line);
    const bool startsSymbol = fields.size() > 1 && fields[kRecordKindField] == kSymbolKeyword;
    if (startsSymbol) {
      // Blocks before "PINLIST,2" give their pins but no part.
      blocks.begin(pinListFound);
    } else if (blocks.isOpen()) {
      blocks.read(fields);
    }
    // Records outside a block are ignored.
  }
  // A block that the file leaves open ends with it.
  blocks.finish();

  writeWholeFile(context.partsFile(), blocks.partsLines, context.encoding);
  if (!pinListFound) {
    context.host.hideProgress();
    return;
  }
  if (blocks.pinLines.size() > kMostPinRecords) ensureRoomInList(kMostPinRecords, kMostPinRecords, "PIN records");
  writeWholeFile(context.netFile(), mergeNetsByName(blocks.pinLines, kMostDistinctNets), context.encoding);
}

ProbeFit probeFuture(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  const bool holdsPinList = std::find(lines.begin(), lines.end(), kPinListLine) != lines.end();
  return holdsPinList ? ProbeFit::Keywords : ProbeFit::None;
}

}  // namespace korvanel
