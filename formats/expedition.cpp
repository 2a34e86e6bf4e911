#include "formats/expedition.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/field_limits.h"
#include "core/errors.h"
#include "core/line_walk.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

constexpr TextView kPartSectionStart = u"%Part";
constexpr char16_t kFieldQuote = u'\\';
constexpr char16_t kContinuationMark = u'*';
constexpr char16_t kDirectiveMark = u'%';
// Between the reference and the pin number of a written pin.
constexpr TextView kPinSeparator = u"\\-\\";

// Net lines the reader keeps before joining them (entries 0 to 20000).
constexpr std::size_t kMostNetLines = kRecordLastIndex + 1;

bool beginsWith(const Text& line, char16_t character) { return !line.empty() && line.front() == character; }

// The part section begins at "%Part", in any letter case.
bool startsPartSection(const Text& line) {
  return line.size() == kPartSectionStart.size() && toUpper(line) == toUpper(kPartSectionStart);
}

// Reads the part lines after "%Part" to the end of the file. The first field
// of a line (the text between two backslashes) is the part name, every later
// field a reference, which gives one part; a line that begins with "*"
// continues the part name of the line before.
Text readPartSection(const ConversionContext& context, const std::vector<Text>& lines) {
  Text partsLines;
  const auto sectionStart = std::find_if(lines.begin(), lines.end(), startsPartSection);
  if (sectionStart == lines.end()) return partsLines;
  PartRecord part;
  bool partNameRead = false;
  for (auto line = sectionStart + 1; line != lines.end(); ++line) {
    if (!beginsWith(*line, kContinuationMark)) {
      part.at(kPartName).clear();
      partNameRead = false;
    }
    part.at(kReference).clear();
    part.at(kOtherInformation).clear();
    const Text upper = toUpper(*line);
    bool insideField = false;
    Text token;
    for (std::size_t position = 0; position <= upper.size(); ++position) {
      const CharacterAt at = characterAt(upper, position);
      if (at.is(kFieldQuote) && !insideField) {
        insideField = true;
        token.clear();
      } else if (at.is(kFieldQuote)) {
        // A field closes at its second backslash, also when it is empty
        // (\\ is an empty part name or reference).
        insideField = false;
        if (!partNameRead) {
          part.at(kPartName) = token;
          partNameRead = true;
        } else {
          part.at(kReference) = token;
          appendPartsLine(context, part, partsLines);
        }
      } else if (insideField && !at.isSpaceTabOrEmpty() && !at.is(kContinuationMark)) {
        // Blanks, tabs and "*" are dropped wherever they stand.
        token += at.character;
      }
    }
  }
  return partsLines;
}

// Where the walk of a net line stands.
enum class NetMode {
  BetweenNets,
  Name,             // inside the net name
  BeforeReference,  // after the name or after a whole pin
  Reference,        // inside a reference
  BeforePinNumber,  // after a reference, before "-\"
  PinNumber,        // inside a pin number
};

// Reads the net lines up to "%Part" into one intermediate net line per net
// line of the file, in file order. A net is complete when a line that does
// not begin with "*" follows it, or the section or the file ends.
std::vector<Text> readNetSection(const std::vector<Text>& lines) {
  std::vector<Text> netLines;
  NetRecord net;
  bool netOpen = false;
  long long nextPin = kFirstPin;
  NetMode mode = NetMode::BetweenNets;
  // A reference that is not followed by "-\pin\" is a pin by itself; an
  // empty one is no pin.
  auto countReferenceAsPin = [&] {
    if (!net.get(nextPin).empty()) ++nextPin;
    mode = NetMode::BeforeReference;
  };
  auto finishNet = [&] {
    ensureRoomInList(netLines.size(), kMostNetLines, "net lines");
    net.at(kPinCount) = decimalText(nextPin - kFirstPin);
    mnrkout(net, netLines.emplace_back());
    netOpen = false;
    mode = NetMode::BetweenNets;
  };

  for (const Text& rawLine : lines) {
    if (netOpen && !beginsWith(rawLine, kContinuationMark)) finishNet();
    if (beginsWith(rawLine, kFieldQuote)) {
      mode = NetMode::Name;
    } else if (startsPartSection(rawLine)) {
      break;
    }
    if (rawLine.empty() || beginsWith(rawLine, kDirectiveMark)) continue;
    // The first character (the name's backslash or the "*") is not walked.
    const Text line = toUpper(rawLine);
    Text token;
    for (std::size_t position = 1; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool quote = at.is(kFieldQuote);
      if (mode == NetMode::Name && quote) {
        net.at(kNetName) = std::move(token);
        token.clear();
        netOpen = true;
        nextPin = kFirstPin;
        mode = NetMode::BeforeReference;
      } else if (mode == NetMode::BeforeReference && quote) {
        token.clear();
        mode = NetMode::Reference;
      } else if (mode == NetMode::Reference && quote) {
        net.at(nextPin) = std::move(token);
        token.clear();
        mode = NetMode::BeforePinNumber;
      } else if (mode == NetMode::BeforePinNumber && quote) {
        // "-\" opens the pin number; a backslash after nothing but blanks
        // opens the next reference.
        const bool pinNumberFollows = !token.empty();
        token.clear();
        if (pinNumberFollows) {
          mode = NetMode::PinNumber;
        } else {
          countReferenceAsPin();
          mode = NetMode::Reference;
        }
      } else if (mode == NetMode::PinNumber && quote) {
        net.at(nextPin) += u'.';
        net.at(nextPin) += token;
        token.clear();
        ++nextPin;
        mode = NetMode::BeforeReference;
      } else if (!at.isSpaceTabOrEmpty() && !at.is(u',')) {
        token += at.character;
      }
    }
    if (mode == NetMode::BeforePinNumber) countReferenceAsPin();
  }
  if (netOpen) finishNet();
  return netLines;
}


}  // namespace

const FormatLimits kExpeditionLimits = [] {
  // A field in which the reader takes each of `characters` as syntax or drops it.
  auto fieldDropping = [](TextView characters) {
    FieldLimits field;
    field.syntaxCharacters = characters;
    return field;
  };
  FormatLimits limits;
  limits.readerUpperCases = true;
  limits.netName = fieldDropping(u"\\,");
  limits.reference = fieldDropping(u"\\,*");
  // An empty pin is written "\\" and the reader leaves it out.
  limits.reference.carriesEmpty = false;
  limits.pinName = fieldDropping(u"\\,");
  limits.partName = fieldDropping(u"\\*");
  // %Part lines hold a part name and a reference, no package.
  limits.carriesPackage = false;
  return limits;
}();

void mnexpin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  const std::vector<Text> lines = readLines(input, context.encoding);
  const Text partsLines = readPartSection(context, lines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  const std::vector<Text> netLines = readNetSection(lines);
  // The writer always writes the "%Part" line, so a board without parts and
  // nets is recognised by it.
  const bool holdsPartSection = std::any_of(lines.begin(), lines.end(), startsPartSection);
  if (partsLines.empty() && netLines.empty() && !holdsPartSection) {
    context.host.hideProgress();
    status = kStatusBad;
    return;
  }
  // Net lines of one name become one net at the place of the first.
  writeWholeFile(context.netFile(), mergeNetsByName(netLines), context.encoding);
}

ProbeFit probeExpedition(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  const bool holdsPartSection = std::any_of(lines.begin(), lines.end(), startsPartSection);
  if (!holdsPartSection && readNetSection(lines).empty() && readPartSection(probeContext(), lines).empty()) {
    return ProbeFit::None;
  }
  const bool writersHeader = lines.size() >= 2 && lines[0].starts_with(u";;") && toUpper(lines[1]) == u"%NET";
  if (writersHeader) return ProbeFit::Header;
  std::size_t contentLines = 0;
  std::size_t fieldLines = 0;
  for (const Text& line : lines) {
    if (line.empty() || beginsWith(line, kDirectiveMark) || line.starts_with(u";;")) continue;
    ++contentLines;
    if (beginsWith(line, kFieldQuote) || beginsWith(line, kContinuationMark)) ++fieldLines;
  }
  return isMostOf(fieldLines, contentLines) ? ProbeFit::Shape : ProbeFit::Accepted;
}

void mnexpout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out;
  for (const TextView headerLine : {u";; V4.1.0", u"%net", u"%Prior=1", u"", u"%page=0"}) {
    out += headerLine;
    out += kCrLf;
  }

  // A net line holds "\name\" and four blanks, then "\ref\-\pin\ " for each
  // pin; a pin that would take the line past column 78 starts a continuation
  // line "*  ".
  constexpr std::size_t kLastNetColumn = 78;
  constexpr std::size_t kNameColumns = 6;          // two backslashes, four blanks
  constexpr std::size_t kPinColumnsBeyondDot = 5;  // backslashes, "-" and the blank after
  constexpr TextView kNetContinuation = u"*  ";
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    const Text& name = net.get(kNetName);
    out += kFieldQuote;
    out += name;
    out += kFieldQuote;
    appendSpaces(out, 4);
    std::size_t columns = name.size() + kNameColumns;
    const long long count = pinCount(net);
    for (long long pinIndex = 0; pinIndex < count; ++pinIndex) {
      const Text& pin = net.get(kFirstPin + pinIndex);
      columns += pin.size() + kPinColumnsBeyondDot;
      if (columns > kLastNetColumn) {
        out += kCrLf;
        out += kNetContinuation;
        columns = kNetContinuation.size() + pin.size() + kPinColumnsBeyondDot;
      }
      out += kFieldQuote;
      out += pinWithFirstDotAs(pin, kPinSeparator);
      out += kFieldQuote;
      out += u' ';
    }
    out += kCrLf;
    file.spill(out);
  }
  out += kCrLf;

  // Parts sorted as parts lines (package, part name, reference), one line per
  // run of one part name: "\name\", three blanks, then " \ref\" for each
  // reference. While the running length stays below 76 a reference joins the
  // line; otherwise it starts a continuation line "* ".
  constexpr long long kPartLineLength = 76;
  constexpr long long kReferenceColumns = 3;        // " \" and "\"
  constexpr long long kNameAndFirstReference = 8;   // backslashes, blanks
  constexpr long long kContinuedNameColumns = 5;
  const std::vector<Text> sortedParts = sortPartsFile(context, EmptyLineAfterParts::No);
  out += kPartSectionStart;
  out += kCrLf;
  PartRecord part;
  // Nothing before the first part, so that it always opens a line of its
  // own, even when its part name is empty.
  std::optional<Text> previousName;
  long long runningLength = 0;
  for (const Text& line : sortedParts) {
    mprk1in(part, line);
    const Text& name = part.get(kPartName);
    const Text& reference = part.get(kReference);
    const bool samePartName = previousName && *previousName == name;
    if (samePartName) {
      runningLength += static_cast<long long>(reference.size()) + kReferenceColumns;
      if (runningLength >= kPartLineLength) {
        out += u' ';
        out += kCrLf;
        out += u"* ";
        runningLength = static_cast<long long>(name.size()) + kContinuedNameColumns;
      }
    } else {
      if (previousName) {
        out += u' ';
        out += kCrLf;
      }
      out += kFieldQuote;
      out += name;
      out += kFieldQuote;
      appendSpaces(out, 3);
      runningLength = static_cast<long long>(name.size() + reference.size()) + kNameAndFirstReference;
    }
    out += u" \\";
    out += reference;
    out += kFieldQuote;
    previousName = name;
    file.spill(out);
  }
  if (previousName) {
    out += u' ';
    out += kCrLf;
  }
  file.commit(out);
}

}  // namespace korvanel
