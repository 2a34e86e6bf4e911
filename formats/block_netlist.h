// Netlists of part blocks and net blocks, shared by the PROTEL, PROTEL2 and
// TANGO modules. Every part stands in a block between a line "[" and a line
// "]", every net in a block that opens with "(" and closes with ")": the net
// name first, then one pin per line, written reference, separator, pin.
//
//   [          (
//   U1         GND
//   DIP14      U1-7
//   74HC00     U2-7
//   ...        )
//   ]
//
// The formats differ in how a part block gives its fields, in the pin
// separator and in the header of a written file; those differences are data.
#pragma once

#include <filesystem>

#include "core/context.h"
#include "core/format_probe.h"
#include "core/text.h"

namespace korvanel {

// How the lines inside a part block give the part's fields.
enum class PartBlockFields {
  // One field per line, in a fixed order: reference designator, package,
  // part name, then additional text.
  LinesInOrder,
  // Each value stands on the line after a keyword line that names its field
  // ("PARTTYPE", "DESIGNATOR", "FOOTPRINT", "DESCRIPTION").
  ValuesAfterKeywords,
};

// What of a line inside a part block makes its field.
enum class FieldText {
  // The whole line, blanks included.
  WholeLine,
  // The line without blanks, tabs, double quotes and ")".
  Squeezed,
};

// What the lines after the part name give (blocks of lines in order).
enum class LinesAfterPartName {
  // The fourth line is the additional text; later lines are ignored.
  FourthLineOnly,
  // Every further non-empty line, joined by single blanks.
  AllJoined,
};

// Which closed part blocks give a part.
enum class PartKept {
  WhenAnyFieldGiven,
  WhenPartNameGiven,
};

struct BlockNetlistGrammar {
  PartBlockFields fields = PartBlockFields::LinesInOrder;
  FieldText fieldText = FieldText::WholeLine;
  LinesAfterPartName linesAfterPartName = LinesAfterPartName::FourthLineOnly;
  PartKept partKept = PartKept::WhenAnyFieldGiven;
  // The separators between reference and pin that a reader accepts, the
  // preferred first: the first occurrence of the first one that a pin holds
  // (not as its first character) becomes ".".
  TextView pinSeparators;
};

// Reads a block netlist into parts.tmp and net.tmp. The status is "bad" and
// neither file is written when no net block follows the part blocks.
void readBlockNetlist(const ConversionContext& context, const std::filesystem::path& input, Text& status,
                      const BlockNetlistGrammar& grammar);

struct BlockNetlistLayout {
  // The lines before the first part block, each with its line end.
  Text header;
  // What the "." between reference and pin becomes.
  TextView pinSeparator = u"-";
};

// Writes parts.tmp and net.tmp as a block netlist.
void writeBlockNetlist(const ConversionContext& context, const std::filesystem::path& output,
                       const BlockNetlistLayout& layout);

// A pin as read, in the intermediate form (see `pinSeparators`).
Text pinFromToken(TextView token, TextView pinSeparators);

// What the head of a file shows of a block netlist, for the probes of the
// formats that share the grammar.
struct BlockNetlistHead {
  // A "(" outside the part blocks: every reader of the grammar accepts the
  // file.
  bool netBlocksBegin = false;
  // The first line that holds more than blanks, upper-cased and trimmed.
  Text firstLine;
  // A part block gives its fields after keyword lines ("DESIGNATOR", ...).
  bool partBlocksHoldKeywords = false;
  // Most "(" and ")" that open and close the nets stand alone on their lines
  // (a "(" perhaps with the net's name).
  bool netMarksStandAlone = false;
  // The pins of the net blocks written reference-pin (U1-7) and
  // reference,pin (U1,7).
  std::size_t pinsWithDash = 0;
  std::size_t pinsWithComma = 0;
};

BlockNetlistHead readBlockNetlistHead(const ProbeInput& input);

}  // namespace korvanel
