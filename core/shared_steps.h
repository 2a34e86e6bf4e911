// Steps that several readers and writers take alike: the upper-cased working
// copy of an input, the parts file sorted in place, and the nets of one name
// joined into one net.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "core/context.h"
#include "core/text.h"

namespace korvanel {

// The lines upper-cased, each opened by CR LF and with every lone LF inside
// a line made CR LF: the working copy that some readers walk.
Text upperCaseWorkingText(const std::vector<TextView>& lines);

// The input upper-cased, with every line end (CR LF, lone CR or LF) made
// CR LF and an empty line before the first line. The copy is written to
// net.tmp, where it stays when the input turns out not to be of the reader's
// format; its lines are returned, the empty first line included.
LineList writeUpperCaseWorkingCopy(const ConversionContext& context, const std::filesystem::path& input);

// Whether a sorted parts file ends with an empty line of its own before the
// line end that every whole-file write adds.
enum class EmptyLineAfterParts { No, Yes };

// Every non-empty line of parts.tmp, sorted ascending by character codes
// (so by package, then part name, then reference), written back to
// parts.tmp and returned. The list holds at most 20001 lines, 20000 when an
// empty line follows them.
std::vector<Text> sortPartsFile(const ConversionContext& context, EmptyLineAfterParts emptyLine);

// Joins the net lines of one name into one net, at the place of the name's
// first line, with the pins in input order (duplicates kept). Names are
// compared exactly, as the net lines give them back. A joined net holds at
// most 19,999 pins; with `mostDistinctNets`, a further distinct name is a
// capacity failure. Returns the content of the joined net file.
Text mergeNetsByName(const std::vector<Text>& netLines, std::optional<std::size_t> mostDistinctNets = std::nullopt);

}  // namespace korvanel
