#include "formats/mmcolmo.h"

#include <algorithm>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kPartsKeyword = u"$PTS";
constexpr TextView kNetsKeyword = u"$NET";
constexpr TextView kEndKeyword = u"$END";
constexpr TextView kThmKeyword = u"$THM";
constexpr char16_t kPackageEnd = u'!';
constexpr char16_t kPartNameEnd = u';';
constexpr char16_t kNetNameEnd = u';';
constexpr char16_t kPinEnd = u',';
constexpr char16_t kPinSeparator = u'-';

// Names of more than this many characters are not padded.
constexpr std::size_t kPaddedNameWidth = 9;

bool isBlankOrTab(char16_t character) { return character == u' ' || character == u'\t'; }

// Whether nothing but blanks and tabs stands on the line after `position`.
bool onlyBlanksAfter(TextView line, std::size_t position) {
  for (std::size_t next = position + 1; next < line.size(); ++next) {
    if (!isBlankOrTab(line[next])) return false;
  }
  return true;
}

// The line without its blanks and tabs.
Text withoutBlanks(TextView line) {
  Text kept;
  for (const char16_t character : line) {
    if (!isBlankOrTab(character)) kept += character;
  }
  return kept;
}

// The parts lines of the parts file, up to its "$END" or its end. A line
// gives a part when it names one: package "!", part name ";", reference to
// the end of the line, each field possibly missing.
Text readPartsFile(const ConversionContext& context, const std::filesystem::path& partsFile) {
  Text partsLines;
  PartRecord part;
  for (const Text& rawLine : readLines(partsFile, context.encoding)) {
    part.at(kPartName).clear();
    part.at(kReference).clear();
    part.at(kOtherInformation).clear();
    const Text line = toUpper(rawLine);
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (token == kPartsKeyword) break;
      // "$END" ends the file, alone on its line or followed by more.
      if (token == kEndKeyword) return partsLines;
      // A "!" or ";" right after another delimiter ends no field.
      if (at.is(kPackageEnd)) {
        if (!token.empty()) part.at(kOtherInformation) = std::move(token);
        token.clear();
      } else if (at.is(kPartNameEnd)) {
        if (!token.empty()) part.at(kPartName) = std::move(token);
        token.clear();
      } else if (at.empty) {
        if (!token.empty()) part.at(kReference) = std::move(token);
      } else if (!isBlankOrTab(at.character)) {
        token += at.character;
      }
    }
    if (!part.get(kPartName).empty()) {
      appendPartsLine(context, part, partsLines);
    }
  }
  return partsLines;
}

enum class NetFileKind { Nets, NoNetSection, NameBeforeNetSection };

// The net lines of the net file, up to its "$END" or its end. A ";" opens a
// net (an empty name is named un0, un1, ...); a "," or the end of the line
// ends a pin; the end of the line ends the net unless its last character
// other than blanks is ",". Lines outside a net and empty lines give nothing.
NetFileKind readNetFile(const ConversionContext& context, const std::filesystem::path& input, Text& netLines) {
  NetRecord net;
  long long nextElement = kFirstPin;
  long long unnamedNets = 0;
  bool netSectionSeen = false;
  bool netOpen = false;
  auto endNet = [&] {
    appendNetLine(net, nextElement, netLines);
    netOpen = false;
  };

  for (const Text& rawLine : readLines(input, context.encoding)) {
    const Text line = toUpper(rawLine);
    const Text content = withoutBlanks(line);
    if (content.empty()) continue;
    if (content == kEndKeyword) break;
    bool continuesNet = false;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (token == kNetsKeyword) {
        netSectionSeen = true;
        break;
      }
      if (at.is(kNetNameEnd)) {
        if (!netSectionSeen) return NetFileKind::NameBeforeNetSection;
        // A name while a net is still continued ends that net.
        if (netOpen) endNet();
        if (token.empty()) token = u"un" + decimalText(unnamedNets++);
        net.at(kNetName) = std::move(token);
        token.clear();
        nextElement = kFirstPin;
        netOpen = true;
      } else if (at.is(kPinEnd) || at.empty) {
        // A delimiter right after another, or at the end of a line, ends no pin.
        if (netOpen && !token.empty()) net.at(nextElement++) = pinFromSeparator(token, kPinSeparator);
        token.clear();
        if (at.is(kPinEnd) && onlyBlanksAfter(line, position)) {
          continuesNet = netOpen;
          break;
        }
      } else if (!isBlankOrTab(at.character)) {
        token += at.character;
      }
    }
    if (netOpen && !continuesNet) endNet();
  }
  // A net continued at the end of the file keeps the pins read so far.
  if (netOpen) endNet();
  return netSectionSeen ? NetFileKind::Nets : NetFileKind::NoNetSection;
}

// Whether the net file reader meets "$NET" in these lines before a net name
// or the end keyword: its walk of the lines up to that point.
bool netSectionOpens(const std::vector<Text>& lines) {
  for (const Text& rawLine : lines) {
    const Text line = toUpper(rawLine);
    const Text content = withoutBlanks(line);
    if (content.empty()) continue;
    if (content == kEndKeyword) return false;
    Text token;
    for (std::size_t position = 0; position <= line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      if (token == kNetsKeyword) return true;
      if (at.is(kNetNameEnd)) return false;
      if (at.is(kPinEnd) || at.empty) {
        token.clear();
        if (at.is(kPinEnd) && onlyBlanksAfter(line, position)) break;
      } else if (!isBlankOrTab(at.character)) {
        token += at.character;
      }
    }
  }
  return false;
}

}  // namespace

constexpr TextView kNetFilePrefixes[] = {kNetsKeyword};
// A field of the parts file that grows to "$PTS" or "$END" skips the rest
// of its line or ends the file; a reference stands in both files.
constexpr TextView kPartsFilePrefixes[] = {kPartsKeyword, kEndKeyword};
constexpr TextView kReferencePrefixes[] = {kNetsKeyword, kPartsKeyword, kEndKeyword};

const FormatLimits kMmColmoLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u";,", .prefixes = kNetFilePrefixes, .carriesEmpty = false},
    // An empty reference leaves "-24", which reads back as the pin -24.
    .reference = {.syntaxCharacters = u";,!",
                  .syntaxLaterCharacters = u"-",
                  .prefixes = kReferencePrefixes,
                  .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u";,"},
    .partName = {.syntaxCharacters = u"!;", .prefixes = kPartsFilePrefixes, .carriesEmpty = false},
    .package = {.syntaxCharacters = u"!;", .prefixes = kPartsFilePrefixes},
};

void mnmmcin(const ConversionContext& context, const std::filesystem::path& input, const Text& partsFile,
             Text& status) {
  status = kStatusBad;
  // Without a parts file the parts file holds one empty line.
  const Text partsLines = partsFile.empty() ? Text() : readPartsFile(context, toPath(partsFile));
  writeWholeFile(context.partsFile(), partsLines, context.encoding);

  Text netLines;
  const NetFileKind kind = readNetFile(context, input, netLines);
  if (kind == NetFileKind::NameBeforeNetSection) {
    context.host.hideProgress();
    return;
  }
  // A file without "$NET" stays "bad"; its (empty) net file is written all
  // the same.
  if (kind == NetFileKind::Nets) status = kStatusGood;
  writeWholeFile(context.netFile(), netLines, context.encoding);
}

ProbeFit probeMmColmo(const ProbeInput& input) {
  const std::vector<Text>& lines = input.lines();
  if (!netSectionOpens(lines)) return ProbeFit::None;
  std::vector<Text> contents;
  for (const Text& line : lines) {
    if (Text content = withoutBlanks(toUpper(line)); !content.empty()) contents.push_back(std::move(content));
  }
  if (contents.front() == kNetsKeyword) return ProbeFit::Header;
  const bool keywordAlone = std::find(contents.begin(), contents.end(), kNetsKeyword) != contents.end();
  return keywordAlone ? ProbeFit::Keywords : ProbeFit::Accepted;
}

void mnmmcout(const ConversionContext& context, const std::filesystem::path& output, const Text& partsFile) {
  Text parts(kPartsKeyword);
  parts += kCrLf;
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    parts += part.get(kOtherInformation);
    parts += u" !";
    parts += part.get(kPartName);
    parts += u" ;";
    parts += part.get(kReference);
    parts += kCrLf;
  }
  parts += kEndKeyword;
  writeWholeFile(toPath(partsFile), parts, context.encoding);

  // Nine pins to a line, continuation lines indented by 11 blanks; a full
  // line ends in ", ", the net's last pin has no terminator.
  const Text continuationIndent(11, u' ');
  const WrappedPinList layout{u"", u", ", u"", 9, 9, kCrLf, continuationIndent};
  WholeFileOutput file(output, context.encoding);
  Text nets(kNetsKeyword);
  nets += kCrLf;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    appendPadded(nets, net.get(kNetName), kPaddedNameWidth);
    nets += u"; ";
    appendWrappedPins(nets, pinCount(net), layout,
                      [&](Text& text, long long pin) { text += pinWithFirstDotAs(net.get(kFirstPin + pin), u"-"); });
    nets += kCrLf;
    file.spill(nets);
  }
  for (const TextView closing : {kEndKeyword, kThmKeyword}) {
    nets += closing;
    nets += kCrLf;
  }
  nets += kEndKeyword;
  file.commit(nets);
}

}  // namespace korvanel
