#include "formats/cadvance.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

constexpr TextView kPartsBlockKeyword = u"COMP";
constexpr TextView kNetsBlockKeyword = u"NETS";
constexpr char16_t kPinSeparator = u'-';

// A block header: the keyword as the first word of its line, followed by
// nothing but blanks and the "{" that opens the block. A part name, package
// or reference that begins with a keyword (COMPARATOR, NETSW1) or equals it
// is ordinary text, since a "[", "]" or "," follows it on its line.
bool isBlockHeader(TextView line, std::size_t position, const Text& token, bool tokenBeginsLine, TextView keyword) {
  if (!tokenBeginsLine || token != keyword) return false;
  const std::size_t next = line.find_first_not_of(u" \t", position);
  return next == TextView::npos || line[next] == u'{';
}

// Characters that a part line's fields keep: blanks, double quotes and the
// end of the line are dropped.
bool belongsToPartField(const CharacterAt& at) { return !at.isSpaceTabOrEmpty() && !at.is(u'"'); }

// Reads the part lines of the "comp {" block into `partsLines`; returns the
// index of the line after the "nets{" header, or nothing when there is none.
std::optional<std::size_t> readPartsBlock(const ConversionContext& context, const LineList& lines, Text& partsLines) {
  PartRecord record;
  bool insidePartsBlock = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    record.at(kPartName).clear();
    record.at(kReference).clear();
    record.at(kOtherInformation).clear();
    Text token;
    bool tokenBeginsLine = true;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (isBlockHeader(line, position, token, tokenBeginsLine, kPartsBlockKeyword)) {
        insidePartsBlock = true;
        break;
      }
      if (!insidePartsBlock) {
        if (belongsToPartField(at)) token += at.character;
        continue;
      }
      if (isBlockHeader(line, position, token, tokenBeginsLine, kNetsBlockKeyword)) {
        return lineIndex + 1;
      }
      const bool endsField = !token.empty() && (at.is(u']') || at.is(u',') || at.is(u'['));
      if (endsField) {
        // U1    [DIP14       ]={74HC00             , , , , };
        const int element = at.is(u'[') ? kReference : at.is(u']') ? kOtherInformation : kPartName;
        record.at(element) = std::move(token);
        token.clear();
        tokenBeginsLine = false;
        // Values after the part name are not read.
        if (element == kPartName) break;
      } else if (at.is(u'{')) {
        token.clear();
        tokenBeginsLine = false;
      } else if (belongsToPartField(at)) {
        token += at.character;
      }
    }
    // A line without a part name gives no part.
    if (!record.get(kPartName).empty()) {
      appendPartsLine(context, record, partsLines);
    }
  }
  return std::nullopt;
}

// A pin token as the intermediate form holds it. The writer puts a "-"
// between the reference and the pin number, so the separator is the last
// "-"; a "-" that begins the token or follows another "-" is the sign of a
// pin number (U2--5V) and stays. TA-101-1 becomes TA-101.1, U2--5V U2.-5V.
Text pinFromToken(const Text& token) {
  Text pin = token;
  for (std::size_t index = pin.size(); index-- > 1;) {
    if (pin[index] == kPinSeparator && pin[index - 1] != kPinSeparator) {
      pin[index] = u'.';
      break;
    }
  }
  return pin;
}

// Reads the net entries from `first` to the end: name ={pin,pin,...}; with
// the entry running on over line ends.
Text readNetsBlock(const LineList& lines, std::size_t first) {
  Text netLines;
  NetRecord record;
  Text token;
  bool netOpen = false;
  long long nextElement = kFirstPin;
  auto storePin = [&] {
    // An empty token (",;" or "={};") is no pin.
    if (!token.empty()) record.at(nextElement++) = pinFromToken(token);
    token.clear();
  };
  auto finishNet = [&] {
    storePin();
    appendNetLine(record, nextElement, netLines);
    record.at(kNetName).clear();
    netOpen = false;
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (at.is(u'=') && !netOpen) {
        record.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
        netOpen = true;
      } else if (at.is(u',')) {
        // A "," separates pins and is never part of one; with nothing
        // before it, it separates nothing.
        if (netOpen) storePin();
        token.clear();
      } else if (at.is(u';')) {
        // A ";" outside any entry ends nothing; the text before it is stray.
        if (netOpen) finishNet();
        token.clear();
      } else if (!at.isSpaceTabOrEmpty() && !at.is(u'{') && !at.is(u'}')) {
        token += at.character;
      }
    }
  }
  // An entry still open when the file ends keeps the pins read so far.
  if (netOpen) finishNet();
  return netLines;
}

// The intermediate pin U1.7 as reference-pin: the reference (the text before
// the first ".") padded to 6 characters, "-", a blank before a pin number of
// one character, the pin number (U1    - 7, U12   -10). A pin without "."
// is written as it stands.
void appendPin(Text& out, const Text& pin) {
  constexpr std::size_t kReferenceWidth = 6;
  const std::size_t dot = pin.find(u'.');
  if (dot == Text::npos) {
    out += pin;
    return;
  }
  appendPadded(out, TextView(pin).substr(0, dot), kReferenceWidth);
  out += kPinSeparator;
  const TextView pinNumber = TextView(pin).substr(dot + 1);
  if (pinNumber.size() == 1) out += u' ';
  out += pinNumber;
}

// `field` followed by spaces until `counted`, the characters of the line so
// far without its literals, reaches `column`. A field that passes the column
// gets no spaces, and the next field's spaces make up what they can.
void appendFieldUpTo(Text& out, std::size_t& counted, TextView field, std::size_t column) {
  const std::size_t room = counted < column ? column - counted : 0;
  appendPadded(out, field, room);
  counted += std::max(field.size(), room);
}

void appendLine(Text& out, TextView line) {
  out += line;
  out += kCrLf;
}

constexpr TextView kBlockIndent = u"        ";
constexpr std::size_t kEntryIndent = 16;

}  // namespace

const FormatLimits kCadvanceLimits = [] {
  FormatLimits limits;
  limits.readerUpperCases = true;
  limits.netName.syntaxCharacters = u" \t{}=;,";
  // A reference stands both in a part line and before the "-" of a pin.
  limits.reference.syntaxCharacters = u" \t\"{}[],;";
  limits.reference.carriesEmpty = false;
  // The reader splits a pin at its last "-" that does not follow another,
  // so a reference ending in "-" (N- before -1) loses it to the pin.
  limits.reference.syntaxLastCharacters = u"-";
  // A leading "-" (-5V) reads back too, but is reported with the rest.
  limits.pinName.syntaxCharacters = u" \t{},;-";
  // A pin without "." is written as it is, and the reader splits it at its
  // last "-" (TP-1 reads back as TP.1).
  limits.pinWithoutNameSyntaxCharacters = u"-";
  limits.partName.syntaxCharacters = u" \t\"{[],";
  limits.partName.carriesEmpty = false;
  limits.package.syntaxCharacters = u" \t\"{[],";
  return limits;
}();

void mncvain(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const LineList lines = writeUpperCaseWorkingCopy(context, input);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartsBlock(context, lines, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetsBlock(lines, *firstNetLine), context.encoding);
}

ProbeFit probeCadvance(const ProbeInput& input) {
  const LineList lines = upperCaseWorkingCopy(input.lines());
  const bool holdsHeader = std::any_of(lines.begin(), lines.end(), [](TextView line) {
    return trimmed(line).starts_with(u"$NET_LIST") || line.find(u"===> CADVANCE NET LIST FILE") != Text::npos;
  });
  // A long parts block may put "nets{" beyond the head.
  const bool accepted = acceptedByHeadOrWholeFile(input, holdsHeader, [](const std::vector<Text>& anyLines) {
    Text partsLines;
    return readPartsBlock(probeContext(), upperCaseWorkingCopy(anyLines), partsLines).has_value();
  });
  if (!accepted) return ProbeFit::None;
  return holdsHeader ? ProbeFit::Header : ProbeFit::Keywords;
}

void mncvaout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  const std::vector<Text> sortedParts = sortPartsFile(context, EmptyLineAfterParts::Yes);

  Text out;
  appendLine(out, u"/*");
  appendLine(out, u"*     " + context.inputFormatName + u" ===> CADVANCE NET LIST FILE");
  appendLine(out, u"*/");
  appendLine(out, u"$NET_LIST [ MM ] {");
  appendLine(out, Text(kBlockIndent) + u"comp {");

  // Reference from column 17, "[" in 23, "]={" in 36, part name from 39 and
  // the empty values from 58, as long as the fields fit.
  PartRecord part;
  for (const Text& line : sortedParts) {
    mprk1in(part, line);
    std::size_t counted = kEntryIndent;
    appendSpaces(out, kEntryIndent);
    appendFieldUpTo(out, counted, part.get(kReference), 22);
    out += u'[';
    appendFieldUpTo(out, counted, part.get(kOtherInformation), 34);
    out += u"]={";
    appendFieldUpTo(out, counted, part.get(kPartName), 53);
    appendLine(out, u", , , , };");
    file.spill(out);
  }
  appendLine(out, Text(kBlockIndent) + u"}");
  appendLine(out, Text(kBlockIndent) + u"nets{");

  // Name padded to 18 columns, then the pins: 4 on the first line, 5 on
  // each continuation line.
  constexpr std::size_t kNameWidth = 18;
  const WrappedPinList pinLayout{.beforeEachPin = u"",
                                 .betweenPins = u",",
                                 .afterLastPin = u"};",
                                 .pinsOnFirstLine = 4,
                                 .pinsOnLaterLines = 5,
                                 .lineEnd = kCrLf,
                                 .continuationIndent = u"                        "};
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendSpaces(out, kEntryIndent);
    appendPadded(out, net.get(kNetName), kNameWidth);
    out += u"={";
    const long long count = pinCount(net);
    // A net without pins is closed at once, so that the next entry stays a
    // net of its own.
    if (count <= 0) out += pinLayout.afterLastPin;
    appendWrappedPins(out, count, pinLayout,
                      [&](Text& pinOut, long long position) { appendPin(pinOut, net.get(kFirstPin + position)); });
    out += kCrLf;
    file.spill(out);
  }
  appendLine(out, Text(kBlockIndent) + u"}");
  appendLine(out, u"}");
  file.commit(out);
}

}  // namespace korvanel
