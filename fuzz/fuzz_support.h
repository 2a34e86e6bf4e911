// What the fuzz targets share: a host that shows nothing, a scratch directory
// in memory, and the conventions by which one input feeds a reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "core/format_table.h"
#include "core/host.h"
#include "core/text.h"

namespace korvanel::fuzzing {

// A directory of this process, on a RAM-backed file system where there is
// one (/dev/shm), removed when the process ends normally.
const std::filesystem::path& scratchDirectory();

// Writes the bytes to the file as they are.
void writeBytes(const std::filesystem::path& file, std::string_view bytes);

// The format names of a list separated by "|".
std::vector<Text> formatNames(std::string_view list);

// One fuzz input for a reader: the first byte picks a format name of the
// list when there is more than one; for a two-file format the bytes before
// the first NUL byte are the netlist, those after it the parts file.
struct ReaderInput {
  Text formatName;
  std::string_view netlist;
  std::string_view partsFile;
  bool hasPartsFile = false;
};
ReaderInput splitReaderInput(const std::vector<Text>& names, const FormatTable& formats, std::string_view bytes);

// Writes the input's files into `directory` and runs the reader of its
// format there, with net.tmp and parts.tmp in `context.workDir`. Returns
// whether the reader recognised the input. A capacity failure or a file the
// codec rejects ends the run as the driver ends it (false); any other
// exception is a finding and passes through.
bool runReader(const ReaderInput& input, const FormatTable& formats, const ConversionContext& context,
               const std::filesystem::path& directory);

// Stops the process with a finding: libFuzzer keeps the input that led here.
[[noreturn]] void finding(const char* what, const Text& detail = {});

}  // namespace korvanel::fuzzing
