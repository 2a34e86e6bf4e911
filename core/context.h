// The small context through which readers, writers and passes meet the rest
// of the program, and the file operations they all use.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "core/host.h"
#include "core/interruption.h"
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

// A whole file written a piece at a time, which takes the place of the
// previous file only when it is complete: the bytes go to a temporary file
// beside the target, which commit() then renames onto it, so a failure never
// leaves a half-written file in place of the previous one. Destroyed before
// commit() (a run that failed or stopped on the way), it removes the
// temporary file. A writer that appends a large file to a text hands the
// text over with spill() as it goes and holds only the last piece.
class WholeFileOutput {
 public:
  WholeFileOutput(const std::filesystem::path& file, Encoding encoding);
  ~WholeFileOutput();
  WholeFileOutput(const WholeFileOutput&) = delete;
  WholeFileOutput& operator=(const WholeFileOutput&) = delete;

  // Writes `text` and empties it, once it holds a piece's worth.
  void spill(Text& text);
  // Writes `content` followed by `finalLineEnd` (every whole-file write adds
  // one more line end) and puts the file in place of the target.
  void commit(TextView content, TextView finalLineEnd = kCrLf);

 private:
  void write(TextView text);
  void removeTemporaryFile();

  std::filesystem::path file_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  Encoding encoding_;
  std::unique_ptr<TemporaryFileGuard> interruptible_;
  std::ofstream stream_;
  // A lead surrogate at the end of a spilled text, kept for its trail.
  Text heldBack_;
  bool committed_ = false;
};

// Writes a whole file at once through a WholeFileOutput.
void writeWholeFile(const std::filesystem::path& file, TextView content, Encoding encoding,
                    TextView finalLineEnd = kCrLf);

}  // namespace korvanel
