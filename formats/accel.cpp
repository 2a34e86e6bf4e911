#include "formats/accel.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

// The keywords as the reader sees them: every line is upper-cased first.
constexpr TextView kComponentKeyword = u"(COMPINST";
constexpr TextView kPatternNameKeyword = u"(PATTERNNAME";
constexpr TextView kValueKeyword = u"(COMPVALUE";
constexpr TextView kNetKeyword = u"(NET";
constexpr TextView kNodeKeyword = u"(NODE";
constexpr TextView kNetlistKeyword = u"(NETLIST";

// What follows the pin number of a net's last node: "))" closes the node and
// the net, ")))" also the netlist.
bool closesNet(TextView closers) { return closers == u"))" || closers == u")))"; }

// Every line of the input, upper-cased.
std::vector<Text> readUpperCaseLines(const ConversionContext& context, const std::filesystem::path& input) {
  std::vector<Text> lines = readLines(input, context.encoding);
  for (Text& line : lines) line = toUpper(line);
  return lines;
}

// ---------------------------------------------------------------------------
// Parts section

// The quoted text of a component that the reader waits for.
enum class ComponentField { none, patternName, reference, value };

// The component being read. A component begins at its "(COMPINST" with an
// empty pattern name, reference and value, and is complete once its value has
// been read, an empty value too. A complete component is written at the end
// of the line that completed it; one without a value is written when the next
// component or the nets begin.
class ComponentCollector {
 public:
  ComponentCollector(const ConversionContext& context, Text& partsLines)
      : context_(context), partsLines_(partsLines) {}

  void begin() {
    writeWaiting();
    record_.at(kPartName).clear();
    record_.at(kReference).clear();
    record_.at(kOtherInformation).clear();
    waiting_ = true;
  }

  void set(int element, Text text) { record_.at(element) = std::move(text); }

  void completeWithValue(Text value) {
    record_.at(kOtherInformation) = std::move(value);
    waiting_ = true;
    complete_ = true;
  }

  void writeIfComplete() {
    if (complete_) writeWaiting();
  }

  void writeWaiting() {
    if (!waiting_) return;
    appendPartsLine(context_, record_, partsLines_);
    record_.at(kOtherInformation).clear();
    waiting_ = false;
    complete_ = false;
  }

 private:
  const ConversionContext& context_;
  Text& partsLines_;
  PartRecord record_;
  bool waiting_ = false;
  bool complete_ = false;
};

// Where the components end.
struct ComponentsEnd {
  // The line that holds the first net; none when the input has no net.
  std::optional<std::size_t> firstNetLine;
  // The input opens a (netlist ...) list and names no node: without a net it
  // is an empty netlist, as the writer writes a board without nets.
  bool isEmptyNetlist = false;
};

// Reads the components up to the first net into `partsLines`.
ComponentsEnd readComponents(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  ComponentCollector component(context, partsLines);
  ComponentField field = ComponentField::none;
  bool opensNetlist = false;
  bool namesANode = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    // The token and the quote count live for one line; the field state
    // carries over, so a keyword may stand on the line before its text.
    Text token;
    int quoteCount = 0;
    auto takeQuotedText = [&] {
      Text quotedText = std::move(token);
      token.clear();
      quoteCount = 0;
      field = ComponentField::none;
      return quotedText;
    };
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // The character after a keyword and the one after a closing quote are
      // used up by the rule that fires on them. A keyword stands before any
      // quote of its list: a quoted name that reads like one is a name.
      const bool quotedTextClosed = quoteCount == 2;
      const bool outsideQuotes = quoteCount == 0;
      const bool keywordEnds = outsideQuotes && at.isSpaceTabOrEmpty();
      if (token == kNetlistKeyword && keywordEnds) opensNetlist = true;
      if (token == kNodeKeyword && keywordEnds) namesANode = true;
      if (at.is(u'"')) {
        ++quoteCount;
      } else if (token == kValueKeyword && outsideQuotes) {
        token.clear();
        field = ComponentField::value;
      } else if (field == ComponentField::value && quotedTextClosed) {
        component.completeWithValue(takeQuotedText());
      } else if (token == kNetKeyword && at.isSpace() && outsideQuotes) {
        component.writeWaiting();
        return {lineIndex};
      } else if (token == kPatternNameKeyword && outsideQuotes) {
        token.clear();
        field = ComponentField::patternName;
      } else if (field == ComponentField::patternName && quotedTextClosed) {
        component.set(kPartName, takeQuotedText());
      } else if (token == kComponentKeyword && outsideQuotes) {
        component.begin();
        token.clear();
        field = ComponentField::reference;
      } else if (field == ComponentField::reference && quotedTextClosed) {
        component.set(kReference, takeQuotedText());
      } else if (at.is(u'(') && quoteCount % 2 == 0) {
        // A list opens outside the quotes: its keyword starts a new token and
        // its quoted texts are counted afresh.
        token.assign(1, u'(');
        quoteCount = 0;
      } else if (!at.isSpaceTabOrEmpty() && !at.is(u')')) {
        token += at.character;  // double quotes are counted above, never collected
      }
    }
    component.writeIfComplete();
  }
  component.writeWaiting();
  return {std::nullopt, opensNetlist && !namesANode};
}

// ---------------------------------------------------------------------------
// Nets section

struct NetName {
  Text text;
  // Where the walk of the line goes on; past the end when the name ran to it.
  std::size_t resumeAt = 0;
};

// The net name that begins at `position`, the blank after "(NET": the quoted
// name without blanks. The walk of the line goes on after its closing quote,
// so (net "NC") is the net NC. A name without quotes, or without its closing
// quote, runs to the end of the line.
NetName readNetName(TextView line, std::size_t position) {
  NetName name;
  int quoteCount = 0;
  for (; position < line.size(); ++position) {
    const char16_t character = line[position];
    if (character == u'"') {
      if (++quoteCount == 2) {
        name.resumeAt = position + 1;
        return name;
      }
    } else if (character != u' ') {
      name.text += character;
    }
  }
  name.resumeAt = line.size() + 1;
  return name;
}

struct Node {
  // Set when the reference's closing quote was read: only then is it a pin.
  bool hasReference = false;
  // The reference, "." and the pin number (U1.7).
  Text pin;
  // What follows the pin number without blanks, tabs and double quotes: ")"
  // after a node, "))" or ")))" after the last node of a net.
  Text closers;
  std::size_t resumeAt = 0;
};

// The node that begins at `position`, the character after "(NODE". The first
// quoted text is the reference and the second the pin number; an empty pin
// number, as written for a pin without ".", gives the reference alone. The
// node runs to the end of the line, or to a "(" outside the quotes after its
// reference, where the next node or net of the same line begins.
Node readNode(TextView line, std::size_t position) {
  Node node;
  Text token;
  int quoteCount = 0;
  for (; position <= line.size(); ++position) {
    const CharacterAt at = characterAt(line, position);
    const bool nextListOpens = at.is(u'(') && quoteCount >= 2 && quoteCount % 2 == 0;
    if (at.is(u'"')) {
      ++quoteCount;
      if (quoteCount == 2) {
        node.pin = std::move(token);
        token.clear();
        node.hasReference = true;
      } else if (quoteCount == 4 && !token.empty()) {
        node.pin += u'.';
        node.pin += token;
        token.clear();
      }
    } else if (nextListOpens) {
      break;
    } else if (!at.isSpaceTabOrEmpty()) {
      token += at.character;
    }
  }
  node.closers = std::move(token);
  node.resumeAt = position;
  return node;
}

// Reads the nets from the line that holds the first one to the end.
Text readNets(const std::vector<Text>& lines, std::size_t firstNetLine) {
  Text netLines;
  NetRecord record;
  long long nextElement = kFirstPin;
  bool netIsOpen = false;
  auto finishOpenNet = [&] {
    if (!netIsOpen) return;
    appendNetLine(record, nextElement, netLines);
    nextElement = kFirstPin;
    netIsOpen = false;
  };

  for (std::size_t lineIndex = firstNetLine; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    Text token;
    std::size_t position = 0;
    while (position <= line.size()) {
      const CharacterAt at = characterAt(line, position);
      std::size_t nextPosition = position + 1;
      if (token == kNetKeyword && at.isSpace()) {
        // A net left open (its closers on lines of their own, or missing)
        // ends where the next one begins.
        finishOpenNet();
        NetName name = readNetName(line, position);
        record.at(kNetName) = std::move(name.text);
        nextElement = kFirstPin;
        netIsOpen = true;
        token.clear();
        nextPosition = name.resumeAt;
      } else if (token == kNodeKeyword) {
        Node node = readNode(line, position);
        if (netIsOpen && node.hasReference) record.at(nextElement++) = std::move(node.pin);
        if (closesNet(node.closers)) finishOpenNet();
        token.clear();
        nextPosition = node.resumeAt;
      } else if (at.is(u',')) {
        // skipped
      } else if (closesNet(token) && netIsOpen) {
        finishOpenNet();
        token.clear();
      } else if (at.is(u'(')) {
        token.assign(1, u'(');  // a list opens: its keyword starts a new token
      } else if (!at.isSpaceTabOrEmpty() && !at.is(u'"')) {
        token += at.character;
      }
      position = nextPosition;
    }
  }
  // The last net, when the netlist's closers stand on lines of their own.
  finishOpenNet();
  return netLines;
}

// ---------------------------------------------------------------------------
// Writer

void appendQuoted(Text& out, TextView text) {
  out += u'"';
  out += text;
  out += u'"';
}

// "    (node ", the reference and the pin number in double quotes. The pin is
// split at its first "."; a pin without one is all reference with an empty
// pin number, and so a pin with an empty pin number (U1.) reads back without
// its ".".
void appendNode(Text& out, TextView pin) {
  const std::size_t separator = pin.find(u'.');
  const bool hasPinNumber = separator != TextView::npos;
  out += u"    (node ";
  appendQuoted(out, hasPinNumber ? pin.substr(0, separator) : pin);
  out += u' ';
  appendQuoted(out, hasPinNumber ? pin.substr(separator + 1) : TextView());
}

}  // namespace

const FormatLimits kAccelLimits{
    .readerUpperCases = true,
    // A quoted text ends at its second double quote.
    .netName = {.syntaxCharacters = u"\""},
    // The reader drops ")" inside the quoted texts of a component.
    .reference = {.syntaxCharacters = u"\")"},
    .pinName = {.syntaxCharacters = u"\"", .carriesEmpty = false},
    .partName = {.syntaxCharacters = u"\")"},
    .package = {.syntaxCharacters = u"\")"},
};

void mnaccin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readUpperCaseLines(context, input);
  Text partsLines;
  const ComponentsEnd components = readComponents(context, lines, partsLines);
  if (!components.firstNetLine && !components.isEmptyNetlist) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  const Text netLines = components.firstNetLine ? readNets(lines, *components.firstNetLine) : Text();
  writeWholeFile(context.netFile(), netLines, context.encoding);
}

ProbeFit probeAccel(const ProbeInput& input) {
  const auto accepts = [](const std::vector<Text>& upperLines, bool wholeFile) {
    Text partsLines;
    const ComponentsEnd components = readComponents(probeContext(), upperLines, partsLines);
    // Without a net, only the whole file tells an empty netlist.
    return components.firstNetLine || (wholeFile && components.isEmptyNetlist);
  };
  const std::vector<Text> lines = upperCased(input.lines());
  const bool opensNetlist = firstWord(firstNonEmptyLine(lines)) == kNetlistKeyword;
  // Many components may put the first net beyond the head.
  const bool accepted = accepts(lines, input.holdsWholeFile()) ||
                        (opensNetlist && !input.holdsWholeFile() && accepts(upperCased(input.allLines()), true));
  if (!accepted) return ProbeFit::None;
  if (opensNetlist) return ProbeFit::Header;
  const bool namesANode =
      std::any_of(lines.begin(), lines.end(), [](const Text& line) { return line.find(kNodeKeyword) != Text::npos; });
  return namesANode ? ProbeFit::Keywords : ProbeFit::Shape;
}

void mnaccout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out(u"(netlist \"\"");
  out += kCrLf;

  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    out += u"  (compinst ";
    appendQuoted(out, part.get(kReference));
    out += kCrLf;
    out += u"    (patternName ";
    appendQuoted(out, part.get(kPartName));
    out += u")";
    out += kCrLf;
    out += u"    (compvalue ";
    appendQuoted(out, part.get(kOtherInformation));
    out += u"))";
    out += kCrLf;
    file.spill(out);
  }

  // A net's last line carries the closers of its last node and of the net;
  // its line end comes before the next net.
  NetRecord net;
  bool firstNet = true;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    if (!firstNet) out += kCrLf;
    firstNet = false;
    out += u"  (net ";
    appendQuoted(out, net.get(kNetName));
    const long long count = pinCount(net);
    if (count <= 0) {
      out += u')';  // a net without pins closes on its own line
      continue;
    }
    out += kCrLf;
    for (long long pin = 1; pin <= count; ++pin) {
      appendNode(out, net.get(kFirstPin + pin - 1));
      const bool lastPin = pin == count;
      if (lastPin) {
        out += u"))";
      } else {
        out += u')';
        out += kCrLf;
      }
    }
    file.spill(out);
  }
  out += u')';
  file.commit(out);
}

}  // namespace korvanel
