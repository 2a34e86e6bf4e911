// Feeds arbitrary bytes to every reader of the format table, then runs the
// passes and the writer on whatever the reader left. Any outcome but a crash,
// a hang or a sanitizer report is fine: failures must surface as the
// driver's own errors.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/driver.h"
#include "formats/builtin_formats.h"

namespace {

class SilentHost : public korvanel::Host {
 public:
  void showMessage(const korvanel::Text&) override {}
  void showProgress() override {}
  void setProgressValue(int) override {}
  void setProgressStatus(const korvanel::Text&) override {}
  void enableProgressOk() override {}
  void hideProgress() override {}
};

const std::filesystem::path& workDirectory() {
  static const std::filesystem::path directory = [] {
    auto path = std::filesystem::temp_directory_path() / ("korvanel-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvanel;
  const auto& directory = workDirectory();
  const auto input = directory / "input.net";
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  SilentHost host;
  const FormatTable& formats = builtinFormats();
  for (const Text& name : formats.inputNames()) {
    if (formats.findReader(name) == nullptr) continue;
    for (const Encoding encoding : {Encoding::Cp932, Encoding::Utf8}) {
      ConversionFields fields;
      fields.inputPath = fromUtf8(input.string());
      fields.outputPath = fromUtf8((directory / "output.net").string());
      fields.inputFormat = name;
      fields.outputFormat = name;
      fields.partsCsv = true;
      fields.csvOrOutputParts = fromUtf8((directory / "parts.csv").string());
      fields.pinChangeBoxes[0] = u"U";
      fields.pinChangeBoxes[10] = u"1";
      fields.pinChangeBoxes[20] = u"A";
      runConversion(fields, host, RunSettings{directory, directory, encoding, false}, formats);
    }
  }
  return 0;
}
