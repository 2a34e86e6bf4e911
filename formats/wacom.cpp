#include "formats/wacom.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/line_walk.h"
#include "core/records.h"

namespace korvanel {
namespace {

constexpr char16_t kCommentMark = u'*';
constexpr char16_t kNameEnd = u':';
constexpr char16_t kPinEnd = u',';
constexpr char16_t kNetEnd = u'.';
constexpr char16_t kPinSeparator = u'-';
constexpr TextView kWrittenPinSeparator = u" - ";
constexpr TextView kLf = u"\n";
constexpr TextView kEndLine = u"END";

// The input's lines, upper-cased. A LF ends a line as well, so a file with
// LF line ends reads like one with CR LF, even when it holds a CR somewhere.
std::vector<Text> upperCaseLines(const std::vector<Text>& inputLines) {
  std::vector<Text> lines;
  for (const Text& inputLine : inputLines) {
    Text line;
    for (const char16_t character : toUpper(inputLine)) {
      if (character == u'\n') {
        lines.push_back(std::move(line));
        line.clear();
      } else {
        line += character;
      }
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

struct ReadNets {
  Text netLines;
  bool holdsNet = false;
};

// Every net that its "." completes. A name opens a net (an open net without
// its "." is dropped); a "," or "." ends a pin of the open net. Pins outside
// a net (before the first name, between a "." and the next name) belong to
// no net and are left out, and a delimiter right after another ends no pin.
// A pin still open at the end of its line is dropped with the line.
ReadNets readNets(const std::vector<Text>& lines) {
  ReadNets read;
  NetRecord net;
  long long nextElement = kFirstPin;
  bool netOpen = false;
  Text token;
  // Where in the token a "-" with a blank before it stands: that one
  // separates reference and pin (TA-101 - 1 is TA-101.1); without one, the
  // first "-" that is not the pin's first character does.
  std::optional<std::size_t> spacedSeparator;
  auto clearToken = [&] {
    token.clear();
    spacedSeparator.reset();
  };
  auto endPin = [&] {
    if (netOpen && !token.empty()) {
      if (spacedSeparator) {
        token[*spacedSeparator] = u'.';
        net.at(nextElement++) = token;
      } else {
        net.at(nextElement++) = pinFromSeparator(token, kPinSeparator);
      }
    }
    clearToken();
  };
  for (const Text& line : lines) {
    const bool isComment = !line.empty() && line.front() == kCommentMark;
    if (isComment) continue;
    clearToken();
    for (std::size_t position = 0; position < line.size(); ++position) {
      const CharacterAt at = characterAt(line, position);
      const bool followsBlank = position > 0 && characterAt(line, position - 1).isSpaceTabOrEmpty();
      if (at.is(kPinSeparator) && followsBlank && !token.empty() && !spacedSeparator) {
        spacedSeparator = token.size();
      }
      if (at.is(kNameEnd)) {
        net.at(kNetName) = token;
        clearToken();
        nextElement = kFirstPin;
        netOpen = true;
      } else if (at.is(kPinEnd)) {
        endPin();
      } else if (at.is(kNetEnd)) {
        endPin();
        if (netOpen) {
          appendNetLine(net, nextElement, read.netLines);
          read.holdsNet = true;
          netOpen = false;
        }
      } else if (!at.isSpaceTabOrEmpty()) {
        token += at.character;
      }
    }
  }
  return read;
}

// Text that merely holds ":", "," and "." is not a netlist: only a file with
// at least one net is taken, or one whose lines are comments and the closing
// END alone, as the writer writes a board without nets.
bool isEmptyNetlist(const std::vector<Text>& lines) {
  return std::any_of(lines.begin(), lines.end(), [](const Text& line) { return trimmed(line) == kEndLine; }) &&
         std::all_of(lines.begin(), lines.end(), [](const Text& line) {
           const TextView content = trimmed(line);
           return content.empty() || content == kEndLine || line.front() == kCommentMark;
         });
}

// An intermediate pin as the format writes it: U1.7 becomes U1 - 7.
Text writtenPin(TextView pin) {
  Text written;
  for (const char16_t character : pin) {
    if (character == u'.') {
      written += kWrittenPinSeparator;
    } else {
      written += character;
    }
  }
  return written;
}

}  // namespace

const FormatLimits kWacomLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u":,."},
    // An empty reference leaves " - 2", which reads back as the pin -2.
    .reference = {.syntaxCharacters = u":,.", .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u":,."},
    // A pin without "." is written as it is, and the reader splits it at
    // "-" (TP-1 reads back as TP.1).
    .pinWithoutNameSyntaxCharacters = u"-",
    .carriesParts = false,
};

void mnwacin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  const std::vector<Text> lines = upperCaseLines(readLines(input, context.encoding));
  const ReadNets read = readNets(lines);
  if (!read.holdsNet && !isEmptyNetlist(lines)) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  // The format has no parts: the parts file holds one empty line.
  writeWholeFile(context.partsFile(), u"", context.encoding);
  writeWholeFile(context.netFile(), read.netLines, context.encoding);
}

ProbeFit probeWacom(const ProbeInput& input) {
  const std::vector<Text> lines = upperCaseLines(input.lines());
  const bool accepted = readNets(lines).holdsNet || (input.holdsWholeFile() && isEmptyNetlist(lines));
  if (!accepted) return ProbeFit::None;
  const TextView firstLine = firstNonEmptyLine(lines);
  if (firstLine.starts_with(u"*") && firstLine.ends_with(u" ===> WACOM SIMPLE NET")) return ProbeFit::Header;
  // Most lines that are not comments name a net as the writer does
  // ("name : "), end a pin with "," or a net with ".", or are the closing END.
  std::size_t contentLines = 0;
  std::size_t shapedLines = 0;
  for (const Text& line : lines) {
    const TextView content = trimmed(line);
    if (content.empty() || line.front() == kCommentMark) continue;
    ++contentLines;
    const bool namesNet = content.find(u" : ") != TextView::npos;
    if (namesNet || content == kEndLine || content.ends_with(kPinEnd) || content.ends_with(kNetEnd)) ++shapedLines;
  }
  return isMostOf(shapedLines, contentLines) ? ProbeFit::Shape : ProbeFit::Accepted;
}

void mnwacout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, context.encoding);
  Text out = u"* ";
  out += context.inputFormatName;
  out += u" ===> WACOM SIMPLE NET";
  out += kLf;
  out += kLf;

  // Six pins to a line, continuation lines indented by 11 blanks; a full line
  // ends in ", " and the net's last pin is followed by ".".
  const Text continuationIndent(11, u' ');
  const WrappedPinList layout{u"", u", ", u".", 6, 6, kLf, continuationIndent};
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    const Text& name = net.get(kNetName);
    // A name that begins with "*" would make its line a comment.
    if (!name.empty() && name.front() == kCommentMark) out += u' ';
    out += name;
    out += u" : ";
    const long long count = pinCount(net);
    // A net without pins still gets its "." so that it reads back as a net.
    if (count == 0) out += kNetEnd;
    appendWrappedPins(out, count, layout,
                      [&](Text& text, long long pin) { text += writtenPin(net.get(kFirstPin + pin)); });
    out += kLf;
    file.spill(out);
  }
  out += kEndLine;
  out += kLf;
  // Lines end in LF alone; the whole-file write adds its CR LF after the last.
  file.commit(out);
}

}  // namespace korvanel
