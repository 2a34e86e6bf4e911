// What a format can carry in each field that its writer writes, kept as data
// beside every writer, and the pass that runs before a writer: it renames the
// nets whose names would not read back as themselves and reports every field
// that the format cannot carry unambiguously.
#pragma once

#include <cstddef>
#include <span>

#include "core/context.h"
#include "core/records.h"
#include "core/text.h"

namespace korvanel {

// The limits of one field (a net name, a reference, a pin name, a part name
// or a package) in one format, as its own reader sees them.
struct FieldLimits {
  // Characters the reader takes as syntax or drops, wherever they stand.
  TextView syntaxCharacters = {};
  // Characters the reader takes as syntax only at the start of the field.
  TextView syntaxFirstCharacters = {};
  // Characters the reader takes as syntax anywhere but at the start of the
  // field (a pin separator that a leading sign may hold: -5V).
  TextView syntaxLaterCharacters = {};
  // Characters the reader takes as syntax at the end of the field (a
  // separator found from the end: N- before "-1" reads as N and -1).
  TextView syntaxLastCharacters = {};
  // Texts the reader takes as syntax wherever they stand (a comment opener
  // such as "/*"), compared upper-cased.
  std::span<const TextView> syntaxSequences = {};
  // Whole fields the reader takes as keywords, compared upper-cased.
  std::span<const TextView> keywords = {};
  // Texts the reader takes as syntax when a field begins with them (a
  // keyword read as it grows), compared upper-cased.
  std::span<const TextView> prefixes = {};
  // The longest field the layout holds; 0 when there is no limit.
  std::size_t longestLength = 0;
  // Whether an empty field reads back as an empty field.
  bool carriesEmpty = true;

  // Whether `field` reads back as itself (up to the reader's upper-casing).
  bool carries(TextView field) const;
  // `field` with every offending character made "_", an empty field made
  // "_" and an over-long one cut to its longest length.
  Text madeSafe(TextView field) const;

 private:
  bool isOffending(char16_t character, std::size_t position) const;
};

// What a format can carry. A pin is written as its reference and its pin
// name, the text before and after its first "."; a pin without "." is a
// reference alone.
struct FormatLimits {
  // The reader upper-cases what it reads: names that differ only in case
  // come back as one.
  bool readerUpperCases = true;
  FieldLimits netName = {};
  FieldLimits reference = {};
  FieldLimits pinName = {};
  // False where a pin without "." (a reference alone) does not read back as
  // itself: it is reported like a pin name the format cannot carry.
  bool carriesPinWithoutName = true;
  // Characters that a pin without "." cannot hold where it can stand: the
  // reader takes them as the separator of reference and pin name.
  TextView pinWithoutNameSyntaxCharacters = {};
  // False for a format that carries no parts: part fields are not checked.
  bool carriesParts = true;
  FieldLimits partName = {};
  // False for a format that writes no package: the reader gives another
  // field (the part name) in its place, a loss of the format, not reported.
  bool carriesPackage = true;
  FieldLimits package = {};
  // False for a format whose reader takes a pin of nothing but dots (no
  // reference and no pin name, or no text at all) for no pin.
  bool carriesPinOfDotsAlone = true;
};

// The message and the error-log texts of the pass.
inline constexpr TextView kMessageNamesChanged =
    u"出力フォーマットで表せない名前が有ります。処理終了後にエラー情報ボタンを押して確認してください。";
inline constexpr TextView kNamesSectionHeader = u"**************名前変更情報**************";

// Renames every net whose name the output format cannot carry, and every
// net whose name would come back as another net's: offending characters
// become "_" and a suffix "_2", "_3" ... keeps different nets apart; nets of
// one name keep one name, and every name that needs no change stays as it
// is. net.tmp is rewritten only when a name changed. References, pins, part
// names and packages that the format cannot carry are written unchanged and
// only reported. Appends one finding line per rename and per field reported
// to `findings`.
void makeNamesSafeForWriter(const ConversionContext& context, const FormatLimits& limits, Text& findings);

// A parts line built from `record` and appended, with CR LF, to
// `partsLines`. A part name, package or additional text that holds a
// delimiter of the parts line ("!", ";", ":" or "?") could not pass through
// parts.tmp: a package keeps what follows its last ":" (a library prefix
// such as Resistor_SMD:R_0805 goes), and every other delimiter becomes "_".
// Each change is appended as a finding line to the context's name findings.
void appendPartsLine(const ConversionContext& context, const PartRecord& record, Text& partsLines);

// A net name or pin as a net line holds it: its delimiters ";", ":" and ","
// and its blanks, which the line would drop, become "_"; a change is
// appended to the context's name findings as a rename of `label`.
Text fitForNetLine(const ConversionContext& context, TextView label, const Text& field);

// The error-log section of the names changed or reported, and the message
// that points the user to it.
void appendNamesSection(Text& errorLog, const Text& findings);

}  // namespace korvanel
