// The small context through which readers, writers and passes meet the rest
// of the program, and the file operations they all use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "core/host.h"
#include "core/text.h"

namespace korvanel {

// Reader status: "bad" when the reader does not recognise its input; any
// other text lets the conversion go on.
inline constexpr TextView kStatusBad = u"bad";
inline constexpr TextView kStatusGood = u"good";

struct ConversionContext {
  // Where net.tmp and parts.tmp live.
  std::filesystem::path workDir;
  // Encoding of every file read or written.
  Encoding encoding = Encoding::Cp932;
  Host& host;
  // The input format name, for writers that name it in their header.
  Text inputFormatName;
  // Where a reader notes the part fields it had to change (finding lines of
  // the error log); nullptr when nobody collects them.
  Text* nameFindings = nullptr;

  std::filesystem::path netFile() const { return workDir / "net.tmp"; }
  std::filesystem::path partsFile() const { return workDir / "parts.tmp"; }
};

// The largest file that is read: 1 GiB.
inline constexpr std::uintmax_t kLargestInputBytes = std::uintmax_t{1} << 30;

// The whole file decoded into text. Throws FileError when it cannot be read,
// is larger than kLargestInputBytes (refused before it is read, when its size
// is known) or holds a byte sequence that is not valid in the encoding.
Text readWholeFile(const std::filesystem::path& file, Encoding encoding);

// Every line of a file (see splitLines for where a line ends).
std::vector<Text> readLines(const std::filesystem::path& file, Encoding encoding);

// The records of an intermediate file: its lines up to the end of the file or
// the first empty line, whichever comes first.
LineList readRecordLines(const std::filesystem::path& file, Encoding encoding);

// Writes a whole file at once: `content` followed by `finalLineEnd` (every
// whole-file write adds one more line end). The bytes go to a temporary file
// beside the target, which then replaces it, so a failure never leaves a
// half-written file in place of the previous one.
void writeWholeFile(const std::filesystem::path& file, TextView content, Encoding encoding,
                    TextView finalLineEnd = kCrLf);

}  // namespace korvanel
