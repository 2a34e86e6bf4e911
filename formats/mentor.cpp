#include "formats/mentor.h"

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

constexpr TextView kNetKeyword = u"NET";
constexpr char16_t kCommentStart = u'(';
constexpr char16_t kCommentEnd = u')';
constexpr char16_t kCommentLineMark = u'#';
constexpr char16_t kNameQuote = u'\'';
constexpr char16_t kPinSeparator = u'-';

// NET lines the net-line table holds (entries 0 to 20000).
constexpr std::size_t kMostNetLines = kRecordLastIndex + 1;
// Distinct net names the merged-net table holds (its last entry stays empty).
constexpr std::size_t kMostDistinctNets = kRecordLastIndex;

// The word "NET" standing on its own: the token is "NET" and the character at
// this position ends it. Names and fields that merely begin with NET (such as
// NETWORK) are ordinary text.
bool isNetKeyword(const Text& token, const CharacterAt& at) {
  return token == kNetKeyword && at.isSpaceTabOrEmpty();
}

// A line that begins with "#" is a comment as a whole.
bool isCommentLine(const Text& line) { return !line.empty() && line.front() == kCommentLineMark; }

// The input upper-cased, with every LF made CR LF, every line ended with
// CR LF, and the text in parentheses left out. A comment runs on across line
// ends until the first ")"; parentheses do not nest. The result is written to
// net.tmp, where it stays when the input turns out not to be a MENTOR netlist.
Text removeComments(const std::vector<Text>& inputLines) {
  Text workingCopy;
  bool insideComment = false;
  for (const Text& inputLine : inputLines) {
    for (const char16_t character : toUpper(inputLine)) {
      if (character == u'\n') {
        workingCopy += kCrLf;
      } else if (character == kCommentStart) {
        insideComment = true;
      } else if (character == kCommentEnd) {
        insideComment = false;
      } else if (!insideComment) {
        workingCopy += character;
      }
    }
    workingCopy += kCrLf;
  }
  return workingCopy;
}

// Reads the part lines up to the word NET. Each line of three or more fields
// gives one part: reference, value, PCB property (a fourth field replaces the
// third). Returns the index of the line that holds the word NET, or nothing
// when there is none.
std::optional<std::size_t> readPartSection(const ConversionContext& context, const std::vector<Text>& lines, Text& partsLines) {
  PartRecord record;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    if (isCommentLine(line)) continue;
    record.at(kPartName).clear();
    record.at(kReference).clear();
    record.at(kOtherInformation).clear();
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // Fields end at a blank or the line end; a tab neither ends a field
      // nor belongs to one.
      const bool endsField = at.isSpace() || at.empty;
      if (isNetKeyword(token, at)) {
        return lineIndex;
      } else if (endsField && !token.empty()) {
        if (record.get(kReference).empty()) {
          record.at(kReference) = std::move(token);
        } else if (record.get(kOtherInformation).empty()) {
          record.at(kOtherInformation) = std::move(token);
        } else {
          record.at(kPartName) = std::move(token);
        }
        token.clear();
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
    // A line of fewer than three fields gives no part.
    if (!record.get(kPartName).empty()) {
      appendPartsLine(context, record, partsLines);
    }
  }
  return std::nullopt;
}

// Reads the NET lines from `first` (the line that holds the first word NET)
// to the end. Every line that names a net gives one net line, in input order;
// a line without a quoted name and without the word NET continues the net
// named last; a NET line without a name gives nothing.
std::vector<Text> readNetSection(const std::vector<Text>& lines, std::size_t first) {
  std::vector<Text> netLines;
  NetRecord record;
  std::optional<Text> lastNetName;
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text& line = lines[lineIndex];
    if (line.empty() || isCommentLine(line)) continue;
    record.at(kNetName).clear();
    long long nextElement = kFirstPin;
    bool namesANet = false;
    bool holdsNetKeyword = false;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool startsNetName = at.is(kNameQuote) && record.get(kNetName).empty();
      const bool endsPin = at.isSpace() || at.empty;
      if (isNetKeyword(token, at)) {
        // The blank after the word is dropped with it.
        token.clear();
        holdsNetKeyword = true;
      } else if (startsNetName) {
        // The name is everything up to the closing quote, blanks included;
        // without a closing quote it runs to the end of the line. The
        // character after the closing quote (the blank) is skipped.
        const std::size_t nameStart = position + 1;
        const std::size_t closingQuote = line.find(kNameQuote, nameStart);
        if (closingQuote == Text::npos) {
          record.at(kNetName) = line.substr(nameStart);
          position = line.size();
        } else {
          record.at(kNetName) = line.substr(nameStart, closingQuote - nameStart);
          position = closingQuote + 1;
        }
        nextElement = kFirstPin;
        token.clear();
        namesANet = true;
      } else if (endsPin && !token.empty()) {
        record.at(nextElement++) = pinFromSeparator(token, kPinSeparator);
        token.clear();
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
    const bool hasPins = nextElement > kFirstPin;
    const bool continuesLastNet = !namesANet && !holdsNetKeyword && hasPins && lastNetName.has_value();
    if (namesANet) {
      lastNetName = record.get(kNetName);
    } else if (continuesLastNet) {
      record.at(kNetName) = *lastNetName;
    } else {
      continue;
    }
    ensureRoomInList(netLines.size(), kMostNetLines, "NET lines");
    record.at(kPinCount) = decimalText(nextElement - kFirstPin);
    mnrkout(record, netLines.emplace_back());
  }
  return netLines;
}

constexpr TextView kMentorKeywords[] = {kNetKeyword};

}  // namespace

const FormatLimits kMentorLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u"()'"},
    // An empty reference leaves "-24", which reads back as the pin -24.
    .reference = {.syntaxCharacters = u"()-",
                  .syntaxFirstCharacters = u"#",
                  .keywords = kMentorKeywords,
                  .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u"().", .keywords = kMentorKeywords},
    .partName = {.syntaxCharacters = u"()", .keywords = kMentorKeywords, .carriesEmpty = false},
    .package = {.syntaxCharacters = u"()", .keywords = kMentorKeywords},
};

void mnmetin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const Text workingCopy = removeComments(readLines(input, context.encoding));
  writeWholeFile(context.netFile(), workingCopy, context.encoding);
  const std::vector<Text> lines = splitLines(workingCopy);

  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartSection(context, lines, partsLines);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  const std::vector<Text> netLines = readNetSection(lines, *firstNetLine);
  writeWholeFile(context.netFile(), mergeNetsByName(netLines, kMostDistinctNets), context.encoding);
}

ProbeFit probeMentor(const ProbeInput& input) {
  const std::vector<Text> lines = splitLines(removeComments(input.lines()));
  const TextView firstLine = firstNonEmptyLine(lines);
  const bool opensWithHeader =
      firstLine.starts_with(u"#") && firstLine.find(u"===>  MENTOR NET LIST") != TextView::npos;
  // A long parts section may put the first NET beyond the head.
  const bool accepted = acceptedByHeadOrWholeFile(input, opensWithHeader, [](const std::vector<Text>& anyLines) {
    Text partsLines;
    return readPartSection(probeContext(), splitLines(removeComments(anyLines)), partsLines).has_value();
  });
  if (!accepted) return ProbeFit::None;
  if (opensWithHeader) return ProbeFit::Header;
  const bool holdsNetLine =
      std::any_of(lines.begin(), lines.end(), [](const Text& line) { return trimmed(line).starts_with(u"NET '"); });
  return holdsNetLine ? ProbeFit::Keywords : ProbeFit::Accepted;
}

void mnmetout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out = u"#";
  out += context.inputFormatName;
  out += u" ===>  MENTOR NET LIST";
  out += kCrLf;
  out += u"# Reference        Value      PCB Property";
  out += kCrLf;

  // Reference padded to 19 characters (a longer one keeps one blank, so that
  // it never runs into the value), then the value ("PART" when there is none)
  // and the PCB property.
  constexpr std::size_t kReferenceColumnWidth = 19;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    appendPaddedWithGap(out, part.get(kReference), kReferenceColumnWidth);
    const Text& value = part.get(kOtherInformation);
    out += value.empty() ? TextView(u"PART") : TextView(value);
    out += u' ';
    out += part.get(kPartName);
    out += kCrLf;
    file.spill(out);
  }

  // Five pins to a NET line, each further line repeating the name; a net's
  // last pin never goes onto a line of its own.
  constexpr long long kPinsPerLine = 5;
  NetRecord net;
  const LineList netLines = readRecordLines(context.netFile(), context.encoding);
  // Without a net, the word NET alone still opens the net section, so that
  // the file reads back as a MENTOR netlist.
  if (netLines.empty()) {
    out += kNetKeyword;
    out += kCrLf;
  }
  for (const TextView line : netLines) {
    mrk1net(net, line);
    Text netLineStart = u"NET '";
    netLineStart += net.get(kNetName);
    netLineStart += u'\'';
    out += netLineStart;
    const long long count = pinCount(net);
    PinLineBreaks lineBreaks(kPinsPerLine, count, PinLineBreaks::LastPin::StaysWithPrevious);
    for (long long pin = 0; pin < count; ++pin) {
      if (lineBreaks.startsNewLine(pin)) {
        out += kCrLf;
        out += netLineStart;
      }
      out += u' ';
      out += pinToSeparator(net.get(kFirstPin + pin), kPinSeparator);
    }
    out += kCrLf;
    file.spill(out);
  }
  file.commit(out);
}

}  // namespace korvanel
