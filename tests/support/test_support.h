// What the tests share: a host that records what a run shows, a scratch
// working directory, and byte-level file helpers.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/host.h"
#include "core/text.h"

namespace korvanel::testing {

// Records every call as one line: "message: ...", "show", "value: 10",
// "status: ...", "ok", "hide" (texts in UTF-8).
class RecordingHost : public Host {
 public:
  void showMessage(const Text& message) override { events.push_back("message: " + toUtf8(message)); }
  void showProgress() override { events.push_back("show"); }
  void setProgressValue(int percent) override { events.push_back("value: " + std::to_string(percent)); }
  void setProgressStatus(const Text& status) override { events.push_back("status: " + toUtf8(status)); }
  void enableProgressOk() override { events.push_back("ok"); }
  void hideProgress() override { events.push_back("hide"); }

  // Only the messages, in order.
  std::vector<std::string> messages() const;

  std::vector<std::string> events;
};

// A fresh directory for one test, removed afterwards, with a context whose
// working directory it is.
class ScratchTest : public ::testing::Test {
 protected:
  ScratchTest();
  ~ScratchTest() override;

  std::filesystem::path path(const std::string& name) const { return directory / name; }
  // Writes bytes as they are.
  void writeBytes(const std::string& name, const std::string& bytes) const;
  // Writes UTF-8 text encoded as cp932.
  void writeCp932(const std::string& name, const std::string& utf8) const;
  // The bytes of a file ("<missing>" when it does not exist).
  std::string readBytes(const std::string& name) const;
  // A cp932 file decoded to UTF-8.
  std::string readCp932(const std::string& name) const;
  bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

  std::filesystem::path directory;
  RecordingHost host;
  ConversionContext context;
};

// A file's bytes ("<missing>" when it does not exist).
std::string readFileBytes(const std::filesystem::path& file);
void writeFileBytes(const std::filesystem::path& file, const std::string& bytes);

// UTF-8 text as cp932 bytes.
std::string cp932(const std::string& utf8);

// A format name as a test's name: its letters and digits ("Pcad(wrl)" gives
// Pcadwrl).
std::string testNameOf(const std::string& formatName);

// Text from a UTF-8 literal.
inline Text text(const std::string& utf8) { return fromUtf8(utf8); }

}  // namespace korvanel::testing
