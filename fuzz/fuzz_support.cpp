#include "fuzz/fuzz_support.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/errors.h"

namespace korvanel::fuzzing {
namespace {

std::filesystem::path scratchBase() {
  if (const char* temporary = std::getenv("TMPDIR"); temporary != nullptr && *temporary != '\0') return temporary;
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

void removeScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(scratchDirectory(), ignored);
}

}  // namespace

const std::filesystem::path& scratchDirectory() {
  static const std::filesystem::path directory = [] {
    std::string pattern = (scratchBase() / "korvanel-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror(pattern.c_str());
      std::abort();
    }
    return std::filesystem::path(pattern);
  }();
  static const bool removedAtExit = std::atexit(removeScratchDirectory) == 0;
  (void)removedAtExit;
  return directory;
}

void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
  const int descriptor = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (descriptor < 0) finding("cannot make a scratch file", fromUtf8(file.string()));
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written <= 0) finding("cannot write a scratch file", fromUtf8(file.string()));
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  close(descriptor);
}

std::vector<Text> formatNames(std::string_view list) {
  std::vector<Text> names;
  while (!list.empty()) {
    const std::size_t end = list.find('|');
    names.push_back(fromUtf8(list.substr(0, end)));
    list.remove_prefix(end == std::string_view::npos ? list.size() : end + 1);
  }
  return names;
}

ReaderInput splitReaderInput(const std::vector<Text>& names, const FormatTable& formats, std::string_view bytes) {
  ReaderInput input;
  if (names.size() > 1) {
    if (bytes.empty()) return input;
    input.formatName = names[static_cast<unsigned char>(bytes.front()) % names.size()];
    bytes.remove_prefix(1);
  } else {
    input.formatName = names.front();
  }
  input.netlist = bytes;
  if (formats.hasCompanionPartsFile(input.formatName)) {
    const std::size_t separator = bytes.find('\0');
    if (separator != std::string_view::npos) {
      input.netlist = bytes.substr(0, separator);
      input.partsFile = bytes.substr(separator + 1);
      input.hasPartsFile = true;
    }
  }
  return input;
}

bool runReader(const ReaderInput& input, const FormatTable& formats, const ConversionContext& context,
               const std::filesystem::path& directory) {
  const Reader reader = formats.findReader(input.formatName);
  if (reader == nullptr) finding("no reader for the format name", input.formatName);
  const std::filesystem::path netlist = directory / "input.net";
  const std::filesystem::path partsFile = directory / "input.prt";
  writeBytes(netlist, input.netlist);
  if (input.hasPartsFile) writeBytes(partsFile, input.partsFile);
  Text status;
  try {
    reader(context, ReaderArguments{netlist, input.hasPartsFile ? fromUtf8(partsFile.string()) : Text()}, status);
  } catch (const CapacityError&) {
    return false;
  } catch (const FileError&) {
    return false;
  }
  return status != kStatusBad;
}

void finding(const char* what, const Text& detail) {
  std::fprintf(stderr, "finding: %s%s%s\n", what, detail.empty() ? "" : ": ", toUtf8(detail).c_str());
  std::abort();
}

}  // namespace korvanel::fuzzing
