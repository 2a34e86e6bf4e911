#include "formats/csi.h"

#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kPartsStart = u".COM";
constexpr TextView kPartsEnd = u".EODCOM";
constexpr TextView kNetsStart = u".NET";
constexpr char16_t kCommentMark = u'*';
// Every ":" begins a net header ("SIGNAL:").
constexpr char16_t kNetHeaderMark = u':';
constexpr TextView kNetEnd = u"}";
constexpr char16_t kKeywordMark = u'.';

struct PartSection {
  bool partsKeywordFound = false;
  // The line after ".NET", or the number of lines when there is none.
  std::size_t firstNetLine = 0;
};

// Reads the part lines up to ".NET". The keywords count where they begin a
// line. A field is stored when a tab or blank ends it: the first is the
// reference, the second the part name, each further one replaces the
// other information; a line's last field is never stored.
PartSection readPartSection(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  PartSection section;
  PartRecord part;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    part.at(kPartName).clear();
    part.at(kReference).clear();
    part.at(kOtherInformation).clear();
    int fieldCount = 0;
    Text token;
    bool leftEarly = false;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool isCommentLine = position == 0 && at.is(kCommentMark);
      if (isCommentLine || token == kPartsEnd) {
        leftEarly = true;
        break;
      }
      if (token == kNetsStart) {
        section.firstNetLine = lineIndex + 1;
        return section;
      }
      if (token == kPartsStart) {
        section.partsKeywordFound = true;
        leftEarly = true;
        break;
      }
      const bool endsField = (at.isSpace() || at.isTab()) && !token.empty();
      if (endsField) {
        const int element = fieldCount == 0 ? kReference : fieldCount == 1 ? kPartName : kOtherInformation;
        part.at(element) = std::move(token);
        token.clear();
        if (fieldCount < 2) ++fieldCount;
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
    if (!leftEarly && !part.get(kPartName).empty()) {
      appendPartsLine(context, part, partsLines);
    }
  }
  section.firstNetLine = lines.size();
  return section;
}

// A line whose first word begins with "." (.EODNET, .WID, .end of file).
bool isKeywordLine(const Text& line) {
  const std::size_t first = line.find_first_not_of(u" \t");
  return first != Text::npos && line[first] == kKeywordMark;
}

// What the net section expects next.
enum class NetState { OutsideNet, NetName, PinReference, PinNumber };

// Reads the nets from `first` to the end of the input. A net is written when
// its "}" comes, or, when the "}" is missing, when the next header begins or
// the input ends, or a keyword line (.EODNET) comes, which is otherwise
// ignored. Fields end at a tab, a blank or the end of the line, and
// every line begins afresh, so a pin line with a reference alone gives no
// pin. A "}" ends a net only as a field of its own, not inside a pin.
Text readNetSection(const std::vector<Text>& lines, std::size_t first) {
  Text netLines;
  NetRecord net;
  long long nextElement = kFirstPin;
  NetState state = NetState::NetName;
  Text reference;
  auto finishOpenNet = [&] {
    const bool netOpen = state == NetState::PinReference || state == NetState::PinNumber;
    if (netOpen) {
      appendNetLine(net, nextElement, netLines);
    }
    net.at(kNetName).clear();
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    if (isKeywordLine(line)) {
      finishOpenNet();
      state = NetState::OutsideNet;
      continue;
    }
    if (state == NetState::PinNumber) state = NetState::PinReference;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (at.is(kNetHeaderMark)) {
        finishOpenNet();
        token.clear();
        state = NetState::NetName;
        continue;
      }
      if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
        continue;
      }
      if (token.empty()) continue;
      bool restOfLineIgnored = false;
      const bool closesNet = token == kNetEnd && (state == NetState::NetName || state == NetState::PinReference);
      if (closesNet) {
        finishOpenNet();
        state = NetState::OutsideNet;
      } else if (state == NetState::NetName) {
        // The " 0 {" after the name is left unread.
        net.at(kNetName) = std::move(token);
        nextElement = kFirstPin;
        state = NetState::PinReference;
        restOfLineIgnored = true;
      } else if (state == NetState::PinReference) {
        reference = std::move(token);
        state = NetState::PinNumber;
      } else if (state == NetState::PinNumber) {
        // The " 0" after the pin number is left unread.
        net.at(nextElement++) = reference + u"." + token;
        state = NetState::PinReference;
        restOfLineIgnored = true;
      }
      token.clear();
      if (restOfLineIgnored) break;
    }
  }
  finishOpenNet();
  return netLines;
}

// Where the reference of an intermediate pin ends: its first ".", when both
// the reference before it and the pin number after it are not empty.
std::size_t splittablePinDot(TextView pin) {
  const std::size_t dot = pin.find(u'.');
  const bool splittable = dot != TextView::npos && dot > 0 && dot + 1 < pin.size();
  return splittable ? dot : TextView::npos;
}

}  // namespace

constexpr TextView kDotKeywords[] = {kPartsStart, kPartsEnd, kNetsStart};
constexpr TextView kNetEndWord[] = {u"}"};

const FormatLimits kCsiLimits{
    .readerUpperCases = true,
    // A net without a name reads back named by the word after it.
    .netName = {.syntaxCharacters = u":", .carriesEmpty = false},
    .reference = {.syntaxCharacters = u":",
                  .syntaxFirstCharacters = u"*",
                  .keywords = kNetEndWord,
                  .prefixes = kDotKeywords,
                  .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u":", .carriesEmpty = false},
    // A pin without "." cannot be written as reference and pin number and is
    // left out.
    .carriesPinWithoutName = false,
    // A part name such as ".COM" reads as a section keyword.
    .partName = {.syntaxCharacters = u":", .prefixes = kDotKeywords, .carriesEmpty = false},
    // The reader gives no package back.
    .carriesPackage = false,
    .package = {.syntaxCharacters = u":"},
};

void mncsiin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  Text partsLines;
  const PartSection parts = readPartSection(context, lines, partsLines);
  if (!parts.partsKeywordFound) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  writeWholeFile(context.netFile(), readNetSection(lines, parts.firstNetLine), context.encoding);
}

ProbeFit probeCsi(const ProbeInput& input) {
  // The reader's walk up to its keywords, word by word: a word that begins
  // with ".EODCOM" ends its line, one with ".NET" the parts, one with ".COM"
  // opens them.
  const std::vector<Text> lines = upperCased(input.lines());
  bool partsKeywordFound = false;
  for (const Text& line : lines) {
    if (line.starts_with(kCommentMark)) continue;
    std::size_t position = 0;
    bool lineEnds = false;
    while (!lineEnds && !partsKeywordFound) {
      position = line.find_first_not_of(u" \t", position);
      if (position == Text::npos) break;
      const TextView word = firstWord(TextView(line).substr(position));
      if (word.starts_with(kNetsStart)) return ProbeFit::None;
      partsKeywordFound = word.starts_with(kPartsStart);
      lineEnds = word.starts_with(kPartsEnd);
      position += word.size();
    }
    if (partsKeywordFound) break;
  }
  if (!partsKeywordFound) return ProbeFit::None;
  const TextView firstLine = firstNonEmptyLine(lines);
  const bool writersComment = firstLine.starts_with(kCommentMark) && firstLine.ends_with(u" ===> CSI NETLIST VER 1.0");
  return writersComment ? ProbeFit::Header : ProbeFit::Keywords;
}

void mncsiout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out = u"* ";
  out += context.inputFormatName;
  out += u" ===> CSI Netlist Ver 1.0";
  out += kCrLf;
  out += kPartsStart;
  out += kCrLf;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    out += part.get(kReference);
    out += u'\t';
    out += part.get(kPartName);
    out += u"\t***";
    out += kCrLf;
    file.spill(out);
  }
  out += kPartsEnd;
  out += kCrLf;
  out += kNetsStart;
  out += kCrLf;

  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    out += u"SIGNAL:\t";
    out += net.get(kNetName);
    out += u" 0 {";
    out += kCrLf;
    const long long count = pinCount(net);
    for (long long index = kFirstPin; index <= count + 1; ++index) {
      Text pin = net.get(index);
      // A pin is written as reference, blank, pin number; one without both
      // (U17, U1., .5) cannot be written so and is left out, since it would
      // read back as another pin.
      const std::size_t dot = splittablePinDot(pin);
      if (dot == TextView::npos) continue;
      pin[dot] = u' ';
      out += u'\t';
      out += pin;
      out += u" 0";
      out += kCrLf;
    }
    out += kNetEnd;
    out += kCrLf;
    file.spill(out);
  }
  for (const TextView trailer : {u".EODNET", u".WID", u".DEFWID 0.00 mil", u".EODWID", u".end of file"}) {
    out += trailer;
    out += kCrLf;
  }
  file.commit(out);
}

}  // namespace korvanel
