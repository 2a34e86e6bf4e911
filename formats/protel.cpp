#include "formats/protel.h"

#include "formats/block_netlist.h"

namespace korvanel {
namespace {

constexpr TextView kPinSeparator = u"-";

// Whole lines in order: reference, footprint, part type, description; every
// closed block that gives a field gives a part.
constexpr BlockNetlistGrammar kProtelGrammar{PartBlockFields::LinesInOrder, FieldText::WholeLine,
                                             LinesAfterPartName::FourthLineOnly, PartKept::WhenAnyFieldGiven,
                                             u"-"};

// Values after keywords, without blanks and quotes; a block gives a part
// when it names a part type.
constexpr BlockNetlistGrammar kProtel2Grammar{PartBlockFields::ValuesAfterKeywords, FieldText::Squeezed,
                                              LinesAfterPartName::FourthLineOnly, PartKept::WhenPartNameGiven,
                                              u"-"};

// A part field that is one of these alone marks a block.
constexpr TextView kBlockMarks[] = {u"[", u"]"};

}  // namespace

const FormatLimits kProtelLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u" \t", .syntaxFirstCharacters = u"(", .carriesEmpty = false},
    .reference = {.syntaxCharacters = u" \t)-", .syntaxFirstCharacters = u"(", .keywords = kBlockMarks,
                  .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u" \t)"},
    .partName = {.keywords = kBlockMarks},
    .package = {.keywords = kBlockMarks},
};

void mnproin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  readBlockNetlist(context, input, status, kProtelGrammar);
}

void mnpr2in(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  readBlockNetlist(context, input, status, kProtel2Grammar);
}

ProbeFit probeProtel(const ProbeInput& input) {
  const BlockNetlistHead head = readBlockNetlistHead(input);
  if (!head.netBlocksBegin) return ProbeFit::None;
  if (head.firstLine.ends_with(u" ===> D2 CAD NET LIST FILE")) return ProbeFit::Header;
  const bool writersShape =
      head.netMarksStandAlone && !head.partBlocksHoldKeywords && head.pinsWithDash >= head.pinsWithComma;
  return writersShape ? ProbeFit::Shape : ProbeFit::Accepted;
}

ProbeFit probeProtel2(const ProbeInput& input) {
  const BlockNetlistHead head = readBlockNetlistHead(input);
  if (!head.netBlocksBegin) return ProbeFit::None;
  return head.partBlocksHoldKeywords ? ProbeFit::Keywords : ProbeFit::Accepted;
}

void mnproout(const ConversionContext& context, const std::filesystem::path& output) {
  BlockNetlistLayout layout;
  layout.header = context.inputFormatName + u" ===> D2 CAD NET LIST FILE";
  layout.header += kCrLf;
  layout.header += kCrLf;
  layout.pinSeparator = kPinSeparator;
  writeBlockNetlist(context, output, layout);
}

}  // namespace korvanel
