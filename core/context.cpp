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

void writeWholeFile(const std::filesystem::path& file, TextView content, Encoding encoding, TextView finalLineEnd) {
  // Writing through a link replaces the file it points to, not the link.
  std::filesystem::path target = file;
  std::error_code linkError;
  if (std::filesystem::is_symlink(file, linkError)) {
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(file, linkError);
    if (!linkError) target = resolved;
  }
  // Only a regular file is replaced: a directory, a pipe or a device stays.
  const auto kind = std::filesystem::status(target, linkError).type();
  if (kind == std::filesystem::file_type::directory) throw FileError(file.string() + ": is a directory");
  if (kind != std::filesystem::file_type::not_found && kind != std::filesystem::file_type::regular) {
    throw FileError(file.string() + ": is not a regular file");
  }
  const std::filesystem::path temporary = temporaryNameBeside(target);
  // Registered, so that an interrupted run removes it.
  const TemporaryFileGuard interruptible(temporary);
  {
    std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
    if (!stream) throw FileError(file.string() + ": cannot open for writing: " + systemReason());
    // Encoded a piece at a time, so that no second copy of a large file is
    // held; a character the encoding cannot hold leaves no file behind.
    try {
      for (const TextView part : {content, finalLineEnd}) {
        for (std::size_t start = 0; start < part.size();) {
          std::size_t end = std::min(part.size(), start + kEncodedPieceUnits);
          if (end < part.size() && U16_IS_LEAD(part[end - 1])) --end;  // a surrogate pair stays whole
          const std::string bytes = encodeText(part.substr(start, end - start), encoding, file);
          stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
          start = end;
        }
      }
    } catch (const FileError&) {
      stream.close();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw;
    }
    stream.close();
    if (!stream) {
      const std::string reason = systemReason();
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      throw FileError(file.string() + ": write failed: " + reason);
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  if (error) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw FileError(file.string() + ": cannot replace the file: " + error.message());
  }
}

}  // namespace korvanel
