#include "formats/d2cad.h"

#include <algorithm>
#include <vector>

#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr TextView kLineComment = u"*";
constexpr TextView kBlockCommentStart = u"/*";
constexpr TextView kBlockCommentEnd = u"*/";
constexpr TextView kFileKeyword = u"$CCF";
constexpr TextView kNetSectionKeyword = u"NET{";
constexpr TextView kOpeningBrace = u"{";
constexpr char16_t kClosingBrace = u'}';
constexpr char16_t kNameEnd = u':';
constexpr char16_t kPinEnd = u',';
constexpr char16_t kNetEnd = u';';
constexpr char16_t kPinNumberStart = u'(';
constexpr char16_t kPinNumberEnd = u')';

// Characters that never belong to a word: the token runs on across them.
bool isDropped(const CharacterAt& at) { return at.isSpaceTabOrEmpty() || at.is(u'\r') || at.is(u'\n'); }

// An intermediate pin as the format writes it: the text before the first "."
// is the reference, the rest the pin in parentheses (U1.7 becomes U1(7),
// R.1.2 becomes R(1.2)). A pin without "." is written as it is, so that it
// reads back unchanged.
Text writtenPin(TextView pin) {
  const std::size_t dot = pin.find(u'.');
  if (dot == TextView::npos) return Text(pin);
  Text written(pin.substr(0, dot));
  written += kPinNumberStart;
  written += pin.substr(dot + 1);
  written += kPinNumberEnd;
  return written;
}

// Whether the reader meets its "$CCF" keyword in these upper-cased lines:
// the walk of the reader up to that keyword, through the comments before it.
bool holdsFileKeyword(const std::vector<Text>& lines) {
  Text token;
  bool insideBlockComment = false;
  for (const Text& line : lines) {
    for (std::size_t position = 0; position <= line.size(); ++position) {
      if (token == kBlockCommentStart) {
        token.clear();
        insideBlockComment = true;
      }
      if (insideBlockComment) {
        if (TextView(line).substr(position).starts_with(kBlockCommentEnd)) {
          insideBlockComment = false;
          ++position;
        }
        continue;
      }
      if (token == kLineComment || token == kBlockCommentEnd) {
        token.clear();
        break;
      }
      if (token == kFileKeyword) return true;
      const CharacterAt at = characterAt(line, position);
      if (!isDropped(at)) token += at.character;
    }
  }
  return false;
}

}  // namespace

// Words that the reader takes as syntax as soon as they have been read.
constexpr TextView kWordPrefixes[] = {kBlockCommentStart, kFileKeyword, kNetSectionKeyword};

const FormatLimits kD2CadLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u":,;", .syntaxFirstCharacters = u"*{}", .prefixes = kWordPrefixes},
    .reference = {.syntaxCharacters = u":,;()", .syntaxFirstCharacters = u"*{}", .prefixes = kWordPrefixes},
    .pinName = {.syntaxCharacters = u":,;()"},
    .carriesParts = false,
};

void mnd2cin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  NetRecord net;
  Text netLines;
  // The token runs on across line ends; only the rules below end it.
  Text token;
  long long nextElement = kFirstPin;
  bool afterFileKeyword = false;
  bool netSectionSeen = false;
  // From a net's ":" to its ";".
  bool netOpen = false;
  bool insideBlockComment = false;

  for (const Text& rawLine : readLines(input, context.encoding)) {
    const Text line = toUpper(rawLine);
    for (std::size_t position = 0; position <= line.size(); ++position) {
      // A "/*" that begins a word runs to the next "*/", over line ends.
      if (token == kBlockCommentStart) {
        token.clear();
        insideBlockComment = true;
      }
      if (insideBlockComment) {
        if (TextView(line).substr(position).starts_with(kBlockCommentEnd)) {
          insideBlockComment = false;
          ++position;
        }
        continue;
      }
      // A "*" or "*/" that begins a word comments out the rest of its line.
      if (token == kLineComment || token == kBlockCommentEnd) {
        token.clear();
        break;
      }

      // A keyword is known when the character after it arrives; that
      // character then goes on through the rules below.
      if (token == kFileKeyword) {
        token.clear();
        status = kStatusGood;
        // The format has no parts: the parts file holds one empty line.
        writeWholeFile(context.partsFile(), u"", context.encoding);
        afterFileKeyword = true;
      } else if (afterFileKeyword && token == kNetSectionKeyword) {
        // Every net section adds its nets to those of the sections before.
        token.clear();
        netSectionSeen = true;
        netOpen = false;
      } else if (afterFileKeyword && token == kOpeningBrace) {
        token.clear();
      }

      const CharacterAt at = characterAt(line, position);
      if (!afterFileKeyword) {
        if (!isDropped(at)) token += at.character;
        continue;
      }
      // Between a net's ":" and ";", "(" separates reference and pin and ")"
      // closes the pin; in a net name both stay (NET-(C1-PAD1)).
      char16_t character = at.character;
      if (netOpen && at.is(kPinNumberStart)) character = u'.';
      if (netOpen && at.is(kPinNumberEnd)) continue;

      if (at.is(kNameEnd)) {
        // A name opens a net; a net still open without its ";" is dropped.
        // Before the first net section there are no nets.
        if (netSectionSeen) {
          net.at(kNetName) = token;
          nextElement = kFirstPin;
          netOpen = true;
        }
        token.clear();
      } else if (at.is(kPinEnd) || at.is(kNetEnd)) {
        // Pins outside a net are left out, and a delimiter right after
        // another ends no pin.
        if (netOpen && !token.empty()) net.at(nextElement++) = token;
        token.clear();
        if (netOpen && at.is(kNetEnd)) {
          appendNetLine(net, nextElement, netLines);
          netOpen = false;
        }
      } else if (at.is(kClosingBrace) && token.empty()) {
        // A brace that closes a section; inside a word it is text
        // (/VPP{SLASH}MCLR).
      } else if (!isDropped(at)) {
        token += character;
      }
    }
  }

  if (status != kStatusGood) {
    context.host.hideProgress();
    return;
  }
  writeWholeFile(context.netFile(), netLines, context.encoding);
}

ProbeFit probeD2Cad(const ProbeInput& input) {
  const std::vector<Text> lines = upperCased(input.lines());
  if (!holdsFileKeyword(lines)) return ProbeFit::None;
  // The lines as the reader walks them, also where LF alone ends them.
  const LineList walkedLines = upperCaseWorkingCopy(input.lines());
  const bool namedInComment = std::any_of(walkedLines.begin(), walkedLines.end(), [](TextView line) {
    return trimmed(line).starts_with(u"*") && line.find(u"===> D2 CAD NET LIST FILE") != Text::npos;
  });
  if (namedInComment) return ProbeFit::Header;
  const bool keywordAlone = std::any_of(walkedLines.begin(), walkedLines.end(),
                                        [](TextView line) { return trimmed(line) == kFileKeyword; });
  const bool holdsPartsBlock = std::any_of(walkedLines.begin(), walkedLines.end(), [](TextView line) {
    return blanksRemoved(line).starts_with(u"DEFINITION{");
  });
  return keywordAlone && !holdsPartsBlock ? ProbeFit::Keywords : ProbeFit::Shape;
}

void mnd2cout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out;
  auto appendLine = [&out](TextView line) {
    out += line;
    out += kCrLf;
  };
  appendLine(u"/*");
  appendLine(Text(u" * ") + context.inputFormatName + u" ===> D2 CAD NET LIST FILE");
  appendLine(u" */");
  appendLine(u"");
  appendLine(kFileKeyword);
  appendLine(kOpeningBrace);
  appendLine(u"  NET {");

  // Names right-aligned to end in column 17, pins from column 21, five to a
  // line with continuation lines indented by 20 blanks; a full line ends in
  // " , " and the net's last pin is followed by " ;".
  constexpr std::size_t kNameWidth = 17;
  const Text continuationIndent(20, u' ');
  const WrappedPinList layout{u"", u" , ", u" ;", 5, 5, kCrLf, continuationIndent};
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    const Text& name = net.get(kNetName);
    if (name.size() < kNameWidth) appendSpaces(out, kNameWidth - name.size());
    out += name;
    out += u" : ";
    const long long count = pinCount(net);
    // A net without pins still gets its ";" so that it does not join the
    // net after it.
    if (count == 0) out += kNetEnd;
    appendWrappedPins(out, count, layout,
                      [&](Text& text, long long pin) { text += writtenPin(net.get(kFirstPin + pin)); });
    out += kCrLf;
    file.spill(out);
  }
  appendLine(u"      }");
  out += u"}";
  file.commit(out);
}

}  // namespace korvanel
