// Text handling shared by every module: the UTF-16 text type, the file codec,
// the netlist line reading, upper-casing and the numeric value of a text.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvanel {

// A text is a sequence of UTF-16 code units; one code unit is one character
// position, so a Japanese character counts as one column.
using Text = std::u16string;
using TextView = std::u16string_view;

enum class Encoding { Cp932, Utf8 };

// The name used on the command line ("cp932", "utf-8").
std::string encodingName(Encoding encoding);

// Bytes of a file decoded into text. Throws FileError naming the file and the
// byte offset of the first byte sequence that is not valid in the encoding.
Text decodeBytes(std::string_view bytes, Encoding encoding, const std::filesystem::path& fileName);

// Text encoded into bytes. Throws FileError naming the file and the first
// character that the encoding cannot hold.
std::string encodeText(TextView text, Encoding encoding, const std::filesystem::path& fileName);

// Splits text into lines. A line ends at CR LF or at a lone CR; a lone LF stays
// inside the line. Text that holds no CR at all (as written by Unix tools)
// has its lines end at each LF instead. Nothing after the last line end gives
// no further line.
std::vector<Text> splitLines(TextView text);

// The same lines as views into `text`.
std::vector<TextView> splitLineViews(TextView text);

// The same lines found one at a time, without a list of them.
class LineFinder {
 public:
  explicit LineFinder(TextView text);
  // The next line; nothing after the last.
  std::optional<TextView> next();

 private:
  TextView text_;
  bool lineFeedEndsLines_;
  std::size_t lineStart_ = 0;
};

// Hands each line of `text` before its first empty line to `takeLine`: the
// records of an intermediate file, without a list of them.
template <typename TakeLine>
void forEachRecordLine(TextView text, TakeLine&& takeLine) {
  LineFinder lines(text);
  for (std::optional<TextView> line = lines.next(); line && !line->empty(); line = lines.next()) takeLine(*line);
}

// The lines of a text as views into it, which the list keeps alive: a file's
// lines without a copy of each.
class LineList {
 public:
  LineList() = default;
  explicit LineList(Text text);

  std::vector<TextView>::const_iterator begin() const { return lines_.begin(); }
  std::vector<TextView>::const_iterator end() const { return lines_.end(); }
  std::size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  TextView operator[](std::size_t index) const { return lines_[index]; }

  // Keeps the lines before the first empty line.
  void keepLinesBeforeFirstEmptyLine();

 private:
  std::shared_ptr<const Text> text_;
  std::vector<TextView> lines_;
};

// Unicode simple upper-case mapping of every character.
Text toUpper(TextView text);
// The same, appended to `out`.
void appendUpperCased(Text& out, TextView text);

// The numeric value of a text: its leading number (after blanks, with an
// optional sign and fraction) rounded to a whole number; 0 when the text does
// not start with a number.
long long numericValue(TextView text);

// Conversions between text and UTF-8 (for paths and messages on a terminal).
std::string toUtf8(TextView text);
Text fromUtf8(std::string_view utf8);
std::filesystem::path toPath(TextView text);

// Decimal text of a whole number, as written into a net line's count.
Text decimalText(long long value);

inline constexpr TextView kCrLf = u"\r\n";

}  // namespace korvanel
