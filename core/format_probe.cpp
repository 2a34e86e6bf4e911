#include "core/format_probe.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "core/errors.h"
#include "core/shared_steps.h"

namespace korvanel {
namespace {

// The byte that ends lines: LF only in a file that holds no CR at all.
// Neither byte occurs inside a multi-byte character, so a cut after one
// never splits a character.
char lineEndOf(bool fileHoldsCarriageReturn) { return fileHoldsCarriageReturn ? '\r' : '\n'; }

// Whether the rest of the stream holds a CR byte.
bool restHoldsCarriageReturn(std::istream& stream) {
  char chunk[1 << 16];
  while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
    if (std::memchr(chunk, '\r', static_cast<std::size_t>(stream.gcount())) != nullptr) return true;
  }
  return false;
}

bool isBlankOrTab(char16_t character) { return character == u' ' || character == u'\t'; }

Text decodedOrEmpty(const std::string& bytes, Encoding encoding) {
  try {
    return decodeBytes(bytes, encoding, {});
  } catch (const FileError&) {
    return {};
  }
}

}  // namespace

ProbeInput::ProbeInput(std::string allBytes, std::filesystem::path file, Encoding encoding, std::size_t headBytes)
    : file_(std::move(file)), textBytes_(std::move(allBytes)), encoding_(encoding) {
  // The head runs on to the end of the line in which its first `headBytes`
  // end, so that it holds whole lines only, and at least one.
  if (file_.empty()) {
    const std::size_t lineEnd =
        textBytes_.find(lineEndOf(textBytes_.find('\r') != std::string::npos), headBytes == 0 ? 0 : headBytes - 1);
    wholeFile_ = lineEnd == std::string::npos || lineEnd + 1 >= textBytes_.size();
    headBytes_ = wholeFile_ ? textBytes_ : textBytes_.substr(0, lineEnd + 1);
  } else {
    std::ifstream stream(file_, std::ios::binary);
    if (!stream) throw FileError(file_.string() + ": cannot open for reading: " + std::strerror(errno));
    std::string head(headBytes + 1, '\0');
    stream.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(stream.gcount()));
    if (stream.bad()) throw FileError(file_.string() + ": read failed: " + std::strerror(errno));
    wholeFile_ = head.size() <= headBytes;
    if (!wholeFile_) {
      stream.clear();
      stream.seekg(static_cast<std::streamoff>(headBytes));
      const char lineEnd = lineEndOf(head.find('\r') != std::string::npos || restHoldsCarriageReturn(stream));
      stream.clear();
      stream.seekg(static_cast<std::streamoff>(head.size()));
      std::size_t end = head.find(lineEnd, headBytes == 0 ? 0 : headBytes - 1);
      char chunk[1 << 16];
      while (end == std::string::npos && (stream.read(chunk, sizeof chunk) || stream.gcount() > 0)) {
        const std::size_t searchFrom = head.size();
        head.append(chunk, static_cast<std::size_t>(stream.gcount()));
        end = head.find(lineEnd, searchFrom);
        if (head.size() > kLargestInputBytes) throw FileError(file_.string() + ": no line end in its first GiB");
      }
      // The file ends within the line, or with its line end.
      if (end == std::string::npos || (end + 1 == head.size() && stream.peek() == std::ifstream::traits_type::eof())) {
        wholeFile_ = true;
      } else {
        head.resize(end + 1);
      }
    }
    headBytes_ = std::move(head);
  }
  try {
    lines_ = splitLines(decodeBytes(headBytes_, encoding_, file_));
  } catch (const FileError& error) {
    headError_ = error.what();
  }
}

ProbeInput ProbeInput::ofFile(const std::filesystem::path& file, Encoding encoding) {
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) throw FileError(file.string() + ": is a directory");
  return ProbeInput({}, file, encoding, kHeadBytes);
}

ProbeInput ProbeInput::ofText(TextView text, std::size_t headBytes) {
  return ProbeInput(toUtf8(text), {}, Encoding::Utf8, headBytes);
}

std::string ProbeInput::wholeBytes() const {
  if (wholeFile_) return headBytes_;
  if (file_.empty()) return textBytes_;
  std::ifstream stream(file_, std::ios::binary);
  std::string bytes;
  char chunk[1 << 16];
  while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(stream.gcount()));
    if (bytes.size() > kLargestInputBytes) return {};
  }
  return bytes;
}

const std::vector<Text>& ProbeInput::allLines() const {
  if (wholeFile_) return lines_;
  if (!allLines_) allLines_ = splitLines(decodedOrEmpty(wholeBytes(), encoding_));
  return *allLines_;
}

Text ProbeInput::headAsUtf8() const { return decodedOrEmpty(headBytes_, Encoding::Utf8); }

Text ProbeInput::allTextAsUtf8() const { return decodedOrEmpty(wholeBytes(), Encoding::Utf8); }

const ConversionContext& probeContext() {
  static SilentHost host;
  static const ConversionContext context{{}, Encoding::Utf8, host, {}, nullptr};
  return context;
}

std::vector<Text> upperCased(const std::vector<Text>& lines) {
  std::vector<Text> upper;
  upper.reserve(lines.size());
  for (const Text& line : lines) upper.push_back(toUpper(line));
  return upper;
}

LineList upperCaseWorkingCopy(const std::vector<Text>& lines) {
  Text workingCopy = upperCaseWorkingText(std::vector<TextView>(lines.begin(), lines.end()));
  workingCopy += kCrLf;
  return LineList(std::move(workingCopy));
}

TextView trimmed(TextView line) {
  std::size_t first = 0;
  std::size_t end = line.size();
  while (first < end && isBlankOrTab(line[first])) ++first;
  while (end > first && isBlankOrTab(line[end - 1])) --end;
  return line.substr(first, end - first);
}

Text blanksRemoved(TextView line) {
  Text kept;
  for (const char16_t character : line) {
    if (!isBlankOrTab(character)) kept += character;
  }
  return kept;
}

TextView firstWord(TextView line) {
  const TextView content = trimmed(line);
  const std::size_t end = content.find_first_of(u" \t");
  return end == TextView::npos ? content : content.substr(0, end);
}

namespace {

template <typename Lines>
TextView firstNonEmptyLineOf(const Lines& lines) {
  for (const TextView line : lines) {
    const TextView content = trimmed(line);
    if (!content.empty()) return content;
  }
  return {};
}

}  // namespace

TextView firstNonEmptyLine(const std::vector<Text>& lines) { return firstNonEmptyLineOf(lines); }
TextView firstNonEmptyLine(const LineList& lines) { return firstNonEmptyLineOf(lines); }

bool isMostOf(std::size_t part, std::size_t whole, double share) {
  return whole > 0 && static_cast<double>(part) >= share * static_cast<double>(whole);
}

}  // namespace korvanel
