#include "formats/cr5000.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/field_limits.h"
#include "core/errors.h"
#include "core/line_walk.h"
#include "core/passes.h"
#include "core/records.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

constexpr TextView kHeaderKeyword = u"$CCF{";
constexpr TextView kDefinitionKeyword = u"DEFINITION{";
constexpr TextView kNetKeyword = u"NET{";
constexpr TextView kPowerKeyword = u"POWER{";
constexpr TextView kGroundKeyword = u"GROUND{";
constexpr TextView kOneStrokeNetKeyword = u"ONE_STROKE_NET{";
constexpr TextView kCommentOpener = u"/*";
constexpr TextView kCommentCloser = u"*/";
constexpr TextView kLineFeed = u"\n";

// Blanks, tabs and line-end characters never belong to a word.
bool isWordCharacter(const CharacterAt& at) {
  return !at.isSpaceTabOrEmpty() && !at.is(u'\r') && !at.is(u'\n');
}

// Reads the upper-cased lines one after the other. A word (the token) is
// collected across line ends until a delimiter of the current section or a
// keyword ends it; keywords are recognised at the position after their last
// character, blanks left out ("DEFINITION {" reads as "DEFINITION{").
class Cr5000Reader {
 public:
  Cr5000Reader(const ConversionContext& context, Text& status) : context_(context), status_(status) {}

  void readLine(TextView line);
  // Writes the intermediate files, or hides the progress window and leaves
  // the status "bad" when the input has no "$CCF{".
  void finish();

 private:
  enum class Section { beforeDefinitions, definitions, nets, comment };
  // What the walk does after a character was taken.
  enum class Next {
    nextPosition,
    // A keyword or a comment opener ended before this character: the
    // character is looked at again, as the first of the next word.
    samePositionAgain,
    skipLine,
  };

  Next takeCharacter(CharacterAt at);
  void addPart();
  void enterNetBlock();

  const ConversionContext& context_;
  Text& status_;
  Section section_ = Section::beforeDefinitions;
  Section sectionBeforeComment_ = Section::beforeDefinitions;
  Text token_;
  long long nextElement_ = 0;
  PartRecord part_;
  NetRecord net_;
  Text partsLines_;
  Text netLines_;
  bool partsWritten_ = false;
};

void Cr5000Reader::readLine(TextView line) {
  std::size_t position = 0;
  while (position <= line.size()) {
    if (section_ == Section::comment) {
      // A comment runs to the next "*/", on this line or a later one; what
      // follows the "*/" is read again.
      const std::size_t closer = line.find(kCommentCloser, position);
      if (closer == TextView::npos) return;
      section_ = sectionBeforeComment_;
      position = closer + kCommentCloser.size();
      continue;
    }
    const Next next = takeCharacter(characterAt(line, position));
    if (next == Next::skipLine) return;
    if (next == Next::nextPosition) ++position;
  }
}

Cr5000Reader::Next Cr5000Reader::takeCharacter(CharacterAt at) {
  // "/*" opens a comment, also straight after a word, which goes on after
  // the comment.
  if (token_.ends_with(kCommentOpener)) {
    token_.resize(token_.size() - kCommentOpener.size());
    sectionBeforeComment_ = section_;
    section_ = Section::comment;
    return Next::samePositionAgain;
  }

  const bool headerSought = section_ == Section::beforeDefinitions;
  if (at.is(u'$') && headerSought) {
    // "$" begins a new word while "$CCF{" is sought, so that stray text
    // before it cannot hide it; inside the blocks "$" is part of a name.
    token_.clear();
  } else if (token_ == kCommentCloser) {
    // A "*/" with no comment open is dropped with the rest of its line.
    token_.clear();
    return Next::skipLine;
  } else if (section_ == Section::nets) {
    // A pin U1(7) is read as U1.7.
    if (at.is(u'(')) {
      at.character = u'.';
    } else if (at.is(u')')) {
      at = CharacterAt{};
    }
  }

  const bool inDefinitions = section_ == Section::definitions;
  const bool inNets = section_ == Section::nets;
  const bool haveWord = !token_.empty();
  const bool haveTypeName = !part_.get(kPartName).empty();
  if (token_ == kHeaderKeyword) {
    status_ = kStatusGood;
    token_.clear();
    return Next::samePositionAgain;
  } else if (token_ == kDefinitionKeyword && headerSought) {
    section_ = Section::definitions;
    token_.clear();
    return Next::samePositionAgain;
  } else if (inDefinitions && at.is(u':') && haveWord) {
    // The part type names the part and stands for its package too.
    part_.at(kPartName) = token_;
    part_.at(kOtherInformation) = std::move(token_);
    token_.clear();
  } else if (inDefinitions && token_ == u"}") {
    token_.clear();
    return Next::samePositionAgain;
  } else if (inDefinitions && at.is(u',')) {
    // A "," always ends a reference; an empty one, or one with no part type
    // before it, gives no part.
    if (haveWord && haveTypeName) addPart();
    token_.clear();
  } else if (inDefinitions && at.is(u';')) {
    // A ";" always ends the part type's list.
    if (haveWord && haveTypeName) addPart();
    token_.clear();
    part_.at(kPartName).clear();
    part_.at(kOtherInformation).clear();
  } else if (token_ == kNetKeyword) {
    writeWholeFile(context_.partsFile(), partsLines_, context_.encoding);
    partsWritten_ = true;
    enterNetBlock();
    return Next::samePositionAgain;
  } else if (token_ == kPowerKeyword || token_ == kGroundKeyword || token_ == kOneStrokeNetKeyword) {
    enterNetBlock();
    return Next::samePositionAgain;
  } else if (inNets && at.is(u':')) {
    net_.at(kNetName) = std::move(token_);
    token_.clear();
  } else if (inNets && at.is(u',')) {
    // An empty word between two commas is stored as an empty pin.
    net_.at(nextElement_) = std::move(token_);
    token_.clear();
    ++nextElement_;
  } else if (inNets && at.is(u';')) {
    net_.at(nextElement_) = std::move(token_);
    token_.clear();
    net_.at(kPinCount) = decimalText(nextElement_ - 1);
    mnrkout(net_, netLines_);
    netLines_ += kCrLf;
    nextElement_ = kFirstPin;
  } else if (inNets && at.is(u'}')) {
    token_.clear();
  } else if (inNets && token_ == u"{") {
    token_.clear();
    return Next::samePositionAgain;
  } else if (isWordCharacter(at)) {
    token_ += at.character;
  }
  return Next::nextPosition;
}

void Cr5000Reader::addPart() {
  part_.at(kReference) = std::move(token_);
  appendPartsLine(context_, part_, partsLines_);
  part_.at(kReference).clear();
}

void Cr5000Reader::enterNetBlock() {
  section_ = Section::nets;
  nextElement_ = kFirstPin;
  token_.clear();
}

void Cr5000Reader::finish() {
  if (status_ != kStatusGood) {
    context_.host.hideProgress();
    status_ = kStatusBad;
    return;
  }
  // Without a "NET{" the parts read so far are still written, so that no
  // parts file of an earlier run is taken for this input's.
  if (!partsWritten_) writeWholeFile(context_.partsFile(), partsLines_, context_.encoding);
  writeWholeFile(context_.netFile(), netLines_, context_.encoding);
}

// Whether the reader meets "$CCF{" before anything else: nothing but blanks,
// tabs, line ends and comments stand before it, and it stands on one line
// (blanks between its characters allowed). A "$" right after its "{" would begin a
// new word before the keyword is taken. The reader finds the keyword in more
// places; these are the ones a probe needs.
bool opensWithHeaderKeyword(const std::vector<Text>& upperLines) {
  bool insideComment = false;
  for (const Text& line : upperLines) {
    std::size_t position = 0;
    while (position < line.size()) {
      if (insideComment) {
        const std::size_t closer = line.find(kCommentCloser, position);
        if (closer == Text::npos) break;
        insideComment = false;
        position = closer + kCommentCloser.size();
        continue;
      }
      if (!isWordCharacter(characterAt(line, position))) {
        ++position;
      } else if (TextView(line).substr(position).starts_with(kCommentOpener)) {
        insideComment = true;
        position += kCommentOpener.size();
      } else {
        std::size_t matched = 0;
        for (; position < line.size() && matched < kHeaderKeyword.size(); ++position) {
          if (!isWordCharacter(characterAt(line, position))) continue;
          if (line[position] != kHeaderKeyword[matched]) return false;
          ++matched;
        }
        return matched == kHeaderKeyword.size() && !characterAt(line, position).is(u'$');
      }
    }
  }
  return false;
}

// One definition line per run of parts with the same part name: 15 blanks,
// the name, ": " and the references separated by ",". A line wraps after
// its "," once the width estimate (names and references without
// separators) reaches 84; continued references align under the first.
void appendDefinitions(const std::vector<Text>& partsLines, TextView lineEnd, Text& out, WholeFileOutput& file) {
  constexpr std::size_t kIndent = 15;
  constexpr std::size_t kWrapWidth = 84;
  PartRecord part;
  Text groupName;
  bool groupOpen = false;
  std::size_t width = 0;
  for (const Text& line : partsLines) {
    mprk1in(part, line);
    const Text& name = part.get(kPartName);
    const Text& reference = part.get(kReference);
    const bool startsGroup = !groupOpen || name != groupName;
    if (startsGroup) {
      const bool firstGroup = !groupOpen;
      if (!firstGroup) {
        out += u';';
        out += lineEnd;
      }
      appendSpaces(out, kIndent);
      out += name;
      out += u": ";
      out += reference;
      // The first group of the file starts one wider than later ones.
      width = name.size() + reference.size() + (firstGroup ? kIndent : kIndent - 1);
      groupName = name;
      groupOpen = true;
    } else {
      width += reference.size();
      const bool fitsOnLine = width < kWrapWidth;
      out += u',';
      if (fitsOnLine) {
        out += reference;
      } else {
        out += lineEnd;
        appendSpaces(out, name.size() + kIndent + 2);
        out += reference;
        width = name.size() + kIndent + 1;
      }
    }
    file.spill(out);
  }
  if (groupOpen) {
    out += u';';
    out += lineEnd;
  }
}

// U1.7 is written U1(7): the text before the last "." without any earlier
// ".", then the text after it in parentheses (A.B.2 is AB(2), X is (X)).
void appendCr5000Pin(TextView pin, Text& out) {
  const std::size_t lastDot = pin.rfind(u'.');
  const bool hasReference = lastDot != TextView::npos;
  if (hasReference) {
    for (const char16_t character : pin.substr(0, lastDot)) {
      if (character != u'.') out += character;
    }
  }
  out += u'(';
  out += hasReference ? pin.substr(lastDot + 1) : pin;
  out += u')';
}

// One entry per net: the name right-aligned so that its ":" stands in
// column 19, the pins 8 to a line, continuation lines indented by 19 blanks
// and starting with ",", and ";" after the last pin.
void appendNets(const ConversionContext& context, TextView lineEnd, Text& out, WholeFileOutput& file) {
  constexpr std::size_t kNameWidth = 17;
  constexpr std::size_t kContinuationIndent = 19;
  constexpr long long kPinsPerLine = 8;
  NetRecord net;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    const Text& name = net.get(kNetName);
    if (name.size() < kNameWidth) appendSpaces(out, kNameWidth - name.size());
    out += u' ';
    out += name;
    out += u':';
    const long long count = pinCount(net);
    PinLineBreaks lineBreaks(kPinsPerLine, count);
    for (long long written = 0; written < count; ++written) {
      if (lineBreaks.startsNewLine(written)) {
        out += lineEnd;
        appendSpaces(out, kContinuationIndent);
      }
      out += written == 0 ? u' ' : u',';
      appendCr5000Pin(net.get(kFirstPin + written), out);
    }
    // A net without pins gets its name field alone.
    if (count > 0) out += u';';
    out += lineEnd;
    file.spill(out);
  }
}

void writeCr5000(const ConversionContext& context, const std::filesystem::path& output, TextView lineEnd) {
  WholeFileOutput file(output, context.encoding);
  const std::vector<Text> partsLines = sortPartsFile(context, EmptyLineAfterParts::Yes);
  Text out;
  for (const TextView heading : {TextView(u"$CCF{"), TextView(u"       DEFINITION {")}) {
    out += heading;
    out += lineEnd;
  }
  appendDefinitions(partsLines, lineEnd, out, file);
  for (const TextView heading : {TextView(u"       }"), TextView(u"       NET{")}) {
    out += heading;
    out += lineEnd;
  }
  appendNets(context, lineEnd, out, file);
  for (const TextView closing : {u"       }", u"       GROUND {", u"       }", u"       POWER {", u"       }",
                                 u"       ONE_STROKE_NET {", u"       }", u"}"}) {
    out += closing;
    out += lineEnd;
  }
  // Like every whole-file write, the write adds one CR LF, in both forms.
  file.commit(out);
}

}  // namespace

// "/*" opens a comment wherever it stands: the reader skips what stands
// between "/*" and "*/", across lines. "*/" at the start of a word skips the
// rest of its line; a name, a type name and a reference each begin a word.
constexpr TextView kCommentOpeners[] = {kCommentOpener};
constexpr TextView kCommentClosers[] = {kCommentCloser};

const FormatLimits kCr5000Limits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u"(){}", .syntaxSequences = kCommentOpeners, .prefixes = kCommentClosers},
    // An empty reference gives no part, and an empty pin is written "()".
    .reference = {.syntaxCharacters = u"(){},",
                  .syntaxSequences = kCommentOpeners,
                  .prefixes = kCommentClosers,
                  .carriesEmpty = false},
    // Every "." before the last one is dropped: A.B.2 is written AB(2).
    .pinName = {.syntaxCharacters = u"(){}.", .syntaxSequences = kCommentOpeners},
    // A pin without "." is written (X) and reads back as .X.
    .carriesPinWithoutName = false,
    // A type name without a name gives no part; "}" alone is dropped.
    .partName = {.syntaxCharacters = u",{",
                 .syntaxFirstCharacters = u"}",
                 .syntaxSequences = kCommentOpeners,
                 .prefixes = kCommentClosers,
                 .carriesEmpty = false},
    // The package is not written: the reader gives the type name instead.
    .carriesPackage = false,
    .package = {},
};

void mncr5in(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  Cr5000Reader reader(context, status);
  for (const Text& line : readLines(input, context.encoding)) reader.readLine(toUpper(line));
  reader.finish();
}

ProbeFit probeCr5000(const ProbeInput& input) {
  if (!opensWithHeaderKeyword(upperCased(input.lines()))) return ProbeFit::None;
  // The LF form of the writer ends its lines with LF alone.
  std::vector<Text> contents;
  for (const TextView line : upperCaseWorkingCopy(input.lines())) {
    if (Text content = blanksRemoved(line); !content.empty()) contents.push_back(std::move(content));
  }
  const bool writersHeader = contents.size() >= 2 && contents[0] == kHeaderKeyword && contents[1] == kDefinitionKeyword;
  if (writersHeader) return ProbeFit::Header;
  const bool holdsBlockKeyword = std::any_of(contents.begin(), contents.end(), [](const Text& content) {
    return content.starts_with(kDefinitionKeyword) || content.starts_with(kPowerKeyword) ||
           content.starts_with(kGroundKeyword) || content.starts_with(kOneStrokeNetKeyword);
  });
  return holdsBlockKeyword ? ProbeFit::Keywords : ProbeFit::Shape;
}

void mncr5out(const ConversionContext& context, const std::filesystem::path& output) {
  writeCr5000(context, output, kLineFeed);
}

void mncr5pout(const ConversionContext& context, const std::filesystem::path& output) {
  writeCr5000(context, output, kCrLf);
}

}  // namespace korvanel
