#include "formats/sfx.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kPartsKeyword = u"*PARTS";
constexpr TextView kNetKeyword = u"*NET";
constexpr char16_t kQuote = u'\'';
constexpr char16_t kCommentMark = u'#';
constexpr char16_t kKeywordMark = u'*';
// Joins the quoted pieces of a pin: 'U1'/'7'.
constexpr char16_t kPieceJoint = u'/';

// The quote that closes each field of a parts line: reference, part name,
// part number and package. Fields after the package are not read.
constexpr int kReferenceClosed = 2;
constexpr int kPartNameClosed = 4;
constexpr int kPartNumberClosed = 6;
constexpr int kPackageClosed = 8;
// The part name of a part listed without one.
constexpr TextView kUnnamedPart = u"X";

bool isCommentLine(const Text& line) { return !line.empty() && line.front() == kCommentMark; }

struct PartsSection {
  bool partsKeywordFound = false;
  // The line after "*NET", or the number of lines when there is none.
  std::size_t firstNetLine = 0;
};

// Reads the lines up to "*NET". Every line after "*PARTS" that holds a quoted
// field gives one part.
PartsSection readPartsSection(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  PartsSection section;
  PartRecord part;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    if (isCommentLine(line)) continue;
    part.at(kPartName).clear();
    part.at(kReference).clear();
    part.at(kOtherInformation).clear();
    Text token;
    int quoteCount = 0;
    bool isPartsKeywordLine = false;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (token == kPartsKeyword) {
        section.partsKeywordFound = true;
        isPartsKeywordLine = true;
        break;
      }
      if (at.is(kQuote)) ++quoteCount;
      if (token == kNetKeyword) {
        section.firstNetLine = lineIndex + 1;
        return section;
      }
      const bool closesPartField = section.partsKeywordFound && at.is(kQuote);
      if (closesPartField && quoteCount == kReferenceClosed) {
        part.at(kReference) = std::move(token);
        token.clear();
      } else if (closesPartField && quoteCount == kPartNameClosed) {
        part.at(kPartName) = token.empty() ? Text(kUnnamedPart) : std::move(token);
        token.clear();
      } else if (closesPartField && quoteCount == kPartNumberClosed) {
        // The part number has no place in a part record; the package that
        // follows must not run into it.
        token.clear();
      } else if (closesPartField && quoteCount == kPackageClosed) {
        part.at(kOtherInformation) = std::move(token);
        token.clear();
        break;
      } else if (!at.isSpaceTabOrEmpty() && !at.is(kQuote)) {
        token += at.character;
      }
    }
    // An empty line, or one without a quoted field, lists no part.
    const bool listsAPart = quoteCount >= kReferenceClosed;
    if (section.partsKeywordFound && !isPartsKeywordLine && listsAPart) {
      appendPartsLine(context, part, partsLines);
    }
  }
  section.firstNetLine = lines.size();
  return section;
}

// The net name of a header line: the text before a "*" that stands after the
// line's second quote and before its third ('GND' *WIDTH= ...). Nothing when
// the line is not a header.
std::optional<Text> netHeaderName(const Text& line) {
  Text name;
  int quoteCount = 0;
  for (const char16_t character : line) {
    if (character == kQuote) {
      if (++quoteCount > 2) return std::nullopt;
    } else if (character == kKeywordMark && quoteCount == 2) {
      return name;
    } else if (character != u' ' && character != u'\t') {
      name += character;
    }
  }
  return std::nullopt;
}

// A line whose first word is a keyword (*END, *NET '') lists no pins.
bool isKeywordLine(const Text& line) {
  const std::size_t first = line.find_first_not_of(u" \t");
  return first != Text::npos && line[first] == kKeywordMark;
}

// The pins of a pin line. Pins are separated by blanks outside the quotes; a
// pin is one or more quoted pieces joined by "/", which becomes "." ('U1'/'7'
// gives U1.7, 'U17' gives U17, 'U1'/'A'/'1' gives U1.A.1). A "/" inside the
// quotes belongs to the piece, and blanks inside them are dropped. A word
// without quotes is no pin.
std::vector<Text> pinsOfLine(const Text& line) {
  std::vector<Text> pins;
  Text pin;
  bool insideQuotes = false;
  bool holdsQuotedPiece = false;
  for (std::size_t position = 0; position <= line.size(); ++position) {
    const CharacterAt at = characterAt(line, position);
    const bool endsPin = at.empty || (!insideQuotes && at.isSpaceTabOrEmpty());
    if (endsPin) {
      // Empty pieces alone ('' or ''/'') make no pin.
      const bool holdsText = pin.find_first_not_of(u'.') != Text::npos;
      if (holdsQuotedPiece && holdsText) pins.push_back(std::move(pin));
      pin.clear();
      holdsQuotedPiece = false;
    } else if (at.is(kQuote)) {
      insideQuotes = !insideQuotes;
      holdsQuotedPiece = true;
    } else if (at.is(kPieceJoint) && !insideQuotes) {
      pin += u'.';
    } else if (!at.isSpaceTabOrEmpty()) {
      pin += at.character;
    }
  }
  return pins;
}

// Reads the nets from `first` to the end of the input. A header opens a net,
// and the pin lines after it give its pins; a header without a name opens
// none, and pins outside a net are left out.
Text readNetSection(const std::vector<Text>& lines, std::size_t first) {
  Text netLines;
  NetRecord net;
  long long nextElement = kFirstPin;
  bool netOpen = false;
  auto finishNet = [&] {
    appendNetLine(net, nextElement, netLines);
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    if (lines[lineIndex].empty() || isCommentLine(lines[lineIndex])) continue;
    const Text line = toUpper(lines[lineIndex]);
    if (const std::optional<Text> name = netHeaderName(line)) {
      if (netOpen) finishNet();
      netOpen = !name->empty();
      net.at(kNetName) = *name;
      nextElement = kFirstPin;
      continue;
    }
    if (isKeywordLine(line)) continue;
    for (Text& pin : pinsOfLine(line)) {
      if (netOpen) net.at(nextElement++) = std::move(pin);
    }
  }
  if (netOpen) finishNet();
  return netLines;
}

constexpr TextView kHeaderLines[] = {
    u"#",
    u"#---------- header -------------------------------------",
    u"#",
    u"\t*TITLE\t\t''",
    u"\t*DATE\t\t''",
    u"\t*REVISION\t''",
    u"\t*DATABASE\t''",
    u"\t*POWER\t\t''",
    u"\t*GROUND\t\t''",
    u"\t*TYPE\t\t''",
    u"#",
    u"#---------- part -------------------------------------",
    u"#",
    u"    *PARTS *REFNO *PARTSNAME *PARTSNUM *PACKAGE *VALUE *RATING *TOLERANCE *CELL *GROUP *OFFSET *ANGLE "
    u"*SYMBOL *SPEC *SWITCH *ADD1 *ADD2 *ADD3 *ADD4 *ADD5 *ADD6 *ADD7 *ADD8 ",
};

constexpr TextView kNetSectionLines[] = {
    u"#",
    u"#---------- net --------------------------------------",
    u"#",
    u"    *NET ''",
    u"#\t name -- pin1 ---------- pin2 ---------- pin3 ---------- pin4 ----------",
};

constexpr TextView kNetAttributes = u"\t*WIDTH= 0.200\t*NETATTR= 'NetClass {Default_Net_Class} PatternWidth {0.20}'";

// The empty fields of a parts line after the package: VALUE to ADD8.
constexpr int kFieldsAfterPackage = 18;

// A TAB and `value` in single quotes.
void appendQuotedField(Text& out, TextView value) {
  out += u"\t'";
  out += value;
  out += kQuote;
}

// Each dot-separated piece of a pin in single quotes, the pieces joined by
// "/": U1.7 becomes 'U1'/'7', U17 becomes 'U17'.
void appendPinReference(Text& out, TextView pin) {
  out += kQuote;
  for (const char16_t character : pin) {
    if (character == u'.') {
      out += u"'/'";
    } else {
      out += character;
    }
  }
  out += kQuote;
}

}  // namespace

constexpr TextView kSectionPrefixes[] = {kPartsKeyword, kNetKeyword};

const FormatLimits kSfxLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u"'", .carriesEmpty = false},
    .reference = {.syntaxCharacters = u"'", .prefixes = kSectionPrefixes},
    .pinName = {.syntaxCharacters = u"'"},
    .partName = {.syntaxCharacters = u"'", .prefixes = kSectionPrefixes, .carriesEmpty = false},
    .package = {.syntaxCharacters = u"'", .prefixes = kSectionPrefixes},
    .carriesPinOfDotsAlone = false,
};

void mnsfxin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  Text partsLines;
  const PartsSection parts = readPartsSection(context, lines, partsLines);
  if (!parts.partsKeywordFound) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  writeWholeFile(context.netFile(), readNetSection(lines, parts.firstNetLine), context.encoding);
}

ProbeFit probeSfx(const ProbeInput& input) {
  // The reader's walk up to its keywords: the text of a line without blanks,
  // tabs and quotes grows until it reads "*PARTS" or "*NET".
  const std::vector<Text> lines = upperCased(input.lines());
  std::optional<bool> partsBeforeNets;
  for (const Text& line : lines) {
    if (isCommentLine(line)) continue;
    Text token;
    for (const char16_t character : line) {
      if (character != u' ' && character != u'\t' && character != kQuote) token += character;
    }
    if (token.starts_with(kPartsKeyword)) partsBeforeNets = true;
    if (token.starts_with(kNetKeyword)) partsBeforeNets = false;
    if (partsBeforeNets.has_value()) break;
  }
  if (!partsBeforeNets.value_or(false)) return ProbeFit::None;
  const bool holdsHeader = std::any_of(lines.begin(), lines.end(), [](const Text& line) {
    return line.starts_with(u"#---------- HEADER") || blanksRemoved(line).starts_with(u"*PARTS*REFNO");
  });
  if (holdsHeader) return ProbeFit::Header;
  const bool keywordAsAWord = std::any_of(lines.begin(), lines.end(), [](const Text& line) {
    return !isCommentLine(line) && firstWord(line) == kPartsKeyword;
  });
  return keywordAsAWord ? ProbeFit::Keywords : ProbeFit::Accepted;
}

void mnsfxout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out;
  for (const TextView line : kHeaderLines) {
    out += line;
    out += kCrLf;
  }

  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    appendQuotedField(out, part.get(kReference));
    appendQuotedField(out, part.get(kPartName));
    appendQuotedField(out, u"");
    appendQuotedField(out, part.get(kOtherInformation));
    for (int field = 0; field < kFieldsAfterPackage; ++field) appendQuotedField(out, u"");
    out += kCrLf;
    file.spill(out);
  }

  for (const TextView line : kNetSectionLines) {
    out += line;
    out += kCrLf;
  }

  // Pins four to a line, each line beginning with two TABs. A net without
  // pins keeps its pin line, holding the opening TAB alone, so that the next
  // header starts a line of its own.
  constexpr long long kPinsPerLine = 4;
  const WrappedPinList pinLines{.beforeEachPin = u"\t",
                                .betweenPins = u"",
                                .afterLastPin = u"",
                                .pinsOnFirstLine = kPinsPerLine,
                                .pinsOnLaterLines = kPinsPerLine,
                                .lineEnd = kCrLf,
                                .continuationIndent = u"\t"};
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendQuotedField(out, net.get(kNetName));
    out += kNetAttributes;
    out += kCrLf;
    out += u'\t';
    appendWrappedPins(out, pinCount(net), pinLines, [&](Text& pinLine, long long position) {
      appendPinReference(pinLine, net.get(kFirstPin + position));
    });
    out += kCrLf;
    file.spill(out);
  }
  file.commit(out);
}

}  // namespace korvanel
