#include "formats/tango.h"

#include "formats/block_netlist.h"

namespace korvanel {
namespace {

// Lines in order without blanks, quotes and ")": reference, package, part
// name, then the block's further non-empty lines as additional text. A block
// gives a part when it names one. A pin's "," separates reference and pin
// before any "-" does, so U1,IN- reads as U1.IN- and TA-101,1 as TA-101.1.
constexpr BlockNetlistGrammar kTangoGrammar{PartBlockFields::LinesInOrder, FieldText::Squeezed,
                                            LinesAfterPartName::AllJoined, PartKept::WhenPartNameGiven, u",-"};

constexpr TextView kPinSeparator = u",";
constexpr int kEmptyLinesAfterTitle = 6;

// A part field that is one of these alone marks a block.
constexpr TextView kBlockMarks[] = {u"[", u"]"};

}  // namespace

const FormatLimits kTangoLimits{
    .readerUpperCases = true,
    .netName = {.syntaxCharacters = u" \t", .syntaxFirstCharacters = u"(", .carriesEmpty = false},
    .reference = {.syntaxCharacters = u" \t)\"", .syntaxFirstCharacters = u"(", .keywords = kBlockMarks,
                  .carriesEmpty = false},
    .pinName = {.syntaxCharacters = u" \t)"},
    // A pin without "." is written as it is, and its reader splits it at
    // "," or else at "-" (TP-1 reads back as TP.1).
    .pinWithoutNameSyntaxCharacters = u",-",
    .partName = {.syntaxCharacters = u" \t)\"", .keywords = kBlockMarks, .carriesEmpty = false},
    .package = {.syntaxCharacters = u" \t)\"", .keywords = kBlockMarks},
};

void mntanin(const ConversionContext& context, const std::filesystem::path& input, Text& status) {
  readBlockNetlist(context, input, status, kTangoGrammar);
}

ProbeFit probeTango(const ProbeInput& input) {
  const BlockNetlistHead head = readBlockNetlistHead(input);
  if (!head.netBlocksBegin) return ProbeFit::None;
  if (head.firstLine == u"TANGO") return ProbeFit::Header;
  const bool writersShape =
      head.netMarksStandAlone && !head.partBlocksHoldKeywords && head.pinsWithComma > head.pinsWithDash;
  return writersShape ? ProbeFit::Shape : ProbeFit::Accepted;
}

void mntanout(const ConversionContext& context, const std::filesystem::path& output) {
  BlockNetlistLayout layout;
  layout.header = kCrLf;
  layout.header += u"tango";
  layout.header += kCrLf;
  for (int emptyLine = 0; emptyLine < kEmptyLinesAfterTitle; ++emptyLine) layout.header += kCrLf;
  layout.pinSeparator = kPinSeparator;
  writeBlockNetlist(context, output, layout);
}

}  // namespace korvanel
