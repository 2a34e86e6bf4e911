#include "core/context.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <unicode/utf16.h>

#include "core/errors.h"
#include "core/interruption.h"

namespace korvanel {
namespace {

std::string systemReason() { return std::strerror(errno); }

// How many UTF-16 units are encoded and written at a time.
constexpr std::size_t kEncodedPieceUnits = 1 << 16;

std::filesystem::path temporaryNameBeside(const std::filesystem::path& file) {
  static std::mt19937_64 generator{std::random_device{}()};
  std::filesystem::path temporary = file;
  temporary += ".korvanel-" + std::to_string(generator() % 1000000000ULL) + ".part";
  return temporary;
}

}  // namespace

Text readWholeFile(const std::filesystem::path& file, Encoding encoding) {
  std::error_code error;
  if (std::filesystem::is_directory(file, error)) throw FileError(file.string() + ": is a directory");
  const auto tooLarge = [&] {
    return FileError(file.string() + ": larger than " + std::to_string(kLargestInputBytes >> 30) +
                     " GiB, the largest file that is read");
  };
  // A regular file too large is refused before anything is read; a pipe or a
  // device is read up to the limit.
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size > kLargestInputBytes) throw tooLarge();
  std::ifstream stream(file, std::ios::binary);
  if (!stream) throw FileError(file.string() + ": cannot open for reading: " + systemReason());
  std::string bytes;
  if (!error) bytes.reserve(static_cast<std::size_t>(size));
  char chunk[1 << 16];
  while (stream.read(chunk, sizeof chunk) || stream.gcount() > 0) {
    bytes.append(chunk, static_cast<std::size_t>(stream.gcount()));
    if (bytes.size() > kLargestInputBytes) throw tooLarge();
  }
  if (stream.bad()) throw FileError(file.string() + ": read failed: " + systemReason());
  return decodeBytes(bytes, encoding, file);
}

std::vector<Text> readLines(const std::filesystem::path& file, Encoding encoding) {
  return splitLines(readWholeFile(file, encoding));
}

LineList readRecordLines(const std::filesystem::path& file, Encoding encoding) {
  LineList lines(readWholeFile(file, encoding));
  lines.keepLinesBeforeFirstEmptyLine();
  return lines;
}

WholeFileOutput::WholeFileOutput(const std::filesystem::path& file, Encoding encoding)
    : file_(file), target_(file), encoding_(encoding) {
  // Writing through a link replaces the file it points to, not the link.
  std::error_code linkError;
  if (std::filesystem::is_symlink(file, linkError)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(file, linkError);
    if (!linkError) target_ = resolved;
  }
  // Only a regular file is replaced: a directory, a pipe or a device stays.
  const auto kind = std::filesystem::status(target_, linkError).type();
  if (kind == std::filesystem::file_type::directory) throw FileError(file.string() + ": is a directory");
  if (kind != std::filesystem::file_type::not_found && kind != std::filesystem::file_type::regular) {
    throw FileError(file.string() + ": is not a regular file");
  }
  temporary_ = temporaryNameBeside(target_);
  // Registered, so that an interrupted run removes it.
  interruptible_ = std::make_unique<TemporaryFileGuard>(temporary_);
  stream_.open(temporary_, std::ios::binary | std::ios::trunc);
  if (!stream_) throw FileError(file.string() + ": cannot open for writing: " + systemReason());
}

WholeFileOutput::~WholeFileOutput() {
  if (!committed_) removeTemporaryFile();
}

void WholeFileOutput::removeTemporaryFile() {
  if (stream_.is_open()) stream_.close();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

void WholeFileOutput::write(TextView text) {
  // Encoded a piece at a time, so that no second copy of a large text is
  // held; a character that the encoding cannot hold ends the write.
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.size(), start + kEncodedPieceUnits);
    if (end < text.size() && U16_IS_LEAD(text[end - 1])) --end;  // a surrogate pair stays whole
    const std::string bytes = encodeText(text.substr(start, end - start), encoding_, file_);
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream_) throw FileError(file_.string() + ": write failed: " + systemReason());
    start = end;
  }
}

void WholeFileOutput::spill(Text& text) {
  if (text.size() < kEncodedPieceUnits) return;
  // A lead surrogate at the end waits for its trail in the next piece.
  const bool endsInLeadSurrogate = U16_IS_LEAD(text.back());
  if (!heldBack_.empty()) {
    text.insert(0, heldBack_);
    heldBack_.clear();
  }
  if (endsInLeadSurrogate) {
    heldBack_ = text.back();
    text.pop_back();
  }
  write(text);
  text.clear();
}

void WholeFileOutput::commit(TextView content, TextView finalLineEnd) {
  if (!heldBack_.empty()) {
    write(heldBack_ + Text(content.substr(0, 1)));
    content.remove_prefix(std::min<std::size_t>(1, content.size()));
  }
  write(content);
  write(finalLineEnd);
  stream_.close();
  if (!stream_) throw FileError(file_.string() + ": write failed: " + systemReason());
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) throw FileError(file_.string() + ": cannot replace the file: " + error.message());
  committed_ = true;
}

void writeWholeFile(const std::filesystem::path& file, TextView content, Encoding encoding, TextView finalLineEnd) {
  WholeFileOutput output(file, encoding);
  output.commit(content, finalLineEnd);
}

}  // namespace korvanel
