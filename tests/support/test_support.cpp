#include "tests/support/test_support.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <random>

namespace korvanel::testing {

std::vector<std::string> RecordingHost::messages() const {
  std::vector<std::string> found;
  for (const std::string& event : events) {
    if (event.rfind("message: ", 0) == 0) found.push_back(event.substr(9));
  }
  return found;
}

namespace {

std::filesystem::path makeScratchDirectory() {
  static std::mt19937_64 generator{std::random_device{}()};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = "korvanel-test-";
  if (info) name += std::string(info->test_suite_name()) + "-" + info->name() + "-";
  for (char& character : name) {
    if (character == '/') character = '_';
  }
  name += std::to_string(generator() % 1000000000ULL);
  std::filesystem::path directory = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(directory);
  return directory;
}

}  // namespace

ScratchTest::ScratchTest() : directory(makeScratchDirectory()), context{directory, Encoding::Cp932, host, {}} {}

ScratchTest::~ScratchTest() {
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
}

void ScratchTest::writeBytes(const std::string& name, const std::string& bytes) const {
  writeFileBytes(path(name), bytes);
}

void ScratchTest::writeCp932(const std::string& name, const std::string& utf8) const {
  writeFileBytes(path(name), cp932(utf8));
}

std::string ScratchTest::readBytes(const std::string& name) const { return readFileBytes(path(name)); }

std::string ScratchTest::readCp932(const std::string& name) const {
  const std::string bytes = readBytes(name);
  return toUtf8(decodeBytes(bytes, Encoding::Cp932, path(name)));
}

std::string readFileBytes(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  if (!stream) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string cp932(const std::string& utf8) { return encodeText(fromUtf8(utf8), Encoding::Cp932, "test"); }

std::string testNameOf(const std::string& formatName) {
  std::string name;
  for (const char character : formatName) {
    if (std::isalnum(static_cast<unsigned char>(character))) name += character;
  }
  return name;
}

}  // namespace korvanel::testing
