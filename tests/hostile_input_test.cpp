// Damaged and hostile files through every reader: each ends in a clear
// outcome (a conversion, the format-mismatch message, the capacity message,
// or a failure that names the file), never in a crash or a hang. A file
// over the size limit is refused before it is read.
#include <gtest/gtest.h>


#include "core/driver.h"
#include "formats/builtin_formats.h"
#include "tests/support/test_support.h"

namespace korvanel {
namespace {

constexpr const char* kBoard = "$PACKAGES\r\nDIP14 ! 74HC00 ; U1\r\n$NETS\r\nGND ; U1.7 R1.2\r\n$END\r\n";

std::string utf16WithByteOrderMark(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char character : ascii) bytes += std::string{character, '\0'};
  return bytes;
}

std::string repeated(const std::string& piece, std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += piece;
  return text;
}

struct HostileFile {
  const char* what;
  std::string bytes;
  bool mustFail;  // only a failure that names the file is a clear outcome
};

// The long lines are short enough for a quick test; scripts/hostile-input
// measures a 100 MB line.
const HostileFile kHostileFiles[] = {
    {"an empty file", "", false},
    {"NUL bytes", std::string(4096, '\0'), false},
    {"a single long word", repeated("N", 256 * 1024), false},
    {"a single long line of pins", repeated("R1.1 ", 256 * 1024), false},
    {"a truncated multi-byte character at the end", std::string(kBoard) + "\x82", true},
    {"UTF-16 read as cp932", utf16WithByteOrderMark(kBoard), false},
};

class HostileInput : public testing::ScratchTest, public ::testing::WithParamInterface<Text> {
 protected:
  RunResult read(const std::string& file) {
    return runReaderOnly(GetParam(), ReaderArguments{path(file), {}}, context, builtinFormats());
  }
};

TEST_P(HostileInput, EndsInAClearOutcome) {
  for (const HostileFile& hostile : kHostileFiles) {
    SCOPED_TRACE(hostile.what);
    writeBytes("hostile.net", hostile.bytes);
    const RunResult result = read("hostile.net");
    if (result.outcome == RunOutcome::Failed || hostile.mustFail) {
      EXPECT_EQ(result.outcome, RunOutcome::Failed);
      EXPECT_NE(result.failure.find("hostile.net: "), std::string::npos) << result.failure;
    } else {
      EXPECT_TRUE(result.outcome == RunOutcome::Finished || result.outcome == RunOutcome::FormatMismatch ||
                  result.outcome == RunOutcome::CapacityExceeded);
    }
  }
}

TEST_P(HostileInput, AFileOverTheSizeLimitIsRefusedBeforeItIsRead) {
  // A sparse file: its size is there, its bytes take no room.
  writeBytes("huge.net", "");
  std::filesystem::resize_file(path("huge.net"), kLargestInputBytes + 1);
  const RunResult result = read("huge.net");
  EXPECT_EQ(result.outcome, RunOutcome::Failed);
  EXPECT_NE(result.failure.find("huge.net: larger than 1 GiB"), std::string::npos) << result.failure;
}

INSTANTIATE_TEST_SUITE_P(Readers, HostileInput, ::testing::ValuesIn(builtinFormats().firstNamePerReader()),
                         [](const auto& info) { return testing::testNameOf(toUtf8(info.param)); });

}  // namespace
}  // namespace korvanel
