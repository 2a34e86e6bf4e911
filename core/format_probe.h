// Recognising a netlist's format from its content. Every format module has a
// probe beside its reader: it looks at the head of a file (its section
// keywords, header lines and line shapes) and tells how well the file fits
// its format. A probe accepts a file only when its reader accepts it: it
// runs the reader's own recognition over the head, and reads on through the
// whole file only when the head looks like its format but ends before the
// reader's keyword. So a file that a probe accepts never gets the
// format-mismatch message from that reader.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/text.h"

namespace korvanel {

// How well a file fits a format, worst first.
enum class ProbeFit {
  // The reader would not accept the file.
  None,
  // The reader accepts the file, but nothing else points to the format.
  Accepted,
  // The lines have the format's shapes: its separators, columns and blocks.
  Shape,
  // The format's section keywords stand where the format puts them.
  Keywords,
  // The file holds the header that the format's writer writes.
  Header,
};

// A file as the probes see it: its head, the first kilobytes cut after the
// last whole line, and the whole file when a probe asks for it.
class ProbeInput {
 public:
  // How much of a file the head holds.
  static constexpr std::size_t kHeadBytes = 64 * 1024;

  // Throws FileError when the file cannot be opened or read.
  static ProbeInput ofFile(const std::filesystem::path& file, Encoding encoding);
  // `text` as the content of a file whose head holds `headBytes` of its
  // UTF-8 bytes.
  static ProbeInput ofText(TextView text, std::size_t headBytes = kHeadBytes);

  // The whole lines of the head, ended as readLines ends them (at CR LF or
  // a lone CR, or at LF in a file without CR); none when the head is not
  // valid in the encoding.
  const std::vector<Text>& lines() const { return lines_; }
  // Why the head could not be decoded; nothing when it could.
  const std::optional<std::string>& headError() const { return headError_; }
  // Whether the head is the whole file.
  bool holdsWholeFile() const { return wholeFile_; }
  // Every line of the file, read once when first asked for; none when the
  // file cannot be read or decoded, as its reader could not read it either.
  const std::vector<Text>& allLines() const;
  // The head and the whole file decoded as UTF-8, for a format whose reader
  // reads UTF-8 whatever the encoding; empty when not valid UTF-8.
  Text headAsUtf8() const;
  Text allTextAsUtf8() const;

 private:
  ProbeInput(std::string allBytes, std::filesystem::path file, Encoding encoding, std::size_t headBytes);

  std::string wholeBytes() const;

  std::filesystem::path file_;  // empty for a text
  std::string textBytes_;       // the whole text, for a text
  Encoding encoding_;
  std::string headBytes_;
  bool wholeFile_ = false;
  std::vector<Text> lines_;
  std::optional<std::string> headError_;
  mutable std::optional<std::vector<Text>> allLines_;
};

// A probe: how well a file fits one format.
using Probe = ProbeFit (*)(const ProbeInput&);

// Whether `accepts(lines)` holds for the head, or, where the head is not the
// whole file and `readOn` (the head looks like the format), for all lines.
template <typename Accepts>
bool acceptedByHeadOrWholeFile(const ProbeInput& input, bool readOn, Accepts&& accepts) {
  if (accepts(input.lines())) return true;
  return readOn && !input.holdsWholeFile() && accepts(input.allLines());
}

// The context in which a probe runs its reader's own section scan: no
// working directory, a host that shows nothing, no name findings. A scan run
// in it must not write files.
const ConversionContext& probeContext();

// Small helpers that probes share.
// The lines upper-cased.
std::vector<Text> upperCased(const std::vector<Text>& lines);
// The lines as readers that make an upper-cased working copy see them: an
// empty line first, then every line upper-cased and split at every LF too.
LineList upperCaseWorkingCopy(const std::vector<Text>& lines);
// The line without blanks and tabs at either end.
TextView trimmed(TextView line);
// The line without any blank or tab.
Text blanksRemoved(TextView line);
// The first word of the line: the text up to its first blank or tab.
TextView firstWord(TextView line);
// The first line that holds more than blanks and tabs, trimmed; empty when
// there is none.
TextView firstNonEmptyLine(const std::vector<Text>& lines);
TextView firstNonEmptyLine(const LineList& lines);
// Whether `part` is at least `share` (0 to 1) of `whole`, and `whole` is not
// zero.
bool isMostOf(std::size_t part, std::size_t whole, double share = 0.8);

}  // namespace korvanel
