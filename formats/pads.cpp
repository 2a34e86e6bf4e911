#include "formats/pads.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kPartKeyword = u"*PART*";
constexpr TextView kRemarkKeyword = u"*REMARK*";
constexpr TextView kNetKeyword = u"*NET*";
constexpr TextView kSignalKeyword = u"*SIGNAL*";
constexpr TextView kEndKeyword = u"*END*";

// What tells the two forms apart; everything else is shared.
struct PadsForm {
  // The writer's first line.
  TextView headerKeyword;
  // "*REMARK*" starts a comment line in the parts section.
  bool hasRemarkLines;
  // Every blank and every line end in the nets section ends a pin, so two
  // blanks in a row, a blank at either end of a line and an empty line each
  // give an empty pin; otherwise blanks only separate pins.
  bool blanksGiveEmptyPins;
};

constexpr PadsForm kPads2000{u"*PADS2000*", false, true};
constexpr PadsForm kPadsPcb{u"*PADS-PCB*", true, false};

// The net name of a "*SIGNAL*" line starts in column 10: the keyword in
// columns 1 to 8 and one separating character.
constexpr std::size_t kNetNameStart = kSignalKeyword.size() + 1;

// The writer puts the part type in column 8 after a reference of up to 6
// characters, and one space after a longer one.
constexpr std::size_t kPartTypeColumnWidth = 7;

// Pins per line of the writer: 8 on the first line, 7 on every further one.
constexpr long long kPinsPerLine = 7;

// Reads the parts lines up to the "*NET*" line into `partsLines`; returns the
// index of the line after "*NET*", or nothing when the input has no "*NET*".
std::optional<std::size_t> readPartsSection(const ConversionContext& context, const std::vector<Text>& lines, const PadsForm& form, Text& partsLines) {
  PartRecord record;
  bool partSectionOpened = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    if (lines[lineIndex].empty()) continue;
    const Text line = toUpper(lines[lineIndex]);
    Text token;
    bool referenceRead = false;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // A keyword is a word of its own: a reference or part type that merely
      // begins with one is a name.
      const bool endsWord = at.isSpaceTabOrEmpty();
      if (token == kPartKeyword && endsWord) {
        // The first "*PART*" opens the section: what was read before it was a
        // header, not parts. A later "*PART*" line is only a keyword line.
        if (!partSectionOpened) {
          record.at(kPartName).clear();
          record.at(kReference).clear();
          record.at(kOtherInformation).clear();
          partsLines.clear();
          partSectionOpened = true;
        }
        break;
      } else if (form.hasRemarkLines && token == kRemarkKeyword && endsWord) {
        break;
      } else if (token == kNetKeyword && endsWord) {
        return lineIndex + 1;
      } else if (at.empty && !token.empty() && referenceRead) {
        // The part type: every word after the reference, run together.
        record.at(kPartName) = token;
        record.at(kOtherInformation) = std::move(token);
        token.clear();
      } else if (endsWord && !token.empty() && !referenceRead) {
        record.at(kReference) = std::move(token);
        token.clear();
        referenceRead = true;
      } else if (!endsWord) {
        token += at.character;
      }
    }
    // A line with a reference gives a part; a reference alone takes the part
    // type of the last line that had one. Keyword lines stop before a
    // reference is read and, like blank lines, give none.
    const bool lineGivesPart = referenceRead && !record.get(kPartName).empty();
    if (lineGivesPart) {
      appendPartsLine(context, record, partsLines);
    }
  }
  return std::nullopt;
}

// Reads the nets from `first` to the "*END*" line or the end of the input.
Text readNetsSection(const std::vector<Text>& lines, std::size_t first, const PadsForm& form) {
  Text netLines;
  NetRecord record;
  long long nextElement = kFirstPin;
  // Pins read before the first "*SIGNAL*" belong to no net and are dropped.
  auto finishPendingNet = [&] {
    const bool netPending = !record.get(kNetName).empty();
    if (!netPending) return;
    appendNetLine(record, nextElement, netLines);
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const Text line = toUpper(lines[lineIndex]);
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      // Only whole words are keywords: a pin that begins with one is a pin.
      const bool endsWord = at.isSpaceTabOrEmpty();
      if (token == kSignalKeyword && endsWord) {
        finishPendingNet();
        // The name runs to the end of the line, blanks included.
        record.at(kNetName) = line.size() > kNetNameStart ? line.substr(kNetNameStart) : Text();
        nextElement = kFirstPin;
        break;
      } else if (token == kEndKeyword && endsWord) {
        finishPendingNet();
        return netLines;
      } else if (endsWord) {
        const bool tokenIsPin = form.blanksGiveEmptyPins || !token.empty();
        if (tokenIsPin) record.at(nextElement++) = std::move(token);
        token.clear();
      } else {
        token += at.character;
      }
    }
  }
  // An input that ends without "*END*" keeps its last net.
  finishPendingNet();
  return netLines;
}

void readPads(const ConversionContext& context, const std::filesystem::path& input, Text& status,
              const PadsForm& form) {
  status = kStatusBad;
  const std::vector<Text> lines = readLines(input, context.encoding);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartsSection(context, lines, form, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetsSection(lines, *firstNetLine, form), context.encoding);
}

// The pins of a net separated by one space, a line break after the 8th pin and
// after every 7th pin from there. A pin gets a space or a line break only
// when the element after it holds text, so an empty pin adds no separator and
// the last pin (followed by the parser's empty element) gets neither.
void appendPinLines(Text& out, const NetRecord& net) {
  const long long count = pinCount(net);
  long long lineNumber = 1;
  for (long long pinsWritten = 0; pinsWritten < count; ++pinsWritten) {
    const long long element = kFirstPin + pinsWritten;
    out += net.get(element);
    const bool nextElementHoldsText = !net.get(element + 1).empty();
    const bool pinClosesLine = pinsWritten == kPinsPerLine * lineNumber;
    if (pinClosesLine && nextElementHoldsText) {
      out += kCrLf;
      ++lineNumber;
    } else if (nextElementHoldsText) {
      out += u' ';
    }
  }
  out += kCrLf;
}

void writePads(const ConversionContext& context, const std::filesystem::path& output, const PadsForm& form) {
  WholeFileOutput file(output, context.encoding);
  Text out(form.headerKeyword);
  out += kCrLf;
  out += kPartKeyword;
  out += kCrLf;
  PartRecord part;
  for (const Text& line : readLines(context.partsFile(), context.encoding)) {
    if (line.empty()) continue;
    mprk1in(part, line);
    appendPaddedWithGap(out, part.get(kReference), kPartTypeColumnWidth);
    out += part.get(kPartName);
    out += kCrLf;
    file.spill(out);
  }
  out += kCrLf;
  out += kNetKeyword;
  out += kCrLf;

  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    out += kSignalKeyword;
    out += u' ';
    out += net.get(kNetName);
    out += kCrLf;
    // Where an empty line adds an empty pin, a net without pins gets no pin
    // line at all.
    const bool emptyPinLineReadsAsAPin = form.blanksGiveEmptyPins && pinCount(net) <= 0;
    if (!emptyPinLineReadsAsAPin) appendPinLines(out, net);
    file.spill(out);
  }
  out += kEndKeyword;
  file.commit(out);
}

ProbeFit probePads(const ProbeInput& input, const PadsForm& form) {
  const std::vector<Text> lines = upperCased(input.lines());
  const bool opensParts = std::any_of(lines.begin(), lines.end(), [](const Text& line) {
    return firstWord(line) == kPartKeyword || firstWord(line) == kPads2000.headerKeyword ||
           firstWord(line) == kPadsPcb.headerKeyword;
  });
  // A long parts section may put "*NET*" beyond the head.
  const bool accepted = acceptedByHeadOrWholeFile(input, opensParts, [&](const std::vector<Text>& anyLines) {
    Text partsLines;
    return readPartsSection(probeContext(), anyLines, form, partsLines).has_value();
  });
  if (!accepted) return ProbeFit::None;
  if (firstWord(firstNonEmptyLine(lines)) == form.headerKeyword) return ProbeFit::Header;
  const bool holdsRemarks =
      std::any_of(lines.begin(), lines.end(), [](const Text& line) { return firstWord(line) == kRemarkKeyword; });
  // Pins separated by runs of blanks, or blanks at a line's ends.
  const auto netSection =
      std::find_if(lines.begin(), lines.end(), [](const Text& line) { return firstWord(line) == kNetKeyword; });
  const bool holdsBlankRuns = std::any_of(netSection, lines.end(), [](const Text& line) {
    return !line.empty() && line.front() != u'*' && (line.find(u"  ") != Text::npos || trimmed(line) != line);
  });
  // The reader of PADS2000 takes a remark line for a part, and a run of
  // blanks for empty pins.
  const bool anotherFormFitsBetter = !form.hasRemarkLines && (holdsRemarks || holdsBlankRuns);
  return anotherFormFitsBetter ? ProbeFit::Shape : ProbeFit::Keywords;
}

constexpr TextView kPads2000Keywords[] = {kPartKeyword, kNetKeyword, kSignalKeyword, kEndKeyword};
constexpr TextView kPadsPcbKeywords[] = {kPartKeyword, kRemarkKeyword, kNetKeyword, kSignalKeyword, kEndKeyword};

// A net is named by the whole rest of its "*SIGNAL*" line, so any name but
// the empty one reads back; a reference or part type that is a keyword of
// its own ends a section or drops its line; an empty reference or part type
// spoils its part line, and an empty pin vanishes between blanks. The part
// type is read back as the package too, so the package is not carried.
constexpr FormatLimits padsLimits(std::span<const TextView> keywords) {
  return FormatLimits{
      .readerUpperCases = true,
      .netName = {.carriesEmpty = false},
      .reference = {.keywords = keywords, .carriesEmpty = false},
      .pinName = {},
      .partName = {.keywords = keywords, .carriesEmpty = false},
      // A part is written as reference and part name; the reader gives the
      // part name as the package.
      .carriesPackage = false,
      .package = {},
  };
}

}  // namespace

const FormatLimits kPads2000Limits = padsLimits(kPads2000Keywords);
const FormatLimits kPadsPcbLimits = padsLimits(kPadsPcbKeywords);

void mnpa2in(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  readPads(context, input, status, kPads2000);
}

void mnpa2out(const ConversionContext& context, const std::filesystem::path& output) {
  writePads(context, output, kPads2000);
}

void mnpapin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  readPads(context, input, status, kPadsPcb);
}

void mnpapout(const ConversionContext& context, const std::filesystem::path& output) {
  writePads(context, output, kPadsPcb);
}

ProbeFit probePads2000(const ProbeInput& input) { return probePads(input, kPads2000); }

ProbeFit probePadsPcb(const ProbeInput& input) { return probePads(input, kPadsPcb); }

}  // namespace korvanel
