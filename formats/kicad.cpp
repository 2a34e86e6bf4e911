#include "formats/kicad.h"

#include <span>
#include <vector>

#include "core/field_limits.h"
#include "core/line_walk.h"
#include "core/records.h"
#include "korvanel/version.h"

namespace korvanel {
namespace {

constexpr char16_t kListOpen = u'(';
constexpr char16_t kListClose = u')';
constexpr char16_t kQuote = u'"';
constexpr char16_t kEscape = u'\\';
constexpr char16_t kByteOrderMark = u'\xfeff';
constexpr char16_t kLibrarySeparator = u':';

// Where the lists that the reader takes stand, by the heads of the lists
// around them from the outermost; every other list is skipped whole.
constexpr TextView kExport = u"export";
constexpr TextView kComponentPath[] = {kExport, u"components", u"comp"};
constexpr TextView kNetPath[] = {kExport, u"nets", u"net"};
constexpr TextView kNodePath[] = {kExport, u"nets", u"net", u"node"};
constexpr TextView kReferenceHead = u"ref";
constexpr TextView kValueHead = u"value";
constexpr TextView kFootprintHead = u"footprint";
constexpr TextView kNameHead = u"name";
constexpr TextView kPinHead = u"pin";

// Whitespace between atoms: blanks, tabs, line ends and other control
// characters.
bool isWhitespace(char16_t character) { return character <= u' '; }

enum class TokenKind { Open, Close, Atom, End, UnclosedQuote };

struct Token {
  TokenKind kind;
  Text atom;
};

// The token at `position`, after any whitespace; `position` moves past it.
// A quoted atom runs to the next quote that no backslash escapes, and a
// backslash takes the character after it as it is (\" and \\). A bare atom
// runs to whitespace or a parenthesis.
Token nextToken(TextView text, std::size_t& position) {
  while (position < text.size() && isWhitespace(text[position])) ++position;
  const CharacterAt at = characterAt(text, position);
  if (at.empty) return {TokenKind::End, {}};
  if (at.is(kListOpen) || at.is(kListClose)) {
    ++position;
    return {at.is(kListOpen) ? TokenKind::Open : TokenKind::Close, {}};
  }
  Text atom;
  if (at.is(kQuote)) {
    for (++position; position < text.size(); ++position) {
      if (text[position] == kQuote) {
        ++position;
        return {TokenKind::Atom, std::move(atom)};
      }
      const bool escapes = text[position] == kEscape && position + 1 < text.size();
      if (escapes) ++position;
      atom += text[position];
    }
    return {TokenKind::UnclosedQuote, {}};
  }
  for (; position < text.size(); ++position) {
    const char16_t character = text[position];
    if (isWhitespace(character) || character == kListOpen || character == kListClose) break;
    atom += character;
  }
  return {TokenKind::Atom, std::move(atom)};
}

// The package of a footprint: its name after the library prefix
// (Resistor_SMD:R_0805 gives R_0805).
Text packageOf(const Text& footprint) {
  const std::size_t prefixEnd = footprint.find(kLibrarySeparator);
  return prefixEnd == Text::npos ? footprint : footprint.substr(prefixEnd + 1);
}

// Walks the netlist token by token, keeping the head of every open list, and
// builds the parts lines and net lines from the lists that it takes.
class NetlistWalk {
 public:
  explicit NetlistWalk(const ConversionContext& context) : context_(context) {}

  // Whether the text is one list headed "export" that closes before the
  // text ends.
  bool walk(TextView text) {
    std::size_t position = 0;
    if (!text.empty() && text.front() == kByteOrderMark) ++position;
    if (nextToken(text, position).kind != TokenKind::Open) return false;
    lists_.emplace_back();
    while (!lists_.empty()) {
      Token token = nextToken(text, position);
      // The outermost list is headed "export"; a list in its place, or its
      // end, before that head is no netlist.
      const bool inOutermostList = lists_.size() == 1;
      const bool structureArrives = token.kind == TokenKind::Open || token.kind == TokenKind::Close;
      if (inOutermostList && structureArrives && lists_.front().head != kExport) return false;
      switch (token.kind) {
        case TokenKind::Open:
          ++lists_.back().elementsSoFar;
          lists_.emplace_back();
          break;
        case TokenKind::Close:
          listCloses();
          lists_.pop_back();
          break;
        case TokenKind::Atom:
          if (!atomArrives(std::move(token.atom))) return false;
          break;
        case TokenKind::End:
        case TokenKind::UnclosedQuote:
          return false;
      }
    }
    return true;
  }

  Text partsLines;
  Text netLines;

 private:
  struct OpenList {
    Text head;
    int elementsSoFar = 0;
  };

  // Whether the open lists are the lists of `path`.
  bool isAt(std::span<const TextView> path) const {
    if (lists_.size() != path.size()) return false;
    for (std::size_t depth = 0; depth < path.size(); ++depth) {
      if (lists_[depth].head != path[depth]) return false;
    }
    return true;
  }
  // Whether the innermost list is a `field` list right inside the lists of `path`.
  bool isAtField(std::span<const TextView> path, TextView field) const {
    if (lists_.size() != path.size() + 1 || lists_.back().head != field) return false;
    for (std::size_t depth = 0; depth < path.size(); ++depth) {
      if (lists_[depth].head != path[depth]) return false;
    }
    return true;
  }

  // The first atom of a list is its head; the next one is the value that a
  // field list such as (ref "R1") holds. Later atoms are skipped.
  bool atomArrives(Text atom) {
    OpenList& list = lists_.back();
    const int element = list.elementsSoFar++;
    if (element == 0) {
      list.head = std::move(atom);
      const bool outermost = lists_.size() == 1;
      if (outermost && list.head != kExport) return false;
      headArrives();
    } else if (element == 1) {
      valueArrives(std::move(atom));
    }
    return true;
  }

  void headArrives() {
    if (isAt(kComponentPath)) {
      reference_.clear();
      value_.clear();
      footprint_.clear();
    } else if (isAt(kNetPath)) {
      netName_.clear();
      nextElement_ = kFirstPin;
    } else if (isAt(kNodePath)) {
      nodeReference_.clear();
      nodePin_.clear();
    }
  }

  void valueArrives(Text value) {
    if (isAtField(kComponentPath, kReferenceHead)) {
      reference_ = std::move(value);
    } else if (isAtField(kComponentPath, kValueHead)) {
      value_ = std::move(value);
    } else if (isAtField(kComponentPath, kFootprintHead)) {
      footprint_ = std::move(value);
    } else if (isAtField(kNetPath, kNameHead)) {
      netName_ = std::move(value);
    } else if (isAtField(kNodePath, kReferenceHead)) {
      nodeReference_ = std::move(value);
    } else if (isAtField(kNodePath, kPinHead)) {
      nodePin_ = std::move(value);
    }
  }

  void listCloses() {
    if (isAt(kComponentPath)) {
      partCloses();
    } else if (isAt(kNodePath)) {
      nodeCloses();
    } else if (isAt(kNetPath)) {
      netCloses();
    }
  }

  // A part without a reference is no part.
  void partCloses() {
    if (reference_.empty()) return;
    PartRecord part;
    part.at(kPartName) = value_;
    part.at(kReference) = reference_;
    part.at(kOtherInformation) = packageOf(footprint_);
    appendPartsLine(context_, part, partsLines);
  }

  // A node gives the pin "reference.pin", or its reference alone when it
  // names no pin; a node that names neither gives none.
  void nodeCloses() {
    if (nodeReference_.empty() && nodePin_.empty()) return;
    Text pin = nodeReference_;
    if (!nodePin_.empty()) pin += u'.' + nodePin_;
    net_.at(nextElement_++) = fitForNetLine(context_, u"ピン", pin);
  }

  // A net with neither a name nor a pin gives nothing.
  void netCloses() {
    if (netName_.empty() && nextElement_ == kFirstPin) return;
    net_.at(kNetName) = fitForNetLine(context_, u"ネット名", netName_);
    appendNetLine(net_, nextElement_, netLines);
  }

  const ConversionContext& context_;
  std::vector<OpenList> lists_;
  Text reference_;
  Text value_;
  Text footprint_;
  NetRecord net_;
  Text netName_;
  long long nextElement_ = kFirstPin;
  Text nodeReference_;
  Text nodePin_;
};

// A text as a quoted atom, its quotes and backslashes escaped.
Text quotedAtom(TextView text) {
  Text atom(1, kQuote);
  for (const char16_t character : text) {
    if (character == kQuote || character == kEscape) atom += kEscape;
    atom += character;
  }
  atom += kQuote;
  return atom;
}

}  // namespace

const FormatLimits kKicadLimits{
    .readerUpperCases = false,
    // The board editor takes a net without a name for no net at all.
    .netName = {.carriesEmpty = false},
    // A part without a reference is no part.
    .reference = {.carriesEmpty = false},
    // A node without a pin reads back as its reference alone.
    .pinName = {.carriesEmpty = false},
    .partName = {},
    .package = {},
};

void mnkicin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  status = kStatusBad;
  // KiCad writes its netlists in UTF-8 only.
  const Text text = readWholeFile(input, Encoding::Utf8);
  NetlistWalk walk(context);
  if (!walk.walk(text)) {
    context.host.hideProgress();
    return;
  }
  status = kStatusGood;
  writeWholeFile(context.partsFile(), walk.partsLines, context.encoding);
  writeWholeFile(context.netFile(), walk.netLines, context.encoding);
}

ProbeFit probeKicad(const ProbeInput& input) {
  const auto walks = [](TextView text) { return NetlistWalk(probeContext()).walk(text); };
  const Text head = input.headAsUtf8();
  if (input.holdsWholeFile()) return walks(head) ? ProbeFit::Header : ProbeFit::None;
  // The head of a netlist: "(" and the head "export", blanks and a byte
  // order mark aside.
  std::size_t position = !head.empty() && head.front() == kByteOrderMark ? 1 : 0;
  const bool opensExport =
      nextToken(head, position).kind == TokenKind::Open && nextToken(head, position).atom == kExport;
  return opensExport && walks(input.allTextAsUtf8()) ? ProbeFit::Header : ProbeFit::None;
}

void mnkicout(const ConversionContext& context, const std::filesystem::path& output) {
  WholeFileOutput file(output, Encoding::Utf8);
  Text out = u"(export (version \"E\")\n  (design\n    (tool ";
  out += quotedAtom(u"Korvanel " + fromUtf8(kVersion));
  out += u"))\n  (components";
  PartRecord part;
  for (const TextView line : readRecordLines(context.partsFile(), context.encoding)) {
    mprk1in(part, line);
    out += u"\n    (comp (ref ";
    out += quotedAtom(part.get(kReference));
    out += u")\n      (value ";
    out += quotedAtom(part.get(kPartName));
    out += u")\n      (footprint ";
    out += quotedAtom(part.get(kOtherInformation));
    out += u"))";
    file.spill(out);
  }
  out += u")\n  (nets";

  // Nets are numbered from 1; a pin's text before its first "." is the
  // node's reference, the rest its pin.
  NetRecord net;
  long long code = 0;
  for (const TextView line : readRecordLines(context.netFile(), context.encoding)) {
    mrk1net(net, line);
    out += u"\n    (net (code ";
    out += quotedAtom(decimalText(++code));
    out += u") (name ";
    out += quotedAtom(net.get(kNetName));
    out += u')';
    const long long count = pinCount(net);
    for (long long index = kFirstPin; index < kFirstPin + count; ++index) {
      const TextView pin = net.get(index);
      const std::size_t dot = pin.find(u'.');
      out += u"\n      (node (ref ";
      out += quotedAtom(pin.substr(0, dot));
      out += u") (pin ";
      out += quotedAtom(dot == TextView::npos ? TextView() : pin.substr(dot + 1));
      out += u"))";
    }
    out += u')';
    file.spill(out);
  }
  out += u"))";
  // KiCad reads UTF-8 only, whatever the encoding of the other files.
  file.commit(out, u"\n");
}

}  // namespace korvanel
