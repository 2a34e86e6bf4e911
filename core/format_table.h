// The format table: every format name that the window lists, with the reader
// and the writer that serve it. A name is looked up by its exact text.
#pragma once

#include <filesystem>
#include <vector>

#include "core/context.h"
#include "core/field_limits.h"
#include "core/format_probe.h"
#include "core/text.h"

namespace korvanel {

struct ReaderArguments {
  std::filesystem::path input;
  // The parts file that accompanies an input of the two-file format.
  Text companionPartsFile;
};

struct WriterArguments {
  std::filesystem::path output;
  // The parts file written beside an output of the two-file format.
  Text companionPartsFile;
};

// A reader turns its input into net.tmp and parts.tmp and sets `status` to
// "bad" when it does not recognise the input.
using Reader = void (*)(const ConversionContext&, const ReaderArguments&, Text& status);
// A writer turns net.tmp and parts.tmp into its output.
using Writer = void (*)(const ConversionContext&, const WriterArguments&);

struct FormatEntry {
  Text name;
  Reader reader = nullptr;
  Writer writer = nullptr;
  // What the writer's format can carry; nullptr where nothing is checked.
  const FormatLimits* writerLimits = nullptr;
  // A two-file format: the reader takes a parts file beside its input, the
  // writer writes one beside its output.
  bool hasCompanionPartsFile = false;
  // How well a file fits the reader's format; nullptr where there is no
  // reader. Names that share a reader share its probe.
  Probe probe = nullptr;
};

class FormatTable {
 public:
  FormatTable(std::vector<FormatEntry> entries, std::vector<Text> inputNames, std::vector<Text> outputNames)
      : entries_(std::move(entries)), inputNames_(std::move(inputNames)), outputNames_(std::move(outputNames)) {}

  // nullptr when the name is unknown or has no module in that direction.
  Reader findReader(TextView name) const;
  Writer findWriter(TextView name) const;
  // What the writer of the name can carry; nullptr when nothing is known.
  const FormatLimits* findWriterLimits(TextView name) const;
  // Whether the name is a two-file format (false for an unknown name).
  bool hasCompanionPartsFile(TextView name) const;

  // The names in the order of the window's input and output lists.
  const std::vector<Text>& inputNames() const { return inputNames_; }
  const std::vector<Text>& outputNames() const { return outputNames_; }
  // The first input name of every reader and the first output name of every
  // writer, each module once (ALLEGRO and Telesis share one).
  std::vector<Text> firstNamePerReader() const;
  std::vector<Text> firstNamePerWriter() const;
  // Every entry, in the table's order.
  const std::vector<FormatEntry>& entries() const { return entries_; }

 private:
  const FormatEntry* find(TextView name) const;

  std::vector<FormatEntry> entries_;
  std::vector<Text> inputNames_;
  std::vector<Text> outputNames_;
};

}  // namespace korvanel
