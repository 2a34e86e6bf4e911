#include "formats/block_netlist.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr char16_t kBlockOpen = u'[';
constexpr char16_t kBlockClose = u']';
constexpr char16_t kNetOpen = u'(';
constexpr char16_t kNetClose = u')';
constexpr char16_t kQuote = u'"';

bool isBlankOrTab(char16_t character) { return character == u' ' || character == u'\t'; }

// A line that holds the mark alone, blanks, tabs and double quotes aside: a
// mark with trailing blanks still opens or closes a block, while a field such
// as BUS[0] stays a field.
bool isMarkLine(TextView line, char16_t mark) {
  bool markSeen = false;
  for (const char16_t character : line) {
    if (isBlankOrTab(character) || character == kQuote) continue;
    if (character != mark || markSeen) return false;
    markSeen = true;
  }
  return markSeen;
}

// The position of the "(" that opens the first net: the line's first
// character other than a blank, a tab or a double quote. The net's name may
// follow on the same line.
std::optional<std::size_t> netOpenPosition(TextView line) {
  for (std::size_t position = 0; position < line.size(); ++position) {
    const char16_t character = line[position];
    if (isBlankOrTab(character) || character == kQuote) continue;
    if (character == kNetOpen) return position;
    return std::nullopt;
  }
  return std::nullopt;
}

Text fieldOf(TextView line, FieldText style) {
  if (style == FieldText::WholeLine) return Text(line);
  Text squeezed;
  for (const char16_t character : line) {
    const bool dropped = isBlankOrTab(character) || character == kQuote || character == kNetClose;
    if (!dropped) squeezed += character;
  }
  return squeezed;
}

// The keywords of a block of values after keywords, in the order in which a
// line is tried against them, with the part element that each one names.
struct KeywordField {
  TextView keyword;
  int element;
};
constexpr KeywordField kKeywordFields[] = {{u"PARTTYPE", kPartName},
                                           {u"DESIGNATOR", kReference},
                                           {u"FOOTPRINT", kOtherInformation},
                                           {u"DESCRIPTION", kAdditionalText}};
constexpr int kNoFieldAwaited = 0;

// The part elements of the first lines of a block of lines in order.
constexpr int kElementOfLine[] = {kReference, kOtherInformation, kPartName};
constexpr std::size_t kFourthLine = 3;

// The fields of one part block, collected line by line; the part is written
// when its block closes, so no field goes to another part.
class PartBlock {
 public:
  PartBlock(const ConversionContext& context, const BlockNetlistGrammar& grammar)
      : context_(context), grammar_(grammar) {}

  bool isOpen() const { return open_; }

  void open() {
    for (const int element : {kPartName, kReference, kOtherInformation, kAdditionalText}) record_.at(element).clear();
    linesTaken_ = 0;
    awaitedElement_ = kNoFieldAwaited;
    open_ = true;
  }

  void takeLine(TextView line) {
    const Text field = fieldOf(line, grammar_.fieldText);
    if (grammar_.fields == PartBlockFields::ValuesAfterKeywords) {
      takeKeywordOrValue(field);
    } else {
      takeLineInOrder(field);
    }
  }

  // Closes the block and appends its parts line when the block gives a part.
  void close(Text& partsLines) {
    open_ = false;
    if (givesPart()) appendPartsLine(context_, record_, partsLines);
  }

 private:
  void takeKeywordOrValue(const Text& field) {
    for (const KeywordField& keywordField : kKeywordFields) {
      if (field == keywordField.keyword) {
        awaitedElement_ = keywordField.element;
        return;
      }
      if (awaitedElement_ == keywordField.element) {
        record_.at(keywordField.element) = field;
        awaitedElement_ = kNoFieldAwaited;
        return;
      }
    }
  }

  void takeLineInOrder(const Text& field) {
    const std::size_t line = linesTaken_++;
    if (line < kFourthLine) {
      record_.at(kElementOfLine[line]) = field;
    } else if (grammar_.linesAfterPartName == LinesAfterPartName::FourthLineOnly) {
      if (line == kFourthLine) record_.at(kAdditionalText) = field;
    } else if (!field.empty()) {
      Text& additional = record_.at(kAdditionalText);
      if (!additional.empty()) additional += u' ';
      additional += field;
    }
  }

  bool givesPart() const {
    if (grammar_.partKept == PartKept::WhenPartNameGiven) return !record_.get(kPartName).empty();
    for (const int element : {kPartName, kReference, kOtherInformation, kAdditionalText}) {
      if (!record_.get(element).empty()) return true;
    }
    return false;
  }

  const ConversionContext& context_;
  const BlockNetlistGrammar& grammar_;
  PartRecord record_;
  bool open_ = false;
  std::size_t linesTaken_ = 0;
  int awaitedElement_ = kNoFieldAwaited;
};

// Where the net blocks begin: the line and the position of their first "(".
struct NetSectionStart {
  std::size_t line;
  std::size_t position;
};

// Reads the part blocks into `partsLines` up to the first "(" that stands
// outside a block. Lines outside a block (a header, remarks) are ignored.
std::optional<NetSectionStart> readPartBlocks(const ConversionContext& context, const std::vector<Text>& lines,
                                              const BlockNetlistGrammar& grammar, Text& partsLines) {
  PartBlock block(context, grammar);
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    // Inside a block a line that begins with "(", such as (NC), is a field.
    const std::optional<std::size_t> netOpen = block.isOpen() ? std::nullopt : netOpenPosition(line);
    const bool opensBlock = isMarkLine(line, kBlockOpen);
    const bool closesBlock = isMarkLine(line, kBlockClose);
    if (netOpen) return NetSectionStart{lineIndex, *netOpen};
    if (opensBlock || closesBlock) {
      // A block still open when the next one begins ends there.
      if (block.isOpen()) block.close(partsLines);
      if (opensBlock) block.open();
    } else if (block.isOpen()) {
      block.takeLine(line);
    }
  }
  return std::nullopt;
}

enum class NetState { Outside, AwaitingName, Named };

// Reads the net blocks from their first "(" to the end of the input. A net
// block that is not closed with ")" gives no net.
Text readNetBlocks(const std::vector<Text>& lines, NetSectionStart start, TextView pinSeparators) {
  NetRecord net;
  Text netLines;
  NetState state = NetState::Outside;
  long long nextElement = kFirstPin;
  for (std::size_t lineIndex = start.line; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    Text token;
    // A "(" opens a net only before any other character of its line, so a
    // name such as NET-(C1-PAD1) is read whole.
    bool lineHasText = false;
    for (std::size_t position = lineIndex == start.line ? start.position : 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool opensNet = at.is(kNetOpen) && !lineHasText;
      const bool endsName = state == NetState::AwaitingName && !token.empty() && at.empty;
      const bool endsPin = state == NetState::Named && !token.empty() && at.isSpaceTabOrEmpty();
      const bool closesNet = state == NetState::Named && at.is(kNetClose);
      if (!at.isSpaceTabOrEmpty()) lineHasText = true;
      if (opensNet) {
        // A net still open is dropped with its pins.
        state = NetState::AwaitingName;
        token.clear();
        net.at(kNetName).clear();
      } else if (endsName) {
        net.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
        state = NetState::Named;
      } else if (endsPin) {
        net.at(nextElement) = pinFromToken(token, pinSeparators);
        ++nextElement;
        // One pin per line: the rest of the line is a comment.
        break;
      } else if (closesNet) {
        // A pin written right before the ")" belongs to the net.
        if (!token.empty()) net.at(nextElement++) = pinFromToken(token, pinSeparators);
        appendNetLine(net, nextElement, netLines);
        token.clear();
        net.at(kNetName).clear();
        state = NetState::Outside;
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
  }
  return netLines;
}

void appendLine(Text& out, TextView line) {
  out += line;
  out += kCrLf;
}

// Lines of a written part block after the part name, where the additional
// text is not written.
constexpr int kEmptyLinesAfterPartName = 3;

}  // namespace

Text pinFromToken(TextView token, TextView pinSeparators) {
  for (const char16_t separator : pinSeparators) {
    const bool separates = token.find(separator, 1) != TextView::npos;
    if (separates) return pinFromSeparator(token, separator);
  }
  return Text(token);
}

BlockNetlistHead readBlockNetlistHead(const ProbeInput& input) {
  BlockNetlistHead head;
  const auto netStartOf = [](const std::vector<Text>& upperLines) {
    Text partsLines;
    return readPartBlocks(probeContext(), upperLines, BlockNetlistGrammar{}, partsLines);
  };
  std::vector<Text> lines = upperCased(input.lines());
  head.firstLine = firstNonEmptyLine(lines);
  std::optional<NetSectionStart> netStart = netStartOf(lines);
  // Many part blocks may put the first net beyond the head.
  const bool opensPartBlock =
      std::any_of(lines.begin(), lines.end(), [](const Text& line) { return isMarkLine(line, kBlockOpen); });
  if (!netStart && opensPartBlock && !input.holdsWholeFile()) {
    lines = upperCased(input.allLines());
    netStart = netStartOf(lines);
  }
  head.netBlocksBegin = netStart.has_value();
  if (!netStart) return head;

  bool insideBlock = false;
  for (std::size_t lineIndex = 0; lineIndex < netStart->line; ++lineIndex) {
    const Text& line = lines[lineIndex];
    if (isMarkLine(line, kBlockOpen) || isMarkLine(line, kBlockClose)) {
      insideBlock = isMarkLine(line, kBlockOpen);
    } else if (insideBlock) {
      const Text field = fieldOf(line, FieldText::Squeezed);
      for (const KeywordField& keywordField : kKeywordFields) {
        if (field == keywordField.keyword) head.partBlocksHoldKeywords = true;
      }
    }
  }

  // The net blocks: "(", the name, one pin a line, ")".
  NetState state = NetState::Outside;
  std::size_t marks = 0;
  std::size_t marksAlone = 0;
  for (std::size_t lineIndex = netStart->line; lineIndex < lines.size(); ++lineIndex) {
    TextView content = trimmed(lines[lineIndex]);
    while (!content.empty() && content.front() == kQuote) content.remove_prefix(1);
    if (content.empty()) continue;
    if (content.front() == kNetOpen) {
      // "(" alone, or followed by the net's name alone.
      const TextView name = trimmed(content.substr(1));
      ++marks;
      if (name.find_first_of(u" \t()") == TextView::npos) ++marksAlone;
      state = name.empty() ? NetState::AwaitingName : NetState::Named;
    } else if (state == NetState::AwaitingName) {
      state = NetState::Named;
    } else if (state == NetState::Named && content.front() == kNetClose) {
      ++marks;
      if (content.size() == 1) ++marksAlone;
      state = NetState::Outside;
    } else if (state == NetState::Named) {
      const TextView pin = firstWord(content);
      if (pin.find(u',', 1) != TextView::npos) {
        ++head.pinsWithComma;
      } else if (pin.find(u'-', 1) != TextView::npos) {
        ++head.pinsWithDash;
      }
    }
  }
  head.netMarksStandAlone = isMostOf(marksAlone, marks);
  return head;
}

void readBlockNetlist(const ConversionContext& context, const std::filesystem::path& input, Text& status,
                      const BlockNetlistGrammar& grammar) {
  status = kStatusBad;
  std::vector<Text> lines = readLines(input, context.encoding);
  for (Text& line : lines) line = toUpper(line);
  Text partsLines;
  const std::optional<NetSectionStart> netStart = readPartBlocks(context, lines, grammar, partsLines);
  if (!netStart) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  writeWholeFile(context.netFile(), readNetBlocks(lines, *netStart, grammar.pinSeparators), context.encoding);
}

void writeBlockNetlist(const ConversionContext& context, const std::filesystem::path& output,
                       const BlockNetlistLayout& layout) {
  WholeFileOutput file(output, context.encoding);
  Text out = layout.header;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    appendLine(out, u"[");
    appendLine(out, part.get(kReference));
    appendLine(out, part.get(kOtherInformation));
    appendLine(out, part.get(kPartName));
    for (int emptyLine = 0; emptyLine < kEmptyLinesAfterPartName; ++emptyLine) appendLine(out, u"");
    appendLine(out, u"]");
    file.spill(out);
  }
  NetRecord net;
  bool netWritten = false;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    // A net without a name is left out: its first pin would read back as
    // the name of a net.
    if (net.get(kNetName).empty()) continue;
    netWritten = true;
    appendLine(out, u"(");
    appendLine(out, net.get(kNetName));
    const long long count = pinCount(net);
    for (long long pin = 0; pin < count; ++pin) {
      appendLine(out, pinWithFirstDotAs(net.get(kFirstPin + pin), layout.pinSeparator));
    }
    appendLine(out, u")");
    file.spill(out);
  }
  // The nets begin at the first "(": without a net, an empty block still
  // opens them, so that the file reads back as a netlist of this format.
  if (!netWritten) {
    appendLine(out, u"(");
    appendLine(out, u")");
  }
  file.commit(out);
}

}  // namespace korvanel
