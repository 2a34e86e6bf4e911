#include "formats/intergra.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

constexpr TextView kPartKeyword = u"%PART";
constexpr TextView kNetKeyword = u"%NET";
constexpr char16_t kContinuationMark = u'*';
constexpr char16_t kPinSeparator = u'-';

// The first blank that can end a part name stands in column 14 (position
// 13); blanks before it are dropped from the name.
constexpr std::size_t kFirstNameEndingPosition = 13;

enum class PartField { Name, Reference };

// Reads the part lines that follow the "%PART" line, up to the "%NET" line;
// returns the index of the line after "%NET", or nothing when there is none.
// The keywords are found wherever a line's leading characters spell them.
std::optional<std::size_t> readPartSection(const ConversionContext& context, const LineList& lines, Text& partsLines) {
  PartRecord record;
  bool partSectionOpened = false;
  for (std::size_t lineIndex = 0; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    record.at(kPartName).clear();
    record.at(kReference).clear();
    record.at(kOtherInformation).clear();
    Text token;
    // Every line begins with its part name.
    PartField field = PartField::Name;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      if (token == kPartKeyword) {
        partSectionOpened = true;
        break;
      }
      if (token == kNetKeyword) return lineIndex + 1;
      const CharacterAt at = characterAt(line, position);
      const bool isBlank = at.isSpace() || at.isTab();
      if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      } else if (field == PartField::Name) {
        const bool endsName = isBlank && position >= kFirstNameEndingPosition && !token.empty();
        if (endsName) {
          record.at(kPartName) = token;
          record.at(kOtherInformation) = std::move(token);
          token.clear();
          field = PartField::Reference;
        }
      } else if (!token.empty()) {
        record.at(kReference) = std::move(token);
        token.clear();
        field = PartField::Name;
        // Lines before "%PART" are a header, not parts.
        if (partSectionOpened && !record.get(kPartName).empty()) {
          appendPartsLine(context, record, partsLines);
        }
      }
    }
  }
  return std::nullopt;
}

// Reads the nets from `first` to the end: a line with the net name and
// pins, then any lines that begin with "*" holding further pins.
Text readNetSection(const LineList& lines, std::size_t first) {
  Text netLines;
  NetRecord record;
  bool netOpen = false;
  long long nextElement = kFirstPin;
  auto finishNet = [&] {
    appendNetLine(record, nextElement, netLines);
    netOpen = false;
  };
  for (std::size_t lineIndex = first; lineIndex < lines.size(); ++lineIndex) {
    const TextView line = lines[lineIndex];
    const bool continuesNet = !line.empty() && line.front() == kContinuationMark;
    if (netOpen && !continuesNet) finishNet();
    // Further pins without a net before them belong to no net.
    if (!netOpen && continuesNet) continue;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (at.is(kContinuationMark)) continue;
      if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      } else if (token.empty()) {
        continue;
      } else if (!netOpen) {
        // The first word is the net name, also when it stands alone.
        record.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
        netOpen = true;
      } else {
        record.at(nextElement++) = pinFromSeparator(token, kPinSeparator);
        token.clear();
      }
    }
  }
  // The net still open when the file ends is kept.
  if (netOpen) finishNet();
  return netLines;
}

// Whether a line of the net section reads like one: a net name and pins
// written reference-pin, or only pins after a "*", and no backslash.
bool holdsIntergraPins(TextView line) {
  if (line.find(u'\\') != TextView::npos) return false;
  bool nameAwaited = !line.starts_with(kContinuationMark);
  std::size_t position = 0;
  while (position < line.size()) {
    const std::size_t start = line.find_first_not_of(u" \t*", position);
    if (start == TextView::npos) break;
    const std::size_t end = std::min(line.find_first_of(u" \t", start), line.size());
    if (!nameAwaited && line.substr(start, end - start).find(kPinSeparator, 1) == TextView::npos) return false;
    nameAwaited = false;
    position = end;
  }
  return true;
}

}  // namespace

void mnintin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const LineList lines = writeUpperCaseWorkingCopy(context, input);
  Text partsLines;
  const std::optional<std::size_t> firstNetLine = readPartSection(context, lines, partsLines);
  writeWholeFile(context.partsFile(), partsLines, context.encoding);
  if (!firstNetLine) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.netFile(), readNetSection(lines, *firstNetLine), context.encoding);
}

ProbeFit probeIntergra(const ProbeInput& input) {
  // The "%PART" line before the "%NET" line; a long part section may put
  // "%NET" beyond the head.
  const auto netLineAfterParts = [](const LineList& lines) {
    Text partsLines;
    const std::optional<std::size_t> firstNetLine = readPartSection(probeContext(), lines, partsLines);
    if (!firstNetLine) return ProbeFit::None;
    const auto netLine = lines.begin() + static_cast<std::ptrdiff_t>(*firstNetLine);
    const bool partsFirst =
        std::any_of(lines.begin(), netLine, [](TextView line) { return trimmed(line).starts_with(kPartKeyword); });
    if (partsFirst) return ProbeFit::Keywords;
    // The net lines: a name and pins written reference-pin, or further pins
    // on lines that begin with "*"; no field quoted with backslashes.
    std::size_t netLines = 0;
    std::size_t shapedLines = 0;
    for (auto line = netLine; line != lines.end(); ++line) {
      if (trimmed(*line).empty()) continue;
      ++netLines;
      if (holdsIntergraPins(*line)) ++shapedLines;
    }
    return isMostOf(shapedLines, netLines) ? ProbeFit::Shape : ProbeFit::Accepted;
  };
  const LineList head = upperCaseWorkingCopy(input.lines());
  const ProbeFit fit = netLineAfterParts(head);
  const bool opensParts =
      std::any_of(head.begin(), head.end(), [](TextView line) { return trimmed(line).starts_with(kPartKeyword); });
  if (fit != ProbeFit::None || !opensParts || input.holdsWholeFile()) return fit;
  return netLineAfterParts(upperCaseWorkingCopy(input.allLines()));
}

}  // namespace korvanel
